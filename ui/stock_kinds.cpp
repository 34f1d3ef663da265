// Stock button kinds: five glyphs drawn in code with their grey versions,
// the captions of the kinds that have one, and the keys of the window.
#include "stock_kinds.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <cmath>
#include <numbers>

#include "window_texts.h"

namespace {

const QColor kGlyphGreen(0, 128, 0);
const QColor kGlyphRed(224, 0, 0);
constexpr int kDisabledDarkest = 120;  // grey levels of the disabled glyphs
constexpr int kDisabledLightest = 200;

QPen RoundPen(const QColor& colour, qreal width) {
    return QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

// A tick whose short stroke starts at (x, y) in a box of width w.
void DrawTick(QPainter& p, qreal x, qreal y, qreal w) {
    QPainterPath tick;
    tick.moveTo(x, y);
    tick.lineTo(x + w * 0.35, y + w * 0.38);
    tick.lineTo(x + w, y - w * 0.55);
    p.drawPath(tick);
}

void DrawOk(QPainter& p) {
    p.setPen(RoundPen(kGlyphGreen, 2.6));
    DrawTick(p, 3.0, 9.5, 12.0);
}

void DrawNo(QPainter& p) {
    p.setPen(RoundPen(kGlyphRed, 2.2));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QRectF(2.1, 2.1, 13.8, 13.8));
    const qreal d = 6.9 * std::numbers::sqrt2 / 2.0;  // bar ends on the circle
    p.drawLine(QPointF(9.0 - d, 9.0 - d), QPointF(9.0 + d, 9.0 + d));
}

// An arc of the circle around (9, 9) from start to start + span degrees
// (counter-clockwise), with an arrow head at its end.
void DrawCurvedArrow(QPainter& p, qreal startDegrees, qreal spanDegrees) {
    const QRectF circle(3.0, 3.0, 12.0, 12.0);
    const qreal radius = 6.0;
    QPainterPath arc;
    arc.arcMoveTo(circle, startDegrees);
    arc.arcTo(circle, startDegrees, spanDegrees);
    p.setPen(RoundPen(kGlyphGreen, 2.0));
    p.setBrush(Qt::NoBrush);
    p.drawPath(arc);

    const qreal end = (startDegrees + spanDegrees) * std::numbers::pi / 180.0;
    const QPointF tip(9.0 + radius * std::cos(end), 9.0 - radius * std::sin(end));
    // Direction of travel along a counter-clockwise arc, in screen coordinates.
    const QPointF along(-std::sin(end), -std::cos(end));
    const QPointF outward(std::cos(end), -std::sin(end));
    QPolygonF head;
    head << tip + along * 3.2 << tip + outward * 3.0 - along * 0.6
         << tip - outward * 3.0 - along * 0.6;
    p.setPen(RoundPen(kGlyphGreen, 0.8));
    p.setBrush(kGlyphGreen);
    p.drawPolygon(head);
}

void DrawRetry(QPainter& p) {
    DrawCurvedArrow(p, 100.0, 140.0);
    DrawCurvedArrow(p, 280.0, 140.0);
}

void DrawClose(QPainter& p) {
    // The door frame with the dark opening, and the leaf swung out towards
    // the viewer on its left hinge.
    p.setPen(QPen(QColor(64, 64, 64), 1.0));
    p.setBrush(QColor(32, 32, 32));
    p.drawRect(QRectF(6.5, 1.5, 9.0, 15.0));
    p.setPen(QPen(QColor(96, 64, 0), 1.0));
    p.setBrush(QColor(200, 150, 60));
    QPolygonF leaf;
    leaf << QPointF(6.5, 1.5) << QPointF(1.5, 3.5) << QPointF(1.5, 17.5) << QPointF(6.5, 16.5);
    p.drawPolygon(leaf);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 220, 0));
    p.drawEllipse(QPointF(3.2, 10.0), 0.9, 0.9);
    p.setPen(QPen(QColor(64, 64, 64), 1.0));
    p.drawLine(QPointF(0.5, 17.5), QPointF(17.5, 17.5));
}

void DrawAll(QPainter& p) {
    p.setPen(RoundPen(kGlyphGreen, 2.3));
    DrawTick(p, 1.5, 11.0, 9.0);
    DrawTick(p, 7.5, 11.0, 9.5);
}

void DrawGlyph(QPainter& p, ButtonKind kind) {
    switch (kind) {
        case ButtonKind::bkOK:
            DrawOk(p);
            break;
        case ButtonKind::bkNo:
            DrawNo(p);
            break;
        case ButtonKind::bkRetry:
            DrawRetry(p);
            break;
        case ButtonKind::bkClose:
            DrawClose(p);
            break;
        case ButtonKind::bkAll:
            DrawAll(p);
            break;
    }
}

QImage RenderGlyph(ButtonKind kind, int scale) {
    QImage image(StockGlyphSize(kind) * scale, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(scale, scale);
    DrawGlyph(p, kind);
    p.end();
    image.setDevicePixelRatio(scale);
    return image;
}

// The disabled look: every pixel turned grey by its brightness, squeezed
// into a light range so the glyph recedes but keeps its shape and detail.
QImage GreyGlyph(const QImage& glyph) {
    QImage grey = glyph.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < grey.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(grey.scanLine(y));
        for (int x = 0; x < grey.width(); ++x) {
            const int alpha = qAlpha(line[x]);
            const int level =
                kDisabledDarkest + qGray(line[x]) * (kDisabledLightest - kDisabledDarkest) / 255;
            line[x] = qRgba(level, level, level, alpha);
        }
    }
    grey.setDevicePixelRatio(glyph.devicePixelRatio());
    return grey;
}

}  // namespace

QIcon StockGlyph(ButtonKind kind) {
    QIcon icon;
    for (const int scale : {1, 2}) {
        const QImage glyph = RenderGlyph(kind, scale);
        const QImage grey = GreyGlyph(glyph);
        icon.addPixmap(QPixmap::fromImage(glyph), QIcon::Normal);
        icon.addPixmap(QPixmap::fromImage(grey), QIcon::Disabled);
    }
    return icon;
}

QSize StockGlyphSize(ButtonKind kind) {
    return kind == ButtonKind::bkAll ? QSize(18, 19) : QSize(18, 18);
}

QString StockCaption(ButtonKind kind) {
    switch (kind) {
        case ButtonKind::bkRetry:
            return texts::kRetryCaption;
        case ButtonKind::bkClose:
            return texts::kCloseCaption;
        default:
            return QString();
    }
}

KeyRole StockRole(ButtonKind kind) {
    switch (kind) {
        case ButtonKind::bkOK:
            return KeyRole::Default;
        case ButtonKind::bkNo:
            return KeyRole::Cancel;
        default:
            return KeyRole::None;
    }
}
