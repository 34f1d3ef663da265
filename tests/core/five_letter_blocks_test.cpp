// Five-letter groups: one space after every fifth character.
#include "cipher_core.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace trithemius {
namespace {

TEST(ToFiveLetterBlocks, GroupsByFive) {
    struct Row {
        std::string_view text;
        std::string_view blocks;
    };
    const Row rows[] = {
        {"", ""},
        {"A", "A"},
        {"ABCDE", "ABCDE"},
        {"ABCDEF", "ABCDE F"},
        {"ABCDEFGHIJ", "ABCDE FGHIJ"},
        {"ABCDEFGHIJKL", "ABCDE FGHIJ KL"},
        {"AB DE?GH", "AB DE ?GH"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        CipherState state;
        state.TextLength = 42;
        EXPECT_EQ(ToFiveLetterBlocks(state, row.text), row.blocks);
        EXPECT_EQ(state.BlockText, row.blocks);
        EXPECT_EQ(state.TextLength, 42);
    }
}

TEST(ToFiveLetterBlocks, GroupsItsOwnLastRenderingAgain) {
    CipherState state;
    ToFiveLetterBlocks(state, "ABCDEFG");
    EXPECT_EQ(ToFiveLetterBlocks(state, state.BlockText), "ABCDE  FG");
    EXPECT_EQ(ToFiveLetterBlocks(state, std::string_view(state.BlockText).substr(2)), "CDE   FG");
}

TEST(ToFiveLetterBlocks, RegroupingGivesTheSameTextAndUngroupingLosesNothing) {
    std::mt19937 random(5);
    std::uniform_int_distribution<int> letter('A', 'Z');
    CipherState state;
    for (std::size_t n = 0; n <= 200; ++n) {
        std::string text(n, ' ');
        for (char& c : text) c = static_cast<char>(letter(random));
        const std::string first = ToFiveLetterBlocks(state, text);
        ToFiveLetterBlocks(state, "OTHER TEXT");
        EXPECT_EQ(ToFiveLetterBlocks(state, text), first) << "length " << n;

        std::string ungrouped;
        for (std::size_t i = 0; i < first.size(); ++i) {
            if ((i + 1) % 6 == 0) {
                ASSERT_EQ(first[i], ' ') << "length " << n << ", position " << i + 1;
            } else {
                ungrouped += first[i];
            }
        }
        EXPECT_EQ(ungrouped, text) << "length " << n;
        if (!first.empty()) {
            EXPECT_NE(first.back(), ' ') << "length " << n;
        }
    }
}

}  // namespace
}  // namespace trithemius
