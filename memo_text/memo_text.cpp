// Windows-1252 differs from Latin-1 only in the bytes 80 to 9F, which it
// gives to typographic characters (the quotation marks „ and “ among them).
// Those 32 are a table here; every other byte is its own code point.
#include "memo_text.h"

#include <array>

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

}  // namespace

std::string MemoTextToCipherText(const QString& memoText) {
    const QString composed = memoText.normalized(QString::NormalizationForm_C);
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(composed.size()));
    for (const QChar c : composed) {
        const char16_t unit = c.unicode();
        const int byte = Windows1252Byte(unit);
        if (byte >= 0) {
            bytes += static_cast<char>(byte);
        }
    }
    return bytes;
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

}  // namespace trithemius
