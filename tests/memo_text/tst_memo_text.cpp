// Tests of the conversion from memo text to Windows-1252 bytes: a table of
// compositions, and random texts whose runs of marks are short enough to be
// composed as one whole, compared with Qt's composition of the whole text.
#include <QTest>

#include <algorithm>
#include <random>

#include "memo_text.h"

class TestMemoText : public QObject {
    Q_OBJECT

private slots:
    void composesBeforeConverting_data();
    void composesBeforeConverting();
    void shortMarkRunsComposeLikeWholeText();
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
// singleton, Greek, Hangul, a CJK ideograph, characters outside the BMP
// and line breaks.
QString RandomText(std::mt19937& random) {
    static const QStringList starters = {
        u"a"_s,      u"o"_s,      u"A"_s,      u"c"_s,      u"S"_s,          u"Y"_s,
        u" "_s,      u"\r\n"_s,   u"\u00F6"_s, u"\u00C5"_s, u"\u00DF"_s,     u"\u212B"_s,
        u"\u212A"_s, u"\u2126"_s, u"\u03B1"_s, u"\u03AC"_s, u"\u1100"_s,     u"\uAC00"_s,
        u"\u20AC"_s, u"\u0152"_s, u"\u201E"_s, u"\u4E2D"_s, u"\U0001F600"_s, u"\U0001D15E"_s,
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
    for (int c = 0; c < 256; ++c) {
        latin1[c] = QChar(c);
        if (c < 0x80 || c >= 0xA0) latin1Bytes += static_cast<char>(c);
    }
    QTest::newRow("every Latin-1 character but the C1 controls") << latin1 << latin1Bytes;
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

QTEST_APPLESS_MAIN(TestMemoText)
#include "tst_memo_text.moc"
