// LineLayout: one display line of a TextBuffer (as LineWrap cuts it) laid
// out in a font for painting, with the input method's preedit text where
// the caret is, and the x of the caret and the character nearest an x in
// it. The x counts from the line's left edge; where the line stands in the
// view is the memo's.
#pragma once

#include <QFont>
#include <QString>

#include <utility>

class LineWrap;
class QTextLayout;
class QTextLine;
class TextBuffer;

class LineLayout {
public:
    // preedit is the text an input method is composing, shown at
    // preeditPosition (the caret), or empty.
    LineLayout(const TextBuffer& text, const LineWrap& wrap, QFont font, QString preedit,
               qsizetype preeditPosition)
        : Text(text),
          Wrap(wrap),
          Font(std::move(font)),
          Preedit(std::move(preedit)),
          PreeditPosition(preeditPosition) {}

    // Lays out display line `line` in layout, ready to draw at the line's
    // origin, and returns it; its first character is at head in the layout.
    QTextLine LayOut(QTextLayout& layout, qsizetype line, int& head) const;
    // Whether position's paragraph reads from the right.
    [[nodiscard]] bool IsRightToLeft(qsizetype position) const;

    // Where the box of the character at position, in display line `line`,
    // lies across the line.
    struct Span {
        qreal Left = 0;
        qreal Width = 0;
    };
    [[nodiscard]] Span CharacterSpan(qsizetype line, qsizetype position) const;
    // The position in display line `line` nearest x, where a click puts the caret.
    [[nodiscard]] qsizetype PositionInLine(qsizetype line, qreal x) const;
    // The character in display line `line` that x falls on.
    [[nodiscard]] qsizetype CharacterInLine(qsizetype line, qreal x) const;
    // The x of the caret at position in its display line.
    [[nodiscard]] qreal CaretX(qsizetype position) const;

private:
    // Whether the preedit text shows in display line `line`, and where the
    // character at position stands in the line's layout.
    [[nodiscard]] bool HoldsPreedit(qsizetype line) const;
    [[nodiscard]] int OffsetOf(qsizetype line, qsizetype position, int head) const;
    // The box of the character at offset in a laid out line of a paragraph
    // that reads from the right or not.
    [[nodiscard]] Span SpanAt(const QTextLine& textLine, int offset, bool rightToLeft) const;
    // The position of a place between characters counted from the line's
    // start in its layout, the preedit text passed over.
    [[nodiscard]] qsizetype FromOffset(qsizetype line, qsizetype offset) const;

    const TextBuffer& Text;
    const LineWrap& Wrap;
    QFont Font;
    QString Preedit;
    qsizetype PreeditPosition = 0;
};
