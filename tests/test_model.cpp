// The note table, number rules, code-line formats, text utilities and the melody interpreter.
#include "model/melody.h"
#include "model/notes.h"
#include "model/numbers.h"
#include "model/sound_line.h"
#include "model/text_utils.h"
#include "test_support.h"

#include <QTest>
#include <cmath>
#include <limits>

using namespace quaverline;

namespace {

// Records what the interpreter asks of its window; the "wait" is instant.
class FakeHost : public MelodyHost {
 public:
  QStringList events;
  int stopAfterWaits = -1;  // set the stop flag once this many waits have passed
  int waits = 0;
  std::int32_t stopflag = 0;

  void StartNote(double frequency, std::int32_t lengthMs) override {
    events << QStringLiteral("start %1 for %2").arg(frequency, 0, 'f', 4).arg(lengthMs);
  }
  void ArmTimer(std::int32_t intervalMs) override { events << QStringLiteral("wait %1").arg(intervalMs); }
  void WaitForTimer() override {
    if (++waits == stopAfterWaits) stopflag = 1;
  }
  std::int32_t StopFlag() const override { return stopflag; }
};

}  // namespace

class ModelTest : public QObject {
  Q_OBJECT
 private slots:
  void readNumber_data();
  void readNumber();
  void wholeNumbers_data();
  void wholeNumbers();
  void noteTable_data();
  void noteTable();
  void getIndex_data();
  void getIndex();
  void frequencyOf_data();
  void frequencyOf();
  void pulses_data();
  void pulses();
  void codeLines();
  void playEntryRoundTrip_data();
  void playEntryRoundTrip();
  void splitPlayEntry_data();
  void splitPlayEntry();
  void bite_data();
  void bite();
  void replace_data();
  void replace();
  void melody_data();
  void melody();
};

void ModelTest::readNumber_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<QLocale>("locale");
  QTest::addColumn<bool>("ok");
  QTest::addColumn<double>("value");
  QTest::newRow("plain") << "150" << kEnglish << true << 150.0;
  QTest::newRow("blanks around") << "  12 " << kEnglish << true << 12.0;
  QTest::newRow("negative") << "-1000" << kEnglish << true << -1000.0;
  QTest::newRow("exponent") << "1e3" << kEnglish << true << 1000.0;
  QTest::newRow("point fraction") << "150.5" << kEnglish << true << 150.5;
  QTest::newRow("comma fraction") << "150,5" << kGerman << true << 150.5;
  QTest::newRow("empty is not zero") << "" << kEnglish << false << 0.0;
  QTest::newRow("only blanks") << "   " << kEnglish << false << 0.0;
  QTest::newRow("letters") << "abc" << kEnglish << false << 0.0;
  QTest::newRow("trailing letters") << "12abc" << kEnglish << false << 0.0;
  QTest::newRow("inf") << "inf" << kEnglish << false << 0.0;
  QTest::newRow("nan") << "nan" << kEnglish << false << 0.0;
  QTest::newRow("beyond double") << "1e400" << kEnglish << false << 0.0;
  QTest::newRow("group separator") << "1,000" << kEnglish << false << 0.0;
  QTest::newRow("foreign separator") << "150.5" << kGerman << false << 0.0;
  QTest::newRow("hex") << "0x10" << kEnglish << false << 0.0;
}

void ModelTest::readNumber() {
  QFETCH(QString, text);
  QFETCH(QLocale, locale);
  QFETCH(bool, ok);
  QFETCH(double, value);
  const auto read = ReadNumber(text, locale);
  QCOMPARE(read.has_value(), ok);
  if (ok) QCOMPARE(*read, value);
}

void ModelTest::wholeNumbers_data() {
  QTest::addColumn<double>("value");
  QTest::addColumn<bool>("roundOk");
  QTest::addColumn<int>("rounded");
  QTest::addColumn<bool>("floorOk");
  QTest::addColumn<int>("floored");
  const double nan = std::numeric_limits<double>::quiet_NaN();
  QTest::newRow("tie down to even") << 150.5 << true << 150 << true << 150;
  QTest::newRow("tie up to even") << 151.5 << true << 152 << true << 151;
  QTest::newRow("negative tie") << -0.5 << true << 0 << true << -1;
  QTest::newRow("pulses") << 666.6666 << true << 667 << true << 666;
  QTest::newRow("negative pulses") << -666.6666 << true << -667 << true << -667;
  QTest::newRow("largest") << 2147483647.0 << true << 2147483647 << true << 2147483647;
  QTest::newRow("just above") << 2147483647.6 << false << 0 << true << 2147483647;
  QTest::newRow("smallest") << -2147483648.0 << true << int(-2147483648LL) << true << int(-2147483648LL);
  QTest::newRow("just below") << -2147483648.6 << false << 0 << false << 0;
  QTest::newRow("nan") << nan << false << 0 << false << 0;
}

void ModelTest::wholeNumbers() {
  QFETCH(double, value);
  QFETCH(bool, roundOk);
  QFETCH(int, rounded);
  QFETCH(bool, floorOk);
  QFETCH(int, floored);
  const auto r = RoundToInt32(value);
  QCOMPARE(r.has_value(), roundOk);
  if (roundOk) QCOMPARE(*r, rounded);
  const auto f = FloorToInt32(value);
  QCOMPARE(f.has_value(), floorOk);
  if (floorOk) QCOMPARE(*f, floored);
}

void ModelTest::noteTable_data() {
  QTest::addColumn<int>("index");
  QTest::addColumn<QString>("name");
  QTest::addColumn<QString>("frequency");  // seven significant digits
  QTest::addColumn<int>("whole");
  const struct {
    const char* name;
    const char* frequency;
    int whole;
  } rows[] = {{"C", "261.6256", 261},   {"Cis", "277.1826", 277},  {"D", "293.6648", 293},
              {"Dis", "311.127", 311},  {"E", "329.6276", 329},    {"F", "349.2282", 349},
              {"Fis", "369.9944", 369}, {"G", "391.9954", 391},    {"Gis", "415.3047", 415},
              {"A", "440", 440},        {"Ais", "466.1638", 466},  {"B", "493.8833", 493},
              {"C'", "523.2512", 523},  {"Cis'", "554.3652", 554}, {"D'", "587.3295", 587},
              {"Dis'", "622.254", 622}, {"E'", "659.2551", 659},   {"F'", "698.4565", 698},
              {"Fis'", "739.9888", 739}, {"G'", "783.9908", 783},  {"Gis'", "830.6094", 830},
              {"A'", "880", 880},       {"Ais'", "932.3275", 932}, {"B'", "987.7666", 987}};
  int index = 1;
  for (const auto& row : rows) {
    QTest::newRow(row.name) << index << QString::fromUtf8(row.name) << QString::fromLatin1(row.frequency) << row.whole;
    ++index;
  }
}

void ModelTest::noteTable() {
  QFETCH(int, index);
  QFETCH(QString, name);
  QFETCH(QString, frequency);
  QFETCH(int, whole);
  NoteTable notes;
  FillNoteTable(notes);
  const NoteEntry& entry = notes[index];
  QCOMPARE(entry.NoteName, name);
  QCOMPARE(RealText(entry.Freq, QLocale::c()), frequency);
  QCOMPARE(entry.Freq2, entry.Freq);
  QCOMPARE(entry.LengthMs, 300);
  QCOMPARE(int(std::floor(entry.Freq)), whole);
  QCOMPARE(KeyCodeLine(QStringLiteral("Portb.0"), QStringLiteral("150"), entry.Freq),
           QStringLiteral("Sound Portb.0 , 150 , %1").arg(whole));
  // The rest entry.
  QCOMPARE(notes[0].NoteName, QString());
  QCOMPARE(notes[0].Freq, 0.0f);
  QCOMPARE(notes[0].LengthMs, 100);
}

void ModelTest::getIndex_data() {
  QTest::addColumn<QString>("name");
  QTest::addColumn<int>("index");
  QTest::newRow("C") << "C" << 1;
  QTest::newRow("C'") << "C'" << 13;
  QTest::newRow("B'") << "B'" << 24;
  QTest::newRow("Ais") << "Ais" << 11;
  QTest::newRow("lower case") << "c" << 0;
  QTest::newRow("leading blank") << " C" << 0;
  QTest::newRow("H is not a note name") << "H" << 0;
  QTest::newRow("empty") << "" << 0;
}

void ModelTest::getIndex() {
  QFETCH(QString, name);
  QFETCH(int, index);
  NoteTable notes;
  FillNoteTable(notes);
  QCOMPARE(GetIndex(notes, name), index);
}

void ModelTest::frequencyOf_data() {
  QTest::addColumn<int>("ix");
  QTest::addColumn<double>("oktav");
  QTest::addColumn<float>("expected");
  QTest::newRow("A") << 10 << 1.0 << 440.0f;
  QTest::newRow("A'") << 22 << 1.0 << 880.0f;
  QTest::newRow("A of octave 2") << 10 << 2.0 << 880.0f;
  QTest::newRow("lowest octave") << 10 << -3.0 << 27.5f;
  QTest::newRow("below the lowest") << 10 << -5.0 << 27.5f;
}

void ModelTest::frequencyOf() {
  QFETCH(int, ix);
  QFETCH(double, oktav);
  QFETCH(float, expected);
  QCOMPARE(static_cast<float>(FrequencyOf(ix, oktav)), expected);
}

void ModelTest::pulses_data() {
  QTest::addColumn<QString>("crystal");
  QTest::addColumn<QString>("frequency");
  QTest::addColumn<bool>("ok");
  QTest::addColumn<int>("pulses");
  QTest::newRow("start values round down") << "8000000" << "1000" << true << 666;
  QTest::newRow("440 Hz at 4 MHz") << "4000000" << "440" << true << 757;
  QTest::newRow("negative frequency") << "8000000" << "-1000" << true << -667;
  QTest::newRow("crystal 0") << "0" << "1000" << true << 0;
  QTest::newRow("frequency 0") << "8000000" << "0" << false << 0;
  QTest::newRow("frequency empty") << "8000000" << "" << false << 0;
  QTest::newRow("frequency letters") << "8000000" << "abc" << false << 0;
  QTest::newRow("crystal empty") << "" << "1000" << false << 0;
  QTest::newRow("beyond 32 bits") << "8000000" << "0.0001" << false << 0;
  QTest::newRow("huge frequency") << "8000000" << "1e308" << false << 0;
}

void ModelTest::pulses() {
  QFETCH(QString, crystal);
  QFETCH(QString, frequency);
  QFETCH(bool, ok);
  QFETCH(int, pulses);
  const auto computed = ComputePulses(crystal, frequency, kEnglish);
  QCOMPARE(computed.has_value(), ok);
  if (ok) QCOMPARE(*computed, pulses);
}

void ModelTest::codeLines() {
  QCOMPARE(CodeLine("Portb.0", "150", WholeText(666)), QStringLiteral("Sound Portb.0 , 150 , 666"));
  QCOMPARE(CodeLine("Portb.0", "", WholeText(666)), QStringLiteral("Sound Portb.0 ,  , 666"));
  QCOMPARE(CodeLine("", "150", WholeText(-667)), QStringLiteral("Sound  , 150 , -667"));
  QCOMPARE(PlayEntry(WholeText(666), "150"), QStringLiteral("666.150"));
  QCOMPARE(WholeText(-2147483648LL), QStringLiteral("-2147483648"));
  QCOMPARE(WholeText(1234567), QStringLiteral("1234567"));
}

void ModelTest::playEntryRoundTrip_data() {
  QTest::addColumn<QLocale>("locale");
  QTest::newRow("C") << QLocale::c();
  QTest::newRow("English") << kEnglish;
  QTest::newRow("German") << kGerman;
  QTest::newRow("French") << QLocale(QLocale::French, QLocale::France);
  QTest::newRow("Swiss German") << QLocale(QLocale::German, QLocale::Switzerland);
  QTest::newRow("Arabic") << QLocale(QLocale::Arabic, QLocale::Egypt);
}

void ModelTest::playEntryRoundTrip() {
  QFETCH(QLocale, locale);
  NoteTable notes;
  FillNoteTable(notes);
  for (int i = 1; i <= kNoteCount; ++i) {
    const float frequency = notes[i].Freq;
    const QString entry = PlayEntry(PlayEntryNumber(frequency, locale), QStringLiteral("150"));
    const auto parts = SplitPlayEntry(entry);
    QVERIFY2(parts.has_value(), qPrintable(entry));
    QCOMPARE(parts->duration, QStringLiteral("150"));
    const auto read = ReadPlayEntryNumber(parts->frequency, locale);
    QVERIFY2(read.has_value(), qPrintable(entry));
    QCOMPARE(static_cast<float>(*read), frequency);
  }
  QCOMPARE(PlayEntry(PlayEntryNumber(notes[10].Freq, locale), QStringLiteral("150")),
           QStringLiteral("%1.150").arg(locale.toString(440)));
}

void ModelTest::splitPlayEntry_data() {
  QTest::addColumn<QString>("entry");
  QTest::addColumn<bool>("ok");
  QTest::addColumn<QString>("frequency");
  QTest::addColumn<QString>("duration");
  QTest::newRow("plain") << "666.150" << true << "666" << "150";
  QTest::newRow("key in a comma locale") << "349,2282.150" << true << "349,2282" << "150";
  QTest::newRow("duration cut to four") << "666.12000" << true << "666" << "1200";
  QTest::newRow("only the first point splits") << "1.5.150" << true << "1" << "5.15";
  QTest::newRow("nothing after the point") << "666." << true << "666" << "";
  QTest::newRow("nothing before the point") << ".150" << true << "" << "150";
  QTest::newRow("no point") << "666150" << false << "" << "";
  QTest::newRow("empty") << "" << false << "" << "";
}

void ModelTest::splitPlayEntry() {
  QFETCH(QString, entry);
  QFETCH(bool, ok);
  QFETCH(QString, frequency);
  QFETCH(QString, duration);
  const auto parts = SplitPlayEntry(entry);
  QCOMPARE(parts.has_value(), ok);
  if (!ok) return;
  QCOMPARE(parts->frequency, frequency);
  QCOMPARE(parts->duration, duration);
}

void ModelTest::bite_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<QString>("delim");
  QTest::addColumn<QString>("token");
  QTest::addColumn<QString>("rest");
  QTest::newRow("first of three") << "C D E" << " " << "C" << "D E";
  QTest::newRow("last token") << "C" << " " << "C" << "C";
  QTest::newRow("empty token between blanks") << "  D" << " " << "" << " D";
  QTest::newRow("blank at the end") << "C " << " " << "C" << "";
  QTest::newRow("empty text") << "" << " " << "" << "";
  QTest::newRow("case ignored") << "abxcdXef" << "X" << "ab" << "cdXef";
  QTest::newRow("longer delimiter") << "C, D, E" << ", " << "C" << "D, E";
  QTest::newRow("umlaut case ignored") << "aÄb" << "ä" << "a" << "b";
}

void ModelTest::bite() {
  QFETCH(QString, text);
  QFETCH(QString, delim);
  QFETCH(QString, token);
  QFETCH(QString, rest);
  QString tests = text;
  QCOMPARE(quaverline::bite(tests, delim), token);
  QCOMPARE(tests, rest);
}

void ModelTest::replace_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<QString>("from");
  QTest::addColumn<QString>("to");
  QTest::addColumn<QString>("result");
  QTest::newRow("two line breaks") << "C\r\nD\r\nE" << "\r\n" << " " << "C D E";
  QTest::newRow("lone CR and LF stay") << "C\rD\nE\r\n" << "\r\n" << " " << "C\rD\nE ";
  QTest::newRow("no overlap") << "aaa" << "aa" << "b" << "ba";
  QTest::newRow("replacement not searched again") << "ab" << "a" << "aa" << "aab";
  QTest::newRow("case matters") << "abc" << "B" << "x" << "abc";
  QTest::newRow("empty text") << "" << "\r\n" << " " << "";
  QTest::newRow("empty search finds nothing") << "abc" << "" << "x" << "abc";
}

void ModelTest::replace() {
  QFETCH(QString, text);
  QFETCH(QString, from);
  QFETCH(QString, to);
  QFETCH(QString, result);
  QCOMPARE(ReplaceVB5(text, from, to), result);
}

void ModelTest::melody_data() {
  QTest::addColumn<QString>("melody");
  QTest::addColumn<int>("stopAfterWaits");
  QTest::addColumn<QStringList>("events");
  const QString f = QStringLiteral("start 349.2282 for 300");
  const QString g = QStringLiteral("start 391.9954 for 300");
  const QString note = QStringLiteral("wait 300");
  const QString rest = QStringLiteral("wait 100");
  QTest::newRow("one note") << "F" << -1 << QStringList{f, note};
  QTest::newRow("two notes") << "F G" << -1 << QStringList{f, note, g, note};
  QTest::newRow("same note twice") << "F F" << -1 << QStringList{f, note, f, note};
  QTest::newRow("two blanks make a rest") << "F  G" << -1 << QStringList{f, note, rest, g, note};
  QTest::newRow("blank at the end") << "F " << -1 << QStringList{f, note, rest};
  QTest::newRow("empty melody") << "" << -1 << QStringList{rest};
  QTest::newRow("unknown names rest") << "f H" << -1 << QStringList{rest, rest};
  QTest::newRow("line break is a blank") << "F\r\nG" << -1 << QStringList{f, note, g, note};
  QTest::newRow("lone line feed is part of a name") << "F\nG" << -1 << QStringList{rest};
  QTest::newRow("stop flag ends after the note") << "F G F" << 1 << QStringList{f, note};
}

void ModelTest::melody() {
  QFETCH(QString, melody);
  QFETCH(int, stopAfterWaits);
  QFETCH(QStringList, events);
  NoteTable notes;
  FillNoteTable(notes);
  FakeHost host;
  host.stopAfterWaits = stopAfterWaits;
  Melody(melody, notes, host);
  QCOMPARE(host.events, events);
}

QTEST_APPLESS_MAIN(ModelTest)
#include "test_model.moc"
