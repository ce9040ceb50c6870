// The ball's motion as the game itself saw it: reads the frame log the game writes when
// PLINKAT_FRAME_LOG names a file, and prints, over the frames drawn while the ball flew, the same
// figures plinkat_frame_probe reads off the screen (frames drawn per second, frames frozen or
// doubled per second, judder) and the game's pace (ball ticks per second against 62.5).
//
//   plinkat_frame_stats <frame log>
// prints key=value lines; exits 1 if the file cannot be read or holds no flying frame.
#include "motion.h"

#include <cstdio>
#include <fstream>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <frame log>\n", argv[0]);
        return 2;
    }
    std::ifstream in(argv[1]);
    if (!in) {
        std::fprintf(stderr, "cannot read %s\n", argv[1]);
        return 1;
    }
    const motion::Log log = motion::readLog(in);
    const motion::LogFigures f = motion::measureLog(log);
    const motion::Figures& m = f.motion;
    std::printf("log_lines=%zu\nlog_bad_lines=%d\nlog_flying_frames=%d\nlog_present_frames=%d\n", log.frames.size(),
                log.badLines, f.frames, f.presentFrames);
    std::printf("log_flying_s=%.2f\nlog_frames_per_s=%.1f\nlog_missed_blanks=%d\nlog_same_blank_frames=%d\n",
                f.flyingSeconds, f.framesPerS, f.missedBlanks, f.sameBlank);
    std::printf("log_stretches=%d\nlog_stretch_s=%.2f\nlog_new_per_s=%.1f\nlog_frozen_or_doubled_per_s=%.2f\n",
                m.stretches, m.seconds, m.newPerS, m.frozenPerS + m.doubledPerS);
    std::printf("log_frozen_per_s=%.2f\nlog_doubled_per_s=%.2f\nlog_judder_percent=%.1f\n", m.frozenPerS,
                m.doubledPerS, 100 * m.judder);
    std::printf("log_ticks_per_s=%.2f\nlog_pace=%.3f\n", f.ticksPerS, f.ticksPerS / 62.5);
    return f.frames > 0 ? 0 : 1;
}
