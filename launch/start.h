#pragma once
// What the program does before its first window: the command line and the play folder.
#include <QString>
#include <optional>

namespace launch {

struct Start {
    std::optional<int> exitCode; // end at once with this status (help, version, a wrong command line)
    QString failure;             // the play folder is not ready: tell the player, end with status 1
};

// Reads the command line and makes the play folder the current folder, needing no display:
// --help and --version print to standard output (status 0), a wrong command line says what is
// wrong on standard error (status 2). The play folder is the one --folder names; without it, for
// an installed game, the player's own folder; for a build's own binary, the current folder. The
// first two are made and get the shipped files they lack. A folder that cannot be made ready is
// reported on standard error and in `failure`.
Start start(int argc, char** argv);

} // namespace launch
