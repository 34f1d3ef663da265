// Memo: the text box. The text is TextBuffer's, the display lines
// LineWrap's; this file paints the lines in view and turns keys, mouse,
// clipboard and input methods into caret moves and edits.
#include "memo.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QFontMetricsF>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QScrollBar>
#include <QStyleHints>
#include <QTextBoundaryFinder>
#include <QTextDocumentFragment>
#include <QTextLayout>

#include <algorithm>
#include <cmath>

#include "memo_accessible.h"

namespace {

// The space between the frame and the text, as in Qt's own text boxes.
constexpr int kMargin = 4;
constexpr int kCursorWidth = 1;

// How far around the caret the text is looked at to find the next
// character or word; a word longer than this is crossed in several steps.
constexpr qsizetype kLookAround = 1024;

// text with every line break (CR LF, CR, LF, U+2028, U+2029) as LF.
QString WithLfBreaks(QString text) {
    const auto isOtherBreak = [](QChar c) {
        return c == QLatin1Char('\r') || c == QChar::LineSeparator ||
               c == QChar::ParagraphSeparator;
    };
    if (std::none_of(text.cbegin(), text.cend(), isOtherBreak)) return text;
    QString lines;
    lines.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == QLatin1Char('\r') && i + 1 < text.size() && text[i + 1] == QLatin1Char('\n')) {
            continue;
        }
        lines += isOtherBreak(c) ? QChar(QLatin1Char('\n')) : c;
    }
    return lines;
}

QString MenuText(const char* text, QKeySequence::StandardKey key) {
    QString caption = QCoreApplication::translate("QWidgetTextControl", text);
    const QString shortcut = QKeySequence(key).toString(QKeySequence::NativeText);
    if (!shortcut.isEmpty()) caption += QLatin1Char('\t') + shortcut;
    return caption;
}

}  // namespace

Memo::Memo(QWidget* parent) : QAbstractScrollArea(parent) {
    InstallMemoAccessibility();
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled);
    setAttribute(Qt::WA_KeyCompression, false);
    viewport()->setCursor(Qt::IBeamCursor);
    viewport()->setBackgroundRole(QPalette::Base);
    viewport()->setAutoFillBackground(true);
    // A memo takes no dropped text.
    setAcceptDrops(false);
    viewport()->setAcceptDrops(false);
    Wrap.SetFont(font());
    UpdateScrollRange();
}

Memo::~Memo() = default;

// ---- the text ---------------------------------------------------------

void Memo::SetText(const QString& text) { SetBuffer(TextBuffer(WithLfBreaks(text))); }

void Memo::SetLatin1Text(std::string_view latin1) {
    if (latin1.find('\r') == std::string_view::npos) {
        SetBuffer(TextBuffer::FromLatin1(latin1));
    } else {
        SetText(QString::fromLatin1(latin1.data(), static_cast<qsizetype>(latin1.size())));
    }
}

QString Memo::Text() const {
    // Built in one pass into its final size: the text may be a hundred
    // megabytes, and a second copy of it would double the memory it takes.
    QString text;
    text.reserve(Buffer.Size() + Buffer.LineBreakCount());
    for (qsizetype start = 0;;) {
        const qsizetype end = Buffer.LineEnd(start);
        Buffer.AppendTo(text, start, end - start);
        if (end == Buffer.Size()) return text;
        text += QLatin1String("\r\n");
        start = end + 1;
    }
}

QString Memo::Mid(qsizetype from, qsizetype count) const { return Buffer.Mid(from, count); }

void Memo::Clear() { SetBuffer(TextBuffer()); }

void Memo::ClearAsEdit() {
    if (Buffer.IsEmpty()) return;
    Edit(0, Buffer.Size(), TextBuffer());
}

void Memo::SetBuffer(TextBuffer text) {
    const QString removed = QAccessible::isActive() ? Buffer.ToString() : QString();
    Buffer = std::move(text);
    Wrap.Rewrap();
    Caret = Anchor = 0;
    GoalX = -1;
    UndoSteps.clear();
    RedoSteps.clear();
    StepOpen = false;
    WrapTimer.stop();
    UpdateScrollRange();
    verticalScrollBar()->setValue(0);
    viewport()->update();
    NotifyTextChange(0, removed, Buffer.Size());
}

void Memo::Apply(qsizetype position, qsizetype removed, const TextBuffer& inserted) {
    const QString removedText = QAccessible::isActive() ? Buffer.Mid(position, removed) : QString();
    Wrap.BeforeEdit(position, removed);
    Buffer.Replace(position, removed, inserted);
    Wrap.Update(position, removed, inserted.Size());
    if (Wrap.Complete(0)) WrapTimer.start(0, this);
    UpdateScrollRange();
    viewport()->update();
    NotifyTextChange(position, removedText, inserted.Size());
}

void Memo::Edit(qsizetype from, qsizetype to, TextBuffer text, EditKind kind) {
    if (from == to && text.IsEmpty()) return;
    Step step{from, Buffer.Slice(from, to - from), std::move(text), Anchor, Caret, kind};
    Apply(from, to - from, step.Inserted);
    const qsizetype after = from + step.Inserted.Size();
    RedoSteps.clear();
    Step* last = UndoSteps.empty() || !StepOpen ? nullptr : &UndoSteps.back();
    const bool joins =
        last != nullptr && last->Kind == kind &&
        ((kind == EditKind::Typing && step.Removed.IsEmpty() &&
          last->Position + last->Inserted.Size() == from) ||
         (kind == EditKind::Backspace && last->Position == to) ||
         (kind == EditKind::Delete && last->Position == from));
    if (joins && kind == EditKind::Typing) {
        last->Inserted.Replace(last->Inserted.Size(), 0, step.Inserted);
    } else if (joins && kind == EditKind::Backspace) {
        last->Removed.Replace(0, 0, step.Removed);
        last->Position = from;
    } else if (joins && kind == EditKind::Delete) {
        last->Removed.Replace(last->Removed.Size(), 0, step.Removed);
    } else {
        UndoSteps.push_back(std::move(step));
    }
    StepOpen = kind != EditKind::Other;
    Caret = Anchor = after;
    GoalX = -1;
    ShowCaret();
    NotifyCaret();
}

void Memo::ReplaceRange(qsizetype from, qsizetype to, const QString& text) {
    from = std::clamp<qsizetype>(from, 0, Buffer.Size());
    to = std::clamp<qsizetype>(to, from, Buffer.Size());
    Edit(from, to, TextBuffer(WithLfBreaks(text)));
}

void Memo::Undo() {
    if (UndoSteps.empty()) return;
    Step step = std::move(UndoSteps.back());
    UndoSteps.pop_back();
    Apply(step.Position, step.Inserted.Size(), step.Removed);
    Caret = Anchor = step.Position + step.Removed.Size();
    RedoSteps.push_back(std::move(step));
    StepOpen = false;
    GoalX = -1;
    ShowCaret();
}

void Memo::Redo() {
    if (RedoSteps.empty()) return;
    Step step = std::move(RedoSteps.back());
    RedoSteps.pop_back();
    Apply(step.Position, step.Removed.Size(), step.Inserted);
    Caret = Anchor = step.Position + step.Inserted.Size();
    UndoSteps.push_back(std::move(step));
    StepOpen = false;
    GoalX = -1;
    ShowCaret();
}

QString Memo::SelectedText() const {
    const qsizetype from = std::min(Caret, Anchor);
    return Buffer.Mid(from, std::max(Caret, Anchor) - from);
}

void Memo::DeleteSelection() {
    if (Caret != Anchor) Edit(std::min(Caret, Anchor), std::max(Caret, Anchor), TextBuffer());
}

void Memo::Copy() const {
    if (Caret != Anchor) QGuiApplication::clipboard()->setText(SelectedText());
}

void Memo::Cut() {
    if (Caret == Anchor) return;
    Copy();
    DeleteSelection();
}

void Memo::Paste() { InsertFromMimeData(QGuiApplication::clipboard()->mimeData()); }

void Memo::SelectAll() {
    Anchor = 0;
    MoveCaret(Buffer.Size(), true);
}

void Memo::InsertFromMimeData(const QMimeData* source) {
    if (source == nullptr) return;
    // Content offered only as rich text (from a web page or a word
    // processor) pastes as its plain text; an image in it as nothing.
    QString text = source->text();
    if (text.isEmpty() && source->hasHtml()) {
        text = QTextDocumentFragment::fromHtml(source->html()).toPlainText();
        text.remove(QChar::ObjectReplacementCharacter);
    }
    if (text.isEmpty()) return;
    Edit(std::min(Caret, Anchor), std::max(Caret, Anchor), TextBuffer(WithLfBreaks(text)));
}

// ---- the caret --------------------------------------------------------

void Memo::SetSelection(qsizetype anchor, qsizetype caret) {
    Anchor = std::clamp<qsizetype>(anchor, 0, Buffer.Size());
    MoveCaret(std::clamp<qsizetype>(caret, 0, Buffer.Size()), true);
}

void Memo::MoveCaret(qsizetype position, bool keepAnchor, bool keepGoalX) {
    const qsizetype oldCaret = Caret;
    const qsizetype oldAnchor = Anchor;
    Caret = std::clamp<qsizetype>(position, 0, Buffer.Size());
    if (!keepAnchor) Anchor = Caret;
    if (!keepGoalX) GoalX = -1;
    ShowCaret();
    if (Caret != oldCaret || Anchor != oldAnchor) {
        viewport()->update();
        NotifyCaret();
    }
}

qsizetype Memo::NextCharacter(qsizetype position, bool forward) {
    const qsizetype start = Buffer.LineStart(position);
    const qsizetype end = Buffer.LineEnd(position);
    if (forward && position >= end) return std::min(position + 1, Buffer.Size());
    if (!forward && position <= start) return std::max<qsizetype>(position - 1, 0);
    const qsizetype from = forward ? position : std::max(start, position - kLookAround);
    const qsizetype to = forward ? std::min(end, position + kLookAround) : position;
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, Buffer.Mid(from, to - from));
    finder.setPosition(position - from);
    const qsizetype next = forward ? finder.toNextBoundary() : finder.toPreviousBoundary();
    if (next < 0) return forward ? to : from;
    return from + next;
}

qsizetype Memo::NextWord(qsizetype position, bool forward) {
    // Words as Qt's text layout finds them, in a stretch of the paragraph
    // around the caret.
    const qsizetype start = Buffer.LineStart(position);
    const qsizetype end = Buffer.LineEnd(position);
    if (forward && position >= end) return std::min(position + 1, Buffer.Size());
    if (!forward && position <= start) return std::max<qsizetype>(position - 1, 0);
    qsizetype at = position;
    while (true) {
        const qsizetype from = std::max(start, at - kLookAround);
        const qsizetype to = std::min(end, at + kLookAround);
        QTextLayout layout(Buffer.Mid(from, to - from), font());
        const qsizetype next =
            from + (forward ? layout.nextCursorPosition(static_cast<int>(at - from),
                                                        QTextLayout::SkipWords)
                            : layout.previousCursorPosition(static_cast<int>(at - from),
                                                            QTextLayout::SkipWords));
        // At the edge of the stretch the word may go on.
        const bool atEdge = forward ? (next == to && to < end) : (next == from && from > start);
        if (!atEdge || next == at) return next;
        at = next;
    }
}

qsizetype Memo::LineEndForCaret(qsizetype line) {
    // As in Qt's text boxes: End on a wrapped line stops before the blank
    // where it was wrapped.
    const qsizetype end = Wrap.LineEnd(line);
    if (!Wrap.EndsParagraph(line) && end > Wrap.LineStart(line) && Buffer.At(end - 1) == u' ') {
        return end - 1;
    }
    return end;
}

qsizetype Memo::PositionInLine(qsizetype line, qreal x) {
    QTextLayout layout;
    LayOutLine(layout, line);
    const qsizetype start = Wrap.LineStart(line);
    const qsizetype position = start + layout.lineAt(0).xToCursor(x);
    if (!Wrap.EndsParagraph(line) && position >= Wrap.LineEnd(line)) return LineEndForCaret(line);
    return position;
}

qreal Memo::CaretX(qsizetype position) {
    const qsizetype line = Wrap.LineOf(position);
    QTextLayout layout;
    LayOutLine(layout, line);
    return layout.lineAt(0).cursorToX(static_cast<int>(position - Wrap.LineStart(line)));
}

void Memo::SelectWordAt(qsizetype position) {
    const qsizetype start = Buffer.LineStart(position);
    const qsizetype end = Buffer.LineEnd(position);
    const qsizetype from = std::max(start, position - kLookAround);
    const qsizetype to = std::min(end, position + kLookAround);
    QTextBoundaryFinder finder(QTextBoundaryFinder::Word, Buffer.Mid(from, to - from));
    finder.setPosition(position - from);
    qsizetype wordStart = position;
    qsizetype wordEnd = position;
    if (!finder.boundaryReasons().testFlag(QTextBoundaryFinder::StartOfItem) ||
        finder.boundaryReasons().testFlag(QTextBoundaryFinder::EndOfItem)) {
        if (finder.isAtBoundary() && position > from &&
            finder.boundaryReasons().testFlag(QTextBoundaryFinder::EndOfItem)) {
            wordEnd = position;
            wordStart = from + std::max<qsizetype>(0, finder.toPreviousBoundary());
        } else {
            const qsizetype previous = finder.toPreviousBoundary();
            wordStart = previous < 0 ? from : from + previous;
            finder.setPosition(position - from);
            const qsizetype next = finder.toNextBoundary();
            wordEnd = next < 0 ? to : from + next;
        }
    } else {
        const qsizetype next = finder.toNextBoundary();
        wordEnd = next < 0 ? to : from + next;
    }
    WordAnchorStart = wordStart;
    WordAnchorEnd = wordEnd;
    Anchor = wordStart;
    MoveCaret(wordEnd, true);
}

// ---- keys -------------------------------------------------------------

bool Memo::HandleStandardKey(QKeyEvent* event) {
    using Key = QKeySequence::StandardKey;
    const qsizetype line = Wrap.LineOf(Caret);
    const auto vertical = [&](qsizetype lines, bool keepAnchor) {
        if (GoalX < 0) GoalX = CaretX(Caret);
        const qsizetype target = std::clamp<qsizetype>(line + lines, 0, Wrap.LineCount() - 1);
        qsizetype position = PositionInLine(target, GoalX);
        if (target == line && lines != 0) position = Caret;
        const qreal goal = GoalX;
        MoveCaret(position, keepAnchor, true);
        GoalX = goal;
    };
    const qsizetype page = std::max(1, VisibleLines());
    const auto matches = [event](Key key) { return event->matches(key); };
    const std::array<std::pair<Key, Key>, 8> moves{{
        {Key::MoveToNextChar, Key::SelectNextChar},
        {Key::MoveToPreviousChar, Key::SelectPreviousChar},
        {Key::MoveToNextWord, Key::SelectNextWord},
        {Key::MoveToPreviousWord, Key::SelectPreviousWord},
        {Key::MoveToStartOfLine, Key::SelectStartOfLine},
        {Key::MoveToEndOfLine, Key::SelectEndOfLine},
        {Key::MoveToStartOfDocument, Key::SelectStartOfDocument},
        {Key::MoveToEndOfDocument, Key::SelectEndOfDocument},
    }};
    const bool rightToLeft = IsRightToLeft(Caret);
    for (const auto& [plain, select] : moves) {
        const bool keepAnchor = matches(select);
        if (!keepAnchor && !matches(plain)) continue;
        // Right and Left move in the direction they point.
        bool forward = plain == Key::MoveToNextChar || plain == Key::MoveToNextWord;
        if (rightToLeft && (plain == Key::MoveToNextChar || plain == Key::MoveToPreviousChar ||
                            plain == Key::MoveToNextWord || plain == Key::MoveToPreviousWord)) {
            forward = !forward;
        }
        qsizetype target = Caret;
        switch (plain) {
            case Key::MoveToNextChar:
            case Key::MoveToPreviousChar:
                // Without Shift an arrow first ends a selection at its edge.
                if (!keepAnchor && Caret != Anchor) {
                    target = forward ? std::max(Caret, Anchor) : std::min(Caret, Anchor);
                } else {
                    target = NextCharacter(Caret, forward);
                }
                break;
            case Key::MoveToNextWord:
            case Key::MoveToPreviousWord:
                target = NextWord(Caret, forward);
                break;
            case Key::MoveToStartOfLine:
                target = Wrap.LineStart(line);
                break;
            case Key::MoveToEndOfLine:
                target = LineEndForCaret(line);
                break;
            case Key::MoveToStartOfDocument:
                target = 0;
                break;
            default:
                target = Buffer.Size();
                break;
        }
        MoveCaret(target, keepAnchor);
        return true;
    }
    if (matches(Key::MoveToNextLine) || matches(Key::SelectNextLine)) {
        vertical(1, matches(Key::SelectNextLine));
    } else if (matches(Key::MoveToPreviousLine) || matches(Key::SelectPreviousLine)) {
        vertical(-1, matches(Key::SelectPreviousLine));
    } else if (matches(Key::MoveToNextPage) || matches(Key::SelectNextPage)) {
        verticalScrollBar()->setValue(verticalScrollBar()->value() + static_cast<int>(page));
        vertical(page, matches(Key::SelectNextPage));
    } else if (matches(Key::MoveToPreviousPage) || matches(Key::SelectPreviousPage)) {
        verticalScrollBar()->setValue(verticalScrollBar()->value() - static_cast<int>(page));
        vertical(-page, matches(Key::SelectPreviousPage));
    } else if (matches(Key::SelectAll)) {
        SelectAll();
    } else if (matches(Key::Copy)) {
        Copy();
    } else if (matches(Key::Cut)) {
        Cut();
    } else if (matches(Key::Paste)) {
        Paste();
    } else if (matches(Key::Undo)) {
        Undo();
    } else if (matches(Key::Redo)) {
        Redo();
    } else if (matches(Key::DeleteStartOfWord)) {
        if (Caret == Anchor) Anchor = NextWord(Caret, false);
        DeleteSelection();
    } else if (matches(Key::DeleteEndOfWord)) {
        if (Caret == Anchor) Anchor = NextWord(Caret, true);
        DeleteSelection();
    } else if (matches(Key::DeleteEndOfLine)) {
        if (Caret == Anchor) Anchor = LineEndForCaret(line);
        DeleteSelection();
    } else if (matches(Key::InsertParagraphSeparator) || matches(Key::InsertLineSeparator)) {
        // Shift+Return too: a new line, never U+2028 inside one.
        Edit(std::min(Caret, Anchor), std::max(Caret, Anchor), TextBuffer(QStringLiteral("\n")));
    } else if (matches(Key::Delete)) {
        if (Caret != Anchor) {
            DeleteSelection();
        } else if (Caret < Buffer.Size()) {
            Edit(Caret, NextCharacter(Caret, true), TextBuffer(), EditKind::Delete);
        }
    } else if (matches(Key::Backspace)) {
        if (Caret != Anchor) {
            DeleteSelection();
        } else if (Caret > 0) {
            // Backspace takes one character: the last mark of a letter, or
            // both halves of a surrogate pair.
            qsizetype from = Caret - 1;
            if (from > 0 && QChar::isLowSurrogate(Buffer.At(from)) &&
                QChar::isHighSurrogate(Buffer.At(from - 1))) {
                --from;
            }
            Edit(from, Caret, TextBuffer(), EditKind::Backspace);
        }
    } else {
        return false;
    }
    return true;
}

void Memo::keyPressEvent(QKeyEvent* event) {
    // A memo uses Escape itself: it never reaches the window's cancel button.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    const Qt::KeyboardModifiers modifiers =
        event->modifiers() & ~(Qt::KeypadModifier | Qt::ShiftModifier | Qt::GroupSwitchModifier);
    const bool printable = !event->text().isEmpty() && event->text().front().isPrint();
    // Alt+<key> belongs to the window's accelerators, enabled or not.
    if (printable && modifiers == Qt::AltModifier) {
        event->ignore();
        return;
    }
    if (HandleStandardKey(event)) {
        event->accept();
        return;
    }
    if (printable && (modifiers == Qt::NoModifier ||
                      modifiers == (Qt::ControlModifier | Qt::AltModifier))) {
        Edit(std::min(Caret, Anchor), std::max(Caret, Anchor), TextBuffer(event->text()),
             EditKind::Typing);
        event->accept();
        return;
    }
    event->ignore();
}

bool Memo::event(QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride) {
        // The keys of a text box are the memo's, not the window's shortcuts.
        auto* key = static_cast<QKeyEvent*>(event);
        const Qt::KeyboardModifiers modifiers = key->modifiers() & ~(Qt::KeypadModifier | Qt::ShiftModifier);
        const bool typed = !key->text().isEmpty() && key->text().front().isPrint() &&
                           (modifiers == Qt::NoModifier);
        using Key = QKeySequence::StandardKey;
        for (const Key standard :
             {Key::Copy, Key::Cut, Key::Paste, Key::Undo, Key::Redo, Key::SelectAll,
              Key::MoveToNextChar, Key::MoveToPreviousChar, Key::MoveToNextWord,
              Key::MoveToPreviousWord, Key::MoveToStartOfLine, Key::MoveToEndOfLine,
              Key::MoveToStartOfDocument, Key::MoveToEndOfDocument, Key::Delete,
              Key::DeleteStartOfWord, Key::DeleteEndOfWord, Key::DeleteEndOfLine}) {
            if (key->matches(standard)) {
                event->accept();
                return true;
            }
        }
        if (typed) {
            event->accept();
            return true;
        }
    }
    return QAbstractScrollArea::event(event);
}

void Memo::inputMethodEvent(QInputMethodEvent* event) {
    if (!event->commitString().isEmpty() || event->replacementLength() > 0) {
        qsizetype from = std::min(Caret, Anchor);
        qsizetype to = std::max(Caret, Anchor);
        if (event->replacementLength() > 0 || event->replacementStart() != 0) {
            from = std::clamp<qsizetype>(Caret + event->replacementStart(), 0, Buffer.Size());
            to = std::clamp<qsizetype>(from + event->replacementLength(), from, Buffer.Size());
        }
        Edit(from, to, TextBuffer(WithLfBreaks(event->commitString())), EditKind::Typing);
    }
    Preedit = event->preeditString();
    PreeditCaret = static_cast<int>(Preedit.size());
    for (const QInputMethodEvent::Attribute& attribute : event->attributes()) {
        if (attribute.type == QInputMethodEvent::Cursor) PreeditCaret = attribute.start;
    }
    viewport()->update();
    event->accept();
}

QVariant Memo::inputMethodQuery(Qt::InputMethodQuery query) const {
    auto* self = const_cast<Memo*>(this);
    // The surrounding text is the caret's paragraph, or a stretch of it.
    const qsizetype start = std::max(Buffer.LineStart(Caret), Caret - kLookAround);
    const qsizetype end = std::min(Buffer.LineEnd(Caret), Caret + kLookAround);
    switch (query) {
        case Qt::ImEnabled:
            return true;
        case Qt::ImHints:
            return static_cast<int>(Qt::ImhMultiLine);
        case Qt::ImFont:
            return font();
        case Qt::ImCursorRectangle:
            return QRectF(self->CharacterRect(Caret).translated(viewport()->pos()));
        case Qt::ImCursorPosition:
            return static_cast<int>(Caret - start);
        case Qt::ImAnchorPosition:
            return static_cast<int>(std::clamp(Anchor, start, end) - start);
        case Qt::ImSurroundingText:
            return Buffer.Mid(start, end - start);
        case Qt::ImCurrentSelection:
            return SelectedText();
        case Qt::ImAbsolutePosition:
            return static_cast<qlonglong>(Caret);
        default:
            return QAbstractScrollArea::inputMethodQuery(query);
    }
}

// ---- mouse ------------------------------------------------------------

void Memo::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::MiddleButton) {
        // Pastes the primary selection, where the platform has one.
        QClipboard* clipboard = QGuiApplication::clipboard();
        if (clipboard->supportsSelection()) {
            MoveCaret(PositionAt(event->position().toPoint()), false);
            InsertFromMimeData(clipboard->mimeData(QClipboard::Selection));
        }
        return;
    }
    if (event->button() != Qt::LeftButton) return;
    const qsizetype position = PositionAt(event->position().toPoint());
    Selecting = true;
    SelectingWords = false;
    MoveCaret(position, event->modifiers().testFlag(Qt::ShiftModifier));
}

void Memo::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    Selecting = true;
    SelectingWords = true;
    SelectWordAt(PositionAt(event->position().toPoint()));
}

void Memo::mouseMoveEvent(QMouseEvent* event) {
    if (!Selecting || !(event->buttons() & Qt::LeftButton)) return;
    DragPoint = event->position().toPoint();
    const bool outside = DragPoint.y() < 0 || DragPoint.y() > viewport()->height();
    if (outside && !AutoScrollTimer.isActive()) AutoScrollTimer.start(50, this);
    if (!outside) AutoScrollTimer.stop();
    const qsizetype position = PositionAt(DragPoint);
    if (SelectingWords) {
        // Dragging after a double click selects whole words.
        if (position < WordAnchorStart) {
            Anchor = WordAnchorEnd;
            MoveCaret(NextWord(position + 1, false), true);
        } else {
            Anchor = WordAnchorStart;
            MoveCaret(std::max(WordAnchorEnd, position), true);
        }
        return;
    }
    MoveCaret(position, true);
}

void Memo::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    Selecting = false;
    AutoScrollTimer.stop();
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (Caret != Anchor && clipboard->supportsSelection()) {
        clipboard->setText(SelectedText(), QClipboard::Selection);
    }
}

void Memo::contextMenuEvent(QContextMenuEvent* event) {
    QMenu* menu = CreateContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}

QMenu* Memo::CreateContextMenu() {
    // The entries of Qt's own text boxes, in Qt's words and translations.
    auto* menu = new QMenu(this);
    const bool selected = Caret != Anchor;
    const auto add = [&](const char* text, QKeySequence::StandardKey key, bool enabled,
                         auto slot) {
        QAction* action = menu->addAction(MenuText(text, key), this, slot);
        action->setEnabled(enabled);
        action->setObjectName(QString::fromLatin1(text).remove(QLatin1Char('&')));
    };
    add("&Undo", QKeySequence::Undo, IsUndoAvailable(), &Memo::Undo);
    add("&Redo", QKeySequence::Redo, IsRedoAvailable(), &Memo::Redo);
    menu->addSeparator();
    add("Cu&t", QKeySequence::Cut, selected, &Memo::Cut);
    add("&Copy", QKeySequence::Copy, selected, &Memo::Copy);
    const QMimeData* clipboard = QGuiApplication::clipboard()->mimeData();
    add("&Paste", QKeySequence::Paste,
        clipboard != nullptr && (clipboard->hasText() || clipboard->hasHtml()), &Memo::Paste);
    add("Delete", QKeySequence::UnknownKey, selected, &Memo::DeleteSelection);
    menu->addSeparator();
    add("Select All", QKeySequence::SelectAll, !Buffer.IsEmpty(), &Memo::SelectAll);
    return menu;
}

// ---- view -------------------------------------------------------------

qreal Memo::LineHeight() const { return QFontMetricsF(font()).height(); }

qreal Memo::TextWidth() const { return viewport()->width() - 2 * kMargin - kCursorWidth; }

int Memo::TopLine() const { return verticalScrollBar()->value(); }

int Memo::VisibleLines() const {
    return std::max(1, static_cast<int>((viewport()->height() - 2 * kMargin) / LineHeight()));
}

void Memo::UpdateScrollRange() {
    const qsizetype lines = Wrap.LineCount();
    const int visible = VisibleLines();
    verticalScrollBar()->setRange(
        0, static_cast<int>(std::clamp<qsizetype>(lines - visible, 0, INT_MAX)));
    verticalScrollBar()->setPageStep(visible);
    verticalScrollBar()->setSingleStep(1);
}

void Memo::ShowPosition(qsizetype position) {
    const qsizetype line = Wrap.LineOf(position);
    const int top = TopLine();
    const int visible = VisibleLines();
    if (line < top) {
        verticalScrollBar()->setValue(static_cast<int>(line));
    } else if (line >= top + visible) {
        verticalScrollBar()->setValue(static_cast<int>(line - visible + 1));
    }
}

void Memo::ShowCaret() {
    ShowPosition(Caret);
    RestartBlink();
}

void Memo::RestartBlink() {
    CaretShown = true;
    const int flash = QGuiApplication::styleHints()->cursorFlashTime();
    if (hasFocus() && flash > 0) {
        BlinkTimer.start(flash / 2, this);
    } else {
        BlinkTimer.stop();
    }
    viewport()->update();
}

bool Memo::IsRightToLeft(qsizetype position) const {
    // A paragraph takes its direction from its first letters, as in Qt's
    // own text boxes.
    const qsizetype start = Buffer.LineStart(position);
    const qsizetype length = std::min(Buffer.LineEnd(position) - start, kLookAround * 4);
    return Buffer.Mid(start, length).isRightToLeft();
}

void Memo::LayOutLine(QTextLayout& layout, qsizetype line) {
    const qsizetype start = Wrap.LineStart(line);
    const qsizetype end = Wrap.LineEnd(line);
    layout.setText(Buffer.Mid(start, end - start));
    layout.setFont(font());
    QTextOption option;
    option.setWrapMode(QTextOption::NoWrap);
    const bool rightToLeft = IsRightToLeft(start);
    option.setTextDirection(rightToLeft ? Qt::RightToLeft : Qt::LeftToRight);
    option.setAlignment(rightToLeft ? Qt::AlignRight : Qt::AlignLeft);
    layout.setTextOption(option);
    if (!Preedit.isEmpty() && Wrap.LineOf(Caret) == line) {
        layout.setPreeditArea(static_cast<int>(Caret - start), Preedit);
    }
    layout.beginLayout();
    QTextLine textLine = layout.createLine();
    textLine.setLineWidth(TextWidth());
    textLine.setPosition(QPointF(0, 0));
    layout.endLayout();
}

QRect Memo::CharacterRect(qsizetype position) {
    const qsizetype line = Wrap.LineOf(position);
    QTextLayout layout;
    LayOutLine(layout, line);
    const QTextLine textLine = layout.lineAt(0);
    const int offset = static_cast<int>(position - Wrap.LineStart(line));
    const qreal x = textLine.cursorToX(offset);
    const qreal next = offset < layout.text().size() ? textLine.cursorToX(offset + 1) : x + 1;
    const qreal y = kMargin + static_cast<qreal>(line - TopLine()) * LineHeight();
    return QRectF(kMargin + std::min(x, next), y, std::max<qreal>(1, std::abs(next - x)),
                  LineHeight())
        .toAlignedRect();
}

qsizetype Memo::PositionAt(QPoint point) {
    const auto row = static_cast<qsizetype>(std::floor((point.y() - kMargin) / LineHeight()));
    const qsizetype line = std::clamp<qsizetype>(TopLine() + row, 0, Wrap.LineCount() - 1);
    return PositionInLine(line, point.x() - kMargin);
}

void Memo::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    painter.setClipRect(event->rect());
    const qsizetype top = TopLine();
    const qsizetype last = std::min(Wrap.LineCount() - 1, top + VisibleLines() + 1);
    const qsizetype caretLine = Wrap.LineOf(Caret);
    const qsizetype selectionStart = std::min(Caret, Anchor);
    const qsizetype selectionEnd = std::max(Caret, Anchor);
    QTextCharFormat selectedFormat;
    selectedFormat.setBackground(palette().brush(QPalette::Highlight));
    selectedFormat.setForeground(palette().brush(QPalette::HighlightedText));
    painter.setPen(palette().color(QPalette::Text));
    for (qsizetype line = top; line <= last; ++line) {
        QTextLayout layout;
        LayOutLine(layout, line);
        const qsizetype start = Wrap.LineStart(line);
        const qsizetype end = Wrap.LineEnd(line);
        QList<QTextLayout::FormatRange> selections;
        if (selectionStart < end && selectionEnd > start) {
            const qsizetype from = std::max(selectionStart, start);
            const qsizetype to = std::min(selectionEnd, end);
            selections.append({static_cast<int>(from - start), static_cast<int>(to - from),
                               selectedFormat});
        }
        const QPointF origin(kMargin, kMargin + static_cast<qreal>(line - top) * LineHeight());
        layout.draw(&painter, origin, selections);
        if (line == caretLine && hasFocus() && (CaretShown || !Preedit.isEmpty())) {
            const int offset =
                static_cast<int>(Caret - start) + (Preedit.isEmpty() ? 0 : PreeditCaret);
            layout.drawCursor(&painter, origin, offset, kCursorWidth);
        }
    }
}

void Memo::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    Wrap.SetWidth(TextWidth());
    UpdateScrollRange();
}

void Memo::changeEvent(QEvent* event) {
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        Wrap.SetFont(font());
        UpdateScrollRange();
    }
}

void Memo::scrollContentsBy(int /*dx*/, int /*dy*/) { viewport()->update(); }

void Memo::focusInEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusInEvent(event);
    RestartBlink();
    update();
}

void Memo::focusOutEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusOutEvent(event);
    BlinkTimer.stop();
    viewport()->update();
    update();
}

void Memo::timerEvent(QTimerEvent* event) {
    if (event->timerId() == BlinkTimer.timerId()) {
        CaretShown = !CaretShown;
        viewport()->update();
    } else if (event->timerId() == AutoScrollTimer.timerId()) {
        const int step = DragPoint.y() < 0 ? -1 : 1;
        verticalScrollBar()->setValue(verticalScrollBar()->value() + step);
        MoveCaret(PositionAt(DragPoint), true);
    } else if (event->timerId() == WrapTimer.timerId()) {
        // Lines an edit left for later are wrapped in slices while idle.
        constexpr qsizetype kSlice = 20000;
        if (!Wrap.Complete(kSlice)) WrapTimer.stop();
        UpdateScrollRange();
    } else {
        QAbstractScrollArea::timerEvent(event);
    }
}

// ---- screen readers ---------------------------------------------------

void Memo::NotifyTextChange(qsizetype position, const QString& removed, qsizetype added) {
    if (!QAccessible::isActive()) return;
    const QString inserted = Buffer.Mid(position, added);
    if (removed.isEmpty() && inserted.isEmpty()) return;
    if (removed.isEmpty()) {
        QAccessibleTextInsertEvent insert(this, static_cast<int>(position), inserted);
        QAccessible::updateAccessibility(&insert);
    } else if (inserted.isEmpty()) {
        QAccessibleTextRemoveEvent remove(this, static_cast<int>(position), removed);
        QAccessible::updateAccessibility(&remove);
    } else {
        QAccessibleTextUpdateEvent update(this, static_cast<int>(position), removed, inserted);
        QAccessible::updateAccessibility(&update);
    }
}

void Memo::NotifyCaret() {
    if (!QAccessible::isActive()) return;
    if (Caret != Anchor) {
        QAccessibleTextSelectionEvent selection(this, static_cast<int>(std::min(Caret, Anchor)),
                                                static_cast<int>(std::max(Caret, Anchor)));
        selection.setCursorPosition(static_cast<int>(Caret));
        QAccessible::updateAccessibility(&selection);
    }
    QAccessibleTextCursorEvent cursor(this, static_cast<int>(Caret));
    QAccessible::updateAccessibility(&cursor);
}
