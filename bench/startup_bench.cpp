// Start-up benchmark: launches two programs in turn on the X display, timing each from
// fork to the first window the X server maps, and reading its resident memory half a
// second later. Runs alternate so that both see the same machine; prints medians and the
// ratio of the second program to the first (the baseline).
//   startup_bench BASELINE PROGRAM [ROUNDS]
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct Sample {
    double launchMs;
    long rssKiB;
};

long ResidentKiB(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string key;
    long value = -1;
    while (status >> key) {
        if (key == "VmRSS:") {
            status >> value;
            break;
        }
        status.ignore(1 << 16, '\n');
    }
    return value;
}

// Waits for a MapNotify of a top-level window; false after the timeout.
bool WaitForMap(xcb_connection_t* x, int timeoutMs) {
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        while (xcb_generic_event_t* event = xcb_poll_for_event(x)) {
            const bool mapped = (event->response_type & 0x7f) == XCB_MAP_NOTIFY;
            std::free(event);
            if (mapped) return true;
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0) return false;
        pollfd fd{xcb_get_file_descriptor(x), POLLIN, 0};
        ::poll(&fd, 1, static_cast<int>(left));
    }
}

bool RunOnce(xcb_connection_t* x, const char* program, Sample& out) {
    while (xcb_generic_event_t* stale = xcb_poll_for_event(x)) std::free(stale);
    const auto start = Clock::now();
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::execl(program, program, static_cast<char*>(nullptr));
        ::_exit(127);
    }
    const bool mapped = WaitForMap(x, 10000);
    out.launchMs = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    out.rssKiB = ResidentKiB(pid);
    ::kill(pid, SIGKILL);
    ::waitpid(pid, nullptr, 0);
    return mapped;
}

template <typename T>
double Median(std::vector<T> v) {
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n % 2 ? static_cast<double>(v[n / 2]) : (static_cast<double>(v[n / 2 - 1]) + static_cast<double>(v[n / 2])) / 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s BASELINE PROGRAM [ROUNDS]\n", argv[0]);
        return 2;
    }
    const int rounds = argc > 3 ? std::atoi(argv[3]) : 15;
    xcb_connection_t* x = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(x)) {
        std::fprintf(stderr, "no X display (run under Xvfb)\n");
        return 2;
    }
    xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(x)).data;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(x, screen->root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(x);

    const char* programs[2] = {argv[1], argv[2]};
    std::vector<double> launch[2];
    std::vector<long> rss[2];
    for (int round = 0; round < rounds; ++round) {
        for (int k = 0; k < 2; ++k) {
            const int which = (round % 2 == 0) ? k : 1 - k;  // alternate who goes first
            Sample s{};
            if (!RunOnce(x, programs[which], s)) {
                std::fprintf(stderr, "%s mapped no window\n", programs[which]);
                return 1;
            }
            launch[which].push_back(s.launchMs);
            rss[which].push_back(s.rssKiB);
        }
    }
    const double t0 = Median(launch[0]), t1 = Median(launch[1]);
    const double m0 = Median(rss[0]), m1 = Median(rss[1]);
    std::printf("%d rounds, medians\n", rounds);
    std::printf("  %-40s launch to mapped window %7.1f ms   resident %7.0f KiB\n", programs[0], t0, m0);
    std::printf("  %-40s launch to mapped window %7.1f ms   resident %7.0f KiB\n", programs[1], t1, m1);
    std::printf("ratio against the baseline: start-up %.2fx, memory %.2fx\n", t1 / t0, m1 / m0);
    xcb_disconnect(x);
    return 0;
}
