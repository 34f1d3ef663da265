// The accessible interfaces of the window and the spinner, made by one
// factory that Qt asks before its own.
#include "control_accessible.h"

#include <QAccessibleWidget>

#include "status_bar.h"
#include "tform1.h"
#include "up_down.h"

namespace {

// The spinner as a spin box. Its value is the position; a value that a
// screen reader sets is the user's action, so it moves the position as the
// arrows do (clamped, with Click when the position changed), and only while
// the spinner takes clicks at all.
class UpDownAccessible : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit UpDownAccessible(UpDown* spinner) : QAccessibleWidget(spinner, QAccessible::SpinBox) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::ValueInterface)
            return static_cast<QAccessibleValueInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Value) return QString::number(Spinner()->Position());
        return QAccessibleWidget::text(t);
    }

    QVariant currentValue() const override { return Spinner()->Position(); }

    void setCurrentValue(const QVariant& value) override {
        if (Spinner()->isEnabled()) Spinner()->StepTo(value.toInt());
    }

    QVariant minimumValue() const override { return Spinner()->Minimum(); }
    QVariant maximumValue() const override { return Spinner()->Maximum(); }
    QVariant minimumStepSize() const override { return 1; }

private:
    UpDown* Spinner() const { return static_cast<UpDown*>(widget()); }
};

QAccessibleInterface* ControlAccessible(const QString&, QObject* object) {
    if (auto* spinner = qobject_cast<UpDown*>(object)) return new UpDownAccessible(spinner);
    // A plain top-level QWidget is only a client area to Qt.
    if (auto* window = qobject_cast<TForm1*>(object))
        return new QAccessibleWidget(window, QAccessible::Window);
    // The bar itself, so that a screen reader's command to read the status
    // bar finds its panels.
    if (auto* bar = qobject_cast<StatusBar*>(object))
        return new QAccessibleWidget(bar, QAccessible::StatusBar);
    return nullptr;
}

}  // namespace

void InstallControlAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(&ControlAccessible);
        return true;
    }();
    Q_UNUSED(installed);
}
