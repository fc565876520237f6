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

TEST_F(Menus, TrayAndRightClickShowTwelveItemsWithTheSizeSubmenuAndFirstLaunchTicks) {
    launch();
    const Menu& menu = *fake.statusItem().menu;
    EXPECT_EQ(titles(menu), (std::vector<std::string>{
                                "戳一下咕噜宝", "来句打工人语录", "换个动作", "---",
                                "时间彩蛋（三点几/收工/晚安）", "多喝水提醒", "幽灵模式（点击穿透）",
                                "体型大小", "---", "咕噜宝先隐身（双击也可）", "---", "退出"}));
    EXPECT_EQ(menu.itemArray().back()->keyEquivalent, "q");
    ASSERT_TRUE(item("体型大小").submenu);
    EXPECT_EQ(titles(*item("体型大小").submenu), (std::vector<std::string>{"小只 80", "标准 120", "大只 200"}));
    EXPECT_EQ(fake.statusItem().toolTip, "咕噜宝在这儿陪着你");
    EXPECT_EQ(fake.statusItem().imageSize, (Size{20, 20}));
    for (const auto& [title, state] : {std::pair<const char*, State>{"时间彩蛋（三点几/收工/晚安）", State::On},
                                       {"多喝水提醒", State::On}, {"幽灵模式（点击穿透）", State::Off},
                                       {"小只 80", State::Off}, {"标准 120", State::On}, {"大只 200", State::Off}}) {
        EXPECT_EQ(item(title).state, state) << title;
    }
    EXPECT_EQ(fake.settings.writes, 0);
    fake.view().mouseHandler->rightMouseDown();
    ASSERT_EQ(fake.windows.popUps.size(), 1u);
    EXPECT_EQ(fake.windows.popUps[0].menu, fake.statusItem().menu);
    EXPECT_EQ(fake.windows.popUps[0].location, (Point{20, 20}));
    EXPECT_EQ(fake.windows.popUps[0].view, &fake.view());
}

TEST_F(Menus, PresetTickFollowsTheStoredSize) {
    const std::pair<const char*, const char*> cases[] = {
        {"80.5", "小只 80"}, {"79.01", "小只 80"}, {"121", ""}, {"150", ""}, {"199.5", "大只 200"}};
    for (const auto& [stored, ticked] : cases) {
        fake.settings.values = {{"petSize", stored}};
        launch();
        for (const char* title : {"小只 80", "标准 120", "大只 200"})
            EXPECT_EQ(item(title).state == State::On, std::string(title) == ticked) << stored << title;
    }
}

TEST_F(Menus, ChangingSizeResizesAboutTheCentreTicksAndStores) {
    launch();
    fake.window().moveTo({500 - 87.6, 300 - 167.67418738049716 / 2});
    for (int twice = 0; twice < 2; ++twice) {
        item("大只 200").perform();
        EXPECT_NEAR(fake.window().frame().midX(), 500, 1e-9);
        EXPECT_NEAR(fake.window().frame().midY(), 300, 1e-9);
    }
    EXPECT_EQ(fake.window().frame().size, petLayout(200).windowSize);
    EXPECT_EQ(fake.window().contentFrame, petLayout(200).contentFrame);
    EXPECT_EQ(fake.view().frame(), petLayout(200).petViewFrame);
    EXPECT_EQ(fake.layer().frame, petLayout(200).layerFrame);
    EXPECT_EQ(fake.settings.values.at("petSize"), "200");
    EXPECT_EQ(fake.settings.writes, 2);
    EXPECT_EQ(item("大只 200").state, State::On);
    EXPECT_EQ(item("标准 120").state, State::Off);
    pet->sayQuote();  // the bubble follows the new size; a quip alone plays nothing
    EXPECT_DOUBLE_EQ(fake.bubble().frame().minY(), petRectangle(fake.window().frame().origin, 200).maxY() + 8);
    EXPECT_TRUE(idle());
}

TEST_F(Menus, GhostModeLetsClicksThroughSaysSoAndSurvivesARelaunch) {
    launch();
    item("幽灵模式（点击穿透）").perform();
    EXPECT_TRUE(fake.window().ignoresMouseEvents());
    EXPECT_EQ(bubbleText(), "幽灵模式：点不着我啦");
    EXPECT_TRUE(idle());

    launch();
    EXPECT_TRUE(fake.window().ignoresMouseEvents());
    EXPECT_EQ(item("幽灵模式（点击穿透）").state, State::On);
    item("幽灵模式（点击穿透）").perform();
    EXPECT_FALSE(fake.window().ignoresMouseEvents());
    EXPECT_EQ(bubbleText(), "回来啦，随便戳");
    EXPECT_EQ(fake.settings.values.at("ghostMode"), "false");
}

TEST_F(Menus, SwitchesHideAndQuitItemsAndAMissingIcon) {
    fake.removeResource("icon.png");
    fake.settings.values = {{"clockOn", "false"}};
    launch();
    MenuItem& clock = item("时间彩蛋（三点几/收工/晚安）");
    EXPECT_EQ(clock.state, State::Off);
    clock.perform();
    item("多喝水提醒").perform();
    EXPECT_EQ(clock.state, State::On);
    EXPECT_EQ(fake.settings.values,
              (std::map<std::string, std::string, std::less<>>{{"clockOn", "true"}, {"drinkOn", "false"}}));
    EXPECT_EQ(fake.settings.writes, 2);
    EXPECT_FALSE(fake.statusItem().image);
    EXPECT_EQ(fake.statusItem().title, "🚰");
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
