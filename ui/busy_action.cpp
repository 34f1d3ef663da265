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
            case QEvent::InputMethod:
            case QEvent::ContextMenu:
            case QEvent::DragEnter:
            case QEvent::DragMove:
            case QEvent::Drop:
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
    // The cursor goes to the window system at once; nothing else happens
    // until the action is over.
    QApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
}

BusyAction::~BusyAction() {
    // The action is over: everything queued while it ran is processed now,
    // the input among it swallowed; repaints and other events pass.
    InputDropper dropper;
    qApp->installEventFilter(&dropper);
    QCoreApplication::processEvents();
    qApp->removeEventFilter(&dropper);
    QApplication::restoreOverrideCursor();
}
