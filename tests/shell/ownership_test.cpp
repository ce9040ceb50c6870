// Controls own their widgets alone: a control and its frame or window may go in either order
// (under the sanitizers a widget deleted twice fails here).
#include "shell/controls.h"
#include "shell/window.h"

#include <QPointer>
#include <QWidget>
#include <memory>
#include <optional>
#include <gtest/gtest.h>

namespace {

// A label declared before the frame it sits on: the frame is destroyed first.
struct LabelBeforeFrame : shell::Window {
    std::optional<shell::Label> label;
    shell::Frame frame{*this, 0, 0, 2000, 1000, QStringLiteral("рамка")};
    LabelBeforeFrame() : shell::Window(QStringLiteral("окно"), 3000, 2000) { label.emplace(frame, 120, 240, 900, 300); }
};

} // namespace

TEST(ControlOwnership, AControlOutlivesItsFrameAndItsWindow)
{
    auto window = std::make_unique<LabelBeforeFrame>();
    QPointer<QWidget> labelWidget = window->label->widget();
    auto button = std::make_unique<shell::Button>(window->frame, 120, 600, 900, 300, QStringLiteral("кнопка"));
    QPointer<QWidget> buttonWidget = button->widget();
    window->show();

    window.reset(); // the frame goes before the label, the window before the button
    ASSERT_TRUE(buttonWidget) << "the button's widget lives as long as the button";
    EXPECT_EQ(buttonWidget->parentWidget(), nullptr);
    button->setVisible(true);
    button->setLeft(240);
    EXPECT_FALSE(buttonWidget->isVisible()) << "a widget without its window never shows as a window of its own";
    EXPECT_FALSE(labelWidget) << "the label went with the window, once";
    button.reset();
    EXPECT_FALSE(buttonWidget);
}

TEST(ControlOwnership, AControlThatGoesFirstLeavesItsFrameWhole)
{
    shell::Window window(QStringLiteral("окно"), 3000, 2000);
    shell::Frame frame(window, 0, 0, 2000, 1000, QStringLiteral("рамка"));
    auto label = std::make_unique<shell::Label>(frame, 120, 240, 900, 300, QStringLiteral("метка"));
    QPointer<QWidget> labelWidget = label->widget();
    label.reset();
    EXPECT_FALSE(labelWidget);
    EXPECT_TRUE(frame.surface()->findChildren<QWidget*>().isEmpty());
    shell::Label again(frame, 120, 240, 900, 300, QStringLiteral("метка"));
    EXPECT_EQ(again.widget()->parentWidget(), frame.surface());
}
