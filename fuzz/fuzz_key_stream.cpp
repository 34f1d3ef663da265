// Fuzz target for GenerateKeyStream: any text length, any key start
// position (refused ones included) and any of the four key alphabets. For a
// position from 1 to n the keystream must equal the closed form
// alphabet[((k - p) mod n) mod L] at every 0-based k; otherwise it must be
// empty. TextLength is n either way, and the letters of the text never
// matter.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "cipher_core.h"
#include "fuzz_check.h"

namespace {

using trithemius::CipherState;
using trithemius::fuzz::Check;

constexpr std::size_t kMaxTextLength = 5000;

std::string ClosedForm(std::int64_t n, std::int64_t p, std::string_view alphabet) {
    std::string expected;
    const auto size = static_cast<std::int64_t>(alphabet.size());
    for (std::int64_t k = 1; k <= n; ++k) {
        const std::int64_t fromStart = ((k - p) % n + n) % n;
        expected += alphabet[static_cast<std::size_t>(fromStart % size)];
    }
    return expected;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static constexpr std::string_view kAlphabets[] = {
        trithemius::kModernAlphabetA, trithemius::kClassicalAlphabetA, trithemius::kModernAlphabetB,
        trithemius::kClassicalAlphabetB};
    FuzzedDataProvider provider(data, size);
    const std::string_view alphabet = provider.PickValueInArray(kAlphabets);
    const auto n = provider.ConsumeIntegralInRange<std::size_t>(0, kMaxTextLength);
    const auto signedN = static_cast<int>(n);
    // Mostly positions around the valid range, sometimes any int at all.
    const int p = provider.ConsumeBool() ? provider.ConsumeIntegral<int>()
                                         : provider.ConsumeIntegralInRange<int>(-2, signedN + 2);
    std::string text = provider.ConsumeBytesAsString(n);
    text.resize(n, 'X');

    CipherState state;
    state.InputText = text;
    state.KeyStream = "OLD KEY STREAM";
    state.BlockText = "BLOCK";
    state.KeyAlphabet = std::string(alphabet);
    state.OutputText = "OUT";
    state.TextLength = -3;
    trithemius::GenerateKeyStream(state, p);

    Check(state.TextLength == signedN, "TextLength is the length of InputText");
    if (p >= 1 && p <= signedN) {
        Check(state.KeyStream.size() == n, "a valid position gives one key letter per letter");
        Check(state.KeyStream.find('?') == std::string::npos, "no placeholder is left");
        Check(trithemius::fuzz::OnlyLettersOf(state.KeyStream, alphabet),
              "every key letter is from KeyAlphabet");
        Check(state.KeyStream == ClosedForm(signedN, p, alphabet),
              "keystream equals the closed form");
    } else {
        Check(state.KeyStream.empty(), "a refused position generates nothing");
    }
    Check(state.InputText == text && state.BlockText == "BLOCK" && state.OutputText == "OUT" &&
              state.KeyAlphabet == alphabet,
          "no other field changes");

    // The same length with other letters gives the same keystream.
    CipherState other;
    other.InputText = std::string(n, 'A');
    other.KeyAlphabet = std::string(alphabet);
    trithemius::GenerateKeyStream(other, p);
    Check(other.KeyStream == state.KeyStream, "the letters of the text do not matter");
    return 0;
}
