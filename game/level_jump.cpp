// The hidden level-jump dialog: the word "vorp" typed into the hint line and a Shift-press on
// the paddle open it; its button hands the typed number to the main window through Timer7.
//
// The jump changes only `level`; the level's map is read at the next launch from a stopped
// game, a level clear or a ball loss. A text that is not a number keeps the current level and
// tells the player; Timer7 stops after its one tick in either case.
#include "game/form1.h"
#include "game/form4.h"
#include "game/forms.h"
#include "shell/basic.h"
#include "shell/program.h"

namespace {
const QString kAccessWord = QStringLiteral("vorp");
constexpr int kShiftAlone = 1;
} // namespace

void Form1::deck_MouseDown(const shell::MouseArgs& a)
{
    if (a.shift == kShiftAlone && Text1.text() == kAccessWord)
        m_forms.form4().open();
}

void Form1::Timer7_Tick()
{
    Timer7.setEnabled(false);
    // The button hides the dialog before starting the timer, so it still exists here; a dialog
    // gone meanwhile has nothing to hand over (recreating it would jump to its design value).
    if (!m_forms.form4Exists())
        return;
    const QString typed = m_forms.form4().Text1.text();
    const std::optional<float> target = shell::textToNumber(typed);
    if (!target) {
        shell::msgBox(QStringLiteral("Номер уровня должен быть числом: «") + typed
                      + QStringLiteral("». Уровень остаётся ") + shell::numText(level) + QStringLiteral("."));
        return;
    }
    level = *target;
}
