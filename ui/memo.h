// Memo: the window's multi-line text box (TMemo). Editable, wrapped, Tab
// moves the focus, Escape and Return stay inside it, Alt+<key> passes to the
// window, pasted rich text arrives as plain text, dropped text is refused.
// Its text is set, read and emptied only through SetText, Text, Clear and
// ClearAsEdit; QPlainTextEdit's own text members are private here.
//
// Why long lines are handled apart: Qt lays out a paragraph as a whole, and
// the normalised text, the keystream and the result are single paragraphs of
// up to millions of letters; a long run of combining marks is worse still.
// The memo therefore cuts every line longer than kCutLineLength into display
// lines of its width, as the wrap would, each a paragraph of its own that
// continues the line before it; Qt then lays out only the paragraphs in view.
// The mark of such a cut is the character format of the paragraph separator
// before the continuing paragraph, so Qt's undo and redo keep it with the
// separator. Text() and copying join the display lines again, so the cut is
// never seen in the text. Every edit (typing, Return, deleting, pasting,
// cutting) is one undo step that also tidies the display lines it touched:
// a paragraph that grew too long is cut again, and a cut never leaves an
// empty display line that is not in the text.
#pragma once

#include <QPlainTextEdit>

class Memo : public QPlainTextEdit {
    Q_OBJECT

public:
    explicit Memo(QWidget* parent = nullptr);

    // Replaces the whole text; CR LF, CR, LF, U+2028 and U+2029 start a new
    // line. Not an edit: the undo history starts anew.
    void SetText(const QString& text);

    // The whole text, its lines joined by CR LF.
    [[nodiscard]] QString Text() const;

    // Empties the memo. Not an edit: the undo history starts anew.
    void Clear();

    // Empties the memo as one edit that Ctrl+Z undoes.
    void ClearAsEdit();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    [[nodiscard]] bool canInsertFromMimeData(const QMimeData* source) const override;
    void insertFromMimeData(const QMimeData* source) override;
    [[nodiscard]] QMimeData* createMimeDataFromSelection() const override;

private:
    // The text members of QPlainTextEdit, which know nothing of display lines.
    using QPlainTextEdit::appendHtml;
    using QPlainTextEdit::appendPlainText;
    using QPlainTextEdit::clear;
    using QPlainTextEdit::cut;
    using QPlainTextEdit::insertPlainText;
    using QPlainTextEdit::setDocument;
    using QPlainTextEdit::setPlainText;
    using QPlainTextEdit::toPlainText;

    // Lines longer than this are cut into display lines, and a paragraph that
    // grows longer than this is cut again.
    static constexpr int kCutLineLength = 2000;

    // How many characters a display line holds, or 0 where lines are not cut
    // to the width (a font whose characters differ in width, or a memo not
    // yet laid out).
    [[nodiscard]] int CharactersPerLine() const;

    // Runs edit at the caret as one undo step, or as part of the step before
    // it, together with tidying the display lines around the edit. Only for
    // edits made through QTextCursor: inside an undo step Qt's layout does not
    // yet know of the changes, and Qt's own key handling relies on it.
    template <typename Edit>
    void EditStep(Edit edit, bool joinsPreviousStep = false);

    // Runs handler, one of Qt's (keys, mouse, context menu, input method);
    // an edit it made, one undo step of Qt's own, is joined by the tidying of
    // the display lines around the caret.
    template <typename Handler>
    void TidyAfter(Handler handler);

    // Inserts text (lines separated by LF) at cursor, its long lines cut.
    void InsertLines(QTextCursor& cursor, const QString& text);

    // Cuts again the paragraphs from the one before position from to the one
    // after position to that are too long, and removes the cuts next to an
    // empty paragraph.
    void TidyDisplayLines(int from, int to);

    // Return: a new line, or at the start of a display line the cut before it
    // made a line break.
    void InsertLineBreak();

    // Backspace and Delete at a cut delete the character across it, as they
    // would across the wrap of one long paragraph; false elsewhere.
    bool DeleteAcrossCut(int key);

    // The caret and revision after the last typed text, so that typing on
    // where it ended joins its undo step, as Qt joins typed text.
    int TypingEnd = -1;
    int TypingRevision = -1;
};
