// RadioGroup: a framed group of radio buttons stacked vertically (TRadioGroup).
// Items are numbered from 0 and named <objectName>Item<n>. Click is emitted
// after the user changed the selection to another item, by mouse or arrow
// keys; clicking the selected item and SetItemIndex emit nothing. The group
// is one tab stop, at its selected item.
#pragma once

#include <QGroupBox>
#include <QList>
#include <QStringList>

class QRadioButton;

class RadioGroup : public QGroupBox {
    Q_OBJECT

public:
    explicit RadioGroup(QWidget* parent = nullptr);

    // Replaces the items by one radio button per text; nothing is selected.
    void SetItems(const QStringList& items);

    // The number of items.
    [[nodiscard]] int ItemCount() const;

    // The selected item, or -1 when none is.
    [[nodiscard]] int ItemIndex() const;

    // Selects item index (-1 selects none) without emitting Click.
    void SetItemIndex(int index);

signals:
    // The user changed the selection; ItemIndex() is the new item.
    void Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void ArrangeButtons();
    void NameItems();
    void ItemClicked();
    void UpdateTabStop();

    QList<QRadioButton*> Buttons;
    int Index = -1;
};
