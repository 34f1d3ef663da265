// CaretMoves: each move looks only at a stretch of the caret's paragraph
// around it, so that a move costs the same in a text of any size.
#include "caret_moves.h"

#include <QTextBoundaryFinder>
#include <QTextLayout>

#include <algorithm>
#include <array>
#include <string_view>

#include "line_wrap.h"
#include "memo_text.h"
#include "text_buffer.h"

namespace {

// The characters Qt's text layout ends a word at besides blanks: the
// punctuation and symbols of ASCII, all but the underscore.
bool IsWordSeparator(QChar c) {
    constexpr std::u16string_view kSeparators = u"!\"#$%&'()*+,-./:;<=>?@[\\]^`{|}~";
    return kSeparators.find(c.unicode()) != std::u16string_view::npos;
}

// Whether a character belongs to a word as a double click and the word moves
// past the stretch see it: no blank, line break or separator.
bool InWord(char16_t c) { return c != u'\n' && !QChar::isSpace(c) && !IsWordSeparator(QChar(c)); }

// The same for the bytes of the one-byte form, as a table.
bool InWordByte(unsigned char byte) {
    static const std::array<bool, 256> kInWord = [] {
        std::array<bool, 256> table{};
        for (std::size_t b = 0; b < table.size(); ++b) {
            table[b] = InWord(trithemius::kOneByteCharacters[b]);
        }
        return table;
    }();
    return kInWord[byte];
}

// Whether a byte of the one-byte form may end a word: every one that does,
// and some more (the bytes from 7B on), told without a branch.
bool MayEndWord(unsigned char byte) {
    return (byte <= 0x2F) | (static_cast<unsigned char>(byte - 0x3A) < 7) |
           (static_cast<unsigned char>(byte - 0x5B) < 6) | (byte >= 0x7B);
}

}  // namespace

CaretMoves::Stretch CaretMoves::AroundPosition(qsizetype position) const {
    return {std::max(Text.LineStart(position), position - kLookAround),
            std::min(Text.LineEnd(position), position + kLookAround)};
}

CaretMoves::Stretch CaretMoves::AroundCaret(qsizetype position, qsizetype least) const {
    // The paragraph that holds the least-th character on each side is the
    // last one taken.
    least = std::clamp<qsizetype>(least, 0, Text.Size());
    const qsizetype from = Text.LineStart(std::max<qsizetype>(position - least, 0));
    const qsizetype to = Text.LineEnd(std::min(position + least, Text.Size()));
    return {std::max(from, position - least - kLookAround),
            std::min(to, position + least + kLookAround)};
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
    // Words as Qt's text layout finds them, in the stretch around the
    // caret. Where that stops at the stretch's edge inside a word longer
    // than it, the word's end is found by going over its characters, and
    // the move is looked for again around there.
    const Stretch around = AroundPosition(position);
    if (forward ? position >= around.To : position <= around.From) {
        return StepOverLineBreak(position, forward);
    }
    const qsizetype next = WordMoveIn(around, position, forward);
    const bool cut = forward ? next == around.To && around.To < Text.LineEnd(position)
                             : next == around.From && around.From > Text.LineStart(position);
    if (!cut) return next;
    const qsizetype end = WordRunEnd(next, forward);
    const qsizetype inside = forward ? end - 1 : end + 1;
    return WordMoveIn(AroundPosition(inside), inside, forward);
}

qsizetype CaretMoves::WordMoveIn(Stretch around, qsizetype position, bool forward) const {
    QTextLayout layout(Text.Mid(around.From, around.To - around.From), Font);
    const int at = static_cast<int>(position - around.From);
    return around.From + (forward ? layout.nextCursorPosition(at, QTextLayout::SkipWords)
                                  : layout.previousCursorPosition(at, QTextLayout::SkipWords));
}

qsizetype CaretMoves::WordRunEnd(qsizetype position, bool forward) const {
    // Leaf by leaf: linear in the word, however long it is. In a leaf of
    // the one-byte form a block of bytes is passed over at once where none
    // of them may end a word.
    constexpr qsizetype kBlock = 32;
    const qsizetype size = Text.Size();
    while (forward ? position < size : position > 0) {
        qsizetype start = 0;
        const TextPiece leaf = Text.LeafPiece(forward ? position : position - 1, start);
        const qsizetype leafEnd = start + leaf.Size();
        const auto inWord = [&](qsizetype at) {
            return leaf.OneByte ? InWordByte(static_cast<unsigned char>(leaf.Bytes[at - start]))
                                : InWord(leaf.Units[static_cast<std::size_t>(at - start)]);
        };
        const auto blockInWord = [&](qsizetype from) {
            const auto* bytes = reinterpret_cast<const unsigned char*>(leaf.Bytes.data());
            unsigned char others = 0;
            for (qsizetype i = from - start; i < from - start + kBlock; ++i) {
                others |= static_cast<unsigned char>(MayEndWord(bytes[i]));
            }
            return others == 0;
        };
        if (forward) {
            while (leaf.OneByte && position + kBlock <= leafEnd && blockInWord(position)) {
                position += kBlock;
            }
            while (position < leafEnd && inWord(position)) ++position;
            if (position < leafEnd) return position;
        } else {
            while (leaf.OneByte && position - kBlock >= start && blockInWord(position - kBlock)) {
                position -= kBlock;
            }
            while (position > start && inWord(position - 1)) --position;
            if (position > start) return position;
        }
    }
    return position;
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
        // A word that begins before the stretch begins where its run does.
        if (wordStart == from && from > start) wordStart = WordRunEnd(from, false);
    }
    qsizetype wordEnd = wordStart;
    if (wordEnd < to && IsWordSeparator(at(wordEnd))) {
        while (wordEnd < to && IsWordSeparator(at(wordEnd))) ++wordEnd;
    } else {
        while (wordEnd < to && !at(wordEnd).isSpace() && !IsWordSeparator(at(wordEnd))) ++wordEnd;
        if (wordEnd == to && to < end) wordEnd = WordRunEnd(to, true);
    }
    return {wordStart, wordEnd};
}
