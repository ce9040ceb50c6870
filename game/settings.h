#pragma once
// config.cfg: the melody bound, the next melody and the ball speed, one line in print form.
//
// A missing file gives the design values (5, 1, 4) silently. A file with fewer than three
// numbers, or a token that is not a number, keeps the design value for each field it does not
// supply, and the caller tells the player once. A melody bound outside the 16-bit range counts
// as damaged too. The speed is clamped into 0..10, the range of the options slider.
#include <QByteArray>
#include <QString>
#include <cstdint>

namespace settings {

struct Values {
    int16_t melodi = 5;
    float num = 1;
    float skor = 4;
};

struct ReadResult {
    Values values;
    bool missing = false; // no file: design values, nothing to report
    bool damaged = false; // some fields fell back to the design values
};

ReadResult read(const QString& path);
QByteArray line(const Values& v); // " 5  1  4 " CR LF
bool write(const QString& path, const Values& v);

inline const QString kDamagedMessage =
    QStringLiteral("Файл настроек config.cfg повреждён: недостающие значения взяты по умолчанию.");
QString writeFailedMessage(const QString& path);

} // namespace settings
