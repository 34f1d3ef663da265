// LineWrap: display-line starts, wrapped again where an edit changed them.
#include "line_wrap.h"

#include <QFontMetricsF>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "text_buffer.h"

namespace {

// A tab advances to the next stop of a text layout's default stops.
constexpr qreal kTabWidth = 80;

// Lines wrapped at once after an edit, beyond the edit itself: enough for
// a few screens; the rest of a long paragraph follows on demand.
constexpr qsizetype kEagerLines = 512;

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
        Latin1Widths[c] = c == '\t' ? kTabWidth : metrics.horizontalAdvance(QChar(c));
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

void LineWrap::RefreshAsciiFixed() {
    bool fixed = FontAsciiFixed && Text.IsLatin1();
    if (fixed) {
        // No early exit: the compiler turns this into vector instructions.
        const uchar* data = Text.Latin1Data();
        uchar other = 0;
        for (qsizetype i = 0, size = Text.Size(); i < size; ++i) {
            other |= static_cast<uchar>(!IsPrintableAscii(data[i]) & (data[i] != '\n'));
        }
        fixed = other == 0;
    }
    TextAsciiFixed = fixed;
}

void LineWrap::Rewrap() {
    RefreshAsciiFixed();
    Chunk.clear();
    ChunkStart = ChunkEnd = 0;
    Starts.assign(1, 0);
    StaleFrom = StaleTo = 0;
    const qsizetype size = Text.Size();
    for (qsizetype start = 0;;) {
        const qsizetype end = Text.LineEnd(start);
        WrapParagraphTail(start, end, Starts);
        if (end == size) break;
        start = end + 1;
        Starts.push_back(start);
    }
}

void LineWrap::WrapParagraphTail(qsizetype from, qsizetype end, std::vector<qsizetype>& lines) {
    for (qsizetype start = from;;) {
        start = NextBreak(start, end);
        if (start >= end) return;
        lines.push_back(start);
    }
}

qsizetype LineWrap::NextBreak(qsizetype from, qsizetype end) {
    return TextAsciiFixed ? NextBreakFixed(from, end) : NextBreakMeasured(from, end);
}

qsizetype LineWrap::NextBreakFixed(qsizetype from, qsizetype end) const {
    // Every character is one cell: the line holds CellsPerLine of them, and
    // a blank just after them hangs.
    if (end - from <= CellsPerLine) return end;
    const uchar* data = Text.Latin1Data();
    const void* blank = memrchr(data + from, ' ', static_cast<std::size_t>(CellsPerLine + 1));
    if (blank == nullptr) return from + CellsPerLine;
    qsizetype next = static_cast<const uchar*>(blank) - data + 1;
    while (next < end && data[next] == ' ') ++next;
    return next;
}

qsizetype LineWrap::NextBreakMeasured(qsizetype from, qsizetype end) {
    const qsizetype limit = from + MaxLineUnits();
    qreal x = 0;
    qsizetype afterBlanks = -1;
    qsizetype at = from;
    while (at < end) {
        const qsizetype next = ClusterEnd(at, end, limit);
        if (Text.At(at) == u' ') {
            // Blanks hang at the end of a line: the line may end after them.
            at = next;
            while (at < end && Text.At(at) == u' ') ++at;
            afterBlanks = at;
            x += Latin1Widths[' '];
            continue;
        }
        const qreal width = ClusterWidth(at, next);
        if (at > from && (x + width > Width || next > limit)) break;
        x += width;
        at = next;
        if (at >= limit) break;
    }
    if (at >= end) return end;
    return afterBlanks > from ? afterBlanks : at;
}

qsizetype LineWrap::ClusterEnd(qsizetype from, qsizetype end, qsizetype limit) {
    if (StandsAlone(Text.At(from)) && (from + 1 == end || StandsAlone(Text.At(from + 1)))) {
        return from + 1;
    }
    // The boundaries of a stretch of text from here on, asked of Qt's
    // grapheme rules; a stretch too short to tell is taken again from here.
    constexpr qsizetype kChunk = 4096;
    if (from < ChunkStart || from >= ChunkEnd || (ChunkEnd < end && ChunkEnd - from < limit - from)) {
        ChunkStart = from;
        ChunkEnd = std::min(end, from + std::max(kChunk, limit - from + 1));
        Chunk = Text.Mid(ChunkStart, ChunkEnd - ChunkStart);
        Finder = QTextBoundaryFinder(QTextBoundaryFinder::Grapheme, Chunk);
    }
    Finder.setPosition(from - ChunkStart);
    const qsizetype boundary = Finder.toNextBoundary();
    const qsizetype next = boundary < 0 ? ChunkEnd : ChunkStart + boundary;
    return std::min(next, std::max(limit, from + 1));
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
    // Lines left for later may wait on only while every edit stays before
    // them in their paragraph; else they are wrapped now, on the old text.
    if (StaleFrom < StaleTo &&
        (from + removed >= Starts[StaleFrom] || Text.LineEnd(from + removed) != StaleParagraphEnd)) {
        CompleteUpTo(Text.Size() + 1);
    }
}

void LineWrap::Update(qsizetype from, qsizetype removed, qsizetype added) {
    const qsizetype delta = added - removed;
    const qsizetype oldEnd = from + removed;
    const qsizetype newEnd = from + added;
    if (TextAsciiFixed) {
        for (qsizetype i = from; i < newEnd && TextAsciiFixed; ++i) {
            const char16_t c = Text.At(i);
            TextAsciiFixed = Text.IsLatin1() && (IsPrintableAscii(static_cast<uchar>(c)) || c == u'\n');
        }
    }
    Chunk.clear();
    ChunkStart = ChunkEnd = 0;

    // From the line before the one holding the edit, within its paragraph.
    auto line = static_cast<qsizetype>(std::upper_bound(Starts.begin(), Starts.end(), from) -
                                       Starts.begin()) - 1;
    if (line > 0 && Text.At(Starts[line] - 1) != u'\n') --line;
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
    const bool hadStale = StaleFrom < StaleTo;
    const qsizetype shift = static_cast<qsizetype>(fresh.size()) - (keptFrom - line - 1);
    Splice(Starts, line + 1, keptFrom, fresh);
    const qsizetype moved = line + 1 + static_cast<qsizetype>(fresh.size());
    for (auto i = static_cast<std::size_t>(moved); i < Starts.size(); ++i) Starts[i] += delta;

    if (stop == Stop::Later) {
        StaleFrom = moved;
        StaleTo = static_cast<qsizetype>(
            std::upper_bound(Starts.begin() + moved, Starts.end(), end) - Starts.begin());
        StaleParagraphEnd = end;
    } else if (hadStale && stop == Stop::InStep && candidate < StaleFrom) {
        StaleFrom += shift;
        StaleTo += shift;
        StaleParagraphEnd += delta;
    } else {
        StaleFrom = StaleTo = 0;
    }
    if (StaleFrom >= StaleTo) StaleFrom = StaleTo = 0;
}

bool LineWrap::Complete(qsizetype budget) {
    if (StaleFrom >= StaleTo) return false;
    std::vector<qsizetype> fresh;
    qsizetype candidate = StaleFrom;
    qsizetype start = Starts[StaleFrom - 1];
    const qsizetype end = StaleParagraphEnd;
    bool done = false;
    while (static_cast<qsizetype>(fresh.size()) < budget) {
        const qsizetype next = NextBreak(start, end);
        if (next >= end) {
            candidate = StaleTo;  // the paragraph ends: every old start in it goes
            done = true;
            break;
        }
        while (candidate < StaleTo && Starts[candidate] < next) ++candidate;
        if (candidate < StaleTo && Starts[candidate] == next) {
            done = true;
            break;
        }
        fresh.push_back(next);
        start = next;
    }
    if (!done) {
        // The old starts not yet passed stay; those passed go.
        while (candidate < StaleTo && Starts[candidate] <= start) ++candidate;
    }
    const qsizetype from = StaleFrom;
    Splice(Starts, from, candidate, fresh);
    const qsizetype shift = static_cast<qsizetype>(fresh.size()) - (candidate - from);
    if (done) {
        StaleFrom = StaleTo = 0;
        return false;
    }
    StaleFrom = from + static_cast<qsizetype>(fresh.size());
    StaleTo += shift;
    if (StaleFrom >= StaleTo) StaleFrom = StaleTo = 0;
    return StaleFrom < StaleTo;
}

void LineWrap::CompleteUpTo(qsizetype position) {
    constexpr qsizetype kSlice = 1 << 16;
    while (StaleFrom < StaleTo && (position > StaleParagraphEnd || Starts[StaleFrom] <= position)) {
        Complete(kSlice);
    }
}

qsizetype LineWrap::LineStart(qsizetype line) {
    // Lines before the first one left for later keep their numbers.
    while (StaleFrom < StaleTo && line >= StaleFrom) Complete(1 << 16);
    return Starts[static_cast<std::size_t>(std::clamp<qsizetype>(line, 0, LineCount() - 1))];
}

qsizetype LineWrap::LineEnd(qsizetype line) {
    if (line + 1 >= LineCount()) return Text.Size();
    const qsizetype next = LineStart(line + 1);
    return Text.At(next - 1) == u'\n' ? next - 1 : next;
}

bool LineWrap::EndsParagraph(qsizetype line) {
    return line + 1 >= LineCount() || Text.At(LineStart(line + 1) - 1) == u'\n';
}

qsizetype LineWrap::LineOf(qsizetype position) {
    CompleteUpTo(position);
    return static_cast<qsizetype>(std::upper_bound(Starts.begin(), Starts.end(), position) -
                                  Starts.begin()) - 1;
}
