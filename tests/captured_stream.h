// Reads what SDL's disk audio driver captured (raw interleaved stereo 16-bit little-endian at
// 44 100 Hz) and measures the tones in it.
#pragma once

#include "audio/device_sound.h"
#include "audio/backends/sdl_device.h"
#include "audio/wave_image.h"
#include "test_support.h"

#include <QElapsedTimer>
#include <QFile>
#include <QString>
#include <QtGlobal>

#include <cstdint>
#include <cstring>
#include <vector>

namespace quaverline {

// A device running behind the clock may still be playing when a call returns: waits until it is
// done, then a little longer so that silence follows in the capture.
inline void Drain(DeviceSound& sound) {
  QElapsedTimer timer;
  timer.start();
  while (sound.Sounding() && timer.elapsed() < 10000) sound.Sleep(5);
  sound.Sleep(50);
}

struct CapturedStream {
  std::vector<WaveFrame> frames;

  static CapturedStream Read(const QString& path) {
    CapturedStream stream;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return stream;
    const QByteArray bytes = file.readAll();
    stream.frames.resize(std::size_t(bytes.size()) / sizeof(WaveFrame));
    std::memcpy(stream.frames.data(), bytes.constData(), stream.frames.size() * sizeof(WaveFrame));
    return stream;
  }

  bool Sounding(std::size_t i) const { return frames[i].Left != 0 || frames[i].Right != 0; }

  // Index of the first frame that is not silent, or -1.
  long FirstSounding() const {
    for (std::size_t i = 0; i < frames.size(); ++i) {
      if (Sounding(i)) return long(i);
    }
    return -1;
  }

  // Index of the last frame that is not silent, or -1.
  long LastSounding() const {
    for (std::size_t i = frames.size(); i-- > 0;) {
      if (Sounding(i)) return long(i);
    }
    return -1;
  }

  // Frames from the first to the last sounding frame; 0 for a silent stream.
  long SoundingSpan() const { return FirstSounding() < 0 ? 0 : LastSounding() - FirstSounding() + 1; }

  // True when every frame from the first sounding one to the last repeats the image's frames
  // 1..frameCount in order, and everything outside that span is silent.
  bool IsLoopOf(const WaveImage& image, std::int32_t frameCount) const {
    const long first = FirstSounding();
    if (first < 0 || frameCount <= 0) return false;
    const long last = LastSounding();
    for (long i = first; i <= last; ++i) {
      const WaveFrame& expected = image.frames[(i - first) % frameCount];
      const WaveFrame& got = frames[std::size_t(i)];
      if (got.Left != expected.Left || got.Right != expected.Right) return false;
    }
    return true;
  }

  // Sign changes of the left channel within [from, to).
  long LeftSignChanges(long from, long to) const {
    long changes = 0;
    for (long i = from + 1; i < to; ++i) {
      if ((frames[std::size_t(i)].Left > 0) != (frames[std::size_t(i - 1)].Left > 0)) ++changes;
    }
    return changes;
  }
};

}  // namespace quaverline
