#include "tests/behaviour/pet_fixture.h"

namespace glugmo {
namespace {

using Menus = PetFixture;
using State = MenuItem::State;

std::vector<std::string> titles(const Menu& menu) {
    std::vector<std::string> out;
    for (const auto& item : menu.itemArray()) out.push_back(item->isSeparator ? "---" : item->title);
    return out;
}

TEST_F(Menus, HasTwelveItemsInOrderWithTheSizeSubmenu) {
    launch();
    const Menu& menu = *pet->statusMenu();
    EXPECT_EQ(titles(menu), (std::vector<std::string>{
                                "戳一下咕噜宝", "来句打工人语录", "换个动作", "---",
                                "时间彩蛋（三点几/收工/晚安）", "多喝水提醒", "幽灵模式（点击穿透）",
                                "体型大小", "---", "咕噜宝先隐身（双击也可）", "---", "退出"}));
    EXPECT_EQ(menu.itemArray().back()->keyEquivalent, "q");
    ASSERT_TRUE(item("体型大小").submenu);
    EXPECT_FALSE(item("体型大小").action);
    EXPECT_EQ(titles(*item("体型大小").submenu),
              (std::vector<std::string>{"小只 80", "标准 120", "大只 200"}));
    EXPECT_EQ(item("大只 200").representedValue, 200.0);
    EXPECT_EQ(fake.statusItem().toolTip, "咕噜宝在这儿陪着你");
    EXPECT_TRUE(fake.statusItem().image);
    EXPECT_EQ(fake.statusItem().imageSize, (Size{20, 20}));
}

TEST_F(Menus, FirstLaunchTicksBothSwitchesAndTheStandardSize) {
    launch();
    EXPECT_EQ(item("时间彩蛋（三点几/收工/晚安）").state, State::On);
    EXPECT_EQ(item("多喝水提醒").state, State::On);
    EXPECT_EQ(item("幽灵模式（点击穿透）").state, State::Off);
    EXPECT_EQ(item("小只 80").state, State::Off);
    EXPECT_EQ(item("标准 120").state, State::On);
    EXPECT_EQ(item("大只 200").state, State::Off);
    EXPECT_EQ(fake.settings.writes, 0);
}

TEST_F(Menus, SwitchesFlipTheirTickAndStoreIt) {
    fake.settings.values = {{"clockOn", "false"}};
    launch();
    MenuItem& clock = item("时间彩蛋（三点几/收工/晚安）");
    EXPECT_EQ(clock.state, State::Off);
    clock.perform();
    EXPECT_EQ(clock.state, State::On);
    EXPECT_EQ(fake.settings.values.at("clockOn"), "true");
    item("多喝水提醒").perform();
    EXPECT_EQ(fake.settings.values.at("drinkOn"), "false");
    EXPECT_EQ(fake.settings.writes, 2);
}

TEST_F(Menus, PresetTickFollowsTheStoredSize) {
    const std::pair<const char*, const char*> cases[] = {
        {"80.5", "小只 80"}, {"79.01", "小只 80"}, {"121", ""}, {"150", ""}, {"199.5", "大只 200"}};
    for (const auto& [stored, ticked] : cases) {
        fake.settings.values = {{"petSize", stored}};
        launch();
        for (const char* title : {"小只 80", "标准 120", "大只 200"}) {
            EXPECT_EQ(item(title).state == State::On, std::string(title) == ticked) << stored << title;
        }
    }
}

TEST_F(Menus, ChangingSizeResizesAboutTheCentreAndStores) {
    launch();
    fake.window().moveTo({500 - 87.6, 300 - 167.67418738049716 / 2});
    item("大只 200").perform();
    const Rect frame = fake.window().frame();
    EXPECT_NEAR(frame.origin.x, 354.0, 1e-9);
    EXPECT_NEAR(frame.origin.y, 160.272, 5e-4);
    EXPECT_NEAR(frame.size.width, 292.0, 1e-9);
    EXPECT_NEAR(frame.size.height, 279.457, 5e-4);
    EXPECT_EQ(fake.window().contentFrame, Rect::make(0, 0, 292, frame.size.height));
    EXPECT_NEAR(fake.view().frame().origin.y, 22.906, 5e-4);
    EXPECT_EQ(fake.layer().frame, Rect::make(0, 0, 200, 229.06309751434034));
    EXPECT_EQ(fake.layer().anchorPoint, (Point{0.5, 0.0}));
    EXPECT_EQ(fake.settings.values.at("petSize"), "200");
    EXPECT_EQ(item("大只 200").state, State::On);
    EXPECT_EQ(item("标准 120").state, State::Off);
    EXPECT_EQ(pet->currentPetSize(), 200);

    item("大只 200").perform();  // again: same centre, stored again
    EXPECT_NEAR(fake.window().frame().origin.x, 354.0, 1e-9);
    EXPECT_EQ(fake.settings.writes, 2);
}

TEST_F(Menus, ASizeItemWithoutAValueDoesNothing) {
    launch();
    MenuItem stray;
    pet->changeSize(stray);
    EXPECT_EQ(pet->currentPetSize(), 120);
    EXPECT_EQ(fake.settings.writes, 0);
}

TEST_F(Menus, GhostModeLetsClicksThroughSaysSoAndSurvivesARelaunch) {
    launch();
    item("幽灵模式（点击穿透）").perform();
    EXPECT_TRUE(fake.window().ignoresMouseEvents());
    EXPECT_EQ(bubbleText(), "幽灵模式：点不着我啦");
    EXPECT_TRUE(pet->idle());

    launch();
    EXPECT_TRUE(fake.window().ignoresMouseEvents());
    EXPECT_EQ(item("幽灵模式（点击穿透）").state, State::On);
    item("幽灵模式（点击穿透）").perform();
    EXPECT_FALSE(fake.window().ignoresMouseEvents());
    EXPECT_EQ(bubbleText(), "回来啦，随便戳");
    EXPECT_EQ(fake.settings.values.at("ghostMode"), "false");
}

TEST_F(Menus, MissingIconFallsBackToTheTapTitle) {
    fake.removeResource("icon.png");
    launch();
    EXPECT_FALSE(fake.statusItem().image);
    EXPECT_EQ(fake.statusItem().title, "🚰");
}

TEST_F(Menus, RightClickOpensTheSameMenuAtTwentyTwenty) {
    launch();
    fake.view().mouseHandler->rightMouseDown();
    ASSERT_EQ(fake.windows.popUps.size(), 1u);
    EXPECT_EQ(fake.windows.popUps[0].menu, pet->statusMenu());
    EXPECT_EQ(fake.windows.popUps[0].location, (Point{20, 20}));
    EXPECT_EQ(fake.windows.popUps[0].view, &fake.view());
}

TEST_F(Menus, HideAndQuitItems) {
    launch();
    item("咕噜宝先隐身（双击也可）").perform();
    EXPECT_FALSE(fake.window().isVisible());
    item("咕噜宝先隐身（双击也可）").perform();
    EXPECT_TRUE(fake.window().isVisible());
    EXPECT_FALSE(fake.application.terminated);
    item("退出").perform();
    EXPECT_TRUE(fake.application.terminated);
}

}  // namespace
}  // namespace glugmo
