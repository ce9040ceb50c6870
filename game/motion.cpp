// What moves on screen: the ball and the paddle drawn by frames paced by the display, between the
// ticks that move them. The game's state stays the controls' Left and Top, set by the ticks and
// handlers as ever; only where the controls are drawn follows the frames.
//
// A tick of the ball or of the steering holds the two controls where they are drawn while it runs;
// what it moved then glides there, drawn at each frame where the frame's time puts it between the
// places before and after the tick (at most one tick behind the game). Any other move (the mouse
// steering, the ball put on the paddle, the P key's drop, a level's start) is drawn at once, and a
// ball that stops (paused, lost, looked away from) stands exactly at its Left and Top. Frames run
// only while something moves.
#include "game/form1.h"

#include "game/forms.h"
#include "shell/program.h"

namespace {

QPointF placeOf(const shell::Control& c)
{
    return {c.left(), c.top()};
}

} // namespace

void Form1::Glider::stand()
{
    glide.snap(placeOf(control));
    driver = nullptr;
}

void Form1::startFrames(const Forms& forms)
{
    const bool byHand = forms.framesByHand();
    if (!shell::realClock() && !byHand)
        return; // drawn at once, as a test that draws no frames expects
    m_frames = std::make_unique<frames::FrameClock>([this](const frames::Frame& f) { Frame_Draw(f); }, !byHand);
    m_frames->setWindow(topLevel());
    m_frameLog = frames::FrameLog::fromEnvironment();
    Timer1.onTick = [this] { glidingTick(Timer1, [this] { Timer1_Tick(); }); };
    controls.timer.onTick = [this, steer = controls.timer.onTick] { glidingTick(controls.timer, steer); };
}

void Form1::glidingTick(shell::Timer& timer, const std::function<void()>& work)
{
    Glider* const gliders[] = {&m_ballGlide, &m_deckGlide};
    QPointF from[std::size(gliders)];
    bool held[std::size(gliders)];
    for (std::size_t i = 0; i < std::size(gliders); ++i) {
        from[i] = placeOf(gliders[i]->control);
        held[i] = gliders[i]->control.held();
        gliders[i]->control.setHeld(true);
    }
    work();
    if (&timer == &Timer1)
        ++m_ballTicks;
    const shell::Micros period = static_cast<shell::Micros>(shell::Clock::periodOf(timer.interval())) * 1000;
    // Frames draw what moved, even a move of a tick that ran late and glides no more: the frame
    // puts it in its place and stops when nothing else moves.
    bool moving = Timer1.enabled();
    for (std::size_t i = 0; i < std::size(gliders); ++i) {
        Glider& g = *gliders[i];
        g.control.setHeld(held[i]);
        if (const QPointF to = placeOf(g.control); to != from[i]) {
            g.glide.ticked(from[i], to, timer.tickTime(), period);
            g.driver = &timer;
            moving = true;
        }
    }
    if (m_ballGlide.driver == &Timer1 && !Timer1.enabled()) {
        m_ballGlide.stand(); // stopped in its tick: it stands where the game left it
        ball.drawAt(std::nullopt);
    }
    if (moving && !shell::programEnded())
        m_frames->start();
}

void Form1::Frame_Draw(const frames::Frame& frame)
{
    if (shell::programEnded()) {
        m_frames->stop(); // nothing ticks or moves any more
        return;
    }
    // Every tick due by the frame's time runs first, so that no frame shows a tick late.
    shell::clock().runDue(frame.time);
    const bool flying = Timer1.enabled();
    bool sliding = false;
    for (Glider* g : {&m_ballGlide, &m_deckGlide}) {
        const bool stoppedBall = g == &m_ballGlide && g->driver == &Timer1 && !flying;
        if (placeOf(g->control) != g->glide.target() || stoppedBall)
            g->stand(); // moved by no tick, or a ball that stopped: drawn where it is, at once
        sliding = sliding || g->glide.sliding(frame.time);
        g->control.drawAt(g->glide.at(frame.time));
    }
    if (m_frameLog)
        m_frameLog->write(frame, shell::monotonicMicros(), m_ballGlide.glide.at(frame.time),
                          m_ballGlide.glide.share(frame.time), flying, m_ballTicks);
    if (flying || sliding)
        return;
    // Nothing moves: the frames stop, and the ball and the paddle stand at their own places.
    m_frames->stop();
    ball.drawAt(std::nullopt);
    deck.drawAt(std::nullopt);
    if (m_frameLog)
        m_frameLog->flush();
}

bool Form1::framesRunning() const
{
    return m_frames && m_frames->running();
}
