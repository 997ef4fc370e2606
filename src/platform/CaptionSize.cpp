#include "CaptionSize.h"

#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QVariant>
#include <algorithm>

namespace {
// The size a control was laid out with, kept from its first fitting; empty when it had none.
const char* const kLaidOutSize = "laidOutSize";

// Room the frame of a group box takes at its right edge.
constexpr int kGroupFrame = 3;

QSize LaidOutSize(QWidget* widget) {
    QVariant size = widget->property(kLaidOutSize);
    if (!size.isValid()) {
        size = widget->testAttribute(Qt::WA_Resized) ? widget->size() : QSize();
        widget->setProperty(kLaidOutSize, size);
    }
    return size.toSize();
}

bool PlacedByLayout(const QWidget* widget) {
    return widget->isWindow() || widget->parentWidget()->layout() != nullptr;
}

// The box of a caption Width wide, placed by the label's alignment.
QRect Widened(const QRect& box, int width, const QLabel* label) {
    QRect widened = box;
    const Qt::Alignment align = label ? label->alignment() : Qt::AlignLeft;
    if (align & Qt::AlignRight)
        widened.setLeft(box.right() + 1 - width);
    else if (align & Qt::AlignHCenter)
        widened.setLeft(box.left() + (box.width() - width) / 2);
    widened.setWidth(width);
    return widened;
}

// Widens a group box to hold its controls, then the group box holding it.
void FitGroupBox(QGroupBox* group) {
    if (!group || PlacedByLayout(group) || group->layout())
        return;
    int right = 0;
    for (const QWidget* child : group->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (!child->isWindow())
            right = std::max(right, child->geometry().right() + 1);
    }
    const int width = std::max(LaidOutSize(group).width(), right + kGroupFrame);
    if (width == group->width())
        return;
    group->resize(width, group->height());
    FitGroupBox(qobject_cast<QGroupBox*>(group->parentWidget()));
}
} // namespace

void FitToCaption(QWidget* control) {
    if (PlacedByLayout(control))
        return; // the layout follows the caption's size hint
    const QSize laidOut = LaidOutSize(control);
    auto* label = qobject_cast<QLabel*>(control);
    if (laidOut.isEmpty()) {
        // Sized by its caption alone, as the toolkit sizes it when it is first shown.
        control->adjustSize();
        control->setAttribute(Qt::WA_Resized, false);
    } else if (label && label->wordWrap()) {
        control->resize(control->width(),
                        std::max(laidOut.height(), label->heightForWidth(control->width())));
    } else {
        const int width = std::max(laidOut.width(), control->sizeHint().width());
        control->setGeometry(Widened(control->geometry(), width, label));
    }
    FitGroupBox(qobject_cast<QGroupBox*>(control->parentWidget()));
}
