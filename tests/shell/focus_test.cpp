// The keyboard in the option groups of the game's windows: Tab enters a group on its selected
// button and selects nothing, so tabbing through a window never changes a setting.
#include "dialogs/form5.h"
#include "editor/form2.h"
#include "filedialog/form3.h"
#include "game/form1.h"
#include "support/fakes.h"

#include <QApplication>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

using testing_support::GameFixture;

namespace {

// Presses Tab (or Backtab) round the window twice, noting the option buttons the focus reached.
QSet<QWidget*> tabRound(shell::Window& w, Qt::Key key)
{
    w.show();
    QApplication::setActiveWindow(w.topLevel());
    QSet<QWidget*> reached;
    for (int i = 0; i < 40; ++i) {
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : w.topLevel(), key);
        reached.insert(QApplication::focusWidget());
    }
    return reached;
}

} // namespace

TEST(OptionGroups, TabLandsOnTheSelectedButtonAndChangesNothing)
{
    GameFixture fx;
    Form1& f1 = fx.start();
    for (const Qt::Key key : {Qt::Key_Tab, Qt::Key_Backtab}) {
        SCOPED_TRACE(key == Qt::Key_Tab ? "Tab" : "Backtab");
        Form5& options = fx.forms().form5();
        const QSet<QWidget*> inOptions = tabRound(options, key);
        EXPECT_TRUE(options.Option2.value()) << "the sound stays off";
        EXPECT_FALSE(options.Option1.value());
        EXPECT_TRUE(inOptions.contains(options.Option2.widget()));
        EXPECT_FALSE(inOptions.contains(options.Option1.widget()));

        f1.editor.click();
        Form2& editor = fx.forms().form2();
        editor.Option3.click(); // the red brush
        const QSet<QWidget*> inEditor = tabRound(editor, key);
        EXPECT_TRUE(editor.Option3.value());
        EXPECT_TRUE(inEditor.contains(editor.Option3.widget()));
        for (shell::OptionButton* other : {&editor.Option1, &editor.Option2, &editor.Option4}) {
            EXPECT_FALSE(other->value());
            EXPECT_FALSE(inEditor.contains(other->widget()));
        }

        Form3& dialog = fx.forms().form3();
        dialog.Option2.click(); // only maps
        const QSet<QWidget*> inDialog = tabRound(dialog, key);
        EXPECT_TRUE(dialog.Option2.value());
        EXPECT_FALSE(dialog.Option1.value());
        EXPECT_TRUE(inDialog.contains(dialog.Option2.widget()));
        EXPECT_FALSE(inDialog.contains(dialog.Option1.widget()));
    }
}
