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
    std::function<void(MenuItem&)> record = [this](MenuItem& item) { performed.push_back(item.title); };
    std::shared_ptr<MenuItem> ghost = MenuItem::make("幽灵模式", record);
    QMenu menu;
    MenuPresenter presenter{menu};

    MenuModel() {
        auto sizeItem = MenuItem::make("大小");
        sizes->addItem(MenuItem::make("小只 80", record));
        model->setSubmenu(sizes, *sizeItem);
        ghost->state = MenuItem::State::On;
        for (auto item : {ghost, sizeItem, MenuItem::separatorItem(), MenuItem::make("退出", record, "q")})
            model->addItem(item);
        presenter.setModel(model);
    }
};

// Each opening rebuilds the menu from the model as it is now; the old
// submenus go with the old actions.
TEST_F(MenuModel, OpeningShowsTheModelAsItIsNow) {
    EXPECT_TRUE(menu.actions()[0]->isCheckable() && menu.actions()[0]->isChecked());
    ghost->state = MenuItem::State::Off;
    ghost->title = "幽灵模式 (关)";
    sizes->addItem(MenuItem::make("标准 120"));
    menu.popup(QPoint(10, 10));
    const auto actions = menu.actions();
    ASSERT_EQ(actions.size(), 4);
    EXPECT_EQ(actions[0]->text(), QStringLiteral("幽灵模式 (关)"));
    EXPECT_FALSE(actions[0]->isChecked());
    ASSERT_NE(actions[1]->menu(), nullptr);
    EXPECT_EQ(actions[1]->menu()->actions().size(), 2);
    EXPECT_TRUE(actions[2]->isSeparator());
    EXPECT_EQ(actions[3]->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Q));
    actions[1]->menu()->actions()[0]->trigger();
    EXPECT_EQ(performed, std::vector<std::string>{"小只 80"});
    menu.close();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(menu.findChildren<QMenu*>(Qt::FindDirectChildrenOnly).size(), 1);
}

TEST_F(MenuModel, CtrlQWorksWhileTheMenuIsOpen) {
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
