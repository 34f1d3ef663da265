// Memo: the window's multi-line text box (TMemo). Editable, wrapped, Tab
// moves the focus, Escape and Return stay inside it.
//
// Why long lines are handled apart: Qt lays out a paragraph as a whole, and
// the normalised text, the keystream and the result are single paragraphs of
// up to millions of letters. At word boundaries such an unbroken line takes
// Qt minutes; even wrapping anywhere it takes about 0.4 s per megabyte.
// SetText therefore cuts every long line into display lines of the memo's
// width, as the wrap would, each in a paragraph of its own that continues
// the line before it; Qt then lays out only the paragraphs in view. Text()
// and copying join the display lines again, so the cut is never seen in the
// text. Lines that are not cut wrap anywhere while they hold a run of
// non-blank characters longer than kLongRunLength, and at word boundaries
// otherwise, so prose still wraps between words.
#pragma once

#include <QPlainTextEdit>

class Memo : public QPlainTextEdit {
    Q_OBJECT

public:
    // Runs of non-blank characters longer than this switch to wrapping anywhere.
    static constexpr qsizetype kLongRunLength = 1000;

    // Lines longer than this are cut into display lines by SetText.
    static constexpr qsizetype kCutLineLength = 2000;

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

    // How many characters a display line holds, or 0 where lines are not cut
    // (a font whose characters differ in width, or a memo not yet laid out).
    [[nodiscard]] qsizetype CharactersPerLine() const;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void insertFromMimeData(const QMimeData* source) override;
    [[nodiscard]] QMimeData* createMimeDataFromSelection() const override;
};
