// Rendering a text in groups of five characters.
#include "cipher_core.h"

#include <algorithm>
#include <array>

namespace trithemius {

const std::string& ToFiveLetterBlocks(CipherState& state, std::string_view text) {
    constexpr std::size_t kGroupSize = 5;
    constexpr std::size_t kStep = kGroupSize + 1;  // a group and the space behind it
    const std::size_t groups = (text.size() + kGroupSize - 1) / kGroupSize;
    // The text may lie in BlockText itself, which assign() copies safely.
    // The groups are then spread out in place, the last first, so that none
    // is overwritten before it has moved; the last group is padded to a whole
    // one, so that every step has the same size, and the padding and the
    // last space are cut off at the end. Keeping BlockText's storage spares
    // a large text a fresh allocation on every run.
    state.BlockText.assign(text);
    state.BlockText.resize(groups * kStep);
    char* const data = state.BlockText.data();
    for (std::size_t group = groups; group-- > 0;) {
        const char* const from = data + group * kGroupSize;
        const std::array<char, kStep> step = {from[0], from[1], from[2], from[3], from[4], ' '};
        std::copy(step.begin(), step.end(), data + group * kStep);
    }
    state.BlockText.resize(text.empty() ? 0 : text.size() + groups - 1);
    return state.BlockText;
}

}  // namespace trithemius
