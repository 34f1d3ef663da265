// LineWrap: display-line starts, wrapped again where an edit changed them.
#include "line_wrap.h"

#include <QFontMetricsF>

#include <algorithm>
#include <cmath>

#include "text_buffer.h"

namespace {

// The distance of a text layout's default tab stops.
constexpr qreal kTabWidth = 80;

// Lines wrapped at once after an edit, beyond the edit itself: enough for
// a few screens; the rest of a long paragraph follows on demand.
constexpr qsizetype kEagerLines = 512;
// Lines wrapped at a time when a query needs lines left for later.
constexpr qsizetype kSlice = 1 << 16;

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

// Replaces lines[first, last) by fresh.
void Splice(std::vector<qsizetype>& lines, qsizetype first, qsizetype last,
            const std::vector<qsizetype>& fresh) {
    const auto kept = std::min<qsizetype>(last - first, static_cast<qsizetype>(fresh.size()));
    std::copy(fresh.begin(), fresh.begin() + kept, lines.begin() + first);
    if (kept < last - first) {
        lines.erase(lines.begin() + first + kept, lines.begin() + last);
    } else {
        lines.insert(lines.begin() + last, fresh.begin() + kept, fresh.end());
    }
}

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
    WideWidths.clear();
    ClusterWidths.clear();
    SetWidth(Width);
}

void LineWrap::SetWidth(qreal width) {
    Width = width;
    CellsPerLine = std::max<qsizetype>(1, static_cast<qsizetype>(std::floor(Width / Cell)));
    Rewrap();
}

void LineWrap::RefreshAsciiFixed() { TextAsciiFixed = FontAsciiFixed && Text.IsPrintableAscii(); }

void LineWrap::Rewrap() {
    RefreshAsciiFixed();
    ForgetChunk();
    Starts.assign(1, 0);
    Stale = false;
    const qsizetype size = Text.Size();
    for (qsizetype start = 0, end = Text.LineEnd(0);;) {
        start = NextBreak(start, end);
        if (start >= end) {
            if (end == size) break;
            start = end + 1;
            end = Text.LineEnd(start);
        }
        Starts.push_back(start);
    }
}

qsizetype LineWrap::NextBreak(qsizetype from, qsizetype end) {
    return TextAsciiFixed ? NextBreakFixed(from, end) : NextBreakMeasured(from, end);
}

qsizetype LineWrap::NextBreakFixed(qsizetype from, qsizetype end) {
    // Every character is one cell: the line holds CellsPerLine of them, and
    // a blank just after them hangs.
    if (end - from <= CellsPerLine) {
        LastSeen = end;
        return end;
    }
    LastSeen = from + CellsPerLine;
    const qsizetype blank = Text.LastIndexOf(u' ', from, from + CellsPerLine + 1);
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

void LineWrap::BeforeEdit(qsizetype from, qsizetype removed) {
    // Lines left for later may wait on only while every edit stays in their
    // paragraph and before their hints; else they are wrapped now, on the
    // old text.
    const qsizetype to = from + removed;
    if (Stale && (Text.LineEnd(to) != StaleParagraphEnd ||
                  (StaleFrom < StaleTo && to >= Starts[StaleFrom]))) {
        while (Complete(kSlice)) {
        }
    }
    // Where a line ends depends on the text it looked at to find its end,
    // which may reach past the next line (a letter joined to a long run of
    // marks): the lines are wrapped again from the first one that looked
    // at the edit.
    RewrapLine = static_cast<qsizetype>(std::upper_bound(Starts.begin(), Starts.end(), from) -
                                        Starts.begin()) -
                 1;
    while (RewrapLine > 0 && Text.At(Starts[RewrapLine] - 1) != u'\n') {
        const qsizetype previous = Starts[RewrapLine - 1];
        ForgetChunk();
        (void)NextBreak(previous, Text.LineEnd(previous));
        if (LastSeen < from) break;
        --RewrapLine;
    }
    ForgetChunk();
}

void LineWrap::Update(qsizetype from, qsizetype removed, qsizetype added) {
    const qsizetype delta = added - removed;
    const qsizetype oldEnd = from + removed;
    const qsizetype newEnd = from + added;
    TextAsciiFixed = TextAsciiFixed && Text.IsPrintableAscii();
    ForgetChunk();

    // From the line BeforeEdit found, within the edit's paragraph.
    const qsizetype line = RewrapLine;
    // The old starts from the end of the edit on see the same text after
    // them: where the new wrap meets one, it goes on as before.
    auto candidate = static_cast<qsizetype>(
        std::lower_bound(Starts.begin() + line + 1, Starts.end(), oldEnd) - Starts.begin());
    const auto count = static_cast<qsizetype>(Starts.size());
    enum class Stop { InStep, TextEnd, Later } stop = Stop::TextEnd;
    std::vector<qsizetype> fresh;
    qsizetype start = Starts[line];
    qsizetype end = Text.LineEnd(start);
    const qsizetype size = Text.Size();
    while (true) {
        qsizetype next = NextBreak(start, end);
        if (next >= end) {
            if (end == size) break;
            next = end + 1;
        }
        if (next >= newEnd) {
            while (candidate < count && Starts[candidate] + delta < next) ++candidate;
            if (candidate < count && Starts[candidate] + delta == next) {
                stop = Stop::InStep;
                break;
            }
        }
        fresh.push_back(next);
        if (next == end + 1) end = Text.LineEnd(next);
        start = next;
        if (next > newEnd && static_cast<qsizetype>(fresh.size()) > kEagerLines) {
            stop = Stop::Later;
            break;
        }
    }
    if (stop == Stop::Later) {
        // The old starts not yet passed wait, moved with the edit.
        while (candidate < count && Starts[candidate] + delta <= start) ++candidate;
    }
    const qsizetype keptFrom = stop == Stop::TextEnd ? count : candidate;
    const qsizetype shift = static_cast<qsizetype>(fresh.size()) - (keptFrom - line - 1);
    Splice(Starts, line + 1, keptFrom, fresh);
    const qsizetype moved = line + 1 + static_cast<qsizetype>(fresh.size());
    for (auto i = static_cast<std::size_t>(moved); i < Starts.size(); ++i) Starts[i] += delta;

    if (stop == Stop::Later) {
        // The right lines between here and earlier hints are no hints, as
        // the last of them ends in a line not wrapped yet: only the earlier
        // hints stay.
        if (Stale && candidate < StaleFrom) {
            Starts.erase(Starts.begin() + moved, Starts.begin() + moved + (StaleFrom - candidate));
        }
        Stale = true;
        StaleFrom = moved;
        StaleTo = static_cast<qsizetype>(
            std::upper_bound(Starts.begin() + moved, Starts.end(), end) - Starts.begin());
        StaleParagraphEnd = end;
    } else if (Stale && stop == Stop::InStep && candidate < StaleFrom) {
        StaleFrom += shift;
        StaleTo += shift;
        StaleParagraphEnd += delta;
    } else {
        Stale = false;
    }
}

bool LineWrap::Complete(qsizetype budget) {
    if (!Stale) return false;
    std::vector<qsizetype> fresh;
    qsizetype hint = StaleFrom;
    qsizetype start = Starts[StaleFrom - 1];
    bool done = false;
    while (!done && static_cast<qsizetype>(fresh.size()) < budget) {
        const qsizetype next = NextBreak(start, StaleParagraphEnd);
        while (hint < StaleTo && Starts[hint] < next) ++hint;
        if (next >= StaleParagraphEnd) {
            hint = StaleTo;  // the paragraph ends: every hint goes
            done = true;
        } else if (hint < StaleTo && Starts[hint] == next) {
            done = true;  // in step: the hints from here on hold
        } else {
            fresh.push_back(next);
            start = next;
        }
    }
    // The hints passed go.
    Splice(Starts, StaleFrom, hint, fresh);
    StaleTo += static_cast<qsizetype>(fresh.size()) - (hint - StaleFrom);
    StaleFrom += static_cast<qsizetype>(fresh.size());
    Stale = !done;
    return Stale;
}

void LineWrap::CompleteUpTo(qsizetype position) {
    // The line holding position is known once a right line starts after it.
    while (Stale && position >= Starts[StaleFrom - 1]) Complete(kSlice);
}

void LineWrap::CompleteLines(qsizetype line) {
    // Lines before the first one left for later keep their numbers.
    while (Stale && line >= StaleFrom) Complete(kSlice);
}
qsizetype LineWrap::LineStart(qsizetype line) {
    CompleteLines(line);
    return Starts[static_cast<std::size_t>(std::clamp<qsizetype>(line, 0, LineCount() - 1))];
}

qsizetype LineWrap::LineEnd(qsizetype line) {
    CompleteLines(line + 1);
    if (line + 1 >= LineCount()) return Text.Size();
    const qsizetype next = Starts[static_cast<std::size_t>(line + 1)];
    return Text.At(next - 1) == u'\n' ? next - 1 : next;
}

bool LineWrap::EndsParagraph(qsizetype line) {
    CompleteLines(line + 1);
    return line + 1 >= LineCount() ||
           Text.At(Starts[static_cast<std::size_t>(line + 1)] - 1) == u'\n';
}

qsizetype LineWrap::LineOf(qsizetype position) {
    CompleteUpTo(position);
    return static_cast<qsizetype>(std::upper_bound(Starts.begin(), Starts.end(), position) -
                                  Starts.begin()) -
           1;
}
