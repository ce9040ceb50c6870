#include "files/sound_cfg.h"

#include "shell/basic.h"


namespace sound_cfg {

namespace {
// A volume: one to three digits, 0 .. 100, taken to the nearer step; -1 for anything else.
int volumeOf(QByteArrayView value)
{
    if (value.isEmpty() || value.size() > 3)
        return -1;
    int v = 0;
    for (const char c : value) {
        if (c < '0' || c > '9')
            return -1;
        v = v * 10 + (c - '0');
    }
    if (v > 100)
        return -1;
    return (v + kVolumeStep / 2) / kVolumeStep * kVolumeStep;
}

// Takes one setting; false when the line is no known setting with a good value.
bool take(Values& v, QByteArrayView name, QByteArrayView value)
{
    if (name == "music") {
        if (value != "on" && value != "off")
            return false;
        v.music = value == "on";
        return true;
    }
    int* volume = name == "music-volume" ? &v.musicVolume : name == "effect-volume" ? &v.effectVolume : nullptr;
    const int percent = volumeOf(value);
    if (!volume || percent < 0)
        return false;
    *volume = percent;
    return true;
}

} // namespace

ReadResult parse(QByteArrayView text)
{
    ReadResult r;
    qsizetype start = 0;
    int number = 0;
    while (start < text.size()) {
        ++number;
        qsizetype end = text.indexOf('\n', start);
        if (end < 0)
            end = text.size();
        const QList<QByteArrayView> w = shell::wordsOf(text.sliced(start, end - start));
        if (!w.isEmpty() && (w.size() != 2 || !take(r.values, w[0], w[1])))
            r.badLines.append(number);
        start = end + 1;
    }
    return r;
}

QByteArray text(const Values& v)
{
    QByteArray out = "music ";
    out += v.music ? "on" : "off";
    out += "\nmusic-volume " + QByteArray::number(v.musicVolume);
    out += "\neffect-volume " + QByteArray::number(v.effectVolume);
    out += '\n';
    return out;
}

ReadResult read(const QString& path)
{
    // Never a pipe or a device, which could block the start-up (shell::ReadFile opens neither).
    const shell::ReadResult in = shell::readFileHead(path, kMaxBytes + 1);
    if (in.error != 0) {
        ReadResult r;
        r.missing = in.missing();
        if (!r.missing)
            r.error = in.error;
        return r;
    }
    QByteArray bytes = in.data;
    const bool cut = bytes.size() > kMaxBytes;
    if (cut) // a line cut at the limit is no line
        bytes.truncate(bytes.lastIndexOf('\n', kMaxBytes - 1) + 1);
    ReadResult r = parse(bytes);
    r.cut = cut;
    return r;
}

shell::WriteResult write(const QString& path, const Values& v)
{
    return shell::writeFileWhole(path, text(v));
}

} // namespace sound_cfg
