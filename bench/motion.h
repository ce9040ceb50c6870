#pragma once
// How smoothly the ball moved, from where it stood at each blank: read off the screen by
// plinkat_frame_probe, or written by the game into its frame log and read by plinkat_frame_stats.
//
// The path is cut into straight stretches at the bounces (where the x or the y step changes its
// sign, or a step is far off the stretch's mean so far); the first and the last step of each
// stretch are left out, since a bounce falls inside them. Within a stretch every blank should
// bring the same step; the figures say how far they do not.
#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

namespace motion {

// Where the ball stood on the screen at one blank.
struct Read {
    std::int64_t blank = 0; // the blank counter
    double t = 0;           // seconds, any origin
    double x = 0, y = 0;    // any unit (pixels or millimetres)
    int run = 0;            // reads of different runs (flights) are never steps of one another
};

struct Figures {
    int stretches = 0;
    int steps = 0;          // steps counted (one per blank)
    double seconds = 0;     // time the counted steps cover
    double newPerS = 0;     // blanks that showed the ball at a new place, per second
    double frozenPerS = 0;  // steps under half the stretch's mean, per second
    double doubledPerS = 0; // steps over one and a half times the stretch's mean, per second
    double judder = 0;      // RMS of (step / stretch's mean step - 1)
    double speedY = 0;      // vertical path over time through whole runs, bounces and all
};

// `still`: a step shorter than this (in the reads' unit) is no move at all, only noise. A gap in
// the blanks of one run ends a stretch, but not the run's vertical path.
Figures measure(const std::vector<Read>& reads, double still);

// One line of the game's frame log: "blank_us msc drawn_us left_mm top_mm share flying ticks source".
struct LogFrame {
    double blankUs = 0;
    std::int64_t msc = 0;
    double drawnUs = 0;
    double left = 0, top = 0; // millimetres
    double share = 0;
    bool flying = false;
    std::int64_t ticks = 0;
    char source = '?'; // 'P' Present, 'T' the fallback timer
};

struct Log {
    std::vector<LogFrame> frames;
    int badLines = 0;
};

// Skips comments ('#') and empty lines; a line that is no frame counts as bad and is left out.
Log readLog(std::istream& in);

struct LogFigures {
    Figures motion;          // from the drawn places, missed blanks filled with the frame still shown
    int frames = 0;          // flying frames in the log
    double flyingSeconds = 0;
    double framesPerS = 0;   // flying frames drawn per second
    int missedBlanks = 0;    // blanks between consecutive flying frames that got no frame
    int sameBlank = 0;       // flying frames drawn again for a blank that already had one
    double ticksPerS = 0;    // ball ticks per second while flying
    int presentFrames = 0;   // flying frames paced by Present ('P')
};

LogFigures measureLog(const Log& log);

} // namespace motion
