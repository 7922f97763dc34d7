// Randomised hostile input with fixed seeds: arbitrary text in the four fields, the duration
// answer and the play entries, arbitrary doubles in the tone synthesis. After every operation
// the program's invariants are checked, not only that it survives.
#include "audio/mixer.h"
#include "audio/playback.h"
#include "form_fixture.h"
#include "hostile_text.h"
#include "test_support.h"
#include "model/numbers.h"
#include "model/sound_line.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRegularExpression>

#include <cmath>
#include <cstddef>
#include <cstring>
#include <memory>
#include <vector>

using namespace quaverline;

namespace {

void AddLocaleRows() {
  QTest::addColumn<QLocale>("locale");
  QTest::addColumn<uint>("seed");
  QTest::newRow("en_US") << kEnglish << 11u;
  QTest::newRow("de_DE") << kGerman << 12u;
  QTest::newRow("fr_FR") << QLocale(QLocale::French, QLocale::France) << 13u;
  QTest::newRow("ar_EG") << QLocale(QLocale::Arabic, QLocale::Egypt) << 14u;
}

QString Quote(const QString& text) {
  QString shown = text.left(40);
  for (QChar& c : shown)
    if (c.unicode() < 0x20) c = QChar(0x2423);
  return QStringLiteral("\"%1\"%2 (%3 units)").arg(shown, text.size() > 40 ? "..." : "").arg(text.size());
}

// True when nothing can read the text as a finite number, whatever the locale.
bool NeverANumber(const QString& text) {
  bool digit = false;
  for (QChar c : text) digit = digit || c.isDigit();
  return !digit || text.contains(QLatin1String("inf"), Qt::CaseInsensitive) ||
         text.contains(QLatin1String("nan"), Qt::CaseInsensitive);
}

// What holds after any sequence of sound calls has returned: nothing left looping, no negative
// time handed to the platform, and only playable images started. Empty when all of it holds.
QString CallFault(const RecordingSound& sound) {
  if (sound.looping) return QStringLiteral("; left looping");
  for (const SoundCall& call : sound.calls) {
    if (call.kind != SoundCall::Stop && call.ms < 0)
      return QStringLiteral("; %1 of %2 ms").arg(call.kind == SoundCall::Sleep ? "sleep" : "tone").arg(call.ms);
    if (call.kind == SoundCall::Start && (call.frameCount < 1 || call.frameCount > kWaveCapacity))
      return QStringLiteral("; unplayable image started");
  }
  return QString();
}

int CountOf(const RecordingSound& sound, SoundCall::Kind kind) {
  int count = 0;
  for (const SoundCall& call : sound.calls) count += call.kind == kind;
  return count;
}

// A play entry that any locale reads: a whole or key-style frequency and a whole duration.
struct GoodEntry {
  QString text;
  std::int32_t frequency;  // rounded to the nearest whole number
  double exactFrequency;
  std::int32_t duration;
};

GoodEntry MakeGoodEntry(HostileText& gen, const QLocale& locale) {
  const std::int32_t whole = 37 + std::int32_t(gen.Below(20000));
  const std::int32_t duration = std::int32_t(gen.Below(10000));
  // Eighths away from one half, so the seven written digits cannot move the rounding.
  const std::uint32_t eighths = gen.Below(8);
  if (eighths == 0 || eighths == 4) {
    return {WholeText(whole) + "." + WholeText(duration), whole, double(whole), duration};
  }
  const float frequency = float(whole) + float(eighths) / 8;
  const auto written = PlayEntryNumber(frequency, locale);
  return {written + "." + WholeText(duration), eighths < 4 ? whole : whole + 1, double(frequency), duration};
}

}  // namespace

class HostileInputTest : public QObject {
  Q_OBJECT
 private slots:
  void fieldsKeepTheCodeLine_data() { AddLocaleRows(); }
  void fieldsKeepTheCodeLine();
  void durationAnswersKeepTheListPair_data() { AddLocaleRows(); }
  void durationAnswersKeepTheListPair();
  void playEntries_data() { AddLocaleRows(); }
  void playEntries();
  void playEntriesThroughTheWindow_data() { AddLocaleRows(); }
  void playEntriesThroughTheWindow();
  void toneSynthesis();
};

void HostileInputTest::fieldsKeepTheCodeLine() {
  QFETCH(QLocale, locale);
  QFETCH(uint, seed);
  FormFixture f(locale);
  Form1& form = *f.form;
  const std::array<QLineEdit*, 4> fields = {form.Text1, form.Text2, form.Text3, form.Text4};
  const QRegularExpression plainWhole(QStringLiteral("^[1-9][0-9]{0,8}$"));
  HostileText gen(seed);
  constexpr int kInputs = 2500;
  int buttonRuns = 0;
  for (int n = 0; n < kInputs; ++n) {
    const int field = int(gen.Below(4));
    // The frequency and crystal get readable numbers half of the time, so that refreshes succeed too.
    const bool numeric = (field == 1 || field == 3) && gen.Chance(0.5);
    const QString text = numeric ? (gen.Chance(0.5) ? WholeText(1 + gen.Below(9000000)) : gen.NumberLike()) : gen.Next();
    const std::int32_t pulsesBefore = form.pulses;
    const QString lineBefore = form.Text5->text();
    const QString labelBefore = form.Label6->text();

    fields[field]->setText(text);

    const QString crystal = form.Text4->text();
    const QString frequency = form.Text2->text();
    const QString context = QStringLiteral("input %1 into Text%2: %3; crystal %4, frequency %5, duration %6, port %7")
                                .arg(n)
                                .arg(field + 1)
                                .arg(Quote(text), Quote(crystal), Quote(frequency), Quote(form.Text1->text()),
                                     Quote(form.Text3->text()));
    const auto computed = ComputePulses(crystal, frequency, locale);
    if (!computed) {
      QVERIFY2(form.pulses == pulsesBefore, qPrintable(context));
      QVERIFY2(form.Text5->text() == lineBefore, qPrintable(context));
      QVERIFY2(form.Label6->text() == labelBefore, qPrintable(context));
    } else {
      QVERIFY2(!NeverANumber(crystal) && !NeverANumber(frequency), qPrintable(context));
      QVERIFY2(form.pulses == *computed, qPrintable(context));
      QVERIFY2(form.Text5->text() == CodeLine(form.Text3->text(), form.Text1->text(), WholeText(form.pulses)),
               qPrintable(context));
      QVERIFY2(form.Label6->text() == WholeText(form.pulses), qPrintable(context));
    }
    // Plain whole numbers must always work, whatever else the fields have seen.
    if (plainWhole.match(crystal.trimmed()).hasMatch() && plainWhole.match(frequency.trimmed()).hasMatch()) {
      const std::int64_t x = crystal.trimmed().toLongLong();
      const std::int64_t divisor = frequency.trimmed().toLongLong() * 12;
      QVERIFY2(computed && form.pulses == x / divisor, qPrintable(context));
    }

    if (n % 4 == 0) {
      ++buttonRuns;
      f.sound.calls.clear();
      form.stopflag = 0;
      form.Command1_Click();
      QVERIFY2(CallFault(f.sound).isEmpty(), qPrintable(context + CallFault(f.sound)));
      for (const SoundCall& call : f.sound.calls) QVERIFY2(call.frequency == form.pulses, qPrintable(context));
      f.sound.calls.clear();
      form.Command2_Click();
      QVERIFY2(CallFault(f.sound).isEmpty(), qPrintable(context + CallFault(f.sound)));
      const bool started = CountOf(f.sound, SoundCall::Start) > 0;
      QVERIFY2(form.stopflag == (started ? 1 : 0), qPrintable(context));
      if (started) QVERIFY2(f.sound.calls.back().kind == SoundCall::Stop, qPrintable(context));
    }
  }
  qInfo("%s: %d field inputs, %d runs of both single-tone buttons", QTest::currentDataTag(), kInputs, buttonRuns);

}

void HostileInputTest::durationAnswersKeepTheListPair() {
  QFETCH(QLocale, locale);
  QFETCH(uint, seed);
  FormFixture f(locale);
  Form1& form = *f.form;
  HostileText gen(seed);
  constexpr int kAnswers = 2500;
  int changed = 0;
  int kept = 0;
  int deletes = 0;
  for (int n = 0; n < kAnswers; ++n) {
    while (form.List1->count() < 3) {
      if (gen.Chance(0.5)) {
        form.Text1->setText(gen.Next());
        form.Command3_Click();
      } else {
        form.AppendLine(gen.Next(), gen.Chance(0.5) ? gen.Next() + "." + gen.Next() : gen.Next());
      }
      QCOMPARE(form.List2->count(), form.List1->count());
    }
    if (gen.Chance(0.3)) form.Text3->setText(gen.Next());
    const int count = form.List1->count();
    const int row = int(gen.Below(count + 1)) - 1;  // -1: nothing selected
    form.List1->SelectRow(row);
    const QStringList lines = f.Lines();
    const QStringList entries = f.Entries();
    f.answer = gen.Next();
    f.prompts.clear();
    const QString context = QStringLiteral("answer %1: %2 for row %3 with entry %4")
                                .arg(n).arg(Quote(f.answer)).arg(row).arg(row >= 0 ? Quote(entries[row]) : "-");

    form.mnuduration_click();

    QVERIFY2(form.List1->count() == count && form.List2->count() == count, qPrintable(context));
    const auto first = row >= 0 ? ReadPlayEntryNumber(PlayEntryFirstNumber(entries[row]), locale) : std::nullopt;
    const auto floored = first ? FloorToInt32(*first) : std::nullopt;
    if (!floored) {
      ++kept;
      QVERIFY2(f.Lines() == lines && f.Entries() == entries, qPrintable(context));
      QVERIFY2(f.prompts.isEmpty(), qPrintable(context));
    } else {
      ++changed;
      QVERIFY2(f.listsWhileAsking == count - 1, qPrintable(context));
      const QString P = WholeText(*floored);
      QStringList expectedLines = lines;
      QStringList expectedEntries = entries;
      expectedLines[row] = CodeLine(form.Text3->text(), f.answer, P);
      expectedEntries[row] = PlayEntry(P, f.answer);
      QVERIFY2(f.Lines() == expectedLines && f.Entries() == expectedEntries, qPrintable(context));
      QVERIFY2(form.List1->SelectedRow() == row, qPrintable(context));
    }

    switch (gen.Below(8)) {
      case 0:
        form.mnudelnote_click();
        ++deletes;
        break;
      case 1:
        if (gen.Chance(0.2)) {
          form.mnudelall_click();
          ++deletes;
        }
        break;
      default: break;
    }
    QVERIFY2(form.List2->count() == form.List1->count(), qPrintable(context));
  }
  qInfo("%s: %d duration answers (%d lines changed, %d entries kept as unreadable or nothing selected), %d deletes",
        QTest::currentDataTag(), kAnswers, changed, kept, deletes);
}

void HostileInputTest::playEntries() {
  QFETCH(QLocale, locale);
  QFETCH(uint, seed);
  HostileText gen(seed);
  auto wave = NewWaveImage();
  constexpr int kLists = 1500;
  int entriesTried = 0;
  for (int n = 0; n < kLists; ++n) {
    QStringList entries;
    std::vector<GoodEntry> good;  // the good entries that lead the list
    const int length = int(gen.Below(7));
    bool stillGood = true;
    for (int i = 0; i < length; ++i) {
      if (gen.Chance(0.5)) {
        const GoodEntry entry = MakeGoodEntry(gen, locale);
        entries << entry.text;
        if (stillGood) good.push_back(entry);
        continue;
      }
      stillGood = false;
      switch (gen.Below(3)) {
        case 0: entries << gen.Next(); break;
        case 1: entries << WholeText(37 + gen.Below(20000)) + "." + gen.Next(); break;
        default: entries << gen.Next() + "." + WholeText(gen.Below(10000)); break;
      }
    }
    entriesTried += length;
    const QString context = QStringLiteral("list %1: %2").arg(n).arg(entries.join(QStringLiteral(" | ")).left(300));

    RecordingSound speaker;
    const int spoken = PlayListOnSpeaker(speaker, entries, locale);
    QVERIFY2(CallFault(speaker).isEmpty(), qPrintable(context + CallFault(speaker)));
    QVERIFY2(spoken >= int(good.size()) && spoken <= length, qPrintable(context));
    QVERIFY2(CountOf(speaker, SoundCall::Beep) == spoken && CountOf(speaker, SoundCall::Sleep) == spoken,
             qPrintable(context));
    for (std::size_t i = 0; i < good.size(); ++i) {
      const SoundCall& beep = speaker.calls[2 * i];
      QVERIFY2(beep.frequency == good[i].frequency && beep.ms == good[i].duration, qPrintable(context));
      QVERIFY2(speaker.calls[2 * i + 1].ms == good[i].duration, qPrintable(context));
    }

    RecordingSound card;
    std::int32_t stopflag = 0;
    const int played = PlayListOnSoundcard(card, *wave, entries, locale, stopflag);
    QVERIFY2(CallFault(card).isEmpty(), qPrintable(context + CallFault(card)));
    QVERIFY2(played >= int(good.size()) && played <= length, qPrintable(context));
    QVERIFY2(CountOf(card, SoundCall::Start) == played && CountOf(card, SoundCall::Stop) == played,
             qPrintable(context));
    QVERIFY2(stopflag == (played > 0 ? 1 : 0), qPrintable(context));
    for (std::size_t i = 0; i < good.size(); ++i) {
      const SoundCall& start = card.calls[3 * i];
      const double frames = std::min(44100.0 / good[i].exactFrequency, double(kWaveCapacity));
      // The written frequency has seven digits, so allow for the rounding of its last one.
      QVERIFY2(std::abs(start.frameCount - frames) <= 0.501, qPrintable(context));
      QVERIFY2(card.calls[3 * i + 1].ms == 2 * good[i].duration, qPrintable(context));
    }
  }
  qInfo("%s: %d play lists with %d entries, each played on the speaker and on the card", QTest::currentDataTag(),
        kLists, entriesTried);
}

void HostileInputTest::playEntriesThroughTheWindow() {
  QFETCH(QLocale, locale);
  QFETCH(uint, seed);
  FormFixture f(locale);
  Form1& form = *f.form;
  HostileText gen(seed);

  // A key writes a hostile port unchanged, and its entry, written in this locale, plays back as
  // the key's note.
  form.Text3->setText(gen.Next());
  form.Text1->setText(QStringLiteral("150"));
  f.ClickKey("F");
  QVERIFY2(CallFault(f.sound).isEmpty(), qPrintable(QStringLiteral("key F") + CallFault(f.sound)));
  QVERIFY(!form.Timer1.Enabled());
  QCOMPARE(f.Lines(), QStringList{KeyCodeLine(form.Text3->text(), QStringLiteral("150"), form.notes[6].Freq)});
  QCOMPARE(f.Entries().size(), 1);
  f.sound.calls.clear();
  form.Command5_Click();
  QVERIFY(!f.sound.calls.empty());
  QCOMPARE(f.sound.calls.front().frequency, 349);
  f.sound.calls.clear();
  form.Command6_Click();
  QVERIFY(!f.sound.calls.empty());
  QCOMPARE(f.sound.calls.front().frameCount, 126);
  QVERIFY2(CallFault(f.sound).isEmpty(), qPrintable(QStringLiteral("key entry") + CallFault(f.sound)));

  constexpr int kEntries = 1500;
  int playbacks = 0;
  for (int n = 0; n < kEntries; ++n) {
    const QString entry = gen.Chance(0.3) ? MakeGoodEntry(gen, locale).text : gen.Next();
    form.AppendLine(gen.Next(), entry);
    QCOMPARE(form.List2->count(), form.List1->count());
    if (n % 5 != 0) continue;
    const QString context = QStringLiteral("after entry %1: %2").arg(n).arg(Quote(entry));
    const int count = form.List2->count();
    for (auto play : {&Form1::Command5_Click, &Form1::Command6_Click}) {
      ++playbacks;
      f.sound.calls.clear();
      (form.*play)();
      QVERIFY2(CallFault(f.sound).isEmpty(), qPrintable(context + CallFault(f.sound)));
      QVERIFY2(CountOf(f.sound, SoundCall::Sleep) <= count, qPrintable(context));
      QVERIFY2(form.List1->count() == count && form.List2->count() == count, qPrintable(context));
    }
    if (gen.Chance(0.2)) {
      form.List1->SelectRow(int(gen.Below(count)));
      form.mnudelnote_click();
    } else if (gen.Chance(0.1)) {
      form.mnudelall_click();
    }
    QVERIFY2(form.List2->count() == form.List1->count(), qPrintable(context));
  }
  qInfo("%s: %d entries appended through the window, %d list playbacks", QTest::currentDataTag(), kEntries, playbacks);
}

void HostileInputTest::toneSynthesis() {
  HostileText gen(21);
  auto wave = NewWaveImage();
  auto before = NewWaveImage();
  auto noise = NewWaveImage();
  auto* noiseBytes = reinterpret_cast<unsigned char*>(noise.get());
  for (std::size_t i = 0; i < sizeof(WaveImage); ++i) noiseBytes[i] = static_cast<unsigned char>(gen.Below(256));
  constexpr int kPerKind = 1500;
  for (DoubleKind kind : kDoubleKinds) {
    int accepted = 0;
    for (int n = 0; n < kPerKind; ++n) {
      const double frequency1 = HostileDouble(gen, kind);
      const double frequency2 =
          gen.Chance(0.5) ? frequency1 : HostileDouble(gen, kDoubleKinds[gen.Below(kDoubleKinds.size())]);
      // Start from noise half of the time, from the last tone otherwise.
      if (gen.Chance(0.5)) {
        std::memcpy(wave.get(), noise.get(), sizeof(WaveImage));
        noiseBytes[gen.Below(sizeof(WaveImage))] ^= static_cast<unsigned char>(1 + gen.Below(255));
      }
      std::memcpy(before.get(), wave.get(), sizeof(WaveImage));
      const QByteArray context = QStringLiteral("%1: %2, %3")
                                     .arg(DoubleKindName(kind))
                                     .arg(frequency1, 0, 'g', 17)
                                     .arg(frequency2, 0, 'g', 17)
                                     .toUtf8();

      if (!SynthesizeTone(*wave, frequency1, frequency2)) {
        QVERIFY2(std::memcmp(wave.get(), before.get(), sizeof(WaveImage)) == 0, context.constData());
        // Every frequency a note or a sensible entry can have is accepted.
        QVERIFY2(!(std::isfinite(frequency2) && std::abs(frequency2) < 1e300 && frequency1 >= 0.001 &&
                   frequency1 <= 88000),
                 context.constData());
        continue;
      }
      ++accepted;
      QVERIFY2(frequency1 > 0 && frequency1 < 88200.001 && std::isfinite(frequency2), context.constData());
      const auto image = ReadLoopImage(wave.get());
      QVERIFY2(image.has_value(), context.constData());
      const std::int32_t frames = image->frameCount;
      QVERIFY2(frames >= 1 && frames <= kWaveCapacity, context.constData());
      QVERIFY2(std::abs(frames - std::min(44100.0 / frequency1, double(kWaveCapacity))) <= 0.5 + 1e-9,
               context.constData());
      // Every period starts with the left pulse, and no sample leaves the pulse height.
      QVERIFY2(wave->frames[0].Left == 2000 && wave->frames[0].Right == 0, context.constData());
      for (std::int32_t k = 0; k < frames; ++k) {
        QVERIFY2(std::abs(wave->frames[k].Left) <= 2000 && std::abs(wave->frames[k].Right) <= 2000,
                 context.constData());
      }
      // Frames beyond the period keep what was there.
      const std::size_t tail = offsetof(WaveImage, frames) + std::size_t(frames) * sizeof(WaveFrame);
      QVERIFY2(std::memcmp(reinterpret_cast<const char*>(wave.get()) + tail,
                           reinterpret_cast<const char*>(before.get()) + tail, sizeof(WaveImage) - tail) == 0,
               context.constData());
    }
    qInfo("tone synthesis, %s: %d pairs of frequencies, %d accepted", DoubleKindName(kind), kPerKind, accepted);
  }
}

QTEST_MAIN(HostileInputTest)
#include "test_hostile_input.moc"
