#include "ComboBox.h"

#include <QAbstractItemView>
#include <QEvent>

void TComboBox::showPopup() {
    droppedDown_ = true;
    emit DropDown();
    QComboBox::showPopup();
    // Esc and a click outside close the list by hiding it, not through hidePopup.
    view()->window()->installEventFilter(this);
}

void TComboBox::hidePopup() {
    QComboBox::hidePopup();
    ListClosed();
}

bool TComboBox::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Hide && watched == view()->window())
        ListClosed();
    return QComboBox::eventFilter(watched, event);
}

void TComboBox::ListClosed() {
    if (!droppedDown_)
        return;
    droppedDown_ = false;
    // The list closes before the combo takes the chosen item: CloseUp follows once it has.
    QMetaObject::invokeMethod(
        this, [this] { emit CloseUp(); }, Qt::QueuedConnection);
}

void TComboBox::SetItems(const QStringList& items) {
    clear();
    addItems(items);
    setCurrentIndex(-1);
}
