#pragma once
// Test doubles for the game's side effects: media devices that record their commands,
// message boxes that answer OK and remember their texts, and a hand-driven clock.
#include "audio/media_device.h"
#include "game/forms.h"
#include "shell/timer.h"

#include <QDateTime>
#include <QObject>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>
#include <memory>
#include <vector>

namespace testing_support {

// Records every command as "word" or "open <file>" and can raise Done on request.
class RecordingDevice : public audio::MediaDevice {
public:
    void setCommand(const QString& word) override;
    // The volume is kept, not logged; a fade is logged as "fade" and ends the playback as "close".
    void setVolume(int percent) override { volume = percent; }
    void fadeOut(int ms) override;
    bool awaitingDone() const override { return owed > 0; }
    int volume = 100;
    int owed = 0; // plays not answered by Done yet
    QStringList commands;
    QStringList opened; // file names passed to "open", in order
    // Where every device of a game also notes its commands, as "<name> <word>", in one order.
    QStringList* sharedLog = nullptr;
    QString name;
    bool playing = false;
    // Ends the current playback as the real device would: Done arrives later as an event,
    // and not at all once the device is gone.
    void finishPlayback();
    // Ends the current playback and runs Done now, as the event loop of a message box that a
    // handler waits in delivers it. Nothing happens when nothing plays.
    void finishPlaybackNow();

private:
    QObject m_context;
};

// A whole game with fake devices, recorded message boxes and a manual clock. Windows are created
// on first use exactly as in the program. The start-up folder (sound effect and melodies) and the
// working folder (settings, maps, saved game) are two different temporary folders, so a file read
// from the wrong one shows.
class GameFixture {
public:
    // With shipped data, the build's play folder is copied in: the sounds into the start-up
    // folder, everything else into the working folder. With `devices`, the game gets those
    // (the real ones, say) instead of recording devices.
    // With `framesByHand`, the main window's frames are drawn only by the test (Form1::Frame_Draw).
    explicit GameFixture(bool withShippedData = true, audio::DeviceFactory devices = {}, bool framesByHand = false);
    ~GameFixture();

    Forms& forms() { return *m_forms; }
    Form1& form1();
    QString folder() const { return m_work; } // the working folder
    QString pathOf(const QString& name) const { return m_work + QLatin1Char('/') + name; }
    QString startFolder() const { return m_start; }
    void writeFile(const QString& name, const QByteArray& bytes) const;
    QByteArray readFile(const QString& name) const;

    // Starts the program as main() does: the start screen, then the main window and its start-up.
    Form1& start();
    // Runs the program again in the same folder, as the player starting it once more would:
    // every window of the last run goes, the devices are made afresh and `ended` clears; the
    // clock and the recorded messages carry on. Call start() next.
    void restart();
    // Advances the manual clock; 16 ms is one tick of every enabled 1 ms timer.
    void advance(int ms) { m_clock.advance(ms); }
    void tick(int n = 1) { m_clock.advance(16 * n); }
    // Timers that would tick if time moved on.
    std::size_t enabledTimers() const { return m_clock.enabledCount(); }

    QStringList messages;              // every message box text, in order
    // Runs while a message box waits, after its text is recorded: events that the box's own event
    // loop delivers in the program, such as a melody's end (endMelodyNow) or the ticks of running
    // timers (tick). Only the outermost box runs it, so boxes opened meanwhile do not recurse.
    std::function<void(const QString& text)> whileBoxWaits;
    // The melody that plays ends, and its Done runs now.
    void endMelodyNow();
    std::vector<RecordingDevice*> devices; // MMControl1 then MMControl2
    QStringList deviceLog;             // the commands of both devices in the order sent, "MMControl2 close"...
    bool ended = false;                // endProgram was called
    // What the game's clock says when a record is set.
    QDateTime now = QDateTime(QDate(2026, 12, 8), QTime(20, 15, 0));
    // The screen's available area the window sizes are measured against.
    view::Area screen{1280, 1024};

private:
    void makeForms();

    QTemporaryDir m_dir;
    QString m_start, m_work;
    audio::DeviceFactory m_devices;
    bool m_framesByHand;
    int m_boxDepth = 0;
    shell::ManualClock m_clock;
    std::unique_ptr<Forms> m_forms;
};

// Pumps the event loop until the condition holds or the bounded wait ends.
bool waitFor(const std::function<bool()>& condition, int maxMs = 2000);

} // namespace testing_support
