// Stock button kinds (TBitBtn Kind): the glyph drawn left of the caption,
// the caption a button of the kind shows when it has none of its own, and
// the key the window gives it. The
// glyphs are drawn here with QPainter; each icon holds a coloured version
// and a grey one that Qt shows while the button is disabled.
#pragma once

#include <QIcon>
#include <QSize>
#include <QString>

enum class ButtonKind { bkOK, bkNo, bkRetry, bkClose, bkAll };

// Which key of the window clicks a button: Return for a default button,
// Escape for a cancel button.
enum class KeyRole { None, Default, Cancel };

// The glyph of kind in its normal and disabled versions, at 1x and 2x.
[[nodiscard]] QIcon StockGlyph(ButtonKind kind);

// The glyph's size in pixels at 96 dpi: 18 x 18, the double tick 18 x 19.
[[nodiscard]] QSize StockGlyphSize(ButtonKind kind);

// The caption of a button of kind without one of its own; empty for the
// kinds that have none.
[[nodiscard]] QString StockCaption(ButtonKind kind);

// The keyboard role of kind: bkOK buttons are default buttons, bkNo buttons
// cancel buttons.
[[nodiscard]] KeyRole StockRole(ButtonKind kind);
