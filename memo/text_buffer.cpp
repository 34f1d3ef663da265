// TextBuffer: Latin-1 bytes until a wider character arrives, then UTF-16,
// and the positions of its LFs.
#include "text_buffer.h"

#include <algorithm>
#include <cstring>

namespace {

bool FitsLatin1(const QString& text) {
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x100; });
}

}  // namespace

TextBuffer::TextBuffer(QString text) {
    if (FitsLatin1(text)) {
        Latin1 = text.toLatin1();
    } else {
        Wide = true;
        Utf16 = std::move(text);
    }
    Breaks = FindBreaks();
}

TextBuffer TextBuffer::FromLatin1(std::string_view latin1) {
    // Room to type into, so that the first keystroke into a long text does
    // not move all of it to a larger block.
    constexpr qsizetype kRoom = 4096;
    TextBuffer buffer;
    buffer.Latin1.reserve(static_cast<qsizetype>(latin1.size()) + kRoom);
    buffer.Latin1.append(latin1.data(), static_cast<qsizetype>(latin1.size()));
    buffer.Breaks = buffer.FindBreaks();
    return buffer;
}

std::vector<qsizetype> TextBuffer::FindBreaks() const {
    std::vector<qsizetype> breaks;
    if (Wide) {
        for (qsizetype at = Utf16.indexOf(QLatin1Char('\n')); at >= 0;
             at = Utf16.indexOf(QLatin1Char('\n'), at + 1)) {
            breaks.push_back(at);
        }
    } else {
        const char* data = Latin1.constData();
        const char* end = data + Latin1.size();
        for (const char* at = data; (at = static_cast<const char*>(std::memchr(
                                         at, '\n', static_cast<std::size_t>(end - at)))) != nullptr;
             ++at) {
            breaks.push_back(at - data);
        }
    }
    return breaks;
}

QString TextBuffer::Mid(qsizetype from, qsizetype count) const {
    // A piece reaching past either end is cut to the text, as QString::mid does.
    from = std::clamp<qsizetype>(from, 0, Size());
    count = std::clamp<qsizetype>(count, 0, Size() - from);
    if (Wide) return Utf16.mid(from, count);
    return QString::fromLatin1(Latin1.constData() + from, count);
}

void TextBuffer::AppendTo(QString& text, qsizetype from, qsizetype count) const {
    if (Wide) {
        text.append(QStringView(Utf16).mid(from, count));
    } else {
        text.append(QLatin1StringView(Latin1.constData() + from, count));
    }
}

TextBuffer TextBuffer::Slice(qsizetype from, qsizetype count) const {
    TextBuffer slice;
    slice.Wide = Wide;
    if (Wide) {
        slice.Utf16 = Utf16.mid(from, count);
    } else {
        slice.Latin1 = Latin1.mid(from, count);
    }
    // The LFs already found, not a search: a slice of a long wide text
    // without LFs after it is taken at every keystroke.
    const auto first = std::lower_bound(Breaks.begin(), Breaks.end(), from);
    const auto last = std::lower_bound(first, Breaks.end(), from + count);
    slice.Breaks.reserve(static_cast<std::size_t>(last - first));
    for (auto at = first; at != last; ++at) slice.Breaks.push_back(*at - from);
    return slice;
}

void TextBuffer::Replace(qsizetype from, qsizetype count, const TextBuffer& text) {
    if (text.Wide && !Wide) Widen();
    if (Wide) {
        Utf16.replace(from, count, text.Wide ? text.Utf16 : QString::fromLatin1(text.Latin1));
    } else {
        Latin1.replace(from, count, text.Latin1);
    }
    const auto first = std::lower_bound(Breaks.begin(), Breaks.end(), from);
    const auto last = std::lower_bound(first, Breaks.end(), from + count);
    const qsizetype shift = text.Size() - count;
    for (auto at = last; at != Breaks.end(); ++at) *at += shift;
    std::vector<qsizetype> inserted = text.Breaks;
    for (qsizetype& at : inserted) at += from;
    const auto kept = Breaks.erase(first, last);
    Breaks.insert(kept, inserted.begin(), inserted.end());
}

qsizetype TextBuffer::LineEnd(qsizetype from) const {
    const auto at = std::lower_bound(Breaks.begin(), Breaks.end(), from);
    return at == Breaks.end() ? Size() : *at;
}

qsizetype TextBuffer::LineStart(qsizetype position) const {
    const auto at = std::lower_bound(Breaks.begin(), Breaks.end(), position);
    return at == Breaks.begin() ? 0 : *(at - 1) + 1;
}

void TextBuffer::Widen() {
    Utf16 = QString::fromLatin1(Latin1);
    Latin1 = QByteArray();
    Wide = true;
}
