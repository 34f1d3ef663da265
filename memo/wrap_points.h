// WrapPoints: the positions where a text's display lines start inside its
// paragraphs, held as runs of equally spaced points in blocks of a few
// hundred runs. A block counts its runs' positions and paragraphs from a
// base of its own, so an edit rebuilds the blocks it touches and moves the
// bases of those after it: a key costs the same at the start of a text of
// a million paragraphs as at its end.
#pragma once

#include <QtGlobal>

#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <vector>

class WrapPoints {
public:
    // Wrap points First, First + Step, ... (Count of them), all in the
    // paragraph that Paragraph LFs come before: lines of equal length, as a
    // fixed-width font gives a stretch without blanks or a text of groups.
    struct Run {
        qsizetype First = 0;
        qsizetype Paragraph = 0;
        std::int32_t Count = 1;
        std::int32_t Step = 1;

        [[nodiscard]] qsizetype At(qsizetype index) const { return First + index * Step; }
        [[nodiscard]] qsizetype Last() const { return At(Count - 1); }
        // How many of the points come before position.
        [[nodiscard]] qsizetype Before(qsizetype position) const {
            return position <= First
                       ? 0
                       : std::min<qsizetype>(Count, (position - First - 1) / Step + 1);
        }
        // The run of the points from index on.
        [[nodiscard]] Run From(qsizetype index) const {
            return {At(index), Paragraph, static_cast<std::int32_t>(Count - index), Step};
        }
    };

    // All points, as runs in order.
    void Assign(const std::vector<Run>& runs);
    // Takes out the points between from and to (both excluded), puts in
    // fresh (in order, between them) and moves the points at and after to
    // by delta and their paragraphs by breaks.
    void Replace(qsizetype from, qsizetype to, const std::vector<Run>& fresh, qsizetype delta,
                 qsizetype breaks);

    [[nodiscard]] qsizetype Count() const;
    // How many points lie at or before position; the index-th point; and
    // whether position is a point.
    [[nodiscard]] qsizetype UpTo(qsizetype position) const;
    [[nodiscard]] qsizetype At(qsizetype index) const;
    [[nodiscard]] bool Has(qsizetype position) const;
    // The point that starts display line line, where lines are counted as
    // the paragraphs' starts and the points before them; -1 where a
    // paragraph starts the line, which is paragraphs LFs after the text's
    // start.
    [[nodiscard]] qsizetype LineStart(qsizetype line, qsizetype& paragraphs) const;
    // The runs whose first point lies in (from, to).
    [[nodiscard]] std::vector<Run> Between(qsizetype from, qsizetype to) const;

private:
    // Runs whose positions count from Shift and paragraphs from
    // ParagraphShift, with their number of points; never empty.
    struct Block {
        qsizetype Shift = 0;
        qsizetype ParagraphShift = 0;
        qsizetype Points = 0;
        std::vector<Run> Runs;

        [[nodiscard]] Run Absolute(const Run& run) const {
            return {run.First + Shift, run.Paragraph + ParagraphShift, run.Count, run.Step};
        }
        [[nodiscard]] qsizetype FirstPosition() const { return Runs.front().First + Shift; }
    };

    // Cuts the runs of parts, in order, into blocks in place of blocks
    // [from, to).
    void PutBlocks(std::size_t from, std::size_t to,
                   std::initializer_list<const std::vector<Run>*> parts);
    // The last block whose first point lies at or before position, or the
    // number of blocks where there is none (no block, or all after it).
    [[nodiscard]] std::size_t BlockAt(qsizetype position) const;
    void Recount(std::size_t from);

    std::vector<Block> Blocks;
    // How many points come before each block.
    std::vector<qsizetype> PointsBefore;
};
