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

// Appends count letters of the endless repetition of alphabet to out,
// beginning with the alphabet's letter at index first.
void AppendRepeatedAlphabet(std::string& out, std::size_t count, std::string_view alphabet,
                            std::size_t first) {
    const std::size_t end = out.size() + count;
    out.append(alphabet.substr(first, count));
    // From here on whole alphabets follow one another; once one is written,
    // doubling copies of what is written fill the rest in few large steps.
    const std::size_t period = out.size();
    out.append(alphabet.substr(0, end - out.size()));
    while (out.size() < end) {
        const std::size_t written = out.size() - period;
        const std::size_t whole = written - written % alphabet.size();
        out.append(out, period, std::min(whole, end - out.size()));
    }
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
    state.KeyStream.clear();
    if (!CanStartKeyStream(n, keyStartPosition) || alphabet.empty()) {
        return;  // no keystream rather than one with gaps
    }
    const std::size_t p = static_cast<std::size_t>(keyStartPosition);
    const std::size_t firstRun = n - p + 1;  // the letters on positions p to n
    state.KeyStream.reserve(n);
    AppendRepeatedAlphabet(state.KeyStream, p - 1, alphabet, firstRun % alphabet.size());
    AppendRepeatedAlphabet(state.KeyStream, firstRun, alphabet, 0);
}

}  // namespace trithemius
