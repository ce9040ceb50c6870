// Keys and gamepads steer and launch through the main window's real input path; looking away
// stops the ball in flight. Time moves only by the manual clock: one steering step per 16 ms.
#include "dialogs/form5.h"
#include "game/game_helpers.h"
#include "input/steering.h"
#include "shell/program.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMenuBar>
#include <QTest>
#include <QWidget>
#include <QWindow>
#include <SDL.h>
#include <gtest/gtest.h>

using testing_support::GameFixture;

namespace {

// X11's scan codes (the kernel's key code + 8) of the keys in A's and D's places.
constexpr quint32 kAPlace = 38, kDPlace = 40;

void send(Form1& f1, QEvent::Type type, int key, quint32 scanCode = 0, Qt::KeyboardModifiers mods = {},
          const QString& text = {}, bool autoRepeat = false)
{
    QKeyEvent e(type, key, mods, scanCode, 0, 0, text, autoRepeat);
    QApplication::sendEvent(f1.topLevel()->windowHandle(), &e);
}
void press(Form1& f1, int key, quint32 scanCode = 0, const QString& text = {}) { send(f1, QEvent::KeyPress, key, scanCode, {}, text); }
void release(Form1& f1, int key, quint32 scanCode = 0) { send(f1, QEvent::KeyRelease, key, scanCode); }

// The ball speed as the options' slider sets it, slider / 10.
void setSpeed(Form1& f1, int slider)
{
    f1.forms().form5().HScroll1.setValue(slider);
    f1.forms().form5().HScroll1_Change();
}

float rightmost(Form1& f1)
{
    return mmFromTwips(f1.clientWidth()) - f1.deck.width();
}

// A ball in flight, up and to the right, far from everything.
void flying(Form1& f1)
{
    farCellOnly(f1);
    f1.Timer1.setEnabled(true);
    f1.hdir = 1;
    f1.vdir = 1;
    placeBall(f1, 70, 60);
}

} // namespace

// From the left edge to the right one with → held, at every speed of the options' slider: the
// first step comes with the press, full speed after a short ramp, and the paddle crosses before a
// ball turning at the top wall (10 mm) could come down to the paddle line (108 mm).
TEST(Keys, HeldArrowCrossesTheStripBeforeTheBallComesDownAndStopsAtTheEdge)
{
    GameFixture fx;
    Form1& f1 = playing(fx);
    for (int slider = 0; slider <= 100; ++slider) {
        SCOPED_TRACE(slider);
        setSpeed(f1, slider);
        f1.deck.setLeft(0);
        press(f1, Qt::Key_Right);
        EXPECT_FLOAT_EQ(f1.deck.left(), input::fullSpeed(f1.skor) / input::kRampSteps) << "moves on the press";
        int steps = 1;
        while (f1.deck.left() < rightmost(f1) && steps < 200) {
            fx.tick();
            ++steps;
        }
        EXPECT_FLOAT_EQ(f1.deck.left(), rightmost(f1));
        if (slider > 0) {
            EXPECT_LE(static_cast<float>(steps), (108 - 10) / f1.skor);
        }
        EXPECT_EQ(f1.ball.left(), f1.deck.left() + 10) << "the resting ball rides along";
        fx.tick();
        EXPECT_FLOAT_EQ(f1.deck.left(), rightmost(f1)) << "stays at the edge";
        release(f1, Qt::Key_Right);
    }
    fx.tick();
    EXPECT_EQ(fx.enabledTimers(), 0u) << "nothing ticks once the keys are up";
}

// The paddle's speed follows the game's ball speed whatever set it, not only the options' slider.
TEST(Keys, ThePaddleGoesByTheBallSpeedTheGameHasNow)
{
    GameFixture fx;
    Form1& f1 = playing(fx);
    f1.skor = 7.5f;
    f1.deck.setLeft(0);
    press(f1, Qt::Key_Right);
    EXPECT_FLOAT_EQ(f1.deck.left(), input::fullSpeed(7.5f) / input::kRampSteps);
    release(f1, Qt::Key_Right);
}

// The keys steer and launch from the strip. A text box with the focus takes every key that types or
// edits (the level jump's word stays typeable, spaces and all) and no key steers or launches there;
// Enter, Esc, Tab and a click on the playfield give the keys back to the game. The system's repeats
// of a held key change nothing, and a key whose release went to another window stops when the focus
// goes.
TEST(Keys, TheStripSteersAndLaunchesWhileATextBoxTakesEveryTypingKey)
{
    GameFixture fx;
    Form1& f1 = playing(fx);
    setSpeed(f1, 40);
    f1.show();
    QApplication::setActiveWindow(f1.topLevel());
    f1.Text1.setText({});
    // From the moment the window opens D steers, as → does.
    const float opened = f1.deck.left();
    send(f1, QEvent::KeyPress, Qt::Key_D, kDPlace, {}, QStringLiteral("d"));
    send(f1, QEvent::KeyRelease, Qt::Key_D, kDPlace);
    EXPECT_FLOAT_EQ(f1.deck.left(), opened + 1.6f) << "D did not steer in the window just opened";
    EXPECT_EQ(f1.Text1.text(), "");

    // With the caret in the hint line every key types or edits, under either layout.
    f1.Text1.setFocus();
    const float start = f1.deck.left();
    const struct {
        int key;
        quint32 scanCode;
        Qt::KeyboardModifiers mods;
        const char* text;
    } typed[] = {{Qt::Key_D, kDPlace, {}, "d"}, {Qt::Key_Space, 65, {}, " "}, {0x0444, kAPlace, {}, "ф"},
                 {Qt::Key_Space, 65, Qt::ShiftModifier, " "}, {Qt::Key_Left, 113, {}, ""},
                 {Qt::Key_Left, 113, {}, ""}, {Qt::Key_Backspace, 22, {}, ""}, {Qt::Key_End, 115, {}, ""},
                 {Qt::Key_1, 10, {}, "1"}, {Qt::Key_Period, 60, {}, "."}};
    for (const auto& t : typed) {
        send(f1, QEvent::KeyPress, t.key, t.scanCode, t.mods, QString::fromUtf8(t.text));
        fx.tick();
        send(f1, QEvent::KeyRelease, t.key, t.scanCode, t.mods);
    }
    EXPECT_EQ(f1.Text1.text(), "dф 1.") << "the caret moved back two, Backspace took the first space";
    EXPECT_EQ(f1.deck.left(), start);
    EXPECT_FALSE(f1.Timer1.enabled()) << "a key launched from the hint line";
    send(f1, QEvent::KeyPress, Qt::Key_A, kAPlace, Qt::ControlModifier);
    send(f1, QEvent::KeyPress, Qt::Key_Right, 114);
    fx.tick(3);
    send(f1, QEvent::KeyRelease, Qt::Key_Right, 114);
    EXPECT_EQ(f1.deck.left(), start) << "Ctrl+A or → steered";

    // Enter hands the keys back without a launch; then the arrows steer and repeats change nothing.
    press(f1, Qt::Key_Return);
    EXPECT_TRUE(f1.polos.hasFocus());
    EXPECT_FALSE(f1.Timer1.enabled()) << "Enter in the hint line launched";
    press(f1, Qt::Key_Left);
    fx.tick(2);
    const float afterThree = f1.deck.left();
    EXPECT_FLOAT_EQ(afterThree, start - 1.6f * (1 + 2 + 3));
    send(f1, QEvent::KeyPress, Qt::Key_Left, 0, {}, {}, true); // the system repeats the key
    send(f1, QEvent::KeyRelease, Qt::Key_Left, 0, {}, {}, true);
    fx.tick();
    EXPECT_FLOAT_EQ(f1.deck.left(), afterThree - 1.6f * 4) << "the ramp goes on, the held key never let go";
    f1.Program_FocusLeft();
    const float stopped = f1.deck.left();
    fx.tick(3);
    EXPECT_EQ(f1.deck.left(), stopped);
    EXPECT_EQ(f1.Text1.text(), "dф 1.");

    // Tab reaches the hint line from the strip and leaves it again; so do a click there and a click
    // on the playfield, which launches nothing.
    press(f1, Qt::Key_Tab);
    EXPECT_TRUE(f1.Text1.hasFocus());
    press(f1, Qt::Key_Tab);
    EXPECT_TRUE(f1.polos.hasFocus());
    f1.Text1.setFocus();
    QTest::mouseClick(f1.surface(), Qt::LeftButton, {}, QPoint(300, 200));
    EXPECT_TRUE(f1.polos.hasFocus());
    EXPECT_FALSE(f1.Timer1.enabled());

    // Space launches from the strip, Shift+Space is the trick, Enter launches too.
    press(f1, Qt::Key_Space, 0, QStringLiteral(" "));
    EXPECT_TRUE(f1.Timer1.enabled()) << "Space launches";
    EXPECT_EQ(f1.hdir, 1.0f);
    f1.score = 45;
    send(f1, QEvent::KeyPress, Qt::Key_Space, 0, Qt::ShiftModifier, QStringLiteral(" "));
    EXPECT_EQ(f1.hdir, 0.0f) << "Shift+Space is the trick";
    EXPECT_EQ(f1.score, 25.0f);
    f1.Timer1.setEnabled(false);
    press(f1, Qt::Key_Return);
    EXPECT_TRUE(f1.Timer1.enabled()) << "Enter launches";
    EXPECT_EQ(f1.Text1.text(), "dф 1.");

    // The menu bar, reached by Alt, walks its menus with the arrows and opens one with Enter: the
    // game's keys leave it alone.
    f1.Timer1.setEnabled(false);
    const float beforeMenus = f1.deck.left();
    f1.menuBar()->setFocus(Qt::MenuBarFocusReason);
    press(f1, Qt::Key_Right);
    fx.tick(3);
    release(f1, Qt::Key_Right);
    press(f1, Qt::Key_Space, 0, QStringLiteral(" "));
    EXPECT_EQ(f1.deck.left(), beforeMenus) << "→ steered instead of walking the menu bar";
    EXPECT_FALSE(f1.Timer1.enabled()) << "Space launched from the menu bar";
}

// Keys that are no command of the game's do nothing, on the strip or anywhere in the window: each
// pressed and let go neither launches, nor steers, nor reads the map. Shift held over a Shift-click
// charges the trick once.
TEST(Keys, EveryOtherKeyIsNoCommand)
{
    GameFixture fx;
    Form1& f1 = playing(fx);
    setSpeed(f1, 40);
    f1.show();
    QApplication::setActiveWindow(f1.topLevel());
    f1.cells = {}; // a map read would bring the level's cells back
    f1.score = 45;
    const float paddle = f1.deck.left();
    std::vector<std::pair<int, Qt::KeyboardModifiers>> keys = {
        {Qt::Key_Shift, Qt::ShiftModifier}, {Qt::Key_Control, Qt::ControlModifier}, {Qt::Key_Alt, Qt::AltModifier},
        {Qt::Key_AltGr, {}}, {Qt::Key_Super_L, Qt::MetaModifier}, {Qt::Key_Meta, Qt::MetaModifier},
        {Qt::Key_CapsLock, {}}, {Qt::Key_NumLock, {}}, {Qt::Key_Escape, {}}, {Qt::Key_Home, {}}, {Qt::Key_End, {}},
        {Qt::Key_PageUp, {}}, {Qt::Key_PageDown, {}}, {Qt::Key_Insert, {}}, {Qt::Key_Delete, {}},
        {Qt::Key_Backspace, {}}, {Qt::Key_Menu, {}}, {Qt::Key_VolumeUp, {}}};
    for (int f = 0; f < 12; ++f)
        keys.emplace_back(Qt::Key_F1 + f, Qt::KeyboardModifiers{});
    for (QWidget* focus : {static_cast<QWidget*>(nullptr), f1.polos.widget()}) {
        if (focus)
            focus->setFocus();
        for (const auto& [key, mods] : keys) {
            SCOPED_TRACE(key);
            send(f1, QEvent::KeyPress, key, 0, mods);
            fx.tick();
            send(f1, QEvent::KeyRelease, key, 0);
            fx.tick();
            EXPECT_FALSE(f1.Timer1.enabled());
            EXPECT_EQ(f1.deck.left(), paddle);
            EXPECT_EQ(f1.cells[1][1], 0.0f) << "the map was read";
            EXPECT_EQ(f1.score, 45.0f);
        }
    }
    send(f1, QEvent::KeyPress, Qt::Key_Shift, 0, Qt::ShiftModifier);
    f1.polos_MouseDown({1, 1, 3000, 300});
    send(f1, QEvent::KeyRelease, Qt::Key_Shift, 0);
    EXPECT_EQ(f1.score, 25.0f) << "one trick, charged once";
}

// A paddle the mouse left beyond the right edge is not pulled back by a key; the keys move it only
// the way they steer, and stop at the left edge.
TEST(Keys, MixedWithTheMouseThePaddleNeverJumps)
{
    GameFixture fx;
    Form1& f1 = playing(fx);
    setSpeed(f1, 40);
    f1.polos_MouseMove({0, 0, 9000, 300});
    EXPECT_EQ(f1.deck.left(), 150.0f);
    press(f1, Qt::Key_Right);
    EXPECT_EQ(f1.deck.left(), 150.0f);
    release(f1, Qt::Key_Right);
    press(f1, Qt::Key_Left);
    EXPECT_FLOAT_EQ(f1.deck.left(), 148.4f);
    f1.polos_MouseMove({0, 0, 600, 300}); // the mouse takes over, the key goes on from there
    fx.tick();
    EXPECT_FLOAT_EQ(f1.deck.left(), 10 - 3.2f);
    fx.tick(10);
    EXPECT_EQ(f1.deck.left(), 0.0f);
    release(f1, Qt::Key_Left);
}

// Looking away stops the ball at once; a move to another window of the game lets it go on. On
// return nothing starts by itself, and the next action goes on from where the ball stood.
TEST(LookAway, BallHangsUntilTheNextActionAndGoesOnAsItWas)
{
    GameFixture fx;
    Form1& f1 = playing(fx);
    setSpeed(f1, 40);
    f1.show();
    flying(f1);
    f1.Program_FocusLeft();
    EXPECT_FALSE(f1.Timer1.enabled()) << "held at once";
    f1.Program_FocusSettled(true); // the options window, say
    EXPECT_EQ(f1.playState(), actions::PlayState::Flying);

    const auto away = [&] {
        flying(f1);
        f1.hdir = 2;
        f1.dx = 0.8f;
        f1.Program_FocusLeft();
        f1.Program_FocusSettled(false);
        fx.tick(5);
        EXPECT_EQ(f1.playState(), actions::PlayState::LookedAway);
        EXPECT_EQ(f1.ball.left(), 70.0f);
        EXPECT_EQ(f1.ball.top(), 60.0f);
        EXPECT_TRUE(f1.Text1.text().startsWith("ОТВЛЁКСЯ"));
    };
    const auto wentOn = [&](const char* how) {
        SCOPED_TRACE(how);
        EXPECT_TRUE(f1.Timer1.enabled());
        EXPECT_EQ(f1.ball.left(), 70.0f);
        EXPECT_EQ(f1.ball.top(), 60.0f) << "no drop";
        EXPECT_EQ(f1.hdir, 2.0f);
        EXPECT_EQ(f1.vdir, 1.0f);
        EXPECT_EQ(f1.dx, 0.8f);
        fx.tick();
        EXPECT_FLOAT_EQ(f1.ball.left(), 70 - 4 + 0.8f);
        EXPECT_EQ(f1.playState(), actions::PlayState::Flying);
    };

    away();
    f1.polos_MouseMove({0, 0, 3000, 300});
    EXPECT_EQ(f1.deck.left(), 50.0f);
    EXPECT_EQ(f1.ball.left(), 70.0f) << "the pointer moves the paddle, the ball stays in the air";
    f1.cells[1][1] = 0;
    f1.polos_MouseDown({1, 0, 3000, 300});
    EXPECT_EQ(f1.cells[1][1], 0.0f) << "no map read";
    wentOn("strip click");

    away();
    f1.polos_KeyDown(80, 0);
    wentOn("P");

    away();
    press(f1, Qt::Key_Space);
    wentOn("Space");

    away();
    f1.Command2.click();
    wentOn("pause button");

    flying(f1);
    f1.hdir = 2;
    f1.dx = 0.8f;
    f1.topLevel()->showMinimized();
    EXPECT_EQ(f1.playState(), actions::PlayState::LookedAway);
    f1.topLevel()->showNormal();
    f1.polos_MouseDown({1, 0, 3000, 300});
    wentOn("minimised");

    f1.Timer1.setEnabled(false); // a ball not in flight is not held
    f1.Program_FocusLeft();
    f1.Program_FocusSettled(false);
    EXPECT_EQ(f1.playState(), actions::PlayState::Stopped);

    // A reason to stand still lasts only until the ball next flies, whoever starts it.
    f1.Command2.click();
    EXPECT_EQ(f1.playState(), actions::PlayState::Flying);
    f1.Command2.click();
    EXPECT_EQ(f1.playState(), actions::PlayState::Paused);
    f1.Timer1.setEnabled(true);
    f1.Timer1.setEnabled(false);
    EXPECT_EQ(f1.playState(), actions::PlayState::Stopped);
}

namespace {

// SDL's virtual joystick as a gamepad: the game finds it as any controller SDL knows.
class VirtualPad {
public:
    VirtualPad()
    {
        SDL_VirtualJoystickDesc desc{};
        desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
        desc.naxes = SDL_CONTROLLER_AXIS_MAX;
        desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
        desc.name = "Plinkat test pad";
        const int index = SDL_JoystickAttachVirtualEx(&desc);
        m_joystick = index >= 0 ? SDL_JoystickOpen(index) : nullptr;
    }
    ~VirtualPad() { unplug(); }
    bool ok() const { return m_joystick != nullptr; }
    void stick(Sint16 x) { SDL_JoystickSetVirtualAxis(m_joystick, SDL_CONTROLLER_AXIS_LEFTX, x); }
    void button(SDL_GameControllerButton b, bool down) { SDL_JoystickSetVirtualButton(m_joystick, b, down ? 1 : 0); }
    void unplug()
    {
        if (!m_joystick)
            return;
        const SDL_JoystickID id = SDL_JoystickInstanceID(m_joystick);
        SDL_JoystickClose(m_joystick);
        m_joystick = nullptr;
        for (int i = 0; i < SDL_NumJoysticks(); ++i)
            if (SDL_JoystickGetDeviceInstanceID(i) == id)
                SDL_JoystickDetachVirtual(i);
    }

private:
    SDL_Joystick* m_joystick = nullptr;
};

} // namespace

// Plugged in while the game runs: the stick steers in proportion beyond its dead zone, the D-pad
// as the arrows, A launches, Start pauses; unplugged, the game plays on and polls only now and then.
TEST(Gamepad, VirtualPadSteersLaunchesAndPausesAndMayBeUnplugged)
{
    GameFixture fx;
    Form1& f1 = playing(fx);
    setSpeed(f1, 40); // full speed 8 mm per tick
    f1.show();
    QApplication::setActiveWindow(f1.topLevel());
    ASSERT_TRUE(f1.controls.startGamepads()) << "no SDL joystick support";
    EXPECT_EQ(f1.controls.timer.interval(), 1000) << "no pad: only a look now and then";
    VirtualPad pad;
    ASSERT_TRUE(pad.ok()) << SDL_GetError();
    fx.advance(1000);
    EXPECT_EQ(f1.controls.timer.interval(), 16);

    const auto stepsOf = [&](Sint16 x) {
        pad.stick(x);
        fx.tick(); // the poll sees the stick
        const float before = f1.deck.left();
        fx.tick();
        return f1.deck.left() - before;
    };
    f1.deck.setLeft(60);
    EXPECT_EQ(stepsOf(8000), 0.0f) << "inside the dead zone";
    EXPECT_FLOAT_EQ(stepsOf(32767), 8.0f);
    EXPECT_NEAR(stepsOf(-16384), -8.0f * (0.5f - 0.25f) / 0.75f, 0.01f);
    pad.stick(0);
    fx.tick();

    const float before = f1.deck.left();
    pad.button(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, true);
    fx.tick();
    EXPECT_FLOAT_EQ(f1.deck.left(), before + 1.6f);
    pad.button(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, false);
    fx.tick(2);
    EXPECT_FLOAT_EQ(f1.deck.left(), before + 1.6f);

    pad.button(SDL_CONTROLLER_BUTTON_A, true);
    fx.tick();
    pad.button(SDL_CONTROLLER_BUTTON_A, false);
    EXPECT_TRUE(f1.Timer1.enabled()) << "A launches";
    pad.button(SDL_CONTROLLER_BUTTON_START, true);
    fx.tick();
    pad.button(SDL_CONTROLLER_BUTTON_START, false);
    EXPECT_FALSE(f1.Timer1.enabled()) << "Start pauses";

    // Behind another program the gamepad does nothing: no steering, no launch, no resume.
    QApplication::setActiveWindow(nullptr);
    const float behind = f1.deck.left();
    pad.stick(32767);
    pad.button(SDL_CONTROLLER_BUTTON_A, true);
    fx.tick(3);
    pad.button(SDL_CONTROLLER_BUTTON_A, false);
    EXPECT_EQ(f1.deck.left(), behind) << "the stick steered behind another program";
    EXPECT_FALSE(f1.Timer1.enabled()) << "A launched behind another program";
    QApplication::setActiveWindow(f1.topLevel());
    fx.tick(2);
    EXPECT_GT(f1.deck.left(), behind) << "back in the game, the stick steers again";
    // Nor while a handler waits in a message box, whose modality holds back only the mouse and keys.
    pad.stick(0);
    fx.whileBoxWaits = [&](const QString&) {
        pad.button(SDL_CONTROLLER_BUTTON_A, true);
        fx.tick(2);
        pad.button(SDL_CONTROLLER_BUTTON_A, false);
    };
    shell::msgBox(QStringLiteral("БАБАХ !!!"));
    fx.whileBoxWaits = {};
    EXPECT_FALSE(f1.Timer1.enabled()) << "A launched while a box waited";

    pad.unplug();
    fx.tick(3);
    EXPECT_EQ(f1.controls.timer.interval(), 1000);
    const float unplugged = f1.deck.left();
    fx.advance(2000);
    EXPECT_EQ(f1.deck.left(), unplugged);
}
