// Single-tone and list playback, checked call by call on a recording sound platform.
#include "audio/playback.h"
#include "recording_sound.h"
#include "test_support.h"

#include <QTest>

#include <memory>

using namespace quaverline;

namespace {

// One line per call, e.g. "0 Start N=66 for 300", "0 Sleep 300", "300 Stop", "0 Beep 666 150".
QStringList Describe(const std::vector<SoundCall>& calls) {
  QStringList lines;
  for (const SoundCall& call : calls) {
    const QString at = QString::number(call.atMs);
    switch (call.kind) {
      case SoundCall::Start:
        lines << QStringLiteral("%1 Start N=%2 for %3").arg(at).arg(call.frameCount).arg(call.ms);
        break;
      case SoundCall::Stop:
        lines << QStringLiteral("%1 Stop").arg(at);
        break;
      case SoundCall::Beep:
        lines << QStringLiteral("%1 Beep %2 %3").arg(at).arg(call.frequency).arg(call.ms);
        break;
      case SoundCall::Sleep:
        lines << QStringLiteral("%1 Sleep %2").arg(at).arg(call.ms);
        break;
    }
  }
  return lines;
}

QString Show(const QStringList& lines) { return lines.join(QStringLiteral(" | ")); }

}  // namespace

class TestPlayback : public QObject {
  Q_OBJECT

 private slots:
  void toneOnSpeaker_data() {
    QTest::addColumn<int>("pulses");
    QTest::addColumn<QString>("duration");
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<bool>("played");
    QTest::addColumn<QStringList>("calls");
    QTest::newRow("start values") << 666 << "150" << kEnglish << true << QStringList{"0 Beep 666 150"};
    QTest::newRow("150.5 rounds to even") << 666 << "150.5" << kEnglish << true << QStringList{"0 Beep 666 150"};
    QTest::newRow("151.5 rounds to even") << 666 << "151.5" << kEnglish << true << QStringList{"0 Beep 666 152"};
    QTest::newRow("German 150,5") << 666 << "150,5" << kGerman << true << QStringList{"0 Beep 666 150"};
    QTest::newRow("blanks around") << 666 << " 150 " << kEnglish << true << QStringList{"0 Beep 666 150"};
    QTest::newRow("0 ms") << 666 << "0" << kEnglish << true << QStringList{"0 Beep 666 0"};
    QTest::newRow("pulses 0 handed on") << 0 << "150" << kEnglish << true << QStringList{"0 Beep 0 150"};
    QTest::newRow("letters") << 666 << "abc" << kEnglish << false << QStringList{};
    QTest::newRow("empty") << 666 << "" << kEnglish << false << QStringList{};
    QTest::newRow("beyond 32 bits") << 666 << "3000000000" << kEnglish << false << QStringList{};
    QTest::newRow("negative") << 666 << "-150" << kEnglish << false << QStringList{};
    QTest::newRow("-0.4 rounds to 0") << 666 << "-0.4" << kEnglish << true << QStringList{"0 Beep 666 0"};
  }

  void toneOnSpeaker() {
    QFETCH(int, pulses);
    QFETCH(QString, duration);
    QFETCH(QLocale, locale);
    QFETCH(bool, played);
    QFETCH(QStringList, calls);
    RecordingSound sound;
    QCOMPARE(PlayToneOnSpeaker(sound, pulses, duration, locale), played);
    QCOMPARE(Show(Describe(sound.calls)), Show(calls));
  }

  void toneOnSoundcard_data() {
    QTest::addColumn<int>("pulses");
    QTest::addColumn<QString>("duration");
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<bool>("played");
    QTest::addColumn<QStringList>("calls");
    QTest::newRow("start values") << 666 << "150" << kEnglish << true
                                  << QStringList{"0 Start N=66 for 300", "0 Sleep 300", "300 Stop"};
    QTest::newRow("150.5 doubles to 301") << 666 << "150.5" << kEnglish << true
                                          << QStringList{"0 Start N=66 for 301", "0 Sleep 301", "301 Stop"};
    QTest::newRow("German 150,25 doubles to 300.5, even") << 666 << "150,25" << kGerman << true
                                                          << QStringList{"0 Start N=66 for 300", "0 Sleep 300", "300 Stop"};
    QTest::newRow("0 ms starts and stops at once") << 666 << "0" << kEnglish << true
                                                   << QStringList{"0 Start N=66 for 0", "0 Sleep 0", "0 Stop"};
    QTest::newRow("letters") << 666 << "abc" << kEnglish << false << QStringList{};
    QTest::newRow("empty") << 666 << "" << kEnglish << false << QStringList{};
    QTest::newRow("double beyond 32 bits") << 666 << "1500000000" << kEnglish << false << QStringList{};
    QTest::newRow("pulses 0") << 0 << "150" << kEnglish << false << QStringList{};
    QTest::newRow("pulses 88200") << 88200 << "150" << kEnglish << false << QStringList{};
    QTest::newRow("pulses negative") << -666 << "150" << kEnglish << false << QStringList{};
    QTest::newRow("negative duration") << 666 << "-150" << kEnglish << false << QStringList{};
  }

  void toneOnSoundcard() {
    QFETCH(int, pulses);
    QFETCH(QString, duration);
    QFETCH(QLocale, locale);
    QFETCH(bool, played);
    QFETCH(QStringList, calls);
    RecordingSound sound;
    auto wave = NewWaveImage();
    std::int32_t stopflag = 0;
    QCOMPARE(PlayToneOnSoundcard(sound, *wave, pulses, duration, locale, stopflag), played);
    QCOMPARE(Show(Describe(sound.calls)), Show(calls));
    QCOMPARE(stopflag, played ? 1 : 0);
    QVERIFY(!sound.looping);
  }

  void soundcardToneStartsFromPulseAtFirstFrame() {
    RecordingSound sound;
    auto wave = NewWaveImage();
    std::int32_t stopflag = 0;
    QVERIFY(PlayToneOnSoundcard(sound, *wave, 666, "150", kEnglish, stopflag));
    QCOMPARE(sound.calls.front().firstFrame.Left, 2000);
    QCOMPARE(sound.calls.front().firstFrame.Right, 0);
  }

  void list_data() {
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<int>("speakerPlayed");
    QTest::addColumn<QStringList>("speakerCalls");
    QTest::addColumn<int>("cardPlayed");
    QTest::addColumn<QStringList>("cardCalls");

    QTest::newRow("empty list") << QStringList{} << kEnglish << 0 << QStringList{} << 0 << QStringList{};
    QTest::newRow("two notes") << QStringList{"666.150", "1333.300"} << kEnglish << 2
                               << QStringList{"0 Beep 666 150", "150 Sleep 150", "300 Beep 1333 300", "600 Sleep 300"}
                               << 2
                               << QStringList{"0 Start N=66 for 300", "0 Sleep 300", "300 Stop", "300 Start N=33 for 600",
                                              "300 Sleep 600", "900 Stop"};
    QTest::newRow("bad middle entry") << QStringList{"666.150", "bad", "1333.300"} << kEnglish << 1
                                      << QStringList{"0 Beep 666 150", "150 Sleep 150"} << 1
                                      << QStringList{"0 Start N=66 for 300", "0 Sleep 300", "300 Stop"};
    QTest::newRow("duration cut to four characters") << QStringList{"666.12000"} << kEnglish << 1
                                                     << QStringList{"0 Beep 666 1200", "1200 Sleep 1200"} << 1
                                                     << QStringList{"0 Start N=66 for 2400", "0 Sleep 2400", "2400 Stop"};
    QTest::newRow("German key entry") << QStringList{"349,2282.150"} << kGerman << 1
                                      << QStringList{"0 Beep 349 150", "150 Sleep 150"} << 1
                                      << QStringList{"0 Start N=126 for 300", "0 Sleep 300", "300 Stop"};
    QTest::newRow("English key entry") << QStringList{"349,2282.150"} << kEnglish << 1
                                       << QStringList{"0 Beep 349 150", "150 Sleep 150"} << 1
                                       << QStringList{"0 Start N=126 for 300", "0 Sleep 300", "300 Stop"};
    QTest::newRow("C locale key entry") << QStringList{"349,2282.150"} << QLocale::c() << 1
                                        << QStringList{"0 Beep 349 150", "150 Sleep 150"} << 1
                                        << QStringList{"0 Start N=126 for 300", "0 Sleep 300", "300 Stop"};
    QTest::newRow("duration letters") << QStringList{"666.abc", "666.150"} << kEnglish << 0 << QStringList{} << 0
                                      << QStringList{};
    QTest::newRow("nothing after the point") << QStringList{"666."} << kEnglish << 0 << QStringList{} << 0
                                             << QStringList{};
    QTest::newRow("nothing before the point") << QStringList{".150"} << kEnglish << 0 << QStringList{} << 0
                                              << QStringList{};
    QTest::newRow("frequency letters") << QStringList{"x.150"} << kEnglish << 0 << QStringList{} << 0
                                       << QStringList{};
    QTest::newRow("no point") << QStringList{"666", "666.150"} << kEnglish << 0 << QStringList{} << 0
                              << QStringList{};
    QTest::newRow("empty entry") << QStringList{""} << kEnglish << 0 << QStringList{} << 0 << QStringList{};
    QTest::newRow("frequency 0: beeps nothing, card refuses")
        << QStringList{"0.150", "666.150"} << kEnglish << 2
        << QStringList{"0 Beep 0 150", "0 Sleep 150", "150 Beep 666 150", "300 Sleep 150"} << 0 << QStringList{};
    QTest::newRow("frequency 88200 on the card") << QStringList{"88200.150"} << kEnglish << 1
                                                 << QStringList{"0 Beep 88200 150", "0 Sleep 150"} << 0
                                                 << QStringList{};
    QTest::newRow("negative duration ends the playback")
        << QStringList{"666.150", "666.-150", "1333.300"} << kEnglish << 1 << QStringList{"0 Beep 666 150", "150 Sleep 150"}
        << 1 << QStringList{"0 Start N=66 for 300", "0 Sleep 300", "300 Stop"};
    QTest::newRow("frequency beyond 32 bits") << QStringList{"4000000000.150"} << kEnglish << 0 << QStringList{}
                                              << 0 << QStringList{};
  }

  void list() {
    QFETCH(QStringList, entries);
    QFETCH(QLocale, locale);
    QFETCH(int, speakerPlayed);
    QFETCH(QStringList, speakerCalls);
    QFETCH(int, cardPlayed);
    QFETCH(QStringList, cardCalls);

    RecordingSound speaker;
    QCOMPARE(PlayListOnSpeaker(speaker, entries, locale), speakerPlayed);
    QCOMPARE(Show(Describe(speaker.calls)), Show(speakerCalls));

    RecordingSound card;
    auto wave = NewWaveImage();
    std::int32_t stopflag = 0;
    QCOMPARE(PlayListOnSoundcard(card, *wave, entries, locale, stopflag), cardPlayed);
    QCOMPARE(Show(Describe(card.calls)), Show(cardCalls));
    QCOMPARE(stopflag, cardPlayed > 0 ? 1 : 0);
    QVERIFY(!card.looping);  // no path leaves the card looping
  }

  void playWaveStartsOnlyPlayableLoops_data() {
    QTest::addColumn<double>("frequency");  // 0: the image is left empty
    QTest::addColumn<int>("flags");
    QTest::addColumn<QStringList>("calls");
    QTest::newRow("SND_MEMORY is added") << 440.0 << 9 << QStringList{"0 Start N=100 for 250"};
    QTest::newRow("all three given") << 440.0 << 13 << QStringList{"0 Start N=100 for 250"};
    QTest::newRow("empty image") << 0.0 << 9 << QStringList{};
    QTest::newRow("not looping") << 440.0 << 1 << QStringList{};
    QTest::newRow("not asynchronous") << 440.0 << 8 << QStringList{};
  }

  void playWaveStartsOnlyPlayableLoops() {
    QFETCH(double, frequency);
    QFETCH(int, flags);
    QFETCH(QStringList, calls);
    RecordingSound sound;
    auto wave = NewWaveImage();
    if (frequency > 0) QVERIFY(SynthesizeTone(*wave, frequency, frequency));
    QCOMPARE(PlayWave(sound, *wave, flags, 250), calls.isEmpty() ? 0 : 1);
    QCOMPARE(Show(Describe(sound.calls)), Show(calls));
  }
};

QTEST_APPLESS_MAIN(TestPlayback)
#include "test_playback.moc"
