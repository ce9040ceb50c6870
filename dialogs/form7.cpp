#include "dialogs/form7.h"

#include "assets/art.h"
#include "game/forms.h"
#include "messages/file_messages.h"
#include "shell/basic.h"
#include "shell/files.h"

#include <QFont>
#include <QLabel>
#include <QWidget>

namespace {

// Layout in twips: a heading, the column heads, ten lines of 300, a status line and "назад".
constexpr float kClientWidthTw = 5400;
constexpr float kClientHeightTw = 4620;
constexpr float kFirstRowTop = 960;
constexpr float kRowHeight = 300;
struct Column {
    float left, width;
};
// The columns touch, so the band of the newest record runs unbroken across the line.
constexpr Column kPlace{120, 600}, kScore{720, 1200}, kLevel{1920, 1140}, kWhen{3060, 2220};

constexpr shell::Color kText = shell::rgb(232, 236, 248);
constexpr shell::Color kDim = shell::rgb(120, 130, 165);
constexpr shell::Color kHeading = shell::rgb(250, 250, 0);
constexpr shell::Color kNewestBand = shell::rgb(58, 72, 138);
// The place numbers in the cells' colours: red for the podium, yellow, then green.
shell::Color placeColor(std::size_t i)
{
    return i < 3 ? kRed : i < 6 ? kYellow : kGreen;
}

void styleText(shell::Label& label, int pointSize, bool bold, Qt::Alignment align)
{
    if (auto* text = qobject_cast<QLabel*>(label.widget()))
        text->setContentsMargins(6, 0, 6, 0); // clear of the neighbouring column
    QFont font = label.widget()->font();
    font.setPointSize(pointSize);
    font.setBold(bold);
    label.widget()->setFont(font);
    label.setAlignment(align | Qt::AlignVCenter);
}

std::unique_ptr<shell::Label> cell(shell::Window& w, Column c, float top, Qt::Alignment align, bool bold = false)
{
    auto label = std::make_unique<shell::Label>(w, c.left, top, c.width, kRowHeight);
    styleText(*label, 10, bold, align);
    return label;
}

} // namespace

Form7::Form7(Forms& forms)
    : Window(QStringLiteral("РЕКОРДЫ"), kClientWidthTw, kClientHeightTw),
      Label1(*this, 0, 120, kClientWidthTw, 480, QStringLiteral("лучшие результаты")),
      Label2(*this, kScore.left, 660, kScore.width, kRowHeight, QStringLiteral("очки")),
      Label3(*this, kLevel.left, 660, kLevel.width, kRowHeight, QStringLiteral("уровень")),
      Label4(*this, kWhen.left, 660, kWhen.width, kRowHeight, QStringLiteral("когда")),
      Label5(*this, 120, 4080, 3600, 420),
      Command1(*this, 3840, 4080, 1440, 420, QStringLiteral("назад")),
      m_forms(forms)
{
    setBackgroundPicture(&art::recordsBackground);
    styleText(Label1, 14, true, Qt::AlignHCenter);
    Label1.setForeColor(kHeading);
    for (shell::Label* head : {&Label2, &Label3, &Label4}) {
        styleText(*head, 9, false, head == &Label4 ? Qt::AlignLeft : Qt::AlignRight);
        head->setForeColor(kDim);
    }
    styleText(Label5, 9, false, Qt::AlignLeft);
    Label5.setWordWrap(true);
    Label5.setForeColor(kText);
    for (shell::Label* label : {&Label1, &Label2, &Label3, &Label4, &Label5})
        label->setTransparent(true);

    for (std::size_t i = 0; i < m_rows.size(); ++i) {
        const float top = kFirstRowTop + kRowHeight * static_cast<float>(i);
        Row& r = m_rows[i];
        r.place = cell(*this, kPlace, top, Qt::AlignRight, true);
        r.score = cell(*this, kScore, top, Qt::AlignRight);
        r.level = cell(*this, kLevel, top, Qt::AlignRight);
        r.when = cell(*this, kWhen, top, Qt::AlignLeft);
        r.place->setCaption(QString::number(i + 1) + QLatin1Char('.'));
    }

    Command1.onClick = [this] { hide(); };
}

Form7::~Form7() = default;

void Form7::showTable()
{
    const QString path = m_forms.recordsPath();
    const records_txt::Stored stored = records_txt::read(path);
    m_marked = records_txt::newest(stored.table);
    for (std::size_t i = 0; i < m_rows.size(); ++i) {
        Row& r = m_rows[i];
        const bool filled = i < stored.table.size();
        const bool newest = static_cast<int>(i) == m_marked;
        if (filled) {
            const records_txt::Record& rec = stored.table[i];
            r.score->setCaption(shell::numText(rec.score));
            r.level->setCaption(shell::numText(rec.level));
            r.when->setCaption(rec.when.toLocalTime().toString(QStringLiteral("dd.MM.yyyy  HH:mm")));
        } else {
            for (auto* empty : {r.score.get(), r.level.get(), r.when.get()})
                empty->setCaption(QStringLiteral("—"));
        }
        r.place->setForeColor(filled ? placeColor(i) : kDim);
        for (auto* text : {r.score.get(), r.level.get(), r.when.get()})
            text->setForeColor(newest ? kHeading : filled ? kText : kDim);
        // The newest record stands on a band across the line.
        for (auto* part : {r.place.get(), r.score.get(), r.level.get(), r.when.get()}) {
            part->setTransparent(!newest);
            if (newest)
                part->setBackColor(kNewestBand);
            part->setToolTip(newest ? QStringLiteral("последний рекорд") : QString());
        }
    }
    if (!stored.readable())
        Label5.setCaption(QStringLiteral("Файл рекордов не читается: ") + path + QLatin1Char(' ')
                          + messages::readFailureReason(stored.readError));
    else if (stored.table.empty())
        Label5.setCaption(QStringLiteral("Рекордов пока нет: сыграйте!"));
    else
        Label5.setCaption(QString());
}
