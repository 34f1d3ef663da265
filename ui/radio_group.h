// RadioGroup: a framed group of radio buttons stacked vertically (TRadioGroup).
// Items are numbered from 0 and named <objectName>Item<n>; one of them is
// always selected. Click is emitted after the user changed the selection to
// another item, by mouse or arrow keys; clicking the selected item and
// SetItemIndex emit nothing. The group is one tab stop, at its selected item.
#pragma once

#include <QGroupBox>
#include <QStringList>

class QButtonGroup;

class RadioGroup : public QGroupBox {
    Q_OBJECT

public:
    explicit RadioGroup(QWidget* parent = nullptr);

    // Replaces the items by one radio button per text and selects item 0.
    void SetItems(const QStringList& items);

    // The number of items.
    [[nodiscard]] int ItemCount() const;

    // The selected item, -1 only while there are no items.
    [[nodiscard]] int ItemIndex() const;

    // Selects item index without emitting Click; an index outside the items
    // changes nothing.
    void SetItemIndex(int index);

signals:
    // The user changed the selection; ItemIndex() is the new item.
    void Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void ArrangeItems();
    void NameItems();

    QButtonGroup* Items;
};
