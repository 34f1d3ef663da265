// WrapPoints: runs of wrap points in blocks with bases of their own.
#include "wrap_points.h"

namespace {

// Small enough that a block is looked through quickly, large enough that
// the blocks after an edit are few to move.
constexpr std::ptrdiff_t kBlockRuns = 128;

}  // namespace

void WrapPoints::Assign(const std::vector<Run>& runs) {
    Blocks.clear();
    PutBlocks(0, 0, {&runs});
    Recount(0);
}

void WrapPoints::PutBlocks(std::size_t from, std::size_t to,
                           std::initializer_list<const std::vector<Run>*> parts) {
    // The parts' runs go into full blocks as one sequence, so that edits
    // leave no trail of small blocks behind.
    std::vector<Block> made;
    for (const std::vector<Run>* runs : parts) {
        for (const Run& run : *runs) {
            if (made.empty() ||
                static_cast<std::ptrdiff_t>(made.back().Runs.size()) == kBlockRuns) {
                made.emplace_back().Runs.reserve(kBlockRuns);
            }
            made.back().Runs.push_back(run);
            made.back().Points += run.Count;
        }
    }
    Blocks.erase(Blocks.begin() + static_cast<std::ptrdiff_t>(from),
                 Blocks.begin() + static_cast<std::ptrdiff_t>(to));
    Blocks.insert(Blocks.begin() + static_cast<std::ptrdiff_t>(from),
                  std::make_move_iterator(made.begin()), std::make_move_iterator(made.end()));
}

void WrapPoints::Replace(qsizetype from, qsizetype to, const std::vector<Run>& fresh,
                         qsizetype delta, qsizetype breaks) {
    // The blocks from the one that holds from up to the one that holds
    // the last position before to go; of them only the first and the last
    // may hold points that stay, and are taken apart, as absolute runs.
    std::size_t first = BlockAt(from);
    if (first == Blocks.size()) first = 0;
    const std::size_t toBlock = BlockAt(to - 1);
    const std::size_t last =
        std::max(toBlock == Blocks.size() ? 0 : toBlock + 1, std::min(first + 1, Blocks.size()));
    std::vector<Run> runs;
    const auto takeApart = [this, &runs](std::size_t b) {
        for (const Run& run : Blocks[b].Runs) runs.push_back(Blocks[b].Absolute(run));
    };
    if (last > first) takeApart(first);
    if (last > first + 1) takeApart(last - 1);

    // The runs up to from stay; a run may reach over from, or over to.
    const auto firstAfter = [&runs](qsizetype position) {
        return static_cast<std::size_t>(
            std::upper_bound(runs.begin(), runs.end(), position,
                             [](qsizetype at, const Run& run) { return at < run.First; }) -
            runs.begin());
    };
    const std::size_t begin = firstAfter(from);
    const std::size_t end = std::max(begin, firstAfter(to - 1));
    std::vector<Run> kept;
    if (begin > 0) {
        Run& before = runs[begin - 1];
        const qsizetype inside = before.Before(from + 1);
        const Run rest = before.From(inside);
        before.Count = static_cast<std::int32_t>(inside);
        if (end == begin && rest.Count > 0) {
            const qsizetype skip = rest.Before(to);
            if (skip < rest.Count) kept.push_back(rest.From(skip));
        }
    }
    if (end > begin) {
        const Run& lastRun = runs[end - 1];
        const qsizetype skip = lastRun.Before(to);
        if (skip < lastRun.Count) kept.push_back(lastRun.From(skip));
    }
    const auto move = [delta, breaks](Run run) {
        run.First += delta;
        run.Paragraph += breaks;
        return run;
    };
    // The runs before from, the fresh ones, and those after to: fresh,
    // which may be long, goes into the blocks without a copy of its own.
    const std::vector<Run> before(runs.begin(), runs.begin() + static_cast<std::ptrdiff_t>(begin));
    std::vector<Run> after;
    after.reserve(kept.size() + runs.size() - end);
    for (const Run& run : kept) after.push_back(move(run));
    for (std::size_t i = end; i < runs.size(); ++i) after.push_back(move(runs[i]));

    for (std::size_t b = last; b < Blocks.size(); ++b) {
        Blocks[b].Shift += delta;
        Blocks[b].ParagraphShift += breaks;
    }
    PutBlocks(first, last, {&before, &fresh, &after});
    Recount(first);
}

void WrapPoints::Recount(std::size_t from) {
    PointsBefore.resize(Blocks.size());
    for (std::size_t b = from; b < Blocks.size(); ++b) {
        PointsBefore[b] = b == 0 ? 0 : PointsBefore[b - 1] + Blocks[b - 1].Points;
    }
}

std::size_t WrapPoints::BlockAt(qsizetype position) const {
    const auto after = std::upper_bound(
        Blocks.begin(), Blocks.end(), position,
        [](qsizetype at, const Block& block) { return at < block.FirstPosition(); });
    return after == Blocks.begin() ? Blocks.size()
                                   : static_cast<std::size_t>(after - Blocks.begin()) - 1;
}

qsizetype WrapPoints::Count() const {
    return Blocks.empty() ? 0 : PointsBefore.back() + Blocks.back().Points;
}

qsizetype WrapPoints::UpTo(qsizetype position) const {
    const std::size_t b = BlockAt(position);
    if (b == Blocks.size()) return 0;
    const Block& block = Blocks[b];
    qsizetype points = PointsBefore[b];
    for (const Run& run : block.Runs) {
        if (run.First + block.Shift > position) break;
        points += run.Before(position - block.Shift + 1);
    }
    return points;
}

qsizetype WrapPoints::At(qsizetype index) const {
    const auto b =
        static_cast<std::size_t>(std::upper_bound(PointsBefore.begin(), PointsBefore.end(), index) -
                                 PointsBefore.begin() - 1);
    const Block& block = Blocks[b];
    index -= PointsBefore[b];
    for (const Run& run : block.Runs) {
        if (index < run.Count) return run.At(index) + block.Shift;
        index -= run.Count;
    }
    return block.Absolute(block.Runs.back()).Last();
}

bool WrapPoints::Has(qsizetype position) const {
    const qsizetype before = UpTo(position);
    return before > 0 && At(before - 1) == position;
}

qsizetype WrapPoints::LineStart(qsizetype line, qsizetype& paragraphs) const {
    // The line of a run's first point: the paragraphs before it, its own
    // start and the points before it. The last run that starts a line at
    // or before line is found among the blocks, then in its block.
    const auto firstLine = [this](std::size_t b) {
        return Blocks[b].Runs.front().Paragraph + Blocks[b].ParagraphShift + PointsBefore[b] + 1;
    };
    std::size_t low = 0;
    std::size_t high = Blocks.size();
    while (low < high) {
        const std::size_t middle = low + (high - low) / 2;
        if (firstLine(middle) <= line) {
            low = middle + 1;
        } else {
            high = middle;
        }
    }
    paragraphs = line;
    if (low == 0) return -1;
    const Block& block = Blocks[low - 1];
    qsizetype points = PointsBefore[low - 1];
    const Run* found = nullptr;
    qsizetype foundLine = 0;
    for (const Run& run : block.Runs) {
        const qsizetype runLine = run.Paragraph + block.ParagraphShift + points + 1;
        if (runLine > line) break;
        found = &run;
        foundLine = runLine;
        points += run.Count;
    }
    const Run run = block.Absolute(*found);
    if (line < foundLine + run.Count) return run.At(line - foundLine);
    paragraphs = run.Paragraph + (line - (foundLine + run.Count - 1));
    return -1;
}

std::vector<WrapPoints::Run> WrapPoints::Between(qsizetype from, qsizetype to) const {
    std::size_t first = BlockAt(from);
    if (first == Blocks.size()) first = 0;
    std::size_t last = first;
    std::size_t count = 0;
    for (; last < Blocks.size() && Blocks[last].FirstPosition() < to; ++last) {
        count += Blocks[last].Runs.size();
    }
    std::vector<Run> runs;
    runs.reserve(count);
    for (std::size_t b = first; b < last; ++b) {
        for (const Run& stored : Blocks[b].Runs) {
            const Run run = Blocks[b].Absolute(stored);
            if (run.First > from && run.First < to) runs.push_back(run);
        }
    }
    return runs;
}
