#include "frames/frame_log.h"

#include <QByteArray>
#include <cinttypes>

namespace frames {

std::unique_ptr<FrameLog> FrameLog::fromEnvironment()
{
    const QByteArray path = qgetenv("PLINKAT_FRAME_LOG");
    if (path.isEmpty())
        return nullptr;
    std::FILE* f = std::fopen(path.constData(), "w");
    if (!f)
        return nullptr;
    std::setvbuf(f, nullptr, _IOFBF, 1 << 16); // written out in large pieces, off the frames' way
    std::fputs("# blank_us count drawn_us left_mm top_mm share flying ticks source\n", f);
    return std::unique_ptr<FrameLog>(new FrameLog(f));
}

FrameLog::~FrameLog()
{
    std::fclose(m_file);
}

void FrameLog::write(const Frame& frame, Micros drawn, QPointF ball, double share, bool flying, unsigned ticks)
{
    std::fprintf(m_file, "%" PRId64 " %" PRIu64 " %" PRId64 " %.4f %.4f %.4f %d %u %c\n", frame.time, frame.count,
                 drawn, ball.x(), ball.y(), share, flying ? 1 : 0, ticks, frame.blank ? 'P' : 'T');
}

} // namespace frames
