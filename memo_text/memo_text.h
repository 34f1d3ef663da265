// Conversion between the text of a memo (Unicode) and the Windows-1252 byte
// strings of the cipher core.
#pragma once

#include <QAnyStringView>
#include <QString>

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

// Windows-1252 bytes as memo text; every byte becomes one character, so the
// memo shows as many characters as the core counts.
[[nodiscard]] QString CipherTextToMemoText(std::string_view cipherText);

// Whether every byte stands for the same character in Latin-1 as in
// Windows-1252 (none lies in 0x80 to 0x9F), so the bytes may be shown as
// they are. Every text the cipher makes is.
[[nodiscard]] bool CipherTextIsLatin1(std::string_view cipherText);

}  // namespace trithemius
