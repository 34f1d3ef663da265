// LineWrap: where the display lines of a TextBuffer start, for one font and
// one width. A line ends after the last blank that fits (blanks may hang
// past the width), else after the last character cluster that fits; it
// never ends inside a cluster (a letter with its marks, a surrogate pair, an
// emoji sequence), except inside a run of marks too long for any line.
//
// After an edit only the display lines from the one before the edit onwards
// are wrapped again, until the line starts fall back into step with the old
// ones or the paragraph ends. Where that is far (an edit near the start of
// an unbroken line of a hundred megabytes), the lines beyond a few screens
// are left as they were and wrapped again when something asks for them, or
// in slices by Complete(); until then LineCount() may be off by a few lines.
#pragma once

#include <QFont>
#include <QHash>
#include <QTextBoundaryFinder>

#include <array>
#include <vector>

class TextBuffer;

class LineWrap {
public:
    explicit LineWrap(const TextBuffer& text) : Text(text) {}

    // The font and the width a line may fill, in pixels; both wrap anew.
    void SetFont(const QFont& font);
    void SetWidth(qreal width);
    void Rewrap();

    // Before removed characters at from are replaced, on the old text;
    // every edit calls it, then Update.
    void BeforeEdit(qsizetype from, qsizetype removed);
    // After removed characters at from were replaced by added ones.
    void Update(qsizetype from, qsizetype removed, qsizetype added);

    // Wraps again up to budget lines of what an edit left as it was; false
    // when nothing is left.
    bool Complete(qsizetype budget);

    [[nodiscard]] qsizetype LineCount() const { return static_cast<qsizetype>(Starts.size()); }
    [[nodiscard]] qsizetype LineStart(qsizetype line);
    // Where the characters of the line end: before the LF that ends its
    // paragraph, or at the start of the next display line.
    [[nodiscard]] qsizetype LineEnd(qsizetype line);
    // The line that shows the caret at position: a position where a line
    // was wrapped belongs to the line after it.
    [[nodiscard]] qsizetype LineOf(qsizetype position);
    // Whether the line ends at the end of its paragraph.
    [[nodiscard]] bool EndsParagraph(qsizetype line);

    // The most UTF-16 units a line holds before its hanging blanks: a
    // cluster longer than that (a run of marks) is cut after them.
    [[nodiscard]] qsizetype MaxLineUnits() const { return 4 * CellsPerLine; }
    // Whether lines are counted in cells: the text is printable ASCII and
    // the font gives all of it one width.
    [[nodiscard]] bool CountsCells() const { return TextAsciiFixed; }

private:
    // The start of the line after the one that starts at from, or end; the
    // furthest character it looked at is left in LastSeen.
    qsizetype NextBreak(qsizetype from, qsizetype end);
    qsizetype NextBreakFixed(qsizetype from, qsizetype end);
    qsizetype NextBreakMeasured(qsizetype from, qsizetype end);
    // The end of the cluster at from; one that reaches past limit may be
    // reported shorter, though still past limit.
    qsizetype ClusterEnd(qsizetype from, qsizetype end, qsizetype limit);
    qreal ClusterWidth(qsizetype from, qsizetype to);
    void ForgetChunk();

    // Wraps the lines left for later up to the one holding position, or up
    // to line.
    void CompleteUpTo(qsizetype position);
    void CompleteLines(qsizetype line);
    void RefreshAsciiFixed();

    const TextBuffer& Text;
    QFont Font;
    qreal Width = 0;
    qreal Cell = 1;
    qsizetype CellsPerLine = 1;
    // Widths of the Latin-1 characters; whether every printable ASCII
    // character is one cell wide, and whether the text holds nothing else.
    std::array<qreal, 256> Latin1Widths{};
    bool FontAsciiFixed = false;
    bool TextAsciiFixed = false;
    QHash<char16_t, qreal> WideWidths;
    QHash<QString, qreal> ClusterWidths;

    // The text around the clusters looked at last, with its boundaries.
    qsizetype ChunkStart = 0;
    qsizetype ChunkEnd = 0;
    QString Chunk;
    QTextBoundaryFinder Finder;

    // Starts[0] is 0; every paragraph starts a line. While Stale, the lines
    // of the paragraph that ends at StaleParagraphEnd are right only up to
    // index StaleFrom - 1, whose end is not known yet. The starts from
    // StaleFrom up to StaleTo (the next paragraph's) are hints: an earlier
    // wrap of the rest of the paragraph, over text no edit has touched
    // since, so that a fresh wrap meeting one goes on as they do.
    std::vector<qsizetype> Starts{0};
    bool Stale = false;
    qsizetype StaleFrom = 0;
    qsizetype StaleTo = 0;
    qsizetype StaleParagraphEnd = 0;
    // The first line an edit may have changed, as BeforeEdit found it, and
    // the furthest character the last NextBreak looked at.
    qsizetype RewrapLine = 0;
    qsizetype LastSeen = 0;
};
