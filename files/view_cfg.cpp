#include "files/view_cfg.h"

#include "shell/basic.h"
#include "shell/files.h"

#include <QList>

namespace view_cfg {

namespace {
void take(Values& v, QByteArrayView name, QByteArrayView value)
{
    if (name == "cell-marks") {
        if (value == "on")
            v.cellMarks = true;
        else if (value == "off")
            v.cellMarks = false;
    } else if (name == "window-size") {
        if (value == "fit")
            v.windowSize = kFitScreen;
        else if (value == "100" || value == "150" || value == "200")
            v.windowSize = value.toInt();
    }
}

} // namespace

Values parse(QByteArrayView text)
{
    Values v;
    qsizetype start = 0;
    while (start <= text.size()) {
        qsizetype end = text.indexOf('\n', start);
        if (end < 0)
            end = text.size();
        const QList<QByteArrayView> w = shell::wordsOf(text.sliced(start, end - start));
        if (w.size() == 2)
            take(v, w[0], w[1]);
        start = end + 1;
    }
    return v;
}

QByteArray text(const Values& v)
{
    QByteArray out = "cell-marks ";
    out += v.cellMarks ? "on" : "off";
    out += "\nwindow-size ";
    out += v.windowSize == kFitScreen ? QByteArray("fit") : QByteArray::number(v.windowSize);
    out += '\n';
    return out;
}

Values read(const QString& path)
{
    // Never a pipe or a device, which could block the start-up (shell::ReadFile opens neither).
    const shell::ReadResult in = shell::readFileHead(path, kMaxBytes + 1);
    if (in.error != 0)
        return {};
    QByteArray bytes = in.data;
    if (bytes.size() > kMaxBytes) // a line cut at the limit is no line
        bytes.truncate(bytes.lastIndexOf('\n', kMaxBytes - 1) + 1);
    return parse(bytes);
}

shell::WriteResult write(const QString& path, const Values& v)
{
    return shell::writeFileWhole(path, text(v));
}

} // namespace view_cfg
