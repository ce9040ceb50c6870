// The yardstick for the game's start-up: a bare Qt Widgets program that shows one empty window of
// the start screen's size (425 x 273 px, 6375 x 4095 twips at 15 twips a pixel) with the game's
// title, and nothing else: no font, no icon, no picture, no sound. plinkat_probe times it from
// process start to its window mapped, alternating with the game.
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Plinkat"));
    window.setFixedSize(425, 273);
    window.show();
    return QApplication::exec();
}
