#include "game/sound_menu.h"

#include "audio/volume.h"
#include "game/form1.h"
#include "game/forms.h"
#include "messages/file_messages.h"
#include "shell/program.h"

namespace {

QString percentText(int percent)
{
    return QString::number(percent) + QStringLiteral(" %");
}

} // namespace

SoundMenu::SoundMenu(shell::Window& main, Forms& forms) : m_forms(forms)
{
    main.addMenu(zvuk, QStringLiteral("звук"));
    main.addMenu(muzyka, QStringLiteral("музыка"), zvuk);
    muzyka.setCheckable(true);
    muzyka.setToolTip(QStringLiteral("мелодии одна за другой; без отметки музыка молчит, а звук ударов остаётся"));
    muzyka.onClick = [this] { muzyka_Click(); };
    main.addMenuSeparator(zvuk);
    main.addMenu(gromkost, QStringLiteral("громкость музыки"), zvuk);
    main.addMenu(gromkostUdara, QStringLiteral("громкость звука ударов"), zvuk);
    gromkostUdara.setToolTip(QStringLiteral("включается в опциях: «звук»"));
    for (std::size_t i = 0; i < sound_cfg::kVolumeChoices.size(); ++i) {
        const QString caption = percentText(sound_cfg::kVolumeChoices[i]);
        main.addMenu(musicVolumes[i], caption, gromkost);
        musicVolumes[i].setCheckable(true);
        musicVolumes[i].onClick = [this, i] { musicVolume_Click(i); };
        main.addMenu(effectVolumes[i], caption, gromkostUdara);
        effectVolumes[i].setCheckable(true);
        effectVolumes[i].onClick = [this, i] { effectVolume_Click(i); };
    }
    tick();
}

void SoundMenu::tick()
{
    const sound_cfg::Values& v = m_forms.sound();
    muzyka.setChecked(v.music);
    for (std::size_t i = 0; i < sound_cfg::kVolumeChoices.size(); ++i) {
        musicVolumes[i].setChecked(sound_cfg::kVolumeChoices[i] == v.musicVolume);
        effectVolumes[i].setChecked(sound_cfg::kVolumeChoices[i] == v.effectVolume);
    }
}

void SoundMenu::tell(const shell::WriteResult& written)
{
    tick();
    if (!written)
        shell::msgBox(messages::soundWriteFailed(m_forms.soundPath(), written));
}

void SoundMenu::muzyka_Click()
{
    sound_cfg::Values v = m_forms.sound();
    v.music = muzyka.checked();
    const shell::WriteResult written = m_forms.setSound(v);
    Form1& f1 = m_forms.form1();
    audio::MediaDevice& melodies = *f1.MMControl2;
    if (!v.music) {
        // The Done at the end of the fade finds the music off and starts nothing.
        melodies.fadeOut(audio::kMusicFadeMs);
    } else if (!melodies.awaitingDone() && !f1.Timer4.enabled()) {
        // A melody still fading out starts the next one with its Done, and before the music start
        // tick that tick does; else the melody the rotation would play starts now.
        f1.MMControl2_Done();
    }
    tell(written);
}

void SoundMenu::musicVolume_Click(std::size_t i)
{
    sound_cfg::Values v = m_forms.sound();
    v.musicVolume = sound_cfg::kVolumeChoices[i];
    const shell::WriteResult written = m_forms.setSound(v);
    m_forms.form1().MMControl2->setVolume(v.musicVolume);
    tell(written);
}

void SoundMenu::effectVolume_Click(std::size_t i)
{
    sound_cfg::Values v = m_forms.sound();
    v.effectVolume = sound_cfg::kVolumeChoices[i];
    const shell::WriteResult written = m_forms.setSound(v);
    m_forms.form1().MMControl1->setVolume(v.effectVolume);
    tell(written);
}
