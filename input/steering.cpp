#include "input/steering.h"

#include <algorithm>
#include <cmath>

namespace input {

float fullSpeed(float ballSpeed)
{
    return std::max(kSlowestFullSpeed, kFullSpeedPerBallSpeed * ballSpeed);
}

void Steering::setHeld(int direction)
{
    if (direction != m_held)
        m_ramp = 0;
    m_held = direction;
}

bool Steering::moving() const
{
    return m_held != 0 || std::fabs(m_stick) > kDeadZone;
}

float Steering::step(float ballSpeed)
{
    const float full = fullSpeed(ballSpeed);
    if (m_held != 0) {
        m_ramp = std::min(m_ramp + 1, kRampSteps);
        return static_cast<float>(m_held) * full * static_cast<float>(m_ramp) / kRampSteps;
    }
    const float beyond = std::fabs(m_stick) - kDeadZone;
    if (beyond <= 0)
        return 0;
    return std::copysign(full * std::min(1.0f, beyond / (1 - kDeadZone)), m_stick);
}

} // namespace input
