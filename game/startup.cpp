// Start-up and shutdown of the main window.
#include "dialogs/form5.h"
#include "files/config_cfg.h"
#include "game/for6.h"
#include "game/form1.h"
#include "game/forms.h"
#include "messages/file_messages.h"
#include "shell/basic.h"
#include "shell/files.h"
#include "shell/program.h"

#include <QStringList>
#include <cmath>
#include <optional>

void Form1::Form_Load()
{
    dx = 0;

    file = config_cfg::kFileName;
    const QString settingsPath = shell::joinPath(workingFolder(), "/", file);
    const config_cfg::ReadResult stored = m_forms.startSettings(settingsPath);
    melodi = stored.values.melodi;
    num = stored.values.num;
    skor = stored.values.skor;
    if (stored.error != 0)
        unreadSettings = settingsPath;
    if (stored.damaged)
        shell::msgBox(messages::configReadProblem(settingsPath, stored));
    if (m_forms.soundRead().damaged())
        shell::msgBox(messages::soundReadProblem(m_forms.soundPath(), m_forms.soundRead()));

    // The speed goes onto the slider's 0.1 grid, exactly as the slider's own handler sets it.
    Form5& options = m_forms.form5();
    options.HScroll1.setValue(static_cast<int>(std::nearbyint(10.0f * skor)));
    options.HScroll1_Change();

    file = QStringLiteral("ring.Wav");
    MMControl1->setFileName(shell::joinPath(Dir1.path, "/", file));
    MMControl1->setCommand(QStringLiteral("open"));

    level = 1;
    Timer4.setEnabled(true);
    Timer3.setEnabled(true);
    options.Text1.setText(shell::numText(num));

    m_forms.for6().show();
    hide();
}

void Form1::Form_Unload()
{
    // A run still going when the program ends is over here, and ranks like a lost ball.
    const records_txt::Kept kept = keepRecord();
    file = config_cfg::kFileName;
    const QString path = shell::joinPath(workingFolder(), "/", file);
    // Settings that could not be read at start-up are left alone: nothing is written, nothing told.
    std::optional<shell::WriteResult> written;
    if (path != unreadSettings)
        written = config_cfg::write(path, {melodi, num, skor});
    closeDevices();
    QStringList failures;
    if (written && !*written)
        failures << messages::configWriteFailed(path, *written);
    if (kept.place >= 0) {
        if (const QString box = messages::recordNotice(score, m_forms.recordsPath(), kept).box; !box.isEmpty())
            failures << box;
    }
    if (!failures.isEmpty()) {
        // Nothing of the game goes on behind these last boxes: no ball, no melody.
        for (shell::Timer* t : {&Timer1, &Timer2, &Timer3, &Timer4, &Timer5, &Timer6, &Timer7})
            t->setEnabled(false);
        for (const QString& text : std::as_const(failures))
            shell::msgBox(text);
    }
    shell::endProgram();
}

void Form1::closeDevices()
{
    MMControl2->onDone = {}; // the Done of this close starts no next melody
    MMControl2->setCommand(QStringLiteral("close"));
    MMControl1->setCommand(QStringLiteral("close"));
}
