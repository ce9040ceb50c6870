#include "files/game_files.h"

namespace files {

bool isGameFile(const QString& name)
{
    for (const GameFileName& f : kGameFiles) {
        const QLatin1String own(f.name);
        if (f.ending ? name.endsWith(own, Qt::CaseInsensitive) : name == own)
            return true;
    }
    return false;
}

} // namespace files
