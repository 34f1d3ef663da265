// Reusing the storage of a state's text for its next value: a large text
// then costs no fresh allocation (and no page faults) on every run.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <utility>

namespace trithemius {

// Takes the storage of target, emptied, for building its next value, unless
// source lies in that storage and must stay readable while the value is built.
[[nodiscard]] inline std::string TakeStorage(std::string& target, std::string_view source) {
    const std::less<const char*> before;
    const char* begin = target.data();
    const bool sourceInTarget = !source.empty() && !before(source.data(), begin) &&
                                before(source.data(), begin + target.size());
    std::string storage = sourceInTarget ? std::string() : std::move(target);
    storage.clear();
    return storage;
}

}  // namespace trithemius
