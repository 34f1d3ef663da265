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
    Breaks = FindBreaks(0, Size(), 0);
}

TextBuffer TextBuffer::FromLatin1(std::string_view latin1) {
    TextBuffer buffer;
    buffer.Latin1 = QByteArray(latin1.data(), static_cast<qsizetype>(latin1.size()));
    buffer.Breaks = buffer.FindBreaks(0, buffer.Size(), 0);
    return buffer;
}

std::vector<qsizetype> TextBuffer::FindBreaks(qsizetype from, qsizetype count,
                                              qsizetype shift) const {
    std::vector<qsizetype> breaks;
    const qsizetype end = from + count;
    if (Wide) {
        for (qsizetype at = Utf16.indexOf(QLatin1Char('\n'), from); at >= 0 && at < end;
             at = Utf16.indexOf(QLatin1Char('\n'), at + 1)) {
            breaks.push_back(at + shift);
        }
    } else {
        const char* data = Latin1.constData();
        for (const char* at = data + from;
             (at = static_cast<const char*>(std::memchr(at, '\n', static_cast<std::size_t>(data + end - at)))) != nullptr;
             ++at) {
            breaks.push_back(at - data + shift);
        }
    }
    return breaks;
}

QString TextBuffer::Mid(qsizetype from, qsizetype count) const {
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
    slice.Breaks = FindBreaks(from, count, -from);
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
