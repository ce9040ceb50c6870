// The paddle and the launch: the mouse over the playfield strip steers, a press launches.
// A shift state of exactly 1 (Shift alone) counts as Shift.
#include "game/form1.h"
#include "shell/basic.h"

#include <algorithm>

namespace {
constexpr int kShift = 1;
constexpr int kKeyP = 'P';
constexpr float kStripTwipsPerMm = 60; // the strip's twips to the window's millimetres
constexpr float kTrickCost = 20;

// A ball that stands still rides on the paddle, but not one hanging in the air since the player
// looked away.
bool ridesOnPaddle(actions::PlayState s)
{
    return s != actions::PlayState::Flying && s != actions::PlayState::LookingAway && s != actions::PlayState::LookedAway;
}
} // namespace

void Form1::polos_MouseMove(const shell::MouseArgs& a)
{
    if (a.shift == kShift)
        Text1.setText(QStringLiteral("clic + shift"));
    if (!Timer1.enabled())
        Text1.setText(QStringLiteral("ПОЕХАЛИ, типа СТАРТ"));
    deck.setLeft(a.x / kStripTwipsPerMm);
    if (ridesOnPaddle(playState()))
        ball.setLeft(deck.left() + 10);
}

// Keys and gamepads steer as the mouse does, but stop the paddle at the window's edges. A paddle
// the mouse left beyond an edge is not pulled back: it only moves the way it is steered.
void Form1::steerBy(float mm)
{
    const float from = deck.left();
    const float rightmost = mmFromTwips(clientWidth()) - deck.width();
    float to = from + mm;
    if (mm > 0)
        to = std::max(from, std::min(to, rightmost));
    else
        to = std::min(from, std::max(to, 0.0f));
    deck.setLeft(to);
    if (ridesOnPaddle(playState()))
        ball.setLeft(deck.left() + 10);
}

void Form1::polos_MouseDown(const shell::MouseArgs& a)
{
    launch(a.shift == kShift);
}

void Form1::launch(bool trick)
{
    if (resumeFromAway())
        return;
    // From a stopped game the level's map is read afresh; a broken map keeps play stopped.
    if (!Timer1.enabled() && !loadLevelMap())
        return;
    if (trick) {
        hdir = 0;
        score = score - kTrickCost;
        if (score <= 0) {
            score = 0;
            restBallOnPaddle(deck.top() - 8);
            Text1.setText(QStringLiteral("ТАК НЕЛЬЗЯ"));
            if (!Timer1.enabled())
                holdStill(PlayState::Resting);
        }
        return;
    }
    cls();
    Timer1.setEnabled(true);
    hdir = 1;
    vdir = 1;
}

void Form1::polos_KeyDown(int keyCode, int /*shift*/)
{
    if (keyCode != kKeyP)
        return;
    if (resumeFromAway())
        return;
    if (Timer1.enabled()) {
        holdStill(PlayState::Paused);
        return;
    }
    ball.setTop(ball.top() + 30);
    Timer1.setEnabled(true);
    hdir = 2;
}

void Form1::deck_Click()
{
    hdir = 0;
}
