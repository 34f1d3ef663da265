// Generating the progressive keystream.
//
// The key alphabet is laid, over and over, on the positions p, p + 1, ...,
// n, 1, ..., p - 1 of the text. The letter at position k is therefore the
// alphabet's letter ((k - p) mod n) mod L, and the keystream is written in
// two straight runs of the repeated alphabet.
#include "cipher_core.h"

#include <algorithm>

namespace trithemius {
namespace {

// Writes count letters of the endless repetition of alphabet, beginning with
// its letter at index first, to out.
void WriteRepeatedAlphabet(char* out, std::size_t count, std::string_view alphabet,
                           std::size_t first) {
    const std::size_t head = std::min(count, alphabet.size() - first);
    alphabet.copy(out, head, first);
    std::size_t written = head;
    if (written == count) {
        return;
    }
    const std::size_t whole = std::min(count - written, alphabet.size());
    alphabet.copy(out + written, whole);
    written += whole;
    // Whatever is written is a repetition of the alphabet from out + head on;
    // doubling copies of it fill the rest in few large steps.
    const char* period = out + head;
    std::size_t available = written - head;
    while (written < count) {
        const std::size_t chunk = std::min(count - written, available - available % alphabet.size());
        std::copy_n(period, chunk, out + written);
        written += chunk;
        available += chunk;
    }
}

}  // namespace

void GenerateKeyStream(CipherState& state, int keyStartPosition) {
    const std::size_t n = state.InputText.size();
    const std::string_view alphabet = state.KeyAlphabet;
    state.TextLength = static_cast<std::int32_t>(n);
    state.KeyStream.clear();
    if (keyStartPosition < 1 || static_cast<std::size_t>(keyStartPosition) > n ||
        alphabet.empty()) {
        return;
    }
    const std::size_t p = static_cast<std::size_t>(keyStartPosition);
    const std::size_t firstRun = n - p + 1;  // positions p to n
    state.KeyStream.resize(n);
    char* out = state.KeyStream.data();
    WriteRepeatedAlphabet(out + (p - 1), firstRun, alphabet, 0);
    WriteRepeatedAlphabet(out, p - 1, alphabet, firstRun % alphabet.size());
}

}  // namespace trithemius
