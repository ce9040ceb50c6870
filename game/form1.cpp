#include "game/form1.h"

#include "assets/art.h"
#include "assets/ball.h"
#include "filedialog/form3.h"
#include "game/forms.h"
#include "game/sound_menu.h"
#include "game/view_menu.h"
#include "shell/program.h"
#include "view/cell_marks.h"

#include <QFont>

namespace {
// Design client area of the main window, in twips.
constexpr float kClientWidthTw = 9195;
constexpr float kClientHeightTw = 8235;
// A readout as long as play makes it: drift and horizontal speed of a few millimetres either way.
const QString kLongReadout = QStringLiteral("-5.6 p -1.6 s 2 nx");
constexpr int kLineEditPadding = 8; // a text box's frame and inner margins, in pixels
} // namespace

Form1::Form1(Forms& forms)
    : Window(shell::kProductTitle, kClientWidthTw, kClientHeightTw, shell::kTwipsPerMm),
      ball(*this, mmFromTwips(3120), mmFromTwips(6240), mmFromTwips(495), mmFromTwips(495), shell::Shape::Kind::Circle),
      deck(*this, mmFromTwips(2520), mmFromTwips(6840), mmFromTwips(1695), mmFromTwips(375), &art::paddle),
      polos(*this, 0, mmFromTwips(7200), mmFromTwips(9255), mmFromTwips(1935), &art::strip),
      Text1(*this, 0, 0, mmFromTwips(7335), mmFromTwips(495)),
      Text2(*this, mmFromTwips(7320), 0, mmFromTwips(1215), mmFromTwips(495), QStringLiteral("0 0 0")),
      Command2(*this, mmFromTwips(8520), 0, mmFromTwips(735), mmFromTwips(495)),
      MMControl1(forms.makeDevice()),
      MMControl2(forms.makeDevice()),
      controls(*this, *this),
      m_forms(forms),
      m_focus([this] { Program_FocusLeft(); }, [this](bool ours) { Program_FocusSettled(ours); })
{
    Dir1.path = forms.startFolder();
    setIcon(art::appIcon());

    ball.setFillColor(shell::rgb(255, 255, 0));
    ball.setBorderColor(shell::rgb(192, 192, 0));
    ball.setPainter([this](QPainter& p, const QRectF& box) {
        const QColor fill = shell::toQColor(ball.fillColor().value_or(backColor()));
        const QColor outline = shell::toQColor(ball.borderColor().value_or(backColor()));
        art::drawBall(p, box.center(), box.width() / 2, art::playBall(fill, outline));
    });
    polos.setFocusable(true);
    Command2.setPicture(&art::pauseButton);
    Command2.setFocusPolicy(Qt::NoFocus);
    Text2.setFocusPolicy(Qt::ClickFocus);
    // The readout's box is narrow for its text: a condensed font small enough to show a long
    // readout whole, so its start (the drift) is never scrolled out of view.
    shell::fitFont(Text2, kLongReadout, 12, kLineEditPadding, QFont::SemiCondensed);

    addMenu(fil, QStringLiteral("файл"));
    addMenu(sa, QStringLiteral("сэйвы"), fil);
    addMenu(load, QStringLiteral("загрузить"), sa);
    addMenu(save, QStringLiteral("сохранить"), sa);
    addMenu(map, QStringLiteral("карты"), fil);
    addMenu(editor, QStringLiteral("редактор карт"), fil);
    addMenu(random, QStringLiteral("случайная карта"), fil);
    addMenu(rekord, QStringLiteral("рекорды"), fil);
    addMenu(sped, QStringLiteral("опции"));
    addMenu(about, QStringLiteral("О программе"));
    vid = std::make_unique<view::ViewMenu>(*this, forms);
    zvuk = std::make_unique<SoundMenu>(*this, forms);
    MMControl1->setVolume(forms.sound().effectVolume);
    MMControl2->setVolume(forms.sound().musicVolume);

    // Event wiring: every handler is a member function named after its control and event.
    polos.onMouseMove = [this](const shell::MouseArgs& a) { polos_MouseMove(a); };
    polos.onMouseDown = [this](const shell::MouseArgs& a) { polos_MouseDown(a); };
    polos.onKeyDown = [this](int key, int shift) { polos_KeyDown(key, shift); };
    deck.onMouseDown = [this](const shell::MouseArgs& a) { deck_MouseDown(a); };
    deck.onClick = [this] { deck_Click(); };
    Command2.onClick = [this] { Command2_Click(); };
    Command2.onMouseMove = [this](const shell::MouseArgs& a) { Command2_MouseMove(a); };
    onMouseMove = [this](const shell::MouseArgs& a) { Form_MouseMove(a); };
    Timer1.onTick = [this] { Timer1_Tick(); };
    Timer2.onTick = [this] { Timer2_Tick(); };
    Timer3.onTick = [this] { Timer3_Tick(); };
    Timer4.onTick = [this] { Timer4_Tick(); };
    Timer5.onTick = [this] { Timer5_Tick(); };
    Timer6.onTick = [this] { Timer6_Tick(); };
    Timer7.onTick = [this] { Timer7_Tick(); };
    MMControl2->onDone = [this] { MMControl2_Done(); };
    save.onClick = [this] { save_Click(); };
    load.onClick = [this] { load_Click(); };
    map.onClick = [this] { map_Click(); };
    editor.onClick = [this] { editor_Click(); };
    random.onClick = [this] { random_Click(); };
    sped.onClick = [this] { sped_Click(); };
    about.onClick = [this] { about_Click(); };
    rekord.onClick = [this] { rekord_Click(); };
    onMouseDown = [this](const shell::MouseArgs& a) { Form_MouseDown(a); };
    onKeyDown = [this](const shell::KeyArgs& k) { return Form_KeyDown(k); };
    onKeyUp = [this](const shell::KeyArgs& k) { controls.keyUp(k); };
    onMinimize = [this] { Form_Minimize(); };
    startFrames(forms);
    // The keys steer from the moment the window opens; the hint line takes them once the player
    // puts the caret there (game/keyboard.cpp).
    polos.setFocus();
}

Form1::~Form1() = default;

void Form1::drawCell(int x, int y)
{
    const float v = cells[x][y];
    const std::optional<shell::Color> color = cellColor(v, backColor());
    if (!color)
        return; // a value outside 0..3 has no colour: the earlier picture stays
    const float x0 = 15.0f * static_cast<float>(x);
    const float y0 = 15.0f * static_cast<float>(y);
    // Coloured cells get a thin bevel so the grid reads as bricks; their centre is the exact colour
    // but where the cell marks lie.
    static const shell::Overlay kNoMark;
    drawBox(x0, y0, x0 + 15.0f, y0 + 15.0f, *color, v == 0 ? Finish::Flat : Finish::Raised,
            m_forms.view().cellMarks ? view::markOverlay(v) : kNoMark);
}

void Form1::drawGrid()
{
    for (int x = 1; x <= 10; ++x)
        for (int y = 1; y <= 4; ++y)
            drawCell(x, y);
}

QString Form1::workingFolder()
{
    // A dialog not built yet would have its folder list where it starts; answering from there
    // spares the start-up building it (its drive and folder lists).
    if (!m_forms.form3Exists())
        return m_forms.workFolder();
    return m_forms.form3().Dir1.path();
}

void Form1::restBallOnPaddle(float top)
{
    ball.setLeft(deck.left() + 10.0f);
    ball.setTop(top);
}
