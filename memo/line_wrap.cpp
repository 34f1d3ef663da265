// LineWrap: the wrap points of the paragraphs, wrapped again where an edit
// changed them.
#include "line_wrap.h"

#include <QFontMetricsF>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "memo_text.h"
#include "text_buffer.h"

namespace {

// The distance of a text layout's default tab stops.
constexpr qreal kTabWidth = 80;
// Widths in 64ths of a pixel, the unit of a font's advances.
constexpr qreal kSubpixels = 64;
constexpr auto kTabSubpixels = static_cast<qint64>(kTabWidth * kSubpixels);

// Characters that never join a neighbour into one cluster: those below the
// combining marks, and the punctuation and currency signs of German prose.
bool StandsAlone(char16_t c) {
    return c < 0x300 || (c >= 0x2010 && c <= 0x2027) || (c >= 0x2030 && c <= 0x205E) ||
           (c >= 0x20A0 && c <= 0x20CF);
}

bool IsMark(char16_t c) {
    const auto category = QChar::category(c);
    return category == QChar::Mark_NonSpacing || category == QChar::Mark_SpacingCombining ||
           category == QChar::Mark_Enclosing;
}

bool IsPrintableAscii(uchar c) { return static_cast<uchar>(c - 0x20) < 0x5F; }

}  // namespace

void LineWrap::SetFont(const QFont& font) {
    Font = font;
    const QFontMetricsF metrics(font);
    Cell = std::max<qreal>(1, metrics.horizontalAdvance(QLatin1Char('0')));
    FontAsciiFixed = true;
    for (int c = 0; c < 256; ++c) {
        Latin1Widths[c] = metrics.horizontalAdvance(QChar(c));
        if (IsPrintableAscii(static_cast<uchar>(c)) && Latin1Widths[c] != Cell) {
            FontAsciiFixed = false;
        }
    }
    WidestOneByte = kTabWidth;
    FontOneByteFixed = true;
    for (std::size_t byte = 0; byte < OneByteWidths.size(); ++byte) {
        const char16_t c = trithemius::kOneByteCharacters[byte];
        OneByteWidths[byte] = c < 256 ? Latin1Widths[c] : metrics.horizontalAdvance(QChar(c));
        WidestOneByte = std::max(WidestOneByte, OneByteWidths[byte]);
        OneByteSubpixels[byte] = qRound64(OneByteWidths[byte] * kSubpixels);
        if (!trithemius::IsOneByteControl(static_cast<uchar>(byte)) &&
            OneByteWidths[byte] != Cell) {
            FontOneByteFixed = false;
        }
    }
    WideWidths.clear();
    ClusterWidths.clear();
    SetWidth(Width);
}

void LineWrap::SetWidth(qreal width) {
    Width = width;
    WidthSubpixels = static_cast<qint64>(std::floor(std::clamp<qreal>(Width, 0, 1e9) * kSubpixels));
    CellsPerLine = std::max<qsizetype>(1, static_cast<qsizetype>(std::floor(Width / Cell)));
    Rewrap();
}

void LineWrap::RefreshCounting() {
    CountingCells = (FontAsciiFixed && Text.IsPrintableAscii()) ||
                    (FontOneByteFixed && Text.IsPrintableOneByte());
}

qsizetype LineWrap::SureLineUnits() const {
    // A line holds at least one cluster, and n characters of the one-byte
    // form at most n times the widest of them, tabs included.
    if (CountingCells) return CellsPerLine;
    // Before a font is set every character of the form is as wide as nothing.
    if (WidestOneByte <= 0) return MaxLineUnits();
    return std::min(MaxLineUnits(), static_cast<qsizetype>(std::floor(Width / WidestOneByte)));
}

void LineWrap::Rewrap() {
    // Points kept for an undo were found at the old width.
    Kept.reset();
    Reusable.reset();
    RefreshCounting();
    qsizetype stop = 0;
    Points.Assign(WrapFrom(0, Text.Size(), Text.Size() + 1, 0, stop));
}

std::vector<LineWrap::Run> LineWrap::WrapFrom(qsizetype start, qsizetype last, qsizetype inStepFrom,
                                              qsizetype delta, qsizetype& stop) {
    std::vector<Run> fresh;
    const qsizetype sure = SureLineUnits();
    const qsizetype step = CellsPerLine;
    ForgetChunk();
    qsizetype end = Text.LineEnd(start);
    qsizetype paragraph = Text.BreaksBefore(start);
    stop = last;
    // Adds the run of count points from first on, unless the old points
    // join in on the way: then only those before, and the wrap stops.
    const auto takeRun = [&](qsizetype first, qsizetype count, qsizetype spacing) {
        const qsizetype lastPoint = first + (count - 1) * spacing;
        qsizetype join = first;
        if (join < inStepFrom) join += (inStepFrom - first + spacing - 1) / spacing * spacing;
        const bool joins = join <= lastPoint && join - delta > start && Points.Has(join - delta);
        if (joins) count = (join - first) / spacing;
        if (count > 0) {
            Append(fresh, {first, paragraph, static_cast<std::int32_t>(count),
                           static_cast<std::int32_t>(spacing)});
        }
        if (joins) stop = join;
        return joins;
    };
    for (qsizetype at = start;;) {
        if (CountingCells && at < end) {
            // A blank in the line's own leaf is found there, not in the tree.
            qsizetype leafStart = 0;
            const TextPiece leaf = Text.LeafPiece(at, leafStart);
            const qsizetype ahead = std::min(step + 1, end - at);
            const void* blank = leaf.OneByte && at + ahead <= leafStart + leaf.Size()
                                    ? std::memchr(leaf.Bytes.data() + (at - leafStart), ' ',
                                                  static_cast<std::size_t>(ahead))
                                    : nullptr;
            qsizetype count = 0;
            qsizetype spacing = step;
            if (blank == nullptr) {
                // Without a blank within reach a line holds a cell per
                // character: the points up to the next blank or the
                // paragraph's end are a run.
                const qsizetype reach = std::min(Text.NextBlank(at), end);
                if (reach > at) count = (reach - 1 - at) / step;
            } else {
                // Where the blanks come every so many characters from the
                // line's start on (a text of groups), every line holds as
                // many whole groups as fit, so all have one length, as far
                // as the characters each line looks at keep to the pattern.
                const qsizetype group =
                    static_cast<const char*>(blank) - leaf.Bytes.data() - (at - leafStart) + 1;
                if (group >= 2 && end - at > 2 * (step + 1)) {
                    const qsizetype regular = Text.BlankPatternEnd(at, end, group);
                    spacing = (step + 1) / group * group;
                    // A line looks at step + 2 characters: those that fit,
                    // the blank that may hang and the character after it.
                    if (regular - at > step + 1) count = (regular - at - step - 2) / spacing + 1;
                }
            }
            count = std::min<qsizetype>(count, INT32_MAX);
            if (count > 0) {
                if (takeRun(at + spacing, count, spacing)) break;
                at += count * spacing;
            }
        }
        const qsizetype next = NextBreak(at, end);
        if (next < end) {
            if (next >= inStepFrom && next - delta > start && Points.Has(next - delta)) {
                stop = next;
                break;
            }
            Append(fresh, {next, paragraph});
            at = next;
            continue;
        }
        // The next paragraph to wrap; where the wrap comes to paragraphs an
        // edit put back as they were taken out, they get their old points.
        bool more = true;
        while (more) {
            more = end < last && NextLongParagraph(end, last, sure, at, paragraph);
            const Stash* stash = Putting.Points;
            if (!more || stash == nullptr || Putting.Done || end >= Putting.From + stash->Start ||
                at < Putting.From + stash->Start) {
                break;
            }
            fresh.reserve(fresh.size() + stash->Runs.size());
            for (Run run : stash->Runs) {
                run.First += Putting.From;
                run.Paragraph += Putting.Paragraph;
                Append(fresh, run);
            }
            end = Putting.From + stash->End;
            paragraph = Putting.Paragraph + stash->EndParagraph;
            Putting.Done = true;
        }
        if (!more) break;
        end = Text.LineEnd(at);
    }
    ForgetChunk();
    return fresh;
}

bool LineWrap::NextLongParagraph(qsizetype end, qsizetype last, qsizetype sure, qsizetype& at,
                                 qsizetype& paragraph) const {
    // The paragraphs that surely fit into a line are passed over; one that
    // is long within its leaf needs no search.
    qsizetype leafStart = 0;
    const TextPiece leaf = end + 1 < Text.Size() ? Text.LeafPiece(end + 1, leafStart) : TextPiece{};
    const qsizetype offset = end + 1 - leafStart;
    if (leaf.OneByte && offset + sure < leaf.Size() &&
        std::memchr(leaf.Bytes.data() + offset, '\n', static_cast<std::size_t>(sure + 1)) ==
            nullptr) {
        at = end + 1;
        ++paragraph;
        return true;
    }
    qsizetype passed = 0;
    at = Text.NextLongParagraph(end + 1, sure, !CountingCells, &passed);
    if (at > last) return false;
    paragraph += 1 + passed;
    return true;
}

qsizetype LineWrap::NextBreak(qsizetype from, qsizetype end) {
    return CountingCells ? NextBreakFixed(from, end) : NextBreakMeasured(from, end);
}

qsizetype LineWrap::NextBreakFixed(qsizetype from, qsizetype end) {
    // Every character is one cell: the line holds CellsPerLine of them, and
    // a blank just after them hangs.
    if (end - from <= CellsPerLine) {
        LastSeen = end;
        return end;
    }
    LastSeen = from + CellsPerLine;
    // The last blank that fits, in the leaf where it lies within one.
    qsizetype leafStart = 0;
    const TextPiece leaf = Text.LeafPiece(from, leafStart);
    qsizetype blank = -1;
    if (leaf.OneByte && from + CellsPerLine + 1 <= leafStart + leaf.Size()) {
        const char* at = leaf.Bytes.data() + (from - leafStart);
        const void* found = memrchr(at, ' ', static_cast<std::size_t>(CellsPerLine + 1));
        if (found != nullptr) blank = from + (static_cast<const char*>(found) - at);
    } else {
        blank = Text.LastIndexOf(u' ', from, from + CellsPerLine + 1);
    }
    if (blank < 0) return from + CellsPerLine;
    qsizetype next = blank + 1;
    while (next < end && Text.At(next) == u' ') ++next;
    LastSeen = std::max(LastSeen, next);
    return next;
}

qsizetype LineWrap::NextBreakMeasured(qsizetype from, qsizetype end) {
    const qsizetype limit = from + MaxLineUnits();
    qreal x = 0;
    qsizetype afterBlanks = from;
    qsizetype at = from;
    LastSeen = end;
    while (at < end) {
        // Within a leaf of the one-byte form every character but the last
        // is a cluster of its own (marks, which may follow the last, are
        // never held so), and its width is a table's.
        qsizetype leafStart = 0;
        const TextPiece leaf = Text.LeafPiece(at, leafStart);
        if (leaf.OneByte) {
            // The widths are added up in 64ths of a pixel, as Qt's text
            // layout adds them: the same sums as the font's own fractions,
            // and an integer sum takes a step a cycle.
            const qsizetype stretchEnd = std::min({end, limit, leafStart + leaf.Size() - 1});
            const auto* bytes = reinterpret_cast<const uchar*>(leaf.Bytes.data()) - leafStart;
            const qsizetype begin = at;
            qint64 sum = qRound64(x * kSubpixels);
            bool full = false;
            for (; at < stretchEnd; ++at) {
                const uchar byte = bytes[at];
                if (byte == ' ') {
                    sum += OneByteSubpixels[' '];
                    afterBlanks = at + 1;
                    continue;
                }
                const qint64 width = byte == '\t' ? (sum / kTabSubpixels + 1) * kTabSubpixels - sum
                                                  : OneByteSubpixels[byte];
                if (at > from && sum + width > WidthSubpixels) {
                    full = true;
                    break;
                }
                sum += width;
            }
            x = static_cast<qreal>(sum) / kSubpixels;
            if (full) LastSeen = at + 1;
            if (!full && at > begin) LastSeen = at;
            if (full || at >= end) break;
        }
        const char16_t c = Text.At(at);
        const qsizetype next = ClusterEnd(at, end, limit);
        // A cluster's end is told by the character there too.
        LastSeen = next;
        if (c == u' ' && next == at + 1) {
            // Blanks hang at the end of a line: the line may end after them.
            x += Latin1Widths[' '];
            at = afterBlanks = next;
            continue;
        }
        if (next > limit) {
            if (at > from) break;
            // A run of marks too long for any line is cut, though not
            // between the halves of a surrogate pair. The next line tells
            // its clusters from its own start, as a wrap from there would.
            ForgetChunk();
            const bool pair =
                QChar::isLowSurrogate(Text.At(limit)) && QChar::isHighSurrogate(Text.At(limit - 1));
            return pair ? limit - 1 : limit;
        }
        // A tab reaches the next stop of a text layout's default stops.
        const qreal width =
            c == u'\t' ? (std::floor(x / kTabWidth) + 1) * kTabWidth - x : ClusterWidth(at, next);
        if (at > from && x + width > Width) break;
        x += width;
        at = next;
    }
    if (at >= end) return end;
    return afterBlanks > from ? afterBlanks : at;
}

qsizetype LineWrap::ClusterEnd(qsizetype from, qsizetype end, qsizetype limit) {
    if (StandsAlone(Text.At(from)) && (from + 1 == end || StandsAlone(Text.At(from + 1)))) {
        return from + 1;
    }
    // The boundaries of a stretch of text from here on, asked of Qt's
    // grapheme rules. The stretch reaches past limit or to end, so that
    // its end, where Qt always sees a boundary, only ever ends a cluster
    // that is too long for the line anyway.
    // A line that starts with a mark is the rest of a run of marks cut
    // before: its stretch reaches just past limit, as the whole run is one
    // cluster that ends the line there.
    constexpr qsizetype kChunk = 4096;
    if (from < ChunkStart || from >= ChunkEnd || (ChunkEnd < end && ChunkEnd <= limit)) {
        const qsizetype reach = IsMark(Text.At(from)) ? 0 : kChunk;
        ChunkStart = from;
        ChunkEnd = std::min(end, from + std::max(reach, limit - from + 1));
        Chunk = Text.Mid(ChunkStart, ChunkEnd - ChunkStart);
        Finder = QTextBoundaryFinder(QTextBoundaryFinder::Grapheme, Chunk);
    }
    Finder.setPosition(from - ChunkStart);
    return ChunkStart + Finder.toNextBoundary();
}

void LineWrap::ForgetChunk() {
    Chunk.clear();
    ChunkStart = ChunkEnd = 0;
}

qreal LineWrap::ClusterWidth(qsizetype from, qsizetype to) {
    const char16_t first = Text.At(from);
    if (to == from + 1) {
        if (first < 256) return Latin1Widths[first];
        const auto known = WideWidths.constFind(first);
        if (known != WideWidths.cend()) return *known;
        const qreal width =
            QChar::isSurrogate(first) ? 0 : QFontMetricsF(Font).horizontalAdvance(QChar(first));
        WideWidths.insert(first, width);
        return width;
    }
    // A piece of a long run of marks adds nothing to the width.
    constexpr qsizetype kLongestMeasured = 16;
    if (to - from > kLongestMeasured) return IsMark(first) ? 0 : Cell * 2;
    const QString cluster = Text.Mid(from, to - from);
    const auto known = ClusterWidths.constFind(cluster);
    if (known != ClusterWidths.cend()) return *known;
    const qreal width = QFontMetricsF(Font).horizontalAdvance(cluster);
    ClusterWidths.insert(cluster, width);
    return width;
}

void LineWrap::BeforeEdit(qsizetype from, const TextBuffer& removedText) {
    const qsizetype removed = removedText.Size();
    Reusable = std::move(Kept);
    Kept.reset();
    KeepPoints(from, removedText);
    // Where a line ends depends on the text it looked at to find its end,
    // which may reach past the next line (a letter joined to a long run of
    // marks): the wrap begins at the first line that looked at the edit.
    qsizetype line = LineOf(from);
    RewrapStart = LineStart(line);
    while (line > 0 && Text.At(RewrapStart - 1) != u'\n') {
        const qsizetype previous = LineStart(line - 1);
        ForgetChunk();
        (void)NextBreak(previous, Text.LineEnd(previous));
        if (LastSeen < from) break;
        RewrapStart = previous;
        --line;
    }
    ForgetChunk();
    OldParagraphEnd = Text.LineEnd(from + removed);
    OldBreaks = Text.LineBreakCount();
}

void LineWrap::Update(qsizetype from, qsizetype removed, const TextBuffer& addedText) {
    const qsizetype added = addedText.Size();
    const qsizetype delta = added - removed;
    RefreshCounting();
    Putting = {};
    if (Reusable && Reusable->Text.IsSameAs(addedText)) {
        Putting = {&*Reusable, from, Text.BreaksBefore(from), false};
    }
    qsizetype stop = 0;
    std::vector<Run> fresh =
        WrapFrom(RewrapStart, OldParagraphEnd + delta, from + added, delta, stop);
    Putting = {};
    Reusable.reset();
    // The old points up to RewrapStart stay; so do those from where the
    // wrap fell into step with them, or after the edit's paragraphs,
    // moved with the edit. A run may reach over either edge.
    const qsizetype keptFrom = stop < OldParagraphEnd + delta ? stop - delta : OldParagraphEnd + 1;
    Points.Replace(RewrapStart, keptFrom, fresh, delta, Text.LineBreakCount() - OldBreaks);
}

void LineWrap::Append(std::vector<Run>& runs, const Run& run) {
    if (!runs.empty()) {
        Run& last = runs.back();
        const qsizetype gap = run.First - last.Last();
        const bool joins = last.Paragraph == run.Paragraph && gap <= INT32_MAX &&
                           (last.Count == 1 || gap == last.Step) &&
                           (run.Count == 1 || run.Step == gap) &&
                           static_cast<qsizetype>(last.Count) + run.Count <= INT32_MAX;
        if (joins) {
            last.Step = static_cast<std::int32_t>(gap);
            last.Count += run.Count;
            return;
        }
    }
    runs.push_back(run);
}

void LineWrap::KeepPoints(qsizetype from, const TextBuffer& removed) {
    // Only a long stretch is worth it: the wrap of a short one is quick.
    constexpr qsizetype kLongStretch = 4096;
    if (removed.Size() < kLongStretch) return;
    const qsizetype to = from + removed.Size();
    const qsizetype firstBreak = Text.LineEnd(from);
    const qsizetype lastBreak = Text.LineStart(to) - 1;
    if (firstBreak >= lastBreak) return;  // no whole paragraph
    Stash stash{removed, {}, firstBreak + 1 - from, lastBreak - from, 0};
    const qsizetype before = Text.BreaksBefore(from);
    stash.EndParagraph = Text.BreaksBefore(lastBreak) - before;
    stash.Runs = Points.Between(firstBreak, lastBreak);
    for (Run& run : stash.Runs) {
        run.First -= from;
        run.Paragraph -= before;
    }
    Kept = std::move(stash);
}

qsizetype LineWrap::LineCount() const { return Text.LineBreakCount() + 1 + Points.Count(); }

qsizetype LineWrap::LineOf(qsizetype position) const {
    position = std::clamp<qsizetype>(position, 0, Text.Size());
    return Text.BreaksBefore(position) + Points.UpTo(position);
}

qsizetype LineWrap::LineStart(qsizetype line) const {
    line = std::clamp<qsizetype>(line, 0, LineCount() - 1);
    qsizetype paragraphs = 0;  // paragraph starts to count from the text's start
    const qsizetype point = Points.LineStart(line, paragraphs);
    if (point >= 0) return point;
    return paragraphs == 0 ? 0 : Text.BreakPosition(paragraphs - 1) + 1;
}

qsizetype LineWrap::LineEnd(qsizetype line) const {
    const qsizetype start = LineStart(line);
    const qsizetype points = Points.UpTo(start);
    const qsizetype paragraphEnd = Text.LineEnd(start);
    return points < Points.Count() ? std::min(paragraphEnd, Points.At(points)) : paragraphEnd;
}

bool LineWrap::EndsParagraph(qsizetype line) const {
    return LineEnd(line) == Text.LineEnd(LineStart(line));
}
