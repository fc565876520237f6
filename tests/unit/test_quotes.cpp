#include <gtest/gtest.h>

#include "menu/quotes.h"

namespace glugmo {
namespace {

using Quips = std::vector<std::string>;

// Lines split at every Unicode line end, trimmed of every blank; ill-formed
// UTF-8 is a read failure.
TEST(Quotes, SplitsTrimsAndDropsBlankLines) {
    const std::pair<std::string, std::optional<Quips>> cases[] = {
        {"  hello  \r\n\r\nworld", Quips{"hello", "world"}},
        {"a\nb\x0B" "c\x0C" "d\re", Quips{"a", "b", "c", "d", "e"}},
        {"a\xC2\x85" "b\xE2\x80\xA8" "c\xE2\x80\xA9" "d", Quips{"a", "b", "c", "d"}},  // NEL, LS, PS
        {"\xE3\x80\x80\xE3\x80\x80\n\xE3\x80\x80你好\xE3\x80\x80", Quips{"你好"}},        // ideographic spaces
        {"\t\xC2\xA0x y\xE2\x80\x83", Quips{"x y"}},                                       // tab, NBSP, em space
        {"# not a comment", Quips{"# not a comment"}}, {"dup\ndup", Quips{"dup", "dup"}}, {"", Quips{}},
        {"\n \n\t\n", Quips{}}, {"\xEF\xBB\xBFwith bom", Quips{"with bom"}}, {"last line\n", Quips{"last line"}},
        {"caf\xE9", {}}, {"\xC0\xAF", {}}, {"\xED\xA0\x80", {}}, {"\xF4\x90\x80\x80", {}}, {"ok\xE4\xBD", {}},
        {"\xFF", {}},
    };
    for (const auto& [bytes, expected] : cases) EXPECT_EQ(parseQuotes(bytes), expected) << bytes;
}

TEST(Quotes, WrittenFileReadsBackTheSameQuipsLongAndMany) {
    const Quips quips = {"功德+1", "莫生气 +1", "努力不一定会成功，但不努力一定很舒服"};
    const std::string text = serializeQuotes(quips);
    EXPECT_EQ(text, "功德+1\n莫生气 +1\n努力不一定会成功，但不努力一定很舒服");
    EXPECT_EQ(parseQuotes(text), quips);
    const std::string longLine(1 << 20, 'x');
    EXPECT_EQ(parseQuotes(longLine)->at(0).size(), longLine.size());
    std::string many;
    for (int i = 0; i < 100000; ++i) many += "q\n";
    EXPECT_EQ(parseQuotes(many)->size(), 100000u);
}

}  // namespace
}  // namespace glugmo
