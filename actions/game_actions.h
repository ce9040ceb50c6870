#pragma once
// What a player can do in the main window, whichever device they use: the mouse on the strip and
// the paddle, the keys and the gamepads all call these, and none fakes another's event.
namespace actions {

// Where play stands, as one value.
enum class PlayState {
    Stopped,     // the ball tick is off for no reason of play's own (the editor is open, say)
    Resting,     // the ball waits on the paddle for the launch
    Flying,      // the ball tick runs
    Paused,      // the player paused the ball in flight
    LookingAway, // a window of the game lost the focus; the ball hangs until it is known where it went
    LookedAway,  // the focus went to another program, or the window was minimised; the ball hangs
};

class GameActions {
public:
    virtual ~GameActions() = default;

    // Launches the ball, as a press on the strip does; the trick stops its sideways motion for a
    // price. A ball hanging since the player looked away goes on as it was.
    virtual void launch(bool trick) = 0;
    // Pauses a flying ball or sets a still one going, as the pause button does; a ball hanging since
    // the player looked away goes on as it was.
    virtual void pauseOrResume() = 0;
    // Moves the paddle by so many millimetres (negative: to the left), stopping at the window's edges.
    virtual void steerBy(float mm) = 0;

    virtual PlayState playState() const = 0;
    // The ball's speed, millimetres per tick along each axis, which sets the paddle's (input/steering.h).
    virtual float ballSpeed() const = 0;
};

} // namespace actions
