// Memo: a QPlainTextEdit with the text access and key handling of a TMemo,
// and display lines of its own for long lines.
#include "memo.h"

#include <QFontMetricsF>
#include <QKeyEvent>
#include <QMimeData>
#include <QTextBlock>
#include <QTextDocumentFragment>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// Set in the character format of a paragraph separator that is a cut: the
// paragraph after it continues the line of the one before.
constexpr int kCutProperty = QTextFormat::UserProperty + 1;

// A display line may end before a letter's combining marks only inside a run
// of more marks than this (Unicode's limit for stream-safe text).
constexpr qsizetype kLongestKeptMarkRun = 30;

QTextCharFormat CutFormat() {
    QTextCharFormat format;
    format.setProperty(kCutProperty, true);
    return format;
}

// Whether block continues the line of the paragraph before it.
bool IsCut(const QTextBlock& block) {
    return block.isValid() && block.charFormat().boolProperty(kCutProperty);
}

// A character that belongs to the one before it on screen: a combining mark
// or the second half of a surrogate pair.
bool ContinuesCluster(QChar c) {
    switch (c.category()) {
        case QChar::Mark_NonSpacing:
        case QChar::Mark_SpacingCombining:
        case QChar::Mark_Enclosing:
            return true;
        default:
            return c.isLowSurrogate();
    }
}

// Where the display line that starts at from ends, in a line longer than
// width characters past from: after the last blank that fits (the blank may
// stand in the column after the last, where the wrap lets it hang) or, with
// none, after width characters, as the memo's own wrap would break it. A
// letter keeps its marks unless they are a run too long for one line.
qsizetype NextCut(QStringView line, qsizetype from, qsizetype width) {
    qsizetype cut = from + width;
    qsizetype blank = std::min(cut, line.size() - 2);
    while (blank > from && line[blank] != QLatin1Char(' ')) --blank;
    if (blank > from) cut = blank + 1;
    qsizetype kept = cut;
    while (kept > from + 1 && cut - kept < kLongestKeptMarkRun && ContinuesCluster(line[kept])) {
        --kept;
    }
    if (!ContinuesCluster(line[kept])) return kept;
    return line[cut].isLowSurrogate() ? cut - 1 : cut;
}

// text with every line break (CR LF, CR, LF, U+2028, U+2029) as LF.
QString WithLfBreaks(const QString& text) {
    const auto isOtherBreak = [](QChar c) {
        return c == QLatin1Char('\r') || c == QChar::LineSeparator ||
               c == QChar::ParagraphSeparator;
    };
    if (std::none_of(text.begin(), text.end(), isOtherBreak)) return text;
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

}  // namespace

Memo::Memo(QWidget* parent) : QPlainTextEdit(parent) {
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    setTabChangesFocus(true);
    // As a TMemo, the memo takes no dropped text: moving text by dragging it
    // inside the memo would bypass the tidying of its display lines.
    setAcceptDrops(false);
    viewport()->setAcceptDrops(false);
}

void Memo::SetText(const QString& text) {
    QPlainTextEdit::clear();
    QTextDocument* document = this->document();
    document->setUndoRedoEnabled(false);
    QTextCursor cursor(document);
    cursor.beginEditBlock();
    InsertLines(cursor, WithLfBreaks(text));
    cursor.endEditBlock();
    document->setUndoRedoEnabled(true);
    setTextCursor(QTextCursor(document));
}

QString Memo::Text() const {
    QString text;
    text.reserve(document()->characterCount() + document()->blockCount());
    for (QTextBlock block = document()->firstBlock(); block.isValid(); block = block.next()) {
        if (block.position() > 0 && !IsCut(block)) text += QLatin1String("\r\n");
        text += block.text();
    }
    return text;
}

void Memo::Clear() { SetText(QString()); }

void Memo::ClearAsEdit() {
    QTextCursor cursor = textCursor();
    cursor.select(QTextCursor::Document);
    cursor.removeSelectedText();
    setTextCursor(cursor);
}

int Memo::CharactersPerLine() const {
    const QFontMetricsF metrics(font());
    const qreal advance = metrics.horizontalAdvance(QLatin1Char('W'));
    if (advance <= 0 || advance != metrics.horizontalAdvance(QLatin1Char('i'))) {
        return 0;
    }
    // What the layout gives a line: the viewport less the document's margins
    // and the width of the cursor.
    const qreal available = viewport()->width() - 2 * document()->documentMargin() - cursorWidth();
    const auto characters = static_cast<int>(std::floor(available / advance));
    constexpr int kNarrowest = 8;
    return characters >= kNarrowest ? characters : 0;
}

template <typename Edit>
void Memo::EditStep(Edit edit, bool joinsPreviousStep) {
    QTextCursor step = textCursor();
    const int from = step.selectionStart();
    if (joinsPreviousStep) {
        step.joinPreviousEditBlock();
    } else {
        step.beginEditBlock();
    }
    edit();
    const int to = textCursor().position();
    TidyDisplayLines(std::min(from, to), to);
    step.endEditBlock();
    // Inside the step Qt leaves the caret's column unset; set where it is now,
    // Up and Down keep to it.
    QTextCursor caret = textCursor();
    caret.setPosition(caret.anchor());
    caret.setPosition(textCursor().position(), QTextCursor::KeepAnchor);
    setTextCursor(caret);
}

void Memo::InsertLines(QTextCursor& cursor, const QString& text) {
    const QTextCharFormat plain;
    const QTextCharFormat cut = CutFormat();
    const QTextBlockFormat paragraph = cursor.blockFormat();
    const qsizetype width = CharactersPerLine() > 0 ? CharactersPerLine() : kCutLineLength;
    qsizetype lineStart = 0;
    while (true) {
        qsizetype lineEnd = text.indexOf(QLatin1Char('\n'), lineStart);
        if (lineEnd < 0) lineEnd = text.size();
        const QStringView line = QStringView(text).mid(lineStart, lineEnd - lineStart);
        qsizetype from = 0;
        if (line.size() > kCutLineLength) {
            while (line.size() - from > width) {
                const qsizetype to = NextCut(line, from, width);
                cursor.insertText(line.mid(from, to - from).toString(), plain);
                cursor.insertBlock(paragraph, cut);
                from = to;
            }
        }
        cursor.insertText(line.mid(from).toString(), plain);
        if (lineEnd == text.size()) return;
        cursor.insertBlock(paragraph, plain);
        lineStart = lineEnd + 1;
    }
}

void Memo::TidyDisplayLines(int from, int to) {
    QTextDocument* document = this->document();
    QTextCursor edit(document);
    QTextCursor last(document);  // follows the edits below
    last.setPosition(to);
    const qsizetype width = CharactersPerLine() > 0 ? CharactersPerLine() : kCutLineLength;
    QTextBlock block = document->findBlock(from);
    if (block.previous().isValid()) block = block.previous();
    while (block.isValid()) {
        // An empty display line beside a cut is not in the text: remove the cut.
        if (block.length() == 1 && (IsCut(block) || IsCut(block.next()))) {
            const int separator = IsCut(block) ? block.position() - 1 : block.position();
            edit.setPosition(separator);
            edit.setPosition(separator + 1, QTextCursor::KeepAnchor);
            edit.removeSelectedText();
            block = document->findBlock(separator);
            continue;
        }
        if (block.length() - 1 > kCutLineLength) {
            const QString text = block.text();
            std::vector<qsizetype> cuts;
            for (qsizetype cut = 0; text.size() - cut > width;) {
                cut = NextCut(text, cut, width);
                cuts.push_back(cut);
            }
            // From the last cut back, so the earlier positions stay valid.
            for (auto cut = cuts.rbegin(); cut != cuts.rend(); ++cut) {
                edit.setPosition(block.position() + static_cast<int>(*cut));
                edit.insertBlock(block.blockFormat(), CutFormat());
            }
        }
        // The paragraph after the edit is the last one to look at.
        if (block.position() > last.position()) break;
        block = block.next();
    }
}

void Memo::InsertLineBreak() {
    QTextCursor cursor = textCursor();
    cursor.removeSelectedText();
    const QTextBlock block = cursor.block();
    if (cursor.position() == block.position() && IsCut(block)) {
        cursor.setPosition(block.position() - 1);
        cursor.setPosition(block.position(), QTextCursor::KeepAnchor);
        cursor.setCharFormat(QTextCharFormat());
    } else {
        cursor.insertBlock(block.blockFormat(), QTextCharFormat());
    }
}

bool Memo::DeleteAcrossCut(int key) {
    QTextCursor cursor = textCursor();
    if (cursor.hasSelection()) return false;
    const QTextBlock block = cursor.block();
    if (key == Qt::Key_Backspace && cursor.atBlockStart() && IsCut(block) &&
        block.previous().length() > 1) {
        cursor.setPosition(block.position() - 1);
        cursor.deletePreviousChar();
        return true;
    }
    const QTextBlock next = block.next();
    if (key == Qt::Key_Delete && cursor.atBlockEnd() && IsCut(next) && next.length() > 1) {
        cursor.setPosition(next.position());
        cursor.deleteChar();
        return true;
    }
    return false;
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
    // Typing, Return, Backspace and Delete are made here, each an undo step
    // that tidies the display lines around it. Every other key is Qt's:
    // moving, selecting, copying, undo and redo change no text, and the rest
    // of Qt's edits (cutting, pasting, deleting words) are undo steps of
    // Qt's own that the tidying then joins.
    const bool typesText = printable && (modifiers == Qt::NoModifier ||
                                         modifiers == (Qt::ControlModifier | Qt::AltModifier));
    const int key = event->key();
    const bool lineBreak =
        (key == Qt::Key_Return || key == Qt::Key_Enter) && modifiers == Qt::NoModifier;
    const bool deletes =
        modifiers == Qt::NoModifier &&
        (key == Qt::Key_Backspace ||
         (key == Qt::Key_Delete && !event->modifiers().testFlag(Qt::ShiftModifier)));
    if (isReadOnly() || !(typesText || lineBreak || deletes)) {
        if (event->matches(QKeySequence::Undo) || event->matches(QKeySequence::Redo)) {
            QPlainTextEdit::keyPressEvent(event);
        } else {
            TidyAfter([&] { QPlainTextEdit::keyPressEvent(event); });
        }
        return;
    }
    const bool typesOn = typesText && !textCursor().hasSelection() &&
                         textCursor().position() == TypingEnd &&
                         document()->revision() == TypingRevision;
    const int undoSteps = document()->availableUndoSteps();
    EditStep(
        [&] {
            QTextCursor cursor = textCursor();
            if (typesText) {
                cursor.insertText(event->text(), QTextCharFormat());  // never a cut's mark
            } else if (lineBreak) {
                InsertLineBreak();  // Shift+Return too: a new line, never U+2028 in a line
            } else if (cursor.hasSelection() || !DeleteAcrossCut(key)) {
                key == Qt::Key_Backspace ? cursor.deletePreviousChar() : cursor.deleteChar();
            }
        },
        typesOn);
    // A key that changed nothing leaves a typing run going.
    if (typesText) {
        TypingEnd = textCursor().position();
    } else if (document()->availableUndoSteps() != undoSteps) {
        TypingEnd = -1;
    }
    TypingRevision = document()->revision();
    ensureCursorVisible();
}

template <typename Handler>
void Memo::TidyAfter(Handler handler) {
    const int revision = document()->revision();
    handler();
    if (document()->revision() != revision) EditStep([] {}, true);
}

void Memo::inputMethodEvent(QInputMethodEvent* event) {
    TidyAfter([&] { QPlainTextEdit::inputMethodEvent(event); });
}

void Memo::mouseMoveEvent(QMouseEvent* event) {
    // Dragging the selection out to another program may move it away.
    TidyAfter([&] { QPlainTextEdit::mouseMoveEvent(event); });
}

void Memo::contextMenuEvent(QContextMenuEvent* event) {
    // Cut and Delete of the menu are edits like their keys.
    TidyAfter([&] { QPlainTextEdit::contextMenuEvent(event); });
}

bool Memo::canInsertFromMimeData(const QMimeData* source) const {
    return QPlainTextEdit::canInsertFromMimeData(source) || source->hasHtml();
}

void Memo::insertFromMimeData(const QMimeData* source) {
    // Content offered only as rich text (from a web page or a word
    // processor) pastes as its plain text.
    QString text = source->text();
    if (text.isEmpty() && source->hasHtml()) {
        text = QTextDocumentFragment::fromHtml(source->html()).toPlainText();
    }
    if (text.isEmpty()) return;
    EditStep([&] {
        QTextCursor cursor = textCursor();
        cursor.removeSelectedText();
        InsertLines(cursor, WithLfBreaks(text));
    });
    ensureCursorVisible();
}

QMimeData* Memo::createMimeDataFromSelection() const {
    // The selection as Qt gives it separates paragraphs by U+2029; a cut
    // between display lines is dropped, a line break of the text kept.
    const QTextCursor cursor = textCursor();
    const QString selected = cursor.selectedText();
    QString text;
    text.reserve(selected.size());
    QTextBlock block = document()->findBlock(cursor.selectionStart());
    for (const QChar c : selected) {
        if (c != QChar::ParagraphSeparator) {
            text += c;
            continue;
        }
        block = block.next();
        if (!IsCut(block)) text += QLatin1Char('\n');
    }
    auto* data = new QMimeData;
    data->setText(text);
    return data;
}
