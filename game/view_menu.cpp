#include "game/view_menu.h"

#include "editor/form2.h"
#include "filedialog/form3.h"
#include "game/form1.h"
#include "game/forms.h"
#include "messages/file_messages.h"
#include "shell/basic.h"
#include "shell/program.h"
#include "view/window_size.h"

namespace view {

namespace {

QString percentText(double factor)
{
    return QString::number(percentOf(factor)) + QStringLiteral(" %");
}

} // namespace

ViewMenu::ViewMenu(shell::Window& main, Forms& forms) : m_forms(forms)
{
    static_assert(std::size(view_cfg::kSizeChoices) == std::tuple_size_v<decltype(sizes)>);
    main.addMenu(vid, QStringLiteral("вид"));
    main.addMenu(marks, QStringLiteral("метки клеток"), vid);
    marks.setCheckable(true);
    marks.setChecked(forms.view().cellMarks);
    marks.setToolTip(QStringLiteral("одна, две или три точки на клетке: сколько ударов она ещё выдержит"));
    marks.onClick = [this] { marks_Click(); };
    main.addMenuSeparator(vid);
    main.addMenu(razmer, QStringLiteral("размер окон"), vid);

    const Area screen = forms.screenArea();
    const double fit = fitFactor(screen);
    for (std::size_t i = 0; i < sizes.size(); ++i) {
        const int choice = view_cfg::kSizeChoices[i];
        const QString caption = choice == view_cfg::kFitScreen ? QStringLiteral("по размеру экрана (") + percentText(fit) + QLatin1Char(')')
                                                     : percentText(choice / 100.0);
        main.addMenu(sizes[i], caption, razmer);
        sizes[i].setCheckable(true);
        // 100 % is the design size, offered on any screen.
        if (choice != view_cfg::kFitScreen && choice != 100 && !fits(choice / 100.0, screen)) {
            sizes[i].setEnabled(false);
            sizes[i].setToolTip(QStringLiteral("не помещается на экране: самое большее ") + percentText(fit));
        }
        sizes[i].onClick = [this, i] { size_Click(i); };
    }
    tickSize();
}

void ViewMenu::tickSize()
{
    for (std::size_t i = 0; i < sizes.size(); ++i)
        sizes[i].setChecked(view_cfg::kSizeChoices[i] == m_forms.view().windowSize);
}

void ViewMenu::marks_Click()
{
    view_cfg::Values v = m_forms.view();
    v.cellMarks = marks.checked();
    const shell::WriteResult written = m_forms.setView(v);
    m_forms.form1().drawGrid();
    if (m_forms.form2Exists())
        m_forms.form2().showMarks(v.cellMarks);
    if (m_forms.form3Exists())
        m_forms.form3().showMarks(v.cellMarks);
    if (!written)
        shell::msgBox(messages::viewWriteFailed(m_forms.viewPath(), written));
}

void ViewMenu::size_Click(std::size_t i)
{
    view_cfg::Values v = m_forms.view();
    v.windowSize = view_cfg::kSizeChoices[i];
    const shell::WriteResult written = m_forms.setView(v);
    tickSize();
    if (!written)
        shell::msgBox(messages::viewWriteFailed(m_forms.viewPath(), written));
    if (!written.inPlace())
        return;
    const double wanted = factorFor(v.windowSize, m_forms.screenArea());
    if (percentOf(wanted) != percentOf(m_forms.windowScale()))
        shell::msgBox(QStringLiteral("Окна игры будут размером ") + percentText(wanted) + QStringLiteral(" со следующего запуска."));
}

} // namespace view
