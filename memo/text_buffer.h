// TextBuffer: the one copy of a memo's text. Lines are separated by LF and
// nothing else. The text is held as Latin-1 bytes, one byte per character,
// for as long as every character is below U+0100 (the cipher texts are
// letters and blanks), and is widened to UTF-16 the first time a character
// outside Latin-1 arrives. Positions count UTF-16 code units in both forms.
#pragma once

#include <QAnyStringView>
#include <QByteArray>
#include <QString>

#include <string_view>
#include <vector>

class TextBuffer {
public:
    TextBuffer() = default;
    explicit TextBuffer(QString text);
    // Latin-1 bytes, held as they are.
    static TextBuffer FromLatin1(std::string_view latin1);

    [[nodiscard]] qsizetype Size() const { return Wide ? Utf16.size() : Latin1.size(); }
    [[nodiscard]] bool IsEmpty() const { return Size() == 0; }
    [[nodiscard]] char16_t At(qsizetype position) const {
        return Wide ? Utf16[position].unicode() : static_cast<uchar>(Latin1[position]);
    }

    // Whether the text is held as bytes, which Latin1Data() gives.
    [[nodiscard]] bool IsLatin1() const { return !Wide; }
    [[nodiscard]] const uchar* Latin1Data() const {
        return reinterpret_cast<const uchar*>(Latin1.constData());
    }

    // The whole text as it is held, without a copy; valid until it changes.
    [[nodiscard]] QAnyStringView View() const {
        return Wide ? QAnyStringView(Utf16) : QAnyStringView(QLatin1StringView(Latin1));
    }

    [[nodiscard]] QString Mid(qsizetype from, qsizetype count) const;
    [[nodiscard]] QString ToString() const { return Mid(0, Size()); }
    // Appends count characters from from to text.
    void AppendTo(QString& text, qsizetype from, qsizetype count) const;
    // count characters from from, in the form this text is held in.
    [[nodiscard]] TextBuffer Slice(qsizetype from, qsizetype count) const;

    // Replaces count characters at from by text.
    void Replace(qsizetype from, qsizetype count, const TextBuffer& text);

    // The first LF at or after from, or Size().
    [[nodiscard]] qsizetype LineEnd(qsizetype from) const;
    // The position after the last LF before position, or 0.
    [[nodiscard]] qsizetype LineStart(qsizetype position) const;
    // How many LFs the text holds.
    [[nodiscard]] qsizetype LineBreakCount() const { return static_cast<qsizetype>(Breaks.size()); }

private:
    void Widen();
    // The positions of the LFs, searched for in the whole text.
    [[nodiscard]] std::vector<qsizetype> FindBreaks() const;

    bool Wide = false;
    QByteArray Latin1;
    QString Utf16;
    // Where the LFs stand, so that a paragraph's ends are found at once
    // however long it is.
    std::vector<qsizetype> Breaks;
};
