// Enciphering and deciphering in the modern and the classical arithmetic.
#include "cipher_core.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

namespace trithemius {
namespace {

constexpr Method kModern = Method::MethodModern;
constexpr Method kClassical = Method::MethodClassical;
constexpr KeyStart kA = KeyStart::KeyStartA;
constexpr KeyStart kB = KeyStart::KeyStartB;

std::string Ciphered(Method method, KeyStart keyStart, Direction direction, std::string_view text,
                     std::string_view key) {
    CipherState state;
    SelectKeyAlphabet(state, method, keyStart);
    state.InputText = text;
    state.KeyStream = key;
    ApplyCipher(state, method, keyStart, direction);
    EXPECT_EQ(state.TextLength, static_cast<std::int32_t>(state.OutputText.size()));
    EXPECT_EQ(state.InputText, text);
    EXPECT_EQ(state.KeyStream, key);
    return state.OutputText;
}

struct Row {
    const char* name;
    Method method;
    KeyStart keyStart;
    std::string_view text;
    std::string_view key;
    std::string_view result;
};

TEST(ApplyCipher, EnciphersAndDeciphersTheWorkedExamples) {
    const Row rows[] = {
        {"modern ABC", kModern, kA, "ABC", "ABC", "ACE"},
        {"modern from 1", kModern, kA, "HALLO", "ABCDE", "HBNOS"},
        {"modern from 3", kModern, kA, "HALLO", "DEABC", "KELMQ"},
        {"modern wraps", kModern, kA, "XYZ", "XYZ", "UWY"},
        {"modern across J V W", kModern, kA, "IUZW", "ABCD", "IVBZ"},
        {"modern key B", kModern, kB, "HALLO", "BCDEF", "ICOPT"},
        {"modern key B wraps", kModern, kB, "ZZZ", "XYZ", "WXY"},
        {"classical from 1", kClassical, kA, "HALLO", "ABCDE", "HBNOS"},
        {"classical key A", kClassical, kA, "HALLO", "AAAAA", "HALLO"},
        {"classical across J V W", kClassical, kA, "IUZW", "ABCD", "IXAC"},
        {"classical W last", kClassical, kA, "WXYZ", "WXYZ", "ZRTX"},
        {"classical key B", kClassical, kB, "HALLO", "BCDEF", "ICOPT"},
        {"classical key B moves A", kClassical, kB, "AAAW", "BCWB", "BCWA"},
        {"modern Z stays", kModern, kA, "Z", "A", "Z"},
        {"modern Z to A", kModern, kA, "Z", "B", "A"},
        {"classical Z to W", kClassical, kA, "Z", "B", "W"},
        {"classical W to A", kClassical, kA, "W", "B", "A"},
        {"classical U to X", kClassical, kA, "U", "B", "X"},
        {"classical I to K", kClassical, kA, "I", "B", "K"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(Ciphered(row.method, row.keyStart, Direction::Encipher, row.text, row.key),
                  row.result);
        EXPECT_EQ(Ciphered(row.method, row.keyStart, Direction::Decipher, row.result, row.key),
                  row.text);
    }
}

TEST(ApplyCipher, GivesTheEdgeCaseResults) {
    struct DirectedRow {
        Row row;
        Direction direction;
    };
    const DirectedRow rows[] = {
        {{"modern A minus B", kModern, kA, "A", "B", "Z"}, Direction::Decipher},
        {{"modern A minus A", kModern, kA, "A", "A", "A"}, Direction::Decipher},
        {{"classical A minus B", kClassical, kA, "A", "B", "W"}, Direction::Decipher},
        {{"modern never enciphered", kModern, kA, "HALLO", "ABCDE", "HZJIK"}, Direction::Decipher},
        {{"classical never enciphered", kClassical, kA, "HALLO", "ABCDE", "HWIHK"},
         Direction::Decipher},
        {{"modern across J V W", kModern, kA, "IUZW", "BBBB", "JVAX"}, Direction::Encipher},
        {{"classical across J V W", kClassical, kA, "IUZW", "BBBB", "KXWA"}, Direction::Encipher},
        // J and V count as the I and U that stand for them in the classical order.
        {{"classical J as I", kClassical, kA, "AJ", "AB", "AK"}, Direction::Encipher},
        {{"classical J after H A", kClassical, kA, "HAJ", "ABC", "HBL"}, Direction::Encipher},
        {{"classical V key", kClassical, kA, "AA", "VU", "UU"}, Direction::Encipher},
        // Other characters take the position last found in their own text.
        {{"classical ? key", kClassical, kA, "AB", "A?", "AB"}, Direction::Encipher},
        {{"classical ? before any key", kClassical, kA, "CD", "?B", "BE"}, Direction::Encipher},
        {{"classical ? text first", kClassical, kA, "?", "A", "W"}, Direction::Encipher},
        {{"classical ? text, key first", kClassical, kA, "??", "?B", "ZA"}, Direction::Encipher},
        {{"classical ? key deciphers past W", kClassical, kA, "W", "?", "A"}, Direction::Decipher},
        {{"modern B with ?", kModern, kA, "B", "?", "@"}, Direction::Encipher},
        {{"modern A with ?", kModern, kA, "A", "?", "?"}, Direction::Encipher},
        {{"modern Y Z minus ?", kModern, kA, "YZ", "??", "[\\"}, Direction::Decipher},
        {{"key longer than text", kModern, kA, "HALLO", "ABCDEFGHIJ", "HBNOS"},
         Direction::Encipher},
        {{"empty text", kClassical, kB, "", "", ""}, Direction::Encipher},
    };
    for (const DirectedRow& directed : rows) {
        const Row& row = directed.row;
        SCOPED_TRACE(row.name);
        EXPECT_EQ(Ciphered(row.method, row.keyStart, directed.direction, row.text, row.key),
                  row.result);
    }
}

TEST(ApplyCipher, RefusesAKeyStreamShorterThanTheText) {
    CipherState state;
    state.InputText = "HALLO";
    state.KeyStream = "ABCD";
    state.OutputText = "OLD";
    state.TextLength = 4;
    ApplyCipher(state, kModern, kA, Direction::Encipher);
    EXPECT_EQ(state.OutputText, "");
    EXPECT_EQ(state.TextLength, 0);
}

TEST(ApplyCipher, UsesTheOldKeyStreamWithTheNewMethod) {
    CipherState state;
    NormaliseInput(state, "Hallo", kModern);
    GenerateKeyStream(state, 1);  // classical alphabet of the start-up choices
    SelectKeyAlphabet(state, kModern, kB);
    ApplyCipher(state, kModern, kB, Direction::Encipher);
    EXPECT_EQ(state.KeyStream, "ABCDE");
    EXPECT_EQ(state.OutputText, "HBNOS");
}

TEST(ApplyCipher, ClassicalRoundTripKeepsTheDigitFour) {
    for (const KeyStart keyStart : {kA, kB}) {
        CipherState state;
        SelectKeyAlphabet(state, kClassical, keyStart);
        NormaliseInput(state, "TREFFEN UM 4", kClassical);
        ASSERT_EQ(state.InputText, "TREFFENUMVIER");
        GenerateKeyStream(state, 3);
        ApplyCipher(state, kClassical, keyStart, Direction::Encipher);
        EXPECT_EQ(state.OutputText.find_first_of("JV"), std::string::npos);
        state.InputText = state.OutputText;
        ApplyCipher(state, kClassical, keyStart, Direction::Decipher);
        EXPECT_EQ(state.OutputText, "TREFFENUMUIER");
    }
}

// The classical rule, one position at a time: positions in the alphabet (J
// and V as I and U), the last one found for any other character, the result
// brought into 1 to L.
std::string ClassicalOneByOne(std::string_view text, std::string_view key,
                              std::string_view alphabet, Direction direction) {
    const auto positionOf = [alphabet](char c, int last) {
        std::size_t found = alphabet.find(c);
        if (found == std::string_view::npos && (c == 'J' || c == 'V')) {
            found = alphabet.find(c == 'J' ? 'I' : 'U');
        }
        return found == std::string_view::npos ? last : static_cast<int>(found) + 1;
    };
    const int length = static_cast<int>(alphabet.size());
    int inputPosition = 0;
    int keyPosition = 0;
    std::string result;
    for (std::size_t i = 0; i < text.size(); ++i) {
        inputPosition = positionOf(text[i], inputPosition);
        keyPosition = positionOf(key[i], keyPosition);
        const int z = direction == Direction::Encipher ? inputPosition + keyPosition - 1
                                                       : inputPosition - keyPosition + 1;
        result += alphabet[static_cast<std::size_t>(((z - 1) % length + length) % length)];
    }
    return result;
}

TEST(ApplyCipher, ClassicalEqualsTheRuleOneByOneOnLongMixedTexts) {
    // Mostly letters, now and then a character outside the alphabet, so that
    // long stretches of letters and their neighbours are both covered.
    const unsigned seed = 77;
    std::mt19937 random(seed);
    const std::string_view pool = "ABCDEFGHIJKLMNOPQRSTUVWXYZ?4 ";
    std::uniform_int_distribution<std::size_t> letter(0, 25);
    std::uniform_int_distribution<std::size_t> any(0, pool.size() - 1);
    std::uniform_int_distribution<int> rarely(0, 299);
    const auto randomText = [&](std::size_t n) {
        std::string text;
        for (std::size_t i = 0; i < n; ++i) {
            text += pool[rarely(random) == 0 ? any(random) : letter(random)];
        }
        return text;
    };
    for (int round = 0; round < 40; ++round) {
        const std::size_t n = static_cast<std::size_t>(round) * 97;
        std::string text = randomText(n);
        std::string key = randomText(n);
        // Unknown characters right after whole stretches of 256 letters.
        for (std::size_t i = 256; i < n; i += 256) {
            text[i] = '?';
            key[i] = '?';
        }
        for (const KeyStart keyStart : {kA, kB}) {
            for (const Direction direction : {Direction::Encipher, Direction::Decipher}) {
                CipherState state;
                SelectKeyAlphabet(state, kClassical, keyStart);
                const std::string_view alphabet =
                    keyStart == kA ? state.KeyAlphabet : kClassicalAlphabetA;
                const std::string expected = ClassicalOneByOne(text, key, alphabet, direction);
                state.InputText = text;
                state.KeyStream = key;
                ApplyCipher(state, kClassical, keyStart, direction);
                ASSERT_EQ(state.OutputText, expected) << "seed " << seed << ", round " << round;
            }
        }
    }
}

// Deciphering the enciphered text with the same keystream gives the text back,
// for random texts and every key start position the spinner offers.
TEST(ApplyCipher, DecipheringUndoesEnciphering) {
    struct Combination {
        Method method;
        KeyStart keyStart;
        std::string_view letters;  // what the text is drawn from
        std::string_view expected;  // what each letter comes back as
    };
    const Combination combinations[] = {
        {kModern, kA, "ABCDEFGHIJKLMNOPQRSTUVWXYZ", "ABCDEFGHIJKLMNOPQRSTUVWXYZ"},
        {kModern, kB, "ABCDEFGHIJKLMNOPQRSTUVWXYZ", "ABCDEFGHIJKLMNOPQRSTUVWXYZ"},
        {kClassical, kA, "ABCDEFGHIJKLMNOPQRSTUVWXYZ", "ABCDEFGHIIKLMNOPQRSTUUWXYZ"},
        {kClassical, kB, "ABCDEFGHIJKLMNOPQRSTUVWXYZ", "ABCDEFGHIIKLMNOPQRSTUUWXYZ"},
    };
    const unsigned seed = 1499;
    std::mt19937 random(seed);
    for (const Combination& combination : combinations) {
        std::uniform_int_distribution<std::size_t> pick(0, combination.letters.size() - 1);
        for (std::size_t n = 1; n <= 60; ++n) {
            std::string text;
            std::string expected;
            for (std::size_t i = 0; i < n; ++i) {
                const std::size_t index = pick(random);
                text += combination.letters[index];
                expected += combination.expected[index];
            }
            for (int p = 1; p <= std::min<int>(25, static_cast<int>(n)); ++p) {
                CipherState state;
                SelectKeyAlphabet(state, combination.method, combination.keyStart);
                state.InputText = text;
                GenerateKeyStream(state, p);
                ApplyCipher(state, combination.method, combination.keyStart, Direction::Encipher);
                state.InputText = state.OutputText;
                ApplyCipher(state, combination.method, combination.keyStart, Direction::Decipher);
                ASSERT_EQ(state.OutputText, expected)
                    << "seed " << seed << ", text " << text << ", p " << p;
            }
        }
    }
}

}  // namespace
}  // namespace trithemius
