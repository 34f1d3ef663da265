// Enciphering and deciphering: combining each letter of the text with the
// key letter at the same position.
#include "cipher_core.h"

#include <array>
#include <cstdint>

namespace trithemius {
namespace {

// Enciphering adds the key's letter index, deciphering its complement
// (taking k away counts the same as adding letters - k); for indices from 0
// to letters - 1 one correction brings the sum back into that range.
template <typename Index>
constexpr Index Combine(Index text, Index key, Index letters, Direction direction) {
    const Index sum = text + (direction == Direction::Encipher ? key : letters - key);
    return sum >= letters ? sum - letters : sum;
}

// Letter index of a byte in the modern arithmetic: A = 0, ..., Z = 25; any
// other byte keeps its distance from A (the placeholder "?" is -2) and
// passes through the same arithmetic. Sixteen bits hold the sum of any two,
// and let the compiler treat eight letters in one vector instruction.
constexpr std::int16_t ModernIndex(unsigned char c) { return static_cast<std::int16_t>(c - 'A'); }

void ApplyModern(std::string_view text, std::string_view key, Direction direction, char* out) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const std::int16_t r = Combine<std::int16_t>(ModernIndex(text[i]), ModernIndex(key[i]),
                                                     kModernAlphabetA.size(), direction);
        out[i] = static_cast<char>(r + 'A');
    }
}

void ApplyClassical(std::string_view text, std::string_view key, std::string_view alphabet,
                    Direction direction, char* out) {
    // 0-based index of every byte in the alphabet, -1 where the byte does not
    // occur. J and V, which the classical alphabet lacks, count as the I and U
    // that stand for them, so texts and keys from the modern alphabet (and the
    // V of "VIER") keep their letters' worth instead of borrowing a neighbour's.
    std::array<int, 256> indices;
    indices.fill(-1);
    for (std::size_t i = alphabet.size(); i-- > 0;) {
        indices[static_cast<unsigned char>(alphabet[i])] = static_cast<int>(i);
    }
    if (indices['J'] < 0) indices['J'] = indices['I'];
    if (indices['V'] < 0) indices['V'] = indices['U'];

    // A character not in the alphabet keeps the index last found in its own
    // text during this run; before the first one it counts as the position
    // in front of the first letter, which in the cyclic count is the last.
    const int letters = static_cast<int>(alphabet.size());
    int textIndex = letters - 1;
    int keyIndex = letters - 1;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const int foundText = indices[static_cast<unsigned char>(text[i])];
        const int foundKey = indices[static_cast<unsigned char>(key[i])];
        textIndex = foundText >= 0 ? foundText : textIndex;
        keyIndex = foundKey >= 0 ? foundKey : keyIndex;
        out[i] = alphabet[Combine<std::size_t>(textIndex, keyIndex, letters, direction)];
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
    const std::string_view text = state.InputText;
    if (state.KeyStream.size() < text.size() || (classical && classicalAlphabet.empty())) {
        state.OutputText.clear();
        state.TextLength = 0;
        return;  // refused: there is no key letter (or no letter) for every position
    }
    // Resized, not cleared first: a result of the same length as the last
    // one is written over without filling it with zeros beforehand.
    state.OutputText.resize(text.size());
    char* const out = state.OutputText.data();
    if (classical) {
        ApplyClassical(text, state.KeyStream, classicalAlphabet, direction, out);
    } else {
        ApplyModern(text, state.KeyStream, direction, out);
    }
    state.TextLength = static_cast<std::int32_t>(text.size());
}

}  // namespace trithemius
