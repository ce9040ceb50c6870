#pragma once
// The folder the game plays in, and its preparation from the shipped files of an installation.
#include <QString>

namespace launch {

// The shipped files of an installed game, `relative` to the folder its binary is in (as an
// installation lays them out); empty when there are none there, as for a build's own binary.
QString shippedFiles(const QString& binaryFolder, const QString& relative);

// The player's own play folder: $XDG_DATA_HOME/plinkat when XDG_DATA_HOME is an absolute path,
// otherwise $HOME/.local/share/plinkat; empty when HOME is needed and not set.
QString playersFolder(const QString& xdgDataHome, const QString& home);

// Makes the folder (and its parents) and copies into it every shipped file it lacks, with the
// shipped layout (music/). Whatever already has a shipped file's name there (the player's map or
// settings, a folder, a link) is never touched. Returns an empty string when the folder is ready,
// otherwise the message for the player.
QString preparePlayFolder(const QString& folder, const QString& shipped);

} // namespace launch
