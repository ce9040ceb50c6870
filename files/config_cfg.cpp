#include "files/config_cfg.h"

#include "shell/basic.h"
#include "shell/files.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace config_cfg {

ReadResult read(const QString& path)
{
    ReadResult r;
    shell::ReadFile in(path);
    if (in.error() != 0) {
        r.missing = in.missing();
        r.damaged = !r.missing; // there, but unreadable
        r.error = r.missing ? 0 : in.error();
        return r;
    }
    shell::FreeFormReader reader(in);
    float fields[3];
    int got = 0;
    while (got < 3 && reader.next(fields[got]) == shell::FreeFormReader::Status::Number)
        ++got;
    r.error = in.error();
    r.damaged = got < 3;

    if (got >= 1) {
        // Rounded to the nearest 16-bit integer, halves to the even neighbour.
        const float m = std::nearbyint(fields[0]);
        if (m >= std::numeric_limits<int16_t>::min() && m <= std::numeric_limits<int16_t>::max())
            r.values.melodi = static_cast<int16_t>(m);
        else
            r.damaged = true;
    }
    if (got >= 2)
        r.values.num = fields[1];
    if (got >= 3)
        r.values.skor = std::clamp(fields[2], 0.0f, 10.0f);
    return r;
}

QByteArray text(const Values& v)
{
    const QString text = shell::printForm(v.melodi) + shell::printForm(v.num) + shell::printForm(v.skor) + QStringLiteral("\r\n");
    return text.toLatin1();
}

shell::WriteResult write(const QString& path, const Values& v)
{
    return shell::writeFileWhole(path, text(v));
}

} // namespace config_cfg
