#include "input/controls.h"

#include "input/gamepads.h"
#include "shell/keys.h"
#include "shell/program.h"
#include "shell/focus.h"
#include "shell/window.h"

namespace input {

namespace {

// The steering keys held, one bit each in the key table's order.
int bitOf(const shell::KeyArgs& k)
{
    for (int i = 0; i < static_cast<int>(std::size(kSteeringKeys)); ++i)
        if (kSteeringKeys[i].keyCode == k.keyCode)
            return 1 << i;
    return 0;
}

// The direction the held keys give: left or right, or none when both or neither are held.
int heldDirection(int keys)
{
    bool left = false, right = false;
    for (int i = 0; i < static_cast<int>(std::size(kSteeringKeys)); ++i)
        if (keys & (1 << i))
            (kSteeringKeys[i].direction < 0 ? left : right) = true;
    return (right ? 1 : 0) - (left ? 1 : 0);
}

} // namespace

Controls::Controls(actions::GameActions& game, const shell::Window& window) : m_game(game), m_window(window)
{
    timer.onTick = [this] { tick(); };
}

Controls::~Controls() = default;

KeyCommand Controls::keyDown(const shell::KeyArgs& k)
{
    const KeyCommand command = commandOf(k);
    if (k.autoRepeat)
        return command; // held already: the press counted
    switch (command) {
    case KeyCommand::Launch:
    case KeyCommand::Trick:
        m_game.launch(command == KeyCommand::Trick);
        break;
    case KeyCommand::SteerLeft:
    case KeyCommand::SteerRight:
        m_keys |= bitOf(k);
        steerNow();
        break;
    case KeyCommand::None:
    case KeyCommand::EndTyping:
        break;
    }
    return command;
}

void Controls::keyUp(const shell::KeyArgs& k)
{
    const int bit = bitOf(k);
    if (k.autoRepeat || !(m_keys & bit))
        return;
    m_keys &= ~bit;
    steerNow();
}

void Controls::releaseKeys()
{
    m_keys = 0;
    steerNow();
}

bool Controls::startGamepads()
{
    if (!m_pads) {
        m_pads = std::make_unique<Gamepads>();
        if (!m_pads->start()) {
            m_pads.reset();
            return false;
        }
        takePads(m_pads->poll()); // the gamepads plugged in already
    }
    steerNow();
    return true;
}

bool Controls::padsMayAct() const
{
    return m_window.visible() && !m_window.minimized() && shell::programActive() && !shell::boxWaiting();
}

void Controls::takePads(const PadState& pads)
{
    if (!padsMayAct()) {
        m_padHeld = 0;
        m_steering.setStick(0);
        return;
    }
    m_padHeld = pads.held;
    m_steering.setStick(pads.stick);
    if (pads.launch)
        m_game.launch(false);
    if (pads.pause)
        m_game.pauseOrResume();
}

// The direction held on the keys (which win) or the D-pads; true when a new one was set off.
bool Controls::takeHeld()
{
    const int keys = heldDirection(m_keys);
    const int held = keys != 0 ? keys : m_padHeld;
    const bool setOff = held != 0 && held != m_steering.held();
    m_steering.setHeld(held);
    return setOff;
}

// A press or release moves the paddle at once, on the event itself, when it sets off a new
// direction; the timer takes it on from there, a full period later.
void Controls::steerNow()
{
    const bool setOff = takeHeld();
    if (setOff)
        move();
    retime(setOff);
}

// Every 16 ms while the paddle moves or a gamepad is connected; with gamepad support and none
// connected, now and then to find one plugged in; otherwise never.
void Controls::retime(bool restart)
{
    int interval = 0;
    if (m_steering.moving() || (m_pads && m_pads->connected()))
        interval = 16;
    else if (m_pads)
        interval = Gamepads::kSearchMs;
    if (interval == 0) {
        if (timer.enabled())
            timer.setEnabled(false);
        return;
    }
    if (restart || !timer.enabled() || timer.interval() != interval) {
        timer.setInterval(interval);
        timer.setEnabled(true);
    }
}

void Controls::tick()
{
    if (m_pads)
        takePads(m_pads->poll());
    const bool setOff = takeHeld();
    if (m_steering.moving())
        move();
    retime(setOff);
}

void Controls::move()
{
    const float mm = m_steering.step(m_game.ballSpeed());
    if (mm != 0)
        m_game.steerBy(mm);
}

} // namespace input
