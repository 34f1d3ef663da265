// Fuzz target for ApplyCipher with every method, key start and direction.
// On arbitrary bytes it must not break: a short keystream refuses the run,
// otherwise there is one result character per input character, key letters
// past the text are ignored, and the classical method gives only letters
// of its 24-letter alphabet. On texts of the letters A to Z the result has
// one letter per letter and the opposite direction with the same keystream
// gives the text back (J as I and V as U under the classical method).
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "cipher_core.h"
#include "fuzz_check.h"

namespace {

using trithemius::CipherState;
using trithemius::Direction;
using trithemius::KeyStart;
using trithemius::Method;
using trithemius::fuzz::Check;

constexpr std::size_t kMaxTextLength = 3000;

struct Choices {
    Method CipherMethod;
    KeyStart Start;
    Direction Way;
};

Choices ConsumeChoices(FuzzedDataProvider& provider) {
    return {provider.ConsumeBool() ? Method::MethodClassical : Method::MethodModern,
            provider.ConsumeBool() ? KeyStart::KeyStartB : KeyStart::KeyStartA,
            provider.ConsumeBool() ? Direction::Decipher : Direction::Encipher};
}

std::string ConsumeLetters(FuzzedDataProvider& provider, std::size_t count) {
    std::string letters;
    for (std::size_t i = 0; i < count; ++i) {
        letters += static_cast<char>('A' + provider.ConsumeIntegralInRange<int>(0, 25));
    }
    return letters;
}

// The text the classical arithmetic sees: J counts as I and V as U.
std::string AsClassicalLetters(std::string text) {
    for (char& c : text) {
        if (c == 'J') {
            c = 'I';
        } else if (c == 'V') {
            c = 'U';
        }
    }
    return text;
}

void CheckArbitraryBytes(FuzzedDataProvider& provider) {
    static constexpr std::string_view kAlphabets[] = {
        trithemius::kModernAlphabetA, trithemius::kClassicalAlphabetA, trithemius::kModernAlphabetB,
        trithemius::kClassicalAlphabetB};
    const Choices choices = ConsumeChoices(provider);
    // Usually the alphabet the choices select; sometimes one left over from
    // choices changed after the keystream was made.
    const std::string_view alphabet =
        provider.ConsumeBool() ? provider.PickValueInArray(kAlphabets)
                               : trithemius::KeyAlphabetFor(choices.CipherMethod, choices.Start);
    const std::string input = provider.ConsumeRandomLengthString(kMaxTextLength);
    const std::string key = provider.ConsumeRandomLengthString(kMaxTextLength);

    CipherState state;
    state.InputText = input;
    state.KeyStream = key;
    state.KeyAlphabet = std::string(alphabet);
    state.BlockText = "BLOCK";
    state.OutputText = "OLD OUTPUT";
    trithemius::ApplyCipher(state, choices.CipherMethod, choices.Start, choices.Way);

    Check(state.InputText == input && state.KeyStream == key && state.KeyAlphabet == alphabet &&
              state.BlockText == "BLOCK",
          "only OutputText and TextLength change");
    if (key.size() < input.size()) {
        Check(state.OutputText.empty() && state.TextLength == 0, "a short keystream is refused");
        return;
    }
    Check(state.OutputText.size() == input.size(), "one result character per input character");
    Check(state.TextLength == static_cast<std::int64_t>(input.size()),
          "TextLength is the length of InputText");
    if (choices.CipherMethod == Method::MethodClassical &&
        alphabet == trithemius::KeyAlphabetFor(choices.CipherMethod, choices.Start)) {
        Check(trithemius::fuzz::OnlyLettersOf(state.OutputText, trithemius::kClassicalAlphabetA),
              "classical results are letters of the classical alphabet");
    }

    CipherState trimmed;
    trimmed.InputText = input;
    trimmed.KeyStream = key.substr(0, input.size());
    trimmed.KeyAlphabet = std::string(alphabet);
    trithemius::ApplyCipher(trimmed, choices.CipherMethod, choices.Start, choices.Way);
    Check(trimmed.OutputText == state.OutputText, "key letters past the text are ignored");
}

void CheckLetterRoundTrip(FuzzedDataProvider& provider) {
    const Choices choices = ConsumeChoices(provider);
    const bool generatedKey = provider.ConsumeBool();
    const auto length = provider.ConsumeIntegralInRange<std::size_t>(0, kMaxTextLength);
    const std::string text = ConsumeLetters(provider, length);

    CipherState state;
    state.InputText = text;
    trithemius::SelectKeyAlphabet(state, choices.CipherMethod, choices.Start);
    if (generatedKey && length > 0) {
        const int start = provider.ConsumeIntegralInRange<int>(1, static_cast<int>(length));
        trithemius::GenerateKeyStream(state, start);
    } else {
        state.KeyStream = ConsumeLetters(provider, length);
    }
    const std::string key = state.KeyStream;
    Check(key.size() == length, "the keystream covers the text");

    trithemius::ApplyCipher(state, choices.CipherMethod, choices.Start, choices.Way);
    const std::string result = state.OutputText;
    Check(result.size() == length, "one result letter per letter");
    if (choices.CipherMethod == Method::MethodModern) {
        Check(trithemius::fuzz::OnlyUpperLetters(result), "modern results are letters A to Z");
    } else {
        Check(trithemius::fuzz::OnlyLettersOf(result, trithemius::kClassicalAlphabetA),
              "classical results are letters of the classical alphabet");
    }

    const Direction back =
        choices.Way == Direction::Encipher ? Direction::Decipher : Direction::Encipher;
    state.InputText = result;
    trithemius::ApplyCipher(state, choices.CipherMethod, choices.Start, back);
    const std::string expected =
        choices.CipherMethod == Method::MethodModern ? text : AsClassicalLetters(text);
    Check(state.OutputText == expected, "the opposite direction gives the text back");
    Check(state.KeyStream == key, "the keystream is left as it was");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider provider(data, size);
    if (provider.ConsumeBool()) {
        CheckLetterRoundTrip(provider);
    } else {
        CheckArbitraryBytes(provider);
    }
    return 0;
}
