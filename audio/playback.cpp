#include "audio/playback.h"

#include "model/numbers.h"
#include "model/sound_line.h"

#include <optional>

namespace quaverline {

namespace {

constexpr std::int32_t kLoopAsync = SND_ASYNC | SND_LOOP;

// A negative time is refused like an unreadable one: a platform that takes its times unsigned
// would beep or sleep for weeks.
std::optional<std::int32_t> NotNegative(std::optional<std::int32_t> milliseconds) {
  if (milliseconds && *milliseconds < 0) return std::nullopt;
  return milliseconds;
}

// The sound card plays each note for twice its written duration.
std::optional<std::int32_t> SoundcardMilliseconds(const QString& durationText, const QLocale& locale) {
  const auto duration = ReadNumber(durationText, locale);
  if (!duration) return std::nullopt;
  return NotNegative(RoundToInt32(*duration * 2));
}

std::optional<std::int32_t> SpeakerMilliseconds(const QString& durationText, const QLocale& locale) {
  const auto duration = ReadNumber(durationText, locale);
  if (!duration) return std::nullopt;
  return NotNegative(RoundToInt32(*duration));
}

// One looped period for the given time, then silence. False, with nothing started, when the
// tone cannot be synthesised.
bool LoopTone(SoundPlatform& sound, WaveImage& wave, double frequency, std::int32_t milliseconds,
              std::int32_t& stopflag) {
  if (!SynthesizeTone(wave, frequency, frequency)) return false;
  PlayWave(sound, wave, kLoopAsync, milliseconds);
  sound.Sleep(milliseconds);
  StopSound(sound);
  stopflag = 1;
  return true;
}

}  // namespace

std::int32_t PlayWave(SoundPlatform& sound, const WaveImage& wave, std::int32_t flags, std::int32_t lengthMs) {
  constexpr std::uint32_t kLoopFromMemory = SND_ASYNC | SND_MEMORY | SND_LOOP;
  if (((std::uint32_t(flags) | SND_MEMORY) & kLoopFromMemory) != kLoopFromMemory) return 0;
  const auto image = ReadLoopImage(&wave);
  if (!image) return 0;
  return sound.StartLoop(*image, lengthMs) ? 1 : 0;
}

void StopSound(SoundPlatform& sound) { sound.StopLoop(); }

bool PlayToneOnSpeaker(SoundPlatform& sound, std::int32_t pulses, const QString& durationText,
                       const QLocale& locale) {
  const auto milliseconds = SpeakerMilliseconds(durationText, locale);
  if (!milliseconds) return false;
  sound.Beep(pulses, *milliseconds);
  return true;
}

bool PlayToneOnSoundcard(SoundPlatform& sound, WaveImage& wave, std::int32_t pulses,
                         const QString& durationText, const QLocale& locale, std::int32_t& stopflag) {
  // Read before the loop starts: an unreadable duration must not leave the card looping.
  const auto milliseconds = SoundcardMilliseconds(durationText, locale);
  if (!milliseconds) return false;
  return LoopTone(sound, wave, double(pulses), *milliseconds, stopflag);
}

int PlayListOnSpeaker(SoundPlatform& sound, const QStringList& entries, const QLocale& locale) {
  const qsizetype count = entries.size();
  int played = 0;
  for (qsizetype i = 0; i < count; ++i) {
    const auto parts = SplitPlayEntry(entries[i]);
    if (!parts) break;
    const auto milliseconds = SpeakerMilliseconds(parts->duration, locale);
    const auto frequency = ReadPlayEntryNumber(parts->frequency, locale);
    if (!milliseconds || !frequency) break;
    const auto wholeFrequency = RoundToInt32(*frequency);
    if (!wholeFrequency) break;
    sound.Beep(*wholeFrequency, *milliseconds);
    sound.Sleep(*milliseconds);
    ++played;
  }
  return played;
}

int PlayListOnSoundcard(SoundPlatform& sound, WaveImage& wave, const QStringList& entries,
                        const QLocale& locale, std::int32_t& stopflag) {
  const qsizetype count = entries.size();
  int played = 0;
  for (qsizetype i = 0; i < count; ++i) {
    const auto parts = SplitPlayEntry(entries[i]);
    if (!parts) break;
    const auto frequency = ReadPlayEntryNumber(parts->frequency, locale);
    if (!frequency) break;
    // Read before the loop starts: an unreadable duration must not leave the card looping.
    const auto milliseconds = SoundcardMilliseconds(parts->duration, locale);
    if (!milliseconds) break;
    if (!LoopTone(sound, wave, *frequency, *milliseconds, stopflag)) break;
    ++played;
  }
  return played;
}

}  // namespace quaverline
