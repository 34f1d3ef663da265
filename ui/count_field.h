// CountField: a line field that shows a count of letters, always whole and
// from its first digit: when the digits do not fit the field at its own
// font, they are shown in a smaller pixel size of that font. The tool tip
// holds the number, so it can be read at full size. FontToFit is the
// shrinking that the status bar's count panels use as well.
#pragma once

#include <QFont>
#include <QLineEdit>

#include <cstddef>

// font when text fits within width pixels, otherwise font at the largest
// smaller pixel size at which it fits (1 pixel at the least).
[[nodiscard]] QFont FontToFit(const QFont& font, const QString& text, int width);

class CountField : public QLineEdit {
    Q_OBJECT

public:
    // A field that shows an unknown count.
    explicit CountField(QWidget* parent = nullptr);

    // Shows count in plain decimal digits; the tool tip holds the number.
    void SetCount(std::size_t count);

    // Shows that the count is not known ("???"), with no tool tip.
    void SetUnknown();

protected:
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void FitText();
    [[nodiscard]] int TextWidth() const;

    QFont OwnFont;  // the font the field was given
    QFont FittedFont;  // OwnFont, or a smaller size of it that the text fits in
};
