#include "support/pointer.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTest>
#include <QWidget>

namespace testing_support {

void clickControl(const shell::Control& control)
{
    QTest::mouseClick(control.widget(), Qt::LeftButton, Qt::NoModifier, control.widget()->rect().center());
}

// The sequence a window system delivers for a double-click: press, release, double-click, release.
void doubleClickAt(QWidget* widget, QPoint at)
{
    const QPointF local(at);
    const QPointF global(widget->mapToGlobal(at));
    const QEvent::Type sequence[] = {QEvent::MouseButtonPress, QEvent::MouseButtonRelease, QEvent::MouseButtonDblClick,
                                     QEvent::MouseButtonRelease};
    for (QEvent::Type type : sequence) {
        const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent e(type, local, global, Qt::LeftButton, held, Qt::NoModifier);
        QApplication::sendEvent(widget, &e);
    }
}

QWidget* moveTo(const shell::Window& window, QPoint at)
{
    QWidget* surface = window.surface();
    QWidget* target = surface->childAt(at);
    if (!target)
        target = surface;
    const QPoint local = target->mapFrom(surface, at);
    QMouseEvent move(QEvent::MouseMove, QPointF(local), QPointF(target->mapToGlobal(local)), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(target, &move);
    return target;
}

QWidget* moveOver(const shell::Window& window, const shell::Control& control)
{
    const QWidget* w = control.widget();
    return moveTo(window, w->mapTo(window.surface(), w->rect().center()));
}

} // namespace testing_support
