#pragma once
// The pictures beside the rows of a file list, read on a worker thread and kept per file.
//
// Each row's picture is shown at its left, iconSize logical pixels (every row keeps the place),
// and tipSize large in the row's tooltip. Pictures are read only for the rows in view and a few
// around them, and kept per path until the file's modification time or size changes; a read
// that ends after the list was filled again is dropped, and destroying the previews waits only
// for the one read under way.
#include "shell/controls.h"

#include <QCache>
#include <QHash>
#include <QSet>
#include <QSize>
#include <QString>
#include <QThreadPool>
#include <atomic>
#include <functional>
#include <memory>
#include <utility>

class QListWidget;

namespace shell {

// Reads the picture of one file for the file list: the painter of its picture, or an empty
// function when the file has none. It runs on a worker thread, so it must be safe to call from
// any thread and touch no widget; what it returns is called on the GUI thread.
using PreviewReader = std::function<PixmapSource(const QString& path)>;

class FilePreviews {
public:
    // The file shown in a row of the list, empty for a row that does not exist.
    using PathOfRow = std::function<QString(int row)>;

    // Takes over the list's item delegate; the list must go before the previews.
    FilePreviews(QListWidget& list, PathOfRow pathOf, PreviewReader reader, QSize iconSize, QSize tipSize);
    ~FilePreviews();
    FilePreviews(const FilePreviews&) = delete;
    FilePreviews& operator=(const FilePreviews&) = delete;

    // The list was filled afresh: reads under way no longer matter.
    void refilled();
    // Asks for the rows in view once the current event has been handled.
    void schedule();
    // The picture beside a row, painted once for each pixel ratio; null when it has none (yet).
    QPixmap icon(int row, qreal dpr);
    // The file's name over its picture at tipSize, or nothing when it has none.
    QString toolTip(int row);
    // Asks for the rows in view, waits for the worker and delivers its results, until nothing
    // more is asked for (a hidden list asks for none).
    void waitUntilShown();
    QSize iconSize() const { return m_iconSize; }

private:
    class Delegate;
    class Context;
    // What identifies a file's content for the cache: a rewritten file has a new time or size.
    struct Stamp {
        qint64 modified = -1; // milliseconds since the epoch; -1 when the file does not exist
        qint64 size = -1;
        bool operator==(const Stamp&) const = default;
    };
    struct Entry {
        Stamp stamp;
        PixmapSource paint; // empty: the file has no picture
        QPixmap icon;       // painted when first shown, at the pixel ratio it was shown at
    };
    struct Result {
        int listing = 0;
        int row = 0;
        QString path;
        std::shared_ptr<std::atomic_bool> dropped;
        bool looked = false; // false when the read was dropped before it started
        bool read = false;   // the reader ran: the file is new or changed
        Stamp stamp;
        PixmapSource paint;
    };

    static Stamp stampOf(const QString& path);
    std::pair<int, int> rowsInView() const;
    void askForRowsInView();
    void ask(int row);
    void deliver(const Result& result);
    Entry* entryOf(int row);

    QListWidget& m_list;
    const PathOfRow m_pathOf;
    const PreviewReader m_reader;
    const QSize m_iconSize;
    const QSize m_tipSize;
    QCache<QString, Entry> m_cache;
    int m_listing = 0;       // how many times the list has been filled
    QSet<int> m_checked;     // rows of this listing whose file has been looked at
    QHash<int, std::shared_ptr<std::atomic_bool>> m_pending; // rows being looked at: their drop flags
    int m_inFlight = 0;      // reads started and not yet delivered, of any listing
    bool m_scheduled = false;
    std::unique_ptr<Delegate> m_delegate;
    std::unique_ptr<Context> m_context;
    QThreadPool m_pool;
};

} // namespace shell
