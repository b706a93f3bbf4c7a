// How quickly the program starts, each figure beside its reference in the same run, taken in turns so that
// a busy machine weighs on both alike:
// - from exec to the first top-level window mapped on a virtual X display (Xvfb, no window manager),
//   tarvel against a Qt hello-world window, and in the same runs from exec to that window's first frame
//   drawn (the first damage to it): what the operator waits for, since a program may put off work until
//   after the map that its first frame still needs;
// - `tarvel beacon --version` to its exit, against a Qt-Core-only hello.
// Counters give the medians in milliseconds and their ratio. TARVEL_BENCH_PROGRAM names another tarvel
// executable to time (an older build, for a before-and-after).
#include <algorithm>
#include <benchmark/benchmark.h>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <memory>
#include <optional>
#include <poll.h>
#include <set>
#include <spawn.h>
#include <stdexcept>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>
#include <xcb/damage.h>
#include <xcb/xcb.h>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

std::string programPath() {
    const char* other = std::getenv("TARVEL_BENCH_PROGRAM");
    return other && *other ? other : TARVEL_PROGRAM;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// The environment of a child: ours, with the display and Qt's platform replaced.
std::vector<std::string> childEnvironment(const std::string& display) {
    std::vector<std::string> out;
    for (char** entry = environ; *entry; ++entry) {
        const std::string text = *entry;
        if (!text.starts_with("DISPLAY=") && !text.starts_with("QT_QPA_PLATFORM=") &&
            !text.starts_with("WAYLAND_DISPLAY="))
            out.push_back(text);
    }
    out.push_back("DISPLAY=" + display);
    out.push_back("QT_QPA_PLATFORM=xcb");
    return out;
}

pid_t spawn(const std::vector<std::string>& arguments, const std::vector<std::string>& environment) {
    std::vector<char*> argv, envp;
    for (const auto& a : arguments)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    for (const auto& e : environment)
        envp.push_back(const_cast<char*>(e.c_str()));
    envp.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t pid = -1;
    const int error = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0)
        throw std::runtime_error("cannot start " + arguments[0]);
    return pid;
}

// A virtual X display of our own for the run, and a connection that watches the root window for maps.
class VirtualDisplay {
public:
    VirtualDisplay() {
        int pipe[2];
        if (::pipe(pipe) != 0)
            throw std::runtime_error("pipe");
        server_ = spawn({TARVEL_XVFB, "-displayfd", std::to_string(pipe[1]), "-screen", "0", "1024x768x24",
                         "-nolisten", "tcp"},
                        childEnvironment(":0"));
        ::close(pipe[1]);
        std::string number;
        char c;
        while (::read(pipe[0], &c, 1) == 1 && c != '\n')
            number += c;
        ::close(pipe[0]);
        if (number.empty())
            throw std::runtime_error("Xvfb did not start");
        name_ = ":" + number;
        connection_ = xcb_connect(name_.c_str(), nullptr);
        if (xcb_connection_has_error(connection_))
            throw std::runtime_error("cannot connect to " + name_);
        const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root;
        const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        xcb_request_check(connection_,
                          xcb_change_window_attributes_checked(connection_, root, XCB_CW_EVENT_MASK, &mask));
        const xcb_query_extension_reply_t* damage = xcb_get_extension_data(connection_, &xcb_damage_id);
        if (!damage || !damage->present)
            throw std::runtime_error("the virtual display has no DAMAGE extension");
        damageNotify_ = damage->first_event + XCB_DAMAGE_NOTIFY;
        std::free(xcb_damage_query_version_reply(
            connection_,
            xcb_damage_query_version(connection_, XCB_DAMAGE_MAJOR_VERSION, XCB_DAMAGE_MINOR_VERSION),
            nullptr));
    }
    ~VirtualDisplay() {
        if (connection_)
            xcb_disconnect(connection_);
        ::kill(server_, SIGTERM);
        ::waitpid(server_, nullptr, 0);
    }
    const std::string& name() const { return name_; }

    struct Shown {
        Clock::time_point mapped, drawn;
    };
    // Waits until a top-level window (not an override-redirect pop-up) is mapped and then drawn in; empty
    // after patience. Every new top-level window is watched for damage from its creation, before the
    // program can draw in it.
    std::optional<Shown> waitForFirstFrame(Clock::duration patience) {
        const auto deadline = Clock::now() + patience;
        std::set<xcb_window_t> mapped;
        Shown shown;
        for (;;) {
            while (xcb_generic_event_t* event = xcb_poll_for_event(connection_)) {
                const auto type = event->response_type & 0x7f;
                if (type == XCB_CREATE_NOTIFY) {
                    const auto* created = reinterpret_cast<xcb_create_notify_event_t*>(event);
                    xcb_damage_create(connection_, xcb_generate_id(connection_), created->window,
                                      XCB_DAMAGE_REPORT_LEVEL_NON_EMPTY);
                    xcb_flush(connection_);
                } else if (type == XCB_MAP_NOTIFY) {
                    const auto* map = reinterpret_cast<xcb_map_notify_event_t*>(event);
                    if (!map->override_redirect) {
                        if (mapped.empty())
                            shown.mapped = Clock::now();
                        mapped.insert(map->window);
                    }
                } else if (type == damageNotify_ &&
                           mapped.contains(reinterpret_cast<xcb_damage_notify_event_t*>(event)->drawable)) {
                    shown.drawn = Clock::now();
                    std::free(event);
                    return shown;
                }
                std::free(event);
            }
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
            if (left.count() <= 0 || xcb_connection_has_error(connection_))
                return std::nullopt;
            pollfd fd{xcb_get_file_descriptor(connection_), POLLIN, 0};
            ::poll(&fd, 1, static_cast<int>(left.count()));
        }
    }
    // Drops the events of the windows of runs that ended.
    void drain() {
        while (xcb_generic_event_t* event = xcb_poll_for_event(connection_))
            std::free(event);
    }

private:
    pid_t server_ = -1;
    std::string name_;
    xcb_connection_t* connection_ = nullptr;
    int damageNotify_ = -1;
};

struct StartTimes {
    double mappedMs, drawnMs;
};

// Milliseconds from the spawn to the first top-level window mapped and to its first frame; the program is
// then ended.
StartTimes msToWindowShown(VirtualDisplay& display, const std::string& executable) {
    display.drain();
    const auto start = Clock::now();
    const pid_t pid = spawn({executable}, childEnvironment(display.name()));
    const auto shown = display.waitForFirstFrame(std::chrono::seconds(20));
    ::kill(pid, SIGTERM);
    ::waitpid(pid, nullptr, 0);
    if (!shown)
        throw std::runtime_error(executable + " showed no window");
    const auto ms = [start](Clock::time_point t) {
        return std::chrono::duration<double, std::milli>(t - start).count();
    };
    return {ms(shown->mapped), ms(shown->drawn)};
}

// Milliseconds from the spawn to the exit.
double msToExit(const std::vector<std::string>& arguments) {
    const auto start = Clock::now();
    const pid_t pid = spawn(arguments, childEnvironment(":0"));
    int status = 0;
    ::waitpid(pid, &status, 0);
    const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        throw std::runtime_error(arguments[0] + " failed");
    return ms;
}

void report(benchmark::State& state, const char* name, const std::vector<double>& program,
            const std::vector<double>& reference) {
    const double ours = median(program), theirs = median(reference);
    state.counters[std::string(name) + "_ms"] = ours;
    state.counters["reference_ms"] = theirs;
    state.counters["ratio"] = ours / theirs;
    state.counters[std::string(name) + "_min_ms"] = *std::min_element(program.begin(), program.end());
    state.counters[std::string(name) + "_max_ms"] = *std::max_element(program.begin(), program.end());
}

void BM_ExecToWindowMapped(benchmark::State& state) {
    std::unique_ptr<VirtualDisplay> display;
    try {
        display = std::make_unique<VirtualDisplay>();
    } catch (const std::exception& e) {
        state.SkipWithError(e.what());
        return;
    }
    // One of each first, unmeasured: the files come into the page cache.
    msToWindowShown(*display, programPath());
    msToWindowShown(*display, TARVEL_HELLO_WINDOW);
    std::vector<double> program, reference, programDrawn, referenceDrawn;
    for (auto _ : state) {
        const StartTimes ours = msToWindowShown(*display, programPath());
        const StartTimes theirs = msToWindowShown(*display, TARVEL_HELLO_WINDOW);
        program.push_back(ours.mappedMs);
        reference.push_back(theirs.mappedMs);
        programDrawn.push_back(ours.drawnMs);
        referenceDrawn.push_back(theirs.drawnMs);
    }
    report(state, "tarvel", program, reference);
    state.counters["drawn_ms"] = median(programDrawn);
    state.counters["drawn_reference_ms"] = median(referenceDrawn);
    state.counters["drawn_ratio"] = median(programDrawn) / median(referenceDrawn);
}

void BM_BeaconVersion(benchmark::State& state) {
    msToExit({programPath(), "beacon", "--version"});
    msToExit({TARVEL_HELLO_CORE});
    std::vector<double> program, reference;
    for (auto _ : state) {
        program.push_back(msToExit({programPath(), "beacon", "--version"}));
        reference.push_back(msToExit({TARVEL_HELLO_CORE}));
    }
    report(state, "tarvel", program, reference);
}

} // namespace

BENCHMARK(BM_ExecToWindowMapped)->Iterations(21)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_BeaconVersion)->Iterations(101)->Unit(benchmark::kMillisecond)->UseRealTime();
