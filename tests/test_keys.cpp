// Piano keys and the sound buttons, through the window, with the recording sound layer.
#include "form_fixture.h"
#include "test_support.h"
#include "ui/playback_wait.h"

#include "ui/piano_keys.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTimer>

using namespace quaverline;

namespace {

std::vector<SoundCall::Kind> Kinds(const RecordingSound& sound) {
  std::vector<SoundCall::Kind> kinds;
  for (const SoundCall& call : sound.calls) kinds.push_back(call.kind);
  return kinds;
}

const KeyArea& AreaNamed(const QString& label) {
  for (const KeyArea& area : kKeyAreas)
    if (QLatin1String(area.name) == label) return area;
  qFatal("no area %s", qPrintable(label));
}

#ifdef Q_OS_WIN
constexpr quint32 kNativeScanCodeOffset = 0;
#else
constexpr quint32 kNativeScanCodeOffset = 8;  // X11/evdev key codes
#endif

// Presses on the piano, one token each: a key's name ("Right", "Space", ...) or the PC scan code
// (hex) of the computer key at that place, after "rep" for an auto-repeat or "ctrl" with Ctrl.
void PressOnPiano(PianoKeys* piano, const QString& tokens) {
  const QMap<QString, Qt::Key> named = {{"Left", Qt::Key_Left},   {"Right", Qt::Key_Right}, {"Home", Qt::Key_Home},
                                        {"End", Qt::Key_End},     {"Space", Qt::Key_Space}, {"Return", Qt::Key_Return}};
  for (QString token : tokens.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
    const bool repeat = token.startsWith(QLatin1String("rep")), ctrl = token.startsWith(QLatin1String("ctrl"));
    token = token.mid(repeat ? 3 : ctrl ? 4 : 0);
    const Qt::Key key = named.value(token, Qt::Key_unknown);
    const quint32 native = key == Qt::Key_unknown ? token.toUInt(nullptr, 16) + kNativeScanCodeOffset : 0;
    const auto modifiers = ctrl ? Qt::ControlModifier : Qt::NoModifier;
    QKeyEvent press(QEvent::KeyPress, key, modifiers, native, 0, 0, QString(), repeat);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers, native, 0, 0);
    QApplication::sendEvent(piano, &press);
    if (!repeat) QApplication::sendEvent(piano, &release);
  }
}

QStringList Thirds(const FormFixture& f) {
  QStringList thirds;
  for (const QString& line : f.Lines()) thirds << line.section(QStringLiteral(" , "), 2);
  return thirds;
}

}  // namespace

class KeysTest : public QObject {
  Q_OBJECT
 private slots:
  void keyAppendsItsLines_data();
  void keyAppendsItsLines();
  void noteSoundsForItsLength();
  void onlyListenAppendsNothing();
  void clicksAtWindowPoints_data();
  void clicksAtWindowPoints();
  void keyNamesSoundAndLineAgree_data();
  void keyNamesSoundAndLineAgree();
  void keyboardPlaysTheKeys_data();
  void keyboardPlaysTheKeys();
  void everyLetterHasItsKey_data();
  void everyLetterHasItsKey();
  void clickLeavesTheFocus();
  void arrowsMoveTheOutline();
  void secondKeyDuringANote_data();
  void secondKeyDuringANote();
  void editsDuringTheNoteCount();
  void soundcardButtonDuringANote();
  void tickDueDuringPlayback_data();
  void tickDueDuringPlayback();
  void singleToneButtons();
  void badDurationLeavesNothingSounding_data();
  void badDurationLeavesNothingSounding();
  void keyEntriesPlayBackExactly_data();
  void keyEntriesPlayBackExactly();
};

void KeysTest::keyAppendsItsLines_data() {
  QTest::addColumn<QLocale>("locale");
  QTest::addColumn<QString>("key");
  QTest::addColumn<QString>("line");
  QTest::addColumn<QString>("entry");
  QTest::newRow("F, comma locale") << kGerman << "F" << "Sound Portb.0 , 150 , 349" << "349,2282.150";
  QTest::newRow("F, point locale") << kEnglish << "F" << "Sound Portb.0 , 150 , 349" << "349,2282.150";
  QTest::newRow("A has no fraction") << kEnglish << "A" << "Sound Portb.0 , 150 , 440" << "440.150";
  QTest::newRow("B is the picture's H") << kEnglish << "B" << "Sound Portb.0 , 150 , 493" << "493,8833.150";
  QTest::newRow("top key") << kGerman << "B'" << "Sound Portb.0 , 150 , 987" << "987,7666.150";
  QTest::newRow("black key Ais") << kEnglish << "Ais" << "Sound Portb.0 , 150 , 466" << "466,1638.150";
}

void KeysTest::keyAppendsItsLines() {
  QFETCH(QLocale, locale);
  QFETCH(QString, key);
  QFETCH(QString, line);
  QFETCH(QString, entry);
  FormFixture f(locale);
  f.ClickKey(key.toUtf8().constData());
  QCOMPARE(f.Lines(), QStringList{line});
  QCOMPARE(f.Entries(), QStringList{entry});
  QCOMPARE(f.Announced(), line);
  QCOMPARE(f.form->List1->currentRow(), -1);  // the selection does not move
  QVERIFY(!f.sound.looping);
  QVERIFY(!f.form->Timer1.Enabled());
}

void KeysTest::noteSoundsForItsLength() {
  FormFixture f;
  f.ClickKey("F");
  QCOMPARE(Kinds(f.sound), (std::vector{SoundCall::Start, SoundCall::Stop}));
  QCOMPARE(f.sound.calls[0].frameCount, 126);
  QCOMPARE(f.sound.calls[0].ms, 300);  // the note's length goes with its start
  const auto held = std::chrono::duration_cast<std::chrono::milliseconds>(f.sound.wallTimes[1] - f.sound.wallTimes[0]);
  QVERIFY2(held.count() >= 295 && held.count() < 1000, qPrintable(QString::number(held.count())));
}

void KeysTest::onlyListenAppendsNothing() {
  FormFixture f;
  f.form->Option1->setChecked(true);
  f.ClickKey("F");
  QCOMPARE(f.form->List1->count(), 0);
  QCOMPARE(f.form->List2->count(), 0);
  QCOMPARE(f.Announced(), QString());
  QCOMPARE(Kinds(f.sound), (std::vector{SoundCall::Start, SoundCall::Stop}));
}

// Clicks at fixed window points, near the edges of the keys' areas and beside them: the third
// number of the line written, or nothing.
void KeysTest::clicksAtWindowPoints_data() {
  QTest::addColumn<QPoint>("point");
  QTest::addColumn<QString>("third");
  QTest::newRow("C, left edge") << QPoint(266, 578) << "261";
  QTest::newRow("F, left edge") << QPoint(374, 600) << "349";
  QTest::newRow("C', right edge") << QPoint(544, 622) << "523";
  QTest::newRow("B', right edge") << QPoint(766, 600) << "987";
  QTest::newRow("Cis, left edge") << QPoint(290, 498) << "277";
  QTest::newRow("Ais', right edge") << QPoint(739, 566) << "932";
  QTest::newRow("upper part of white key E") << QPoint(352, 530) << "";
  QTest::newRow("names above the keys") << QPoint(352, 470) << "";
  QTest::newRow("strip that only Label19 covers") << QPoint(487, 530) << "";
  QTest::newRow("rest of the first Ais key") << QPoint(478, 530) << "466";
  QTest::newRow("left of the first key") << QPoint(258, 600) << "";
  QTest::newRow("right margin") << QPoint(780, 600) << "";
  QTest::newRow("below the keys") << QPoint(500, 640) << "";
  QTest::newRow("Label23 beside the list") << QPoint(3, 600) << "";
}

void KeysTest::clicksAtWindowPoints() {
  QFETCH(QPoint, point);
  QFETCH(QString, third);
  FormFixture f;
  f.ClickAt(point);
  if (third.isEmpty()) {
    QCOMPARE(f.form->List1->count(), 0);
    QVERIFY(f.sound.calls.empty());
  } else {
    QCOMPARE(f.Lines(), QStringList{"Sound Portb.0 , 150 , " + third});
  }
}

// Each key pressed through its accessibility action, as a screen reader presses it: what it sounds,
// the line it writes, the name the picture prints on it and what it is called all name one note.
void KeysTest::keyNamesSoundAndLineAgree_data() {
  QTest::addColumn<QString>("label");
  QTest::addColumn<QString>("drawn");
  QTest::addColumn<int>("octave");
  QTest::addColumn<int>("frames");  // one period at 44.1 kHz
  QTest::addColumn<QString>("third");
  const char* keys[][5] = {
      {"Label7", "C", "1", "169", "261"},      {"Label15", "Cis Des", "1", "159", "277"},
      {"Label8", "D", "1", "150", "293"},      {"Label16", "Dis Es", "1", "142", "311"},
      {"Label9", "E", "1", "134", "329"},      {"Label10", "F", "1", "126", "349"},
      {"Label17", "Fis Ges", "1", "119", "369"}, {"Label11", "G", "1", "113", "391"},
      {"Label18", "Gis As", "1", "106", "415"}, {"Label12", "A", "1", "100", "440"},
      {"Label27", "Ais B", "1", "95", "466"},  {"Label13", "H", "1", "89", "493"},
      {"Label14", "C", "2", "84", "523"},      {"Label28", "Cis Des", "2", "80", "554"},
      {"Label20", "D", "2", "75", "587"},      {"Label29", "Dis Es", "2", "71", "622"},
      {"Label21", "E", "2", "67", "659"},      {"Label22", "F", "2", "63", "698"},
      {"Label30", "Fis Ges", "2", "60", "739"}, {"Label24", "G", "2", "56", "783"},
      {"Label31", "Gis As", "2", "53", "830"}, {"Label25", "A", "2", "50", "880"},
      {"Label32", "Ais B", "2", "47", "932"},  {"Label26", "H", "2", "45", "987"},
  };
  for (const auto& key : keys)
    QTest::addRow("%s %s", key[1], key[2]) << key[0] << key[1] << QString(key[2]).toInt() << QString(key[3]).toInt()
                                           << key[4];
}

void KeysTest::keyNamesSoundAndLineAgree() {
  QFETCH(QString, label);
  QFETCH(QString, drawn);
  QFETCH(int, octave);
  QFETCH(int, frames);
  QFETCH(QString, third);
  FormFixture f;
  QCOMPARE(QString::fromUtf8(AreaNamed(label).drawnName), drawn);  // the picture prints the table's names
  auto* key = f.form->findChild<KeyAreaWidget*>(label);
  QVERIFY(key && key->parentWidget() == f.form->Piano);
  QAccessibleInterface* access = QAccessible::queryAccessibleInterface(key);
  QCOMPARE(access->role(), QAccessible::Button);
  QCOMPARE(access->parent()->object(), f.form->Piano);
  // The English name may add the English note names in brackets.
  const QRegularExpression english(QRegularExpression::anchoredPattern(
      QRegularExpression::escape(drawn) + "( \\(.+\\))?, " + (octave == 1 ? "lower" : "upper") + " octave"));
  QVERIFY2(english.match(access->text(QAccessible::Name)).hasMatch(), qPrintable(access->text(QAccessible::Name)));
  f.form->mnuGerman_Click();
  QCOMPARE(access->text(QAccessible::Name), drawn + (octave == 1 ? ", untere" : ", obere") + " Oktave");

  QAccessibleActionInterface* actions = access->actionInterface();
  QVERIFY(actions);
  QCOMPARE(actions->actionNames(), QStringList{QAccessibleActionInterface::pressAction()});
  actions->doAction(QAccessibleActionInterface::pressAction());
  QTRY_COMPARE(f.form->List1->count(), 1);
  QCOMPARE(f.sound.calls.at(0).frameCount, frames);
  QCOMPARE(Thirds(f), QStringList{third});
}

// The piano from the computer keyboard: arrows choose, Space and Return play the chosen key, the
// letter rows play by their place; auto-repeat and shortcuts play nothing.
void KeysTest::keyboardPlaysTheKeys_data() {
  QTest::addColumn<QString>("keys");
  QTest::addColumn<QStringList>("thirds");
  QTest::newRow("Space on the first key") << "Space" << QStringList{"261"};
  QTest::newRow("right to F, Return") << "Right Right Right Right Right Return" << QStringList{"349"};
  QTest::newRow("arrows stop at the ends") << "Left Space End Right Space Left Return" << QStringList{"261", "987", "932"};
  QTest::newRow("End to the highest, Home to the lowest") << "End Space Home Space" << QStringList{"987", "261"};
  QTest::newRow("Z C, V F, M H") << "2C 2F 32" << QStringList{"261", "349", "493"};
  QTest::newRow("S Cis, J Ais") << "1F 24" << QStringList{"277", "466"};
  QTest::newRow("Q C', U H'") << "10 16" << QStringList{"523", "987"};
  QTest::newRow("2 Cis', 7 Ais'") << "03 08" << QStringList{"554", "932"};
  QTest::newRow("a played key is the chosen one") << "31 Right Space" << QStringList{"440", "466"};
  QTest::newRow("auto-repeat adds nothing") << "2F rep2F Space repSpace repReturn" << QStringList{"349", "349"};
  QTest::newRow("Ctrl with a letter, keys beside the rows") << "ctrl2F 19 05 2B" << QStringList{};
}

void KeysTest::keyboardPlaysTheKeys() {
  QFETCH(QString, keys);
  QFETCH(QStringList, thirds);
  FormFixture f;
  PressOnPiano(f.form->Piano, keys);
  QCOMPARE(Thirds(f), thirds);
  QCOMPARE(f.Entries().size(), thirds.size());
}

// The keys by their place, as the letters of a US keyboard name them, with their PC scan codes
// (set 1).
void KeysTest::everyLetterHasItsKey_data() {
  QTest::addColumn<int>("scanCode");
  QTest::addColumn<QString>("note");
  const std::pair<const char*, int> letters[] = {
      {"Z", 0x2C}, {"S", 0x1F}, {"X", 0x2D}, {"D", 0x20}, {"C", 0x2E}, {"V", 0x2F}, {"G", 0x22}, {"B", 0x30},
      {"H", 0x23}, {"N", 0x31}, {"J", 0x24}, {"M", 0x32}, {"Q", 0x10}, {"2", 0x03}, {"W", 0x11}, {"3", 0x04},
      {"E", 0x12}, {"R", 0x13}, {"5", 0x06}, {"T", 0x14}, {"6", 0x07}, {"Y", 0x15}, {"7", 0x08}, {"U", 0x16}};
  const char* notes[] = {"C",  "Cis",  "D",  "Dis",  "E",  "F",  "Fis",  "G",  "Gis",  "A",  "Ais",  "B",
                         "C'", "Cis'", "D'", "Dis'", "E'", "F'", "Fis'", "G'", "Gis'", "A'", "Ais'", "B'"};
  for (int i = 0; i < 24; ++i)
    QTest::addRow("%s plays %s", letters[i].first, notes[i]) << letters[i].second << QString::fromLatin1(notes[i]);
}

void KeysTest::everyLetterHasItsKey() {
  QFETCH(int, scanCode);
  QFETCH(QString, note);
  const int area = KeyAtNativeScanCode(quint32(scanCode) + kNativeScanCodeOffset);
  QVERIFY(area >= 0);
  QCOMPARE(QString::fromLatin1(kKeyAreas[std::size_t(area)].noteName), note);
}

void KeysTest::clickLeavesTheFocus() {
  FormFixture f;
  f.form->show();
  QVERIFY(QTest::qWaitForWindowActive(f.form.get()));
  for (QWidget* focused : {static_cast<QWidget*>(f.form->List1), static_cast<QWidget*>(f.form->Text1)}) {
    focused->setFocus();
    f.ClickKey("F");
    QCOMPARE(QApplication::focusWidget(), focused);
  }
  QCOMPARE(f.form->List1->count(), 2);
}

// What the window shows: the outline leaves the key it was on and rings the next one.
void KeysTest::arrowsMoveTheOutline() {
  FormFixture f;
  f.form->show();
  QVERIFY(QTest::qWaitForWindowExposed(f.form.get()));
  PianoKeys* piano = f.form->Piano;
  const auto shown = [&f] { return f.form->screen()->grabWindow(f.form->winId()).toImage(); };
  const auto place = [&f, piano](int pitch) {
    KeyAreaWidget* key = piano->Key(pitch);
    return QRect(key->mapTo(f.form.get(), QPoint(0, 0)), key->size());
  };
  QApplication::processEvents();
  const QImage unfocused = shown();
  piano->setFocus();
  QTRY_VERIFY2(shown().copy(place(0)) != unfocused.copy(place(0)), "no outline on the first key");
  const QImage before = shown();
  PressOnPiano(piano, QStringLiteral("Right"));
  QTRY_VERIFY2(shown().copy(place(1)) != before.copy(place(1)), "no outline drawn on the next key");
  QCOMPARE(shown().copy(place(0)), unfocused.copy(place(0)));  // the key it left as it was
}

void KeysTest::secondKeyDuringANote_data() {
  QTest::addColumn<bool>("keyboard");
  QTest::newRow("clicks") << false;
  QTest::newRow("computer keys") << true;
}

void KeysTest::secondKeyDuringANote() {
  QFETCH(bool, keyboard);
  FormFixture f;
  PianoKeys* piano = f.form->Piano;
  QTimer::singleShot(100, f.form.get(), [&] { keyboard ? PressOnPiano(piano, QStringLiteral("31")) : f.ClickKey("A"); });
  const auto started = std::chrono::steady_clock::now();
  keyboard ? PressOnPiano(piano, QStringLiteral("2F")) : f.ClickKey("F");
  const auto took = std::chrono::steady_clock::now() - started;
  // The later key's lines come first; the first key's wait ends as soon as the second's note is over.
  QCOMPARE(f.Lines(), (QStringList{"Sound Portb.0 , 150 , 440", "Sound Portb.0 , 150 , 349"}));
  QCOMPARE(f.Entries(), (QStringList{"440.150", "349,2282.150"}));
  QCOMPARE(Kinds(f.sound), (std::vector{SoundCall::Start, SoundCall::Start, SoundCall::Stop}));
  QCOMPARE(f.sound.calls[1].frameCount, 100);
  QVERIFY(took < std::chrono::milliseconds(1000));
  QVERIFY(took >= std::chrono::milliseconds(395));
}

void KeysTest::editsDuringTheNoteCount() {
  FormFixture f;
  QTimer::singleShot(50, f.form.get(), [&f] {
    f.form->Text1->setText(QStringLiteral("75"));
    f.form->Text3->setText(QStringLiteral("Portd.5"));
  });
  f.ClickKey("A");
  QCOMPARE(f.Lines(), QStringList{"Sound Portd.5 , 75 , 440"});
  QCOMPARE(f.Entries(), QStringList{"440.75"});
}

void KeysTest::soundcardButtonDuringANote() {
  FormFixture f;
  QTimer::singleShot(50, f.form.get(), [&f] { f.form->Command2_Click(); });
  f.ClickKey("F");
  QCOMPARE(f.form->stopflag, 1);
  QCOMPARE(f.form->List1->count(), 1);  // the key still writes its line
  QVERIFY(!f.sound.looping);
  // The button's own loop replaced the note and was stopped; the note's timer stop follows.
  QCOMPARE(Kinds(f.sound), (std::vector{SoundCall::Start, SoundCall::Start, SoundCall::Sleep, SoundCall::Stop,
                                        SoundCall::Stop}));
  QCOMPARE(f.sound.calls[1].frameCount, 66);
}

void KeysTest::tickDueDuringPlayback_data() {
  QTest::addColumn<bool>("keyDuringPlayback");
  QTest::addColumn<QStringList>("lines");
  QTest::newRow("the kept tick ends the note") << false << QStringList{"Sound Portb.0 , 150 , 349"};
  QTest::newRow("a key waiting behind the playback sets the timer again")
      << true << QStringList{"Sound Portb.0 , 150 , 440", "Sound Portb.0 , 150 , 349"};
}

// Playback holds the note timer from 100 ms to 350 ms into key F's note, so F's tick at 300 ms is
// kept. Without more, it ends F's wait as soon as playback is over (not at the timer's next tick at
// 600 ms). A click on A that waited behind the playback comes first and sets the timer again: its
// note then lasts its whole 300 ms, and the kept tick of F is not delivered into it.
void KeysTest::tickDueDuringPlayback() {
  QFETCH(bool, keyDuringPlayback);
  QFETCH(QStringList, lines);
  FormFixture f;
  QTimer::singleShot(100, f.form.get(), [&f, keyDuringPlayback] {
    {
      const NoteTimerHold hold(f.form->Timer1);
      WaitAnsweringDesktop(std::chrono::steady_clock::now() + std::chrono::milliseconds(250));
    }
    // As the click held back by the playback, queued when it ends.
    if (keyDuringPlayback) QMetaObject::invokeMethod(f.form.get(), [&f] { f.ClickKey("A"); }, Qt::QueuedConnection);
  });
  const auto started = std::chrono::steady_clock::now();
  f.ClickKey("F");
  const auto tookMs = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - started);
  QCOMPARE(f.Lines(), lines);
  if (keyDuringPlayback) {
    QCOMPARE(f.sound.wallTimes.size(), std::size_t(3));  // F's start, A's start and its stop, which ends F's wait
    const auto aHeld = std::chrono::duration_cast<std::chrono::milliseconds>(f.sound.wallTimes[2] - f.sound.wallTimes[1]);
    QVERIFY2(aHeld.count() >= 295, qPrintable(QString::number(aHeld.count())));
  } else {
    QVERIFY2(tookMs.count() >= 345 && tookMs.count() < 550, qPrintable(QString::number(tookMs.count())));
  }
}

void KeysTest::singleToneButtons() {
  FormFixture f;
  f.form->Command1_Click();
  f.form->Command2_Click();
  QCOMPARE(Kinds(f.sound), (std::vector{SoundCall::Beep, SoundCall::Start, SoundCall::Sleep, SoundCall::Stop}));
  QCOMPARE(f.sound.calls[0].frequency, 666);
  QCOMPARE(f.sound.calls[0].ms, 150);
  QCOMPARE(f.sound.calls[1].frameCount, 66);
  QCOMPARE(f.sound.calls[1].ms, 300);
  QCOMPARE(f.sound.calls[2].ms, 300);
  QCOMPARE(f.form->stopflag, 1);
  // The buttons play pulses, kept from the last frequency that could be computed.
  f.form->Text2->setText(QStringLiteral("2000"));
  f.form->Text2->setText(QString());
  f.form->Command1_Click();
  QCOMPARE(f.sound.calls.back().frequency, 333);
}

void KeysTest::badDurationLeavesNothingSounding_data() {
  QTest::addColumn<QString>("duration");
  QTest::addColumn<QString>("crystal");
  QTest::newRow("letters") << "abc" << "8000000";
  QTest::newRow("empty") << "" << "8000000";
  QTest::newRow("beyond 32 bits") << "3e9" << "8000000";
  QTest::newRow("crystal 0 on the sound card") << "150" << "0";
}

void KeysTest::badDurationLeavesNothingSounding() {
  QFETCH(QString, duration);
  QFETCH(QString, crystal);
  FormFixture f;
  f.form->Command3_Click();
  f.form->Text1->setText(duration);
  f.form->Text4->setText(crystal);
  const QString line = f.form->Text5->text();
  f.form->Command2_Click();
  QVERIFY(!f.sound.looping);
  QCOMPARE(f.form->stopflag, 0);
  if (crystal != "0") {
    f.form->Command1_Click();
    QVERIFY(f.sound.calls.empty());
  }
  QCOMPARE(f.form->List1->count(), 1);
  QCOMPARE(f.form->Text5->text(), line);
  QCOMPARE(f.form->Text1->text(), duration);
}

void KeysTest::keyEntriesPlayBackExactly_data() {
  QTest::addColumn<QLocale>("locale");
  QTest::newRow("point locale") << kEnglish;
  QTest::newRow("comma locale") << kGerman;
}

void KeysTest::keyEntriesPlayBackExactly() {
  QFETCH(QLocale, locale);
  FormFixture f(locale);
  f.ClickKey("F");
  f.sound.calls.clear();
  f.form->Command5_Click();
  f.form->Command6_Click();
  QCOMPARE(Kinds(f.sound), (std::vector{SoundCall::Beep, SoundCall::Sleep, SoundCall::Start, SoundCall::Sleep,
                                        SoundCall::Stop}));
  QCOMPARE(f.sound.calls[0].frequency, 349);
  QCOMPARE(f.sound.calls[0].ms, 150);
  QCOMPARE(f.sound.calls[2].frameCount, 126);  // 349.2282 Hz exactly, not 349
  QCOMPARE(f.sound.calls[3].ms, 300);
}

QTEST_MAIN(KeysTest)
#include "test_keys.moc"
