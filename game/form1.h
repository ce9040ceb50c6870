#pragma once
// The main window: all game state, the playfield and the handlers of its controls and timers.
//
// The main window measures in millimetres of its client area (origin top left, y down);
// ball and paddle positions are the Left/Top of their controls, the drawn boxes are the only
// picture of the cell grid. Its handlers are spread over the subsystems that own them:
// game/ (start-up, ball tick, level flow, paddle, saved game, level jump, editor transfer, melody
// rotation, map load, map save, random map, the "вид" menu, pause and hints, menus, the keys,
// what moves on screen).
#include "actions/game_actions.h"
#include "audio/media_device.h"
#include "frames/frame_clock.h"
#include "frames/frame_log.h"
#include "frames/glide.h"
#include "files/records_txt.h"
#include "input/controls.h"
#include "maps/cells.h"
#include "shell/controls.h"
#include "shell/focus.h"
#include "shell/timer.h"
#include "shell/window.h"

#include <QString>
#include <array>
#include <cstdint>
#include <memory>
#include <optional>

class Forms;
class SoundMenu;
namespace view {
class ViewMenu;
}

// Main window heights in twips for the three difficulties (start screen and options window).
inline constexpr float kHeightEasy = 9765;
inline constexpr float kHeightNormal = 9300;
inline constexpr float kHeightNightmare = 8850;

// Twips to the main window's millimetres.
constexpr float mmFromTwips(double twips)
{
    return static_cast<float>(twips / shell::kTwipsPerMm);
}

class Form1 : public shell::Window, public actions::GameActions {
public:
    explicit Form1(Forms& forms);
    ~Form1() override;

    // --- Public variables, read and written by every window ---
    float skor = 0;     // ball speed, millimetres per tick along each axis (options slider / 10)
    int16_t melodi = 0; // melody bound, from config.cfg
    QString file;       // the last file name built by any handler
    float num = 0;      // number of the next melody

    // --- Game state, used by the main window's own handlers ---
    float level = 0;  // current level; its map is <level>.dbm
    float score = 0;  // points
    float dx = 0;     // horizontal drift, millimetres per tick
    float hdir = 0;   // 1 right, 2 left, 0 no sideways motion
    float vdir = 0;   // 1 up, 2 down
    CellGrid cells{}; // 0 empty, 1 green, 2 yellow, 3 red: hits still to take
    float rndcell = 0;
    bool runKept = false; // this run's score went to the records; the next run starts when the score goes back to 0
    QString unreadSettings; // the config.cfg start-up found but could not read: the end leaves it as it is
    std::uint32_t rndState = 327680; // state of the random-map generator (maps/random_map.cpp), fixed at every start

    // --- Controls ---
    shell::Shape ball;
    shell::PictureBox deck;   // the paddle
    shell::PictureBox polos;  // the playfield strip: steer, launch, pause key
    shell::TextBox Text1;     // hint line
    shell::TextBox Text2;     // motion readout
    shell::Button Command2;   // pause button
    shell::Timer Timer1, Timer2, Timer3, Timer4, Timer5, Timer6, Timer7;
    std::unique_ptr<audio::MediaDevice> MMControl1; // hit effect
    std::unique_ptr<audio::MediaDevice> MMControl2; // melodies
    struct { QString path; } Dir1;                 // hidden folder list: the start-up folder
    input::Controls controls; // keys and gamepads

    // Menu bar.
    shell::MenuItem fil, sa, load, save, map, editor, random, rekord, sped, about;
    std::unique_ptr<view::ViewMenu> vid; // "вид", after them (game/view_menu.h)
    std::unique_ptr<SoundMenu> zvuk;     // "звук", after "вид" (game/sound_menu.h)

    // --- Shared routines ---
    void drawCell(int x, int y);
    void drawGrid();        // drawCell for every cell, x outer, y inner
    // Reads <level>.dbm from the working folder and draws it; on failure tells the player,
    // leaves the cells as they were and returns false.
    bool loadLevelMap() { return loadLevelMap(level); }
    bool loadLevelMap(float ofLevel);
    // Sets file to <level>.dbm and returns its path in the working folder.
    QString levelMapPath() { return levelMapPath(level); }
    QString levelMapPath(float ofLevel);
    QString workingFolder(); // the save/load dialog's folder list path (where it starts until it is built)
    void restBallOnPaddle(float top); // ball Left = paddle Left + 10, ball Top = top
    void closeDevices(); // at the end of the program: the melodies, then the effect
    // The run ends now: its score and level enter the records when they rank (game/level_flow.cpp).
    records_txt::Kept keepRecord();

    // --- Handlers ---
    void Form_Load() override;   // start-up (game/startup.cpp)
    void Form_Unload() override; // shutdown (game/startup.cpp)
    void Timer1_Tick();     // ball tick (game/ball_tick.cpp)
    void levelCleared();    // (game/level_flow.cpp)
    void ballLost();
    void polos_MouseMove(const shell::MouseArgs& a); // steer (game/paddle.cpp)
    void polos_MouseDown(const shell::MouseArgs& a); // launch or trick
    void polos_KeyDown(int keyCode, int shift);      // pause key
    void Program_FocusLeft(); // looking away (game/look_away.cpp)
    void Program_FocusSettled(bool ours);
    void Form_Minimize();
    void deck_Click();
    void deck_MouseDown(const shell::MouseArgs& a);  // level-jump opener (game/level_jump.cpp)
    void Timer7_Tick();
    void save_Click();      // saved game (game/saved_game.cpp)
    void load_Click();
    void Timer2_Tick();     // editor grid transfer (game/editor_transfer.cpp)
    void Timer3_Tick();
    void Timer5_Tick();     // map save (game/map_save.cpp)
    void Timer6_Tick();     // map load (game/map_load.cpp)
    void map_Click();
    void editor_Click();
    void random_Click();    // random map (game/random_map.cpp)
    void Timer4_Tick();     // music start (game/music.cpp)
    void MMControl2_Done(); // next melody
    void Command2_Click();  // pause button (game/pause.cpp)
    void Command2_MouseMove(const shell::MouseArgs& a);
    void Form_MouseMove(const shell::MouseArgs& a);
    bool Form_KeyDown(const shell::KeyArgs& k);       // the window's keys (game/keyboard.cpp)
    void Form_MouseDown(const shell::MouseArgs& a);
    void sped_Click();      // options window (game/menus.cpp)
    void about_Click();     // about window
    void rekord_Click();    // records window

    // --- What every device does: the mouse handlers, the keys and the gamepads call these ---
    using PlayState = actions::PlayState;
    void launch(bool trick) override; // (game/paddle.cpp)
    void pauseOrResume() override;    // (game/pause.cpp)
    void steerBy(float mm) override;  // (game/paddle.cpp)
    PlayState playState() const override; // (game/look_away.cpp)
    float ballSpeed() const override { return skor; }

    Forms& forms() { return m_forms; }

    // --- What moves on screen (game/motion.cpp) ---
    // A frame: the ball and the paddle drawn where the frame's time puts them.
    void Frame_Draw(const frames::Frame& frame);
    bool framesRunning() const;

private:
    // A control that glides between the ticks that move it.
    struct Glider {
        shell::Control& control;
        frames::Glide glide{};
        const shell::Timer* driver = nullptr; // the timer whose tick moved it last
        void stand();                         // drawn where it is, at once
    };
    // Makes the frame clock: paced by the display under the real clock, drawn by hand when the
    // forms say so (tests), none otherwise (the controls are drawn where they are, at once).
    void startFrames(const Forms& forms);
    // Runs a tick of the ball or of the steering with the ball and the paddle held where they are
    // drawn, so that what the tick moves glides there by the frames.
    void glidingTick(shell::Timer& timer, const std::function<void()>& work);

    // Stops the ball tick for a reason of play's own, which playState() tells until Timer1 next
    // starts, whoever starts it.
    void holdStill(PlayState why);
    // Sets a ball hanging since the player looked away going again, as it was; false for any other.
    bool resumeFromAway();
    void lookAway();

    Forms& m_forms;
    PlayState m_still = PlayState::Resting;
    unsigned m_stillSince = 0; // Timer1.starts() when m_still was set
    shell::FocusWatch m_focus;
    Glider m_ballGlide{ball};
    Glider m_deckGlide{deck};
    std::unique_ptr<frames::FrameClock> m_frames;
    std::unique_ptr<frames::FrameLog> m_frameLog;
    unsigned m_ballTicks = 0; // ball ticks run, for the frame log
};
