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
    // The list closes before the combo takes the chosen item: CloseUp follows once it has.
    if (wasDropped)
        QMetaObject::invokeMethod(
            this, [this] { emit CloseUp(); }, Qt::QueuedConnection);
}

void TComboBox::SetItems(const QStringList& items) {
    clear();
    addItems(items);
    setCurrentIndex(-1);
}
