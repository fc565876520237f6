#include <gtest/gtest.h>

#include <QApplication>
#include <QMenu>
#include <QTest>

#include "platform/qt/menu_presenter.h"

namespace glugmo {
namespace {

struct MenuModel : ::testing::Test {
    std::shared_ptr<Menu> model = std::make_shared<Menu>();
    std::shared_ptr<Menu> sizes = std::make_shared<Menu>();
    std::vector<std::string> performed;
    std::shared_ptr<MenuItem> ghost, quit;

    MenuModel() {
        auto record = [this](MenuItem& item) { performed.push_back(item.title); };
        model->addItem(MenuItem::make("戳一下", record));
        ghost = MenuItem::make("幽灵模式", record);
        ghost->state = MenuItem::State::On;
        model->addItem(ghost);
        auto sizeItem = MenuItem::make("大小");
        sizes->addItem(MenuItem::make("小只 80", record));
        sizes->addItem(MenuItem::make("大只 160", record));
        model->setSubmenu(sizes, *sizeItem);
        model->addItem(sizeItem);
        model->addItem(MenuItem::separatorItem());
        quit = MenuItem::make("退出", record, "q");
        model->addItem(quit);
    }
};

TEST_F(MenuModel, BuildsTheModelAndPerformsWhatIsPicked) {
    QMenu menu;
    fillMenu(menu, *model);
    const auto actions = menu.actions();
    ASSERT_EQ(actions.size(), 5);
    EXPECT_EQ(actions[0]->text(), QStringLiteral("戳一下"));
    EXPECT_FALSE(actions[0]->isChecked());
    EXPECT_TRUE(actions[1]->isCheckable() && actions[1]->isChecked());
    ASSERT_NE(actions[2]->menu(), nullptr);
    EXPECT_EQ(actions[2]->menu()->actions().size(), 2);
    EXPECT_TRUE(actions[3]->isSeparator());
    EXPECT_EQ(actions[4]->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Q));
    actions[0]->trigger();
    actions[2]->menu()->actions()[1]->trigger();
    EXPECT_EQ(performed, (std::vector<std::string>{"戳一下", "大只 160"}));
}

// Each opening rebuilds the menu from the model as it is now, and the old
// submenus go with the old actions.
TEST_F(MenuModel, OpeningShowsTheModelAsItIsNow) {
    QMenu menu;
    MenuPresenter presenter(menu);
    presenter.setModel(model);
    ghost->state = MenuItem::State::Off;
    ghost->title = "幽灵模式 (关)";
    sizes->addItem(MenuItem::make("标准 120"));
    menu.popup(QPoint(10, 10));
    const auto actions = menu.actions();
    EXPECT_EQ(actions[1]->text(), QStringLiteral("幽灵模式 (关)"));
    EXPECT_FALSE(actions[1]->isChecked());
    EXPECT_EQ(actions[2]->menu()->actions().size(), 3);
    menu.close();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(menu.findChildren<QMenu*>(Qt::FindDirectChildrenOnly).size(), 1);
}

TEST_F(MenuModel, CtrlQWorksWhileTheMenuIsOpen) {
    QMenu menu;
    MenuPresenter presenter(menu);
    presenter.setModel(model);
    menu.popup(QPoint(10, 10));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&menu));
    QTest::keyClick(&menu, Qt::Key_Q, Qt::ControlModifier);
    EXPECT_EQ(performed, std::vector<std::string>{"退出"});
    EXPECT_FALSE(menu.isVisible());
    // A key without the modifier is the menu's own business.
    menu.popup(QPoint(10, 10));
    QTest::keyClick(&menu, Qt::Key_Q);
    EXPECT_EQ(performed.size(), 1u);
    menu.close();
}

}  // namespace
}  // namespace glugmo
