// Tests of the conversion from memo text to Windows-1252 bytes: a table of
// compositions, random texts whose runs of marks are short enough to be
// composed as one whole, compared with Qt's composition of the whole text,
// and random texts cut into random pieces, compared with the whole text.
#include <QTest>

#include <algorithm>
#include <optional>
#include <random>
#include <string>

#include "memo_text.h"

class TestMemoText : public QObject {
    Q_OBJECT

private slots:
    void composesBeforeConverting_data();
    void composesBeforeConverting();
    void shortMarkRunsComposeLikeWholeText();
    void piecesConvertLikeWholeText();
    void everyUnitFindsItsByte();
    void controlsOfTheOneByteForm();
};

using namespace Qt::StringLiterals;

namespace {

// Qt's composition of the whole text, then the characters one by one (a
// single composed character converts to its byte without composing).
QByteArray WholeTextConversion(const QString& text) {
    QByteArray bytes;
    for (const QChar c : text.normalized(QString::NormalizationForm_C)) {
        bytes += QByteArray::fromStdString(trithemius::MemoTextToCipherText(QString(c)));
    }
    return bytes;
}

// Random texts: a character that starts a segment, then up to the longest run
// of marks composed as it stands, and
// again. The marks include those that compose into Windows-1252 letters,
// marks of other classes that reorder with them, marks that decompose, and
// Hangul vowels and finals; the starters include precomposed letters, a
// singleton, Greek, Hangul, a CJK ideograph, characters outside the BMP,
// line breaks, and characters of the one-byte form above Latin-1 (quotation
// marks, the euro sign) and a control that stands for an undefined byte.
QString RandomText(std::mt19937& random) {
    static const QStringList starters = {
        u"a"_s,          u"o"_s,          u"A"_s,      u"c"_s,      u"S"_s,      u"Y"_s,
        u" "_s,          u"\r\n"_s,       u"\u00F6"_s, u"\u00C5"_s, u"\u00DF"_s, u"\u212B"_s,
        u"\u212A"_s,     u"\u2126"_s,     u"\u03B1"_s, u"\u03AC"_s, u"\u1100"_s, u"\uAC00"_s,
        u"\u20AC"_s,     u"\u0152"_s,     u"\u201E"_s, u"\u201C"_s, u"\u0081"_s, u"\u4E2D"_s,
        u"\U0001F600"_s, u"\U0001D15E"_s,
    };
    static const QStringList marks = {
        u"\u0300"_s, u"\u0301"_s, u"\u0302"_s,     u"\u0303"_s, u"\u0308"_s, u"\u030A"_s,
        u"\u030C"_s, u"\u0327"_s, u"\u0316"_s,     u"\u0323"_s, u"\u0345"_s, u"\u0344"_s,
        u"\u0340"_s, u"\u093C"_s, u"\u0DD9"_s,     u"\u0DCA"_s, u"\u0F73"_s, u"\u1161"_s,
        u"\u11A8"_s, u"\u034F"_s, u"\U0001E8D0"_s,
    };
    std::uniform_int_distribution<int> pieces(1, 200);
    std::uniform_int_distribution<qsizetype> starter(0, starters.size() - 1);
    std::uniform_int_distribution<qsizetype> mark(0, marks.size() - 1);
    std::uniform_int_distribution<int> markCount(0, trithemius::kLongestComposedMarkRun);
    std::uniform_int_distribution<int> fewMarks(0, 3);
    QString text;
    for (int piece = pieces(random); piece > 0; --piece) {
        text += starters[starter(random)];
        // Mostly short runs, sometimes up to the longest one allowed.
        const int count = fewMarks(random) == 0 ? markCount(random) : fewMarks(random);
        for (int i = 0; i < count; ++i) {
            text += marks[mark(random)];
        }
    }
    return text;
}

// The piece in the memo's one-byte form, if every character has a byte there.
std::optional<std::string> OneByteForm(QStringView piece) {
    static const QString characters = [] {
        std::string bytes(256, '\0');
        for (int byte = 0; byte < 256; ++byte) bytes[byte] = static_cast<char>(byte);
        return trithemius::CipherTextToMemoText(bytes);
    }();
    std::string bytes;
    for (const QChar c : piece) {
        const qsizetype byte = characters.indexOf(c);
        if (byte < 0) return std::nullopt;
        bytes += static_cast<char>(byte);
    }
    return bytes;
}

}  // namespace

void TestMemoText::composesBeforeConverting_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    const QString prose = u"\u00C4rger \u00FCber K\u00F6ln, \u201EStra\u00DFe\u201C. "_s;
    const QByteArray proseBytes =
        "\xC4rger \xFC"
        "ber K\xF6ln, \x84Stra\xDF"
        "e\x93. ";
    QTest::newRow("decomposed prose as composed")
        << prose.normalized(QString::NormalizationForm_D).repeated(40) << proseBytes.repeated(40);
    QTest::newRow("angstrom sign") << u"\u212B"_s << QByteArray("\xC5");
    QTest::newRow("kelvin and ohm signs") << u"\u212A\u2126"_s << QByteArray("K");
    constexpr int kLongest = trithemius::kLongestComposedMarkRun;
    QTest::newRow("the longest run composes")
        << u"a"_s + u"\u0316"_s.repeated(kLongest - 1) + u"\u0308"_s << QByteArray("\xE4");
    QTest::newRow("the next mark stands alone")
        << u"a"_s + u"\u0316"_s.repeated(kLongest) + u"\u0308"_s << QByteArray("a");
    QString latin1(256, Qt::Uninitialized);
    QByteArray latin1Bytes;
    std::string everyByte;
    QByteArray definedBytes;
    for (int c = 0; c < 256; ++c) {
        latin1[c] = QChar(c);
        if (c < 0x80 || c >= 0xA0) latin1Bytes += static_cast<char>(c);
        everyByte += static_cast<char>(c);
        if (!QByteArrayView("\x81\x8D\x8F\x90\x9D").contains(static_cast<char>(c))) {
            definedBytes += static_cast<char>(c);
        }
    }
    QTest::newRow("every Latin-1 character but the C1 controls") << latin1 << latin1Bytes;
    QTest::newRow("every character of the one-byte form but the undefined bytes' controls")
        << trithemius::CipherTextToMemoText(everyByte) << definedBytes;
    QTest::newRow("100 000 marks")
        << u"A"_s + u"\u0308\u0316"_s.repeated(50'000) + u"B"_s << QByteArray("\xC4") + "B";
}

void TestMemoText::composesBeforeConverting() {
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QCOMPARE(QByteArray::fromStdString(trithemius::MemoTextToCipherText(text)), bytes);
    // A memo holds such text as Latin-1 bytes, which convert alike.
    if (std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() < 0x100; })) {
        const QByteArray held = text.toLatin1();
        QCOMPARE(
            QByteArray::fromStdString(trithemius::MemoTextToCipherText(QLatin1StringView(held))),
            bytes);
    }
}

void TestMemoText::shortMarkRunsComposeLikeWholeText() {
    constexpr unsigned kSeed = 20240611;
    constexpr int kTexts = 1000;
    std::mt19937 random(kSeed);
    for (int i = 0; i < kTexts; ++i) {
        const QString text = RandomText(random);
        const QByteArray bytes = QByteArray::fromStdString(trithemius::MemoTextToCipherText(text));
        QVERIFY2(bytes == WholeTextConversion(text),
                 qPrintable(QStringLiteral("seed %1, text %2: %3")
                                .arg(kSeed)
                                .arg(i)
                                .arg(QString::fromLatin1(text.toUtf8().toHex(' ')))));
    }
}

void TestMemoText::piecesConvertLikeWholeText() {
    constexpr unsigned kSeed = 20240612;
    constexpr int kTexts = 1000;
    std::mt19937 random(kSeed);
    // The text in pieces of up to longest units, each handed over in the
    // one-byte form where it fits and a coin says so.
    const auto inPieces = [&random](const QString& text, qsizetype longest) {
        std::uniform_int_distribution<qsizetype> length(0, longest);
        std::bernoulli_distribution oneByteIfItFits(0.75);
        trithemius::CipherTextWriter writer(static_cast<std::size_t>(text.size()));
        for (qsizetype from = 0; from < text.size();) {
            const QStringView piece =
                QStringView(text).sliced(from, std::min(length(random), text.size() - from));
            from += piece.size();
            const std::optional<std::string> oneByte = OneByteForm(piece);
            if (oneByte && oneByteIfItFits(random)) {
                writer.AppendOneByte(*oneByte);
            } else {
                writer.AppendUtf16(piece);
            }
        }
        return writer.Finish();
    };
    // A mark outside the BMP cut between its surrogates still counts as one
    // mark of the run, which it takes past the longest composed one.
    const QString pairInRun = u"a"_s +
                              u"\u0316"_s.repeated(trithemius::kLongestComposedMarkRun - 1) +
                              u"\U0001E8D0\u0308"_s;
    QCOMPARE(inPieces(pairInRun, 1), trithemius::MemoTextToCipherText(pairInRun));
    std::uniform_int_distribution<int> lengthBits(0, 10);
    std::uniform_int_distribution<std::size_t> bytesLength(0, 512);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int i = 0; i < kTexts; ++i) {
        // Characters of the one-byte form, any of them, before the text.
        std::string bytes(bytesLength(random), '\0');
        for (char& c : bytes) c = static_cast<char>(byte(random));
        const QString text = trithemius::CipherTextToMemoText(bytes) + RandomText(random);
        // Pieces from a unit long, to cut between every kind of neighbour,
        // to longer than a chunk.
        QVERIFY2(inPieces(text, qsizetype{1} << lengthBits(random)) ==
                     trithemius::MemoTextToCipherText(text),
                 qPrintable(QStringLiteral("seed %1, text %2: %3")
                                .arg(kSeed)
                                .arg(i)
                                .arg(QString::fromLatin1(text.toUtf8().toHex(' ')))));
    }
}

// The byte of each of the 65,536 UTF-16 units is the one whose character
// it is, found by going through the characters of all bytes, or none.
void TestMemoText::everyUnitFindsItsByte() {
    const auto& characters = trithemius::kOneByteCharacters;
    for (char32_t unit = 0; unit <= 0xFFFF; ++unit) {
        const auto found = std::find(characters.begin(), characters.end(), unit);
        const int byte =
            found == characters.end() ? -1 : static_cast<int>(found - characters.begin());
        QVERIFY2(trithemius::OneByteOf(static_cast<char16_t>(unit)) == byte,
                 qPrintable(QString::number(unit, 16)));
    }
}

// The controls are the characters Unicode calls so; a text holds one but
// LF wherever one stands in it, also among other characters.
void TestMemoText::controlsOfTheOneByteForm() {
    for (int byte = 0; byte < 256; ++byte) {
        const bool control =
            QChar::category(trithemius::kOneByteCharacters[byte]) == QChar::Other_Control;
        QCOMPARE(trithemius::IsOneByteControl(static_cast<unsigned char>(byte)), control);
        std::string text(100, 'a');
        text[byte % 100] = static_cast<char>(byte);
        QCOMPARE(trithemius::HoldsControlButLf(text), control && byte != '\n');
    }
}

QTEST_APPLESS_MAIN(TestMemoText)
#include "tst_memo_text.moc"
