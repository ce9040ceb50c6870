#include "messages/file_messages.h"

#include "shell/basic.h"

#include <QStringList>
#include <cerrno>
#include <cstring>

namespace messages {

namespace {

QString systemReason(int error)
{
    return QStringLiteral("Системная ошибка %1: %2.").arg(error).arg(QString::fromLocal8Bit(std::strerror(error)));
}

QString percentText(int percent)
{
    return QString::number(percent) + QStringLiteral(" %");
}

// sound.cfg's defaults, as the player reads them.
QString soundDefaultsText()
{
    const sound_cfg::Values d;
    return QStringLiteral("музыка ") + (d.music ? QStringLiteral("включена") : QStringLiteral("выключена"))
           + QStringLiteral(", громкость музыки ") + percentText(d.musicVolume)
           + QStringLiteral(", громкость звука ударов ") + percentText(d.effectVolume);
}

} // namespace

QString readFailureReason(int error)
{
    switch (error) {
    case ENOENT:
    case ENOTDIR: return QStringLiteral("Такого файла нет.");
    case EISDIR: return QStringLiteral("Это папка, а не файл.");
    case EINVAL: return QStringLiteral("Это не обычный файл.");
    case EACCES:
    case EPERM: return QStringLiteral("Нет прав на чтение этого файла.");
    case EIO: return QStringLiteral("Диск сообщил об ошибке чтения: возможно, он повреждён.");
    default: return systemReason(error);
    }
}

QString writeFailureReason(int error)
{
    switch (error) {
    case ENOSPC: return QStringLiteral("На диске нет места.");
    case EDQUOT: return QStringLiteral("Исчерпана ваша дисковая квота.");
    case EROFS: return QStringLiteral("Диск доступен только для чтения.");
    case EACCES:
    case EPERM: return QStringLiteral("Нет прав на запись.");
    case EIO: return QStringLiteral("Диск сообщил об ошибке записи: возможно, он повреждён.");
    case ENOENT:
    case ENOTDIR: return QStringLiteral("Папки, в которой лежит файл, больше нет.");
    case EISDIR: return QStringLiteral("На месте файла находится папка.");
    case EINVAL: return QStringLiteral("Недопустимое имя файла.");
    case ENAMETOOLONG: return QStringLiteral("Слишком длинное имя файла.");
    case EFBIG: return QStringLiteral("Файл слишком велик.");
    case EBUSY:
    case ETXTBSY: return QStringLiteral("Файл занят другой программой.");
    case ELOOP: return QStringLiteral("Ссылки на файл ведут по кругу.");
    case shell::WriteResult::kNotWritten: return QStringLiteral("Файл не записывался.");
    default: return systemReason(error);
    }
}

QString writeFailed(const QString& what, const QString& path, const shell::WriteResult& result)
{
    using shell::LeftOnDisk;
    QString text = (result.left == LeftOnDisk::New ? QStringLiteral("Файл записан, но диск не подтвердил запись") : what)
                   + QStringLiteral(": ") + path + QLatin1Char('\n');
    if (!result.through.isEmpty())
        text += QStringLiteral("Это ссылка на ") + result.through + QStringLiteral(". ");
    text += writeFailureReason(result.error);
    switch (result.left) {
    case LeftOnDisk::Old:
        if (result.existed)
            text += QStringLiteral(" Прежний файл не изменён.");
        break;
    case LeftOnDisk::New:
        text += QStringLiteral(" При сбое питания может вернуться прежний файл.");
        break;
    case LeftOnDisk::Damaged:
        text += QStringLiteral(" Вернуть прежнее содержимое не удалось: файл может быть повреждён.");
        break;
    }
    return text;
}

QString readFailed(const QString& what, const QString& path, int error)
{
    return what + QStringLiteral(": ") + path + QLatin1Char('\n') + readFailureReason(error);
}

QString configReadProblem(const QString& path, const config_cfg::ReadResult& r)
{
    if (r.error == 0)
        return QStringLiteral("Файл настроек ") + config_cfg::kFileName
               + QStringLiteral(" повреждён: недостающие значения взяты по умолчанию.");
    return readFailed(QStringLiteral("Не удалось прочитать настройки"), path, r.error)
           + QStringLiteral(" Взяты значения по умолчанию, а файл останется как есть.");
}

QString configWriteFailed(const QString& path, const shell::WriteResult& result)
{
    return writeFailed(QStringLiteral("Не удалось сохранить настройки"), path, result);
}

QString saveReadFailed(const QString& path, const save_dbs::ReadResult& r)
{
    switch (r.status) {
    case save_dbs::ReadStatus::Missing: return QStringLiteral("Сохранённой игры нет: ") + path;
    case save_dbs::ReadStatus::Unreadable: return readFailed(QStringLiteral("Не удалось прочитать сохранение"), path, r.error);
    case save_dbs::ReadStatus::NoLevel: return QStringLiteral("В сохранении нет номера уровня: ") + path;
    case save_dbs::ReadStatus::Ok: break;
    }
    return {};
}

QString saveWriteFailed(const QString& path, const shell::WriteResult& result)
{
    return writeFailed(QStringLiteral("Не удалось сохранить игру"), path, result);
}

QString mapReadFailed(map_dbm::ReadStatus status, const QString& path, int error)
{
    switch (status) {
    case map_dbm::ReadStatus::Missing: return QStringLiteral("Нет файла карты: ") + path;
    case map_dbm::ReadStatus::Unreadable: return readFailed(QStringLiteral("Не удалось прочитать карту"), path, error);
    case map_dbm::ReadStatus::TooShort: return QStringLiteral("В карте меньше 40 клеток: ") + path;
    case map_dbm::ReadStatus::NotANumber: return QStringLiteral("Карта испорчена: ") + path;
    case map_dbm::ReadStatus::Ok: break;
    }
    return {};
}

QString mapWriteFailed(const QString& path, const shell::WriteResult& result)
{
    return writeFailed(QStringLiteral("Не удалось записать карту"), path, result);
}

RecordNotice recordNotice(float score, const QString& path, const records_txt::Kept& kept)
{
    RecordNotice told{QStringLiteral("новый рекорд: ") + shell::numText(score), {}};
    if (!kept.written())
        told.hint += QStringLiteral(" (не записан в ") + path + QLatin1Char(')');
    const QString what = QStringLiteral("Не удалось записать рекорд");
    if (kept.readError != 0)
        told.box = readFailed(what, path, kept.readError)
                   + QStringLiteral(" Файл рекордов не перезаписан, чтобы не потерять прежние рекорды.");
    else if (!kept.write)
        told.box = writeFailed(what, path, kept.write);
    return told;
}

QString viewWriteFailed(const QString& path, const shell::WriteResult& result)
{
    return writeFailed(QStringLiteral("Не удалось сохранить настройки вида"), path, result);
}

QString soundReadProblem(const QString& path, const sound_cfg::ReadResult& r)
{
    if (r.error != 0)
        return readFailed(QStringLiteral("Не удалось прочитать настройки звука"), path, r.error)
               + QStringLiteral("\nВзяты значения по умолчанию: ") + soundDefaultsText() + QLatin1Char('.');
    QString text = QStringLiteral("Файл настроек звука повреждён: ") + path;
    if (!r.badLines.isEmpty()) {
        QStringList numbers;
        for (qsizetype i = 0; i < r.badLines.size() && i < 10; ++i)
            numbers << QString::number(r.badLines[i]);
        if (r.badLines.size() > 10)
            numbers << QStringLiteral("…");
        text += (r.badLines.size() == 1 ? QStringLiteral("\nНепонятная строка: ") : QStringLiteral("\nНепонятные строки: "))
                + numbers.join(QStringLiteral(", ")) + QLatin1Char('.');
    }
    if (r.cut)
        text += QStringLiteral("\nФайл слишком велик: прочитано только его начало.");
    return text + QStringLiteral("\nЧего в файле не нашлось, взято по умолчанию: ") + soundDefaultsText() + QLatin1Char('.');
}

QString soundWriteFailed(const QString& path, const shell::WriteResult& result)
{
    return writeFailed(QStringLiteral("Не удалось сохранить настройки звука"), path, result);
}

} // namespace messages
