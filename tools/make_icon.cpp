// Writes the application icon as PNG files for the desktop: <folder>/<n>x<n>/plinkat.png for
// each size given, drawn by the same code as the window icon.
//
//   plinkat_make_icon <folder> <size>...
#include "assets/art.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <cstdio>

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s <folder> <size>...\n", argv[0]);
        return 2;
    }
    // A build step: no display is needed to paint into images.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QString folder = QString::fromLocal8Bit(argv[1]);
    for (int i = 2; i < argc; ++i) {
        bool ok = false;
        const int size = QString::fromLocal8Bit(argv[i]).toInt(&ok);
        const QImage image = ok ? art::appIconImage(size) : QImage();
        if (image.isNull() || image.width() != size || image.height() != size) {
            std::fprintf(stderr, "no icon of size %s\n", argv[i]);
            return 1;
        }
        const QString dir = QStringLiteral("%1/%2x%2").arg(folder).arg(size);
        if (!QDir().mkpath(dir) || !image.save(dir + QStringLiteral("/plinkat.png"), "PNG")) {
            std::fprintf(stderr, "cannot write %s/plinkat.png\n", qPrintable(dir));
            return 1;
        }
    }
    return 0;
}
