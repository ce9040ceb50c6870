#pragma once
// The program's windows, reached by name from every handler, each created on its first use.
#include "audio/media_device.h"
#include "files/config_cfg.h"
#include "files/sound_cfg.h"
#include "files/view_cfg.h"
#include "shell/window.h"
#include "view/window_size.h"

#include <QDateTime>
#include <QString>
#include <functional>
#include <optional>

class Form1;
class Form2;
class Form3;
class Form4;
class Form5;
class Form6;
class Form7;
class For6;

class Forms {
public:
    struct Setup {
        // Makes the two media devices of the main window; the real SDL devices by default.
        audio::DeviceFactory devices;
        // The start-up folder, which holds the sound effect and the melodies.
        // The process's current folder by default.
        QString startFolder;
        // The first working folder (settings, saved game, maps), where the save/load dialog's
        // folder list starts. The process's current folder by default, like the start-up folder;
        // tests keep the two apart.
        QString workFolder;
        // The date and time a record is set at; the system clock by default.
        std::function<QDateTime()> now;
        // The factor main() draws the windows at, on top of the player's own scale.
        double windowScale = 1.0;
        // The screen's available area at the player's own scale; the primary screen's by default.
        std::function<view::Area()> screenArea;
        // Under a test's clock the main window's frames are drawn by hand (Form1::Frame_Draw)
        // when set; otherwise moving things are drawn where they are, at once.
        bool framesByHand = false;
    };

    Forms();
    explicit Forms(Setup setup);
    ~Forms();
    Forms(const Forms&) = delete;
    Forms& operator=(const Forms&) = delete;

    // The program's start: creates the main window, whose load handler runs the start-up and
    // shows the start screen. The start screen is put on screen first, so that the player sees
    // it appear while the hidden windows are still being built (it is painted once the event loop
    // runs, as before); not when the settings file is damaged, because the start-up tells the
    // player so before the start screen appears.
    void start();
    // config.cfg in `path` as the main window's start-up takes it: the reading start() made, which
    // decides whether the start screen may appear before the start-up has told of a damaged file,
    // so that the file is read once; a fresh reading when start() made none there.
    config_cfg::ReadResult startSettings(const QString& path);

    Form1& form1(); // main window
    Form2& form2(); // map editor
    Form3& form3(); // save/load dialog
    Form4& form4(); // level jump
    Form5& form5(); // options
    Form6& form6(); // about
    Form7& form7(); // records
    For6& for6();   // start screen

    // Closes the window the player is in, as its close box would: the main window once it has
    // been shown (settings written), the start screen before that (nothing written). This is
    // what a request from outside to end the program does.
    void closeShowingWindow();

    bool form2Exists() const;
    bool form3Exists() const;
    bool form4Exists() const;
    bool form7Exists() const;

    const QString& startFolder() const { return m_setup.startFolder; }
    const QString& workFolder() const { return m_setup.workFolder; }
    std::unique_ptr<audio::MediaDevice> makeDevice() const { return m_setup.devices(); }
    QDateTime now() const { return m_setup.now(); }
    double windowScale() const { return m_setup.windowScale; }
    bool framesByHand() const { return m_setup.framesByHand; }
    view::Area screenArea() const { return m_setup.screenArea(); }

    // How the game looks (view.cfg in the start-up folder, read when the program starts). A
    // change is written to the file at once; false when that fails, the change kept for this run.
    const view_cfg::Values& view() const { return m_view; }
    shell::WriteResult setView(const view_cfg::Values& values);
    QString viewPath() const;

    // The player's sound choices (sound.cfg beside view.cfg, read when the program starts). A
    // change is written to the file at once; false when that fails, the change kept for this run.
    const sound_cfg::Values& sound() const { return m_sound; }
    shell::WriteResult setSound(const sound_cfg::Values& values);
    QString soundPath() const;
    // What reading sound.cfg found, for the start-up to tell the player about a damaged file.
    const sound_cfg::ReadResult& soundRead() const { return m_soundRead; }

    // records.txt in the start-up folder, which browsing folders in the save/load dialog never moves.
    QString recordsPath() const;
private:
    struct StartSettings {
        QString path;
        config_cfg::ReadResult read;
    };

    Setup m_setup;
    std::optional<StartSettings> m_startSettings;
    view_cfg::Values m_view;
    sound_cfg::ReadResult m_soundRead;
    sound_cfg::Values m_sound;
    shell::FormSlot<Form1> m_form1;
    shell::FormSlot<Form2> m_form2;
    shell::FormSlot<Form3> m_form3;
    shell::FormSlot<Form4> m_form4;
    shell::FormSlot<Form5> m_form5;
    shell::FormSlot<Form6> m_form6;
    shell::FormSlot<Form7> m_form7;
    shell::FormSlot<For6> m_for6;
};
