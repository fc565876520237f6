#include "tests/behaviour/pet_fixture.h"

namespace glugmo {
namespace {

const std::string kFolder = "/home/u/.local/share/Glugmo";
const std::string kFile = kFolder + "/quotes.txt";
const std::string kDefaultFile =
    "功德+1\n莫生气 +1\n工资+1\n好运+1\n发量+1\n收到（但不想做）\n划水也是一种泳姿\n活着就好\n"
    "今日份精神损失费未到账\n我是一块砖，哪里需要哪里搬\n尸体暖暖的\n这个需求很简单，怎么实现我不管\n"
    "先这样吧，也不是不行\n大脑寄存处，取件请排队\n努力不一定会成功，但不努力一定很舒服";

struct QuotesFile : PetFixture {
    std::vector<std::string> defaults() {
        auto quips = parseLines(kDefaultFile);
        return quips;
    }
    static std::vector<std::string> parseLines(const std::string& text) {
        std::vector<std::string> out;
        std::size_t start = 0;
        for (std::size_t nl; (nl = text.find('\n', start)) != std::string::npos; start = nl + 1) {
            out.push_back(text.substr(start, nl - start));
        }
        out.push_back(text.substr(start));
        return out;
    }
};

TEST_F(QuotesFile, FirstLaunchWritesTheBuiltInQuipsExactly) {
    launch();
    EXPECT_TRUE(fake.files.directories.contains(kFolder));
    EXPECT_EQ(fake.files.files.at(kFile), kDefaultFile);
    EXPECT_EQ(pet->currentQuotes(), defaults());
    EXPECT_EQ(pet->currentQuotes().size(), 15u);
}

TEST_F(QuotesFile, TheUsersLinesBecomeTheQuips) {
    fake.files.files[kFile] = "  hello  \r\n\r\nworld";
    launch();
    EXPECT_EQ(pet->currentQuotes(), (std::vector<std::string>{"hello", "world"}));
    EXPECT_EQ(fake.files.writeCount, 0);
}

TEST_F(QuotesFile, AOneLineFileIsTheOnlyQuip) {
    fake.files.files[kFile] = "# 只有这一句";
    launch();
    for (int i = 0; i < 5; ++i) {
        advance(3);
        pet->handleTap();
        EXPECT_EQ(bubbleText(), "# 只有这一句");
    }
}

TEST_F(QuotesFile, UnusableFilesFallBackAndAreNeverRewritten) {
    const std::string cases[] = {"", "\n \t\n\xE3\x80\x80", "caf\xE9 latin-1"};
    for (const std::string& content : cases) {
        fake.files.files[kFile] = content;
        fake.files.writeCount = 0;
        launch();
        EXPECT_EQ(pet->currentQuotes(), defaults());
        EXPECT_EQ(fake.files.files.at(kFile), content);
        EXPECT_EQ(fake.files.writeCount, 0);
    }
}

TEST_F(QuotesFile, UnreadableFileFallsBack) {
    fake.files.unreadable.insert(kFile);
    launch();
    EXPECT_EQ(pet->currentQuotes(), defaults());
    EXPECT_EQ(fake.files.writeCount, 0);
}

TEST_F(QuotesFile, NoDataFolderOrAFailedWriteStillGivesTheBuiltInQuips) {
    fake.files.supportDir.reset();
    launch();
    EXPECT_EQ(pet->currentQuotes(), defaults());
    EXPECT_EQ(fake.files.writeCount, 0);

    fake.files.supportDir = "/home/u/.local/share";
    fake.files.writesFail = true;
    launch();
    EXPECT_EQ(pet->currentQuotes(), defaults());
    fake.files.writesFail = false;
    launch();  // tried again at the next launch
    EXPECT_EQ(fake.files.files.at(kFile), kDefaultFile);
}

}  // namespace
}  // namespace glugmo
