#include <gtest/gtest.h>

#include "fuzz/utf8.h"

namespace glugmo::fuzz {
namespace {

// The quotes fuzzer trusts this validator as its reference, so its edges
// are pinned here: each row is bytes and whether they are well-formed.
TEST(ReferenceUtf8, AcceptsExactlyTheWellFormedSequences) {
    const struct {
        std::string bytes;
        bool wellFormed;
    } rows[] = {
        {"", true},
        {"plain", true},
        {"\xC2\x80\xDF\xBF", true},                   // two-byte edges
        {"\xE0\xA0\x80\xEF\xBF\xBF", true},           // three-byte edges
        {"\xED\x9F\xBF\xEE\x80\x80", true},           // either side of the surrogates
        {"\xF0\x90\x80\x80\xF4\x8F\xBF\xBF", true},   // four-byte edges
        {"\xC0\xAF", false},                          // overlong '/'
        {"\xC1\xBF", false},                          // overlong two-byte
        {"\xE0\x9F\xBF", false},                      // overlong three-byte
        {"\xF0\x8F\xBF\xBF", false},                  // overlong four-byte
        {"\xED\xA0\x80", false},                      // a surrogate half
        {"\xF4\x90\x80\x80", false},                  // past U+10FFFF
        {"\xF5\x80\x80\x80", false},                  // no such lead byte
        {"\x80", false},                              // a lone continuation
        {"\xE5\x8A", false},                          // cut short
        {"\xE5\x41\x9F", false},                      // interrupted
    };
    for (const auto& row : rows) {
        EXPECT_EQ(isWellFormedUtf8(row.bytes), row.wellFormed) << ::testing::PrintToString(row.bytes);
    }
}

TEST(ReferenceUtf8, DecodesEachLength) {
    EXPECT_EQ(codePoints("a\xC3\xA9\xE2\x82\xAC\xF0\x90\x8D\x88"),
              (std::vector<char32_t>{U'a', 0xE9, 0x20AC, 0x10348}));
}

}  // namespace
}  // namespace glugmo::fuzz
