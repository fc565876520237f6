#include "tests/behaviour/pet_fixture.h"

namespace glugmo {
namespace {

const std::string kFile = "/home/u/.local/share/Glugmo/quotes.txt";
const std::string kDefaultFile =
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

TEST_F(QuotesFile, FirstLaunchWritesTheBuiltInQuipsExactly) {
    launch();
    EXPECT_TRUE(fake.files.directories.contains("/home/u/.local/share/Glugmo"));
    EXPECT_EQ(fake.files.files.at(kFile), kDefaultFile);
    EXPECT_EQ(quips(), kDefaultFile);
}

TEST_F(QuotesFile, TheUsersLinesBecomeTheQuipsAndUnusableFilesAreNeverRewritten) {
    const std::pair<std::string, std::string> cases[] = {
        {"  hello  \r\n\r\nworld", "hello\nworld"},
        {"# 只有这一句", "# 只有这一句"},
        {"", kDefaultFile},
        {"\n \t\n\xE3\x80\x80", kDefaultFile},
        {"caf\xE9 latin-1", kDefaultFile},
        {"unreadable", kDefaultFile},
    };
    for (const auto& [content, said] : cases) {
        fake.files.files[kFile] = content;
        if (content == "unreadable") fake.files.unreadable.insert(kFile);
        launch();
        EXPECT_EQ(quips(), said) << content;
        EXPECT_EQ(fake.files.files.at(kFile), content);
    }
    EXPECT_EQ(fake.files.writeCount, 0);
}

TEST_F(QuotesFile, NoDataFolderOrAFailedWriteStillGivesTheBuiltInQuips) {
    fake.files.supportDir.reset();
    launch();
    EXPECT_EQ(quips(), kDefaultFile);
    EXPECT_EQ(fake.files.writeCount, 0);

    fake.files.supportDir = "/home/u/.local/share";
    fake.files.writesFail = true;
    launch();
    EXPECT_EQ(quips(), kDefaultFile);
    fake.files.writesFail = false;
    launch();  // tried again at the next launch
    EXPECT_EQ(fake.files.files.at(kFile), kDefaultFile);
}

}  // namespace
}  // namespace glugmo
