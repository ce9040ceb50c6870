#pragma once
// A seeded monkey for the game's real windows: random clicks, pointer moves, wheel turns, drags,
// keys, typing, menu commands, timer ticks, folder and drive changes and close boxes, sent to
// whichever windows are open, with the program started again whenever it ends.
//
// The monkey keeps its own list of the files a save may write, decided from what the windows show
// and never from what the game says it wrote: at a map save the dialog's folder and name box, at
// the saved game the dialog's folder and save.dbs, at the main window's close box the dialog's
// folder and config.cfg. After every step, only files targeted in that step may have changed; at
// the end, every file no save targeted must be byte for byte what it was at the start.
//
// While a message box waits, the program's own event loop goes on: the monkey ends the melody
// there at random (its Done runs inside the box) and moves the clock on, so the timers that run
// tick inside the box.
//
// The working folder never leaves the folder tree: the monkey opens only folders of the tree from
// the folder list and types no path separators. A drive chosen in the drive list does move the
// folder list to that volume's root; the monkey puts it back at once, in the same step, so no save,
// which needs a later step, can ever see a folder outside the tree.
#include "support/fakes.h"

#include <QMap>
#include <QSet>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

class QWidget;

namespace monkey {

class LoopWatch;
class TreeWatch;

// Every file and folder below a root, by path relative to it; folders end in "/" and hold nothing.
using Snapshot = QMap<QString, QByteArray>;
Snapshot snapshotOf(const QString& root);

// The paths that differ between two snapshots, other than the targeted ones: one line each.
QStringList untargetedChanges(const Snapshot& before, const Snapshot& after, const QSet<QString>& targets);

// The size, modification time and file number of every entry below a root: cheap enough to take
// after every step, and any write (a whole-file save renames a new file in) changes it.
struct Stamp {
    long long size = 0;
    long long modifiedNs = 0;
    unsigned long long inode = 0;
    bool operator==(const Stamp&) const = default;
};
using Stamps = QMap<QString, Stamp>;
Stamps stampsOf(const QString& root);

struct Counts {
    int events = 0;
    std::map<std::string, int> actions; // by kind
    std::map<std::string, int> windows; // events sent to each window, by name
    int restarts = 0;
    int mapSaves = 0;       // map-save ticks whose target was recorded
    int gameSaves = 0;      // "сохранить"
    int settingsWrites = 0; // main window close boxes
    int drivesUndone = 0;   // drive choices whose folder the monkey put back
    int namesReplaced = 0;  // map names that pointed outside the tree
    int messages = 0;       // message boxes answered
    int boxEvents = 0;      // melody ends and clock moves while a box waited
};

class Monkey {
public:
    Monkey(testing_support::GameFixture& fx, std::uint64_t seed);
    ~Monkey();
    Monkey(const Monkey&) = delete;
    Monkey& operator=(const Monkey&) = delete;

    // Sends this many events (one step each: a click, a key, a menu command, a tick ...).
    // Stops early after a few problems, so that one fault does not flood the log.
    void run(int events);

    // Relative paths of every file a save may have written.
    const QSet<QString>& targets() const { return m_targets; }
    // Any file changed by a step must have been targeted by a save of that same step: checked
    // after every step that wrote below the root, so a path targeted once is not free for the
    // rest of the run. The number of steps compared that way.
    int stepChecks() const { return m_stepChecks; }
    const Counts& counts() const { return m_counts; }
    // A digest of the steps taken; equal seeds on equal folder trees give equal digests.
    std::uint64_t digest() const { return m_digest; }

    // Keeps each step's description and every message box text (paths relative to the root).
    bool recordTrace = false;
    QStringList trace;
    QStringList messages;

private:
    struct Open {
        QWidget* top;
        QString name;
    };

    void step();
    void afterStep(const QString& driveBefore, const QString& dirBefore);

    // Actions.
    void click(const Open& w);
    void moves(const Open& w);
    void wheel(const Open& w);
    void doubleClick(const Open& w);
    void drag(const Open& w);
    void key(const Open& w);
    void type(const Open& w);
    void tick();
    void whileBoxWaits();
    void menuCommand();
    void closeBox(const Open& w);
    void levelJumpWord();
    void openFolder();
    void chooseDrive();
    void pickFile();

    // Windows and their widgets.
    std::vector<Open> openWindows();
    QString nameOf(QWidget* top);
    const Open* find(const std::vector<Open>& open, const QString& name) const;
    QWidget* routeTo(QWidget* top, QPoint at, QPoint& local) const;
    QWidget* targetIn(const Open& w, QPoint& local);
    QString describe(const Open& w, QWidget* widget, QPoint local) const;

    // The folder list: whether opening an entry keeps the working folder in the tree.
    bool insideTree(const QString& path) const;
    QString entryPath(int row);
    bool opensOutside(QWidget* target, QPoint local, bool activates);

    // Save targets.
    void recordTarget(const QString& path);
    void beforeClockMoves();

    // Random choices; the engine's output is fully specified, so a seed means the same events
    // with every standard library.
    int below(int n);
    bool chance(int percent) { return below(100) < percent; }
    Qt::KeyboardModifiers modifiers();

    void checkStepWrites();
    void note(const QString& what);
    void problem(const QString& what);

    testing_support::GameFixture& m_fx;
    std::uint64_t m_seed;
    std::mt19937_64 m_rng;
    QString m_root;
    QSet<QString> m_targets;
    QSet<QString> m_stepTargets; // targeted by the current step
    Stamps m_stamps;             // the tree after the previous step
    int m_stepChecks = 0;
    Counts m_counts;
    std::uint64_t m_digest = 14695981039346656037ull;
    int m_step = 0;
    int m_problems = 0;
    QString m_stepAction; // the current step's first action, for the failure messages
    int m_messagesSeen = 0;
    std::unique_ptr<LoopWatch> m_watch;
    std::unique_ptr<TreeWatch> m_tree;
};

} // namespace monkey
