// BusyAction: the busy cursor, and dropping the input queued behind an action.
#include "busy_action.h"

#include <QApplication>
#include <QCursor>
#include <QEvent>

namespace {

// Swallows every event of user input that reaches the application.
class InputDropper : public QObject {
protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        switch (event->type()) {
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonRelease:
            case QEvent::MouseButtonDblClick:
            case QEvent::Wheel:
            case QEvent::KeyPress:
            case QEvent::KeyRelease:
            case QEvent::Shortcut:
            case QEvent::ShortcutOverride:
            case QEvent::ContextMenu:
            case QEvent::TouchBegin:
            case QEvent::TouchUpdate:
            case QEvent::TouchEnd:
            case QEvent::TabletPress:
            case QEvent::TabletRelease:
                return true;
            default:
                return QObject::eventFilter(watched, event);
        }
    }
};

}  // namespace

BusyAction::BusyAction() {
    QApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    QGuiApplication::sync();  // show the cursor now, before the work blocks the loop
}

BusyAction::~BusyAction() {
    // Everything queued while the action ran is processed now, the input
    // among it swallowed; repaints and other events pass.
    InputDropper dropper;
    qApp->installEventFilter(&dropper);
    QCoreApplication::processEvents();
    qApp->removeEventFilter(&dropper);
    QApplication::restoreOverrideCursor();
}
