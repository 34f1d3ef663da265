// LineWrap: where the display lines of a TextBuffer start, for one font and
// one width. A line ends after the last blank that fits (blanks may hang
// past the width), else after the last character cluster that fits; it
// never ends inside a cluster (a letter with its marks, a surrogate pair, an
// emoji sequence), except inside a run of marks too long for any line.
//
// Every paragraph starts a line; those starts are the text's own LFs, which
// the text finds in its tree. The wrap keeps only the starts inside
// paragraphs, its wrap points, so empty and short lines cost nothing, and
// a paragraph that the font shows in one line for sure (short enough at the
// widest character) is never looked at. In a fixed-width text a stretch
// without blanks wraps every so many characters: such points are kept as
// one run, found by arithmetic.
//
// After an edit only the edit's paragraphs are wrapped again, from the
// first line whose end looked at the edit, until the points fall back into
// step with the old ones or the paragraph ends; the points after that only
// move with the edit.
#pragma once

#include <QFont>
#include <QHash>
#include <QTextBoundaryFinder>

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "text_buffer.h"
#include "wrap_points.h"

class LineWrap {
public:
    explicit LineWrap(const TextBuffer& text) : Text(text) {}

    // The font and the width a line may fill, in pixels; both wrap anew.
    void SetFont(const QFont& font);
    void SetWidth(qreal width);
    void Rewrap();

    // Before the characters removed at from are replaced, on the old text;
    // every edit calls it, then Update.
    void BeforeEdit(qsizetype from, const TextBuffer& removed);
    // After removed characters at from were replaced by added. Where the
    // edit before took out a long stretch and added is that same text (an
    // undo, a redo), its whole paragraphs get their points back as they
    // were, without a wrap.
    void Update(qsizetype from, qsizetype removed, const TextBuffer& added);

    [[nodiscard]] qsizetype LineCount() const;
    [[nodiscard]] qsizetype LineStart(qsizetype line) const;
    // Where the characters of the line end: before the LF that ends its
    // paragraph, or at the start of the next display line.
    [[nodiscard]] qsizetype LineEnd(qsizetype line) const;
    // The line that shows the caret at position: a position where a line
    // was wrapped belongs to the line after it.
    [[nodiscard]] qsizetype LineOf(qsizetype position) const;
    // Whether the line ends at the end of its paragraph.
    [[nodiscard]] bool EndsParagraph(qsizetype line) const;

    // The most UTF-16 units a line holds before its hanging blanks: a
    // cluster longer than that (a run of marks) is cut after them.
    [[nodiscard]] qsizetype MaxLineUnits() const { return 4 * CellsPerLine; }
    // Whether lines are counted in cells: the text is printable ASCII, or
    // printable characters of the one-byte form, and the font gives all of
    // them one width.
    [[nodiscard]] bool CountsCells() const { return CountingCells; }

private:
    using Run = WrapPoints::Run;
    // The points of the whole paragraphs of a stretch an edit took out,
    // counted from the stretch's start: those between Start and the LF at
    // End, before which EndParagraph LFs come.
    struct Stash {
        TextBuffer Text;
        std::vector<Run> Runs;
        qsizetype Start = 0;
        qsizetype End = 0;
        qsizetype EndParagraph = 0;
    };
    // A stash put back at From, whose text has Paragraph LFs before it.
    struct PutBack {
        const Stash* Points = nullptr;
        qsizetype From = 0;
        qsizetype Paragraph = 0;
        bool Done = false;
    };
    // Adds run to runs, as part of the last run where it goes on from it.
    static void Append(std::vector<Run>& runs, const Run& run);
    // The runs a wrap from start on finds up to the end of the paragraph
    // that ends at last, or up to a point at or after inStepFrom that the
    // old runs hold moved by delta; stop is where it ended: the first
    // point kept, or last.
    std::vector<Run> WrapFrom(qsizetype start, qsizetype last, qsizetype inStepFrom,
                              qsizetype delta, qsizetype& stop);
    // The next paragraph after the LF at end that needs wrapping, at or
    // before last: its start and the LFs before it, updated; false if none.
    bool NextLongParagraph(qsizetype end, qsizetype last, qsizetype sure, qsizetype& at,
                           qsizetype& paragraph) const;
    // Keeps the points of the whole paragraphs of removed, about to go at
    // from, for the next edit.
    void KeepPoints(qsizetype from, const TextBuffer& removed);
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
    void RefreshCounting();
    // The longest paragraph that surely fits into one line.
    [[nodiscard]] qsizetype SureLineUnits() const;

    const TextBuffer& Text;
    QFont Font;
    qreal Width = 0;
    qreal Cell = 1;
    qsizetype CellsPerLine = 1;
    // Widths of the Latin-1 characters and of those of the one-byte form,
    // and the widest of the latter, tab stops included; whether every printable ASCII
    // character is one cell wide, whether every printable character of the
    // one-byte form is, and whether the text holds nothing else.
    std::array<qreal, 256> Latin1Widths{};
    std::array<qreal, 256> OneByteWidths{};
    // The latter and the width in 64ths of a pixel.
    std::array<qint64, 256> OneByteSubpixels{};
    qint64 WidthSubpixels = 0;
    qreal WidestOneByte = 0;
    bool FontAsciiFixed = false;
    bool FontOneByteFixed = false;
    bool CountingCells = false;
    QHash<char16_t, qreal> WideWidths;
    QHash<QString, qreal> ClusterWidths;

    // The text around the clusters looked at last, with its boundaries.
    qsizetype ChunkStart = 0;
    qsizetype ChunkEnd = 0;
    QString Chunk;
    QTextBoundaryFinder Finder;

    // The wrap points.
    WrapPoints Points;
    // Where an edit's wrap begins and where its paragraphs ended, as
    // BeforeEdit found them on the old text, and the furthest character the
    // last NextBreak looked at.
    qsizetype RewrapStart = 0;
    qsizetype OldParagraphEnd = 0;
    qsizetype OldBreaks = 0;
    qsizetype LastSeen = 0;
    // The points of what the last edit took out, and of what the edit
    // under way took out before that, which it may put back.
    std::optional<Stash> Kept;
    std::optional<Stash> Reusable;
    PutBack Putting;
};
