#pragma once
// The paddle's speed under the keys, the D-pad and the stick, in millimetres of the main window
// per tick of the steering (16 ms, the ball tick's rate).
//
// Full speed follows the ball's speed `skor` (millimetres per tick): twice `skor`, and never less
// than 3 mm per tick (187 mm/s), so the paddle can still be placed briskly when the ball is slow.
// A key or the D-pad moves the paddle a fifth of full speed on the press itself, two fifths at the
// next tick and so on: full speed from the fifth step on (0.06 s after the press). A tap nudges
// the paddle by a millimetre or two; a held key crosses the strip, from one edge of the window to
// the other (132.3 mm), in these many steps:
//
//   skor        0 .. 1.5   2    3    4 (design)   5    6    7    8    9   10
//   full speed  3          4    6    8           10   12   14   16   18   20 mm per tick
//   crossing    47         36   25   19          16   14   12   11   10    9 steps
//   ball fall   ∞ .. 65    49   33   25          20   16   14   12   11   10 ticks
//
// "Ball fall" is the ball's way from the top wall down to the paddle line (98 mm at `skor` per
// tick): at every speed the options allow, a player who sets off when the ball turns at the top
// reaches any point of the strip before the ball comes down. At the design speed the crossing
// takes 0.29 s (tests/input checks the crossing at every speed).
//
// The stick needs no ramp, its own travel is one: its speed is full speed times the deflection
// beyond a dead zone of a quarter of its travel, from 0 at the zone's edge to full speed at the
// stop.
namespace input {

inline constexpr float kSlowestFullSpeed = 3;     // mm per tick
inline constexpr float kFullSpeedPerBallSpeed = 2; // full speed = 2 x skor
inline constexpr int kRampSteps = 5;              // steps from the press to full speed
inline constexpr float kDeadZone = 0.25f;          // of the stick's travel

// Full speed for a ball speed, in millimetres per tick.
float fullSpeed(float ballSpeed);

class Steering {
public:
    // The direction held on the keys and D-pads: -1 left, 0 none, 1 right. A new direction starts
    // the ramp again.
    void setHeld(int direction);
    int held() const { return m_held; }
    // The stick's deflection, -1 (full left) .. 1 (full right).
    void setStick(float deflection) { m_stick = deflection; }
    // Whether the paddle moves: a direction held, or the stick out of its dead zone.
    bool moving() const;
    // The paddle's next step in millimetres (negative to the left); a held direction takes one
    // step further up the ramp. Held keys win over the stick.
    float step(float ballSpeed);

private:
    int m_held = 0;
    int m_ramp = 0; // steps taken since the direction was set
    float m_stick = 0;
};

} // namespace input
