// Fuzz target for NormaliseInput: any bytes, either method. The result must
// hold only the letters A to Z, TextLength must be its length, the other
// fields must stay untouched, and the result must equal the text mapped one
// character at a time (the mapping below is written independently of the
// in-place scan of the core).
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "cipher_core.h"
#include "fuzz_check.h"

namespace {

using trithemius::CipherState;
using trithemius::Method;
using trithemius::fuzz::Check;

// What one raw byte becomes in the normalised text.
std::string_view MapCharacter(unsigned char c, Method method) {
    static constexpr std::string_view kDigitWords[] = {"NULL",  "EINS",  "ZWEI",   "DREI", "VIER",
                                                       "FUENF", "SECHS", "SIEBEN", "ACHT", "NEUN"};
    static constexpr std::string_view kLetters = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    if (c >= 'a' && c <= 'z') {
        c = static_cast<unsigned char>(c - 'a' + 'A');
    }
    if (c >= '0' && c <= '9') {
        return kDigitWords[c - '0'];
    }
    if (method == Method::MethodClassical && c == 'J') {
        return "I";
    }
    if (method == Method::MethodClassical && c == 'V') {
        return "U";
    }
    if (c >= 'A' && c <= 'Z') {
        return kLetters.substr(c - 'A', 1);
    }
    switch (c) {
        case 0xC4:
        case 0xE4:
            return "AE";
        case 0xD6:
        case 0xF6:
            return "OE";
        case 0xDC:
        case 0xFC:
            return "UE";
        case 0xDF:
            return "SZ";
        default:
            return "";
    }
}

std::string MapText(std::string_view raw, Method method) {
    std::string mapped;
    for (char c : raw) {
        mapped += MapCharacter(static_cast<unsigned char>(c), method);
    }
    return mapped;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider provider(data, size);
    const auto method = provider.ConsumeBool() ? Method::MethodClassical : Method::MethodModern;
    const bool rawIsInputText = provider.ConsumeBool();
    const std::string raw = provider.ConsumeRemainingBytesAsString();

    CipherState state;
    state.KeyStream = "KEY";
    state.BlockText = "BLOCK";
    state.KeyAlphabet = std::string(trithemius::kClassicalAlphabetB);
    state.OutputText = "OUT";
    state.TextLength = -7;
    if (rawIsInputText) {
        // The raw text may live in the very field the result goes to.
        state.InputText = raw;
        trithemius::NormaliseInput(state, state.InputText, method);
    } else {
        state.InputText = "OLD";
        trithemius::NormaliseInput(state, raw, method);
    }

    Check(trithemius::fuzz::OnlyUpperLetters(state.InputText), "InputText holds only A to Z");
    Check(state.TextLength == static_cast<std::int64_t>(state.InputText.size()),
          "TextLength is the length of InputText");
    Check(state.InputText == MapText(raw, method), "result equals the per-character mapping");
    Check(state.KeyStream == "KEY" && state.BlockText == "BLOCK" && state.OutputText == "OUT" &&
              state.KeyAlphabet == trithemius::kClassicalAlphabetB,
          "no other field changes");
    return 0;
}
