// Single-tone and list playback on the PC speaker and on the sound card.
#pragma once

#include "audio/sound_platform.h"
#include "audio/wave_image.h"

#include <QLocale>
#include <QString>
#include <QStringList>
#include <cstdint>

namespace quaverline {

// Starts the image looping for `lengthMs`, the time its caller means it to sound (a later stop
// may still end it sooner). Only an asynchronous loop from memory is played: flags | SND_MEMORY
// must hold SND_ASYNC, SND_MEMORY and SND_LOOP, and the image must be a playable one-period
// image. 1 when the loop started, 0 otherwise; callers ignore it.
std::int32_t PlayWave(SoundPlatform& sound, const WaveImage& wave, std::int32_t flags, std::int32_t lengthMs);

// Stops the sound card's loop at once.
void StopSound(SoundPlatform& sound);

// "Play on PC-Speaker": beeps `pulses` Hz for the duration text's milliseconds.
// False, with nothing sounded, when the duration is not a number, is negative or does not fit
// 32 bits.
bool PlayToneOnSpeaker(SoundPlatform& sound, std::int32_t pulses, const QString& durationText,
                       const QLocale& locale);

// "Play on Soundcard": loops one period of `pulses` Hz for twice the duration, stops, and sets
// stopflag to 1. False, with nothing sounded and stopflag unchanged, when the tone cannot be
// synthesised or the duration is unreadable or negative; the duration is checked before the loop
// starts so that a bad field never leaves the card looping.
bool PlayToneOnSoundcard(SoundPlatform& sound, WaveImage& wave, std::int32_t pulses,
                         const QString& durationText, const QLocale& locale, std::int32_t& stopflag);

// Plays every play entry in order; the first unreadable entry (a negative duration included)
// silently ends the playback.
// Speaker: beep, then a silence as long as the note. Sound card: a loop of twice the duration.
// Returns the number of entries played.
int PlayListOnSpeaker(SoundPlatform& sound, const QStringList& entries, const QLocale& locale);
int PlayListOnSoundcard(SoundPlatform& sound, WaveImage& wave, const QStringList& entries,
                        const QLocale& locale, std::int32_t& stopflag);

}  // namespace quaverline
