// Finding the window's controls in tests by their object names, the names
// that tests and accessibility tools know them by. A name that no control of
// the expected class bears ends the test program with a message naming it.
#pragma once

#include <QString>
#include <QWidget>

template <typename T = QWidget>
T* FindControl(QWidget* form, const QString& name) {
    T* control =
        name == QLatin1String("Form1") ? qobject_cast<T*>(form) : form->findChild<T*>(name);
    if (control == nullptr) qFatal("no control %s of the expected class", qPrintable(name));
    return control;
}
