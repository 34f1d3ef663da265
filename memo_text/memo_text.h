// Conversion between the text of a memo (Unicode) and the Windows-1252 byte
// strings of the cipher core.
#pragma once

#include <QAnyStringView>
#include <QString>

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace trithemius {

// The longest run of combining marks that is composed as it stands; a
// longer run is composed as if broken before its next mark.
inline constexpr int kLongestComposedMarkRun = 30;

// The memo's text as Windows-1252 bytes. Text in decomposed form (an o
// followed by a combining diaeresis) is composed first, so it counts as the
// one character it shows; a run of more than kLongestComposedMarkRun
// combining marks is composed as if broken before its next mark, which
// keeps the time linear. A character
// that has no Windows-1252 value is dropped. Line breaks pass as they stand
// (the memo joins its lines by CR LF). The text may be Latin-1, as a memo
// holds the cipher's texts, which is then converted without composing.
[[nodiscard]] std::string MemoTextToCipherText(QAnyStringView memoText);

// Converts a memo's text handed over piece by piece, in order, to the bytes
// MemoTextToCipherText gives for the whole text as UTF-16, wherever the
// pieces are cut (between a letter and its marks, inside a surrogate pair).
// A piece comes in UTF-16 or in the memo's one-byte form, where each byte
// stands for the character CipherTextToMemoText gives for it. Only the
// unfinished end of the text (a few hundred characters at most) is held back
// between pieces, so the time stays linear in the text's length.
class CipherTextWriter {
public:
    // units is the whole text's length in UTF-16 units, which no conversion
    // exceeds in bytes: the bytes are allocated once.
    explicit CipherTextWriter(std::size_t units);

    void AppendOneByte(std::string_view bytes);
    void AppendUtf16(QStringView units);
    // The bytes of all the pieces; the writer is empty afterwards.
    [[nodiscard]] std::string Finish();

private:
    // Classifies the code points of units, which go on from Pending, and
    // converts each chunk they finish; with keepHigh, a high surrogate at the
    // end waits for the unit after it.
    void Scan(QStringView units, bool keepHigh);
    // Classifies a high surrogate that waits at the end of Pending, with the
    // low surrogate that begins next if one does; returns the units taken.
    qsizetype ScanHeldHigh(QStringView next);
    // Converts Pending, whose chunk is done: the next character starts one.
    void FinishChunk();
    void WriteChunk(QStringView chunk, bool isComposed);
    [[nodiscard]] char* MakeRoom(std::size_t count);

    std::string Bytes;
    std::size_t Written = 0;
    // The chunk begun and not yet converted, at most a chunk's length and a
    // run of marks; every code point in it is classified but a waiting high
    // surrogate.
    std::u16string Pending;
    // No mark and no canonical decomposition in the chunk so far (the
    // characters below U+0300 that have one are composed already).
    bool PendingIsComposed = true;
    // The combining marks that end the text so far.
    int MarkRun = 0;
};

// The memo's one-byte form: the character each byte stands for, its
// Windows-1252 character or, for the five bytes Windows-1252 leaves
// undefined, the Latin-1 control of the same value.
extern const std::array<char16_t, 256> kOneByteCharacters;

// Whether the character of a byte of the one-byte form is a control: a C0
// control, DEL, or a C1 control (one of the five undefined bytes).
[[nodiscard]] bool IsOneByteControl(unsigned char byte);
// Whether bytes of the one-byte form hold a control other than LF.
[[nodiscard]] bool HoldsControlButLf(std::string_view bytes);

// The byte that stands for unit in the one-byte form, or -1.
[[nodiscard]] int OneByteOf(char16_t unit);

// Windows-1252 bytes as memo text; every byte becomes one character, so the
// memo shows as many characters as the core counts.
[[nodiscard]] QString CipherTextToMemoText(std::string_view cipherText);
// The same, written at out; returns the end of it.
char16_t* WriteMemoText(std::string_view cipherText, char16_t* out);

}  // namespace trithemius
