#include "assets/art.h"
#include "assets/picture_cache.h"

#include <QPixmapCache>
#include <QSet>
#include <functional>
#include <ostream>
#include <gtest/gtest.h>

namespace {

struct Picture {
    const char* name;
    QSize size;
    std::function<QPixmap(QSize, qreal)> make;
};

const Picture kPictures[] = {
    {"paddle", {113, 25}, art::paddle},
    {"strip", {617, 129}, art::strip},
    {"pause", {49, 33}, art::pauseButton},
    {"skull", {20, 19}, art::skull},
    {"title", {425, 89}, [](QSize s, qreal d) { return art::startPicture(1, s, d); }},
    {"scene", {232, 137}, [](QSize s, qreal d) { return art::startPicture(2, s, d); }},
    {"column", {16, 137}, [](QSize s, qreal d) { return art::startPicture(3, s, d); }},
    {"startBackground", {425, 273}, [](QSize s, qreal d) { return art::startPicture(4, s, d); }},
    {"options", {61, 66}, art::optionsPicture},
    {"about", {173, 191}, art::aboutPicture},
    {"editorBackground", {485, 318}, art::panelBackground},
    {"dialogBackground", {305, 292}, art::panelBackground},
};

void PrintTo(const Picture& picture, std::ostream* os)
{
    *os << picture.name;
}

int distinctColours(const QImage& image)
{
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            colours.insert(image.pixel(x, y));
    return int(colours.size());
}

QImage rendered(const QPixmap& pixmap)
{
    return pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
}

class EveryPicture : public ::testing::TestWithParam<std::tuple<Picture, qreal>> {};

TEST_P(EveryPicture, HasTheLogicalSizeTimesDprAndCarriesTheDpr)
{
    const auto& [picture, dpr] = GetParam();
    const QPixmap pm = picture.make(picture.size, dpr);
    ASSERT_FALSE(pm.isNull()) << picture.name;
    EXPECT_EQ(pm.devicePixelRatio(), dpr) << picture.name;
    EXPECT_EQ(pm.size(), picture.size * dpr) << picture.name;
    EXPECT_EQ(pm.deviceIndependentSize().toSize(), picture.size) << picture.name;
}

TEST_P(EveryPicture, IsDrawnWithManyColours)
{
    const auto& [picture, dpr] = GetParam();
    const QImage image = rendered(picture.make(picture.size, dpr));
    EXPECT_GE(distinctColours(image), 24) << picture.name;
}

TEST_P(EveryPicture, FollowsARequestedSizeOtherThanItsOwn)
{
    const auto& [picture, dpr] = GetParam();
    const QSize other(picture.size.width() + 7, picture.size.height() / 2 + 3);
    const QPixmap pm = picture.make(other, dpr);
    EXPECT_EQ(pm.size(), other * dpr) << picture.name;
    EXPECT_GE(distinctColours(rendered(pm)), 8) << picture.name;
}

TEST_P(EveryPicture, RepeatedCallIsServedFromTheCache)
{
    const auto& [picture, dpr] = GetParam();
    const QPixmap first = picture.make(picture.size, dpr);
    const QPixmap again = picture.make(picture.size, dpr);
    EXPECT_EQ(first.cacheKey(), again.cacheKey()) << picture.name;
    const QPixmap otherDpr = picture.make(picture.size, dpr * 1.5);
    EXPECT_NE(first.cacheKey(), otherDpr.cacheKey()) << picture.name;
    EXPECT_EQ(otherDpr.devicePixelRatio(), dpr * 1.5) << picture.name;
}

TEST_P(EveryPicture, RepaintsIdenticallyAfterTheCacheIsDropped)
{
    const auto& [picture, dpr] = GetParam();
    const QImage first = rendered(picture.make(picture.size, dpr));
    art::dropCachedPictures();
    const QImage second = rendered(picture.make(picture.size, dpr));
    EXPECT_EQ(first, second) << picture.name;
}

INSTANTIATE_TEST_SUITE_P(Art, EveryPicture,
                         ::testing::Combine(::testing::ValuesIn(kPictures), ::testing::Values(1.0, 2.0)),
                         [](const auto& info) {
                             return std::string(std::get<0>(info.param).name) +
                                    (std::get<1>(info.param) > 1 ? "At2x" : "At1x");
                         });

TEST(Art, DoubleRatioPaintsTheSamePictureInFinerPixels)
{
    // Catches drawing that ignores the ratio: a 2× picture shrunk back must match the 1× one.
    for (const Picture& picture : kPictures) {
        const QImage one = rendered(picture.make(picture.size, 1));
        const QImage two = rendered(picture.make(picture.size, 2))
                               .scaledToWidth(one.width(), Qt::SmoothTransformation);
        ASSERT_EQ(two.size(), one.size()) << picture.name;
        qint64 diff = 0;
        for (int y = 0; y < one.height(); ++y)
            for (int x = 0; x < one.width(); ++x) {
                const QRgb a = one.pixel(x, y), b = two.pixel(x, y);
                diff += qAbs(qRed(a) - qRed(b)) + qAbs(qGreen(a) - qGreen(b)) + qAbs(qBlue(a) - qBlue(b)) +
                        qAbs(qAlpha(a) - qAlpha(b));
            }
        const double perChannel = double(diff) / (4.0 * one.width() * one.height());
        EXPECT_LT(perChannel, 4.0) << picture.name;
    }
}

TEST(Art, LeavesTheSharedPixmapCacheOfQtAlone)
{
    const int limit = QPixmapCache::cacheLimit();
    for (const Picture& picture : kPictures)
        picture.make(picture.size, 2);
    EXPECT_EQ(QPixmapCache::cacheLimit(), limit);
}

TEST(Art, SkullStandsOnTransparency)
{
    for (qreal dpr : {1.0, 2.0}) {
        const QImage image = rendered(art::skull({20, 19}, dpr));
        const int w = image.width(), h = image.height();
        for (QPoint corner : {QPoint(0, 0), QPoint(w - 1, 0), QPoint(0, h - 1), QPoint(w - 1, h - 1)})
            EXPECT_EQ(qAlpha(image.pixel(corner)), 0) << "dpr " << dpr;
        EXPECT_EQ(qAlpha(image.pixel(w / 2, h / 3)), 255) << "dpr " << dpr;
        int clear = 0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                clear += qAlpha(image.pixel(x, y)) == 0;
        EXPECT_GT(clear, w * h / 10) << "dpr " << dpr;
    }
}

TEST(Art, PaddleIsSolidInsideWithClearRoundedCorners)
{
    for (qreal dpr : {1.0, 2.0}) {
        const QImage image = rendered(art::paddle({113, 25}, dpr));
        const int w = image.width(), h = image.height();
        for (int x = w / 10; x < w - w / 10; ++x)
            ASSERT_EQ(qAlpha(image.pixel(x, h / 2)), 255) << "x " << x << " dpr " << dpr;
        for (int y = h / 4; y < h - h / 4; ++y)
            ASSERT_EQ(qAlpha(image.pixel(w / 2, y)), 255) << "y " << y << " dpr " << dpr;
        EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0);
        EXPECT_EQ(qAlpha(image.pixel(w - 1, h - 1)), 0);
    }
}

TEST(Art, StripIsOpaqueEverywhereAndAlsoWhenShort)
{
    for (QSize size : {QSize(617, 129), QSize(617, 40)}) {
        const QImage image = rendered(art::strip(size, 2));
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                ASSERT_EQ(qAlpha(image.pixel(x, y)), 255) << x << "," << y << " of " << size.height();
    }
}

TEST(Art, BackgroundsAreOpaque)
{
    for (const QPixmap& pm : {art::startPicture(4, {425, 273}, 1), art::panelBackground({485, 318}, 1),
                              art::panelBackground({305, 292}, 2)}) {
        const QImage image = rendered(pm);
        EXPECT_EQ(qAlpha(image.pixel(0, 0)), 255);
        EXPECT_EQ(qAlpha(image.pixel(image.width() / 2, image.height() / 2)), 255);
        EXPECT_EQ(qAlpha(image.pixel(image.width() - 1, image.height() - 1)), 255);
    }
}

TEST(Art, GlyphsAndDecorationsLeaveTheirCornersClear)
{
    for (const QPixmap& pm : {art::pauseButton({49, 33}, 2), art::optionsPicture({61, 66}, 2)}) {
        const QImage image = rendered(pm);
        EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0);
        EXPECT_EQ(qAlpha(image.pixel(image.width() - 1, 0)), 0);
        int solid = 0;
        for (int x = 0; x < image.width(); ++x)
            solid += qAlpha(image.pixel(x, image.height() / 2)) == 255;
        EXPECT_GT(solid, image.width() / 3);
    }
}

TEST(Art, StripTopShowsASteelLedgeOverRedBricks)
{
    // Only the top of the wall may be visible, so the ledge and the first courses must be there.
    const QImage image = rendered(art::strip({617, 129}, 1));
    int grey = 0, brick = 0;
    for (int x = 0; x < image.width(); ++x) {
        const QColor ledge = image.pixelColor(x, 4).toHsv();
        grey += ledge.hsvSaturation() < 60 && ledge.value() > 150;
        for (int y : {18, 34}) {
            const QColor c = image.pixelColor(x, y);
            brick += c.red() > c.green() + 40 && c.red() > c.blue() + 40;
        }
    }
    EXPECT_GT(grey, image.width() * 9 / 10);
    EXPECT_GT(brick, image.width() * 2 * 6 / 10);
}

TEST(Art, SceneShowsAllThreeCellColoursAndTheBall)
{
    const QImage image = rendered(art::startPicture(2, {232, 137}, 1));
    bool red = false, yellow = false, green = false, gold = false;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y).toHsv();
            if (c.hsvSaturation() < 220 || c.value() < 200)
                continue;
            const int hue = c.hsvHue();
            red |= hue < 8 || hue > 352;
            gold |= hue >= 38 && hue <= 52;
            yellow |= hue >= 57 && hue <= 63;
            green |= hue >= 115 && hue <= 125;
        }
    EXPECT_TRUE(red);
    EXPECT_TRUE(yellow);
    EXPECT_TRUE(green);
    EXPECT_TRUE(gold);
}

TEST(Art, ColumnShowsGreenYellowRedFromTopToBottom)
{
    // The column stands beside the easy, normal and nightmare buttons, in that order.
    const QImage image = rendered(art::startPicture(3, {16, 137}, 1));
    auto dominant = [&](int y) {
        const QColor c = image.pixelColor(8, y).toHsv();
        if (c.saturation() < 120 || c.value() < 120)
            return '?';
        const int hue = c.hue();
        return hue < 20 || hue > 340 ? 'R' : hue < 80 ? 'Y' : hue < 160 ? 'G' : '?';
    };
    auto scan = [&](int from, int to) {
        QSet<char> seen;
        for (int y = from; y < to; ++y)
            seen.insert(dominant(y));
        seen.remove('?');
        return seen;
    };
    EXPECT_EQ(scan(0, 33), QSet<char>{'G'});
    EXPECT_EQ(scan(48, 81), QSet<char>{'Y'});
    EXPECT_EQ(scan(96, 137), QSet<char>{'R'});
}

TEST(Art, RejectsUnknownStartPictureAndEmptySizes)
{
    EXPECT_TRUE(art::startPicture(0, {10, 10}, 1).isNull());
    EXPECT_TRUE(art::startPicture(5, {10, 10}, 1).isNull());
    EXPECT_TRUE(art::paddle({0, 25}, 1).isNull());
    EXPECT_TRUE(art::strip({617, 0}, 2).isNull());
    // A nonsensical ratio falls back to 1 instead of producing an empty pixmap.
    const QPixmap pm = art::skull({20, 19}, 0);
    EXPECT_EQ(pm.size(), QSize(20, 19));
    EXPECT_EQ(pm.devicePixelRatio(), 1.0);
}

TEST(Art, IconOffersEveryDesktopSize)
{
    const QIcon icon = art::appIcon();
    const QList<QSize> sizes = icon.availableSizes();
    for (int s : {16, 32, 48, 64, 128, 256}) {
        EXPECT_TRUE(sizes.contains(QSize(s, s))) << s;
        const QImage image = art::appIconImage(s);
        ASSERT_EQ(image.size(), QSize(s, s));
        EXPECT_EQ(qAlpha(image.pixel(s / 2, s / 2)), 255) << s;
        EXPECT_GE(distinctColours(image.convertToFormat(QImage::Format_ARGB32)), 8) << s;
    }
    EXPECT_TRUE(art::appIconImage(0).isNull());
}

} // namespace
