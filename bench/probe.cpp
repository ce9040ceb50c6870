// Measures the real game from outside, as a player's desktop sees it, on an X server (Xvfb):
//   startup  - from the fork of the process to the start screen mapped, to it painted, and to the
//              first sample of the first melody reaching the audio output (SDL's disk driver
//              stands in for a sound card; the soundfont is loaded on the way). Runs alternate
//              with a bare Qt Widgets window of the same size (bench/bare_window.cpp), timed from
//              the fork to its window mapped, so the ratio of the two medians holds however
//              loaded the machine is;
//   idle     - CPU time used in 5 s with the main window shown and the ball not launched, per
//              thread, with the music playing and with no audio output at all;
//   play     - resident memory while playing (sampled every 50 ms for 5 s after the launch).
// Windows are found by title and width and clicked with the XTest extension. The game is given
// no command line and no environment of its own; only Qt's and SDL's platform choices.
//
//   plinkat_probe <game binary> <bare window binary> <play folder> [startup runs]
// prints key=value lines for bench/run.sh.
#include "xdriver.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <poll.h>
#include <map>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int kStartScreenWidth = 425; // 6375 twips
constexpr int kMainWindowWidth = 613;  // 9195 twips
const char* const kTitle = "Plinkat";

double msSince(Clock::time_point t0)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
}

void sleepMs(int ms)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

// Painted: the window's pixels show a picture (several colours), not one blank fill.
bool showsPicture(Display* d, const XWin& w)
{
    XImage* img = XGetImage(d, w.id, 0, 0, static_cast<unsigned>(w.width), static_cast<unsigned>(w.height), AllPlanes, ZPixmap);
    if (!img)
        return false;
    std::set<unsigned long> colours;
    for (int gy = 1; gy < 16; ++gy)
        for (int gx = 1; gx < 16; ++gx)
            colours.insert(XGetPixel(img, gx * w.width / 16, gy * w.height / 16));
    XDestroyImage(img);
    return colours.size() >= 4;
}

// Sees top-level windows being mapped, as the X server reports them, on a connection of its own.
class MapWatcher {
public:
    MapWatcher() : m_display(XOpenDisplay(nullptr))
    {
        if (m_display) {
            XSelectInput(m_display, DefaultRootWindow(m_display), SubstructureNotifyMask);
            XSync(m_display, True); // nothing from before counts
        }
    }
    ~MapWatcher()
    {
        if (m_display)
            XCloseDisplay(m_display);
    }
    bool ok() const { return m_display != nullptr; }

    // Waits until a top-level window at least minWidth pixels wide is mapped, the deadline passes
    // or stillRunning() says no; then returns true if one was mapped.
    template <class StillRunning>
    bool waitForMap(int minWidth, Clock::time_point deadline, StillRunning stillRunning)
    {
        pollfd fd{ConnectionNumber(m_display), POLLIN, 0};
        while (Clock::now() < deadline) {
            while (XPending(m_display) > 0) {
                XEvent e;
                XNextEvent(m_display, &e);
                XWindowAttributes a;
                if (e.type == MapNotify && XGetWindowAttributes(m_display, e.xmap.window, &a) && a.width >= minWidth)
                    return true;
            }
            if (!stillRunning())
                return false;
            poll(&fd, 1, 5);
        }
        return false;
    }

    // Forgets the events of windows that came and went before the next run.
    void drain()
    {
        XSync(m_display, False);
        while (XPending(m_display) > 0) {
            XEvent e;
            XNextEvent(m_display, &e);
        }
    }

private:
    Display* m_display;
};

double median(std::vector<double> v)
{
    if (v.empty())
        return -1;
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

class Game {
public:
    // Starts the binary in the folder; audio "disk" writes the output to audioFile.
    Game(const std::string& binary, const fs::path& folder, const std::string& audioDriver = "none",
         const fs::path& audioFile = {})
    {
        setenv("QT_QPA_PLATFORM", "xcb", 1);
        setenv("SDL_AUDIODRIVER", audioDriver.c_str(), 1);
        setenv("SDL_DISKAUDIOFILE", audioFile.c_str(), 1);
        started = Clock::now();
        pid = fork();
        if (pid == 0) {
            if (chdir(folder.c_str()) != 0)
                _exit(126);
            execl(binary.c_str(), binary.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
    }
    ~Game()
    {
        if (pid > 0) {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
        }
    }
    bool alive() const { return pid > 0 && waitpid(pid, nullptr, WNOHANG) == 0; }

    pid_t pid = -1;
    Clock::time_point started;
};

// CPU time in nanoseconds of every thread of the process, by thread name and id: the scheduler's
// own account (schedstat), which sees the short bursts of a mostly idle program that the
// clock-tick account (utime + stime) rounds away.
std::map<std::string, long long> threadNs(pid_t pid)
{
    std::map<std::string, long long> out;
    const fs::path tasks = "/proc/" + std::to_string(pid) + "/task";
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(tasks, ec)) {
        std::ifstream schedstat(e.path() / "schedstat");
        long long ns = 0;
        if (!(schedstat >> ns))
            continue;
        std::ifstream commFile(e.path() / "comm");
        std::string comm;
        std::getline(commFile, comm);
        const std::string tid = e.path().filename().string();
        out[(tid == std::to_string(pid) ? std::string("main") : comm) + "#" + tid] = ns;
    }
    return out;
}

long long statusKb(pid_t pid, const std::string& key)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind(key + ":", 0) == 0)
            return std::stoll(line.substr(key.size() + 1));
    return -1;
}

// Times the main thread went to sleep and was woken again (each timer tick is one).
long long mainThreadWakeups(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/task/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("voluntary_ctxt_switches:", 0) == 0)
            return std::stoll(line.substr(24));
    return -1;
}

// CPU used over the window, in percent of one core: total and per thread (threads above 0.05 %),
// and how often the main thread woke up.
void measureIdle(const char* tag, pid_t pid, int seconds)
{
    const double hz = 1e9;
    const auto before = threadNs(pid);
    const long long wakeupsBefore = mainThreadWakeups(pid);
    sleepMs(seconds * 1000);
    const auto after = threadNs(pid);
    std::printf("%s_main_wakeups_per_s=%.1f\n", tag, static_cast<double>(mainThreadWakeups(pid) - wakeupsBefore) / seconds);
    long long total = 0;
    std::string threads;
    std::map<std::string, long long> byName;
    // Threads that ended during the window are not counted; the game's own threads live on.
    for (const auto& [name, ticks] : after) {
        const auto b = before.find(name);
        const long long used = ticks - (b == before.end() ? 0 : b->second);
        total += used;
        byName[name.substr(0, name.find('#'))] += used;
    }
    for (const auto& [name, used] : byName) {
        const double pct = 100.0 * static_cast<double>(used) / hz / seconds;
        if (pct >= 0.05) {
            char buf[96];
            std::snprintf(buf, sizeof buf, "%s%s:%.2f", threads.empty() ? "" : ",", name.c_str(), pct);
            threads += buf;
        }
    }
    std::printf("%s_cpu_percent=%.2f\n%s_threads=%s\n", tag, 100.0 * static_cast<double>(total) / hz / seconds, tag,
                threads.empty() ? "none" : threads.c_str());
}

fs::path freshFolder(const fs::path& scratch, const fs::path& play, int n)
{
    const fs::path folder = scratch / ("play" + std::to_string(n));
    fs::create_directories(folder);
    fs::copy(play, folder, fs::copy_options::recursive | fs::copy_options::overwrite_existing);
    fs::remove(folder / "plinkat");
    return folder;
}

// Milliseconds from the start to the first non-silent byte in the audio output file.
std::optional<double> firstSound(const fs::path& audioFile, std::uintmax_t& scanned)
{
    std::ifstream in(audioFile, std::ios::binary);
    if (!in)
        return std::nullopt;
    in.seekg(static_cast<std::streamoff>(scanned));
    char buf[65536];
    while (in.read(buf, sizeof buf) || in.gcount() > 0) {
        const auto n = static_cast<std::size_t>(in.gcount());
        if (std::any_of(buf, buf + n, [](char c) { return c != 0; }))
            return 0.0;
        scanned += n;
    }
    return std::nullopt;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s <game binary> <bare window binary> <play folder> [startup runs]\n", argv[0]);
        return 2;
    }
    const std::string binary = fs::absolute(argv[1]);
    const std::string bare = fs::absolute(argv[2]);
    const fs::path play = fs::absolute(argv[3]);
    const int runs = argc > 4 ? std::atoi(argv[4]) : 5;
    XDriver x;
    MapWatcher maps;
    if (!x.ok() || !maps.ok()) {
        std::fprintf(stderr, "no X display\n");
        return 2;
    }
    char tmpl[] = "/tmp/plinkat-probe-XXXXXX";
    const fs::path scratch = mkdtemp(tmpl);
    int failures = 0;

    // Start-up: the bare window and the game in turn, the game each time in a fresh copy of the
    // play folder. One untimed pair first brings both into the page cache.
    std::vector<double> bareTimes, gameTimes;
    for (int r = -1; r < runs; ++r) {
        std::optional<double> bareMapped;
        {
            maps.drain();
            Game window(bare, scratch);
            if (maps.waitForMap(200, window.started + std::chrono::seconds(10), [&] { return window.alive(); }))
                bareMapped = msSince(window.started);
        }
        const fs::path folder = freshFolder(scratch, play, r + 1);
        const fs::path audio = scratch / ("audio" + std::to_string(r + 1) + ".raw");
        maps.drain();
        Game game(binary, folder, "disk", audio);
        std::optional<double> mapped, painted, sound;
        if (maps.waitForMap(200, game.started + std::chrono::seconds(10), [&] { return game.alive(); }))
            mapped = msSince(game.started);
        std::optional<XWin> w;
        std::uintmax_t scanned = 0;
        while (mapped && msSince(game.started) < 10000 && !(painted && sound)) {
            if (!w)
                w = x.find(kTitle, kStartScreenWidth);
            if (w && !painted && showsPicture(x.display(), *w))
                painted = msSince(game.started);
            if (!sound && firstSound(audio, scanned))
                sound = msSince(game.started);
            if (!game.alive())
                break;
            sleepMs(1);
        }
        if (r < 0)
            continue;
        if (!bareMapped || !mapped || !painted || !sound)
            ++failures;
        if (bareMapped && mapped) {
            bareTimes.push_back(*bareMapped);
            gameTimes.push_back(*mapped);
        }
        std::printf("startup_run=%d bare_mapped_ms=%.1f mapped_ms=%.1f painted_ms=%.1f first_sound_ms=%.1f\n", r,
                    bareMapped.value_or(-1), mapped.value_or(-1), painted.value_or(-1), sound.value_or(-1));
        std::fflush(stdout);
    }
    const double bareMedian = median(bareTimes), gameMedian = median(gameTimes);
    std::printf("startup_bare_median_ms=%.1f\nstartup_game_median_ms=%.1f\nstartup_ratio=%.2f\n", bareMedian,
                gameMedian, bareMedian > 0 ? gameMedian / bareMedian : -1.0);
    std::fflush(stdout);

    // Stopped play and playing, with the music playing and with no audio output at all.
    for (const char* driver : {"disk", "none"}) {
        const std::string tag = std::string("idle_") + (std::strcmp(driver, "disk") == 0 ? "music" : "noaudio");
        const fs::path folder = freshFolder(scratch, play, 100 + (driver[0] == 'n'));
        Game game(binary, folder, driver, scratch / "audio-play.raw");
        const auto start = x.waitFor(kTitle, kStartScreenWidth, 10000, 2);
        if (!start) {
            ++failures;
            continue;
        }
        sleepMs(500);
        x.click(*start, 24 + 192, 240 + 12); // "СТАРТ"
        const auto main = x.waitFor(kTitle, kMainWindowWidth, 5000, 2);
        if (!main) {
            ++failures;
            continue;
        }
        sleepMs(1000); // the first melody has started; the window has been painted
        std::printf("%s_rss_kb=%lld\n", tag.c_str(), statusKb(game.pid, "VmRSS"));
        measureIdle(tag.c_str(), game.pid, 5);
        if (std::strcmp(driver, "disk") != 0)
            continue;

        // Launch with a click on the wall near the bottom edge, then play for 5 s: the pointer
        // keeps the middle of the paddle under the ball (paddle Left in mm = pointer x / 4 px,
        // 3.78 px to the mm), and memory is sampled every 50 ms.
        const int stripY = main->height - 30;
        x.click(*main, main->width / 2, stripY);
        long long peak = 0, last = 0;
        int seen = 0, polls = 0;
        const auto ns0 = threadNs(game.pid);
        const auto playStart = Clock::now();
        auto nextSample = playStart;
        while (msSince(playStart) < 5000) {
            if (const auto ball = x.ballAt(*main)) {
                ++seen;
                const double ballMm = ball->first / (1440.0 / 25.4 / 15.0);
                x.moveTo(*main, std::max(1, static_cast<int>(4.0 * (ballMm - 15.0))), stripY);
            }
            ++polls;
            if (Clock::now() >= nextSample) {
                last = statusKb(game.pid, "VmRSS");
                peak = std::max(peak, last);
                nextSample += std::chrono::milliseconds(50);
            }
            sleepMs(4);
        }
        std::printf("play_ball_seen_percent=%.0f\n", 100.0 * seen / std::max(1, polls));
        long long used = 0;
        for (const auto& [name, t] : threadNs(game.pid))
            used += t - (ns0.count(name) ? ns0.at(name) : 0);
        std::printf("play_rss_peak_kb=%lld\nplay_rss_last_kb=%lld\nplay_hwm_kb=%lld\nplay_cpu_percent=%.2f\n", peak, last,
                    statusKb(game.pid, "VmHWM"), 100.0 * static_cast<double>(used) / 1e9 / 5.0);
    }

    std::error_code ec;
    fs::remove_all(scratch, ec);
    std::printf("failures=%d\n", failures);
    return failures == 0 ? 0 : 1;
}
