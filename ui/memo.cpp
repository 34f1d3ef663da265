// Memo: a QPlainTextEdit with the text access and key handling of a TMemo.
#include "memo.h"

#include <QFontMetricsF>
#include <QKeyEvent>
#include <QMimeData>
#include <QTextBlock>

#include <cmath>
#include <vector>

namespace {

// The user state of a paragraph that continues the line before it.
constexpr int kContinuationState = 1;

// A text with its long lines cut into display lines: the cut text, and for
// every line break in it whether it is a cut (true) or the text's own.
struct DisplayLines {
    QString Text;
    std::vector<bool> Cuts;
};

// Cuts every line longer than Memo::kCutLineLength into pieces of at most
// width characters, after the last blank that fits (the blank may stand in
// the last column plus one, where the wrap lets it hang) or, with none, after
// width characters: the lines the memo's own wrap would give.
DisplayLines CutLongLines(const QString& text, qsizetype width) {
    DisplayLines lines;
    lines.Text.reserve(text.size() + text.size() / width + 1);
    qsizetype lineStart = 0;
    while (lineStart <= text.size()) {
        qsizetype lineEnd = text.indexOf(QLatin1Char('\n'), lineStart);
        if (lineEnd < 0) lineEnd = text.size();
        qsizetype from = lineStart;
        if (lineEnd - lineStart > Memo::kCutLineLength) {
            while (lineEnd - from > width) {
                qsizetype cut = from + width;
                qsizetype blank = cut;
                while (blank >= from && text[blank] != QLatin1Char(' ')) --blank;
                if (blank >= from) cut = blank + 1;
                lines.Text.append(QStringView(text).mid(from, cut - from));
                lines.Text.append(QLatin1Char('\n'));
                lines.Cuts.push_back(true);
                from = cut;
            }
        }
        lines.Text.append(QStringView(text).mid(from, lineEnd - from));
        if (lineEnd < text.size()) {
            lines.Text.append(QLatin1Char('\n'));
            lines.Cuts.push_back(false);
        }
        lineStart = lineEnd + 1;
    }
    return lines;
}

}  // namespace

Memo::Memo(QWidget* parent) : QPlainTextEdit(parent) {
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    setTabChangesFocus(true);
}

void Memo::SetText(const QString& text) {
    QString plain = text;
    plain.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    const qsizetype width = CharactersPerLine();
    DisplayLines lines;
    if (width > 0) {
        lines = CutLongLines(plain, width);
    } else {
        lines.Text = plain;
    }
    // Empty first, so a change of wrap mode never lays out the old text again.
    const QTextOption::WrapMode mode = WrapModeFor(lines.Text);
    if (wordWrapMode() != mode) {
        clear();
        setWordWrapMode(mode);
    }
    setPlainText(lines.Text);
    QTextBlock block = document()->firstBlock();
    for (const bool cut : lines.Cuts) {
        block = block.next();
        if (cut) block.setUserState(kContinuationState);
    }
}

QString Memo::Text() const {
    QString text;
    const QTextBlock first = document()->firstBlock();
    for (QTextBlock block = first; block.isValid(); block = block.next()) {
        if (block != first && block.userState() != kContinuationState) {
            text += QLatin1String("\r\n");
        }
        text += block.text();
    }
    return text;
}

void Memo::Clear() {
    clear();
    setWordWrapMode(WrapModeFor(QString()));
}

qsizetype Memo::LongestRun(const QString& text) {
    qsizetype longest = 0;
    qsizetype run = 0;
    for (const QChar c : text) {
        if (c.isSpace()) {
            run = 0;
        } else if (++run > longest) {
            longest = run;
        }
    }
    return longest;
}

QTextOption::WrapMode Memo::WrapModeFor(const QString& text) {
    return LongestRun(text) > kLongRunLength ? QTextOption::WrapAnywhere
                                             : QTextOption::WrapAtWordBoundaryOrAnywhere;
}

qsizetype Memo::CharactersPerLine() const {
    const QFontMetricsF metrics(font());
    const qreal advance = metrics.horizontalAdvance(QLatin1Char('W'));
    if (advance <= 0 || advance != metrics.horizontalAdvance(QLatin1Char('i'))) {
        return 0;
    }
    // What the layout gives a line: the viewport less the document's margins
    // and the width of the cursor.
    const qreal available = viewport()->width() - 2 * document()->documentMargin() - cursorWidth();
    const auto characters = static_cast<qsizetype>(std::floor(available / advance));
    constexpr qsizetype kNarrowest = 8;
    return characters >= kNarrowest ? characters : 0;
}

void Memo::keyPressEvent(QKeyEvent* event) {
    // A memo uses Escape itself: it never reaches the window's cancel button.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void Memo::insertFromMimeData(const QMimeData* source) {
    // A pasted long run must not be laid out at word boundaries.
    if (source->hasText() && LongestRun(source->text()) > kLongRunLength)
        setWordWrapMode(QTextOption::WrapAnywhere);
    QPlainTextEdit::insertFromMimeData(source);
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
        if (block.userState() != kContinuationState) text += QLatin1Char('\n');
    }
    auto* data = new QMimeData;
    data->setText(text);
    return data;
}
