// Normalisation of raw Windows-1252 text into upper-case letters.
#include "cipher_core.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>

namespace trithemius {
namespace {

std::string Normalised(std::string_view raw, Method method) {
    CipherState state;
    NormaliseInput(state, raw, method);
    EXPECT_EQ(state.TextLength, static_cast<std::int32_t>(state.InputText.size()));
    return state.InputText;
}

// TextLength counts the letters of a text up to 2^31 - 1; a text with more
// is refused. The bound is told by a length, so no text of gigabytes is made.
TEST(NormaliseInput, RefusesMoreLettersThanTextLengthCounts) {
    EXPECT_TRUE(FitsTextLength(0));
    EXPECT_TRUE(FitsTextLength(2'147'483'647));
    EXPECT_FALSE(FitsTextLength(2'147'483'648));
    EXPECT_FALSE(FitsTextLength(SIZE_MAX));
    EXPECT_TRUE(CanNormalise("Sieben 7777", Method::MethodModern));
}

TEST(NormaliseInput, GivesTheResultsOfBothMethods) {
    struct Row {
        const char* name;
        std::string raw;
        std::string modern;
        std::string classical;
    };
    const Row rows[] = {
        {"street and digits",
         "Stra\xDF"
         "e 12, K\xF6ln!",
         "STRASZEEINSZWEIKOELN", "STRASZEEINSZWEIKOELN"},
        {"J and V", "J\xE4ger und Vogel", "JAEGERUNDVOGEL", "IAEGERUNDUOGEL"},
        {"VIER keeps its V", "Vier 4", "VIERVIER", "UIERVIER"},
        {"year",
         "\xDC"
         "bermut 2019",
         "UEBERMUTZWEINULLEINSNEUN", "UEBERMUTZWEINULLEINSNEUN"},
        {"line break", "Zwei\r\nZeilen", "ZWEIZEILEN", "ZWEIZEILEN"},
        {"accents vanish", "caf\xE9 \xE0 la carte", "CAFLACARTE", "CAFLACARTE"},
        {"hyphen and digits", "B-52", "BFUENFZWEI", "BFUENFZWEI"},
        {"four characters", "a!4\xF6", "AVIEROE", "AVIEROE"},
        {"lower case umlaut", "k\xF6ln", "KOELN", "KOELN"},
        {"upper case umlaut", "K\xD6LN", "KOELN", "KOELN"},
        {"sharp s alone", "\xDF", "SZ", "SZ"},
        {"digit after deleted", "!7", "SIEBEN", "SIEBEN"},
        {"deleted run", "A , ; B", "AB", "AB"},
        {"deleted at the end", "Ja!", "JA", "IA"},
        {"both cases of J and V", "Jj Vv", "JJVV", "IIUU"},
        {"all ten digits", "0123456789", "NULLEINSZWEIDREIVIERFUENFSECHSSIEBENACHTNEUN",
         "NULLEINSZWEIDREIVIERFUENFSECHSSIEBENACHTNEUN"},
        {"accented letter alone", "\xE9", "", ""},
        {"empty", "", "", ""},
        {"only punctuation", " .,;:!?\r\n\t\x84\x93", "", ""},
        {"NUL and high bytes", std::string("A\0B\xFF\x80\x9F", 6), "AB", "AB"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(Normalised(row.raw, Method::MethodModern), row.modern);
        EXPECT_EQ(Normalised(row.raw, Method::MethodClassical), row.classical);
    }
}

TEST(NormaliseInput, KeepsExactlyTheLettersDigitsUmlautsAndSharpS) {
    int kept = 0;
    for (int value = 0; value < 256; ++value) {
        const std::string raw(1, static_cast<char>(value));
        const std::string result = Normalised(raw, Method::MethodModern);
        kept += result.empty() ? 0 : 1;
        for (const char c : result) {
            EXPECT_TRUE(c >= 'A' && c <= 'Z') << "byte " << value;
        }
    }
    EXPECT_EQ(kept, 256 - 187);
}

TEST(NormaliseInput, ReplacesEarlierStateAndAcceptsItsOwnText) {
    CipherState state;
    state.KeyStream = "KEY";
    NormaliseInput(state, "erste Eingabe", Method::MethodModern);
    state.InputText = "zweite 2";
    NormaliseInput(state, state.InputText, Method::MethodModern);
    EXPECT_EQ(state.InputText, "ZWEITEZWEI");
    EXPECT_EQ(state.TextLength, 10);
    EXPECT_EQ(state.KeyStream, "KEY");
    state.InputText = "1 und 22";
    NormaliseInput(state, std::string_view(state.InputText).substr(2), Method::MethodModern);
    EXPECT_EQ(state.InputText, "UNDZWEIZWEI");
}

// The scan in its step-by-step form: one position that moves along the text
// while characters are raised, deleted and replaced in place. Slow, but an
// independent statement of what the normalisation must give.
std::string ScanInPlace(std::string text, Method method) {
    const auto replacement = [method](unsigned char c) -> std::string {
        static const char* const kDigitWords[] = {"NULL",  "EINS",  "ZWEI",   "DREI", "VIER",
                                                  "FUENF", "SECHS", "SIEBEN", "ACHT", "NEUN"};
        if (c >= '0' && c <= '9') return kDigitWords[c - '0'];
        if (method == Method::MethodClassical && c == 'J') return "I";
        if (method == Method::MethodClassical && c == 'V') return "U";
        if (c == 0xC4 || c == 0xE4) return "AE";
        if (c == 0xD6 || c == 0xF6) return "OE";
        if (c == 0xDC || c == 0xFC) return "UE";
        if (c == 0xDF) return "SZ";
        return "";
    };
    const auto isKept = [](unsigned char c) {
        return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || c == 0xC4 || c == 0xD6 ||
               c == 0xDC || c == 0xDF || c == 0xE4 || c == 0xF6 || c == 0xFC;
    };
    std::size_t i = 1;
    while (true) {
        bool deleted = false;
        if (i <= text.size()) {
            auto c = static_cast<unsigned char>(text[i - 1]);
            if (c >= 'a' && c <= 'z') text[i - 1] = static_cast<char>(c - 32);
            if (!isKept(static_cast<unsigned char>(text[i - 1]))) {
                text.erase(i - 1, 1);
                deleted = true;
            }
        }
        if (text.empty()) break;
        if (i <= text.size()) {
            const std::string word = replacement(static_cast<unsigned char>(text[i - 1]));
            if (!word.empty()) {
                text.erase(i - 1, 1);
                text.insert(i - 1, word);
                i += word.size() - 1;
            }
        }
        if (!deleted) ++i;
        if (i > text.size()) break;
    }
    return text;
}

TEST(NormaliseInput, EqualsTheInPlaceScanOnRandomBytes) {
    const unsigned seed = 20261208;
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> byte(0, 255);
    std::uniform_int_distribution<int> length(0, 40);
    for (int round = 0; round < 3000; ++round) {
        std::string raw(static_cast<std::size_t>(length(random)), '\0');
        for (char& c : raw) c = static_cast<char>(byte(random));
        for (const Method method : {Method::MethodModern, Method::MethodClassical}) {
            ASSERT_EQ(Normalised(raw, method), ScanInPlace(raw, method))
                << "seed " << seed << ", round " << round;
        }
    }
}

}  // namespace
}  // namespace trithemius
