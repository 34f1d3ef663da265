// Tests of the memo's text and its display lines: after any series of edits,
// undos and redos the lines are those of a fresh wrap; the rules of a line
// (blanks, long words, clusters, runs of marks, the width); ASCII counted in
// cells wraps as when measured; and TextBuffer against a QString.
#include "line_wrap.h"
#include "memo_text.h"
#include "text_buffer.h"

#include <QApplication>
#include <QFontMetricsF>
#include <QRandomGenerator>
#include <QTest>
#include <QTextBoundaryFinder>

#include <algorithm>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

constexpr qreal kMemoWidth = 612;
const QString kMono = u"Liberation Mono"_s;
const QString kSans = u"Liberation Sans"_s;

QFont Font(const QString& family) {
    QFont font(family);
    font.setPixelSize(16);
    font.setBold(true);
    return font;
}

qreal Cell() { return QFontMetricsF(Font(kMono)).horizontalAdvance(u'0'); }

LineWrap Wrapped(const TextBuffer& text, const QString& family, qreal width) {
    LineWrap wrap(text);
    wrap.SetFont(Font(family));
    wrap.SetWidth(width);
    return wrap;
}

// Every line start.
std::vector<qsizetype> AllStarts(const LineWrap& wrap) {
    std::vector<qsizetype> starts;
    for (qsizetype line = 0; line < wrap.LineCount(); ++line)
        starts.push_back(wrap.LineStart(line));
    return starts;
}

std::vector<qsizetype> FreshStarts(const TextBuffer& text, const QString& family, qreal width) {
    LineWrap wrap = Wrapped(text, family, width);
    return AllStarts(wrap);
}

QString FirstDifference(const std::vector<qsizetype>& got, const std::vector<qsizetype>& want) {
    const auto [a, b] = std::mismatch(got.begin(), got.end(), want.begin(), want.end());
    if (a == got.end() && b == want.end()) return {};
    return QStringLiteral("line %1 starts at %2, not %3 (%4 lines, not %5)")
        .arg(a - got.begin())
        .arg(a == got.end() ? -1 : *a)
        .arg(b == want.end() ? -1 : *b)
        .arg(got.size())
        .arg(want.size());
}

// Random capitals, in groups of five where blanks is set.
QString Letters(QRandomGenerator& random, qsizetype count, bool blanks) {
    QString text(count, u'A');
    for (qsizetype at = 0; at < count; ++at) {
        text[at] = blanks && at % 6 == 5 ? u' ' : QChar(u'A' + random.bounded(26));
    }
    return text;
}

// A piece to insert: up to stage 0 printable ASCII, 1 Latin-1, 2 anything.
QString Piece(QRandomGenerator& random, int stage) {
    // The last two are runs of marks too long for a line, one ending in an
    // emoji sequence.
    static const QStringList kPieces =
        QStringList{
            u" "_s,        u"    "_s,   u"\n"_s,         u"\n\n"_s,         u"Hello, world. "_s,
            u"ABCDE "_s,   u"X"_s,      u"äöü ß"_s,      u"\t"_s,           u"Größe "_s,
            u"„Zitat“ "_s, u"中文字"_s, u"e\u0301"_s,    u"\u0308\u0308"_s, u"😀"_s,
            u"👩\u200D💻"_s, u"🇩🇪🇫🇷"_s,   u"\U0001D11E"_s, u"\u200D"_s,       u"\xD83D"_s}
        << u"b"_s + QString(400, u'\u0308') << u"👍"_s + QString(280, u'\u0301') + u"\u200D👍"_s;
    constexpr int kStageEnds[] = {7, 10, 22};
    if (random.bounded(6) == 0) {
        return Letters(random, random.bounded(8) ? random.bounded(1, 200) : 30000,
                       random.bounded(2));
    }
    return kPieces[random.bounded(kStageEnds[stage])];
}

bool IsMark(QChar c) {
    const auto category = c.category();
    return category == QChar::Mark_NonSpacing || category == QChar::Mark_SpacingCombining ||
           category == QChar::Mark_Enclosing;
}

// Whether at lies inside a run of marks longer than longest.
bool InsideLongMarkRun(const QString& text, qsizetype at, qsizetype longest) {
    if (at == 0 || at >= text.size() || !IsMark(text[at]) || !IsMark(text[at - 1])) return false;
    qsizetype from = at, to = at;
    while (from > 0 && IsMark(text[from - 1])) --from;
    while (to < text.size() && IsMark(text[to])) ++to;
    return to - from > longest;
}

}  // namespace

class TestLineWrap : public QObject {
    Q_OBJECT

private slots:
    void editsWrapLikeAFreshWrap_data();
    void editsWrapLikeAFreshWrap();
    void editAfterACut();
    void widthBeforeFont();
    void wrapRules_data();
    void wrapRules();
    void linesKeepClustersAndWidth_data();
    void linesKeepClustersAndWidth();
    void cellsAndMeasureAgree_data();
    void cellsAndMeasureAgree();
};

void TestLineWrap::editsWrapLikeAFreshWrap_data() {
    QTest::addColumn<QString>("family");
    QTest::addColumn<qreal>("width");
    QTest::addColumn<quint32>("seed");
    QTest::newRow("mono, memo width") << kMono << kMemoWidth << 1u;
    QTest::newRow("mono, memo width, again") << kMono << kMemoWidth << 2u;
    QTest::newRow("sans, memo width") << kSans << kMemoWidth << 3u;
    QTest::newRow("mono, narrow") << kMono << 100.0 << 4u;
    QTest::newRow("sans, narrow") << kSans << 60.0 << 5u;
}

// Random edits of a text ending in 200,000 letters without a blank, after
// one of five-letter groups, so that edits fall before, inside and after
// runs of wrap points; queries, undos and redos come in between. The first third of the
// edits insert ASCII, the second Latin-1, the last anything.
void TestLineWrap::editsWrapLikeAFreshWrap() {
    QFETCH(QString, family);
    QFETCH(qreal, width);
    QFETCH(quint32, seed);
    constexpr int kSteps = 150;
    QRandomGenerator random(seed);
    QString model =
        u"Trithemius\n"_s + Letters(random, 60000, true) + u"\n"_s + Letters(random, 200000, false);
    TextBuffer text = TextBuffer::FromOneByte(model.toLatin1().toStdString());
    LineWrap wrap = Wrapped(text, family, width);
    // Undo and redo put back the pieces an edit took out or put in, as the
    // memo's undo steps do.
    struct Edit {
        qsizetype From = 0;
        TextBuffer Removed;
        TextBuffer Added;
    };
    std::vector<Edit> undo;
    std::vector<Edit> redo;
    qsizetype last = 0;
    for (int step = 0; step < kSteps; ++step) {
        const int kind = random.bounded(10);
        Edit edit;
        bool forward = true;
        if (kind < 2 && !undo.empty()) {
            edit = std::move(undo.back());
            undo.pop_back();
            forward = false;
        } else if (kind == 2 && !redo.empty()) {
            edit = std::move(redo.back());
            redo.pop_back();
        } else {
            edit.From = random.bounded(2)
                            ? std::clamp<qsizetype>(last + random.bounded(-3, 4), 0, model.size())
                            : random.bounded(model.size() + 1);
            const QString added = random.bounded(3) ? Piece(random, step * 3 / kSteps) : QString();
            const qsizetype longest = random.bounded(10) ? 4 : 20000;
            const qsizetype removed =
                added.isEmpty() || random.bounded(2)
                    ? std::min(random.bounded(longest), model.size() - edit.From)
                    : 0;
            edit.Removed = text.Slice(edit.From, removed);
            edit.Added = TextBuffer(added);
            redo.clear();
        }
        const qsizetype from = edit.From;
        const TextBuffer& put = forward ? edit.Added : edit.Removed;
        const TextBuffer& taken = forward ? edit.Removed : edit.Added;
        const qsizetype removed = taken.Size();
        const QString added = put.ToString();
        last = from + added.size();
        const QString where = QStringLiteral("seed %1 step %2 (%3 at %4 replaced by %5%6): ")
                                  .arg(seed)
                                  .arg(step)
                                  .arg(removed)
                                  .arg(from)
                                  .arg(added.size())
                                  .arg(forward ? u""_s : u", undone"_s);
        wrap.BeforeEdit(from, taken);
        text.Replace(from, removed, put);
        model.replace(from, removed, added);
        wrap.Update(from, removed, put);
        (forward ? undo : redo).push_back(std::move(edit));

        const bool printable = std::all_of(model.cbegin(), model.cend(), [](QChar c) {
            return (c >= u' ' && c < QChar(0x7F)) || c == u'\n';
        });
        QVERIFY2(text.ToString() == model && text.LineBreakCount() == model.count(u'\n') &&
                     text.IsPrintableAscii() == printable && text.IsSound(),
                 qPrintable(where + u"text"_s));
        for (int probe = 0; probe < 4; ++probe) {
            const qsizetype at = random.bounded(model.size() + 1);
            const qsizetype count =
                random.bounded(std::min<qsizetype>(model.size() - at, 3000) + 1);
            qsizetype lf = model.indexOf(u'\n', at);
            if (lf < 0) lf = model.size();
            QCOMPARE(text.LineStart(at), model.lastIndexOf(u'\n', at - 1) + 1);
            QCOMPARE(text.LineEnd(at), lf);
            const qsizetype blank = model.indexOf(u' ', at);
            QCOMPARE(text.NextBlank(at), blank < 0 ? model.size() : blank);
            // Where the blanks of a stretch of groups end to come every
            // spacing characters from at on.
            const qsizetype spacing = random.bounded(2) ? 6 : random.bounded(1, 8);
            qsizetype regular = at;
            while (regular < lf && (model[regular] == u' ') == ((regular - at + 1) % spacing == 0))
                ++regular;
            QCOMPARE(text.BlankPatternEnd(at, lf, spacing), regular);
            // The first paragraph from the one holding at on that is longer
            // than longest, or holds a character without a byte.
            const qsizetype longest = random.bounded(60);
            const bool wideIsLong = random.bounded(2);
            qsizetype expected = model.size() + 1;
            for (qsizetype paragraph = text.LineStart(at);;) {
                qsizetype end = model.indexOf(u'\n', paragraph);
                if (end < 0) end = model.size();
                const QString units = model.mid(paragraph, end - paragraph);
                const bool wide = std::any_of(units.cbegin(), units.cend(), [](QChar c) {
                    return trithemius::OneByteOf(c.unicode()) < 0;
                });
                if (units.size() > longest || (wideIsLong && wide)) expected = paragraph;
                if (units.size() > longest || (wideIsLong && wide) || end == model.size()) break;
                paragraph = end + 1;
            }
            // A paragraph in a leaf held as UTF-16 counts as wide too.
            const qsizetype found = text.NextLongParagraph(text.LineStart(at), longest, wideIsLong);
            QVERIFY(wideIsLong ? found <= expected && (found == 0 || found > model.size() ||
                                                       model[found - 1] == u'\n')
                               : found == expected);
            QCOMPARE(text.Mid(at, count), model.mid(at, count));
            // A piece reaching past the end is cut there, in either form.
            QCOMPARE(text.Mid(at, count + 5000), model.mid(at, count + 5000));
            QString appended = u"<"_s;
            text.AppendTo(appended, at, count);
            QCOMPARE(appended, u"<"_s + model.mid(at, count));
            const TextBuffer slice = text.Slice(at, count);
            QCOMPARE(slice.ToString(), model.mid(at, count));
            QCOMPARE(slice.LineEnd(0), std::min(lf, at + count) - at);
        }

        const int check = random.bounded(8);
        if (check >= 4 && step + 1 < kSteps) continue;  // more edits before the lines are checked
        const std::vector<qsizetype> fresh = FreshStarts(text, family, width);
        if (check <= 1) {
            // Queries of the last line and of lines anywhere.
            const auto lastLine = static_cast<qsizetype>(fresh.size()) - 1;
            QVERIFY2(wrap.LineEnd(lastLine) == model.size() && wrap.EndsParagraph(lastLine),
                     qPrintable(where + u"last line"_s));
            for (int query = 0; query < 3; ++query) {
                const qsizetype at = random.bounded(model.size() + 1);
                const auto line =
                    std::upper_bound(fresh.begin(), fresh.end(), at) - fresh.begin() - 1;
                const auto next = static_cast<std::size_t>(line) + 1;
                const bool last = next == fresh.size();
                const qsizetype end = last                              ? model.size()
                                      : model[fresh[next] - 1] == u'\n' ? fresh[next] - 1
                                                                        : fresh[next];
                QVERIFY2(wrap.LineOf(at) == line && wrap.LineStart(line) == fresh[line] &&
                             wrap.LineEnd(line) == end &&
                             wrap.EndsParagraph(line) == (last || end < fresh[next]),
                         qPrintable(where + QStringLiteral("line of %1").arg(at)));
            }
        }
        const std::vector<qsizetype> starts = AllStarts(wrap);
        QVERIFY2(starts == fresh, qPrintable(where + FirstDifference(starts, fresh)));
    }
}

// The second line is cut in a run of marks that Qt joins to the emoji after
// it; the third line is told from its own start, also when an edit after it
// wraps it again.
void TestLineWrap::editAfterACut() {
    TextBuffer text(u"x👍"_s + QString(300, u'\u0301') + u"\u200D👍"_s + QString(100, u'A'));
    LineWrap wrap = Wrapped(text, kMono, kMemoWidth);
    const TextBuffer added(u"B"_s);
    wrap.BeforeEdit(380, TextBuffer());
    text.Replace(380, 0, added);
    wrap.Update(380, 0, added);
    const std::vector<qsizetype> starts = AllStarts(wrap);
    const std::vector<qsizetype> fresh = FreshStarts(text, kMono, kMemoWidth);
    QVERIFY2(starts == fresh, qPrintable(FirstDifference(starts, fresh)));
}

// A wrap given its width before its font counts the text's characters as
// if they took no room: every paragraph is one line.
void TestLineWrap::widthBeforeFont() {
    const TextBuffer text(u"AB CD\nEF"_s);
    LineWrap wrap(text);
    wrap.SetWidth(kMemoWidth);
    QCOMPARE(AllStarts(wrap), (std::vector<qsizetype>{0, 6}));
}

void TestLineWrap::wrapRules_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QList<qsizetype>>("starts");
    // Lines of ten cells of the mono font.
    QTest::newRow("break after the last blank that fits")
        << u"AAA BBB CCC DDD"_s << QList<qsizetype>{0, 8};
    QTest::newRow("blanks hang past the width") << u"AAAAAAAAAA    BB"_s << QList<qsizetype>{0, 14};
    QTest::newRow("blanks inside a line take their width")
        << u"A     BBBBB"_s << QList<qsizetype>{0, 6};
    QTest::newRow("a word longer than the line")
        << QString(25, u'A') << QList<qsizetype>{0, 10, 20};
    QTest::newRow("a long word after a short one")
        << u"AA BBBBBBBBBBBB"_s << QList<qsizetype>{0, 3, 13};
    QTest::newRow("leading blanks") << u"   BBBBBBBBBBBB"_s << QList<qsizetype>{0, 3, 13};
    QTest::newRow("paragraphs start lines") << u"AA\n\nBB"_s << QList<qsizetype>{0, 3, 4};
    QTest::newRow("umlauts are a cell") << u"ÄÖÜ ÄÖÜ ÄÖÜ"_s << QList<qsizetype>{0, 8};
    QTest::newRow("a letter with a mark stays whole")
        << u"AAAAAAAAAAe\u0301B"_s << QList<qsizetype>{0, 10};
    QTest::newRow("a letter with a mark is one cell")
        << u"AAAAAAAAAe\u0301B"_s << QList<qsizetype>{0, 11};
    // Two cells, the tab to the stop at 80 px (8.3 cells), two more cells.
    QTest::newRow("a tab reaches the next stop") << u"AB\tCDEFGH"_s << QList<qsizetype>{0, 5};
}

// Each text as it comes (counted in cells where it is printable ASCII)
// and with a last paragraph outside ASCII, which wraps it by measure.
void TestLineWrap::wrapRules() {
    QFETCH(QString, text);
    QFETCH(QList<qsizetype>, starts);
    for (const QString& form : {text, text + u"\n„"_s}) {
        const std::vector<qsizetype> got = FreshStarts(TextBuffer(form), kMono, 10.5 * Cell());
        QList<qsizetype> want = starts;
        if (form.size() > text.size()) want.append(text.size() + 1);
        QCOMPARE(QList<qsizetype>(got.begin(), got.end()), want);
    }
}

void TestLineWrap::linesKeepClustersAndWidth_data() {
    QTest::addColumn<QString>("family");
    QTest::addColumn<qreal>("width");
    QTest::addColumn<QString>("text");
    QTest::newRow("a and 100,000 marks")
        << kMono << kMemoWidth << u"a"_s + QString(100000, u'\u0308');
    QTest::newRow("letters with four marks")
        << kSans << kMemoWidth << u"i\u0308\u0323\u0301\u0300"_s.repeated(600);
    QTest::newRow("long marked clusters")
        << kMono << 100.0 << (u"b"_s + QString(20, u'\u0301') + u"c"_s).repeated(200);
    QTest::newRow("blank with marks") << kMono << kMemoWidth << u" \u0308ab"_s.repeated(300);
    QTest::newRow("emoji sequences")
        << kSans << 100.0 << u"👩\u200D💻 🇩🇪🇫🇷x👍🏽"_s.repeated(300);
    QTest::newRow("flags without blanks") << kMono << kMemoWidth << u"🇩🇪"_s.repeated(500);
    QTest::newRow("German prose")
        << kSans << kMemoWidth
        << u"„Größe“ über die Straße, sagte er; daß ihr's wißt… "_s.repeated(300);
    QTest::newRow("runs of blanks") << kSans << kMemoWidth << u"WWW        "_s.repeated(300);
    QTest::newRow("tabs") << kSans << kMemoWidth << u"Ab\tcde\t\tf "_s.repeated(200);
    QTest::newRow("kerning pairs") << kSans << kMemoWidth << u"AVATAR WAVY Tö "_s.repeated(200);
    QTest::newRow("narrower than a letter") << kSans << 5.0 << u"WWW ä\u0308 W"_s.repeated(20);
}

// No line starts inside a cluster but in a run of marks too long for a
// line; no line holds more than MaxLineUnits() before its hanging blanks;
// no line of more than one cluster measures wider than the width.
void TestLineWrap::linesKeepClustersAndWidth() {
    QFETCH(QString, family);
    QFETCH(qreal, width);
    QFETCH(QString, text);
    const QFontMetricsF metrics(Font(family));
    const TextBuffer buffer(text);
    LineWrap wrap = Wrapped(buffer, family, width);
    QTextBoundaryFinder clusters(QTextBoundaryFinder::Grapheme, text);
    for (qsizetype line = 0; line < wrap.LineCount(); ++line) {
        const qsizetype start = wrap.LineStart(line);
        clusters.setPosition(start);
        QVERIFY2(clusters.isAtBoundary() || InsideLongMarkRun(text, start, wrap.MaxLineUnits()),
                 qPrintable(QStringLiteral("line %1 starts inside a cluster").arg(line)));
        QString shown = text.mid(start, wrap.LineEnd(line) - start);
        while (shown.endsWith(u' ')) shown.chop(1);
        QVERIFY2(shown.size() <= wrap.MaxLineUnits(),
                 qPrintable(QStringLiteral("line %1 too long").arg(line)));
        QTextBoundaryFinder inLine(QTextBoundaryFinder::Grapheme, shown);
        const bool oneCluster = inLine.toNextBoundary() == shown.size();
        QVERIFY2(oneCluster || metrics.horizontalAdvance(shown) <= width,
                 qPrintable(QStringLiteral("line %1 too wide: %2").arg(line).arg(shown)));
    }
}

void TestLineWrap::cellsAndMeasureAgree_data() {
    QTest::addColumn<qreal>("width");
    QTest::addColumn<quint32>("seed");
    QTest::newRow("memo width") << kMemoWidth << 11u;
    QTest::newRow("ten cells and a half") << 10.5 * Cell() << 12u;
    QTest::newRow("exactly ten cells") << 10 * Cell() << 13u;
    QTest::newRow("one cell") << Cell() << 14u;
    QTest::newRow("less than a cell") << 3.0 << 15u;
}

// Random printable ASCII in the mono font, and the same with characters of
// the one-byte form beyond ASCII: counted in cells, and measured once a
// last paragraph with a character outside the form widens the text.
void TestLineWrap::cellsAndMeasureAgree() {
    QFETCH(qreal, width);
    QFETCH(quint32, seed);
    QRandomGenerator random(seed);
    QString text;
    while (text.size() < 100000) {
        const int kind = random.bounded(20);
        QString piece = kind == 0 ? u"\n"_s
                        : kind < 4
                            ? QString(random.bounded(1, kind == 1 ? 100 : 4), u' ')
                            : Letters(random, kind == 4 ? 120 : random.bounded(1, 12), false);
        if (kind == 5) piece[0] = QChar(u'!' + random.bounded(94));
        // Stretches of groups of one length, as a text of groups is.
        if (kind >= 6 && kind < 8) {
            piece = (QString(random.bounded(1, 14), u'B') + u' ').repeated(random.bounded(1, 600));
        }
        text += piece;
    }
    QString german = text;
    for (qsizetype at = 0; at < german.size(); at += random.bounded(1, 40)) {
        if (german[at] != u' ' && german[at] != u'\n')
            german[at] = u"äöüßÄ„“–é\u00A0"_s[random.bounded(10)];
    }
    for (const QString& form : {text, german}) {
        const TextBuffer oneByte(form);
        const TextBuffer wide(form + u"\nα"_s);
        LineWrap counted = Wrapped(oneByte, kMono, width);
        LineWrap measured = Wrapped(wide, kMono, width);
        QVERIFY(counted.CountsCells() && !measured.CountsCells());
        std::vector<qsizetype> want = AllStarts(counted);
        want.push_back(form.size() + 1);
        const std::vector<qsizetype> got = AllStarts(measured);
        QVERIFY2(got == want,
                 qPrintable(QStringLiteral("seed %1: ").arg(seed) + FirstDifference(got, want)));
    }
}

QTEST_MAIN(TestLineWrap)
#include "tst_line_wrap.moc"
