// Normalising free text into the cipher's run of upper-case letters.
//
// Every byte of the raw text maps on its own to zero or more letters: a to z
// are raised to A to Z, digits become German number words, the umlauts and ß
// become two letters, J and V become I and U under the classical method, and
// everything else vanishes. The mapping is one table per method, so the whole
// text is normalised in linear time.
#include "cipher_core.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <functional>
#include <utility>

namespace trithemius {
namespace {

constexpr std::array<std::string_view, 10> kDigitWords = {
    "NULL", "EINS", "ZWEI", "DREI", "VIER", "FUENF", "SECHS", "SIEBEN", "ACHT", "NEUN"};

// The Windows-1252 umlauts in both cases, and ß, with their spelling.
constexpr std::pair<unsigned char, std::string_view> kSpellings[] = {
    {0xC4, "AE"}, {0xE4, "AE"}, {0xD6, "OE"}, {0xF6, "OE"},
    {0xDC, "UE"}, {0xFC, "UE"}, {0xDF, "SZ"}};

// What one byte becomes: up to six letters (the longest number word) in a
// block of fixed size, so that every replacement is copied whole and the
// letters past its size are written over by the next one.
struct Replacement {
    std::array<char, 6> Letters{};
    std::size_t Size = 0;
};
using ReplacementTable = std::array<Replacement, 256>;

constexpr ReplacementTable MakeTable(Method method) {
    ReplacementTable table{};
    const auto spell = [&table](std::size_t byte, std::string_view letters) {
        std::copy(letters.begin(), letters.end(), table[byte].Letters.begin());
        table[byte].Size = letters.size();
    };
    for (std::size_t letter = 0; letter < kModernAlphabetA.size(); ++letter) {
        spell('A' + letter, kModernAlphabetA.substr(letter, 1));
        spell('a' + letter, kModernAlphabetA.substr(letter, 1));
    }
    for (std::size_t digit = 0; digit < kDigitWords.size(); ++digit) {
        spell('0' + digit, kDigitWords[digit]);
    }
    for (const auto& [byte, letters] : kSpellings) {
        spell(byte, letters);
    }
    if (method == Method::MethodClassical) {
        // The classical alphabet has no J and no V.
        for (const char byte : {'J', 'j'}) spell(byte, "I");
        for (const char byte : {'V', 'v'}) spell(byte, "U");
    }
    return table;
}

constexpr ReplacementTable kModernTable = MakeTable(Method::MethodModern);
constexpr ReplacementTable kClassicalTable = MakeTable(Method::MethodClassical);

const ReplacementTable& TableOf(Method method) {
    return method == Method::MethodClassical ? kClassicalTable : kModernTable;
}

// The letters rawText becomes.
std::size_t NormalisedLength(std::string_view rawText, const ReplacementTable& table) {
    std::size_t length = 0;
    for (const char byte : rawText) length += table[static_cast<unsigned char>(byte)].Size;
    return length;
}

}  // namespace

bool CanNormalise(std::string_view rawText, Method method) {
    constexpr std::size_t kMostPerByte = sizeof(Replacement::Letters);
    return rawText.size() <= kMostLetters / kMostPerByte ||
           FitsTextLength(NormalisedLength(rawText, TableOf(method)));
}

bool NormaliseInput(CipherState& state, std::string_view rawText, Method method) {
    std::string& input = state.InputText;
    // The raw text may lie in the storage of InputText, which is written
    // over below: then a copy of it is normalised.
    const std::less<const char*> before;
    if (!rawText.empty() && !before(rawText.data(), input.data()) &&
        before(rawText.data(), input.data() + input.capacity())) {
        const std::string copy(rawText);
        return NormaliseInput(state, copy, method);
    }
    const ReplacementTable& table = TableOf(method);
    const std::size_t length = NormalisedLength(rawText, table);
    if (!FitsTextLength(length)) return false;
    // Built in the storage InputText already has, which a large text would
    // otherwise fault in afresh on every run, with room for the last whole
    // block.
    input.resize(length + sizeof(Replacement::Letters));
    char* out = input.data();
    for (const char byte : rawText) {
        const Replacement& replacement = table[static_cast<unsigned char>(byte)];
        std::memcpy(out, replacement.Letters.data(), sizeof(Replacement::Letters));
        out += replacement.Size;
    }
    input.resize(length);
    state.TextLength = static_cast<std::int32_t>(length);
    return true;
}

}  // namespace trithemius
