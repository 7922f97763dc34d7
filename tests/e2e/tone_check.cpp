// Checks the tones in a stream captured by SDL's disk audio driver (raw interleaved stereo
// 16-bit little-endian at 44 100 Hz), without knowing how the program makes them.
//   tone_check --count <capture.raw>             prints how many tones have ended so far
//   tone_check --list <capture.raw>              prints each ended tone's start and length in ms
//   tone_check <capture.raw> <period> [<period>...]  checks that the stream holds exactly these
//                                                    tones, in order, each a loop of that many frames
// A tone is a stretch of sound; stretches closer than kGapFrames belong to one tone, because a
// pulse-shaped wave has silent frames inside each period.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

namespace {

constexpr long kRate = 44100;
constexpr long kGapFrames = kRate / 50;  // 20 ms of silence ends a tone
constexpr double kShortestMs = 200, kLongestMs = 600;

struct Frame {
  std::int16_t left;
  std::int16_t right;
};

struct Tone {
  long first;
  long last;
};

std::vector<Frame> ReadFrames(const char* path) {
  std::ifstream file(path, std::ios::binary);
  const std::vector<char> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  std::vector<Frame> frames(bytes.size() / 4);
  for (std::size_t i = 0; i < frames.size(); ++i) {
    const auto* b = reinterpret_cast<const unsigned char*>(&bytes[i * 4]);
    frames[i].left = std::int16_t(b[0] | b[1] << 8);
    frames[i].right = std::int16_t(b[2] | b[3] << 8);
  }
  return frames;
}

bool Silent(const Frame& f) { return f.left == 0 && f.right == 0; }

// Tones followed by at least kGapFrames of silence; one still sounding at the end is left out.
std::vector<Tone> EndedTones(const std::vector<Frame>& frames) {
  std::vector<Tone> tones;
  const long n = long(frames.size());
  long i = 0;
  while (i < n) {
    while (i < n && Silent(frames[std::size_t(i)])) ++i;
    if (i == n) break;
    Tone tone{i, i};
    long quiet = 0;
    for (++i; i < n && quiet < kGapFrames; ++i) {
      if (Silent(frames[std::size_t(i)])) {
        ++quiet;
      } else {
        quiet = 0;
        tone.last = i;
      }
    }
    if (quiet < kGapFrames) break;
    tones.push_back(tone);
  }
  return tones;
}

bool Equal(const Frame& a, const Frame& b) { return a.left == b.left && a.right == b.right; }

// True when the tone repeats every `period` frames from its first frame to its last.
bool RepeatsEvery(const std::vector<Frame>& frames, const Tone& tone, long period) {
  for (long i = tone.first; i + period <= tone.last; ++i) {
    if (!Equal(frames[std::size_t(i)], frames[std::size_t(i + period)])) return false;
  }
  return true;
}

// The shortest period among the divisors of `period` (a loop of 126 frames also repeats every
// 252, but a 63-frame loop repeats every 126 too: only the shortest one is the tone's).
long ShortestPeriod(const std::vector<Frame>& frames, const Tone& tone, long period) {
  for (long d = 1; d < period; ++d) {
    if (period % d == 0 && RepeatsEvery(frames, tone, d)) return d;
  }
  return period;
}

int Check(const std::vector<Frame>& frames, const std::vector<long>& periods) {
  const std::vector<Tone> tones = EndedTones(frames);
  int failures = 0;
  if (tones.size() != periods.size()) {
    std::printf("FAIL: %zu tones captured, %zu expected\n", tones.size(), periods.size());
    ++failures;
  }
  for (std::size_t t = 0; t < tones.size() && t < periods.size(); ++t) {
    const Tone& tone = tones[t];
    const long length = tone.last - tone.first + 1;
    const double ms = 1000.0 * double(length) / kRate;
    std::printf("tone %zu: frames %ld..%ld (%.1f ms)", t + 1, tone.first, tone.last, ms);
    const long period = periods[t];
    if (length < 2 * period || !RepeatsEvery(frames, tone, period)) {
      std::printf(" FAIL: no loop of %ld frames\n", period);
      ++failures;
      continue;
    }
    const long shortest = ShortestPeriod(frames, tone, period);
    if (shortest != period) {
      std::printf(" FAIL: loops every %ld frames, not %ld\n", shortest, period);
      ++failures;
      continue;
    }
    if (ms < kShortestMs || ms > kLongestMs) {
      std::printf(" FAIL: length outside %.0f..%.0f ms\n", kShortestMs, kLongestMs);
      ++failures;
      continue;
    }
    std::printf(", a loop of %ld frames: ok\n", period);
  }
  return failures == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], "--count") == 0) {
    std::printf("%zu\n", EndedTones(ReadFrames(argv[2])).size());
    return 0;
  }
  if (argc == 3 && std::strcmp(argv[1], "--list") == 0) {
    for (const Tone& tone : EndedTones(ReadFrames(argv[2])))
      std::printf("%.1f %.1f\n", 1000.0 * double(tone.first) / kRate, 1000.0 * double(tone.last - tone.first + 1) / kRate);
    return 0;
  }
  if (argc < 3) {
    std::fprintf(stderr, "usage: tone_check --count <capture.raw> | tone_check <capture.raw> <period>...\n");
    return 2;
  }
  std::vector<long> periods;
  for (int i = 2; i < argc; ++i) {
    char* end = nullptr;
    const long period = std::strtol(argv[i], &end, 10);
    if (*end != '\0' || period < 2) {
      std::fprintf(stderr, "tone_check: bad period %s\n", argv[i]);
      return 2;
    }
    periods.push_back(period);
  }
  return Check(ReadFrames(argv[1]), periods);
}
