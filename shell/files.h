#pragma once
// The game's files on disk: whole-file writes that never lose the old file, reads that keep the
// reason they failed, and the joining of folders and names. What the player is told of a failure
// is messages/file_messages.h.
#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <functional>

namespace shell {

// What a failed write left in the file's place.
enum class LeftOnDisk {
    Old,     // the file holds every byte it held before (or there was none)
    New,     // the new bytes are in place, but the disk did not confirm the folder's change, so a
             // power cut could still bring the old file back
    Damaged, // an in-place rewrite failed and even putting the old bytes back failed
};

// How a write went. One made by default stands for no write at all, and is no success.
struct WriteResult {
    int error = kNotWritten; // errno of the step that failed; 0 when the whole file is on disk
    LeftOnDisk left = LeftOnDisk::Old;
    bool existed = false; // a file was there before the write
    QString through;      // where the symbolic link that the path named led, when it was one
    static constexpr int kNotWritten = -1;
    explicit operator bool() const { return error == 0; }
    // The new bytes are in the file, confirmed by the disk or not: the game goes on as after a
    // write, and the player is still told when they are not confirmed.
    bool inPlace() const { return error == 0 || left == LeftOnDisk::New; }
};

// Writes the file whole, so that it holds either every byte it held before or every new byte.
//
// Where the folder allows it the data goes to a hidden temporary file beside the target,
// written with unbuffered writes, synced, closed, renamed over the target, and the folder is
// synced after the rename; every return is checked, and on any failure the temporary file is
// removed and the target is untouched. Where the folder forbids creating files but the file
// itself is writable (a shared play folder), the file is rewritten in place: its old bytes are
// kept in memory and put back if the rewrite fails. A file that exists but is not writable, a
// folder and an empty name are refused.
//
// A symbolic link is written through and never replaced: the file it leads to (through any
// chain of links) is written as above, in that file's own folder. A link to a file that does not
// exist yet makes that file there; a link into a folder that does not exist is refused (ENOENT)
// and stays as it was.
WriteResult writeFileWhole(const QString& path, const QByteArray& data);

// Removes from `folder` what writes of the files `ours` names left behind when the program
// writing them ended in their midst (a crash, a power cut): regular files named exactly as
// writeFileWhole names its temporary files, ".<name>.tmp-<pid>-<n>", whose <pid> is not that of a
// running copy of this program, or is this program's own (to be called before it writes
// anything). Nothing else is touched. Reads the folder once.
void removeStaleTemporaries(const QString& folder, const std::function<bool(const QString& name)>& ours);

// A file opened for reading as the game reads its files. Only a regular file is opened (a pipe
// or a device could make the game wait forever), and the reason of a failed open or read is kept.
class ReadFile : public QIODevice {
public:
    explicit ReadFile(const QString& path);
    ~ReadFile() override;
    ReadFile(const ReadFile&) = delete;
    ReadFile& operator=(const ReadFile&) = delete;

    // errno of the failed open or of the first failed read; 0 while all went well. ENOENT or
    // ENOTDIR: no such file; EISDIR: a folder; EINVAL: not a regular file.
    int error() const { return m_error; }
    bool missing() const;
    // The file's size when it was opened.
    qint64 sizeAtOpen() const { return m_size; }
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    int m_fd = -1;
    int m_error = 0;
    qint64 m_size = 0;
};

// Reads at most maxBytes from the start of a file; `error` as ReadFile's.
struct ReadResult {
    QByteArray data;
    int error = 0;
    bool missing() const;
};
ReadResult readFileHead(const QString& path, qint64 maxBytes);

// Joins a folder and a name with the handlers' separator ("/", "\" or "\music\"). The separator's
// "\" become "/"; the folder and the name are kept exactly, since "\" is an ordinary character in
// a file or folder name here.
QString joinPath(const QString& folder, const QString& separator, const QString& name);

} // namespace shell
