// The level sequence: a cleared grid leads to the next level, a lost ball back one level.
//
// After the last level (the next level's map does not exist) the player is told that every
// level is cleared and the game starts again at level 1, keeping the score.
//
// A lost ball ends the run: its score enters the records (records.txt) when it ranks among the
// ten best, before the score goes back to 0. No box is added for it; the hint line tells
// "новый рекорд: <score>". A record that could not be written is told in the hint line and,
// with the reason, in a box after the lost ball's.
#include "game/form1.h"
#include "dialogs/form7.h"
#include "files/map_dbm.h"
#include "game/forms.h"
#include "messages/file_messages.h"
#include "shell/basic.h"
#include "shell/files.h"
#include "shell/program.h"

#include <QFileInfo>

namespace {
constexpr float kRestTopLost = 112;
const QString kAllCleared = QStringLiteral("Все уровни пройдены! Игра начинается с первого уровня.");
} // namespace

QString Form1::levelMapPath(float ofLevel)
{
    file = map_dbm::levelFileName(ofLevel);
    return shell::joinPath(workingFolder(), "\\", file);
}

bool Form1::loadLevelMap(float ofLevel)
{
    const QString path = levelMapPath(ofLevel);
    int error = 0;
    const map_dbm::ReadStatus status = map_dbm::read(path, cells, &error);
    if (status != map_dbm::ReadStatus::Ok) {
        shell::msgBox(messages::mapReadFailed(status, path, error));
        return false;
    }
    drawGrid();
    return true;
}

void Form1::levelCleared()
{
    holdStill(PlayState::Resting);
    dx = 0;
    hdir = 2;
    shell::msgBox(QStringLiteral("молодец"));
    level = level + 1;
    if (!QFileInfo::exists(levelMapPath())) {
        shell::msgBox(kAllCleared);
        level = 1;
    }
    // The map read is the one of the level announced: a level jump that lands while the box
    // waits changes `level` and, like any jump, takes effect at the next map read.
    const float announced = level;
    shell::msgBox(QStringLiteral("уровень - ") + shell::numText(announced));
    loadLevelMap(announced);
    restBallOnPaddle(deck.top() - 8);
    Text1.setText(shell::numText(score));
}

records_txt::Kept Form1::keepRecord()
{
    // Once per run: a program ended while the lost ball's box waits keeps the run only once.
    if (!(score > 0) || runKept)
        return {};
    runKept = true;
    const records_txt::Kept kept = records_txt::keep(m_forms.recordsPath(), {score, level, m_forms.now()});
    if (kept.place >= 0 && m_forms.form7Exists())
        m_forms.form7().showTable();
    return kept;
}

void Form1::ballLost()
{
    holdStill(PlayState::Resting);
    // The run is over as the ball falls: its score and level are the ones the records get, whatever
    // happens while the box waits.
    const float runScore = score;
    const records_txt::Kept kept = keepRecord();
    shell::msgBox(QStringLiteral("БАБАХ !!!"));
    dx = 0;
    if (level > 1)
        level = level - 1;
    loadLevelMap();
    score = 0;
    runKept = false;
    hdir = 2;
    vdir = 1;
    restBallOnPaddle(kRestTopLost);
    if (kept.place >= 0) {
        const messages::RecordNotice told = messages::recordNotice(runScore, m_forms.recordsPath(), kept);
        Text1.setText(told.hint);
        // Why it was not written needs more room than the hint line has.
        if (!told.box.isEmpty())
            shell::msgBox(told.box);
    }
}
