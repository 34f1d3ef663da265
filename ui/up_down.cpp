// UpDown: two stacked arrow buttons that step an owned position, and the
// keys and focus rectangle that make the spinner usable without a mouse.
#include "up_down.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QStyleOptionFocusRect>
#include <QStylePainter>
#include <QToolButton>

#include <algorithm>

namespace {

// An arrow of the spinner. It never takes the focus itself; while the
// spinner has it, each arrow draws its part of one focus rectangle round
// the whole spinner.
class ArrowButton : public QToolButton {
public:
    ArrowButton(Qt::ArrowType arrow, QWidget* spinner) : QToolButton(spinner) {
        setArrowType(arrow);
        setFocusPolicy(Qt::NoFocus);
        setAutoRaise(false);
    }

protected:
    void paintEvent(QPaintEvent* event) override {
        QToolButton::paintEvent(event);
        QWidget* spinner = parentWidget();
        if (!spinner->hasFocus()) return;
        QStyleOptionFocusRect option;
        option.initFrom(spinner);
        option.rect = QRect(-pos(), spinner->size());
        option.backgroundColor = palette().color(QPalette::Button);
        QStylePainter painter(this);
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, option);
    }
};

}  // namespace

UpDown::UpDown(QWidget* parent)
    : QWidget(parent),
      UpButton(new ArrowButton(Qt::UpArrow, this)),
      DownButton(new ArrowButton(Qt::DownArrow, this)) {
    setFocusPolicy(Qt::StrongFocus);
    connect(UpButton, &QToolButton::clicked, this, [this] { Step(Arrow::Up); });
    connect(DownButton, &QToolButton::clicked, this, [this] { Step(Arrow::Down); });
    connect(this, &QObject::objectNameChanged, this, &UpDown::NameArrows);
}

int UpDown::Position() const { return Pos; }

void UpDown::SetPosition(int position) { MoveTo(position); }

void UpDown::StepTo(int position) {
    const int before = Pos;
    if (MoveTo(position)) emit Click(Pos, Pos > before ? Arrow::Up : Arrow::Down);
}

int UpDown::Minimum() const { return Min; }

int UpDown::Maximum() const { return Max; }

void UpDown::SetRange(int minimum, int maximum) {
    Min = minimum;
    Max = std::max(minimum, maximum);
    MoveTo(Pos);
}

void UpDown::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    UpButton->update();
    DownButton->update();
}

void UpDown::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    UpButton->update();
    DownButton->update();
}

void UpDown::keyPressEvent(QKeyEvent* event) {
    // A key is one click of its arrow, so it goes the same way as the mouse.
    if ((event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        switch (event->key()) {
            case Qt::Key_Up:
                UpButton->click();
                return;
            case Qt::Key_Down:
                DownButton->click();
                return;
            default:
                break;
        }
    }
    QWidget::keyPressEvent(event);
}

void UpDown::resizeEvent(QResizeEvent*) {
    const int upHeight = height() / 2;
    UpButton->setGeometry(0, 0, width(), upHeight);
    DownButton->setGeometry(0, upHeight, width(), height() - upHeight);
}

void UpDown::Step(Arrow arrow) { StepTo(arrow == Arrow::Up ? Pos + 1 : Pos - 1); }

bool UpDown::MoveTo(int position) {
    const int next = std::clamp(position, Min, Max);
    if (next == Pos) return false;
    Pos = next;
    if (QAccessible::isActive()) {
        QAccessibleValueChangeEvent event(this, Pos);
        QAccessible::updateAccessibility(&event);
    }
    return true;
}

void UpDown::SetArrowNames(const QString& up, const QString& down) {
    UpButton->setAccessibleName(up);
    DownButton->setAccessibleName(down);
}

void UpDown::NameArrows() {
    UpButton->setObjectName(objectName() + QStringLiteral("Up"));
    DownButton->setObjectName(objectName() + QStringLiteral("Down"));
}
