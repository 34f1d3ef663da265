// Memo: the text box. The text is TextBuffer's, the display lines
// LineWrap's, where the caret goes CaretMoves' and how a line is laid out
// LineLayout's; this file paints the lines in view, scrolls, and turns keys,
// mouse, clipboard and input methods into caret moves and edits, which it
// tells screen readers of.
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
#include <QTextDocumentFragment>
#include <QTextLayout>

#include <algorithm>
#include <cmath>

#include "caret_moves.h"
#include "line_layout.h"
#include "memo_accessible.h"
#include "memo_text.h"

namespace {

// The space between the frame and the text, as in Qt's own text boxes.
constexpr int kMargin = 4;
constexpr int kCursorWidth = 1;

// A selection at least this long makes its deletion a long edit.
constexpr qsizetype kLongSelection = 1 << 16;

// The standard keys a text box takes before the window's shortcuts.
using Key = QKeySequence::StandardKey;
constexpr Key kTextBoxKeys[] = {
    // Editing.
    Key::Copy, Key::Cut, Key::Paste, Key::Undo, Key::Redo, Key::SelectAll, Key::Delete,
    Key::DeleteStartOfWord, Key::DeleteEndOfWord, Key::DeleteEndOfLine,
    // Moving.
    Key::MoveToNextChar, Key::MoveToPreviousChar, Key::MoveToNextWord, Key::MoveToPreviousWord,
    Key::MoveToStartOfLine, Key::MoveToEndOfLine, Key::MoveToStartOfDocument,
    Key::MoveToEndOfDocument, Key::MoveToNextLine, Key::MoveToPreviousLine, Key::MoveToNextPage,
    Key::MoveToPreviousPage,
    // Selecting.
    Key::SelectNextChar, Key::SelectPreviousChar, Key::SelectNextWord, Key::SelectPreviousWord,
    Key::SelectStartOfLine, Key::SelectEndOfLine, Key::SelectStartOfDocument,
    Key::SelectEndOfDocument, Key::SelectNextLine, Key::SelectPreviousLine, Key::SelectNextPage,
    Key::SelectPreviousPage};

// text with every line break (CR LF, CR, LF, U+2028, U+2029) as LF.
QString WithLfBreaks(QString text) {
    // CR, U+2028 or U+2029; without a branch, and the search without an early
    // exit, so that the compiler turns it into vector instructions.
    const auto isOtherBreak = [](QChar c) {
        return (c.unicode() == u'\r') | ((c.unicode() & 0xFFFE) == QChar::LineSeparator);
    };
    char16_t others = 0;
    for (const QChar c : std::as_const(text)) others |= static_cast<char16_t>(isOtherBreak(c));
    if (others == 0) return text;
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
    UpdateLineHeight();
    UpdateScrollRange();
}

Memo::~Memo() = default;

// ---- the text ---------------------------------------------------------

void Memo::SetText(const QString& text) { SetBuffer(TextBuffer(WithLfBreaks(text))); }

template <class Make>
void Memo::SetOneByteText(std::string_view bytes, Make make) {
    if (bytes.find('\r') == std::string_view::npos) {
        SetBuffer(make());
        return;
    }
    SetText(trithemius::CipherTextToMemoText(bytes));
}

void Memo::SetWindows1252Text(std::string&& bytes) {
    SetOneByteText(bytes, [&bytes] { return TextBuffer::FromOneByte(std::move(bytes)); });
}

void Memo::ShowWindows1252Bytes(std::string_view bytes) {
    SetOneByteText(bytes, [bytes] { return TextBuffer::ViewOfOneByte(bytes); });
}

QString Memo::Text() const {
    // Built in one pass into its final size: the text may be a hundred
    // megabytes, and a second copy of it would double the memory it takes.
    QString text(Buffer.Size() + Buffer.LineBreakCount(), Qt::Uninitialized);
    auto* out = reinterpret_cast<char16_t*>(text.data());
    const auto put = [&out](char16_t c) {
        if (c == u'\n') *out++ = u'\r';
        *out++ = c;
    };
    Buffer.ForEachPiece(0, Buffer.Size(), [&](const TextPiece& piece) {
        if (piece.OneByte) {
            for (const char byte : piece.Bytes) {
                put(trithemius::kOneByteCharacters[static_cast<unsigned char>(byte)]);
            }
        } else {
            for (const char16_t unit : piece.Units) put(unit);
        }
    });
    return text;
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
    PageYValid = false;
    History.Clear();
    Preedit.clear();
    UpdateScrollRange();
    verticalScrollBar()->setValue(0);
    viewport()->update();
    NotifyTextChange(0, removed, Buffer.Size());
    NotifyCaret(false);
}

void Memo::Apply(qsizetype position, const TextBuffer& removed, const TextBuffer& inserted) {
    const QString removedText = QAccessible::isActive() ? removed.ToString() : QString();
    Wrap.BeforeEdit(position, removed);
    Buffer.Replace(position, removed.Size(), inserted);
    Wrap.Update(position, removed.Size(), inserted);
    UpdateScrollRange();
    viewport()->update();
    NotifyTextChange(position, removedText, inserted.Size());
}

void Memo::Edit(qsizetype from, qsizetype to, TextBuffer text, EditKind kind) {
    const qsizetype after = from + text.Size();
    EditPlacing(from, to, std::move(text), kind, after, after);
}

void Memo::EditPlacing(qsizetype from, qsizetype to, TextBuffer text, EditKind kind,
                       qsizetype caret, qsizetype anchor) {
    if (from == to && text.IsEmpty()) return;
    TextBuffer removed = Buffer.Slice(from, to - from);
    Apply(from, removed, text);
    History.Record(from, std::move(removed), std::move(text), kind);
    Caret = caret;
    Anchor = anchor;
    GoalX = -1;
    PageYValid = false;
    ShowCaret();
    NotifyCaret();
}

void Memo::ReplaceRange(qsizetype from, qsizetype to, const QString& text) {
    from = std::clamp<qsizetype>(from, 0, Buffer.Size());
    to = std::clamp<qsizetype>(to, from, Buffer.Size());
    ReplaceAround(from, to, TextBuffer(WithLfBreaks(text)));
}

void Memo::ReplaceAround(qsizetype from, qsizetype to, TextBuffer text, EditKind kind) {
    // As a cursor in Qt's documents: a position in what goes out goes to its
    // start, and one at the place the text goes in moves past it.
    const qsizetype added = text.Size();
    const auto moved = [from, to, added](qsizetype position) {
        if (position < from) return position;
        return std::max(from, position - (to - from)) + added;
    };
    const qsizetype caret = moved(Caret);
    const qsizetype anchor = moved(Anchor);
    EditPlacing(from, to, std::move(text), kind, caret, anchor);
}

// Marks an edit that may take long on a large text, for whoever shows that
// the program is busy; one inside another is part of it.
class Memo::LongEdit {
public:
    explicit LongEdit(Memo* memo, bool isLong = true) : Owner(isLong ? memo : nullptr) {
        if (Owner != nullptr && Owner->LongEditDepth++ == 0) emit Owner->LongEditStarted();
    }
    ~LongEdit() {
        if (Owner != nullptr && --Owner->LongEditDepth == 0) emit Owner->LongEditFinished();
    }
    LongEdit(const LongEdit&) = delete;
    LongEdit& operator=(const LongEdit&) = delete;

private:
    Memo* Owner;
};

void Memo::Undo() {
    const LongEdit busy(this);
    ApplyChange(History.Undo());
    // The input method hears of every try, as in Qt's text boxes.
    updateMicroFocus();
}

void Memo::Redo() {
    const LongEdit busy(this);
    ApplyChange(History.Redo());
    updateMicroFocus();
}

void Memo::ApplyChange(const std::optional<UndoHistory::Change>& change) {
    if (!change) return;
    Apply(change->Position, change->Removed, change->Inserted);
    Caret = Anchor = change->Position + change->Inserted.Size();
    GoalX = -1;
    PageYValid = false;
    ShowCaret();
    NotifyCaret();
}

QString Memo::SelectedText() const {
    const qsizetype from = std::min(Caret, Anchor);
    return Buffer.Mid(from, std::max(Caret, Anchor) - from);
}

void Memo::ReplaceSelection(TextBuffer text, EditKind kind) {
    // Taking out a large selection may take long.
    const LongEdit busy(this, std::abs(Caret - Anchor) >= kLongSelection);
    Edit(std::min(Caret, Anchor), std::max(Caret, Anchor), std::move(text), kind);
}

void Memo::DeleteSelection() {
    if (Caret != Anchor) ReplaceSelection(TextBuffer());
}

void Memo::Copy() {
    if (Caret == Anchor) return;
    const LongEdit busy(this);
    QGuiApplication::clipboard()->setText(SelectedText());
}

void Memo::Cut() {
    if (Caret == Anchor) return;
    const LongEdit busy(this);
    Copy();
    DeleteSelection();
}

void Memo::Paste() { InsertFromMimeData(QGuiApplication::clipboard()->mimeData()); }

void Memo::SelectAll() {
    // As in Qt's text boxes, the view stays where it is.
    GoalX = -1;
    if (Anchor == 0 && Caret == Buffer.Size()) return;
    if (Caret != Buffer.Size()) PageYValid = false;
    Anchor = 0;
    Caret = Buffer.Size();
    RestartBlink();
    NotifyCaret();
    OfferSelection();
}

// The selected text as the primary selection holds it: the pieces, read
// only when another program asks for them, as they were when selected.
class Memo::SelectionData : public QMimeData {
public:
    explicit SelectionData(TextBuffer text) : Text(std::move(text)) {}
    [[nodiscard]] QStringList formats() const override { return {QStringLiteral("text/plain")}; }
    [[nodiscard]] bool hasFormat(const QString& type) const override {
        return type == QLatin1String("text/plain");
    }

protected:
    [[nodiscard]] QVariant retrieveData(const QString& type,
                                        QMetaType /*preferred*/) const override {
        return hasFormat(type) ? QVariant(Text.ToString()) : QVariant();
    }

private:
    TextBuffer Text;
};

void Memo::OfferSelection() {
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (Caret == Anchor || !clipboard->supportsSelection()) return;
    const qsizetype from = std::min(Caret, Anchor);
    clipboard->setMimeData(new SelectionData(Buffer.Slice(from, std::max(Caret, Anchor) - from)),
                           QClipboard::Selection);
}

void Memo::InsertFromMimeData(const QMimeData* source) {
    if (source == nullptr) return;
    const LongEdit busy(this);
    // Content offered only as rich text (from a web page or a word
    // processor) pastes as its plain text; an image in it as nothing.
    QString text = source->text();
    if (text.isEmpty() && source->hasHtml()) {
        text = QTextDocumentFragment::fromHtml(source->html()).toPlainText();
        text.remove(QChar::ObjectReplacementCharacter);
    }
    if (text.isEmpty()) return;
    // A paste is a step of its own, which typing right after it joins, as in Qt.
    History.Close();
    ReplaceSelection(TextBuffer(WithLfBreaks(text)), EditKind::Typing);
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
    if (Caret != oldCaret) PageYValid = false;
    ShowCaret();
    if (Caret != oldCaret || Anchor != oldAnchor) {
        viewport()->update();
        NotifyCaret();
    }
}

void Memo::SelectWordAt(qsizetype position) {
    // The selection then grows by whole words from this one as the mouse drags.
    const auto [wordStart, wordEnd] = Moves().WordAt(position);
    WordAnchorStart = wordStart;
    WordAnchorEnd = wordEnd;
    Anchor = wordStart;
    MoveCaret(wordEnd, true);
}

CaretMoves Memo::Moves() const { return CaretMoves(Buffer, Wrap, font()); }

// ---- keys -------------------------------------------------------------

void Memo::MoveToLine(qsizetype line, bool keepAnchor) {
    // Up, Down and the page keys keep the caret at the x where the first of
    // them found it.
    if (GoalX < 0) GoalX = Lines().CaretX(Caret);
    const qreal goal = GoalX;
    MoveCaret(Lines().PositionInLine(line, goal), keepAnchor, true);
    GoalX = goal;
}

void Memo::MovePage(bool down, bool keepAnchor) {
    // As Qt's plain text box does it: the view scrolls by the lines it
    // shows whole and the caret goes to the first line at or past the
    // height in the view where it stood when the page keys began; at the
    // end of the text it goes to the last line, at the top to the first.
    ShowCaret();
    const qsizetype line = Wrap.LineOf(Caret);
    if (!PageYValid) PageY = RowTop(line);
    const qreal y = PageY;
    const qsizetype last = Wrap.LineCount() - 1;
    const qsizetype top = TopLine();
    const qreal height = viewport()->height();
    qsizetype target = line;
    if (down) {
        const auto rows = static_cast<qsizetype>((height - TopMargin()) / LineHeight());
        if (static_cast<qreal>(last - top + 1) * LineHeight() + kMargin <= height - TopMargin()) {
            target = last;
        } else {
            SetTopLine(top + rows);
            do {
                if (target == last) break;
                ++target;
            } while (RowTop(target) < y);
        }
    } else if (top == 0) {
        target = 0;
    } else {
        SetTopLine(top - static_cast<qsizetype>(height / LineHeight()));
        do {
            if (target == 0) break;
            --target;
        } while (RowTop(target) > y);
    }
    // Where the caret cannot move, Qt leaves it and the selection alone.
    if (target != line) MoveToLine(target, keepAnchor);
    PageY = y;
    PageYValid = true;
}

bool Memo::HandleStandardKey(QKeyEvent* event) {
    const auto matches = [event](Key key) { return event->matches(key); };
    // Every key that deletes starts Up and Down afresh, even where nothing
    // is left to delete, as in Qt's text boxes.
    if (event->key() == Qt::Key_Backspace || matches(Key::Delete) ||
        matches(Key::DeleteStartOfWord) || matches(Key::DeleteEndOfWord) ||
        matches(Key::DeleteEndOfLine)) {
        GoalX = -1;
    }
    // Backspace with or without Shift takes one character back.
    if (event->key() == Qt::Key_Backspace &&
        (event->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier)) == Qt::NoModifier) {
        if (Caret != Anchor) {
            DeleteSelection();
        } else if (Caret > 0) {
            Edit(Moves().BackspaceStart(Caret), Caret, TextBuffer(), EditKind::Removal);
        }
        return true;
    }
    const qsizetype line = Wrap.LineOf(Caret);
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
    for (const auto& [plain, select] : moves) {
        const bool keepAnchor = matches(select);
        if (!keepAnchor && !matches(plain)) continue;
        // Right and Left move in the direction they point.
        bool forward = plain == Key::MoveToNextChar || plain == Key::MoveToNextWord;
        if ((plain == Key::MoveToNextChar || plain == Key::MoveToPreviousChar ||
             plain == Key::MoveToNextWord || plain == Key::MoveToPreviousWord) &&
            Lines().IsRightToLeft(Caret)) {
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
                    target = Moves().NextCharacter(Caret, forward);
                }
                break;
            case Key::MoveToNextWord:
            case Key::MoveToPreviousWord:
                target = Moves().NextWord(Caret, forward);
                break;
            case Key::MoveToStartOfLine:
                target = Wrap.LineStart(line);
                break;
            case Key::MoveToEndOfLine:
                target = Moves().LineEndForCaret(line);
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
    if (matches(Key::MoveToNextLine)) {
        // On the last line Down stays; Shift+Down goes to the end.
        if (line + 1 < Wrap.LineCount()) MoveToLine(line + 1, false);
    } else if (matches(Key::SelectNextLine)) {
        if (line + 1 < Wrap.LineCount()) {
            MoveToLine(line + 1, true);
        } else {
            MoveCaret(Buffer.Size(), true);
        }
    } else if (matches(Key::MoveToPreviousLine)) {
        if (line > 0) MoveToLine(line - 1, false);
    } else if (matches(Key::SelectPreviousLine)) {
        if (line > 0) {
            MoveToLine(line - 1, true);
        } else {
            MoveCaret(0, true);
        }
    } else if (matches(Key::MoveToNextPage) || matches(Key::SelectNextPage)) {
        MovePage(true, matches(Key::SelectNextPage));
    } else if (matches(Key::MoveToPreviousPage) || matches(Key::SelectPreviousPage)) {
        MovePage(false, matches(Key::SelectPreviousPage));
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
        if (Caret == Anchor) Anchor = Moves().NextWord(Caret, false);
        DeleteSelection();
    } else if (matches(Key::DeleteEndOfWord)) {
        if (Caret == Anchor) Anchor = Moves().NextWord(Caret, true);
        DeleteSelection();
    } else if (matches(Key::DeleteEndOfLine)) {
        // To the end of the paragraph, as in Qt's text boxes: just before
        // its last character, that character.
        if (Caret == Anchor) {
            const qsizetype end = Buffer.LineEnd(Caret);
            Anchor = Caret == end - 1 ? Moves().NextCharacter(Caret, true) : end;
        }
        DeleteSelection();
    } else if (matches(Key::InsertParagraphSeparator) || matches(Key::InsertLineSeparator)) {
        // Shift+Return too: a new line, never U+2028 inside one.
        ReplaceSelection(TextBuffer(QStringLiteral("\n")));
    } else if (matches(Key::Delete)) {
        if (Caret != Anchor) {
            DeleteSelection();
        } else if (Caret < Buffer.Size()) {
            Edit(Caret, Moves().NextCharacter(Caret, true), TextBuffer(), EditKind::Removal);
        }
    } else {
        return false;
    }
    return true;
}

bool Memo::TypesText(const QKeyEvent* event) {
    // As in Qt's text boxes: a printable character (an emoji as a surrogate
    // pair too), a format character such as ZWJ or one for private use.
    // With Ctrl it is a shortcut, with Alt the window's; AltGr (Ctrl+Alt)
    // types.
    const QString text = event->text();
    if (text.isEmpty()) return false;
    const Qt::KeyboardModifiers modifiers =
        event->modifiers() & ~(Qt::KeypadModifier | Qt::ShiftModifier | Qt::GroupSwitchModifier);
    if (modifiers != Qt::NoModifier && modifiers != (Qt::ControlModifier | Qt::AltModifier)) {
        return false;
    }
    char32_t c = text.front().unicode();
    if (text.size() > 1 && text[0].isHighSurrogate() && text[1].isLowSurrogate()) {
        c = QChar::surrogateToUcs4(text[0], text[1]);
    }
    const QChar::Category category = QChar::category(c);
    return QChar::isPrint(c) || category == QChar::Other_Format ||
           category == QChar::Other_PrivateUse;
}

void Memo::keyPressEvent(QKeyEvent* event) {
    // A memo uses Escape itself: it never reaches the window's cancel button.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    const Qt::KeyboardModifiers modifiers =
        event->modifiers() & ~(Qt::KeypadModifier | Qt::ShiftModifier | Qt::GroupSwitchModifier);
    // Alt+<key> belongs to the window's accelerators, enabled or not.
    if (modifiers == Qt::AltModifier && !event->text().isEmpty()) {
        event->ignore();
        return;
    }
    if (HandleStandardKey(event)) {
        // A selection made with the keys is the primary selection too.
        if (Caret != Anchor) OfferSelection();
        event->accept();
        return;
    }
    if (TypesText(event)) {
        ReplaceSelection(TextBuffer(event->text()), EditKind::Typing);
        event->accept();
        return;
    }
    event->ignore();
}

bool Memo::event(QEvent* event) {
    if (event->type() == QEvent::InputMethodQuery) {
        // Queries such as the text before the caret come with an argument.
        auto* query = static_cast<QInputMethodQueryEvent*>(event);
        for (int bit = 0; bit < 32; ++bit) {
            const auto asked = static_cast<Qt::InputMethodQuery>(1U << bit);
            if (query->queries() & asked)
                query->setValue(asked, inputMethodQuery(asked, query->value(asked)));
        }
        event->accept();
        return true;
    }
    if (event->type() == QEvent::ShortcutOverride) {
        // The keys of a text box are the memo's, not the window's shortcuts.
        auto* key = static_cast<QKeyEvent*>(event);
        const Qt::KeyboardModifiers modifiers =
            key->modifiers() & ~(Qt::KeypadModifier | Qt::ShiftModifier);
        const bool editing = modifiers == Qt::NoModifier &&
                             (key->key() == Qt::Key_Backspace || key->key() == Qt::Key_Delete ||
                              key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter);
        for (const QKeySequence::StandardKey standard : kTextBoxKeys) {
            if (key->matches(standard)) {
                event->accept();
                return true;
            }
        }
        if (editing || (TypesText(key) && modifiers == Qt::NoModifier)) {
            event->accept();
            return true;
        }
    }
    return QAbstractScrollArea::event(event);
}

void Memo::inputMethodEvent(QInputMethodEvent* event) {
    // As in Qt's text boxes: input that begins over a selection deletes it
    // first, and every commit is an undo step of its own, which typing
    // right after it joins. An event that brings no input and no
    // attributes is not the memo's.
    const bool committing = !event->commitString().isEmpty() || event->replacementLength() > 0;
    const bool input = committing || event->preeditString() != Preedit;
    if (!input && event->attributes().isEmpty()) {
        updateMicroFocus();
        event->ignore();
        return;
    }
    if (input && Caret != Anchor && (!committing || event->replacementLength() > 0)) {
        DeleteSelection();
    }
    if (committing) {
        qsizetype from = std::min(Caret, Anchor);
        qsizetype to = std::max(Caret, Anchor);
        const bool replacing = event->replacementLength() > 0 || event->replacementStart() != 0;
        if (replacing) {
            from = std::clamp<qsizetype>(Caret + event->replacementStart(), 0, Buffer.Size());
            to = std::clamp<qsizetype>(from + event->replacementLength(), from, Buffer.Size());
        }
        TextBuffer text(WithLfBreaks(event->commitString()));
        History.Close();
        if (replacing) {
            ReplaceAround(from, to, std::move(text), EditKind::Typing);
        } else {
            Edit(from, to, std::move(text), EditKind::Typing);
        }
    }
    // A selection is counted from the start of the caret's paragraph.
    for (const QInputMethodEvent::Attribute& attribute : event->attributes()) {
        if (attribute.type != QInputMethodEvent::Selection) continue;
        const qsizetype paragraph = Buffer.LineStart(Caret);
        Anchor = std::clamp<qsizetype>(paragraph + attribute.start, 0, Buffer.Size());
        MoveCaret(paragraph + attribute.start + attribute.length, true);
    }
    if (input) Preedit = event->preeditString();
    PreeditCaret = static_cast<int>(Preedit.size());
    for (const QInputMethodEvent::Attribute& attribute : event->attributes()) {
        if (attribute.type == QInputMethodEvent::Cursor) PreeditCaret = attribute.start;
    }
    viewport()->update();
    updateMicroFocus();
    event->accept();
}

QVariant Memo::inputMethodQuery(Qt::InputMethodQuery query) const {
    return inputMethodQuery(query, QVariant());
}

QVariant Memo::inputMethodQuery(Qt::InputMethodQuery query, const QVariant& argument) const {
    auto* self = const_cast<Memo*>(this);
    // The surrounding text is the caret's paragraph, or a stretch of it.
    const auto [start, end] = Moves().AroundPosition(Caret);
    switch (query) {
        case Qt::ImEnabled:
            return true;
        case Qt::ImHints:
            return static_cast<int>(Qt::ImhMultiLine);
        case Qt::ImFont:
            return font();
        case Qt::ImCursorRectangle:
            return self->CaretRect().translated(viewport()->pos());
        case Qt::ImCursorPosition:
            return static_cast<int>(Caret - start);
        case Qt::ImAnchorPosition:
            // As Qt's text boxes tell it, also where it lies beyond the
            // surrounding text.
            return static_cast<int>(Anchor - start);
        case Qt::ImSurroundingText:
            return Buffer.Mid(start, end - start);
        case Qt::ImCurrentSelection:
            // Paragraphs apart by U+2029, as Qt's text boxes tell them.
            return SelectedText().replace(QLatin1Char('\n'), QChar::ParagraphSeparator);
        case Qt::ImAbsolutePosition:
            return static_cast<qlonglong>(Caret);
        case Qt::ImTextBeforeCursor:
        case Qt::ImTextAfterCursor: {
            // At least as many characters as asked for, 1,024 unless told.
            const qsizetype least = argument.isValid() ? argument.toLongLong() : 1024;
            const auto [from, to] = Moves().AroundCaret(Caret, least);
            return query == Qt::ImTextBeforeCursor ? Buffer.Mid(from, Caret - from)
                                                   : Buffer.Mid(Caret, to - Caret);
        }
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
    if (!Preedit.isEmpty()) {
        // A click ends the composing, as in Qt's text boxes: the input
        // method commits what it has, and what it leaves goes.
        QGuiApplication::inputMethod()->commit();
        Preedit.clear();
        viewport()->update();
    }
    const qsizetype position = PositionAt(event->position().toPoint());
    if (TripleClickTimer.isActive() &&
        (event->position().toPoint() - TripleClickPoint).manhattanLength() <
            QApplication::startDragDistance()) {
        // A third click selects the paragraph with its line break, as in
        // Qt's text boxes.
        TripleClickTimer.stop();
        Selecting = false;
        const qsizetype end = Buffer.LineEnd(position);
        Anchor = Buffer.LineStart(position);
        MoveCaret(end < Buffer.Size() ? end + 1 : end, true);
        return;
    }
    const bool shift = event->modifiers().testFlag(Qt::ShiftModifier);
    Selecting = true;
    if (shift && SelectingWords) {
        ExtendByWords(position, event->position().x() - kMargin);
        return;
    }
    SelectingWords = false;
    const bool selected = Caret != Anchor;
    MoveCaret(position, shift);
    // A click tells of the selection, also of none, as in Qt's text boxes.
    if (!selected && Caret == Anchor) NotifySelection();
}

void Memo::ExtendByWords(qsizetype position, qreal x) {
    // As Qt's text boxes do after a double click: within the word clicked
    // twice the selection is that word; else it reaches to the start or
    // the end of the word clicked, whichever x is nearer, where x falls on
    // that word in one line, and stays as it is where not.
    if (position >= WordAnchorStart && position <= WordAnchorEnd) {
        Anchor = WordAnchorStart;
        MoveCaret(WordAnchorEnd, true);
        return;
    }
    const auto [start, end] = Moves().WordAt(position);
    const LineLayout lines = Lines();
    const qsizetype line = Wrap.LineOf(start);
    if (end == start || Wrap.LineOf(end) != line) return;
    const qreal startX = lines.CaretX(start);
    const qreal endX = lines.CaretX(end);
    if (x < startX || x > endX) return;
    Anchor = position < WordAnchorEnd ? WordAnchorEnd : WordAnchorStart;
    MoveCaret(x - startX < endX - x ? start : end, true);
}

void Memo::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    Selecting = true;
    SelectingWords = true;
    SelectWordAt(PositionAt(event->position().toPoint()));
    TripleClickPoint = event->position().toPoint();
    TripleClickTimer.start(QGuiApplication::styleHints()->mouseDoubleClickInterval(), this);
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
            MoveCaret(Moves().NextWord(position + 1, false), true);
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
    OfferSelection();
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
    const auto add = [&](const char* text, QKeySequence::StandardKey key, bool enabled, auto slot) {
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

// The geometry of Qt's plain text box, so that scrolling, the page keys and
// the mouse find the same lines: lines as high as Qt lays them out (whole
// pixels), the margin above the text only while the view is at the top,
// and below the last line when the view is at the bottom.

void Memo::UpdateLineHeight() {
    QTextLayout layout(QStringLiteral("x"), font());
    layout.beginLayout();
    QTextLine line = layout.createLine();
    line.setLeadingIncluded(true);
    layout.endLayout();
    RowHeight = std::max<qreal>(1, line.height());
}

qreal Memo::TextWidth() const { return viewport()->width() - 2 * kMargin - kCursorWidth; }

int Memo::TopLine() const { return verticalScrollBar()->value(); }

void Memo::SetTopLine(qsizetype line) {
    verticalScrollBar()->setValue(static_cast<int>(std::clamp<qsizetype>(line, 0, INT_MAX)));
}

qreal Memo::TopMargin() const { return TopLine() == 0 ? kMargin : 0; }

qreal Memo::RowTop(qsizetype line) const {
    return TopMargin() + static_cast<qreal>(line - TopLine()) * LineHeight();
}

int Memo::VisibleLines() const {
    // The lines the view shows whole at the bottom of the text.
    return std::max(1, static_cast<int>((viewport()->height() - 2 * kMargin - 1) / LineHeight()));
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
    const qreal height = viewport()->height();
    if (line < TopLine()) {
        SetTopLine(line);
    } else if (RowTop(line) + LineHeight() >= height) {
        // The line comes in whole at the bottom of the view.
        qsizetype top = line + 1 - static_cast<qsizetype>(height / LineHeight());
        if (top <= 0 && kMargin + static_cast<qreal>(line + 1) * LineHeight() > height) top = 1;
        SetTopLine(std::max<qsizetype>(top, 0));
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

LineLayout Memo::Lines() const { return LineLayout(Buffer, Wrap, font(), Preedit, Caret); }

QRect Memo::CharacterRect(qsizetype position) {
    const qsizetype line = Wrap.LineOf(position);
    const LineLayout::Span span = Lines().CharacterSpan(line, position);
    return QRectF(kMargin + span.Left, RowTop(line), span.Width, LineHeight()).toAlignedRect();
}

QRectF Memo::CaretRect() {
    // With a preedit text, where its own cursor stands in the line.
    const qsizetype line = Wrap.LineOf(Caret);
    if (Preedit.isEmpty()) return {kMargin + Lines().CaretX(Caret), RowTop(line), 1, LineHeight()};
    QTextLayout layout;
    int head = 0;
    const QTextLine shown = Lines().LayOut(layout, line, head);
    const int offset = static_cast<int>(Caret - Wrap.LineStart(line)) + head + PreeditCaret;
    return {kMargin + shown.cursorToX(offset), RowTop(line), 1, LineHeight()};
}

qsizetype Memo::LineAt(QPoint point) const {
    const auto row = static_cast<qsizetype>(std::floor((point.y() - TopMargin()) / LineHeight()));
    return std::max<qsizetype>(TopLine() + row, 0);
}

qsizetype Memo::PositionAt(QPoint point) {
    const qsizetype line = LineAt(point);
    // Below the last line is the end of the text, as in Qt's text boxes.
    if (line >= Wrap.LineCount()) return Buffer.Size();
    return Lines().PositionInLine(line, point.x() - kMargin);
}

qsizetype Memo::CharacterAt(QPoint point) {
    const qsizetype line = LineAt(point);
    if (line >= Wrap.LineCount()) return Buffer.Size();
    return Lines().CharacterInLine(line, point.x() - kMargin);
}

void Memo::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    painter.setClipRect(event->rect());
    const qsizetype top = TopLine();
    const auto rows = static_cast<qsizetype>(std::ceil(viewport()->height() / LineHeight()));
    const qsizetype last = std::min(Wrap.LineCount() - 1, top + rows);
    // The caret's line only where the caret is in view: finding it far off
    // would wrap all lines up to it.
    const bool caretInView = Caret >= Wrap.LineStart(top) && Caret <= Wrap.LineEnd(last);
    const qsizetype caretLine = caretInView ? Wrap.LineOf(Caret) : -1;
    const qsizetype selectionStart = std::min(Caret, Anchor);
    const qsizetype selectionEnd = std::max(Caret, Anchor);
    QTextCharFormat selectedFormat;
    selectedFormat.setBackground(palette().brush(QPalette::Highlight));
    selectedFormat.setForeground(palette().brush(QPalette::HighlightedText));
    painter.setPen(palette().color(QPalette::Text));
    const LineLayout lines = Lines();
    for (qsizetype line = top; line <= last; ++line) {
        QTextLayout layout;
        int head = 0;
        lines.LayOut(layout, line, head);
        const qsizetype start = Wrap.LineStart(line);
        const qsizetype end = Wrap.LineEnd(line);
        QList<QTextLayout::FormatRange> selections;
        // A selection that goes on past a paragraph's end takes in its
        // line break too, which the layout shows as a narrow box after the
        // line, also on an empty line, as Qt's text boxes do.
        const bool pastBreak =
            selectionEnd > end && end < Buffer.Size() && Wrap.EndsParagraph(line);
        if (selectionStart <= end && selectionEnd > start && (selectionStart < end || pastBreak)) {
            const qsizetype from = std::max(selectionStart, start);
            const qsizetype to = pastBreak ? end + 1 : std::min(selectionEnd, end);
            selections.append({static_cast<int>(from - start) + head, static_cast<int>(to - from),
                               selectedFormat});
        }
        const QPointF origin(kMargin, RowTop(line));
        layout.draw(&painter, origin, selections, viewport()->rect());
        if (line == caretLine && hasFocus() && (CaretShown || !Preedit.isEmpty())) {
            const int offset =
                static_cast<int>(Caret - start) + head + (Preedit.isEmpty() ? 0 : PreeditCaret);
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
        UpdateLineHeight();
        UpdateScrollRange();
    }
}

void Memo::scrollContentsBy(int /*dx*/, int /*dy*/) {
    viewport()->update();
    updateMicroFocus(Qt::ImCursorRectangle);
}

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
    } else if (event->timerId() == TripleClickTimer.timerId()) {
        TripleClickTimer.stop();
    } else if (event->timerId() == AutoScrollTimer.timerId()) {
        const int step = DragPoint.y() < 0 ? -1 : 1;
        verticalScrollBar()->setValue(verticalScrollBar()->value() + step);
        MoveCaret(PositionAt(DragPoint), true);
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

void Memo::NotifyCaret(bool selectionNews) {
    updateMicroFocus();
    // As Qt's text boxes tell it: a selection that is there or went, then
    // the caret where it moved.
    const bool selected = Caret != Anchor || NotifiedCaret != NotifiedAnchor;
    const bool moved = Caret != NotifiedCaret;
    NotifiedCaret = Caret;
    NotifiedAnchor = Anchor;
    if (!QAccessible::isActive()) return;
    if (selected && selectionNews) NotifySelection();
    if (moved) {
        QAccessibleTextCursorEvent cursor(this, static_cast<int>(Caret));
        QAccessible::updateAccessibility(&cursor);
    }
}

void Memo::NotifySelection() {
    if (!QAccessible::isActive()) return;
    // From the anchor to the caret, either way round, as Qt's text boxes
    // tell it.
    QAccessibleTextSelectionEvent selection(this, static_cast<int>(Anchor),
                                            static_cast<int>(Caret));
    selection.setCursorPosition(static_cast<int>(Caret));
    QAccessible::updateAccessibility(&selection);
}
