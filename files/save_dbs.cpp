#include "files/save_dbs.h"

#include "shell/basic.h"

#include <cerrno>

namespace save_dbs {

ReadResult read(const QString& path)
{
    shell::ReadFile in(path);
    if (in.missing() || in.error() == EISDIR)
        return {};
    ReadResult r;
    if (in.error() == 0)
        r = read(static_cast<QIODevice&>(in));
    // A read error ends the file early: that is the disk's fault, not the saved game's.
    if (in.error() != 0)
        r = {ReadStatus::Unreadable, 0, in.error()};
    return r;
}

ReadResult read(QIODevice& in)
{
    ReadResult r;
    shell::FreeFormReader reader(in);
    const bool number = reader.next(r.level) == shell::FreeFormReader::Status::Number;
    r.status = number ? ReadStatus::Ok : ReadStatus::NoLevel;
    if (!number)
        r.level = 0;
    return r;
}

QByteArray text(float level)
{
    return (shell::printForm(level) + QStringLiteral("\r\n")).toLatin1();
}

shell::WriteResult write(const QString& path, float level)
{
    return shell::writeFileWhole(path, text(level));
}

} // namespace save_dbs
