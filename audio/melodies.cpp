#include "audio/melodies.h"

#include "shell/basic.h"
#include "shell/files.h"

namespace audio {

QString melodyFileName(float num)
{
    return shell::numText(num) + QStringLiteral(".mid");
}

QString melodyPath(const QString& startFolder, const QString& fileName)
{
    return shell::joinPath(startFolder, QStringLiteral("\\music\\"), fileName);
}

float nextMelody(float num, std::int16_t melodi)
{
    num += 1;
    if (num >= melodi)
        num = 1;
    return num;
}

} // namespace audio
