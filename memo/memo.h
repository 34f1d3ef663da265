// Memo: a multi-line, editable, word-wrapped text box with a vertical scroll
// bar, for texts of any size. It holds its text once (TextBuffer); display
// lines exist only as LineWrap's starts, and only the lines in view are laid
// out and painted. Nothing that reads the text (Text(), the clipboard, undo,
// the accessible text) ever sees a display line.
//
// It does what a plain text box does with keys, mouse, clipboard, undo,
// context menu and input methods; beyond that, Tab moves the focus, Escape
// and Return stay inside, Alt+<key> passes to the window, rich text pastes as
// plain text and dropped text is refused.
#pragma once

#include <QAbstractScrollArea>
#include <QBasicTimer>

#include <string_view>
#include <vector>

#include "line_wrap.h"
#include "text_buffer.h"

class QMenu;
class QMimeData;
class QTextLayout;
class QTextLine;

class Memo : public QAbstractScrollArea {
    Q_OBJECT

public:
    explicit Memo(QWidget* parent = nullptr);
    ~Memo() override;

    // Replaces the whole text; CR LF, CR, LF, U+2028 and U+2029 start a new
    // line. Not an edit: the undo history starts anew.
    void SetText(const QString& text);
    // The same for Latin-1 bytes, which the memo holds as they are.
    void SetLatin1Text(std::string_view latin1);

    // The whole text, its lines joined by CR LF.
    [[nodiscard]] QString Text() const;
    // The whole text as held, lines joined by LF, without a copy (Latin-1
    // or UTF-16); valid until the memo changes.
    [[nodiscard]] QAnyStringView TextView() const { return Buffer.View(); }

    // Empties the memo. Not an edit: the undo history starts anew.
    void Clear();

    // Empties the memo as one edit that Ctrl+Z undoes.
    void ClearAsEdit();

    // The text as held, lines joined by LF: its length and a piece of it.
    [[nodiscard]] qsizetype Length() const { return Buffer.Size(); }
    [[nodiscard]] QString Mid(qsizetype from, qsizetype count) const;

    // The caret and the other end of the selection.
    [[nodiscard]] qsizetype CaretPosition() const { return Caret; }
    [[nodiscard]] qsizetype AnchorPosition() const { return Anchor; }
    void SetSelection(qsizetype anchor, qsizetype caret);

    // Replaces the characters from from to to by text, as one edit.
    void ReplaceRange(qsizetype from, qsizetype to, const QString& text);

    // The display line holding position, and where its characters start and end.
    [[nodiscard]] qsizetype LineOf(qsizetype position) { return Wrap.LineOf(position); }
    [[nodiscard]] qsizetype LineStart(qsizetype line) { return Wrap.LineStart(line); }
    [[nodiscard]] qsizetype LineEnd(qsizetype line) { return Wrap.LineEnd(line); }

    // The box of the character at position, in the viewport's coordinates,
    // and the position nearest a point there.
    [[nodiscard]] QRect CharacterRect(qsizetype position);
    [[nodiscard]] qsizetype PositionAt(QPoint point);
    // Scrolls so that position is in view.
    void ShowPosition(qsizetype position);

    [[nodiscard]] bool IsUndoAvailable() const { return !UndoSteps.empty(); }
    [[nodiscard]] bool IsRedoAvailable() const { return !RedoSteps.empty(); }

    void Undo();
    void Redo();
    void Cut();
    void Copy();
    void Paste();
    void SelectAll();

    [[nodiscard]] QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;

signals:
    // An edit that may take long on a large text begins and ends: a paste,
    // cut or copy, undo or redo, or taking out a large selection. The two
    // come in pairs that never nest.
    void LongEditStarted();
    void LongEditFinished();

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    // What an undo step undoes: removed was replaced by inserted at position.
    // Typing and single-character removals (Backspace, Delete) join the step
    // before them of their kind where they go on from its end, as in Qt.
    enum class EditKind { Other, Typing, Removal };
    struct Step {
        qsizetype Position = 0;
        TextBuffer Removed;
        TextBuffer Inserted;
        qsizetype AnchorBefore = 0;
        qsizetype CaretBefore = 0;
        EditKind Kind = EditKind::Other;
        qsizetype Insertion = 0;  // the number of the last text it inserted
    };

    // Takes the last step of from back (undo) or makes it again (redo),
    // and hands it to to.
    void ReplayStep(std::vector<Step>& from, std::vector<Step>& to, bool undo);
    void SetBuffer(TextBuffer text);
    // Replaces from to to by text, records it for undo (joined to the step
    // before it where the kind allows), and puts the caret after it.
    void Edit(qsizetype from, qsizetype to, TextBuffer text, EditKind kind = EditKind::Other);
    // Replaces without recording; the caret goes to caret.
    void Apply(qsizetype position, qsizetype removed, const TextBuffer& inserted);
    class LongEdit;
    void InsertFromMimeData(const QMimeData* source);
    // Replaces the selection by text, as one edit.
    void ReplaceSelection(TextBuffer text, EditKind kind = EditKind::Other);
    [[nodiscard]] QString SelectedText() const;
    void DeleteSelection();

    // Moves the caret; with keepAnchor the selection grows or shrinks.
    void MoveCaret(qsizetype position, bool keepAnchor, bool keepGoalX = false);
    [[nodiscard]] qsizetype NextCharacter(qsizetype position, bool forward);
    [[nodiscard]] qsizetype NextWord(qsizetype position, bool forward);
    // The step from the end of a paragraph over its line break.
    [[nodiscard]] qsizetype StepOverLineBreak(qsizetype position, bool forward) const;
    [[nodiscard]] qsizetype LineEndForCaret(qsizetype line);
    [[nodiscard]] qsizetype PositionInLine(qsizetype line, qreal x);
    [[nodiscard]] qreal CaretX(qsizetype position);
    void SelectWordAt(qsizetype position);
    // Up, Down and the page keys: to line, at the x the first of them kept.
    void MoveToLine(qsizetype line, bool keepAnchor);
    void MovePage(bool down, bool keepAnchor);
    bool HandleStandardKey(QKeyEvent* event);
    // Whether the key types its text rather than being a shortcut.
    [[nodiscard]] static bool TypesText(const QKeyEvent* event);

    // Lays out display line `line` in layout, ready to draw at the line's
    // origin, and returns it; its first character is at head in the layout.
    QTextLine LayOutLine(QTextLayout& layout, qsizetype line, int& head);
    [[nodiscard]] bool IsRightToLeft(qsizetype position) const;
    [[nodiscard]] int TopLine() const;
    void SetTopLine(qsizetype line);
    // The space above the first line in view, and where a line's row starts.
    [[nodiscard]] qreal TopMargin() const;
    [[nodiscard]] qreal RowTop(qsizetype line) const;
    [[nodiscard]] int VisibleLines() const;
    [[nodiscard]] qreal LineHeight() const { return RowHeight; }
    void UpdateLineHeight();
    [[nodiscard]] qreal TextWidth() const;
    void UpdateScrollRange();
    void ShowCaret();
    void RestartBlink();
    void NotifyTextChange(qsizetype position, const QString& removed, qsizetype added);
    void NotifyCaret();
    [[nodiscard]] QMenu* CreateContextMenu();

    TextBuffer Buffer;
    LineWrap Wrap{Buffer};
    qsizetype Caret = 0;
    qsizetype Anchor = 0;
    qreal GoalX = -1;  // where Up and Down keep the caret, or -1
    qreal RowHeight = 1;
    // Where in the view the caret stood when the page keys began.
    qreal PageY = 0;
    bool PageYValid = false;
    std::vector<Step> UndoSteps;
    std::vector<Step> RedoSteps;
    // Whether the next edit may join the last step: not after SetText, nor
    // for a paste or an input method's commit.
    bool StepOpen = false;
    // Counts the edits that inserted text. Typing joins the last step only
    // if nothing else was inserted since, not even text undone since: Qt
    // joins only text stored one piece after the other.
    qsizetype Insertions = 0;
    int LongEditDepth = 0;

    QString Preedit;
    int PreeditCaret = 0;
    bool CaretShown = false;
    QBasicTimer BlinkTimer;
    QBasicTimer AutoScrollTimer;
    QBasicTimer WrapTimer;
    QPoint DragPoint;
    bool Selecting = false;
    bool SelectingWords = false;
    qsizetype WordAnchorStart = 0;
    qsizetype WordAnchorEnd = 0;
};
