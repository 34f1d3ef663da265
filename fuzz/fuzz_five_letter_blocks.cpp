// Fuzz target for ToFiveLetterBlocks on any bytes, the text passed either
// as a separate string or as a view of InputText or of BlockText itself.
// Every sixth character of the result must be the inserted space and taking
// those out must give the text back; a text without spaces of its own must
// come out without leading, trailing or double spaces. Only BlockText may
// change, and it must hold the result.
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

enum class TextSource {
    SeparateString,
    InputTextField,
    BlockTextField,
    kMaxValue = BlockTextField
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider provider(data, size);
    const auto source = provider.ConsumeEnum<TextSource>();
    const std::string text = provider.ConsumeRemainingBytesAsString();

    CipherState state;
    state.InputText = "INPUT";
    state.KeyStream = "KEY";
    state.KeyAlphabet = std::string(trithemius::kModernAlphabetA);
    state.OutputText = "OUT";
    state.BlockText = "OLD BLOCK";
    state.TextLength = 42;
    std::string_view argument = text;
    if (source == TextSource::InputTextField) {
        state.InputText = text;
        argument = state.InputText;
    } else if (source == TextSource::BlockTextField) {
        state.BlockText = text;
        argument = state.BlockText;
    }
    const std::string blocks = trithemius::ToFiveLetterBlocks(state, argument);

    const std::size_t spaces = text.empty() ? 0 : (text.size() - 1) / 5;
    Check(blocks.size() == text.size() + spaces, "one space per complete group but the last");
    std::string ungrouped;
    for (std::size_t i = 0; i < blocks.size(); ++i) {
        if ((i + 1) % 6 == 0) {
            Check(blocks[i] == ' ', "every sixth character is a space");
        } else {
            ungrouped += blocks[i];
        }
    }
    Check(ungrouped == text, "taking the spaces out gives the text back");
    if (text.find(' ') == std::string::npos && !blocks.empty()) {
        Check(
            blocks.front() != ' ' && blocks.back() != ' ' && blocks.find("  ") == std::string::npos,
            "no leading, trailing or double spaces");
    }
    Check(state.BlockText == blocks, "BlockText holds the result");
    Check(state.KeyStream == "KEY" && state.OutputText == "OUT" && state.TextLength == 42 &&
              state.KeyAlphabet == trithemius::kModernAlphabetA &&
              state.InputText == (source == TextSource::InputTextField ? text : "INPUT"),
          "no other field changes");
    return 0;
}
