// What the user does to the pet, and what it says: taps, the menu, the
// quotes file, the clock's lines through a day and the debug mode.
#include "tests/behaviour/pet_fixture.h"

namespace glugmo {
namespace {

using State = MenuItem::State;

struct Taps : PetFixture {
    void SetUp() override {
        fake.random.everyCoin = false;
        launch();
    }
};

TEST_F(Taps, ReactionsComeWithAQuipAndTheSixthQuickPokeComplains) {
    const std::vector<std::string> reactions = {"01_好jeng啊", "04_爱你哟", "09_问号", "12_哈哈哈", "13_嚯", "16_笑"};
    for (std::size_t i = 0; i < reactions.size(); ++i) {
        advance(3);
        fake.random.indices = {i, 14};
        pet->handleTap();
        EXPECT_EQ(shownImage(), gifPath(reactions[i]));
        EXPECT_EQ(bubbleText(), "努力不一定会成功，但不努力一定很舒服");
    }
    advance(3);
    for (int i = 0; i < 5; ++i) item("戳一下咕噜宝").perform();  // pokes from the menu count too
    pet->handleTap();
    EXPECT_EQ(shownImage(), gifPath("14_精神打击"));
    EXPECT_EQ(bubbleText(), "别戳了别戳了，精神打击已到账");
}

using Menus = PetFixture;

std::vector<std::string> titles(const Menu& menu) {
    std::vector<std::string> out;
    for (const auto& item : menu.itemArray()) out.push_back(item->isSeparator ? "---" : item->title);
    return out;
}

// Without its icon picture, the tray shows the pet's tap as text.
TEST_F(Menus, TrayAndRightClickShowTwelveItemsWithTheSizeSubmenuAndFirstLaunchTicks) {
    fake.removeResource("icon.png");
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
    EXPECT_FALSE(fake.statusItem().image);
    EXPECT_EQ(fake.statusItem().title, "🚰");
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
}

TEST_F(Menus, PresetTickFollowsTheStoredSize) {
    const std::pair<const char*, const char*> cases[] = {{"79.01", "小只 80"}, {"121", ""}, {"199.5", "大只 200"}};
    for (const auto& [stored, ticked] : cases) {
        fake.settings.values = {{"petSize", stored}};
        launch();
        for (const char* title : {"小只 80", "标准 120", "大只 200"})
            EXPECT_EQ(item(title).state == State::On, std::string(title) == ticked) << stored << title;
    }
}

const std::string kQuotesFile = "/home/u/.local/share/Glugmo/quotes.txt";
const std::string kDefaultQuips =
    "功德+1\n莫生气 +1\n工资+1\n好运+1\n发量+1\n收到（但不想做）\n划水也是一种泳姿\n活着就好\n"
    "今日份精神损失费未到账\n我是一块砖，哪里需要哪里搬\n尸体暖暖的\n这个需求很简单，怎么实现我不管\n"
    "先这样吧，也不是不行\n大脑寄存处，取件请排队\n努力不一定会成功，但不努力一定很舒服";

struct QuotesFile : PetFixture {
    // Every quip the pet can say, in order, asked for one by one.
    std::string quips() {
        fake.random.indices = {0};
        pet->sayQuote();
        std::string said = bubbleText();
        for (std::size_t i = 1; i < fake.random.bounds.back(); ++i) {
            fake.random.indices = {i};
            pet->sayQuote();
            said += "\n" + bubbleText();
        }
        return said;
    }
};

// The parsing rules are the quotes reader's table; here, which list the pet
// ends up with, and that the user's file is never written over.
TEST_F(QuotesFile, TheUsersLinesBecomeTheQuipsAndUnusableFilesGiveTheBuiltInOnes) {
    launch();
    EXPECT_EQ(fake.files.files.at(kQuotesFile), kDefaultQuips);  // written at the first launch
    EXPECT_EQ(quips(), kDefaultQuips);
    const int writes = fake.files.writeCount;
    const std::pair<std::string, std::string> cases[] = {
        {"  hello  \r\n\r\nworld", "hello\nworld"},
        {"\n \t\n\xE3\x80\x80", kDefaultQuips},
        {"caf\xE9 latin-1", kDefaultQuips},
        {"unreadable", kDefaultQuips},
    };
    for (const auto& [content, said] : cases) {
        fake.files.files[kQuotesFile] = content;
        if (content == "unreadable") fake.files.unreadable.insert(kQuotesFile);
        launch();
        EXPECT_EQ(quips(), said) << content;
        EXPECT_EQ(fake.files.files.at(kQuotesFile), content);
    }
    EXPECT_EQ(fake.files.writeCount, writes);
}

TEST_F(QuotesFile, NoDataFolderOrAFailedWriteStillGivesTheBuiltInQuips) {
    fake.files.supportDir.reset();
    launch();
    EXPECT_EQ(quips(), kDefaultQuips);
    EXPECT_EQ(fake.files.writeCount, 0);

    fake.files.supportDir = "/home/u/.local/share";
    fake.files.writesFail = true;
    launch();
    EXPECT_EQ(quips(), kDefaultQuips);
    fake.files.writesFail = false;
    launch();  // tried again at the next launch
    EXPECT_EQ(fake.files.files.at(kQuotesFile), kDefaultQuips);
}

// What the pet said, each line with the local date and hour; the rules of
// which line at which minute are the clock rules' own table.
struct ClockDay : PetFixture {
    std::vector<std::string> said;

    void SetUp() override { fake.random.everyCoin = false; }

    void runFor(double seconds) {
        const double end = fake.loop.now() + seconds;
        std::size_t seen = fake.bubble().textHistory.size();
        while (fake.loop.now() < end) {
            advance(30);
            const auto& history = fake.bubble().textHistory;
            for (; seen < history.size(); ++seen) {
                const CalendarFields at = fake.clock.calendarAt(fake.clock.now());
                said.push_back(at.dateKey + " " + std::to_string(at.hour) + " " + history[seen]);
            }
        }
    }
    std::size_t count(const std::string& needle) const {
        return std::count_if(said.begin(), said.end(),
                             [&](const std::string& s) { return s.find(needle) != std::string::npos; });
    }
};

TEST_F(ClockDay, AWeekdayFromTenAtNightToTenAtNightSaysEachLineOnce) {
    fake.clock.setStart(2026, 12, 7, 22, 0, 5);  // Monday
    launch();
    runFor(24 * 3600);
    EXPECT_EQ(said.size(), 10u);
    for (const char* line : {"2026-12-07 23 早点休息，咕噜都困了", "2026-12-08 0 早点休息", "2026-12-08 15 三点几啦",
                             "2026-12-08 18 收工啦，今日就咁多", "2026-12-08 10 喝口水吧", "2026-12-08 20 喝口水吧"}) {
        EXPECT_EQ(count(line), 1u) << line;
    }
    EXPECT_EQ(count("喝口水吧"), 6u);
}

TEST_F(ClockDay, ARelaunchForgetsWhatFiredToday) {
    fake.clock.setStart(2026, 12, 7, 15, 14, 50);
    launch();
    runFor(120);
    launch();  // a new process at 15:16:50
    runFor(60);
    EXPECT_EQ(count("三点几啦"), 2u);
}

const std::string kStatus =
    "DEBUG visible=true frame=(1204.8, 65.0, 175.2, 167.67418738049716) hasImage=true";

struct DebugMode : PetFixture {
    void SetUp() override {
        fake.random.everyCoin = false;
        fake.application.environment.insert("GLG_DEBUG");
    }
    const std::vector<std::string>& out() { return fake.application.output; }
};

TEST_F(DebugMode, FailuresAreReportedAsFailuresAHiddenPetAsHiddenAndNoVariableMeansNothing) {
    const std::vector<std::string> failed = {kStatus, "DEBUG render failed", "DEBUG bubble render failed"};
    const std::vector<std::string> hidden = {"DEBUG visible=false" + kStatus.substr(18), "DEBUG render saved",
                                             "DEBUG bubble render saved"};
    for (const auto& [how, expected] : {std::pair{"/tmp not writable, or not ours to replace", failed},
                                        {"nothing to render", failed}, {"hidden", hidden}, {"unset", {}}}) {
        fake.application.output.clear();
        fake.files.writesFail = how[0] == '/';
        if (how[0] == 'u') fake.application.environment.clear();
        launch();
        fake.view().renderFails = fake.bubble().renderFails = how[0] == 'n';
        if (how[0] == 'h') pet->toggleHidden();
        advance(2.5);
        EXPECT_EQ(out(), expected) << how;
    }
}

TEST_F(DebugMode, StepsAfterThePetIsGonePrintOnlyTheSecondStepsFailure) {
    launch();
    advance(2.2);  // step 1 ran, step 2 pending
    pet.reset();
    advance(1);
    EXPECT_EQ(out().back(), "DEBUG bubble render failed");
    fake.application.output.clear();
    launch();
    pet.reset();  // gone before step 1
    advance(5);
    EXPECT_TRUE(out().empty());
}

}  // namespace
}  // namespace glugmo
