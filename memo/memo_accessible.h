// The memo for screen readers: Qt's accessible text and editable-text
// interfaces over the memo's one text. Offsets count the text as held, lines
// joined by LF; no query copies more of it than it returns, plus a few
// thousand characters around the offset.
#pragma once

#include <QAccessibleWidget>

class Memo;

class MemoAccessible : public QAccessibleWidget,
                       public QAccessibleTextInterface,
                       public QAccessibleEditableTextInterface {
public:
    explicit MemoAccessible(Memo* memo);

    // An editable, multi-line text; the rest of the state is the widget's.
    [[nodiscard]] QAccessible::State state() const override;
    // The Value is the whole text, lines joined by LF; the rest is the widget's.
    [[nodiscard]] QString text(QAccessible::Text kind) const override;
    // The text and editable-text interfaces are this object.
    void* interface_cast(QAccessible::InterfaceType type) override;

    // The one selection runs from the anchor to the caret.
    void selection(int selectionIndex, int* startOffset, int* endOffset) const override;
    [[nodiscard]] int selectionCount() const override;
    // Replaces the one selection: the anchor goes to startOffset, the caret to endOffset.
    void addSelection(int startOffset, int endOffset) override;
    // Drops the selection and keeps the caret where it is.
    void removeSelection(int selectionIndex) override;
    // The same as addSelection, for the selection numbered 0.
    void setSelection(int selectionIndex, int startOffset, int endOffset) override;
    [[nodiscard]] int cursorPosition() const override;
    // Moves the caret there and drops the selection.
    void setCursorPosition(int position) override;

    // The characters between the two offsets, whichever comes first.
    [[nodiscard]] QString text(int startOffset, int endOffset) const override;
    // The item (character, word, sentence, paragraph, display line or all)
    // before, at and after offset, with where it starts and ends.
    [[nodiscard]] QString textBeforeOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                                           int* startOffset, int* endOffset) const override;
    [[nodiscard]] QString textAfterOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                                          int* startOffset, int* endOffset) const override;
    [[nodiscard]] QString textAtOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                                       int* startOffset, int* endOffset) const override;
    [[nodiscard]] int characterCount() const override;

    // The box of the character at offset, in screen coordinates.
    [[nodiscard]] QRect characterRect(int offset) const override;
    // The position nearest a screen point in the text area, or -1 outside it.
    [[nodiscard]] int offsetAtPoint(const QPoint& point) const override;
    // Scrolls so that the start of the range is in view.
    void scrollToSubstring(int startIndex, int endIndex) override;
    // Plain text has no attributes: an empty string for the whole text.
    [[nodiscard]] QString attributes(int offset, int* startOffset, int* endOffset) const override;

    // Each of these is one edit that the memo's undo takes back.
    void deleteText(int startOffset, int endOffset) override;
    void insertText(int offset, const QString& text) override;
    void replaceText(int startOffset, int endOffset, const QString& text) override;

private:
    // Characters from Start up to End.
    struct Span {
        qsizetype Start = 0;
        qsizetype End = 0;
        bool operator==(const Span&) const = default;
    };

    [[nodiscard]] Memo* TheMemo() const;
    [[nodiscard]] qsizetype Clamp(int offset) const;
    [[nodiscard]] Span ItemAt(qsizetype position, QAccessible::TextBoundaryType type) const;
    [[nodiscard]] Span WordAt(qsizetype position) const;
    [[nodiscard]] QString TextOf(Span span, int* startOffset, int* endOffset) const;
};

// Makes Qt ask for the memo's accessible interface; safe to call often.
void InstallMemoAccessibility();
