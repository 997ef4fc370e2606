#pragma once

#include <QComboBox>

// A combo box that reports the opening and closing of its list, as pages react to both. CloseUp
// comes from the event loop right after the list closed, however it closed, when the chosen item
// is in place.
class TComboBox : public QComboBox {
    Q_OBJECT
public:
    using QComboBox::QComboBox;

    void showPopup() override;
    void hidePopup() override;
    bool DroppedDown() const { return droppedDown_; }
    // Replaces the items; afterwards no item is shown.
    void SetItems(const QStringList& items);

signals:
    void DropDown();
    void CloseUp();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ListClosed();

    bool droppedDown_ = false;
};
