// The melody rotation: the music start tick and the next melody on each Done of MMControl2.
//
// The melody names and the wrap rule are audio/melodies.h. A melody that cannot be opened or
// played raises no Done, which leaves the music silent. With the music off (the menu "звук",
// game/sound_menu.h) no melody starts: the start tick and each Done leave num as it is, for the
// music to go on from there when it is switched on again.
#include "audio/melodies.h"
#include "dialogs/form5.h"
#include "game/form1.h"
#include "game/forms.h"
#include "shell/basic.h"

namespace {

// Sets file to the melody name for num, moves num on to the melody after it, and opens and
// plays the named melody on the music device.
void startMelody(Form1& f1)
{
    f1.file = audio::melodyFileName(f1.num);
    f1.num = audio::nextMelody(f1.num, f1.melodi);
    f1.MMControl2->setFileName(audio::melodyPath(f1.Dir1.path, f1.file));
    f1.MMControl2->setCommand(QStringLiteral("open"));
    f1.MMControl2->setCommand(QStringLiteral("play"));
}

} // namespace

void Form1::Timer4_Tick()
{
    Text1.setText(shell::numText(num));
    if (num > melodi)
        num = 1;
    // The start-up pass of Timer3 runs only if it ticked before this one.
    Timer3.setEnabled(false);
    MMControl2->setCommand(QStringLiteral("close"));
    if (m_forms.sound().music)
        startMelody(*this);
    Timer4.setEnabled(false);
}

void Form1::MMControl2_Done()
{
    MMControl2->setCommand(QStringLiteral("close"));
    if (!m_forms.sound().music)
        return;
    startMelody(*this);
    m_forms.form5().Text1.setText(shell::numText(num));
}
