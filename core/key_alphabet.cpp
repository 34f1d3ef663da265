// Choosing the key alphabet from the method and the key start.
#include "cipher_core.h"

namespace trithemius {

std::string_view KeyAlphabetFor(Method method, KeyStart keyStart) {
    const bool modern = method == Method::MethodModern;
    if (keyStart == KeyStart::KeyStartA) return modern ? kModernAlphabetA : kClassicalAlphabetA;
    return modern ? kModernAlphabetB : kClassicalAlphabetB;
}

void SelectKeyAlphabet(CipherState& state, Method method, KeyStart keyStart) {
    state.KeyAlphabet = KeyAlphabetFor(method, keyStart);
}

}  // namespace trithemius
