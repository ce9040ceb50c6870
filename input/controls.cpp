#include "input/controls.h"

#include "input/gamepads.h"

namespace input {

namespace {

constexpr int kCtrlOrAlt = 2 | 4;
constexpr int kKeyA = 'A';
constexpr int kKeyD = 'D';

// The steering keys, one bit each; the first two steer left.
constexpr int kSteeringKeys[] = {shell::kKeyLeft, kKeyA, shell::kKeyRight, kKeyD};
constexpr int kLeftKeys = 0b0011;
constexpr int kRightKeys = 0b1100;

int bitOf(const shell::KeyArgs& k)
{
    for (int i = 0; i < static_cast<int>(std::size(kSteeringKeys)); ++i)
        if (kSteeringKeys[i] == k.keyCode)
            return 1 << i;
    return 0;
}

bool isLetter(int keyCode)
{
    return keyCode >= 'A' && keyCode <= 'Z';
}

} // namespace

Controls::Controls()
{
    timer.onTick = [this] { tick(); };
}

Controls::~Controls() = default;

bool Controls::keyDown(const shell::KeyArgs& k)
{
    const bool launchKey = k.keyCode == shell::kKeySpace || k.keyCode == shell::kKeyEnter;
    const int bit = bitOf(k);
    // Letters type into a text box, and with Ctrl or Alt they are someone else's shortcut.
    if (!launchKey && (!bit || (isLetter(k.keyCode) && (k.intoText || (k.shift & kCtrlOrAlt)))))
        return false;
    if (k.autoRepeat)
        return true; // held already: the press counted
    if (launchKey) {
        if (onLaunch)
            onLaunch(k.shift);
        return true;
    }
    m_keys |= bit;
    update();
    return true;
}

void Controls::keyUp(const shell::KeyArgs& k)
{
    const int bit = bitOf(k);
    if (k.autoRepeat || !(m_keys & bit))
        return;
    m_keys &= ~bit;
    update();
}

void Controls::releaseKeys()
{
    m_keys = 0;
    update();
}

void Controls::setPadHeld(int direction)
{
    m_padHeld = direction;
    update();
}

void Controls::setStick(float deflection)
{
    m_steering.setStick(deflection);
    update();
}

void Controls::padLaunch()
{
    if (onLaunch)
        onLaunch(0);
}

void Controls::padPause()
{
    if (onPause)
        onPause();
}

bool Controls::startGamepads()
{
    if (!m_pads) {
        m_pads = std::make_unique<Gamepads>(*this);
        if (!m_pads->start()) {
            m_pads.reset();
            return false;
        }
    }
    update();
    return true;
}

// A new direction moves the paddle at once, on the press itself; the timer takes it on from there,
// a full period later.
void Controls::update()
{
    const int keys = ((m_keys & kRightKeys) ? 1 : 0) - ((m_keys & kLeftKeys) ? 1 : 0);
    const int held = keys != 0 ? keys : m_padHeld;
    const bool setOff = held != 0 && held != m_steering.held();
    m_steering.setHeld(held);
    if (setOff && !m_polling)
        move();
    // Every 16 ms while the paddle moves or a gamepad is connected; with gamepad support and none
    // connected, now and then to find one plugged in; otherwise never.
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
    if (setOff || !timer.enabled() || timer.interval() != interval) {
        timer.setInterval(interval);
        timer.setEnabled(true);
    }
}

void Controls::tick()
{
    if (m_pads) {
        m_polling = true; // a new direction found here takes its first step below
        m_pads->poll();   // may call setPadHeld, setStick and the buttons
        m_polling = false;
    }
    if (m_steering.moving())
        move();
    update();
}

void Controls::move()
{
    const float mm = m_steering.step(ballSpeed ? ballSpeed() : 0);
    if (mm != 0 && onSteer)
        onSteer(mm);
}

} // namespace input
