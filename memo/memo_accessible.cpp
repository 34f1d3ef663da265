// MemoAccessible: the accessible interface of a Memo. Items (characters,
// words, sentences, paragraphs) are found by QTextBoundaryFinder in a stretch
// of the text around the offset; display lines come from the memo's wrap.
#include "memo_accessible.h"

#include <QTextBoundaryFinder>

#include <algorithm>
#include <climits>
#include <cstdlib>

#include "memo.h"

namespace {

// Items are looked for in the cells of this many characters before, at and
// after the offset's. An item longer than a cell (a paragraph of a hundred
// megabytes, a sentence without a full stop) is read in pieces cut at the
// cell borders, so that every offset of a piece finds the same piece.
constexpr qsizetype kCell = 4096;

bool IsBlank(QChar c) { return c.isSpace() && c != u'\n'; }

QChar CharAt(const Memo& memo, qsizetype position) { return memo.Mid(position, 1).at(0); }

bool IsParagraphEnd(const Memo& memo, qsizetype position) {
    return position >= memo.Length() || CharAt(memo, position) == u'\n';
}

// The text around a position, and as much of its paragraph as it shows.
struct Stretch {
    qsizetype From = 0;
    QString Text;
    qsizetype ParagraphStart = 0;
    qsizetype ParagraphEnd = 0;
    bool StartKnown = false;  // whether ParagraphStart is where the paragraph starts
    bool EndKnown = false;

    [[nodiscard]] QChar At(qsizetype position) const { return Text.at(position - From); }
    [[nodiscard]] QString Paragraph() const {
        return Text.mid(ParagraphStart - From, ParagraphEnd - ParagraphStart);
    }
};

Stretch Around(const Memo& memo, qsizetype position) {
    const qsizetype length = memo.Length();
    const qsizetype cell = position / kCell * kCell;
    Stretch stretch;
    stretch.From = std::max<qsizetype>(0, cell - kCell);
    const qsizetype to = std::min(length, cell + 2 * kCell);
    stretch.Text = memo.Mid(stretch.From, to - stretch.From);
    const qsizetype at = position - stretch.From;
    const qsizetype before = at > 0 ? stretch.Text.lastIndexOf(u'\n', at - 1) : -1;
    const qsizetype after = stretch.Text.indexOf(u'\n', at);
    stretch.ParagraphStart = before >= 0 ? stretch.From + before + 1 : stretch.From;
    stretch.StartKnown = before >= 0 || stretch.From == 0;
    stretch.ParagraphEnd = after >= 0 ? stretch.From + after : to;
    stretch.EndKnown = after >= 0 || to == length;
    return stretch;
}

// start..end, or the piece of it in position's cell where it is longer than
// a cell or its ends lie outside the stretch.
std::pair<qsizetype, qsizetype> Cut(qsizetype start, bool startKnown, qsizetype end, bool endKnown,
                                    qsizetype position) {
    if (startKnown && endKnown && end - start <= kCell) return {start, end};
    const qsizetype cell = position / kCell * kCell;
    return {std::max(start, cell), std::min(end, cell + kCell)};
}

// The finder's item that holds the character at position, which lies inside
// the stretch's paragraph.
std::pair<qsizetype, qsizetype> Segment(const Stretch& stretch,
                                        QTextBoundaryFinder::BoundaryType type,
                                        qsizetype position) {
    const QString paragraph = stretch.Paragraph();
    const qsizetype at = position - stretch.ParagraphStart;
    QTextBoundaryFinder finder(type, paragraph);
    finder.setPosition(at);
    const qsizetype start =
        finder.isAtBoundary() ? at : std::max<qsizetype>(0, finder.toPreviousBoundary());
    finder.setPosition(at);
    qsizetype end = finder.toNextBoundary();
    if (end < 0) end = paragraph.size();
    return Cut(stretch.ParagraphStart + start, start > 0 || stretch.StartKnown,
               stretch.ParagraphStart + end, end < paragraph.size() || stretch.EndKnown, position);
}

// The first position at or after position that is not a blank, or the end.
qsizetype SkipBlanks(const Memo& memo, qsizetype position) {
    while (position < memo.Length()) {
        const QString chunk = memo.Mid(position, kCell);
        const auto found = std::find_if_not(chunk.cbegin(), chunk.cend(), IsBlank);
        if (found != chunk.cend()) return position + (found - chunk.cbegin());
        position += chunk.size();
    }
    return memo.Length();
}

QAccessibleInterface* CreateMemoAccessible(const QString& /*key*/, QObject* object) {
    if (auto* memo = qobject_cast<Memo*>(object)) return new MemoAccessible(memo);
    return nullptr;
}

}  // namespace

MemoAccessible::MemoAccessible(Memo* memo) : QAccessibleWidget(memo, QAccessible::EditableText) {}

Memo* MemoAccessible::TheMemo() const { return static_cast<Memo*>(widget()); }

qsizetype MemoAccessible::Clamp(int offset) const {
    return std::clamp<qsizetype>(offset, 0, TheMemo()->Length());
}

QAccessible::State MemoAccessible::state() const {
    QAccessible::State state = QAccessibleWidget::state();
    state.editable = true;
    state.multiLine = true;
    state.selectableText = true;
    return state;
}

QString MemoAccessible::text(QAccessible::Text kind) const {
    if (kind == QAccessible::Value) return TheMemo()->Mid(0, TheMemo()->Length());
    return QAccessibleWidget::text(kind);
}

void* MemoAccessible::interface_cast(QAccessible::InterfaceType type) {
    if (type == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
    if (type == QAccessible::EditableTextInterface) {
        return static_cast<QAccessibleEditableTextInterface*>(this);
    }
    return QAccessibleWidget::interface_cast(type);
}

// ---- caret and selection ------------------------------------------------

void MemoAccessible::selection(int selectionIndex, int* startOffset, int* endOffset) const {
    *startOffset = *endOffset = 0;
    const Memo* memo = TheMemo();
    if (selectionIndex != 0 || memo->CaretPosition() == memo->AnchorPosition()) return;
    *startOffset = static_cast<int>(std::min(memo->CaretPosition(), memo->AnchorPosition()));
    *endOffset = static_cast<int>(std::max(memo->CaretPosition(), memo->AnchorPosition()));
}

int MemoAccessible::selectionCount() const {
    return TheMemo()->CaretPosition() == TheMemo()->AnchorPosition() ? 0 : 1;
}

void MemoAccessible::addSelection(int startOffset, int endOffset) {
    setSelection(0, startOffset, endOffset);
}

void MemoAccessible::removeSelection(int selectionIndex) {
    if (selectionIndex != 0) return;
    const qsizetype caret = TheMemo()->CaretPosition();
    TheMemo()->SetSelection(caret, caret);
}

void MemoAccessible::setSelection(int selectionIndex, int startOffset, int endOffset) {
    if (selectionIndex == 0) TheMemo()->SetSelection(Clamp(startOffset), Clamp(endOffset));
}

int MemoAccessible::cursorPosition() const { return static_cast<int>(TheMemo()->CaretPosition()); }

void MemoAccessible::setCursorPosition(int position) {
    TheMemo()->SetSelection(Clamp(position), Clamp(position));
}

// ---- the text -----------------------------------------------------------

QString MemoAccessible::text(int startOffset, int endOffset) const {
    const qsizetype start = Clamp(startOffset);
    const qsizetype end = Clamp(endOffset);
    return TheMemo()->Mid(std::min(start, end), std::abs(end - start));
}

int MemoAccessible::characterCount() const {
    return static_cast<int>(std::min<qsizetype>(TheMemo()->Length(), INT_MAX));
}

QString MemoAccessible::TextOf(Span span, int* startOffset, int* endOffset) const {
    *startOffset = static_cast<int>(span.Start);
    *endOffset = static_cast<int>(span.End);
    return TheMemo()->Mid(span.Start, span.End - span.Start);
}

MemoAccessible::Span MemoAccessible::WordAt(qsizetype position) const {
    // Words as the finder sees them, but placed the way Qt's own text boxes
    // place them: a blank belongs to the word or punctuation before it, and
    // the end of a paragraph to the word that ends there, if one does.
    const Memo& memo = *TheMemo();
    const bool atEnd = IsParagraphEnd(memo, position);
    if (atEnd && (position == 0 || CharAt(memo, position - 1) == u'\n')) {
        return {position, position};
    }
    const qsizetype anchor = atEnd ? position - 1 : position;
    const Stretch stretch = Around(memo, anchor);
    if (atEnd) {
        QTextBoundaryFinder finder(QTextBoundaryFinder::Word, stretch.Paragraph());
        finder.setPosition(position - stretch.ParagraphStart);
        if (!finder.boundaryReasons().testFlag(QTextBoundaryFinder::EndOfItem)) {
            return {position, position};
        }
    }
    qsizetype last = anchor;
    while (last >= stretch.ParagraphStart && IsBlank(stretch.At(last))) --last;
    if (last < stretch.ParagraphStart) return {position, position};
    const auto [start, end] = Segment(stretch, QTextBoundaryFinder::Word, last);
    return {start, end};
}

MemoAccessible::Span MemoAccessible::ItemAt(qsizetype position,
                                            QAccessible::TextBoundaryType type) const {
    Memo& memo = *TheMemo();
    const qsizetype length = memo.Length();
    switch (type) {
        case QAccessible::CharBoundary: {
            if (position == length) return {length, length};
            if (CharAt(memo, position) == u'\n') return {position, position + 1};
            const auto [start, end] =
                Segment(Around(memo, position), QTextBoundaryFinder::Grapheme, position);
            return {start, end};
        }
        case QAccessible::WordBoundary:
            return WordAt(position);
        case QAccessible::SentenceBoundary:
        case QAccessible::ParagraphBoundary: {
            // The LF that ends a paragraph belongs to it but is not part of its text.
            const bool atEnd = IsParagraphEnd(memo, position);
            if (atEnd && (position == 0 || CharAt(memo, position - 1) == u'\n')) {
                return {position, position};
            }
            const qsizetype anchor = atEnd ? position - 1 : position;
            const Stretch stretch = Around(memo, anchor);
            const auto [start, end] = type == QAccessible::SentenceBoundary
                                          ? Segment(stretch, QTextBoundaryFinder::Sentence, anchor)
                                          : Cut(stretch.ParagraphStart, stretch.StartKnown,
                                                stretch.ParagraphEnd, stretch.EndKnown, anchor);
            return {start, end};
        }
        case QAccessible::LineBoundary: {
            // A line is a display line of the memo; where it was wrapped, the
            // blank it was wrapped at is its last character.
            const qsizetype line = memo.LineOf(position);
            return {memo.LineStart(line), memo.LineEnd(line)};
        }
        case QAccessible::NoBoundary:
            break;
    }
    return {0, length};
}

QString MemoAccessible::textAtOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                                     int* startOffset, int* endOffset) const {
    return TextOf(ItemAt(Clamp(offset), boundaryType), startOffset, endOffset);
}

QString MemoAccessible::textBeforeOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                                         int* startOffset, int* endOffset) const {
    const Span at = ItemAt(Clamp(offset), boundaryType);
    if (at.Start == 0) return TextOf({0, 0}, startOffset, endOffset);
    return TextOf(ItemAt(at.Start - 1, boundaryType), startOffset, endOffset);
}

QString MemoAccessible::textAfterOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                                        int* startOffset, int* endOffset) const {
    const Memo& memo = *TheMemo();
    const Span at = ItemAt(Clamp(offset), boundaryType);
    // The first item from the end of this one on that is not this one again:
    // a paragraph's LF and the blanks after a word give back the item before.
    qsizetype next = at.End;
    while (next <= memo.Length()) {
        const Span item = ItemAt(next, boundaryType);
        if (item.Start >= at.End && item != at) return TextOf(item, startOffset, endOffset);
        const bool blank = boundaryType == QAccessible::WordBoundary && next < memo.Length() &&
                           IsBlank(CharAt(memo, next));
        next = blank ? SkipBlanks(memo, next) : next + 1;
    }
    return TextOf({memo.Length(), memo.Length()}, startOffset, endOffset);
}

// ---- geometry -----------------------------------------------------------

QRect MemoAccessible::characterRect(int offset) const {
    const QRect box = TheMemo()->CharacterRect(Clamp(offset));
    return {TheMemo()->viewport()->mapToGlobal(box.topLeft()), box.size()};
}

int MemoAccessible::offsetAtPoint(const QPoint& point) const {
    QWidget* viewport = TheMemo()->viewport();
    const QPoint local = viewport->mapFromGlobal(point);
    if (!viewport->rect().contains(local)) return -1;
    return static_cast<int>(TheMemo()->CharacterAt(local));
}

void MemoAccessible::scrollToSubstring(int startIndex, int endIndex) {
    TheMemo()->ShowPosition(Clamp(endIndex));
    TheMemo()->ShowPosition(Clamp(startIndex));
}

QString MemoAccessible::attributes(int /*offset*/, int* startOffset, int* endOffset) const {
    *startOffset = 0;
    *endOffset = characterCount();
    return {};
}

// ---- edits --------------------------------------------------------------

void MemoAccessible::deleteText(int startOffset, int endOffset) {
    replaceText(startOffset, endOffset, QString());
}

void MemoAccessible::insertText(int offset, const QString& text) {
    replaceText(offset, offset, text);
}

void MemoAccessible::replaceText(int startOffset, int endOffset, const QString& text) {
    const qsizetype start = Clamp(startOffset);
    const qsizetype end = Clamp(endOffset);
    TheMemo()->ReplaceRange(std::min(start, end), std::max(start, end), text);
}

void InstallMemoAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(&CreateMemoAccessible);
        return true;
    }();
    Q_UNUSED(installed);
}
