#pragma once
// Drive, folder and file lists of the save/load dialog, in the manner of the classic list boxes.
//
// DriveList: the mounted volumes, the root "/" first; its drive is the root path of the chosen one.
// DirList: the current folder's ancestors from "/" down to the folder itself, each indented one
//   step more, then its subfolders; a double-click or Enter on an entry opens that folder.
// FileList: the files of one folder that match a pattern. "*.*" means every file, with or without
//   a dot in its name; matching ignores letter case; hidden files are not listed. Given a preview
//   reader, it shows a small picture beside each file the reader gives one for.
#include "shell/controls.h"
#include "shell/file_previews.h"

#include <QSize>
#include <QStringList>
#include <memory>

class QListWidget;

namespace shell {

class DriveList : public Control {
public:
    DriveList(Container& parent, float left, float top, float width, float height, const QString& folder);
    QString drive() const { return m_drive; }
    // Chooses a volume by its root path (as the player does in the list) and raises onChange
    // when it differs from the current one. A root that is not listed is added to the list.
    void setDrive(const QString& root);
    // Shows a volume as the chosen one without raising onChange (to undo a refused choice).
    void restoreDrive(const QString& root);
    // The mounted volumes that are folders, "/" first, the others in name order.
    static QStringList drives();
    // The root of the volume that holds a folder.
    static QString driveOf(const QString& folder);
    std::function<void()> onChange;

    // Fills the list afresh from the mounted volumes, keeping the chosen drive.
    void refresh();

private:
    void showDrive(const QString& root);
    QString m_drive;
};

class DirList : public Control {
public:
    DirList(Container& parent, float left, float top, float width, float height, const QString& path);
    QString path() const { return m_path; }
    // Moves to a folder, reading its subfolders afresh, and raises onChange when the folder
    // differs. Returns false and keeps the current folder when it does not exist or cannot be read.
    bool setPath(const QString& path);
    // The entries as shown, without indentation: the ancestors and the folder itself
    // ("/" for the root, then the names), followed by the subfolders' names.
    QStringList entries() const;
    // How many of the entries are the path's own chain (root ... current folder).
    int chainLength() const { return static_cast<int>(m_chain.size()); }
    // Opens entry i (0-based) as a double-click does; false when the folder cannot be read.
    bool open(int index);
    // Opens the subfolder of the given name, or the ancestor of that name, as a double-click does.
    bool openEntry(const QString& name);

    std::function<void()> onChange;
    // A folder the player tried to open could not be read; the current folder stays.
    std::function<void(const QString& path)> onRefused;

    static bool isReadableFolder(const QString& path);

private:
    void refresh();
    QString pathOfEntry(int index) const;
    QString m_path;
    QStringList m_chain;   // full paths: "/", "/home", "/home/me"
    QStringList m_subdirs; // names
};

class FileList : public Control {
public:
    FileList(Container& parent, float left, float top, float width, float height, const QString& path);
    ~FileList() override;
    QString path() const { return m_path; }
    void setPath(const QString& path);
    QString pattern() const { return m_pattern; }
    void setPattern(const QString& pattern);
    // The names now shown, in order.
    QStringList files() const;
    // Name of the selected file (no folder), empty when nothing is selected.
    QString fileName() const;
    // Selects a file by name as a click would; an unknown name clears the selection.
    void select(const QString& name);
    // Reads the folder again, keeping the selected name when it is still there.
    void refresh();

    // Shows each file's picture at the left of its row, iconSize logical pixels (every row keeps
    // the place), and tipSize large in the row's tooltip. Pictures are read on a worker thread,
    // only for the rows in view and a few around them, and kept per path until the file's
    // modification time or size changes; a read that ends after the list was filled again is
    // dropped, and destroying the list waits only for the one read under way. Setting a reader
    // forgets the pictures read so far.
    void setPreviewReader(PreviewReader reader, QSize iconSize, QSize tipSize);
    // The picture shown beside a listed file at the list's pixel ratio; null while it has not been
    // read, or when the file has none.
    QPixmap preview(const QString& name) const;
    // Asks for the pictures of the rows now in view and returns once every picture asked for
    // has been read and shown (tests and benchmarks; a hidden list asks for none).
    void waitForPreviews();

private:
    QStringList scan() const;
    void fill();
    QString pathOf(int row) const;
    QListWidget* listWidget() const;
    QString m_path;
    QString m_pattern = QStringLiteral("*.*");
    std::unique_ptr<FilePreviews> m_previews;
};

} // namespace shell
