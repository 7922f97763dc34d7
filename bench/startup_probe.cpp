// Start-up time and peak memory of Qt programs, measured from outside on an X server.
// Each run starts a program and watches the server: the time from the start to the moment its
// top-level window is mapped, and to the first drawing into that window (the first shown frame,
// seen through the DAMAGE extension), the processor time the program used until then and its peak
// resident memory (VmHWM) at that moment; then reads the peak again after a short settle (by which
// time Quaverline has opened its sound device) and ends it. Runs alternate between the programs so
// that a change of the machine's load hits all alike. Every program is compared with the last one.
//
// Usage: startup_probe RUNS PROGRAM... BASELINE
#include <xcb/damage.h>
#include <xcb/xcb.h>

#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

constexpr auto kTimeout = std::chrono::seconds(20);
// Long enough for the event loop to go idle after the first paint, the same for both programs.
constexpr auto kSettle = std::chrono::milliseconds(500);

struct Sample {
  double mapMs = 0;
  double frameMs = 0;
  double cpuMs = 0;  // processor time of all its threads up to the first frame
  long frameHwmKb = 0;  // peak resident memory when the first frame was seen
  long hwmKb = 0;       // and after the settle
  int width = 0;
  int height = 0;
};

double MsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

long StatusKb(pid_t pid, const std::string& key) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind(key + ":", 0) == 0) return std::strtol(line.c_str() + key.size() + 1, nullptr, 10);
  }
  return -1;
}

// Processor time of the process's live threads so far, to the nanosecond: unlike the wall time,
// this does not grow when other work on the machine keeps the program waiting for a core.
double CpuMs(pid_t pid) {
  const std::string tasks = "/proc/" + std::to_string(pid) + "/task";
  double ns = 0;
  for (const auto& task : std::filesystem::directory_iterator(tasks)) {
    std::ifstream schedstat(task.path() / "schedstat");
    double running = 0;
    if (schedstat >> running) ns += running;
  }
  return ns / 1e6;
}

class Probe {
 public:
  Probe() {
    connection_ = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection_)) Fail("cannot connect to the X server (DISPLAY)");
    const xcb_query_extension_reply_t* damage = xcb_get_extension_data(connection_, &xcb_damage_id);
    if (damage == nullptr || !damage->present) Fail("the X server has no DAMAGE extension");
    damageEvent_ = damage->first_event + XCB_DAMAGE_NOTIFY;
    // The extension refuses requests from a client that has not announced its version.
    free(xcb_damage_query_version_reply(
        connection_, xcb_damage_query_version(connection_, XCB_DAMAGE_MAJOR_VERSION, XCB_DAMAGE_MINOR_VERSION),
        nullptr));
    root_ = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root;
    // Without a window manager, top-level windows are children of the root: their creation and
    // mapping are reported to whoever watches the root's substructure.
    const std::uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(connection_, root_, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(connection_);
  }
  ~Probe() { xcb_disconnect(connection_); }
  Probe(const Probe&) = delete;
  Probe& operator=(const Probe&) = delete;

  std::optional<Sample> Run(const char* program) {
    Sample sample;
    std::map<xcb_window_t, bool> windows;  // top-level window -> mapped
    const auto start = Clock::now();
    pid_t pid = 0;
    char* argv[] = {const_cast<char*>(program), nullptr};
    if (posix_spawn(&pid, program, nullptr, nullptr, argv, environ) != 0) Fail("cannot start the program");

    bool drawn = false;
    while (!drawn && Clock::now() - start < kTimeout) {
      xcb_generic_event_t* event = xcb_poll_for_event(connection_);
      if (event == nullptr) {
        if (xcb_connection_has_error(connection_)) Fail("lost the X server");
        int status = 0;
        if (waitpid(pid, &status, WNOHANG) == pid) {
          std::fprintf(stderr, "%s ended before it showed a window\n", program);
          return std::nullopt;
        }
        pollfd fd{xcb_get_file_descriptor(connection_), POLLIN, 0};
        poll(&fd, 1, 20);
        continue;
      }
      const int type = event->response_type & 0x7f;
      if (type == XCB_CREATE_NOTIFY) {
        const auto* created = reinterpret_cast<xcb_create_notify_event_t*>(event);
        if (created->parent == root_ && !created->override_redirect) {
          // Watched from creation on, so no drawing after the map can be missed.
          xcb_damage_create(connection_, xcb_generate_id(connection_), created->window,
                            XCB_DAMAGE_REPORT_LEVEL_NON_EMPTY);
          xcb_flush(connection_);
          windows[created->window] = false;
        }
      } else if (type == XCB_MAP_NOTIFY) {
        const auto* mapped = reinterpret_cast<xcb_map_notify_event_t*>(event);
        const auto window = windows.find(mapped->window);
        if (window != windows.end() && !window->second) {
          window->second = true;
          if (sample.mapMs == 0) sample.mapMs = MsSince(start);
        }
      } else if (type == damageEvent_) {
        const auto* damaged = reinterpret_cast<xcb_damage_notify_event_t*>(event);
        const auto window = windows.find(damaged->drawable);
        if (window != windows.end() && window->second) {
          sample.frameMs = MsSince(start);
          sample.cpuMs = CpuMs(pid);
          sample.frameHwmKb = StatusKb(pid, "VmHWM");
          sample.width = damaged->geometry.width;
          sample.height = damaged->geometry.height;
          drawn = true;
        }
      }
      free(event);
    }

    if (drawn) {
      std::this_thread::sleep_for(kSettle);
      sample.hwmKb = StatusKb(pid, "VmHWM");
    } else {
      std::fprintf(stderr, "%s showed no frame within %lld s\n", program,
                   static_cast<long long>(std::chrono::seconds(kTimeout).count()));
    }
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
    Drain();
    if (!drawn || sample.hwmKb <= 0) return std::nullopt;
    return sample;
  }

 private:
  [[noreturn]] static void Fail(const char* why) {
    std::fprintf(stderr, "startup_probe: %s\n", why);
    std::exit(2);
  }

  // Waits for the server to have handled everything the last program left, then drops its events.
  void Drain() {
    free(xcb_get_input_focus_reply(connection_, xcb_get_input_focus(connection_), nullptr));
    while (xcb_generic_event_t* event = xcb_poll_for_event(connection_)) free(event);
  }

  xcb_connection_t* connection_ = nullptr;
  xcb_window_t root_ = 0;
  int damageEvent_ = 0;
};

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

double Min(const std::vector<double>& values) { return *std::min_element(values.begin(), values.end()); }

struct Figures {
  std::vector<double> map, frame, cpu, frameHwm, hwm;
  int width = 0, height = 0;

  void Add(const Sample& sample) {
    map.push_back(sample.mapMs);
    frame.push_back(sample.frameMs);
    cpu.push_back(sample.cpuMs);
    frameHwm.push_back(double(sample.frameHwmKb) / 1024.0);
    hwm.push_back(double(sample.hwmKb) / 1024.0);
    width = sample.width;
    height = sample.height;
  }
};

void PrintRow(const char* name, const Figures& f) {
  std::printf("%-24s %4d x %-4d %8.1f %8.1f   %8.1f %8.1f   %8.1f %8.1f   %8.1f %8.1f   %8.1f %8.1f\n", name,
              f.width, f.height, Median(f.map), Min(f.map), Median(f.frame), Min(f.frame), Median(f.cpu),
              Min(f.cpu), Median(f.frameHwm), Min(f.frameHwm), Median(f.hwm), Min(f.hwm));
}

void PrintRatio(const char* name, const Figures& f, const Figures& floor) {
  const auto ratios = [](const std::vector<double>& a, const std::vector<double>& b) {
    std::printf("   %8.2f %8.2f", Median(a) / Median(b), Min(a) / Min(b));
  };
  std::printf("%-24s %-11s", name, "");
  ratios(f.map, floor.map);
  ratios(f.frame, floor.frame);
  ratios(f.cpu, floor.cpu);
  ratios(f.frameHwm, floor.frameHwm);
  ratios(f.hwm, floor.hwm);
  std::printf("\n");
}

const char* BaseName(const char* path) {
  const char* slash = std::strrchr(path, '/');
  return slash ? slash + 1 : path;
}

}  // namespace

int main(int argc, char* argv[]) {
  if (argc < 4 || std::atoi(argv[1]) <= 0) {
    std::fprintf(stderr, "usage: startup_probe RUNS PROGRAM... BASELINE\n");
    return 2;
  }
  const int runs = std::atoi(argv[1]);
  const std::vector<const char*> programs(argv + 2, argv + argc);
  Probe probe;
  std::vector<Figures> figures(programs.size());
  // One unmeasured start of each, so that all find their libraries in the page cache.
  for (const char* program : programs) probe.Run(program);
  for (int run = 0; run < runs; ++run) {
    for (std::size_t p = 0; p < programs.size(); ++p) {
      if (const auto sample = probe.Run(programs[p])) figures[p].Add(*sample);
    }
  }
  for (const Figures& f : figures) {
    if (f.frame.empty()) {
      std::fprintf(stderr, "startup_probe: a program had no complete run\n");
      return 1;
    }
  }
  std::printf("%-24s %-11s  %-17s  %-17s  %-17s  %-17s  %s\n", "", "window", "to window mapped",
              "to first frame", "CPU to 1st frame", "VmHWM at frame", "VmHWM 0.5 s later");
  std::printf("%-24s %-11s %8s %8s   %8s %8s   %8s %8s   %8s %8s   %8s %8s\n", "program", "px", "median", "min",
              "median", "min", "median", "min", "median", "min", "median", "min");
  std::printf("%-24s %-11s %8s %8s   %8s %8s   %8s %8s   %8s %8s   %8s %8s\n", "", "", "ms", "ms", "ms", "ms", "ms",
              "ms", "MiB", "MiB", "MiB", "MiB");
  for (std::size_t p = 0; p < programs.size(); ++p) PrintRow(BaseName(programs[p]), figures[p]);
  const Figures& floor = figures.back();
  const std::string against = std::string("/ ") + BaseName(programs.back());
  std::printf("ratios %s:\n", against.c_str());
  for (std::size_t p = 0; p + 1 < programs.size(); ++p) PrintRatio(BaseName(programs[p]), figures[p], floor);
  std::printf("(%d runs each, alternating; complete:", runs);
  for (const Figures& f : figures) std::printf(" %zu", f.frame.size());
  std::printf(")\n");
  return 0;
}
