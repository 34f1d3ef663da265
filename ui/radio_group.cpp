// RadioGroup: item buttons, their arrangement and the change-only click.
#include "radio_group.h"

#include <QKeyEvent>
#include <QRadioButton>
#include <QResizeEvent>

namespace {

// The height of a line of the window font at 96 dpi; the group's caption
// takes one such line above the items.
constexpr int kCaptionLineHeight = 13;

}  // namespace

RadioGroup::RadioGroup(QWidget* parent) : QGroupBox(parent) {
    connect(this, &QObject::objectNameChanged, this, &RadioGroup::NameItems);
}

void RadioGroup::SetItems(const QStringList& items) {
    qDeleteAll(Buttons);
    Buttons.clear();
    Index = -1;
    for (const QString& text : items) {
        auto* button = new QRadioButton(text, this);
        connect(button, &QRadioButton::clicked, this, &RadioGroup::ItemClicked);
        button->installEventFilter(this);
        Buttons.append(button);
    }
    NameItems();
    ArrangeButtons();
    UpdateTabStop();
}

int RadioGroup::ItemCount() const { return static_cast<int>(Buttons.size()); }

int RadioGroup::ItemIndex() const { return Index; }

void RadioGroup::SetItemIndex(int index) {
    if (index < 0 || index >= ItemCount()) {
        // An auto-exclusive button cannot be unchecked while it is the checked one.
        for (QRadioButton* button : Buttons) {
            button->setAutoExclusive(false);
            button->setChecked(false);
            button->setAutoExclusive(true);
        }
        Index = -1;
        UpdateTabStop();
        return;
    }
    Buttons[index]->setChecked(true);
    Index = index;
    UpdateTabStop();
}

bool RadioGroup::eventFilter(QObject* watched, QEvent* event) {
    // The arrow keys select the next or previous item and wrap round at the
    // ends, as in a dialog's group of radio buttons.
    const int from = static_cast<int>(Buttons.indexOf(watched));
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
    QRadioButton* next = Buttons[(from + step + ItemCount()) % ItemCount()];
    next->setFocus(step > 0 ? Qt::TabFocusReason : Qt::BacktabFocusReason);
    next->click();
    return true;
}

void RadioGroup::resizeEvent(QResizeEvent* event) {
    QGroupBox::resizeEvent(event);
    ArrangeButtons();
}

void RadioGroup::ArrangeButtons() {
    // One column: the items share the height below the caption line equally,
    // the remainder split above and below, 8 pixels in from the left frame.
    const int count = ItemCount();
    if (count == 0) return;
    const int free = height() - kCaptionLineHeight - 5;
    const int itemHeight = free / count;
    const int topMargin = kCaptionLineHeight + 1 + (free % count) / 2;
    const int itemWidth = width() - 10;
    for (int i = 0; i < count; ++i)
        Buttons[i]->setGeometry(8, topMargin + i * itemHeight, itemWidth, itemHeight);
}

void RadioGroup::NameItems() {
    for (int i = 0; i < ItemCount(); ++i)
        Buttons[i]->setObjectName(objectName() + QStringLiteral("Item") + QString::number(i));
}

void RadioGroup::ItemClicked() {
    int checked = -1;
    for (int i = 0; i < ItemCount(); ++i) {
        if (Buttons[i]->isChecked()) checked = i;
    }
    if (checked == Index) return;
    Index = checked;
    UpdateTabStop();
    emit Click();
}

void RadioGroup::UpdateTabStop() {
    // The group is one tab stop, at its selected item (the first while none
    // is); the arrow keys move between the items.
    const int stop = Index >= 0 ? Index : 0;
    for (int i = 0; i < ItemCount(); ++i)
        Buttons[i]->setFocusPolicy(i == stop ? Qt::StrongFocus : Qt::ClickFocus);
}
