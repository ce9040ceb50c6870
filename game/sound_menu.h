#pragma once
// The main window's menu "звук", after "вид": the music on or off, its volume and the hit
// effect's volume, in steps of 10 % (files/sound_cfg.h). The hit effect's own on/off stays in the
// options window.
//
// Every choice is heard at once and kept in sound.cfg, written as soon as it is made; a write that
// fails tells the player, and the choice holds for this run. Music off fades the melody out and
// the Done that follows starts nothing; music on starts the melody the rotation would play.
#include "files/sound_cfg.h"
#include "shell/window.h"

#include <array>

class Forms;

class SoundMenu {
public:
    SoundMenu(shell::Window& main, Forms& forms);

    shell::MenuItem zvuk;   // "звук"
    shell::MenuItem muzyka; // "музыка", checked while the music is on
    shell::MenuItem gromkost;      // "громкость музыки"
    shell::MenuItem gromkostUdara; // "громкость звука ударов"
    std::array<shell::MenuItem, sound_cfg::kVolumeChoices.size()> musicVolumes;  // the order of kVolumeChoices
    std::array<shell::MenuItem, sound_cfg::kVolumeChoices.size()> effectVolumes;

    void muzyka_Click();
    void musicVolume_Click(std::size_t i);
    void effectVolume_Click(std::size_t i);

private:
    void tick();
    void tell(const shell::WriteResult& written);

    Forms& m_forms;
};
