// Drawing on a window's surface: boxes stay until cls, and only a box that changes what is drawn
// asks for a repaint (the ball tick redraws the whole grid on every tick).
#include "shell/window.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

constexpr shell::Color kRed = shell::rgb(250, 0, 0);
constexpr shell::Color kGreen = shell::rgb(0, 250, 0);

class PaintCounter : public QObject {
public:
    int paints = 0;
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

// A shown window in millimetres, like the main window, with its first paint done.
class Surface : public ::testing::Test {
protected:
    Surface() : window(QStringLiteral("t"), 3000, 2000, shell::kTwipsPerMm)
    {
        window.show();
        settle();
        window.surface()->installEventFilter(&counter);
    }
    void settle()
    {
        for (int i = 0; i < 5; ++i)
            QApplication::processEvents();
    }
    int paintsAfter(const std::function<void()>& draw)
    {
        settle();
        counter.paints = 0;
        draw();
        settle();
        return counter.paints;
    }
    shell::Window window;
    PaintCounter counter;
};

} // namespace

TEST_F(Surface, RedrawingTheSameBoxesRequestsNoRepaint)
{
    auto grid = [&](shell::Color c) {
        for (int x = 1; x <= 3; ++x)
            window.drawBox(15.0f * x, 15, 15.0f * x + 15, 30, c, shell::Window::Finish::Raised);
    };
    EXPECT_GT(paintsAfter([&] { grid(kRed); }), 0) << "new boxes are painted";
    EXPECT_EQ(paintsAfter([&] { grid(kRed); }), 0) << "the same boxes again change nothing on screen";
    EXPECT_EQ(window.drawnColorAt(22, 22), kRed);
}

TEST_F(Surface, AChangedBoxIsDrawnAndRepainted)
{
    window.drawBox(15, 15, 30, 30, kRed, shell::Window::Finish::Raised);
    window.drawBox(30, 15, 45, 30, kRed, shell::Window::Finish::Raised);
    EXPECT_GT(paintsAfter([&] { window.drawBox(15, 15, 30, 30, kGreen, shell::Window::Finish::Raised); }), 0);
    EXPECT_EQ(window.drawnColorAt(22, 22), kGreen);
    EXPECT_EQ(window.drawnColorAt(37, 22), kRed) << "the neighbour keeps its colour";

    // The same colour with another finish changes the edges, so it is drawn too.
    EXPECT_GT(paintsAfter([&] { window.drawBox(15, 15, 30, 30, kGreen, shell::Window::Finish::Flat); }), 0);
    EXPECT_EQ(window.drawnColorAt(15.2f, 15.2f), kGreen) << "a flat box has no light edge";
}

TEST_F(Surface, BoxesPartlyOutsideAreClippedAndClsClearsAll)
{
    window.drawBox(40, 20, 90, 60, kRed); // beyond the right and bottom edges
    EXPECT_EQ(window.drawnColorAt(50, 30), kRed);
    window.drawBox(200, 200, 260, 260, kGreen); // wholly outside: nothing to draw
    EXPECT_FALSE(window.drawnColorAt(10, 10));
    window.cls();
    EXPECT_FALSE(window.drawnColorAt(50, 30));
    window.drawBox(40, 20, 90, 60, kRed);
    EXPECT_EQ(window.drawnColorAt(50, 30), kRed) << "after cls the same box is drawn again";
}
