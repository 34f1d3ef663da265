// Rendering a text in groups of five characters.
#include "cipher_core.h"
#include "reused_storage.h"

#include <algorithm>
#include <utility>

namespace trithemius {

const std::string& ToFiveLetterBlocks(CipherState& state, std::string_view text) {
    constexpr std::size_t kGroupSize = 5;
    // The text may be BlockText itself.
    std::string blocks = TakeStorage(state.BlockText, text);
    if (!text.empty()) {
        const std::size_t groups = (text.size() + kGroupSize - 1) / kGroupSize;
        blocks.resize(text.size() + groups - 1);
        char* out = blocks.data();
        for (std::size_t from = 0; from < text.size(); from += kGroupSize) {
            if (from != 0) {
                *out++ = ' ';
            }
            const std::size_t count = std::min(kGroupSize, text.size() - from);
            text.copy(out, count, from);
            out += count;
        }
    }
    state.BlockText = std::move(blocks);
    return state.BlockText;
}

}  // namespace trithemius
