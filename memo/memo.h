// Memo: a multi-line, editable, word-wrapped text box with a vertical scroll
// bar, for texts of any size. It holds its text once (TextBuffer); display
// lines exist only as LineWrap's starts, and only the lines in view are laid
// out and painted. Nothing that reads the text (Text(), the clipboard, undo,
// the accessible text) ever sees a display line. Where the caret goes over
// the text is CaretMoves', how a display line is laid out and where in it
// a point falls is LineLayout's; the widget holds the caret, the selection,
// the scroll position and the preedit text, and turns events into their calls.
//
// It does what a plain text box does with keys, mouse, clipboard, undo,
// context menu and input methods; beyond that, Tab moves the focus, Escape
// and Return stay inside, Alt+<key> passes to the window, rich text pastes as
// plain text and dropped text is refused.
#pragma once

#include <QAbstractScrollArea>
#include <QBasicTimer>

#include <optional>
#include <string_view>
#include <vector>

#include "line_wrap.h"
#include "text_buffer.h"
#include "undo_history.h"

class CaretMoves;
class LineLayout;
class QMenu;
class QMimeData;

class Memo : public QAbstractScrollArea {
    Q_OBJECT

public:
    explicit Memo(QWidget* parent = nullptr);
    ~Memo() override;

    // Replaces the whole text; CR LF, CR, LF, U+2028 and U+2029 start a new
    // line. Not an edit: the undo history starts anew.
    void SetText(const QString& text);
    // The same for Windows-1252 bytes, which the memo holds as they are
    // (see TextBuffer's one-byte form): the bytes taken over, or the bytes
    // themselves, which then must stay alive and unchanged until the memo's
    // text is replaced (SetText, Clear and the like), as the memo and its
    // undo steps read them until then.
    void SetWindows1252Text(std::string&& bytes);
    void ShowWindows1252Bytes(std::string_view bytes);

    // The whole text, its lines joined by CR LF.
    [[nodiscard]] QString Text() const;
    // Calls visit(piece) for the pieces of the whole text in order, as they
    // are held (lines joined by LF), without a copy; a piece is valid until
    // the memo changes.
    template <class Visitor>
    void ReadPieces(Visitor&& visit) const {
        Buffer.ForEachPiece(0, Buffer.Size(), visit);
    }

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

    // Replaces the characters from from to to by text, as one edit; the
    // caret and the anchor stay with the text around them.
    void ReplaceRange(qsizetype from, qsizetype to, const QString& text);

    // The display line holding position, and where its characters start and end.
    [[nodiscard]] qsizetype LineOf(qsizetype position) { return Wrap.LineOf(position); }
    [[nodiscard]] qsizetype LineStart(qsizetype line) { return Wrap.LineStart(line); }
    [[nodiscard]] qsizetype LineEnd(qsizetype line) { return Wrap.LineEnd(line); }

    // The box of the character at position, in the viewport's coordinates,
    // and the position nearest a point there.
    [[nodiscard]] QRect CharacterRect(qsizetype position);
    [[nodiscard]] qsizetype PositionAt(QPoint point);
    // The character a point in the viewport falls on.
    [[nodiscard]] qsizetype CharacterAt(QPoint point);
    // The caret's box, at the cursor of a preedit text where there is one.
    [[nodiscard]] QRectF CaretRect();
    // Scrolls so that position is in view.
    void ShowPosition(qsizetype position);

    [[nodiscard]] bool IsUndoAvailable() const { return History.CanUndo(); }
    [[nodiscard]] bool IsRedoAvailable() const { return History.CanRedo(); }

    void Undo();
    void Redo();
    void Cut();
    void Copy();
    void Paste();
    void SelectAll();

    [[nodiscard]] QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;
    // The same, for a query that comes with an argument (the text before
    // or after the caret: how many characters at least).
    Q_INVOKABLE [[nodiscard]] QVariant inputMethodQuery(Qt::InputMethodQuery query,
                                                        const QVariant& argument) const;

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
    using EditKind = UndoHistory::EditKind;

    // Takes a step back or makes it again, as the history says.
    void ApplyChange(const std::optional<UndoHistory::Change>& change);
    void SetBuffer(TextBuffer text);
    // Replaces the text by bytes in the one-byte form, made into a text by
    // make unless they hold a CR, which starts a line as in SetText.
    template <class Make>
    void SetOneByteText(std::string_view bytes, Make make);
    // Replaces from to to by text, records it for undo (joined to the step
    // before it where the kind allows), and puts the caret after it.
    void Edit(qsizetype from, qsizetype to, TextBuffer text, EditKind kind = EditKind::Other);
    // The same, the caret and the anchor put at caret and anchor.
    void EditPlacing(qsizetype from, qsizetype to, TextBuffer text, EditKind kind, qsizetype caret,
                     qsizetype anchor);
    // The same, the caret and the anchor staying with the text around them.
    void ReplaceAround(qsizetype from, qsizetype to, TextBuffer text,
                       EditKind kind = EditKind::Other);
    // Replaces without recording; the caret goes to caret.
    void Apply(qsizetype position, const TextBuffer& removed, const TextBuffer& inserted);
    class LongEdit;
    void InsertFromMimeData(const QMimeData* source);
    // Replaces the selection by text, as one edit.
    void ReplaceSelection(TextBuffer text, EditKind kind = EditKind::Other);
    [[nodiscard]] QString SelectedText() const;
    // Makes the selection the primary selection, where the platform has one.
    class SelectionData;
    void OfferSelection();
    void DeleteSelection();

    // Moves the caret; with keepAnchor the selection grows or shrinks.
    void MoveCaret(qsizetype position, bool keepAnchor, bool keepGoalX = false);
    // Selects the word at position, as a double click does.
    void SelectWordAt(qsizetype position);
    // Shift+click after a double click: the selection grows by words
    // towards position, which x in the line falls near.
    void ExtendByWords(qsizetype position, qreal x);
    // Where the caret goes over the text as it is now.
    [[nodiscard]] CaretMoves Moves() const;
    // The display lines as they are laid out now, with the preedit text at the caret.
    [[nodiscard]] LineLayout Lines() const;
    // Up, Down and the page keys: to line, at the x the first of them kept.
    void MoveToLine(qsizetype line, bool keepAnchor);
    void MovePage(bool down, bool keepAnchor);
    bool HandleStandardKey(QKeyEvent* event);
    // Whether the key types its text rather than being a shortcut.
    [[nodiscard]] static bool TypesText(const QKeyEvent* event);

    [[nodiscard]] int TopLine() const;
    // The display line a point in the viewport lies in, which may be past
    // the last.
    [[nodiscard]] qsizetype LineAt(QPoint point) const;
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
    // Tells input methods and screen readers where the caret went; the
    // latter of the selection too unless selectionNews is false.
    void NotifyCaret(bool selectionNews = true);
    void NotifySelection();
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
    UndoHistory History;
    int LongEditDepth = 0;

    QString Preedit;
    int PreeditCaret = 0;
    // The caret and anchor that screen readers were last told of.
    qsizetype NotifiedCaret = 0;
    qsizetype NotifiedAnchor = 0;
    bool CaretShown = false;
    QBasicTimer BlinkTimer;
    QBasicTimer AutoScrollTimer;
    // A click within the double-click interval after a double click, near
    // it, is a third click.
    QBasicTimer TripleClickTimer;
    QPoint TripleClickPoint;
    QPoint DragPoint;
    bool Selecting = false;
    bool SelectingWords = false;
    qsizetype WordAnchorStart = 0;
    qsizetype WordAnchorEnd = 0;
};
