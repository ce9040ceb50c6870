// The seeded monkey on the whole game: random events on every window must crash nothing, leak
// nothing, trip no sanitizer, open no modal loop, and write no file that no save was aimed at.
//
// The run is split into four parts with seeds base, base + 1, base + 2 and base + 3. For long local
// runs, PLINKAT_MONKEY_SEED sets the base seed and PLINKAT_MONKEY_EVENTS the total number of events.
#include "monkey.h"

#include "game/form1.h"
#include "support/fakes.h"
#include "support/qt_print.h"

#include <QDir>
#include <gtest/gtest.h>
#include <iostream>

using testing_support::GameFixture;

namespace {

constexpr std::uint64_t kDefaultSeed = 20240611;
constexpr int kDefaultEvents = 100000;
constexpr int kParts = 4;
// Below this many events a part may by chance never reach a window or a kind of save.
constexpr int kEventsForFullReach = 10000;

struct Plan {
    std::uint64_t seed = kDefaultSeed;
    int events = kDefaultEvents;
};

// The overrides from the environment; a value that is not a whole number fails the run instead of
// silently running the defaults.
Plan plan()
{
    Plan p;
    const QByteArray seed = qgetenv("PLINKAT_MONKEY_SEED").trimmed();
    if (!seed.isEmpty()) {
        bool ok = false;
        p.seed = seed.toULongLong(&ok, 0);
        if (!ok) {
            ADD_FAILURE() << "PLINKAT_MONKEY_SEED is not a whole number: " << seed.toStdString();
            p.seed = kDefaultSeed;
        }
    }
    const QByteArray events = qgetenv("PLINKAT_MONKEY_EVENTS").trimmed();
    if (!events.isEmpty()) {
        bool ok = false;
        p.events = events.toInt(&ok, 0);
        if (!ok || p.events < 0) {
            ADD_FAILURE() << "PLINKAT_MONKEY_EVENTS is not a count of events: " << events.toStdString();
            p.events = kDefaultEvents;
        }
    }
    return p;
}

// The play folder, with folders of map copies, settings, saved games and files that are no maps
// for the save/load dialog to wander through.
void plantTree(GameFixture& fx)
{
    fx.writeFile("alpha/1.dbm", fx.readFile("1.dbm"));
    fx.writeFile("alpha/2.dbm", fx.readFile("2.dbm"));
    fx.writeFile("alpha/save.dbs", " 3 \r\n");
    fx.writeFile("alpha/config.cfg", " 5  2  6 \r\n");
    fx.writeFile("alpha/deep/4.dbm", fx.readFile("4.dbm"));
    fx.writeFile("alpha/deep/notes.txt", "не карта\r\n");
    fx.writeFile("beta gamma/5.dbm", fx.readFile("5.dbm"));
    fx.writeFile("beta gamma/short.dbm", " 1 \r\n 2 \r\n");
    QByteArray garbage;
    for (int i = 0; i < 300; ++i)
        garbage += static_cast<char>((i * 91 + 7) & 0xff);
    fx.writeFile("beta gamma/garbage.dbm", garbage);
    fx.writeFile("карты/6.dbm", fx.readFile("6.dbm"));
    fx.writeFile("карты/7.dbm", fx.readFile("7.dbm"));
    fx.writeFile("карты/README", "карты для проверки\n");
    fx.writeFile("save.dbs", " 2 \r\n");
    fx.writeFile(".hidden.dbm", fx.readFile("3.dbm"));
    QDir(fx.folder()).mkpath("empty");
    QDir(fx.folder()).mkpath("folder.dbm");
}

std::string summary(const monkey::Monkey& m)
{
    const monkey::Counts& c = m.counts();
    std::string s = "  actions:";
    for (const auto& [name, n] : c.actions)
        s += " " + name + " " + std::to_string(n) + ",";
    s += "\n  windows:";
    for (const auto& [name, n] : c.windows)
        s += " " + name + " " + std::to_string(n) + ",";
    s += "\n  restarts " + std::to_string(c.restarts) + ", map saves " + std::to_string(c.mapSaves) + ", game saves "
        + std::to_string(c.gameSaves) + ", settings writes " + std::to_string(c.settingsWrites) + ", drives undone "
        + std::to_string(c.drivesUndone) + ", names replaced " + std::to_string(c.namesReplaced) + ", message boxes "
        + std::to_string(c.messages) + ", events while a box waited " + std::to_string(c.boxEvents) + ", files targeted " + std::to_string(m.targets().size())
        + ", steps that wrote " + std::to_string(m.stepChecks()) + "\n";
    return s;
}

class MonkeyRun : public ::testing::TestWithParam<int> {};

} // namespace

TEST_P(MonkeyRun, RandomEventsWriteOnlyWhereSavesWereAimed)
{
    const Plan p = plan();
    const std::uint64_t seed = p.seed + static_cast<std::uint64_t>(GetParam());
    const int events = (p.events + kParts - 1) / kParts;
    std::cout << "[ monkey   ] part " << GetParam() + 1 << " of " << kParts << ": seed " << seed << ", " << events
              << " events (base seed " << p.seed << ")" << std::endl;

    GameFixture fx;
    plantTree(fx);
    const monkey::Snapshot before = monkey::snapshotOf(fx.folder());
    fx.start();
    monkey::Monkey m(fx, seed);
    m.run(events);

    EXPECT_EQ(m.counts().events, events);
    const QStringList changes = monkey::untargetedChanges(before, monkey::snapshotOf(fx.folder()), m.targets());
    EXPECT_TRUE(changes.isEmpty()) << "seed " << seed << ", files no save was aimed at:\n"
                                   << changes.join('\n').toStdString();
    std::cout << summary(m);

    // A monkey that never reaches a window or a kind of save tests less than it claims.
    if (events >= kEventsForFullReach) {
        for (const char* name : {"Form1", "For6", "Form2", "Form3", "Form4", "Form5", "Form6"})
            EXPECT_GT(m.counts().windows.count(name) ? m.counts().windows.at(name) : 0, 0) << name;
        EXPECT_GT(m.counts().mapSaves, 0);
        EXPECT_GT(m.counts().gameSaves, 0);
        EXPECT_GT(m.counts().settingsWrites, 0);
        EXPECT_GT(m.counts().restarts, 0);
        EXPECT_GT(m.counts().boxEvents, 0);
    }
}

INSTANTIATE_TEST_SUITE_P(Seeds, MonkeyRun, ::testing::Range(0, kParts));

namespace {

struct Outcome {
    QStringList trace;
    QStringList messages;
    std::uint64_t digest = 0;
    monkey::Snapshot files;
    float level = 0;
    float score = 0;
};

Outcome runOnce(std::uint64_t seed, int events)
{
    GameFixture fx;
    plantTree(fx);
    fx.start();
    monkey::Monkey m(fx, seed);
    m.recordTrace = true;
    m.run(events);
    return {m.trace, m.messages, m.digest(), monkey::snapshotOf(fx.folder()), fx.form1().level, fx.form1().score};
}

// The first line where two lists part, for a readable failure.
std::string firstDifference(const QStringList& a, const QStringList& b)
{
    for (qsizetype i = 0; i < std::min(a.size(), b.size()); ++i)
        if (a.at(i) != b.at(i))
            return "line " + std::to_string(i) + ":\n  " + a.at(i).toStdString() + "\n  " + b.at(i).toStdString();
    return "lengths " + std::to_string(a.size()) + " and " + std::to_string(b.size());
}

} // namespace

TEST(Monkey, TheSameSeedSendsTheSameEventsWithTheSameEffects)
{
    const std::uint64_t seed = plan().seed;
    const Outcome first = runOnce(seed, 2000);
    const Outcome second = runOnce(seed, 2000);
    EXPECT_TRUE(first.trace == second.trace) << firstDifference(first.trace, second.trace);
    EXPECT_TRUE(first.messages == second.messages) << firstDifference(first.messages, second.messages);
    EXPECT_EQ(first.digest, second.digest);
    EXPECT_TRUE(first.files == second.files);
    EXPECT_EQ(first.level, second.level);
    EXPECT_EQ(first.score, second.score);

    const Outcome other = runOnce(seed + 1000, 300);
    EXPECT_NE(other.trace, first.trace.mid(0, other.trace.size())) << "the seed chooses the events";
}
