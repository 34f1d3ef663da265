// UpDown: two stacked arrow buttons that step an owned position.
#include "up_down.h"

#include <QToolButton>

#include <algorithm>

UpDown::UpDown(QWidget* parent)
    : QWidget(parent), UpButton(new QToolButton(this)), DownButton(new QToolButton(this)) {
    UpButton->setArrowType(Qt::UpArrow);
    DownButton->setArrowType(Qt::DownArrow);
    for (QToolButton* button : {UpButton, DownButton}) {
        button->setFocusPolicy(Qt::NoFocus);
        button->setAutoRaise(false);
    }
    connect(UpButton, &QToolButton::clicked, this, [this] { Step(Arrow::Up); });
    connect(DownButton, &QToolButton::clicked, this, [this] { Step(Arrow::Down); });
    connect(this, &QObject::objectNameChanged, this, &UpDown::NameArrows);
}

int UpDown::Position() const { return Pos; }

void UpDown::SetPosition(int position) { Pos = std::clamp(position, Min, Max); }

int UpDown::Minimum() const { return Min; }

int UpDown::Maximum() const { return Max; }

void UpDown::SetRange(int minimum, int maximum) {
    Min = minimum;
    Max = std::max(minimum, maximum);
    SetPosition(Pos);
}

void UpDown::resizeEvent(QResizeEvent*) {
    const int upHeight = height() / 2;
    UpButton->setGeometry(0, 0, width(), upHeight);
    DownButton->setGeometry(0, upHeight, width(), height() - upHeight);
}

void UpDown::Step(Arrow arrow) {
    const int next = std::clamp(arrow == Arrow::Up ? Pos + 1 : Pos - 1, Min, Max);
    if (next == Pos) return;
    Pos = next;
    emit Click(Pos, arrow);
}

void UpDown::NameArrows() {
    UpButton->setObjectName(objectName() + QStringLiteral("Up"));
    DownButton->setObjectName(objectName() + QStringLiteral("Down"));
}
