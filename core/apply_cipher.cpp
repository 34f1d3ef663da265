// Enciphering and deciphering: combining each letter of the text with the
// key letter at the same position.
#include "cipher_core.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

namespace trithemius {
namespace {

constexpr int kModernLetters = 26;

// Letter value of a byte in the modern arithmetic: A = 0, ..., Z = 25; any
// other byte keeps its distance from A (the placeholder "?" is -2).
constexpr int LetterValue(char c) { return static_cast<unsigned char>(c) - 'A'; }

void ApplyModern(std::string_view text, std::string_view key, Direction direction, char* out) {
    // The correction is made once, as for two letters A to Z one always
    // suffices; any other byte passes through the same arithmetic.
    if (direction == Direction::Encipher) {
        for (std::size_t i = 0; i < text.size(); ++i) {
            int r = LetterValue(text[i]) + LetterValue(key[i]);
            r -= r > kModernLetters - 1 ? kModernLetters : 0;
            out[i] = static_cast<char>(r + 'A');
        }
    } else {
        for (std::size_t i = 0; i < text.size(); ++i) {
            int r = LetterValue(text[i]) - LetterValue(key[i]);
            r += r < 0 ? kModernLetters : 0;
            out[i] = static_cast<char>(r + 'A');
        }
    }
}

// 1-based position of every byte in the classical alphabet, 0 where the byte
// does not occur. J and V, which that alphabet lacks, count as the I and U
// that stand for them, so texts and keys from the modern alphabet (and the V
// of "VIER") keep their letters' worth instead of borrowing a neighbour's.
using PositionTable = std::array<int, 256>;

PositionTable MakePositionTable(std::string_view alphabet) {
    PositionTable positions{};
    for (std::size_t i = alphabet.size(); i-- > 0;) {
        positions[static_cast<unsigned char>(alphabet[i])] = static_cast<int>(i + 1);
    }
    const auto standIn = [&positions](unsigned char missing, unsigned char present) {
        if (positions[missing] == 0) {
            positions[missing] = positions[present];
        }
    };
    standIn('J', 'I');
    standIn('V', 'U');
    return positions;
}

// Position of the result letter for an input and a key position (each 0 to
// L, 0 while nothing has been found yet), brought into 1 to L.
int ResultPosition(int inputPosition, int keyPosition, int length, Direction direction) {
    const int z = direction == Direction::Encipher ? inputPosition + keyPosition - 1
                                                   : inputPosition - keyPosition + 1;
    return ((z - 1) % length + length) % length + 1;
}

// Alphabets up to this length (the four key alphabets) get a precomputed
// table of result letters for every pair of positions, so the loop makes no
// arithmetic and no unpredictable branch per letter.
constexpr int kTableLetters = 32;

// Texts from this length on also get a table of result letters for every
// pair of bytes; building it costs more than it saves on shorter ones.
constexpr std::size_t kPairTableLength = 1024;

void ApplyClassical(std::string_view text, std::string_view key, std::string_view alphabet,
                    Direction direction, char* out) {
    const PositionTable positions = MakePositionTable(alphabet);
    const int length = static_cast<int>(alphabet.size());
    const auto letterAt = [alphabet](int position) {
        return alphabet[static_cast<std::size_t>(position - 1)];
    };
    // A character not in the alphabet keeps the position last found in its
    // own text during this run (0 before the first one is found).
    int inputPosition = 0;
    int keyPosition = 0;
    const auto advance = [&](std::size_t i) {
        const int foundInput = positions[static_cast<unsigned char>(text[i])];
        const int foundKey = positions[static_cast<unsigned char>(key[i])];
        inputPosition = foundInput != 0 ? foundInput : inputPosition;
        keyPosition = foundKey != 0 ? foundKey : keyPosition;
    };

    if (length > kTableLetters) {
        for (std::size_t i = 0; i < text.size(); ++i) {
            advance(i);
            out[i] = letterAt(ResultPosition(inputPosition, keyPosition, length, direction));
        }
        return;
    }
    std::array<std::array<char, kTableLetters + 1>, kTableLetters + 1> results{};
    for (int input = 0; input <= length; ++input) {
        for (int keyLetter = 0; keyLetter <= length; ++keyLetter) {
            results[input][keyLetter] =
                letterAt(ResultPosition(input, keyLetter, length, direction));
        }
    }
    // Letter by letter, carrying the positions along.
    const auto applyFromPositions = [&](std::size_t from, std::size_t end) {
        for (std::size_t i = from; i < end; ++i) {
            advance(i);
            out[i] = results[inputPosition][keyPosition];
        }
    };
    if (text.size() < kPairTableLength) {
        applyFromPositions(0, text.size());
        return;
    }
    // A pair of bytes that both occur in the alphabet gives its result
    // straight away; -1 marks the other pairs. Stretches made only of such
    // pairs need no position bookkeeping: the positions after one are those
    // of its last pair.
    constexpr std::size_t kBytes = 256;  // every value of a byte
    const auto pairIndex = [](char x, char y) {
        return static_cast<unsigned char>(x) * kBytes + static_cast<unsigned char>(y);
    };
    std::vector<std::int16_t> pairs(kBytes * kBytes, -1);
    for (std::size_t x = 0; x < kBytes; ++x) {
        for (std::size_t y = 0; y < kBytes; ++y) {
            if (positions[x] != 0 && positions[y] != 0) {
                pairs[x * kBytes + y] =
                    static_cast<unsigned char>(results[positions[x]][positions[y]]);
            }
        }
    }
    constexpr std::size_t kStretch = 256;
    for (std::size_t from = 0; from < text.size(); from += kStretch) {
        const std::size_t end = std::min(text.size(), from + kStretch);
        int unknown = 0;
        for (std::size_t i = from; i < end; ++i) {
            const int result = pairs[pairIndex(text[i], key[i])];
            out[i] = static_cast<char>(result);
            unknown |= result;
        }
        if (unknown >= 0) {
            advance(end - 1);
        } else {
            applyFromPositions(from, end);
        }
    }
}

}  // namespace

void ApplyCipher(CipherState& state, Method method, KeyStart keyStart, Direction direction) {
    // With the key starting at B the classical key alphabet lacks the A, yet
    // texts hold it; the arithmetic then counts in the full classical order,
    // where the key letters B to W are the distances 1 to 23.
    const std::string_view classicalAlphabet =
        keyStart == KeyStart::KeyStartB ? kClassicalAlphabetA : std::string_view(state.KeyAlphabet);
    const bool classical = method == Method::MethodClassical;

    state.OutputText.clear();
    state.TextLength = 0;
    if (state.KeyStream.size() < state.InputText.size() ||
        (classical && classicalAlphabet.empty())) {
        return;  // refused: there is no key letter (or no letter) for every position
    }
    const std::string_view text = state.InputText;
    const std::string_view key = std::string_view(state.KeyStream).substr(0, text.size());
    state.OutputText.resize(text.size());
    if (classical) {
        ApplyClassical(text, key, classicalAlphabet, direction, state.OutputText.data());
    } else {
        ApplyModern(text, key, direction, state.OutputText.data());
    }
    state.TextLength = static_cast<std::int32_t>(text.size());
}

}  // namespace trithemius
