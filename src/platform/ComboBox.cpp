#include "ComboBox.h"

void TComboBox::showPopup() {
    droppedDown_ = true;
    emit DropDown();
    QComboBox::showPopup();
}

void TComboBox::hidePopup() {
    const bool wasDropped = droppedDown_;
    droppedDown_ = false;
    QComboBox::hidePopup();
    if (wasDropped)
        emit CloseUp();
}

void TComboBox::SetItems(const QStringList& items) {
    clear();
    addItems(items);
    setCurrentIndex(-1);
}
