#include "view/startup_scale.h"

#include <QDir>
#include <QGuiApplication>
#include <QScreen>
#include <vector>

namespace view {

namespace {

const char* const kScaleVariable = "QT_SCALE_FACTOR";

Area areaOf(const QScreen* screen, double applied)
{
    if (!screen)
        return {};
    const QRect a = screen->availableGeometry();
    return {a.width() * applied, a.height() * applied};
}

} // namespace

double applyWindowSize(int argc, char** argv)
{
    const view_cfg::Values chosen = view_cfg::read(QDir::current().filePath(view_cfg::kFileName));
    if (chosen.windowSize == 100)
        return 1.0;
    bool ok = false;
    double own = qEnvironmentVariable(kScaleVariable).toDouble(&ok);
    if (!ok || !(own > 0))
        own = 1.0;
    Area area;
    {
        // The toolkit may take its own options out of the arguments: it gets a copy.
        std::vector<char*> args(argv, argv + argc);
        args.push_back(nullptr);
        int count = argc;
        const QGuiApplication probe(count, args.data());
        area = areaOf(QGuiApplication::primaryScreen(), 1.0);
    }
    if (area.height <= 0)
        return 1.0;
    const double factor = factorFor(chosen.windowSize, area);
    if (factor != 1.0)
        qputenv(kScaleVariable, QByteArray::number(own * factor, 'g', 6));
    return factor;
}

Area screenArea(double applied)
{
    return areaOf(QGuiApplication::primaryScreen(), applied);
}

} // namespace view
