#include "motion.h"

#include <algorithm>
#include <cmath>
#include <istream>
#include <sstream>

namespace motion {

namespace {

constexpr int kMinSteps = 4;       // steps a stretch must keep, its two ends left out
constexpr double kFarOff = 3.5;    // a step this many times the stretch's mean move so far is a jump
constexpr double kFrozen = 0.5;    // of the stretch's mean step
constexpr double kDoubled = 1.5;

struct Step {
    double dx, dy, len, dt;
};

int signOf(double d, double still)
{
    return d >= still ? 1 : d <= -still ? -1 : 0;
}

class Stretches {
public:
    explicit Stretches(double still) : m_still(still) {}

    void add(const Step& s)
    {
        if (s.len >= m_still) {
            const int sx = signOf(s.dx, m_still), sy = signOf(s.dy, m_still);
            const bool turned = (sx && m_sx && sx != m_sx) || (sy && m_sy && sy != m_sy);
            const bool jumped = m_moves >= 3 && s.len > kFarOff * m_moved / m_moves;
            if (turned || jumped)
                close();
            m_sx = m_sx ? m_sx : sx;
            m_sy = m_sy ? m_sy : sy;
            m_moved += s.len;
            ++m_moves;
        }
        m_steps.push_back(s);
    }

    // Ends the stretch: its inner steps are counted if there are enough of them.
    void close()
    {
        if (m_steps.size() >= kMinSteps + 2)
            count(m_steps.begin() + 1, m_steps.end() - 1);
        m_steps.clear();
        m_sx = m_sy = 0;
        m_moved = 0;
        m_moves = 0;
    }

    Figures figures() const
    {
        Figures f = m_sum;
        if (f.seconds > 0) {
            f.newPerS /= f.seconds;
            f.frozenPerS /= f.seconds;
            f.doubledPerS /= f.seconds;
        }
        if (f.steps > 0)
            f.judder = std::sqrt(f.judder / f.steps);

        return f;
    }

private:
    template <class It>
    void count(It begin, It end)
    {
        double len = 0, dt = 0;
        const auto n = static_cast<double>(end - begin);
        for (It s = begin; s != end; ++s) {
            len += s->len;
            dt += s->dt;
        }
        const double mean = len / n;
        if (mean < m_still || dt <= 0)
            return; // the ball stood still
        ++m_sum.stretches;
        for (It s = begin; s != end; ++s) {
            const double r = s->len / mean;
            m_sum.newPerS += s->len >= m_still ? 1 : 0;
            m_sum.frozenPerS += r < kFrozen ? 1 : 0;
            m_sum.doubledPerS += r > kDoubled ? 1 : 0;
            m_sum.judder += (r - 1) * (r - 1);
            ++m_sum.steps;
        }
        m_sum.seconds += dt;
    }

    double m_still;
    std::vector<Step> m_steps;
    int m_sx = 0, m_sy = 0;
    double m_moved = 0;
    int m_moves = 0;
    Figures m_sum; // counts and sums until figures()
};

// The vertical speed over whole flights, bounces and all: the ball moves up or down by the same
// step every tick, so its vertical path over time is its pace, however the frames fall. Where it
// turned within a step, that step and the one before show less than its path: together they
// count at least two of its usual moves (the median of the last three).
class VerticalPath {
public:
    explicit VerticalPath(double still) : m_still(still) {}
    void add(double dy, double dt)
    {
        const int sy = signOf(dy, m_still);
        double path = std::abs(dy);
        if (sy && m_sy && sy != m_sy && m_moves.size() >= 3) {
            double last[3] = {m_moves[m_moves.size() - 3], m_moves[m_moves.size() - 2], m_moves.back()};
            std::sort(last, last + 3);
            path += std::max(0.0, 2 * last[1] - m_moves.back() - path);
        }
        if (sy) {
            m_sy = sy;
            m_moves.push_back(std::abs(dy));
            if (m_moves.size() > 3)
                m_moves.erase(m_moves.begin());
        }
        m_path += path;
        m_time += dt;
    }
    void breakOff()
    {
        m_sy = 0;
        m_moves.clear();
    }
    double speed() const { return m_time > 0 ? m_path / m_time : 0; }

private:
    double m_still;
    int m_sy = 0;
    std::vector<double> m_moves;
    double m_path = 0, m_time = 0;
};

} // namespace

Figures measure(const std::vector<Read>& reads, double still)
{
    Stretches stretches(still);
    VerticalPath path(still);
    for (std::size_t i = 1; i < reads.size(); ++i) {
        const Read& a = reads[i - 1];
        const Read& b = reads[i];
        if (b.run != a.run || b.blank <= a.blank) {
            stretches.close();
            path.breakOff();
            continue;
        }
        const double dx = b.x - a.x, dy = b.y - a.y;
        path.add(dy, b.t - a.t); // a blank missed by the reader leaves the path whole
        if (b.blank != a.blank + 1) {
            stretches.close();
            continue;
        }
        stretches.add({dx, dy, std::hypot(dx, dy), b.t - a.t});
    }
    stretches.close();
    Figures f = stretches.figures();
    f.speedY = path.speed();
    return f;
}

Log readLog(std::istream& in)
{
    Log log;
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty() || line[0] == '#')
            continue;
        std::istringstream fields(line);
        LogFrame f;
        int flying = -1;
        std::string source, extra;
        if (!(fields >> f.blankUs >> f.msc >> f.drawnUs >> f.left >> f.top >> f.share >> flying >> f.ticks >> source)
            || (fields >> extra) || (flying != 0 && flying != 1) || source.size() != 1
            || (source[0] != 'P' && source[0] != 'T')) {
            ++log.badLines;
            continue;
        }
        f.flying = flying == 1;
        f.source = source[0];
        log.frames.push_back(f);
    }
    return log;
}

LogFigures measureLog(const Log& log)
{
    LogFigures out;
    std::vector<Read> reads;
    const LogFrame* last = nullptr; // the previous flying frame of the same flight
    std::int64_t ticks = 0;
    int run = 0;
    for (const LogFrame& f : log.frames) {
        if (!f.flying) {
            last = nullptr;
            continue;
        }
        ++out.frames;
        out.presentFrames += f.source == 'P' ? 1 : 0;
        if (!last) {
            ++run;
            reads.push_back({f.msc, f.blankUs / 1e6, f.left, f.top, run});
            last = &f;
            continue;
        }
        const std::int64_t gap = f.msc - last->msc;
        if (gap <= 0) {
            // Drawn again for the same blank: the screen shows the later frame.
            ++out.sameBlank;
            reads.back().x = f.left;
            reads.back().y = f.top;
            ticks += f.ticks - last->ticks;
            last = &f;
            continue;
        }
        // Blanks that got no frame show the last one again.
        for (std::int64_t k = 1; k < gap; ++k) {
            const double t = last->blankUs + (f.blankUs - last->blankUs) * static_cast<double>(k) / static_cast<double>(gap);
            reads.push_back({last->msc + k, t / 1e6, last->left, last->top, run});
        }
        out.missedBlanks += static_cast<int>(gap - 1);
        reads.push_back({f.msc, f.blankUs / 1e6, f.left, f.top, run});
        out.flyingSeconds += (f.blankUs - last->blankUs) / 1e6;
        ticks += f.ticks - last->ticks;
        last = &f;
    }
    out.motion = measure(reads, 0.01);
    if (out.flyingSeconds > 0) {
        out.framesPerS = (out.frames - run - out.sameBlank) / out.flyingSeconds;
        out.ticksPerS = static_cast<double>(ticks) / out.flyingSeconds;
    }
    return out;
}

} // namespace motion
