// Fuzz target for the window's text path: any Unicode text (unpaired
// surrogates, combining marks, emoji, NUL, direction marks, long runs of one
// unit) through the memo-to-core conversion and on into NormaliseInput.
//
// Input: the first byte picks how the rest is read: 0 as UTF-16 code units
// (little-endian pairs), 1 as UTF-8, 2 as runs of three bytes each: a
// 16-bit little-endian unit and a count of 1 to 256, so that a seed of about
// a kilobyte can stand for 100 000 identical combining marks.
#include <QList>
#include <QString>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

#include "cipher_core.h"
#include "fuzz_check.h"
#include "memo_text.h"

namespace {

using trithemius::fuzz::Check;

// Enough for a letter followed by 100 000 combining marks.
constexpr qsizetype kMaxRunText = 100'001;
// Qt decomposes in time that grows with the square of the number of
// decompositions, which under the sanitizers makes the decomposed copy of a
// long text take seconds; that comparison needs no long texts.
constexpr qsizetype kMaxDecomposedCheck = 4096;
// The conversion composes a run of marks longer than
// trithemius::kLongestComposedMarkRun as if broken before its next mark.

std::uint16_t ReadUnit(const std::uint8_t* data) {
    return static_cast<std::uint16_t>(data[0] | (data[1] << 8));
}

QString ReadText(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return {};
    }
    const std::uint8_t mode = data[0] % 3;
    ++data;
    --size;
    QString text;
    if (mode == 0) {
        for (std::size_t i = 0; i + 1 < size; i += 2) {
            text += QChar(ReadUnit(data + i));
        }
    } else if (mode == 1) {
        text = QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    } else {
        for (std::size_t i = 0; i + 2 < size && text.size() < kMaxRunText; i += 3) {
            const qsizetype count = std::min<qsizetype>(data[i + 2] + 1, kMaxRunText - text.size());
            text += QString(count, QChar(ReadUnit(data + i)));
        }
    }
    return text;
}

// Bytes that Windows-1252 leaves without a character.
bool IsUndefinedWindows1252(char byte) {
    const auto value = static_cast<unsigned char>(byte);
    return value == 0x81 || value == 0x8D || value == 0x8F || value == 0x90 || value == 0x9D;
}

qsizetype LongestMarkRun(const QString& text) {
    qsizetype longest = 0;
    qsizetype run = 0;
    for (const char32_t c : text.toUcs4()) {
        const QChar::Category category = QChar::category(c);
        const bool isMark = category == QChar::Mark_NonSpacing ||
                            category == QChar::Mark_SpacingCombining ||
                            category == QChar::Mark_Enclosing;
        run = isMark ? run + 1 : 0;
        longest = std::max(longest, run);
    }
    return longest;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString memoText = ReadText(data, size);
    const std::string bytes = trithemius::MemoTextToCipherText(memoText);

    for (char c : bytes) {
        Check(!IsUndefinedWindows1252(c), "every byte is a Windows-1252 character");
    }
    // Decomposed and composed forms of the same text are the same text, as
    // long as no run of marks is broken (decomposing lengthens runs).
    if (memoText.size() <= kMaxDecomposedCheck) {
        const QString decomposed = memoText.normalized(QString::NormalizationForm_D);
        Check(LongestMarkRun(decomposed) > trithemius::kLongestComposedMarkRun ||
                  trithemius::MemoTextToCipherText(decomposed) == bytes,
              "decomposed text converts like composed text");
    }
    // What survived one conversion survives the way back and forth unchanged,
    // line breaks included.
    Check(trithemius::MemoTextToCipherText(trithemius::CipherTextToMemoText(bytes)) == bytes,
          "converted text converts again to itself");

    for (const auto method :
         {trithemius::Method::MethodModern, trithemius::Method::MethodClassical}) {
        trithemius::CipherState state;
        trithemius::NormaliseInput(state, bytes, method);
        Check(trithemius::fuzz::OnlyUpperLetters(state.InputText), "InputText holds only A to Z");
        Check(state.TextLength == static_cast<std::int64_t>(state.InputText.size()),
              "TextLength is the length of InputText");
    }
    return 0;
}
