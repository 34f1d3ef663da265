// UpDown: a vertical spinner of two arrow buttons without a number field
// (TUpDown). It owns its position and range; an arrow click moves the
// position by one step, without wrapping, and Click is emitted only when the
// position changed. The spinner is one tab stop: while it has the focus it
// shows a focus rectangle, and the Up and Down keys each click the arrow of
// that direction once. The arrows stay out of the focus chain; they are named
// <objectName>Up and <objectName>Down and have accessible names of their own.
// To a screen reader the spinner is a spin box whose value is the position
// (control_accessible.h), and every new position is announced to it.
#pragma once

#include <QWidget>

class QToolButton;

class UpDown : public QWidget {
    Q_OBJECT

public:
    // Which arrow was clicked.
    enum class Arrow { Up, Down };
    Q_ENUM(Arrow)

    explicit UpDown(QWidget* parent = nullptr);

    // The current position, always within the range.
    [[nodiscard]] int Position() const;

    // Moves to position, clamped into the range, without emitting Click.
    void SetPosition(int position);

    // Moves to position, clamped into the range, as the arrows do: Click is
    // emitted when the position changed, with the arrow of that direction.
    void StepTo(int position);

    // The smallest and largest position.
    [[nodiscard]] int Minimum() const;
    [[nodiscard]] int Maximum() const;

    // Sets the range and clamps the position into it.
    void SetRange(int minimum, int maximum);

    // What a screen reader announces for each arrow.
    void SetArrowNames(const QString& up, const QString& down);

signals:
    // An arrow changed the position; position is the new one.
    void Click(int position, UpDown::Arrow arrow);

protected:
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void Step(Arrow arrow);
    // Moves to position, clamped into the range; whether the position changed.
    bool MoveTo(int position);
    void NameArrows();

    QToolButton* UpButton;
    QToolButton* DownButton;
    int Min = 0;
    int Max = 100;
    int Pos = 0;
};
