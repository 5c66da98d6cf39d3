// korvantelo_probe: measures a Qt program on an X display from the outside,
// as a user sees it. It watches the root window with the X Damage extension,
// which reports every rectangle drawn on the screen, and types with the XTest
// extension, which makes key events that the server treats as real ones.
//
//   korvantelo_probe startup WxH -- PROGRAM [ARGS...]
//     Starts the program and waits until rectangles of the size of its
//     window have been drawn (the window's first full paint). Prints
//       first_paint_ms   from just before the program was started
//       cpu_ms           processor time of all its threads until then
//       peak_rss_kib     the program's VmHWM, read after a settling time
//
//   korvantelo_probe keystrokes WxH COUNT CLICK_X,CLICK_Y X,Y,W,H
//                    -- DISPLAY PROGRAM [ARGS...] [-- DISPLAY PROGRAM [ARGS...]]
//     Starts each program on its own display as above and clicks at CLICK
//     (window coordinates) to put the focus into a text box. Then it types
//     COUNT keystrokes into each, alternately "1" and BackSpace, taking the
//     programs in turn keystroke by keystroke (the order swapped every
//     time), so that whatever else loads the machine falls on all of them
//     alike. Prints one line per keystroke, "PROGRAM_NUMBER MICROSECONDS":
//     the time from the key press to the first drawing that touches the
//     rectangle X,Y,W,H of the window; programs are numbered from 1.
//
// The display must show nothing else: no window manager, no other program.

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/extensions/Xdamage.h>
#include <X11/keysym.h>

#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

struct Rect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;

    [[nodiscard]] bool intersects(const Rect& o) const
    {
        return x < o.x + o.width && o.x < x + width && y < o.y + o.height && o.y < y + height;
    }
};

struct Size {
    int width = 0;
    int height = 0;
};

class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

Size parse_size(const std::string& text)
{
    Size s;
    if (std::sscanf(text.c_str(), "%dx%d", &s.width, &s.height) != 2) throw UsageError("bad size " + text);
    return s;
}

Rect parse_rect(const std::string& text)
{
    Rect r;
    const int n = std::sscanf(text.c_str(), "%d,%d,%d,%d", &r.x, &r.y, &r.width, &r.height);
    if (n != 2 && n != 4) throw UsageError("bad point or rectangle " + text);
    return r;
}

// The program under measurement. Ended with SIGTERM when the probe is done.
class Child {
public:
    // Starts the command with this environment, on `display` if one is named.
    explicit Child(const std::vector<std::string>& command, const std::string& display = {})
    {
        std::vector<char*> argv;
        for (const auto& arg : command) argv.push_back(const_cast<char*>(arg.c_str()));
        argv.push_back(nullptr);
        std::vector<std::string> environment;
        for (char** e = environ; *e != nullptr; ++e) {
            if (display.empty() || std::string_view(*e).substr(0, 8) != "DISPLAY=") environment.emplace_back(*e);
        }
        if (!display.empty()) environment.push_back("DISPLAY=" + display);
        std::vector<char*> envp;
        for (auto& entry : environment) envp.push_back(entry.data());
        envp.push_back(nullptr);
        started_ = Clock::now();
        if (std::getenv("KORVANTELO_PROBE_TRACE") != nullptr) {
            std::fprintf(stderr, "start at %.3f ms\n",
                         std::chrono::duration<double, std::milli>(started_.time_since_epoch()).count());
        }
        if (posix_spawnp(&pid_, argv[0], nullptr, nullptr, argv.data(), envp.data()) != 0) {
            throw std::runtime_error("cannot start " + command.front());
        }
    }
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;
    ~Child()
    {
        kill(pid_, SIGTERM);
        int status = 0;
        waitpid(pid_, &status, 0);
    }

    [[nodiscard]] Clock::time_point started() const { return started_; }

    void check_running() const
    {
        int status = 0;
        if (waitpid(pid_, &status, WNOHANG) == pid_) throw std::runtime_error("the program ended early");
    }

    // The processor time that all threads of the process have used so far,
    // from the scheduler's own count (nanoseconds).
    [[nodiscard]] double cpu_ms() const
    {
        const std::string tasks = "/proc/" + std::to_string(pid_) + "/task";
        double total_ns = 0;
        for (const auto& task : std::filesystem::directory_iterator(tasks)) {
            std::ifstream schedstat(task.path() / "schedstat");
            double run_ns = 0;
            if (schedstat >> run_ns) total_ns += run_ns;
        }
        return total_ns / 1e6;
    }

    // The largest resident set the process has had, in KiB.
    [[nodiscard]] long peak_rss_kib() const
    {
        std::ifstream status("/proc/" + std::to_string(pid_) + "/status");
        std::string line;
        while (std::getline(status, line)) {
            if (line.rfind("VmHWM:", 0) == 0) return std::stol(line.substr(6));
        }
        throw std::runtime_error("no VmHWM for the program");
    }

private:
    pid_t pid_ = 0;
    Clock::time_point started_;
};

struct Drawn {
    Rect area;  // root window coordinates
    Clock::time_point when;
};

// The display with damage reports for the whole screen.
class Screen {
public:
    // The display named, or that of DISPLAY.
    explicit Screen(const std::string& name = {})
    {
        display_ = XOpenDisplay(name.empty() ? nullptr : name.c_str());
        if (display_ == nullptr) throw std::runtime_error("cannot open the display " + name);
        int error_base = 0;
        int major = 0;
        int minor = 0;
        if (!XDamageQueryExtension(display_, &damage_event_base_, &error_base)) {
            throw std::runtime_error("no DAMAGE extension");
        }
        if (!XTestQueryExtension(display_, &error_base, &error_base, &major, &minor)) {
            throw std::runtime_error("no XTEST extension");
        }
        root_ = DefaultRootWindow(display_);
        trace_ = std::getenv("KORVANTELO_PROBE_TRACE") != nullptr;
        damage_ = XDamageCreate(display_, root_, XDamageReportRawRectangles);
        XSync(display_, False);
    }
    Screen(const Screen&) = delete;
    Screen& operator=(const Screen&) = delete;
    ~Screen()
    {
        XDamageDestroy(display_, damage_);
        XCloseDisplay(display_);
    }

    // The next drawing on the screen, or none by the deadline.
    std::optional<Drawn> next(Clock::time_point deadline)
    {
        for (;;) {
            while (XPending(display_) > 0) {
                XEvent event;
                XNextEvent(display_, &event);
                const Clock::time_point now = Clock::now();
                if (event.type == damage_event_base_ + XDamageNotify) {
                    const auto& damage = reinterpret_cast<const XDamageNotifyEvent&>(event);
                    if (trace_) {
                        std::fprintf(stderr, "damage %d,%d %dx%d at %.3f ms\n", damage.area.x,
                                     damage.area.y, damage.area.width, damage.area.height,
                                     std::chrono::duration<double, std::milli>(now.time_since_epoch()).count());
                    }
                    return Drawn{{damage.area.x, damage.area.y, damage.area.width, damage.area.height}, now};
                }
            }
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
            if (left <= 0ms) return std::nullopt;
            pollfd fd{ConnectionNumber(display_), POLLIN, 0};
            poll(&fd, 1, static_cast<int>(std::min<long long>(left.count() + 1, 50)));
        }
    }

    // Waits until nothing has been drawn for `quiet`, or `limit` has passed.
    void settle(std::chrono::milliseconds quiet, std::chrono::milliseconds limit)
    {
        const auto end = Clock::now() + limit;
        while (Clock::now() < end) {
            if (!next(std::min(end, Clock::now() + quiet))) return;
        }
    }

    // Drops every drawing reported until `until`.
    void drain(Clock::time_point until)
    {
        while (next(until)) {
        }
    }

    // The top-left corner of the mapped top-level window of this size.
    Rect find_window(Size size)
    {
        Window root_return = 0;
        Window parent = 0;
        Window* children = nullptr;
        unsigned count = 0;
        std::optional<Rect> found;
        if (XQueryTree(display_, root_, &root_return, &parent, &children, &count) != 0) {
            for (unsigned i = 0; i < count; ++i) {
                XWindowAttributes a;
                if (XGetWindowAttributes(display_, children[i], &a) == 0) continue;
                if (a.map_state == IsViewable && a.width == size.width && a.height == size.height) {
                    found = Rect{a.x, a.y, a.width, a.height};
                }
            }
            XFree(children);
        }
        if (!found) throw std::runtime_error("the program's window is not on the screen");
        return *found;
    }

    void click(int x, int y)
    {
        XTestFakeMotionEvent(display_, -1, x, y, CurrentTime);
        XTestFakeButtonEvent(display_, 1, True, CurrentTime);
        XTestFakeButtonEvent(display_, 1, False, CurrentTime);
        XFlush(display_);
    }

    void key(KeySym symbol, bool press)
    {
        const KeyCode code = XKeysymToKeycode(display_, symbol);
        if (code == 0) throw std::runtime_error("no key for a keysym");
        XTestFakeKeyEvent(display_, code, press ? True : False, CurrentTime);
        XFlush(display_);
    }

private:
    Display* display_ = nullptr;
    int damage_event_base_ = 0;
    ::Window root_ = 0;
    Damage damage_ = 0;
    bool trace_ = false;  // every drawing to stderr
};

constexpr auto paint_limit = 30s;

// Waits for the window's first full paint: drawn rectangles whose bounding
// box has reached the window's size. Returns its time.
Clock::time_point wait_first_paint(Screen& screen, const Child& child, Size size)
{
    const auto deadline = Clock::now() + paint_limit;
    std::optional<Rect> box;
    while (Clock::now() < deadline) {
        const auto drawn = screen.next(std::min(deadline, Clock::now() + 100ms));
        if (!drawn) {
            child.check_running();
            continue;
        }
        const Rect& a = drawn->area;
        if (!box) {
            box = a;
        } else {
            const int right = std::max(box->x + box->width, a.x + a.width);
            const int bottom = std::max(box->y + box->height, a.y + a.height);
            box->x = std::min(box->x, a.x);
            box->y = std::min(box->y, a.y);
            box->width = right - box->x;
            box->height = bottom - box->y;
        }
        if (box->width >= size.width && box->height >= size.height) return drawn->when;
    }
    throw std::runtime_error("the window was not painted in time");
}

double milliseconds(Clock::duration d)
{
    return std::chrono::duration<double, std::milli>(d).count();
}

void measure_startup(Size size, const std::vector<std::string>& command)
{
    Screen screen;
    // Whatever the previous program left to redraw is not this one's paint.
    screen.settle(100ms, 5s);
    const Child child(command);
    const auto painted = wait_first_paint(screen, child, size);
    const double cpu = child.cpu_ms();
    // Whatever the program does right after its first paint counts to its peak.
    screen.settle(300ms, 2s);
    child.check_running();
    std::printf("first_paint_ms %.3f\ncpu_ms %.3f\npeak_rss_kib %ld\n",
                milliseconds(painted - child.started()), cpu, child.peak_rss_kib());
}

// One program on its own display, its window painted and the focus in the
// text box, ready for keystrokes.
class Subject {
public:
    Subject(const std::string& display, const std::vector<std::string>& command, Size size, Rect click,
            Rect watched)
        : screen_(display)
    {
        screen_.settle(100ms, 5s);
        child_.emplace(command, display);
        wait_first_paint(screen_, *child_, size);
        screen_.settle(300ms, 2s);
        const Rect window = screen_.find_window(size);
        screen_.click(window.x + click.x, window.y + click.y);
        screen_.settle(200ms, 2s);
        target_ = {window.x + watched.x, window.y + watched.y, watched.width, watched.height};
    }

    // Presses the key, waits for the drawing that touches the watched
    // rectangle, releases the key and lets the rest of the drawing pass.
    // Returns the time from the press to that drawing.
    Clock::duration type(KeySym symbol)
    {
        const auto pressed = Clock::now();
        screen_.key(symbol, true);
        const auto deadline = pressed + 5s;
        std::optional<Clock::time_point> seen;
        while (!seen) {
            const auto drawn = screen_.next(deadline);
            if (!drawn) throw std::runtime_error("a keystroke was not drawn in time");
            if (drawn->area.intersects(target_)) seen = drawn->when;
        }
        screen_.key(symbol, false);
        screen_.drain(Clock::now() + 15ms);
        return *seen - pressed;
    }

    void check_running() const { child_->check_running(); }

private:
    Screen screen_;
    std::optional<Child> child_;  // ended before the screen closes
    Rect target_;
};

struct Program {
    std::string display;
    std::vector<std::string> command;
};

void measure_keystrokes(Size size, int count, Rect click, Rect watched, const std::vector<Program>& programs)
{
    std::vector<std::unique_ptr<Subject>> subjects;
    for (const auto& program : programs) {
        subjects.push_back(std::make_unique<Subject>(program.display, program.command, size, click, watched));
    }
    for (int i = 0; i < count; ++i) {
        const KeySym symbol = i % 2 == 0 ? XK_1 : XK_BackSpace;
        for (std::size_t k = 0; k < subjects.size(); ++k) {
            const std::size_t which = i % 2 == 0 ? k : subjects.size() - 1 - k;
            const auto took = subjects[which]->type(symbol);
            std::printf("%zu %.1f\n", which + 1, std::chrono::duration<double, std::micro>(took).count());
        }
    }
    for (const auto& subject : subjects) subject->check_running();
}

int run(const std::vector<std::string>& args)
{
    // The options, then each program after a "--".
    std::vector<std::vector<std::string>> groups(1);
    for (const auto& arg : args) {
        if (arg == "--") {
            groups.emplace_back();
        } else {
            groups.back().push_back(arg);
        }
    }
    const std::vector<std::string>& options = groups.front();
    if (options.empty() || groups.size() < 2) throw UsageError("no command after --");
    for (std::size_t g = 1; g < groups.size(); ++g) {
        if (groups[g].empty()) throw UsageError("an empty command after --");
    }
    if (options[0] == "startup" && options.size() == 2 && groups.size() == 2) {
        measure_startup(parse_size(options[1]), groups[1]);
    } else if (options[0] == "keystrokes" && options.size() == 5) {
        std::vector<Program> programs;
        for (std::size_t g = 1; g < groups.size(); ++g) {
            if (groups[g].size() < 2) throw UsageError("a display and a command after each --");
            programs.push_back({groups[g].front(), {groups[g].begin() + 1, groups[g].end()}});
        }
        measure_keystrokes(parse_size(options[1]), std::stoi(options[2]), parse_rect(options[3]),
                           parse_rect(options[4]), programs);
    } else {
        throw UsageError("unknown mode or wrong options");
    }
    return EXIT_SUCCESS;
}

}  // namespace

int main(int argc, char** argv)
{
    try {
        return run(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const UsageError& e) {
        std::fprintf(stderr,
                     "korvantelo_probe: %s\n"
                     "usage: korvantelo_probe startup WxH -- PROGRAM [ARGS...]\n"
                     "       korvantelo_probe keystrokes WxH COUNT X,Y X,Y,W,H -- DISPLAY PROGRAM [ARGS...]"
                     " [-- DISPLAY PROGRAM [ARGS...]]...\n",
                     e.what());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "korvantelo_probe: %s\n", e.what());
    }
    return EXIT_FAILURE;
}
