#include "frames/glide.h"

#include <algorithm>

namespace frames {

void Glide::snap(QPointF at)
{
    m_from = m_to = at;
    m_period = 0;
}

void Glide::ticked(QPointF from, QPointF to, Micros due, Micros period)
{
    m_from = from;
    m_to = to;
    m_due = due;
    m_period = period;
}

double Glide::share(Micros time) const
{
    if (m_period <= 0)
        return 1;
    return std::clamp(static_cast<double>(time - m_due) / static_cast<double>(m_period), 0.0, 1.0);
}

QPointF Glide::at(Micros time) const
{
    return m_from + (m_to - m_from) * share(time);
}

bool Glide::sliding(Micros time) const
{
    return m_period > 0 && time < m_due + m_period;
}

} // namespace frames
