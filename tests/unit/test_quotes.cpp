#include <gtest/gtest.h>

#include "menu/quotes.h"

namespace glugmo {
namespace {

using Quips = std::vector<std::string>;

TEST(Quotes, SplitsTrimsAndDropsBlankLines) {
    const std::pair<std::string, Quips> cases[] = {
        {"  hello  \r\n\r\nworld", {"hello", "world"}},
        {"a\nb\x0B" "c\x0C" "d\re", {"a", "b", "c", "d", "e"}},
        {"a\xC2\x85" "b\xE2\x80\xA8" "c\xE2\x80\xA9" "d", {"a", "b", "c", "d"}},  // NEL, LS, PS
        {"\xE3\x80\x80\xE3\x80\x80\n\xE3\x80\x80你好\xE3\x80\x80", {"你好"}},        // ideographic spaces
        {"\t\xC2\xA0x y\xE2\x80\x83", {"x y"}},                                       // tab, NBSP, em space
        {"莫生气 +1", {"莫生气 +1"}},
        {"# not a comment", {"# not a comment"}},
        {"dup\ndup", {"dup", "dup"}},
        {"", {}},
        {"\n \n\t\n", {}},
        {"\xEF\xBB\xBFwith bom", {"with bom"}},
        {"last line\n", {"last line"}},
    };
    for (const auto& [bytes, expected] : cases) EXPECT_EQ(parseQuotes(bytes), expected) << bytes;
}

TEST(Quotes, InvalidUtf8IsAReadFailure) {
    for (const std::string bad : {"caf\xE9", "\xC0\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "ok\xE4\xBD",
                                  "\xFF"}) {
        EXPECT_EQ(parseQuotes(bad), std::nullopt) << bad;
    }
}

TEST(Quotes, WrittenFileReadsBackTheSameQuips) {
    const Quips quips = {"功德+1", "莫生气 +1", "努力不一定会成功，但不努力一定很舒服"};
    const std::string text = serializeQuotes(quips);
    EXPECT_EQ(text, "功德+1\n莫生气 +1\n努力不一定会成功，但不努力一定很舒服");
    EXPECT_EQ(parseQuotes(text), quips);
}

TEST(Quotes, HandlesLongAndManyLines) {
    const std::string longLine(1 << 20, 'x');
    EXPECT_EQ(parseQuotes(longLine)->at(0).size(), longLine.size());
    std::string many;
    for (int i = 0; i < 100000; ++i) many += "q\n";
    EXPECT_EQ(parseQuotes(many)->size(), 100000u);
}

}  // namespace
}  // namespace glugmo
