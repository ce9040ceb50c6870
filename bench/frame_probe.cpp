// Measures how smoothly the ball reaches the screen, from outside, on an X server (Xvfb with
// -fakescreenfps N): it starts the real game in a copy of the play folder, presses СТАРТ,
// measures the mouse → paddle latency while the ball rests, launches the ball and then, three
// quarters of a frame after every blank of the display (bench/blank_clock.h), reads the ball's
// place off the main window's pixels, as the next scan-out would find it, while the pointer keeps
// the paddle under the ball. From the reads it prints (bench/motion.h):
//   drawn_per_s               blanks that showed the ball at a new place, per second
//   frozen_or_doubled_per_s   blanks whose step was under half or over 1.5 times the stretch's mean
//   judder_percent            RMS of (step / mean step - 1) over the straight stretches
//   pace                      the ball's vertical speed against skor mm a tick at 62.5 ticks a second
//   cpu_percent               CPU the game used while the ball flew, in % of one core
//   latency_ms                median time from a pointer move to the paddle drawn at its new place
// The play folder's maps are replaced by one that keeps the ball in play: a single cell, never
// drawn (its value is no colour's) and good for 999 hits, so the level is never cleared. A ball
// lost all the same ("БАБАХ !!!") or any other box is answered and the ball launched again; such
// interruptions are counted and their reads left out.
//
// With a bare ball binary (bench/bare_ball.cpp) it then reads that window the same way and prints
// the same figures with the prefix bare_: the limit of what this display and probe can show.
//
//   plinkat_frame_probe <game binary> <play folder> <seconds> [<bare ball binary> <seconds>]
// PLINKAT_MOTION_SIZE=150 or 200 runs the game at that window size (the bare ball is then skipped).
// prints key=value lines for bench/run.sh; exits 1 when a measurement failed.
#include "blank_clock.h"
#include "motion.h"
#include "xdriver.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

#include <algorithm>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

// The game's window size (PLINKAT_MOTION_SIZE: 100, 150 or 200 %, written to its view.cfg); every
// length below is at 100 % and scaled by it.
const double kScale = [] {
    const char* size = std::getenv("PLINKAT_MOTION_SIZE");
    return size ? std::atof(size) / 100.0 : 1.0;
}();
int scaled(double px) { return static_cast<int>(std::lround(px * kScale)); }
const int kStartScreenWidth = scaled(425); // 6375 twips
const int kMainWindowWidth = scaled(613);  // 9195 twips
const int kClientHeight = scaled(549);     // 8235 twips; the menu bar is above it
const char* const kTitle = "Plinkat";
const double kPxPerMm = 1440.0 / 25.4 / 15.0 * kScale;
const double kBallPx = 33 * kScale;        // 495 twips
const int kPaddleRow = scaled(456 + 12);   // the paddle's middle row: Top 6840 twips, 375 twips high
constexpr double kTicksPerS = 62.5;

// The program started now, for the watchdog to end it.
volatile pid_t g_child = -1;
// What the probe is doing, told when the watchdog ends it.
const char* volatile g_stage = "starting";

void sleepMs(double ms)
{
    bench::sleepUntilUs(bench::nowUs() + ms * 1e3);
}

void stage(const char* what)
{
    g_stage = what;
    std::fprintf(stderr, "frame probe: %s\n", what);
}

class Child {
public:
    Child(const std::string& binary, const fs::path& folder)
    {
        setenv("QT_QPA_PLATFORM", "xcb", 1);
        setenv("SDL_AUDIODRIVER", "none", 1); // no audio output: the CPU figure is the frames'
        pid = fork();
        if (pid == 0) {
            if (chdir(folder.c_str()) != 0)
                _exit(126);
            execl(binary.c_str(), binary.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
        g_child = pid;
    }
    ~Child()
    {
        g_child = -1;
        if (pid > 0) {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
        }
    }
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;
    bool alive() const { return pid > 0 && waitpid(pid, nullptr, WNOHANG) == 0; }

    // CPU time used so far (utime + stime of all its threads), in seconds.
    double cpuSeconds() const
    {
        std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
        std::string stat((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        const auto close = stat.rfind(')');
        if (close == std::string::npos)
            return 0;
        std::istringstream fields(stat.substr(close + 2));
        std::string field;
        double ticks = 0;
        for (int i = 3; i <= 15 && fields >> field; ++i)
            if (i >= 14)
                ticks += std::atof(field.c_str());
        return ticks / static_cast<double>(sysconf(_SC_CLK_TCK));
    }

    pid_t pid = -1;
};

// Sees top-level windows being mapped, on a connection of its own: a box in front of the game.
class BoxWatcher {
public:
    BoxWatcher() : m_display(XOpenDisplay(nullptr))
    {
        if (m_display) {
            XSelectInput(m_display, DefaultRootWindow(m_display), SubstructureNotifyMask);
            XSync(m_display, True);
        }
    }
    ~BoxWatcher()
    {
        if (m_display)
            XCloseDisplay(m_display);
    }
    BoxWatcher(const BoxWatcher&) = delete;
    BoxWatcher& operator=(const BoxWatcher&) = delete;

    // A window other than the main window was mapped since the last look.
    bool boxMapped()
    {
        bool seen = false;
        while (XPending(m_display) > 0) {
            XEvent e;
            XNextEvent(m_display, &e);
            XWindowAttributes a;
            if (e.type == MapNotify && XGetWindowAttributes(m_display, e.xmap.window, &a) && a.width != kMainWindowWidth)
                seen = true;
        }
        return seen;
    }

private:
    Display* m_display;
};

struct Ball {
    double cx = 0, cy = 0; // centre, window pixels
};

// How much of a pixel the ball covers: its yellows (from the bright middle to the 192,192,0
// outline), blended with the white behind it. Greys, reds, greens and white count nothing.
double coverage(unsigned long pixel)
{
    const int r = static_cast<int>((pixel >> 16) & 0xff), g = static_cast<int>((pixel >> 8) & 0xff),
              b = static_cast<int>(pixel & 0xff);
    const int lo = std::min(r, g);
    if (lo < 120 || std::abs(r - g) > 24)
        return 0;
    return std::clamp((lo - b) / 200.0, 0.0, 1.0);
}

// The ball's centre as the centroid of its coverage in the window, looked for around its last
// place (a margin of three steps of a tick), or over the whole window if it is not there.
std::optional<Ball> readBall(Display* d, const XWin& w, const std::optional<Ball>& last)
{
    const auto look = [&](int x0, int y0, int x1, int y1) -> std::optional<Ball> {
        x0 = std::max(x0, 0);
        y0 = std::max(y0, 0);
        x1 = std::min(x1, w.width);
        y1 = std::min(y1, w.height);
        if (x1 <= x0 || y1 <= y0)
            return std::nullopt;
        XImage* img = XGetImage(d, w.id, x0, y0, static_cast<unsigned>(x1 - x0), static_cast<unsigned>(y1 - y0),
                                AllPlanes, ZPixmap);
        if (!img)
            return std::nullopt;
        double sum = 0, sx = 0, sy = 0;
        for (int y = 0; y < y1 - y0; ++y)
            for (int x = 0; x < x1 - x0; ++x) {
                const double c = coverage(XGetPixel(img, x, y));
                sum += c;
                sx += c * (x + 0.5);
                sy += c * (y + 0.5);
            }
        XDestroyImage(img);
        // At least a third of the disc: the ball, not a stray yellowish pixel.
        if (sum < kBallPx * kBallPx * 0.26)
            return std::nullopt;
        return Ball{x0 + sx / sum, y0 + sy / sum};
    };
    if (last) {
        const int kMargin = scaled(48);
        const int half = static_cast<int>(kBallPx / 2) + kMargin;
        if (auto b = look(static_cast<int>(last->cx) - half, static_cast<int>(last->cy) - half,
                          static_cast<int>(last->cx) + half + 1, static_cast<int>(last->cy) + half + 1))
            return b;
    }
    return look(0, 0, w.width, w.height);
}

std::vector<unsigned long> row(Display* d, const XWin& w, int y)
{
    std::vector<unsigned long> out;
    XImage* img = XGetImage(d, w.id, 0, y, static_cast<unsigned>(w.width), 1, AllPlanes, ZPixmap);
    if (!img)
        return out;
    for (int x = 0; x < w.width; ++x)
        out.push_back(XGetPixel(img, x, 0) & 0xffffff);
    XDestroyImage(img);
    return out;
}

double quantile(std::vector<double> v, double q)
{
    if (v.empty())
        return -1;
    std::sort(v.begin(), v.end());
    const double at = q * static_cast<double>(v.size() - 1);
    const auto i = static_cast<std::size_t>(at);
    return i + 1 < v.size() ? v[i] + (at - static_cast<double>(i)) * (v[i + 1] - v[i]) : v[i];
}

// Mouse → paddle: the pointer jumps between two places over the wall; each time, the time until
// the paddle's row shows the paddle at its new place (as it stood there before, at rest). The
// pauses between the moves vary, so the moves fall at every phase of the game's frames.
double paddleLatencyMs(XDriver& x, const XWin& main, int stripY, int moves, int& failed)
{
    Display* d = x.display();
    const int y = main.height - kClientHeight + kPaddleRow;
    const int places[2] = {120, 360};
    std::vector<unsigned long> rest[2];
    for (int i = 0; i < 2; ++i) {
        x.moveTo(main, places[i], stripY);
        sleepMs(400);
        rest[i] = row(d, main, y);
    }
    if (rest[0].empty() || rest[0] == rest[1]) {
        failed = moves;
        return -1;
    }
    std::vector<double> ms;
    for (int i = 0; i < moves; ++i) {
        const int to = i % 2 == 0 ? 0 : 1;
        sleepMs(60 + (i * 37) % 53);
        const double t0 = bench::nowUs();
        XTestFakeMotionEvent(d, -1, main.x + places[to], main.y + stripY, CurrentTime);
        XFlush(d);
        bool seen = false;
        while (bench::nowUs() - t0 < 500e3) {
            if (row(d, main, y) == rest[to]) {
                seen = true;
                break;
            }
            sleepMs(0.2);
        }
        if (seen)
            ms.push_back((bench::nowUs() - t0) / 1e3);
        else
            ++failed;
        sleepMs(150); // the paddle settles before the next move
    }
    return quantile(ms, 0.5);
}

// skor as the game sets it from config.cfg's third number: on the options slider's 0.1 grid.
double skorOf(const fs::path& folder)
{
    std::ifstream in(folder / "config.cfg");
    std::string line;
    std::getline(in, line);
    std::replace(line.begin(), line.end(), ',', ' ');
    std::istringstream fields(line);
    double melodi = 0, num = 0, skor = 4;
    fields >> melodi >> num >> skor;
    return std::nearbyint(skor * 10) / 10; // halves to the even neighbour
}

// Every level's map: one cell, (10, 1) at the top right, worth 999 hits and drawn in no colour.
void writeMaps(const fs::path& folder)
{
    std::string map;
    for (int i = 0; i < 40; ++i)
        map += i == 36 ? " 999 \r\n" : " 0 \r\n";
    for (int level = 1; level <= 99; ++level)
        std::ofstream(folder / (std::to_string(level) + ".dbm"), std::ios::binary) << map;
}

struct Flight {
    std::vector<motion::Read> reads;
    double flyingS = 0;
    double cpuS = 0;
    int missedReads = 0;  // blanks the probe itself was too late for
    int notFound = 0;     // reads that did not find the ball
    int interruptions = 0;
    std::vector<double> lateMs; // how late each read began, against its time
};

// Reads the ball at three quarters of a frame after each blank for `seconds` of flight.
// `steer` runs after each read. When `stopped` says the flight broke off, the time and CPU up to
// then are counted, `resume` launches again, and the next read starts a new run.
template <class Steer, class Stopped, class Resume>
Flight fly(bench::BlankClock& clock, Display* d, const XWin& w, const Child& child, double seconds, Steer steer,
           Stopped stopped, Resume resume)
{
    Flight f;
    std::optional<Ball> last;
    int run = 0;
    double since = bench::nowUs();
    double cpuSince = child.cpuSeconds();
    const auto pause = [&] {
        f.flyingS += (bench::nowUs() - since) / 1e6;
        f.cpuS += child.cpuSeconds() - cpuSince;
    };
    std::int64_t n = clock.blankAt(since) + 1;
    while (f.flyingS + (bench::nowUs() - since) / 1e6 < seconds && child.alive()) {
        const double period = clock.periodUs();
        const double at = clock.blankUs(n) + 0.75 * period;
        if (bench::nowUs() > at + 0.2 * period) { // too late for this blank: on to the next that is not
            const std::int64_t next = clock.blankAt(bench::nowUs() - 0.75 * period) + 1;
            f.missedReads += static_cast<int>(std::max<std::int64_t>(next - n, 1));
            n = std::max(next, n + 1);
            continue;
        }
        bench::sleepUntilUs(at);
        const double t0 = bench::nowUs();
        f.lateMs.push_back((t0 - at) / 1e3);
        const auto ball = readBall(d, w, last);
        const double t = (t0 + bench::nowUs()) / 2;
        if (ball) {
            f.reads.push_back({n, t / 1e6, ball->cx, ball->cy, run});
            steer(*ball, f.reads);
        } else {
            ++f.notFound;
            ++run;
        }
        last = ball;
        clock.pump();
        ++n;
        if (stopped()) {
            pause();
            ++f.interruptions;
            ++run;
            last.reset();
            resume();
            since = bench::nowUs();
            cpuSince = child.cpuSeconds();
            n = clock.blankAt(since) + 1;
        }
    }
    pause();
    return f;
}

void print(const std::string& prefix, const Flight& f, double expectedVy)
{
    const motion::Figures m = motion::measure(f.reads, 0.5);
    const char* p = prefix.c_str();
    std::printf("%sflying_s=%.2f\n%sreads=%zu\n%sreads_missed=%d\n%sball_not_found=%d\n%sinterruptions=%d\n", p,
                f.flyingS, p, f.reads.size(), p, f.missedReads, p, f.notFound, p, f.interruptions);
    std::printf("%sstretches=%d\n%sstretch_share=%.2f\n", p, m.stretches, p, f.flyingS > 0 ? m.seconds / f.flyingS : 0);
    std::printf("%sdrawn_per_s=%.1f\n%sfrozen_or_doubled_per_s=%.2f\n%sfrozen_per_s=%.2f\n%sdoubled_per_s=%.2f\n", p,
                m.newPerS, p, m.frozenPerS + m.doubledPerS, p, m.frozenPerS, p, m.doubledPerS);
    std::printf("%sjudder_percent=%.1f\n%sspeed_y_px_per_s=%.1f\n%space=%.3f\n%scpu_percent=%.1f\n", p, 100 * m.judder, p,
                m.speedY, p, m.speedY / expectedVy, p, f.flyingS > 0 ? 100 * f.cpuS / f.flyingS : -1);
    // The probe's own punctuality: a read begun a quarter of a frame late may see the next frame.
    std::printf("%sread_late_median_ms=%.2f\n%sread_late_p95_ms=%.2f\n", p, quantile(f.lateMs, 0.5), p,
                quantile(f.lateMs, 0.95));
    std::fflush(stdout);
}

fs::path freshFolder(const fs::path& scratch, const fs::path& play)
{
    const fs::path folder = scratch / "play";
    fs::create_directories(folder);
    fs::copy(play, folder, fs::copy_options::recursive | fs::copy_options::overwrite_existing);
    fs::remove(folder / "plinkat");
    writeMaps(folder);
    if (kScale != 1.0)
        std::ofstream(folder / "view.cfg") << "window-size " << std::lround(kScale * 100) << "\n";
    return folder;
}

// A probe that hangs (an X server gone, a window never shown) must not hold up the run: it ends
// the program it started and itself, saying where it was. Only async-signal-safe calls.
void watchdog(int)
{
    if (g_child > 0)
        kill(g_child, SIGKILL);
    const char* const parts[] = {"frame probe: gave up while ", g_stage, "\n"};
    for (const char* part : parts)
        if (write(STDERR_FILENO, part, std::strlen(part)) < 0)
            break;
    _exit(3);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 4 && argc != 6) {
        std::fprintf(stderr, "usage: %s <game binary> <play folder> <seconds> [<bare ball binary> <seconds>]\n", argv[0]);
        return 2;
    }
    const std::string binary = fs::absolute(argv[1]);
    const fs::path play = fs::absolute(argv[2]);
    const double seconds = std::atof(argv[3]);
    const double bareSeconds = argc == 6 ? std::atof(argv[5]) : 0;
    std::signal(SIGALRM, watchdog);
    alarm(static_cast<unsigned>(90 + 3 * (seconds + bareSeconds)));
    XDriver x;
    if (!x.ok()) {
        std::fprintf(stderr, "no X display\n");
        return 2;
    }
    Display* d = x.display();
    bench::BlankClock clock;
    clock.warmUp(40, 3000);
    std::printf("blank_source=%s\n", clock.present() ? "present" : "timer");
    std::fflush(stdout);
    char tmpl[] = "/tmp/plinkat-frames-XXXXXX";
    const fs::path scratch = mkdtemp(tmpl);
    int failures = 0;

    {
        const fs::path folder = freshFolder(scratch, play);
        const double skor = skorOf(folder);
        BoxWatcher boxes;
        stage("waiting for the start screen");
        Child game(binary, folder);
        const auto start = x.waitFor(kTitle, kStartScreenWidth, 20000, 5);
        std::optional<XWin> main;
        if (start) {
            sleepMs(300);
            x.click(*start, scaled(24 + 192), scaled(240 + 12)); // "СТАРТ"
            main = x.waitFor(kTitle, kMainWindowWidth, 10000, 5);
        }
        if (!main) {
            std::fprintf(stderr, "the game's main window did not show\n");
            return 1;
        }
        sleepMs(700);
        stage("measuring the paddle's latency");
        const int stripY = main->height - 30; // the wall, below the paddle
        int failedMoves = 0;
        const double latency = paddleLatencyMs(x, *main, stripY, 20, failedMoves);
        std::printf("latency_ms=%.2f\nlatency_failed_moves=%d\n", latency, failedMoves);
        std::fflush(stdout);
        failures += latency < 0 ? 1 : 0;

        int pointerX = 360;
        const auto launch = [&] { x.click(*main, pointerX, stripY); };
        boxes.boxMapped(); // nothing from before the flight counts
        launch();
        // The paddle's middle zone under the ball: paddle Left (mm) = pointer x / 4, and the
        // ball's Left 10 to 20 mm right of it; a little ahead of the ball, as a player leads it.
        const auto steer = [&](const Ball& b, const std::vector<motion::Read>& reads) {
            double vx = 0;
            if (reads.size() >= 2 && reads[reads.size() - 2].run == reads.back().run)
                vx = (reads.back().x - reads[reads.size() - 2].x) / (reads.back().t - reads[reads.size() - 2].t);
            const double leftMm = (b.cx + 0.03 * vx - kBallPx / 2) / kPxPerMm;
            const int to = std::clamp(static_cast<int>(std::lround(4 * kScale * (leftMm - 15))), 1, main->width - 1);
            if (std::abs(to - pointerX) >= 2) {
                pointerX = to;
                XTestFakeMotionEvent(d, -1, main->x + pointerX, main->y + stripY, CurrentTime);
                XFlush(d);
            }
        };
        // Every box ("БАБАХ !!!", or "молодец" and the level after it) is answered, then the
        // ball launched again.
        const auto answerAndLaunch = [&] {
            while (const auto box = x.waitForOther(kTitle, kMainWindowWidth, 600)) {
                x.requestClose(*box);
                x.waitGone(kTitle, box->width, 3000);
            }
            boxes.boxMapped();
            sleepMs(200);
            launch();
        };
        stage("reading the flying ball");
        const Flight f = fly(clock, d, *main, game, seconds, steer, [&] { return boxes.boxMapped(); }, answerAndLaunch);
        std::printf("skor=%.1f\n", skor);
        print("", f, skor * kTicksPerS * kPxPerMm);
        std::printf("window_size_percent=%ld\n", std::lround(kScale * 100));
        failures += f.reads.size() < 10 ? 1 : 0;
    }

    if (argc == 6 && kScale == 1.0) { // the bare ball is drawn at 100 % only
        stage("reading the bare ball");
        Child bare(fs::absolute(argv[4]), scratch);
        const auto w = x.waitFor("bare ball", kMainWindowWidth, 20000, 5);
        if (!w) {
            std::fprintf(stderr, "the bare ball's window did not show\n");
            return 1;
        }
        sleepMs(500);
        const Flight f = fly(
            clock, d, *w, bare, bareSeconds, [](const Ball&, const std::vector<motion::Read>&) {},
            [] { return false; }, [] {});
        print("bare_", f, 4 * kTicksPerS * kPxPerMm);
        failures += f.reads.size() < 10 ? 1 : 0;
    }

    std::error_code ec;
    fs::remove_all(scratch, ec);
    std::printf("display_hz=%.2f\nblank_notices=%d\nblank_early_notices=%d\nfailures=%d\n", 1e6 / clock.periodUs(),
                clock.notices(), clock.earlyNotices(), failures);
    return failures == 0 ? 0 : 1;
}
