// Finding the window's controls in tests by their object names, the names
// that tests and accessibility tools know them by, and reading what they
// show. A name that no control of the expected class bears ends the test
// program with a message naming it.
#pragma once

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QString>
#include <QWidget>

#include "memo.h"
#include "up_down.h"

template <typename T = QWidget>
T* FindControl(QWidget* form, const QString& name) {
    T* control =
        name == QLatin1String("Form1") ? qobject_cast<T*>(form) : form->findChild<T*>(name);
    if (control == nullptr) qFatal("no control %s of the expected class", qPrintable(name));
    return control;
}

// What a control shows: the window's title, a caption, a line or memo text,
// or the spinner's position.
inline QString ShownText(const QWidget* control) {
    if (control->isWindow()) return control->windowTitle();
    if (auto* memo = qobject_cast<const Memo*>(control)) return memo->Text();
    if (auto* edit = qobject_cast<const QLineEdit*>(control)) return edit->text();
    if (auto* button = qobject_cast<const QAbstractButton*>(control)) return button->text();
    if (auto* label = qobject_cast<const QLabel*>(control)) return label->text();
    if (auto* group = qobject_cast<const QGroupBox*>(control)) return group->title();
    if (auto* spinner = qobject_cast<const UpDown*>(control))
        return QString::number(spinner->Position());
    return QString();
}
