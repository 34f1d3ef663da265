// Normalising free text into the cipher's run of upper-case letters.
//
// Every byte of the raw text maps on its own to zero or more letters: a to z
// are raised to A to Z, digits become German number words, the umlauts and ß
// become two letters, J and V become I and U under the classical method, and
// everything else vanishes. The mapping is one table per method, so the whole
// text is normalised in two linear passes: one to size the result, one to
// write it.
#include "cipher_core.h"

#include <array>
#include <cstring>
#include <utility>

namespace trithemius {
namespace {

// What one byte becomes: up to six letters, stored in eight bytes so that a
// whole entry can be copied at once.
struct Replacement {
    std::array<char, 8> Letters{};
    std::uint8_t Size = 0;
};

using ReplacementTable = std::array<Replacement, 256>;

constexpr Replacement MakeReplacement(std::string_view letters) {
    Replacement replacement;
    for (std::size_t i = 0; i < letters.size(); ++i) {
        replacement.Letters[i] = letters[i];
    }
    replacement.Size = static_cast<std::uint8_t>(letters.size());
    return replacement;
}

constexpr std::array<std::string_view, 10> kDigitWords = {
    "NULL", "EINS", "ZWEI", "DREI", "VIER", "FUENF", "SECHS", "SIEBEN", "ACHT", "NEUN"};

// Windows-1252 values of the umlauts and ß.
constexpr unsigned char kUpperAUmlaut = 0xC4;
constexpr unsigned char kUpperOUmlaut = 0xD6;
constexpr unsigned char kUpperUUmlaut = 0xDC;
constexpr unsigned char kSharpS = 0xDF;
constexpr unsigned char kLowerAUmlaut = 0xE4;
constexpr unsigned char kLowerOUmlaut = 0xF6;
constexpr unsigned char kLowerUUmlaut = 0xFC;

constexpr ReplacementTable MakeTable(Method method) {
    ReplacementTable table{};
    for (int letter = 'A'; letter <= 'Z'; ++letter) {
        const char upper[1] = {static_cast<char>(letter)};
        table[letter] = MakeReplacement(std::string_view(upper, 1));
        table[letter + ('a' - 'A')] = table[letter];
    }
    for (int digit = 0; digit <= 9; ++digit) {
        table['0' + digit] = MakeReplacement(kDigitWords[digit]);
    }
    table[kUpperAUmlaut] = table[kLowerAUmlaut] = MakeReplacement("AE");
    table[kUpperOUmlaut] = table[kLowerOUmlaut] = MakeReplacement("OE");
    table[kUpperUUmlaut] = table[kLowerUUmlaut] = MakeReplacement("UE");
    table[kSharpS] = MakeReplacement("SZ");
    if (method == Method::MethodClassical) {
        // The classical alphabet has no J and no V.
        table['J'] = table['j'] = MakeReplacement("I");
        table['V'] = table['v'] = MakeReplacement("U");
    }
    return table;
}

constexpr ReplacementTable kModernTable = MakeTable(Method::MethodModern);
constexpr ReplacementTable kClassicalTable = MakeTable(Method::MethodClassical);

}  // namespace

void NormaliseInput(CipherState& state, std::string_view rawText, Method method) {
    const ReplacementTable& table =
        method == Method::MethodClassical ? kClassicalTable : kModernTable;

    std::size_t length = 0;
    for (const char byte : rawText) {
        length += table[static_cast<unsigned char>(byte)].Size;
    }

    // Each entry is copied whole; the slack behind the text takes the
    // bytes beyond an entry's size and is cut off afterwards. The result is
    // built apart from InputText, so the raw text may be InputText itself.
    std::string text;
    text.resize(length + sizeof(Replacement::Letters));
    char* out = text.data();
    for (const char byte : rawText) {
        const Replacement& replacement = table[static_cast<unsigned char>(byte)];
        std::memcpy(out, replacement.Letters.data(), sizeof(Replacement::Letters));
        out += replacement.Size;
    }
    text.resize(length);
    state.InputText = std::move(text);
    state.TextLength = static_cast<std::int32_t>(length);
}

}  // namespace trithemius
