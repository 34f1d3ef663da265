// The Trithemius cipher core: the working state shared by every action of
// the window, the three choices the window passes in, and one operation per
// user action. Standard library only; nothing here knows of a window.
//
// Texts are Windows-1252 byte strings held in std::string; every rule works
// on the unsigned byte value of a character. Positions given to and stated by
// these functions are 1-based, as the user sees them. Every operation accepts
// every input and produces a result; none throws or reports an error.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace trithemius {

// Which alphabet and arithmetic the cipher uses.
enum class Method { MethodModern, MethodClassical };

// Whether the key alphabet begins with A or, without the A, with B.
enum class KeyStart { KeyStartA, KeyStartB };

// Whether the cipher adds or subtracts the key letters.
enum class Direction { Encipher, Decipher };

// The four key alphabets.
inline constexpr std::string_view kModernAlphabetA = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
inline constexpr std::string_view kClassicalAlphabetA = "ABCDEFGHIKLMNOPQRSTUXYZW";
inline constexpr std::string_view kModernAlphabetB = "BCDEFGHIJKLMNOPQRSTUVWXYZ";
inline constexpr std::string_view kClassicalAlphabetB = "BCDEFGHIKLMNOPQRSTUXYZW";

// The working state; one instance lives as long as the program.
struct CipherState {
    std::string InputText;  // the normalised input: letters A to Z
    std::string KeyStream;  // one key letter per letter of InputText
    std::string BlockText;  // the last five-letter-group rendering
    std::string KeyAlphabet{kClassicalAlphabetA};  // always one of the four
    std::string OutputText;  // the result of enciphering or deciphering
    std::int32_t TextLength = 0;  // letters the last operation worked on
};

// The key alphabet that belongs to a method and a key start.
[[nodiscard]] std::string_view KeyAlphabetFor(Method method, KeyStart keyStart);

// Sets KeyAlphabet from the two choices and changes nothing else.
void SelectKeyAlphabet(CipherState& state, Method method, KeyStart keyStart);

// The most letters a text may have: TextLength counts them.
inline constexpr std::size_t kMostLetters = INT32_MAX;
[[nodiscard]] constexpr bool FitsTextLength(std::size_t letters) { return letters <= kMostLetters; }

// Whether NormaliseInput takes rawText: whether its letters fit. Counts them
// only where the text is long enough for them not to.
[[nodiscard]] bool CanNormalise(std::string_view rawText, Method method);

// Turns raw text into upper-case letters: a to z are raised, digits are
// spelt as German number words, umlauts and ß become two letters, under the
// classical method J and V become I and U, everything else is dropped.
// Sets InputText and TextLength; reads and changes no other field. A text
// that would have more letters than FitsTextLength allows is refused:
// nothing changes, and the result is false.
bool NormaliseInput(CipherState& state, std::string_view rawText, Method method);

// Whether keyStartPosition can start a keystream for a text of textLength letters:
// 1 to textLength, and 1 for an empty text.
[[nodiscard]] bool CanStartKeyStream(std::size_t textLength, int keyStartPosition);

// Fills KeyStream with one letter of KeyAlphabet per letter of InputText,
// the alphabet's first letter on keyStartPosition, running on to the end of
// the text and round to the position before the start. Sets TextLength to
// the length of InputText. A start position that CanStartKeyStream refuses
// generates nothing: KeyStream is left empty.
void GenerateKeyStream(CipherState& state, int keyStartPosition);

// Combines InputText with KeyStream letter by letter into OutputText and sets
// TextLength to the length of InputText. A KeyStream shorter than InputText
// refuses the run: OutputText empty, TextLength 0.
void ApplyCipher(CipherState& state, Method method, KeyStart keyStart, Direction direction);

// Returns text with one space after every fifth character (none at the
// end) and keeps that rendering in BlockText; changes no other field.
const std::string& ToFiveLetterBlocks(CipherState& state, std::string_view text);

}  // namespace trithemius
