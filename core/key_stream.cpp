// Generating the progressive keystream.
//
// The key alphabet is laid, over and over, on the positions p, p + 1, ...,
// n, 1, ..., p - 1 of the text. The letter at position k is therefore the
// alphabet's letter ((k - p) mod n) mod L, and the keystream is two straight
// runs of the repeated alphabet: positions 1 to p - 1 carry on where the
// run over positions p to n stops.
#include "cipher_core.h"

#include <algorithm>

namespace trithemius {
namespace {

// Writes count letters of the endless repetition of alphabet to out,
// beginning with the alphabet's letter at index first; returns the end.
char* WriteRepeatedAlphabet(char* out, std::size_t count, std::string_view alphabet,
                            std::size_t first) {
    while (count > 0) {
        const std::string_view piece = alphabet.substr(first, count);
        out = std::copy(piece.begin(), piece.end(), out);
        count -= piece.size();
        first = 0;
    }
    return out;
}

}  // namespace

bool CanStartKeyStream(std::size_t textLength, int keyStartPosition) {
    return keyStartPosition >= 1 &&
           static_cast<std::size_t>(keyStartPosition) <= std::max<std::size_t>(textLength, 1);
}

void GenerateKeyStream(CipherState& state, int keyStartPosition) {
    const std::size_t n = state.InputText.size();
    const std::string_view alphabet = state.KeyAlphabet;
    state.TextLength = static_cast<std::int32_t>(n);
    if (!CanStartKeyStream(n, keyStartPosition) || alphabet.empty()) {
        state.KeyStream.clear();
        return;  // no keystream rather than one with gaps
    }
    const auto p = static_cast<std::size_t>(keyStartPosition);
    const std::size_t firstRun = n - p + 1;  // the letters on positions p to n
    // Resized, not cleared first: a keystream of the same length as the last
    // one is written over without filling it with zeros beforehand.
    state.KeyStream.resize(n);
    char* const firstRunStart =
        WriteRepeatedAlphabet(state.KeyStream.data(), p - 1, alphabet, firstRun % alphabet.size());
    WriteRepeatedAlphabet(firstRunStart, firstRun, alphabet, 0);
}

}  // namespace trithemius
