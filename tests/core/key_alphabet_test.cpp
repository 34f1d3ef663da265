// The four key alphabets and their choice from method and key start.
#include "cipher_core.h"

#include <gtest/gtest.h>

namespace trithemius {
namespace {

TEST(SelectKeyAlphabet, PicksTheAlphabetOfBothChoices) {
    struct Row {
        Method method;
        KeyStart keyStart;
        std::string_view alphabet;
    };
    const Row rows[] = {
        {Method::MethodModern, KeyStart::KeyStartA, "ABCDEFGHIJKLMNOPQRSTUVWXYZ"},
        {Method::MethodClassical, KeyStart::KeyStartA, "ABCDEFGHIKLMNOPQRSTUXYZW"},
        {Method::MethodModern, KeyStart::KeyStartB, "BCDEFGHIJKLMNOPQRSTUVWXYZ"},
        {Method::MethodClassical, KeyStart::KeyStartB, "BCDEFGHIKLMNOPQRSTUXYZW"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.alphabet);
        CipherState state;
        state.InputText = "HALLO";
        state.KeyStream = "ABCDE";
        state.OutputText = "HBNOS";
        state.TextLength = 5;
        SelectKeyAlphabet(state, row.method, row.keyStart);
        EXPECT_EQ(state.KeyAlphabet, row.alphabet);
        // Nothing but the alphabet changes.
        EXPECT_EQ(state.InputText, "HALLO");
        EXPECT_EQ(state.KeyStream, "ABCDE");
        EXPECT_EQ(state.OutputText, "HBNOS");
        EXPECT_EQ(state.TextLength, 5);
    }
}

TEST(CipherState, StartsEmptyWithTheClassicalAlphabet) {
    const CipherState state;
    EXPECT_TRUE(state.InputText.empty());
    EXPECT_TRUE(state.KeyStream.empty());
    EXPECT_TRUE(state.BlockText.empty());
    EXPECT_TRUE(state.OutputText.empty());
    EXPECT_EQ(state.TextLength, 0);
    EXPECT_EQ(state.KeyAlphabet, "ABCDEFGHIKLMNOPQRSTUXYZW");
}

}  // namespace
}  // namespace trithemius
