// Normalising free text into the cipher's run of upper-case letters.
//
// Every byte of the raw text maps on its own to zero or more letters: a to z
// are raised to A to Z, digits become German number words, the umlauts and ß
// become two letters, J and V become I and U under the classical method, and
// everything else vanishes. The mapping is one table per method, so the whole
// text is normalised in one linear pass.
#include "cipher_core.h"
#include "reused_storage.h"

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

    // The text is mapped in chunks through a buffer that holds the longest
    // possible result of a chunk. Each entry is copied whole (eight bytes at
    // once); the bytes beyond its size are overwritten by the next entry or
    // left behind in the buffer. The result reuses the storage of InputText
    // unless the raw text lies in it.
    constexpr std::size_t kChunk = 4096;
    constexpr std::size_t kLongestReplacement = 6;
    std::array<char, kChunk * kLongestReplacement + sizeof(Replacement::Letters)> buffer;
    std::string text = TakeStorage(state.InputText, rawText);
    text.reserve(rawText.size());
    for (std::size_t from = 0; from < rawText.size(); from += kChunk) {
        const std::string_view chunk = rawText.substr(from, kChunk);
        char* out = buffer.data();
        for (const char byte : chunk) {
            const Replacement& replacement = table[static_cast<unsigned char>(byte)];
            std::memcpy(out, replacement.Letters.data(), sizeof(Replacement::Letters));
            out += replacement.Size;
        }
        text.append(buffer.data(), out);
    }
    state.InputText = std::move(text);
    state.TextLength = static_cast<std::int32_t>(state.InputText.size());
}

}  // namespace trithemius
