// Memo: a QPlainTextEdit with the text access and key handling of a TMemo.
#include "memo.h"

#include <QKeyEvent>
#include <QMimeData>

Memo::Memo(QWidget* parent) : QPlainTextEdit(parent) {
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    setTabChangesFocus(true);
}

void Memo::SetText(const QString& text) {
    QString plain = text;
    plain.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    // Empty first, so a change of wrap mode never lays out the old text again.
    const QTextOption::WrapMode mode = WrapModeFor(plain);
    if (wordWrapMode() != mode) {
        clear();
        setWordWrapMode(mode);
    }
    setPlainText(plain);
}

QString Memo::Text() const {
    QString text = toPlainText();
    text.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
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
