#pragma once
// Test doubles for the game's side effects: media devices that record their commands,
// message boxes that answer OK and remember their texts, and a hand-driven clock.
#include "audio/media_device.h"
#include "game/forms.h"
#include "shell/timer.h"

#include <QObject>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>
#include <vector>

namespace testing_support {

// Records every command as "word" or "open <file>" and can raise Done on request.
class RecordingDevice : public audio::MediaDevice {
public:
    void setCommand(const QString& word) override;
    QStringList commands;
    QStringList opened; // file names passed to "open", in order
    bool playing = false;
    // Ends the current playback as the real device would: Done arrives later as an event,
    // and not at all once the device is gone.
    void finishPlayback();

private:
    QObject m_context;
};

// A whole game in a temporary play folder, with fake devices, recorded message boxes and a
// manual clock. Windows are created on first use exactly as in the program.
class GameFixture {
public:
    // Copies the named files (paths relative to the build's play folder) into a fresh folder.
    explicit GameFixture(bool withShippedData = true);
    ~GameFixture();

    Forms& forms() { return *m_forms; }
    Form1& form1();
    QString folder() const { return m_dir.path(); }
    QString pathOf(const QString& name) const { return m_dir.filePath(name); }
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
    std::vector<RecordingDevice*> devices; // MMControl1 then MMControl2
    bool ended = false;                // endProgram was called

private:
    void makeForms();

    QTemporaryDir m_dir;
    shell::ManualClock m_clock;
    std::unique_ptr<Forms> m_forms;
};

// Pumps the event loop until the condition holds or the bounded wait ends.
bool waitFor(const std::function<bool()>& condition, int maxMs = 2000);

} // namespace testing_support
