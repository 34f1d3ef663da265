// CaretMoves: where the caret goes over a TextBuffer and its display lines
// (LineWrap) when a key or a double click moves it: to the next or previous
// character (a grapheme cluster) or word (as Qt's text layout finds words),
// over a line break, to the end of a line, and which word a double click
// selects. It only reads; the memo moves the caret.
#pragma once

#include <QFont>

#include <utility>

class LineWrap;
class TextBuffer;

class CaretMoves {
public:
    // The font is the one the words are found in.
    CaretMoves(const TextBuffer& text, const LineWrap& wrap, QFont font)
        : Text(text), Wrap(wrap), Font(std::move(font)) {}

    // The characters from From to To of the text.
    struct Stretch {
        qsizetype From = 0;
        qsizetype To = 0;
    };

    // The part of position's paragraph within kLookAround of it, where the
    // next character or word is looked for. It ends at position only where
    // position ends the paragraph that way.
    [[nodiscard]] Stretch AroundPosition(qsizetype position) const;
    // The text an input method is told of around position, as Qt's text
    // boxes tell it: on each side the rest of position's paragraph and the
    // whole paragraphs beyond it until there are at least least characters,
    // though never more than least and kLookAround more.
    [[nodiscard]] Stretch AroundCaret(qsizetype position, qsizetype least) const;

    [[nodiscard]] qsizetype NextCharacter(qsizetype position, bool forward) const;
    [[nodiscard]] qsizetype NextWord(qsizetype position, bool forward) const;
    // The step from the end of a paragraph over its line break.
    [[nodiscard]] qsizetype StepOverLineBreak(qsizetype position, bool forward) const;
    // Where End puts the caret on display line `line`.
    [[nodiscard]] qsizetype LineEndForCaret(qsizetype line) const;
    // Where Backspace at position, which lies after the start, deletes from.
    [[nodiscard]] qsizetype BackspaceStart(qsizetype position) const;
    // The word a double click at position selects.
    [[nodiscard]] Stretch WordAt(qsizetype position) const;

private:
    // Qt's word move from position within the stretch around.
    [[nodiscard]] qsizetype WordMoveIn(Stretch around, qsizetype position, bool forward) const;
    // Where the run of word characters from position on (or before it)
    // ends: at the first blank, line break or separator.
    [[nodiscard]] qsizetype WordRunEnd(qsizetype position, bool forward) const;

    // How far around the caret the text is looked at to find the next
    // character or word at once.
    static constexpr qsizetype kLookAround = 1024;

    const TextBuffer& Text;
    const LineWrap& Wrap;
    QFont Font;
};
