// CountField: the digits of a count, shrunk to fit the field when needed.
#include "count_field.h"

#include <QEvent>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QStyle>
#include <QStyleOptionFrame>

#include <cmath>

namespace {

const QString kUnknownCount = QStringLiteral("???");

constexpr int kSmallestPixelSize = 1;

// QLineEdit keeps 2 pixels free at each side of its text and needs 1 more
// for the cursor after it; a text any wider is scrolled to its end.
constexpr int kLineEditTextMargins = 2 * 2 + 1;

[[nodiscard]] bool Fits(const QFont& font, const QString& text, int width) {
    return std::ceil(QFontMetricsF(font).horizontalAdvance(text)) <= width;
}

}  // namespace

QFont FontToFit(const QFont& font, const QString& text, int width) {
    QFont fitting = font;
    int size = QFontInfo(font).pixelSize();
    while (size > kSmallestPixelSize && !Fits(fitting, text, width)) fitting.setPixelSize(--size);
    return fitting;
}

CountField::CountField(QWidget* parent) : QLineEdit(parent), OwnFont(font()) { SetUnknown(); }

void CountField::SetCount(std::size_t count) {
    const QString digits = QString::number(count);
    setText(digits);
    setToolTip(digits);
    FitText();
}

void CountField::SetUnknown() {
    setText(kUnknownCount);
    setToolTip(QString());
    FitText();
}

void CountField::changeEvent(QEvent* event) {
    QLineEdit::changeEvent(event);
    // Any font but the fitted one is a new font of the field's own; a change
    // passed down from the parent leaves the fitted font as it is.
    if (event->type() == QEvent::FontChange && font() != FittedFont) {
        OwnFont = font();
        FitText();
    }
}

void CountField::resizeEvent(QResizeEvent* event) {
    QLineEdit::resizeEvent(event);
    FitText();
}

void CountField::FitText() {
    FittedFont = FontToFit(OwnFont, text(), TextWidth());
    if (FittedFont != font()) setFont(FittedFont);
}

int CountField::TextWidth() const {
    QStyleOptionFrame option;
    initStyleOption(&option);
    const QRect contents = style()->subElementRect(QStyle::SE_LineEditContents, &option, this);
    const QMargins margins = textMargins();
    return contents.width() - margins.left() - margins.right() - kLineEditTextMargins;
}
