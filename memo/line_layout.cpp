// LineLayout: a display line is laid out on its own, with a little of its
// paragraph around it, so that painting and the mouse cost the same in a
// text of any size.
#include "line_layout.h"

#include <QFontMetricsF>
#include <QGlyphRun>
#include <QRawFont>

#include <QTextLayout>

#include <algorithm>
#include <cmath>

#include "caret_moves.h"
#include "line_wrap.h"
#include "text_buffer.h"

namespace {

// How much of a paragraph before and after a display line is laid out with
// it, and how far from the view the part before it goes.
constexpr qsizetype kBidiContext = 64;
constexpr qreal kOutOfSight = 1e6;

// How many of a paragraph's first characters are looked at for its direction.
constexpr qsizetype kDirectionLetters = 4 * 1024;

// Lays out line so that it holds the units UTF-16 code units of text from
// from on, where it can: Qt counts a line's columns in code points, and may
// join more where it cannot break.
bool FillLine(QTextLine& line, const QString& text, int from, int units) {
    int columns = units;
    for (int i = from + 1; i < from + units; ++i) {
        if (text[i].isLowSurrogate() && text[i - 1].isHighSurrogate()) --columns;
    }
    constexpr int kAttempts = 4;
    for (int attempt = 0; attempt < kAttempts && columns > 0; ++attempt) {
        line.setNumColumns(columns);
        if (line.textStart() != from) return false;
        if (line.textLength() == units) return true;
        columns += line.textLength() < units ? 1 : -1;
    }
    return false;
}

}  // namespace

bool LineLayout::IsRightToLeft(qsizetype position) const {
    // A paragraph takes its direction from its first letters, as in Qt's
    // own text boxes.
    const qsizetype start = Text.LineStart(position);
    const qsizetype length = std::min(Text.LineEnd(position) - start, kDirectionLetters);
    return Text.Mid(start, length).isRightToLeft();
}

QTextLine LineLayout::LayOut(QTextLayout& layout, qsizetype line, int& head) const {
    // The line is laid out with some of its paragraph before and after it,
    // so that blanks and punctuation at its ends take the direction they
    // have in the whole paragraph, as in Qt's plain text box. The text
    // before it goes into a line out of sight; only the line itself shows.
    const qsizetype start = Wrap.LineStart(line);
    const qsizetype end = Wrap.LineEnd(line);
    const bool preedit = HoldsPreedit(line);
    const auto layOut = [&](qsizetype from, qsizetype to) {
        const QString text = Text.Mid(from, to - from);
        layout.setText(text);
        layout.setFont(Font);
        QTextOption option;
        option.setWrapMode(QTextOption::WrapAnywhere);
        // A right-to-left paragraph reads from the right but starts at the
        // left edge, as in Qt's plain text box.
        option.setTextDirection(IsRightToLeft(start) ? Qt::RightToLeft : Qt::LeftToRight);
        option.setAlignment(Qt::AlignLeft | Qt::AlignAbsolute);
        layout.setTextOption(option);
        layout.setPreeditArea(preedit ? static_cast<int>(PreeditPosition - from) : -1,
                              preedit ? Preedit : QString());
        head = static_cast<int>(start - from);
        layout.beginLayout();
        bool filled = true;
        if (head > 0) {
            QTextLine before = layout.createLine();
            filled = before.isValid() && FillLine(before, text, 0, head);
            if (before.isValid()) before.setPosition(QPointF(0, -kOutOfSight));
        }
        QTextLine shown = filled ? layout.createLine() : QTextLine();
        if (!shown.isValid()) {
            filled = false;
        } else if (from == start && to == end) {
            shown.setLineWidth(kOutOfSight);
        } else {
            filled = FillLine(shown, text, head, static_cast<int>(end - start));
        }
        if (shown.isValid()) shown.setPosition(QPointF(0, 0));
        layout.endLayout();
        return std::pair{shown, filled};
    };
    // With a preedit text in it the line is laid out alone.
    if (!preedit) {
        const auto [shown, filled] = layOut(std::max(Text.LineStart(start), start - kBidiContext),
                                            std::min(Text.LineEnd(end), end + kBidiContext));
        if (filled) return shown;
    }
    // Where the line cannot be cut there (inside a run of marks), alone.
    return layOut(start, end).first;
}

bool LineLayout::HoldsPreedit(qsizetype line) const {
    return !Preedit.isEmpty() && Wrap.LineOf(PreeditPosition) == line;
}

int LineLayout::OffsetOf(qsizetype line, qsizetype position, int head) const {
    // The preedit text stands in the layout before the character at its
    // position.
    const bool after = HoldsPreedit(line) && position >= PreeditPosition;
    return static_cast<int>(position - Wrap.LineStart(line) + (after ? Preedit.size() : 0)) + head;
}

LineLayout::Span LineLayout::CharacterSpan(qsizetype line, qsizetype position) const {
    QTextLayout layout;
    int head = 0;
    const QTextLine textLine = LayOut(layout, line, head);
    return SpanAt(textLine, OffsetOf(line, position, head), IsRightToLeft(Wrap.LineStart(line)));
}

LineLayout::Span LineLayout::SpanAt(const QTextLine& textLine, int offset, bool rightToLeft) const {
    // The advances of the glyphs the character is drawn with, so that one
    // where the direction changes is boxed alone, not with the run it ends.
    qreal left = 0;
    qreal right = 0;
    bool drawn = false;
    const bool inLine = offset < textLine.textStart() + textLine.textLength();
    if (inLine) {
        for (const QGlyphRun& run : textLine.glyphRuns(offset, 1)) {
            const QList<QPointF> positions = run.positions();
            const QList<QPointF> advances =
                run.rawFont().advancesForGlyphIndexes(run.glyphIndexes());
            for (qsizetype i = 0; i < positions.size() && i < advances.size(); ++i) {
                const qreal from = positions[i].x();
                const qreal to = from + advances[i].x();
                left = drawn ? std::min({left, from, to}) : std::min(from, to);
                right = drawn ? std::max({right, from, to}) : std::max(from, to);
                drawn = true;
            }
        }
    }
    if (!drawn) {
        // A character without a glyph of its own (a tab): from the caret
        // before it to the caret after it. The line's end is a blank's
        // width past the text, on the side where the line ends.
        left = right = textLine.cursorToX(offset);
        if (inLine) right = textLine.cursorToX(offset + 1);
        if (!inLine) {
            const qreal blank = QFontMetricsF(Font).horizontalAdvance(u' ');
            (rightToLeft ? left : right) += rightToLeft ? -blank : blank;
        }
        if (right < left) std::swap(left, right);
    }
    return {left, std::max<qreal>(1, right - left)};
}

qsizetype LineLayout::CharacterInLine(qsizetype line, qreal x) const {
    // The character whose box holds x; where none does (past the line's
    // end, in the margin), the place between characters nearest x.
    QTextLayout layout;
    int head = 0;
    const QTextLine textLine = LayOut(layout, line, head);
    const bool rightToLeft = IsRightToLeft(Wrap.LineStart(line));
    for (qsizetype position = Wrap.LineStart(line); position < Wrap.LineEnd(line); ++position) {
        const Span span = SpanAt(textLine, OffsetOf(line, position, head), rightToLeft);
        if (x >= span.Left && x < span.Left + span.Width) return position;
    }
    return FromOffset(line, textLine.xToCursor(x) - head);
}

qsizetype LineLayout::FromOffset(qsizetype line, qsizetype offset) const {
    const qsizetype start = Wrap.LineStart(line);
    if (HoldsPreedit(line)) {
        // A point on the preedit text is its position.
        const qsizetype preedit = PreeditPosition - start;
        offset = offset >= preedit + Preedit.size() ? offset - Preedit.size()
                                                    : std::min(offset, preedit);
    }
    return std::clamp<qsizetype>(start + offset, start, Wrap.LineEnd(line));
}

qsizetype LineLayout::PositionInLine(qsizetype line, qreal x) const {
    QTextLayout layout;
    int head = 0;
    const QTextLine textLine = LayOut(layout, line, head);
    const qsizetype start = Wrap.LineStart(line);
    const qsizetype position = FromOffset(line, textLine.xToCursor(x) - head);
    // Past the end of a wrapped line the caret stops before the blank where
    // it was wrapped, as in Qt's text boxes; in a right-to-left paragraph
    // that end lies at the left and Qt leaves the caret after the blank.
    if (!Wrap.EndsParagraph(line) && position >= Wrap.LineEnd(line) && !IsRightToLeft(start)) {
        return CaretMoves(Text, Wrap, Font).LineEndForCaret(line);
    }
    return position;
}

qreal LineLayout::CaretX(qsizetype position) const {
    const qsizetype line = Wrap.LineOf(position);
    QTextLayout layout;
    int head = 0;
    const QTextLine textLine = LayOut(layout, line, head);
    return textLine.cursorToX(OffsetOf(line, position, head));
}
