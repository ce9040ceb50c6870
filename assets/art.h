#pragma once
// The game's pictures, painted with QPainter at run time.
//
// Every function returns a pixmap for a logical size and a device-pixel ratio: its real size is
// logical × dpr and it carries setDevicePixelRatio(dpr), so it stays sharp on 2× screens.
// Repeated calls with the same size and dpr return the same cached pixmap. An empty size gives a
// null pixmap. Illustrations are composed for the size listed with them and stretch to any other;
// the wall strip and the two backgrounds are textures and simply cover whatever size they get.
// Logical sizes are in screen pixels (1 px = 15 twips of the window layouts).

#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QSize>

namespace art {

// The player's paddle ("deck"), 113×25: a glossy steel capsule with red end caps.
// Opaque inside the capsule, transparent in the rounded corners.
QPixmap paddle(QSize size, qreal dpr);

// The wall along the bottom of the playfield ("polos"), 617×129: a steel ledge over brick courses.
// Fully opaque. A short window shows only its top; the ledge and the first two courses sit in the
// top 45 px, the rest darkens gently downwards.
QPixmap strip(QSize size, qreal dpr);

// Picture on the pause button, 49×33: two bars and a small "play" triangle on transparency.
QPixmap pauseButton(QSize size, qreal dpr);

// Difficulty marker ("skul") on the start screen, 20×19: a small skull on transparency.
QPixmap skull(QSize size, qreal dpr);

// Decorations of the start screen (window 425×273, difficulty buttons at x 280..401, y 96/144/192,
// 33 high, the "СТАРТ" button at x 24..409, y 240..265):
//   n = 1  title banner with "Plinkat", 425×89, placed at (0, 0);
//   n = 2  a scene of bricks, ball and paddle in play, 232×137, placed at (8, 96);
//   n = 3  a column of tiny bricks, 16×137, placed at (405, 96), right of the difficulty buttons;
//          its green, yellow and red parts line up with "ЛЕГКО", "НОРМА" and "КОШМАР";
//   n = 4  dark background texture for the whole window, 425×273, placed at (0, 0).
// Any other n gives a null pixmap.
QPixmap startPicture(int n, QSize size, qreal dpr);

// Decoration of the options window, 61×66: a steel gear holding the ball, on transparency.
QPixmap optionsPicture(QSize size, qreal dpr);

// Picture of the about window, 173×191: the ball bursting through a brick wall.
QPixmap aboutPicture(QSize size, qreal dpr);

// Shared background of the map editor (485×318) and of the save/load dialog (305×292):
// a light blueprint grid that keeps labels and lists readable.
QPixmap panelBackground(QSize size, qreal dpr);

// Background of the records window, 360×308: the night wall with a line of bricks under the
// heading and a dark well behind the table. A texture: it covers whatever size it gets.
QPixmap recordsBackground(QSize size, qreal dpr);

// The application icon: a ball, bricks and the paddle on a dark tile, at 16, 32, 48, 64, 128, 256 px.
// Its images are painted once, when the first window showing it needs its pixels.
QIcon appIcon();
// One square image of the icon, size × size pixels, for writing the desktop PNG.
QImage appIconImage(int size);

} // namespace art
