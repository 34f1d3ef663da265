// Rendering a text in groups of five characters.
#include "cipher_core.h"

#include <algorithm>

namespace trithemius {

const std::string& ToFiveLetterBlocks(CipherState& state, std::string_view text) {
    constexpr std::size_t kGroupSize = 5;
    std::string& blocks = state.BlockText;
    blocks.clear();
    if (text.empty()) {
        return blocks;
    }
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
    return blocks;
}

}  // namespace trithemius
