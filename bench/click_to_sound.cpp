// Click release to first sample: clicks one point of the screen through the X server's XTest
// extension, as a mouse would, and watches a live stream of the sound (raw stereo 16-bit frames
// at 44 100 Hz: a sound server's monitor recorded by parec, or SDL's disk driver writing into a
// FIFO) for the first sounding frame after each release.
//
// Times are CLOCK_MONOTONIC. The release is timestamped just before it is sent. Every read from
// the stream is timestamped on arrival; a frame is placed at its read's arrival time less the
// frames that follow it in that read, 1/44 100 s each. So a latency includes the program, its
// sound backend and the server up to the sink, plus the recording's own delivery (parec's block
// and the wake-up of this process): it is an upper bound of what a speaker would play. SDL's disk
// driver renders one buffer at once every buffer's time (441 frames, 10 ms) and writes through a
// 4 KiB stdio buffer: its frames arrive in bursts at the pace they are rendered, placed as if
// played in real time, up to one buffer early.
//
// Usage: click_to_sound <stream fifo> <capture file> <notes> [flowing]
// Opens the FIFO at once, so that its writer can start; with "flowing" waits until the stream
// flows (a server's monitor). Then prints "ready", reads the point to click, "x y", from stdin,
// reading the stream meanwhile, and prints one line per note: its number, the latency in ms (or
// "none") and the stream frame where the note starts. Every frame received goes to the capture
// file for the tone lengths.
#include <xcb/xcb.h>
#include <xcb/xtest.h>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <vector>

namespace {

constexpr double kRate = 44100;
constexpr int kFrameBytes = 4;
constexpr double kHoldS = 0.06;         // between press and release, as a quick click
constexpr double kGapS = 0.3;           // silence between one note's end and the next click
constexpr double kNoteS = 0.3 + 0.05;   // key F's length and a margin, waited for after its start
constexpr double kNoSoundS = 3;         // a note not heard by then counts as silent

double Now() {
  timespec t{};
  clock_gettime(CLOCK_MONOTONIC, &t);
  return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

// One read from the stream: the frame count after it and when it arrived.
struct Arrival {
  long endFrame;
  double time;
};

class Stream {
 public:
  Stream(int fd, std::FILE* capture) : fd_(fd), capture_(capture) {}

  // Reads whatever arrives until `deadline`, or until `other` (when given) has input: then true.
  bool PumpUntil(double deadline, int other = -1) {
    for (double now = Now(); now < deadline; now = Now()) {
      pollfd p[2]{{fd_, POLLIN, 0}, {other, POLLIN, 0}};
      if (poll(p, other < 0 ? 1 : 2, int((deadline - now) * 1000) + 1) <= 0) continue;
      if (other >= 0 && p[1].revents != 0) return true;
      char buffer[16384];
      const ssize_t got = read(fd_, buffer, sizeof buffer);
      const double at = Now();
      if (got <= 0) continue;
      std::fwrite(buffer, 1, std::size_t(got), capture_);
      Append(reinterpret_cast<const unsigned char*>(buffer), std::size_t(got), at);
    }
    return false;
  }

  long Frames() const { return long(silent_.size()); }

  // The first sounding frame at or after `from`, or -1.
  long FirstSounding(long from) const {
    for (long f = from; f < Frames(); ++f) {
      if (!silent_[std::size_t(f)]) return f;
    }
    return -1;
  }

  // When frame `f` began, placed back from the arrival of the read that brought it.
  double TimeOf(long f) const {
    for (const Arrival& a : arrivals_) {
      if (f < a.endFrame) return a.time - double(a.endFrame - f) / kRate;
    }
    return -1;
  }

 private:
  void Append(const unsigned char* bytes, std::size_t count, double at) {
    for (std::size_t i = 0; i < count; ++i) {
      pending_[pendingBytes_++] = bytes[i];
      if (pendingBytes_ < kFrameBytes) continue;
      pendingBytes_ = 0;
      silent_.push_back(pending_[0] == 0 && pending_[1] == 0 && pending_[2] == 0 && pending_[3] == 0);
    }
    arrivals_.push_back({Frames(), at});
  }

  int fd_;
  std::FILE* capture_;
  unsigned char pending_[kFrameBytes]{};
  int pendingBytes_ = 0;
  std::vector<bool> silent_;
  std::vector<Arrival> arrivals_;
};

// Sends one fake input event and waits until the server has handled it (a round trip).
void Fake(xcb_connection_t* x, std::uint8_t type, std::uint8_t detail, xcb_window_t root, int px, int py) {
  xcb_test_fake_input(x, type, detail, XCB_CURRENT_TIME, root, std::int16_t(px), std::int16_t(py), 0);
  free(xcb_get_input_focus_reply(x, xcb_get_input_focus(x), nullptr));
}

}  // namespace

int main(int argc, char** argv) {
  const bool flowing = argc == 5 && std::strcmp(argv[4], "flowing") == 0;
  if (argc != 4 && !flowing) {
    std::fprintf(stderr, "usage: click_to_sound <stream fifo> <capture file> <notes> [flowing]\n");
    return 2;
  }
  // Opened for writing too, so that opening does not wait for a writer and a writer that comes
  // and goes never ends the stream.
  const int fd = open(argv[1], O_RDWR | O_CLOEXEC);
  std::FILE* capture = std::fopen(argv[2], "wb");
  if (fd < 0 || capture == nullptr) {
    std::perror("click_to_sound");
    return 1;
  }
  const int notes = std::atoi(argv[3]);
  int screenNumber = 0;
  xcb_connection_t* x = xcb_connect(nullptr, &screenNumber);
  if (xcb_connection_has_error(x) != 0) {
    std::fprintf(stderr, "click_to_sound: no X server\n");
    return 1;
  }
  xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(x));
  for (int i = 0; i < screenNumber; ++i) xcb_screen_next(&screens);
  const xcb_window_t root = screens.data->root;
  xcb_test_get_version_reply_t* version = xcb_test_get_version_reply(x, xcb_test_get_version(x, 2, 2), nullptr);
  if (version == nullptr) {
    std::fprintf(stderr, "click_to_sound: the X server has no XTest extension\n");
    return 1;
  }
  free(version);

  Stream stream(fd, capture);
  for (const double deadline = Now() + 10; flowing && stream.Frames() == 0 && Now() < deadline;) {
    stream.PumpUntil(Now() + 0.05);
  }
  if (flowing && stream.Frames() == 0) {
    std::fprintf(stderr, "click_to_sound: the stream did not flow\n");
    return 1;
  }
  std::printf("ready\n");
  std::fflush(stdout);
  int px = 0, py = 0;
  if (!stream.PumpUntil(Now() + 60, STDIN_FILENO) || std::scanf("%d %d", &px, &py) != 2) {
    std::fprintf(stderr, "click_to_sound: no point to click on stdin\n");
    return 1;
  }
  Fake(x, XCB_MOTION_NOTIFY, 0, root, px, py);
  for (int note = 1; note <= notes; ++note) {
    stream.PumpUntil(Now() + kGapS);
    Fake(x, XCB_BUTTON_PRESS, 1, root, px, py);
    stream.PumpUntil(Now() + kHoldS);
    const long from = stream.Frames();
    const double released = Now();
    Fake(x, XCB_BUTTON_RELEASE, 1, root, px, py);
    long first = -1;
    for (const double deadline = released + kNoSoundS; first < 0 && Now() < deadline;) {
      stream.PumpUntil(Now() + 0.01);
      first = stream.FirstSounding(from);
    }
    if (first < 0) {
      std::printf("%d none\n", note);
      continue;
    }
    std::printf("%d %.2f %ld\n", note, (stream.TimeOf(first) - released) * 1000, first);
    std::fflush(stdout);
    stream.PumpUntil(stream.TimeOf(first) + kNoteS);
  }
  // The last note's silence after it, so that it counts as ended.
  stream.PumpUntil(Now() + kGapS);
  std::fclose(capture);
  xcb_disconnect(x);
  return 0;
}
