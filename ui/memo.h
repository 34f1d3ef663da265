// Memo: the window's multi-line text box (TMemo). Editable, wrapped, Tab
// moves the focus, Escape and Return stay inside it.
//
// Why the wrap mode changes: laying out one unbroken line of a million
// letters at word boundaries takes Qt minutes, and the normalised text, the
// keystream and the result are exactly such lines. SetText and pasting
// therefore wrap anywhere while the text holds a run of non-blank characters
// longer than kLongRunLength, and at word boundaries otherwise, so prose
// still wraps between words.
#pragma once

#include <QPlainTextEdit>

class Memo : public QPlainTextEdit {
    Q_OBJECT

public:
    // Runs of non-blank characters longer than this switch to wrapping anywhere.
    static constexpr qsizetype kLongRunLength = 1000;

    explicit Memo(QWidget* parent = nullptr);

    // Replaces the whole text; CR LF (or LF) in text starts a new line.
    void SetText(const QString& text);

    // The whole text, its lines joined by CR LF.
    [[nodiscard]] QString Text() const;

    // Empties the memo.
    void Clear();

    // The length of the longest run of characters other than blanks and line breaks.
    [[nodiscard]] static qsizetype LongestRun(const QString& text);

    // The wrap mode SetText chooses for text.
    [[nodiscard]] static QTextOption::WrapMode WrapModeFor(const QString& text);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void insertFromMimeData(const QMimeData* source) override;
};
