// Helpers shared by the fuzz targets: a property check that stops the run
// the way libFuzzer recognises as a crash, and small predicates on texts.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace trithemius::fuzz {

// Stops the run with a message when a property does not hold; abort() is
// what libFuzzer reports as a crash and saves the input for.
inline void Check(bool holds, const char* property) {
    if (!holds) {
        std::fprintf(stderr, "broken property: %s\n", property);
        std::abort();
    }
}

inline bool IsUpperLetter(char c) { return c >= 'A' && c <= 'Z'; }

inline bool OnlyUpperLetters(std::string_view text) {
    for (char c : text) {
        if (!IsUpperLetter(c)) {
            return false;
        }
    }
    return true;
}

inline bool OnlyLettersOf(std::string_view text, std::string_view alphabet) {
    for (char c : text) {
        if (alphabet.find(c) == std::string_view::npos) {
            return false;
        }
    }
    return true;
}

}  // namespace trithemius::fuzz
