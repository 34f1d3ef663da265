// Windows-1252 differs from Latin-1 only in the bytes 80 to 9F, which it
// gives to typographic characters (the quotation marks „ and “ among them).
// Those 32 are a table here; every other byte is its own code point.
//
// The memo's text is composed (NFC) before it is converted. Qt composes a
// string in time that grows with its length times the number of characters
// it composes, and with the square of a run of combining marks, so the text
// is composed in chunks of bounded length. A chunk ends only before a
// character that is neither a mark nor a Hangul vowel or final consonant:
// only those join a character before them in a composition, and every other
// character decomposes into characters that begin with one of its kind. So
// nothing composes or reorders across the cut, and the chunks composed one by
// one give the composition of the whole text. A chunk of such characters
// without a canonical decomposition is already composed and passes as it is.
// A run of more than kLongestComposedMarkRun marks is cut before its next
// mark, as if a COMBINING GRAPHEME JOINER stood there (the Stream-Safe Text
// Format of Unicode's normalisation annex, whose limit it is); the joiner has
// no Windows-1252 value, so the cut itself adds nothing to the bytes.
#include "memo_text.h"

#include <array>
#include <type_traits>

namespace trithemius {
namespace {

constexpr char16_t kUndefined = 0;

// The code points of the bytes 80 to 9F; five bytes have none.
constexpr std::array<char16_t, 32> kHighControlRange = {
    u'\u20AC',  kUndefined, u'\u201A', u'\u0192', u'\u201E', u'\u2026',  u'\u2020', u'\u2021',
    u'\u02C6',  u'\u2030',  u'\u0160', u'\u2039', u'\u0152', kUndefined, u'\u017D', kUndefined,
    kUndefined, u'\u2018',  u'\u2019', u'\u201C', u'\u201D', u'\u2022',  u'\u2013', u'\u2014',
    u'\u02DC',  u'\u2122',  u'\u0161', u'\u203A', u'\u0153', kUndefined, u'\u017E', u'\u0178'};

constexpr unsigned kFirstHigh = 0x80;
constexpr unsigned kFirstLatin1 = 0xA0;
constexpr unsigned kLastLatin1 = 0xFF;

// Below the combining diacritical marks every character is already composed
// and starts a segment.
constexpr char32_t kFirstCombiningMark = 0x300;
constexpr char32_t kFirstHangulVowel = 0x1160;
constexpr char32_t kLastHangulFinal = 0x11FF;
// Long enough that Qt's work per chunk is small beside the chunk's text,
// short enough that composing within it stays cheap.
constexpr qsizetype kChunkLength = 256;

// The Windows-1252 byte of a UTF-16 unit, or -1 if it has none.
int Windows1252Byte(char16_t unit) {
    if (unit < kFirstHigh || (unit >= kFirstLatin1 && unit <= kLastLatin1)) {
        return unit;
    }
    for (std::size_t i = 0; i < kHighControlRange.size(); ++i) {
        if (kHighControlRange[i] == unit) {  // unit is never kUndefined here
            return static_cast<int>(kFirstHigh + i);
        }
    }
    return -1;
}

// Writes the Windows-1252 bytes of text at out; returns the end of them.
char* WriteWindows1252(QStringView text, char* out) {
    for (const QChar c : text) {
        const int byte = Windows1252Byte(c.unicode());
        if (byte >= 0) *out++ = static_cast<char>(byte);
    }
    return out;
}

// Whether composition never joins this code point to what precedes it.
bool StartsSegment(char32_t c) {
    if (c < kFirstCombiningMark) {
        return true;
    }
    switch (QChar::category(c)) {
        case QChar::Mark_NonSpacing:
        case QChar::Mark_SpacingCombining:
        case QChar::Mark_Enclosing:
            return false;
        default:
            return c < kFirstHangulVowel || c > kLastHangulFinal;
    }
}

// The code point at a position; an unpaired surrogate stands for itself.
char32_t CodePointAt(QStringView text, qsizetype i) {
    const QChar unit = text[i];
    if (unit.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
        return QChar::surrogateToUcs4(unit, text[i + 1]);
    }
    return unit.unicode();
}

std::string Utf16ToCipherText(QStringView memoText) {
    // Never more bytes than UTF-16 units: written in place, cut at the end.
    std::string bytes(static_cast<std::size_t>(memoText.size()), '\0');
    char* out = bytes.data();
    qsizetype chunkStart = 0;
    // No mark and no canonical decomposition in the chunk so far (the
    // characters below U+0300 that have one are composed already).
    bool chunkIsComposed = true;
    const auto appendChunk = [&](qsizetype end) {
        const QStringView chunk = memoText.sliced(chunkStart, end - chunkStart);
        if (chunkIsComposed) {
            out = WriteWindows1252(chunk, out);
        } else {
            out = WriteWindows1252(chunk.toString().normalized(QString::NormalizationForm_C), out);
        }
        chunkStart = end;
        chunkIsComposed = true;
    };
    int markRun = 0;
    for (qsizetype i = 0; i < memoText.size();) {
        const char32_t c = CodePointAt(memoText, i);
        const bool startsSegment = StartsSegment(c);
        if (startsSegment) {
            markRun = 0;
            if (i - chunkStart >= kChunkLength) {
                appendChunk(i);
            }
        } else if (++markRun > kLongestComposedMarkRun) {
            appendChunk(i);
            markRun = 1;
        }
        chunkIsComposed =
            chunkIsComposed && startsSegment &&
            (c < kFirstCombiningMark || QChar::decompositionTag(c) != QChar::Canonical);
        i += QChar::requiresSurrogates(c) ? 2 : 1;
    }
    appendChunk(memoText.size());
    bytes.resize(static_cast<std::size_t>(out - bytes.data()));
    return bytes;
}

// Latin-1 text holds no marks, so it is composed already: each character
// converts on its own.
std::string Latin1ToCipherText(QLatin1StringView memoText) {
    std::string bytes(static_cast<std::size_t>(memoText.size()), '\0');
    char* out = bytes.data();
    for (const char c : memoText) {
        const int byte = Windows1252Byte(static_cast<unsigned char>(c));
        if (byte >= 0) *out++ = static_cast<char>(byte);
    }
    bytes.resize(static_cast<std::size_t>(out - bytes.data()));
    return bytes;
}

}  // namespace

std::string MemoTextToCipherText(QAnyStringView memoText) {
    return memoText.visit([](auto text) {
        using View = decltype(text);
        if constexpr (std::is_same_v<View, QLatin1StringView>) {
            return Latin1ToCipherText(text);
        } else if constexpr (std::is_same_v<View, QStringView>) {
            return Utf16ToCipherText(text);
        } else {
            return Utf16ToCipherText(text.toString());
        }
    });
}

QString CipherTextToMemoText(std::string_view cipherText) {
    QString text(static_cast<qsizetype>(cipherText.size()), Qt::Uninitialized);
    QChar* out = text.data();
    for (const char c : cipherText) {
        const auto byte = static_cast<unsigned char>(c);
        char16_t unit = byte;
        if (byte >= kFirstHigh && byte < kFirstLatin1 &&
            kHighControlRange[byte - kFirstHigh] != kUndefined) {
            unit = kHighControlRange[byte - kFirstHigh];
        }
        *out++ = QChar(unit);
    }
    return text;
}

bool CipherTextIsLatin1(std::string_view cipherText) {
    // No early exit: the compiler turns this into vector instructions.
    unsigned char high = 0;
    for (const char c : cipherText) {
        const auto byte = static_cast<unsigned char>(c);
        high |= static_cast<unsigned char>((byte & 0xE0) == kFirstHigh);
    }
    return high == 0;
}

}  // namespace trithemius
