// RadioGroup: item buttons in an exclusive QButtonGroup, their arrangement,
// the wrapping arrow keys and the change-only click.
#include "radio_group.h"

#include <QButtonGroup>
#include <QKeyEvent>
#include <QRadioButton>
#include <QResizeEvent>
#include <QSignalBlocker>

namespace {

// The items' area inside the group, in pixels. The caption takes one line of
// the window font at 96 dpi above it.
constexpr int kCaptionLineHeight = 13;
constexpr int kItemsTop = kCaptionLineHeight + 1;
constexpr int kItemsBottomMargin = 4;
constexpr int kItemsLeft = 8;
constexpr int kItemsRightMargin = 2;

}  // namespace

RadioGroup::RadioGroup(QWidget* parent) : QGroupBox(parent), Items(new QButtonGroup(this)) {
    // A toggle to on is a change of the selection: the selected item cannot
    // be toggled off by a click, and SetItemIndex toggles with the group's
    // signals blocked.
    connect(Items, &QButtonGroup::idToggled, this, [this](int, bool checked) {
        if (checked) emit Click();
    });
    connect(this, &QObject::objectNameChanged, this, &RadioGroup::NameItems);
}

void RadioGroup::SetItems(const QStringList& items) {
    qDeleteAll(Items->buttons());
    for (const QString& text : items) {
        auto* button = new QRadioButton(text, this);
        // The group is one tab stop, at its selected item; the arrow keys
        // move between the items.
        button->setFocusPolicy(Qt::ClickFocus);
        connect(button, &QRadioButton::toggled, button, [button](bool checked) {
            button->setFocusPolicy(checked ? Qt::StrongFocus : Qt::ClickFocus);
        });
        button->installEventFilter(this);
        Items->addButton(button, ItemCount());
    }
    NameItems();
    ArrangeItems();
    SetItemIndex(0);
}

int RadioGroup::ItemCount() const { return static_cast<int>(Items->buttons().size()); }

int RadioGroup::ItemIndex() const { return Items->checkedId(); }

void RadioGroup::SetItemIndex(int index) {
    if (QAbstractButton* button = Items->button(index)) {
        const QSignalBlocker silent(Items);
        button->setChecked(true);
    }
}

bool RadioGroup::eventFilter(QObject* watched, QEvent* event) {
    // The arrow keys select the next or previous item and wrap round at the
    // ends, as in a dialog's group of radio buttons.
    const int from = Items->id(qobject_cast<QAbstractButton*>(watched));
    if (event->type() != QEvent::KeyPress || from < 0)
        return QGroupBox::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    if ((key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier) return false;
    int step = 0;
    switch (key->key()) {
        case Qt::Key_Down:
        case Qt::Key_Right:
            step = 1;
            break;
        case Qt::Key_Up:
        case Qt::Key_Left:
            step = -1;
            break;
        default:
            return false;
    }
    QAbstractButton* next = Items->button((from + step + ItemCount()) % ItemCount());
    next->setFocus(step > 0 ? Qt::TabFocusReason : Qt::BacktabFocusReason);
    next->click();
    return true;
}

void RadioGroup::resizeEvent(QResizeEvent* event) {
    QGroupBox::resizeEvent(event);
    ArrangeItems();
}

void RadioGroup::ArrangeItems() {
    // One column: the items share the area's height equally, the remainder
    // split above and below.
    const int count = ItemCount();
    if (count == 0) return;
    const QRect area(kItemsLeft, kItemsTop, width() - kItemsLeft - kItemsRightMargin,
                     height() - kItemsTop - kItemsBottomMargin);
    const int itemHeight = area.height() / count;
    const int top = area.top() + (area.height() % count) / 2;
    for (int i = 0; i < count; ++i)
        Items->button(i)->setGeometry(area.left(), top + i * itemHeight, area.width(), itemHeight);
}

void RadioGroup::NameItems() {
    for (int i = 0; i < ItemCount(); ++i)
        Items->button(i)->setObjectName(objectName() + QStringLiteral("Item") + QString::number(i));
}
