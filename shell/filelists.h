#pragma once
// Drive, folder and file lists of the save/load dialog.
#include "shell/controls.h"

#include <QStringList>

namespace shell {

// The mounted volumes, root first; Drive is the root path of the chosen one.
class DriveList : public Control {
public:
    DriveList(Container& parent, float left, float top, float width, float height);
    QString drive() const { return m_drive; }
    // Chooses a volume by its root path; raises onChange when it changes.
    void setDrive(const QString& root);
    QStringList drives() const;
    std::function<void()> onChange;

private:
    QString m_drive;
};

// A folder list: the path's ancestors and its subfolders; a double-click or Enter opens a folder.
class DirList : public Control {
public:
    DirList(Container& parent, float left, float top, float width, float height, const QString& path);
    QString path() const { return m_path; }
    // Moves to a folder; returns false and keeps the current one if it cannot be read.
    bool setPath(const QString& path);
    std::function<void()> onChange;

private:
    void refresh();
    QString m_path;
};

// The files of a folder that match a pattern ("*.*" for all files, "*.dbm").
class FileList : public Control {
public:
    FileList(Container& parent, float left, float top, float width, float height, const QString& path);
    QString path() const { return m_path; }
    void setPath(const QString& path);
    QString pattern() const { return m_pattern; }
    void setPattern(const QString& pattern);
    QStringList files() const;
    // Name of the selected file (no folder), empty when nothing is selected.
    QString fileName() const;
    void select(const QString& name);

private:
    void refresh();
    QString m_path;
    QString m_pattern = QStringLiteral("*.*");
};

} // namespace shell
