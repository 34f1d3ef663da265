// CaretMoves: each move looks only at a stretch of the caret's paragraph
// around it, so that a move costs the same in a text of any size.
#include "caret_moves.h"

#include <QTextBoundaryFinder>
#include <QTextLayout>

#include <algorithm>
#include <string_view>

#include "line_wrap.h"
#include "text_buffer.h"

namespace {

// The characters Qt's text layout ends a word at besides blanks: the
// punctuation and symbols of ASCII, all but the underscore.
bool IsWordSeparator(QChar c) {
    constexpr std::u16string_view kSeparators = u"!\"#$%&'()*+,-./:;<=>?@[\\]^`{|}~";
    return kSeparators.find(c.unicode()) != std::u16string_view::npos;
}

}  // namespace

CaretMoves::Stretch CaretMoves::AroundPosition(qsizetype position) const {
    return {std::max(Text.LineStart(position), position - kLookAround),
            std::min(Text.LineEnd(position), position + kLookAround)};
}

qsizetype CaretMoves::NextCharacter(qsizetype position, bool forward) const {
    // The stretch reaches past the caret both ways, so that a caret inside a
    // cluster (as a program may set it) still finds the cluster's ends.
    const auto [from, to] = AroundPosition(position);
    if (forward ? position >= to : position <= from) return StepOverLineBreak(position, forward);
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, Text.Mid(from, to - from));
    finder.setPosition(position - from);
    const qsizetype next = forward ? finder.toNextBoundary() : finder.toPreviousBoundary();
    if (next < 0) return forward ? to : from;
    return from + next;
}

qsizetype CaretMoves::NextWord(qsizetype position, bool forward) const {
    // Words as Qt's text layout finds them: a word longer than the stretch
    // is crossed in steps.
    const auto [from, to] = AroundPosition(position);
    if (forward ? position >= to : position <= from) return StepOverLineBreak(position, forward);
    QTextLayout layout(Text.Mid(from, to - from), Font);
    const int at = static_cast<int>(position - from);
    return from + (forward ? layout.nextCursorPosition(at, QTextLayout::SkipWords)
                           : layout.previousCursorPosition(at, QTextLayout::SkipWords));
}

qsizetype CaretMoves::StepOverLineBreak(qsizetype position, bool forward) const {
    return std::clamp<qsizetype>(position + (forward ? 1 : -1), 0, Text.Size());
}

qsizetype CaretMoves::LineEndForCaret(qsizetype line) const {
    // As in Qt's text boxes: End on a wrapped line stops before the blank
    // where it was wrapped.
    const qsizetype end = Wrap.LineEnd(line);
    if (!Wrap.EndsParagraph(line) && end > Wrap.LineStart(line) && Text.At(end - 1) == u' ') {
        return end - 1;
    }
    return end;
}

qsizetype CaretMoves::BackspaceStart(qsizetype position) const {
    // As in Qt's text boxes, Backspace takes one character back: the last
    // mark of a letter, or a whole surrogate pair.
    qsizetype from = position - 1;
    if (from > 0 && QChar::isLowSurrogate(Text.At(from)) &&
        QChar::isHighSurrogate(Text.At(from - 1))) {
        --from;
    }
    return from;
}

CaretMoves::Stretch CaretMoves::WordAt(qsizetype position) const {
    // As a double click in Qt's text boxes: the caret goes back to the start
    // of the word it stands in or after, and the selection reaches to that
    // word's end. A run of punctuation is a word; a blank starts none.
    const qsizetype start = Text.LineStart(position);
    const qsizetype end = Text.LineEnd(position);
    // Plain names, not a structured binding: the lambda below reads from.
    const Stretch around = AroundPosition(position);
    const qsizetype from = around.From;
    const qsizetype to = around.To;
    const QString text = Text.Mid(from, to - from);
    const auto at = [&](qsizetype p) { return text[p - from]; };
    qsizetype wordStart = position;
    const bool afterLast = position == end && position > start &&
                           (at(position - 1).isSpace() || IsWordSeparator(at(position - 1)));
    if (position > start && !afterLast) {
        const QTextLayout layout(text, Font);
        const auto next = static_cast<int>(std::min(position + 1, end) - from);
        wordStart = from + layout.previousCursorPosition(next, QTextLayout::SkipWords);
    }
    qsizetype wordEnd = wordStart;
    if (wordEnd < to && IsWordSeparator(at(wordEnd))) {
        while (wordEnd < to && IsWordSeparator(at(wordEnd))) ++wordEnd;
    } else {
        while (wordEnd < to && !at(wordEnd).isSpace() && !IsWordSeparator(at(wordEnd))) ++wordEnd;
    }
    return {wordStart, wordEnd};
}
