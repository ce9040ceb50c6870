#pragma once
// The frame log: with PLINKAT_FRAME_LOG=FILE in the environment, one line per frame drawn, for
// bench/frame_stats to read:
//
//   blank_us count drawn_us left_mm top_mm share flying ticks source
//
// the blank's time and count (or the fallback timer's), when the frame was drawn (microseconds on
// CLOCK_MONOTONIC), the ball's drawn Left and Top in millimetres, the share of the tick period
// used, whether the ball flies (1 or 0), the ball ticks run so far, and P for a frame paced by a
// blank or T for one drawn by the timer. Lines starting with '#' are comments.
#include "frames/frame_clock.h"

#include <QPointF>
#include <cstdio>
#include <memory>

namespace frames {

class FrameLog {
public:
    // The log the environment asks for, or nothing.
    static std::unique_ptr<FrameLog> fromEnvironment();
    ~FrameLog();
    FrameLog(const FrameLog&) = delete;
    FrameLog& operator=(const FrameLog&) = delete;

    void write(const Frame& frame, Micros drawn, QPointF ball, double share, bool flying, unsigned ticks);
    // Writes out what is kept, as when frames stop.
    void flush() { std::fflush(m_file); }

private:
    explicit FrameLog(std::FILE* file) : m_file(file) {}
    std::FILE* m_file;
};

} // namespace frames
