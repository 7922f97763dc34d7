// The window's buttons and keys through the real SDL sound layer: captured by SDL's disk driver,
// and with no usable audio driver at all.
#include "audio/device_sound.h"
#include "captured_stream.h"
#include "ui/backdrop.h"
#include "ui/code_list_box.h"
#include "ui/form1.h"
#include "ui/key_table.h"
#include "ui/playback_wait.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QListWidget>
#include <QTemporaryDir>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <memory>

using namespace quaverline;

namespace {

constexpr long kFramesPerMs = 44100 / 1000;

int KeyIndex(const char* noteName) {
  for (int k = 0; k < int(kKeyAreas.size()); ++k)
    if (kKeyAreas[k].noteName && QByteArray(kKeyAreas[k].noteName) == noteName) return k;
  return -1;
}

}  // namespace

class WindowSoundTest : public QObject {
  Q_OBJECT
 private slots:
  void init() { capture_ = dir_.filePath(QStringLiteral("%1.raw").arg(QTest::currentDataTag())); }
  void cleanup() { ResetSdlDriver(); }
  void soundcardLoops_data();
  void soundcardLoops();
  void speakerButton();
  void noteKeepsItsLengthUnderABeep();
  void playbackRepaintsButHoldsTimers();
  void noDevice();

 private:
  QTemporaryDir dir_;
  QString capture_;
};

void WindowSoundTest::soundcardLoops_data() {
  QTest::addColumn<QString>("action");
  QTest::addColumn<int>("frameCount");
  QTest::addColumn<int>("lengthMs");
  QTest::newRow("Play on Soundcard") << "button" << 66 << 300;
  QTest::newRow("key F") << "F" << 126 << 300;
  QTest::newRow("key A") << "A" << 100 << 300;
}

void WindowSoundTest::soundcardLoops() {
  QFETCH(QString, action);
  QFETCH(int, frameCount);
  QFETCH(int, lengthMs);
  UseDiskAudio(capture_);
  auto wave = std::make_unique<WaveImage>();
  {
    DeviceSound sound;
    QVERIFY(sound.WaitForDevice());
    Form1 form(sound);
    if (action == "button")
      form.Command2_Click();
    else
      form.KeyArea_Click(KeyIndex(action.toLatin1().constData()));
    Drain(sound);
    *wave = form.wave;
  }
  // Read once the device is closed: on Windows SDL keeps the capture file locked while it writes.
  QCOMPARE(wave->dataSize, frameCount * 4);
  const CapturedStream stream = CapturedStream::Read(capture_);
  QVERIFY(stream.IsLoopOf(*wave, frameCount));
  const long error = stream.SoundingSpan() - lengthMs * kFramesPerMs;
  QVERIFY2(std::labs(error) <= kSdlBufferFrames, qPrintable(QStringLiteral("off by %1 frames").arg(error)));
}

void WindowSoundTest::speakerButton() {
  UseDiskAudio(capture_);
  {
    DeviceSound sound;
    Form1 form(sound);
    form.Command1_Click();
    Drain(sound);
  }
  const CapturedStream stream = CapturedStream::Read(capture_);
  const long span = stream.SoundingSpan();
  QVERIFY2(std::labs(span - 150 * kFramesPerMs) <= kSdlBufferFrames, qPrintable(QString::number(span)));
  // 666 Hz: two sign changes a period.
  const long changes = stream.LeftSignChanges(stream.FirstSounding(), stream.LastSounding() + 1);
  QVERIFY2(std::labs(changes - 2 * 666 * 150 / 1000) <= 2, qPrintable(QString::number(changes)));
}

// "Play on PC-Speaker" clicked during key F's note holds the note timer for its 400 ms beep; the
// note still ends at its own 300 ms rather than when the beep lets the timer tick. The note's
// frames are those that are neither silent nor the beep's two levels.
void WindowSoundTest::noteKeepsItsLengthUnderABeep() {
  UseDiskAudio(capture_);
  {
    DeviceSound sound;
    sound.SetWait(&WaitAnsweringDesktop);
    QVERIFY(sound.WaitForDevice());
    Form1 form(sound);
    form.Text1->setText(QStringLiteral("400"));
    QTimer::singleShot(100, &form, [&form] { form.Command1_Click(); });
    form.KeyArea_Click(KeyIndex("F"));
    Drain(sound);
  }
  const CapturedStream stream = CapturedStream::Read(capture_);
  long first = -1, last = -1;
  for (std::size_t i = 0; i < stream.frames.size(); ++i) {
    const int left = stream.frames[i].Left;
    if (left == 0 || left == kBeepAmplitude || left == -kBeepAmplitude) continue;
    if (first < 0) first = long(i);
    last = long(i);
  }
  QVERIFY(first >= 0);
  const long spanMs = (last - first) * 1000 / kSampleRate;
  QVERIFY2(spanMs > 290 && spanMs <= 300, qPrintable(QString::number(spanMs)));
}

// With the program's wait, a list playing on the sound card lets the window repaint; a note timer
// that falls due meanwhile ticks only afterwards, and the loop keeps its length.
void WindowSoundTest::playbackRepaintsButHoldsTimers() {
  UseDiskAudio(capture_);
  auto wave = std::make_unique<WaveImage>();
  {
    DeviceSound sound;
    sound.SetWait(&WaitAnsweringDesktop);
    Form1 form(sound);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    int paints = 0;
    struct PaintCounter : QObject {
      int& n;
      explicit PaintCounter(int& count) : n(count) {}
      bool eventFilter(QObject*, QEvent* e) override { n += e->type() == QEvent::Paint; return false; }
    } counter(paints);
    form.backdrop->installEventFilter(&counter);
    form.AppendLine(QStringLiteral("a"), QStringLiteral("666.200"));
    form.backdrop->update();
    form.Timer1.SetInterval(50);
    form.Command6_Click();
    QVERIFY(paints > 0);
    QVERIFY(form.Timer1.Enabled());
    QTRY_VERIFY(!form.Timer1.Enabled());
    Drain(sound);
    *wave = form.wave;
  }
  // Read once the device is closed: on Windows SDL keeps the capture file locked while it writes.
  const CapturedStream stream = CapturedStream::Read(capture_);
  QVERIFY(stream.IsLoopOf(*wave, 66));
  const long error = stream.SoundingSpan() - 400 * kFramesPerMs;
  QVERIFY2(std::labs(error) <= kSdlBufferFrames, qPrintable(QStringLiteral("off by %1 frames").arg(error)));
}

void WindowSoundTest::noDevice() {
  UseSdlDriver("no-such-driver");
  DeviceSound sound;
  QVERIFY(!sound.WaitForDevice());
  Form1 form(sound);
  QElapsedTimer timer;
  timer.start();
  form.Command1_Click();
  QVERIFY(timer.elapsed() >= 145);
  timer.restart();
  form.Command2_Click();
  QVERIFY(timer.elapsed() >= 295);
  QCOMPARE(form.stopflag, 1);
  timer.restart();
  form.KeyArea_Click(KeyIndex("F"));
  QVERIFY(timer.elapsed() >= 295);
  QCOMPARE(form.List1->count(), 1);
  form.Command5_Click();
  form.Command6_Click();
  QCOMPARE(form.List2->count(), 1);
}

QTEST_MAIN(WindowSoundTest)
#include "test_window_sound.moc"
