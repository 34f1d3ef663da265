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
//
// CipherTextWriter does this over the pieces a memo holds: the chunk that a
// piece leaves unfinished is kept (with the mark run and whether the chunk is
// composed so far) and goes on with the next piece, so UTF-16 pieces are cut
// into the chunks the whole text would be. Every character of the one-byte
// form starts a segment and is composed as it stands, so a one-byte piece
// ends the chunk before it (a cut before any segment gives the same bytes)
// and is copied as its bytes, all but its last character, which begins the
// next chunk: marks in the piece after it may compose with it.
#include "memo_text.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <type_traits>
#include <utility>

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
constexpr std::size_t kByteValues = 256;

// Below the combining diacritical marks every character is already composed
// and starts a segment.
constexpr char32_t kFirstCombiningMark = 0x300;
constexpr char32_t kFirstHangulVowel = 0x1160;
constexpr char32_t kLastHangulFinal = 0x11FF;
// Long enough that Qt's work per chunk is small beside the chunk's text,
// short enough that composing within it stays cheap.
constexpr qsizetype kChunkLength = 256;

// The table turned round, for the conversion's hot loop: the characters of
// the table lie on a few pages of 256 code points (the high byte of a
// UTF-16 unit); each such page has a row that gives every unit on it its
// byte, or 0 where it has none. Other pages have no row.
constexpr std::size_t kNoRow = kByteValues;
constexpr auto kRowOfPage = [] {
    std::array<std::size_t, kByteValues> rows{};
    rows.fill(kNoRow);
    std::size_t count = 0;
    for (const char16_t c : kHighControlRange) {
        if (c != kUndefined && rows[c >> 8] == kNoRow) rows[c >> 8] = count++;
    }
    return rows;
}();
constexpr std::size_t kPagesWithBytes =
    kByteValues -
    static_cast<std::size_t>(std::count(kRowOfPage.begin(), kRowOfPage.end(), kNoRow));
constexpr auto kByteOfUnit = [] {
    std::array<std::array<unsigned char, kByteValues>, kPagesWithBytes> bytes{};
    for (std::size_t i = 0; i < kHighControlRange.size(); ++i) {
        const char16_t c = kHighControlRange[i];
        if (c != kUndefined)
            bytes[kRowOfPage[c >> 8]][c & 0xFF] = static_cast<unsigned char>(kFirstHigh + i);
    }
    return bytes;
}();

// The Windows-1252 byte of a UTF-16 unit, or -1 if it has none.
constexpr int Windows1252Byte(char16_t unit) {
    if (unit < kFirstHigh || (unit >= kFirstLatin1 && unit <= kLastLatin1)) {
        return unit;
    }
    const std::size_t row = kRowOfPage[unit >> 8];
    if (row == kNoRow) return -1;
    const unsigned char byte = kByteOfUnit[row][unit & 0xFF];
    return byte != 0 ? byte : -1;
}

// The character of each byte in the memo's one-byte form: its Windows-1252
// character, or for the five undefined bytes the Latin-1 control.
constexpr std::array<char16_t, kByteValues> kOneByteTable = [] {
    std::array<char16_t, kByteValues> characters{};
    for (unsigned byte = 0; byte < kByteValues; ++byte) {
        characters[byte] = static_cast<char16_t>(byte);
        if (byte >= kFirstHigh && byte < kFirstLatin1 &&
            kHighControlRange[byte - kFirstHigh] != kUndefined) {
            characters[byte] = kHighControlRange[byte - kFirstHigh];
        }
    }
    return characters;
}();

// For each byte, whether its character has a Windows-1252 byte, which is
// then the byte itself.
using KeptBytes = std::array<bool, kByteValues>;

constexpr KeptBytes kOneByteKept = [] {
    KeptBytes kept{};
    for (std::size_t byte = 0; byte < kByteValues; ++byte) {
        kept[byte] = Windows1252Byte(kOneByteTable[byte]) >= 0;
    }
    return kept;
}();

constexpr KeptBytes kLatin1Kept = [] {
    KeptBytes kept{};
    for (std::size_t byte = 0; byte < kByteValues; ++byte) {
        kept[byte] = Windows1252Byte(static_cast<char16_t>(byte)) >= 0;
    }
    return kept;
}();

// Writes the bytes that kept keeps at out; returns the end of them. Each
// byte is stored and the end moves on only past a kept one: no branch.
char* CopyKept(std::string_view bytes, const KeptBytes& kept, char* out) {
    for (const char c : bytes) {
        *out = c;
        out += kept[static_cast<unsigned char>(c)];
    }
    return out;
}

// The bytes of the one-byte form whose character has no Windows-1252 byte.
constexpr auto kUndefinedBytes = [] {
    std::array<unsigned char, std::count(kOneByteKept.begin(), kOneByteKept.end(), false)> bytes{};
    std::size_t found = 0;
    for (std::size_t byte = 0; byte < kByteValues; ++byte) {
        if (!kOneByteKept[byte]) bytes[found++] = static_cast<unsigned char>(byte);
    }
    return bytes;
}();

// Whether bytes hold one of kUndefinedBytes: whether the smallest XOR of a
// byte and one of them is zero. The compiler turns this into vector
// instructions (as it does not the comparisons, which it joins to a bit test).
bool HoldsUndefined(std::string_view bytes) {
    unsigned char nearest = 0xFF;
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        for (const unsigned char undefined : kUndefinedBytes) {
            nearest = std::min(nearest, static_cast<unsigned char>(byte ^ undefined));
        }
    }
    return nearest == 0;
}

// Writes the Windows-1252 bytes of text at out; returns the end of them. A
// Latin-1 character, the most common, is written without a branch.
char* WriteWindows1252(QStringView text, char* out) {
    for (const QChar c : text) {
        const char16_t unit = c.unicode();
        if (unit <= kLastLatin1) {
            *out = static_cast<char>(unit);
            out += kLatin1Kept[unit];
        } else if (const int byte = Windows1252Byte(unit); byte >= 0) {
            *out++ = static_cast<char>(byte);
        }
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

// Latin-1 text holds no marks, so it is composed already: each character
// converts on its own.
std::string Latin1ToCipherText(QLatin1StringView memoText) {
    std::string bytes(static_cast<std::size_t>(memoText.size()), '\0');
    const char* end =
        CopyKept(std::string_view(memoText.data(), bytes.size()), kLatin1Kept, bytes.data());
    bytes.resize(static_cast<std::size_t>(end - bytes.data()));
    return bytes;
}

std::string Utf16ToCipherText(QStringView memoText) {
    CipherTextWriter writer(static_cast<std::size_t>(memoText.size()));
    writer.AppendUtf16(memoText);
    return writer.Finish();
}

}  // namespace

CipherTextWriter::CipherTextWriter(std::size_t units) : Bytes(units, '\0') {}

void CipherTextWriter::AppendOneByte(std::string_view bytes) {
    if (bytes.empty()) {
        return;
    }
    // The piece's first character starts a segment: the chunk before it is done.
    FinishChunk();
    char* out = MakeRoom(bytes.size());
    const std::string_view copied = bytes.substr(0, bytes.size() - 1);
    const char* end = out + copied.size();
    if (HoldsUndefined(copied)) {
        end = CopyKept(copied, kOneByteKept, out);
    } else {
        std::memcpy(out, copied.data(), copied.size());
    }
    Written = static_cast<std::size_t>(end - Bytes.data());
    // The last character may be the letter that marks at the start of the
    // next piece compose with.
    Pending.push_back(kOneByteTable[static_cast<unsigned char>(bytes.back())]);
}

void CipherTextWriter::AppendUtf16(QStringView units) {
    if (units.isEmpty()) {
        return;
    }
    Scan(units.sliced(ScanHeldHigh(units)), true);
}

std::string CipherTextWriter::Finish() {
    FinishChunk();
    Bytes.resize(Written);
    Written = 0;
    return std::exchange(Bytes, {});
}

void CipherTextWriter::Scan(QStringView units, bool keepHigh) {
    // Positions count from the start of units; a chunk begun in Pending
    // starts before it. The state is kept in locals while the loop runs, as
    // the writes of the bytes could change members.
    qsizetype chunkStart = -static_cast<qsizetype>(Pending.size());
    bool chunkIsComposed = PendingIsComposed;
    int markRun = MarkRun;
    const auto finishChunkAt = [&](qsizetype end) {
        if (chunkStart < 0) {
            Pending.append(units.utf16(), static_cast<std::size_t>(end));
            WriteChunk(Pending, chunkIsComposed);
            Pending.clear();
        } else {
            WriteChunk(units.sliced(chunkStart, end - chunkStart), chunkIsComposed);
        }
        chunkStart = end;
        chunkIsComposed = true;
    };
    // A high surrogate at the end waits: its low surrogate may begin the next piece.
    const bool waits = keepHigh && !units.isEmpty() && units.back().isHighSurrogate();
    const qsizetype scanEnd = units.size() - (waits ? 1 : 0);
    for (qsizetype i = 0; i < scanEnd;) {
        const char32_t c = CodePointAt(units, i);
        const bool startsSegment = StartsSegment(c);
        if (startsSegment) {
            markRun = 0;
            if (i - chunkStart >= kChunkLength) {
                finishChunkAt(i);
            }
        } else if (++markRun > kLongestComposedMarkRun) {
            finishChunkAt(i);
            markRun = 1;
        }
        chunkIsComposed =
            chunkIsComposed && startsSegment &&
            (c < kFirstCombiningMark || QChar::decompositionTag(c) != QChar::Canonical);
        i += QChar::requiresSurrogates(c) ? 2 : 1;
    }
    // The unfinished chunk goes on with the next piece.
    const QStringView rest = units.sliced(std::max<qsizetype>(chunkStart, 0));
    Pending.append(rest.utf16(), static_cast<std::size_t>(rest.size()));
    PendingIsComposed = chunkIsComposed;
    MarkRun = markRun;
}

qsizetype CipherTextWriter::ScanHeldHigh(QStringView next) {
    if (Pending.empty() || !QChar::isHighSurrogate(Pending.back())) {
        return 0;
    }
    const qsizetype taken = !next.isEmpty() && next[0].isLowSurrogate() ? 1 : 0;
    const std::array<char16_t, 2> codePoint = {Pending.back(), taken ? next[0].unicode() : u'\0'};
    Pending.pop_back();
    Scan(QStringView(codePoint.data(), 1 + taken), false);
    return taken;
}

void CipherTextWriter::FinishChunk() {
    ScanHeldHigh({});
    WriteChunk(Pending, PendingIsComposed);
    Pending.clear();
    PendingIsComposed = true;
    MarkRun = 0;
}

void CipherTextWriter::WriteChunk(QStringView chunk, bool isComposed) {
    char* end = nullptr;
    if (isComposed) {
        end = WriteWindows1252(chunk, MakeRoom(static_cast<std::size_t>(chunk.size())));
    } else {
        const QString composed = chunk.toString().normalized(QString::NormalizationForm_C);
        end = WriteWindows1252(composed, MakeRoom(static_cast<std::size_t>(composed.size())));
    }
    Written = static_cast<std::size_t>(end - Bytes.data());
}

char* CipherTextWriter::MakeRoom(std::size_t count) {
    // Only a wrong length given at the start makes the bytes grow.
    if (Bytes.size() - Written < count) {
        Bytes.resize(std::max(Written + count, 2 * Bytes.size()));
    }
    return Bytes.data() + Written;
}

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

const std::array<char16_t, 256> kOneByteCharacters = kOneByteTable;

bool IsOneByteControl(unsigned char byte) {
    const char16_t c = kOneByteTable[byte];
    return c < 0x20 || (c >= 0x7F && c < kFirstLatin1);
}

bool HoldsControlButLf(std::string_view bytes) {
    // As in HoldsUndefined, with the C0 controls and DEL told apart by
    // comparisons that the compiler keeps in vector instructions too.
    unsigned char nearest = 0xFF;
    unsigned char low = 0;
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        low |= static_cast<unsigned char>(((byte < 0x20) & (byte != '\n')) | (byte == 0x7F));
        for (const unsigned char undefined : kUndefinedBytes) {
            nearest = std::min(nearest, static_cast<unsigned char>(byte ^ undefined));
        }
    }
    return low != 0 || nearest == 0;
}

int OneByteOf(char16_t unit) {
    const int byte = Windows1252Byte(unit);
    if (byte >= 0) return byte;
    // The five undefined bytes stand for themselves.
    const bool undefined = unit >= kFirstHigh && unit < kFirstLatin1 && kOneByteTable[unit] == unit;
    return undefined ? unit : -1;
}

char16_t* WriteMemoText(std::string_view cipherText, char16_t* out) {
    for (const char c : cipherText) *out++ = kOneByteTable[static_cast<unsigned char>(c)];
    return out;
}

QString CipherTextToMemoText(std::string_view cipherText) {
    QString text(static_cast<qsizetype>(cipherText.size()), Qt::Uninitialized);
    WriteMemoText(cipherText, reinterpret_cast<char16_t*>(text.data()));
    return text;
}

}  // namespace trithemius
