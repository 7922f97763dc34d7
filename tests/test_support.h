// What many tests share: the two locales the program is tested in, the sound device's buffer, a
// fresh WAV image, and the choice of SDL's audio driver for a test and its undoing.
#pragma once

#include "audio/wave_image.h"

#include <QByteArray>
#include <QFile>
#include <QLocale>
#include <QMetaType>
#include <QString>
#include <QtGlobal>
#include <memory>

Q_DECLARE_METATYPE(QLocale)

namespace quaverline {

// A locale with a decimal point and one with a decimal comma.
inline const QLocale kEnglish(QLocale::English, QLocale::UnitedStates);
inline const QLocale kGerman(QLocale::German, QLocale::Germany);

// A zeroed image on the heap; at 20 kB it does not belong on a test's stack.
inline std::unique_ptr<WaveImage> NewWaveImage() { return std::make_unique<WaveImage>(WaveImage{}); }

// Chooses SDL's audio driver, and the disk driver's output file, for the audio subsystem's next
// start. Every test starts with the dummy driver and goes back to it after each test function.
inline void UseSdlDriver(const QByteArray& driver, const QString& diskFile = {}) {
  qputenv("SDL_AUDIODRIVER", driver);
  if (diskFile.isEmpty())
    qunsetenv("SDL_DISKAUDIOFILE");
  else
    qputenv("SDL_DISKAUDIOFILE", QFile::encodeName(diskFile));
}
inline void UseDiskAudio(const QString& path) { UseSdlDriver("disk", path); }
inline void ResetSdlDriver() { UseSdlDriver("dummy"); }

}  // namespace quaverline
