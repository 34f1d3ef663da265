// Keystream generation: the alphabet laid from the key start position on.
#include "cipher_core.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace trithemius {
namespace {

constexpr std::string_view kAlphabets[] = {"ABCDEFGHIJKLMNOPQRSTUVWXYZ", "ABCDEFGHIKLMNOPQRSTUXYZW",
                                           "BCDEFGHIJKLMNOPQRSTUVWXYZ", "BCDEFGHIKLMNOPQRSTUXYZW"};

CipherState Generated(std::string_view alphabet, std::size_t n, int p) {
    CipherState state;
    state.KeyAlphabet = alphabet;
    state.InputText.assign(n, 'X');
    state.TextLength = -7;
    GenerateKeyStream(state, p);
    EXPECT_EQ(state.TextLength, static_cast<std::int32_t>(n));
    return state;
}

TEST(GenerateKeyStream, GivesTheWorkedExamples) {
    struct Row {
        std::string_view alphabet;
        int p;
        std::string_view fiveLetters;
        std::string_view thirtyLetters;
    };
    const Row rows[] = {
        {kAlphabets[0], 1, "ABCDE", "ABCDEFGHIJKLMNOPQRSTUVWXYZABCD"},
        {kAlphabets[0], 3, "DEABC", "CDABCDEFGHIJKLMNOPQRSTUVWXYZAB"},
        {kAlphabets[1], 1, "ABCDE", "ABCDEFGHIKLMNOPQRSTUXYZWABCDEF"},
        {kAlphabets[1], 3, "DEABC", "EFABCDEFGHIKLMNOPQRSTUXYZWABCD"},
        {kAlphabets[2], 1, "BCDEF", "BCDEFGHIJKLMNOPQRSTUVWXYZBCDEF"},
        {kAlphabets[2], 3, "EFBCD", "EFBCDEFGHIJKLMNOPQRSTUVWXYZBCD"},
        {kAlphabets[3], 1, "BCDEF", "BCDEFGHIKLMNOPQRSTUXYZWBCDEFGH"},
        {kAlphabets[3], 3, "EFBCD", "GHBCDEFGHIKLMNOPQRSTUXYZWBCDEF"},
        {kAlphabets[0], 5, "BCDEA", "ABCDABCDEFGHIJKLMNOPQRSTUVWXYZ"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.alphabet) + " from " + std::to_string(row.p));
        EXPECT_EQ(Generated(row.alphabet, 5, row.p).KeyStream, row.fiveLetters);
        EXPECT_EQ(Generated(row.alphabet, 30, row.p).KeyStream, row.thirtyLetters);
    }
}

TEST(GenerateKeyStream, SecondRunStartsAfresh_WhenTheFirstEndsOnTheLastLetter) {
    EXPECT_EQ(Generated(kAlphabets[1], 26, 3).KeyStream, "ABABCDEFGHIKLMNOPQRSTUXYZW");
}

TEST(GenerateKeyStream, StartsOnlyOnAPositionOfTheText) {
    struct Row {
        std::size_t n;
        int p;
        bool starts;  // what CanStartKeyStream answers
    };
    const Row rows[] = {{5, 6, false},       {5, 25, false}, {5, 0, false}, {5, -1, false},
                        {1, 2, false},       {0, 2, false},  {0, 0, false}, {3, 32767, false},
                        {3, INT_MIN, false}, {5, 1, true},   {5, 5, true},  {1, 1, true},
                        {0, 1, true}};
    for (const Row& row : rows) {
        SCOPED_TRACE("n " + std::to_string(row.n) + ", p " + std::to_string(row.p));
        EXPECT_EQ(CanStartKeyStream(row.n, row.p), row.starts);
        CipherState state = Generated(kAlphabets[0], row.n, row.p);
        EXPECT_EQ(state.KeyStream.size(), row.starts ? row.n : 0);
    }
}

TEST(GenerateKeyStream, EmptyTextAtPositionOneGivesAnEmptyKeyStream) {
    CipherState state;
    state.KeyStream = "OLD";
    state.TextLength = 9;
    GenerateKeyStream(state, 1);
    EXPECT_EQ(state.KeyStream, "");
    EXPECT_EQ(state.TextLength, 0);
}

TEST(GenerateKeyStream, EqualsTheClosedFormForEveryLengthAndPosition) {
    for (const std::string_view alphabet : kAlphabets) {
        const std::size_t letters = alphabet.size();
        for (std::size_t n = 1; n <= 80; ++n) {
            for (std::size_t p = 1; p <= n; ++p) {
                const std::string keyStream = Generated(alphabet, n, static_cast<int>(p)).KeyStream;
                ASSERT_EQ(keyStream.size(), n);
                for (std::size_t k = 1; k <= n; ++k) {
                    const std::size_t index = ((k + n - p) % n) % letters;
                    ASSERT_EQ(keyStream[k - 1], alphabet[index])
                        << alphabet << ", n " << n << ", p " << p << ", k " << k;
                }
            }
        }
    }
}

TEST(GenerateKeyStream, KeepsItsLettersInsideTheAlphabet) {
    for (const std::string_view alphabet : kAlphabets) {
        const std::string keyStream = Generated(alphabet, 1000, 17).KeyStream;
        for (const char c : keyStream) {
            ASSERT_NE(alphabet.find(c), std::string_view::npos) << alphabet;
        }
        if (alphabet[0] == 'B') {
            EXPECT_EQ(keyStream.find('A'), std::string::npos);
        }
        const bool classical = alphabet.find('J') == std::string_view::npos;
        if (classical) {
            EXPECT_EQ(keyStream.find_first_of("JV"), std::string::npos);
        }
    }
}

TEST(GenerateKeyStream, DependsOnlyOnTheLengthOfTheText) {
    CipherState letters;
    letters.InputText = "HALLOWELT";
    CipherState others;
    others.InputText = "ZZZZZZZZZ";
    GenerateKeyStream(letters, 4);
    GenerateKeyStream(others, 4);
    EXPECT_EQ(letters.KeyStream, others.KeyStream);
    EXPECT_EQ(letters.KeyStream, "GHIABCDEF");
}

}  // namespace
}  // namespace trithemius
