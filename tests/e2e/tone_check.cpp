// Checks the tones in a stream captured by SDL's disk audio driver (raw interleaved stereo
// 16-bit little-endian at 44 100 Hz), without knowing how the program makes them.
//   tone_check --count <capture.raw>             prints how many tones have ended so far
//   tone_check --list <capture.raw>              prints each ended tone's start and length in ms
//   tone_check [--length-ms <ms> --tolerance-ms <ms>] <capture.raw> <period> [<period>...]
//       checks that the stream holds exactly these tones, in order, each a loop of that many frames,
//       and each as long as given (without the length: between kShortestMs and kLongestMs)
// A tone is a stretch of sound; stretches closer than kGapFrames belong to one tone, because a
// pulse-shaped wave has silent frames inside each period.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
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

// Read in one piece: the capture is read again at every poll while it grows, and a byte at a time
// that takes seconds per call in the sanitizer build.
std::vector<Frame> ReadFrames(const char* path) {
  std::ifstream file(path, std::ios::binary | std::ios::ate);
  const std::streamoff size = file ? std::streamoff(file.tellg()) : 0;
  std::vector<char> bytes(std::size_t(size > 0 ? size : 0));
  file.seekg(0);
  file.read(bytes.data(), std::streamsize(bytes.size()));
  bytes.resize(std::size_t(file.gcount()));
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

// The lengths a tone may have, in frames.
struct Bounds {
  long shortest;
  long longest;
};

Bounds MsBounds(double shortestMs, double longestMs) {
  return {std::lround(shortestMs * kRate / 1000), std::lround(longestMs * kRate / 1000)};
}

// Whole frames within the tolerance: 1 ms at 44.1 kHz allows 44 frames either way.
Bounds ExactBounds(double lengthMs, double toleranceMs) {
  const long expected = std::lround(lengthMs * kRate / 1000);
  const long spare = long(toleranceMs * kRate / 1000);
  return {expected - spare, expected + spare};
}

int Check(const std::vector<Frame>& frames, const std::vector<long>& periods, Bounds bounds) {
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
    std::printf("tone %zu: frames %ld..%ld, %ld frames (%.2f ms)", t + 1, tone.first, tone.last, length, ms);
    const long period = periods[t];
    bool ok = true;
    if (length < 2 * period || !RepeatsEvery(frames, tone, period)) {
      std::printf(", FAIL: no loop of %ld frames", period);
      ok = false;
    } else if (const long shortest = ShortestPeriod(frames, tone, period); shortest != period) {
      std::printf(", FAIL: loops every %ld frames, not %ld", shortest, period);
      ok = false;
    } else {
      std::printf(", a loop of %ld frames", period);
    }
    if (length < bounds.shortest || length > bounds.longest) {
      std::printf(", FAIL: length outside %ld..%ld frames", bounds.shortest, bounds.longest);
      ok = false;
    }
    std::printf(ok ? ": ok\n" : "\n");
    failures += ok ? 0 : 1;
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
  Bounds bounds = MsBounds(kShortestMs, kLongestMs);
  int first = 1;
  if (argc > 5 && std::strcmp(argv[1], "--length-ms") == 0 && std::strcmp(argv[3], "--tolerance-ms") == 0) {
    const double lengthMs = std::atof(argv[2]), toleranceMs = std::atof(argv[4]);
    if (lengthMs <= 0 || toleranceMs < 0) {
      std::fprintf(stderr, "tone_check: bad length %s or tolerance %s\n", argv[2], argv[4]);
      return 2;
    }
    bounds = ExactBounds(lengthMs, toleranceMs);
    first = 5;
  }
  if (argc < first + 2) {
    std::fprintf(stderr,
                 "usage: tone_check --count <capture.raw> | tone_check [--length-ms <ms> --tolerance-ms <ms>] "
                 "<capture.raw> <period>...\n");
    return 2;
  }
  std::vector<long> periods;
  for (int i = first + 1; i < argc; ++i) {
    char* end = nullptr;
    const long period = std::strtol(argv[i], &end, 10);
    if (*end != '\0' || period < 2) {
      std::fprintf(stderr, "tone_check: bad period %s\n", argv[i]);
      return 2;
    }
    periods.push_back(period);
  }
  return Check(ReadFrames(argv[first]), periods, bounds);
}
