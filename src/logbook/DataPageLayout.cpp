#include "DataPageLayout.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>

#include "ComboBox.h"
#include "DataPage.h"
#include "HandlerGuard.h"
#include "InputBehaviour.h"
#include "MaskEdit.h"
#include "StringGrid.h"

namespace {
constexpr int kFieldHeight = 21;

// Height of the accents above the ascent of the window's font.
constexpr int kAccentRoom = 2;
} // namespace

QLabel* NewCaptionLabel(QWidget* parent, const TCaption& caption, int x, int y) {
    auto* label = new QLabel(caption.text, parent);
    label->setObjectName(caption.name);
    label->setContentsMargins(0, kAccentRoom, 0, 0);
    label->move(x, y - kAccentRoom);
    return label;
}

TDataPageWidgets BuildDataPage(QWidget* parent, const TDataPageNames& names, const QString& tableHint,
                               int gridHeight, int entryHeight) {
    TDataPageWidgets w;
    const int width = parent->width() > 100 ? parent->width() : 1010;

    w.entryTabs = new QTabWidget(parent);
    w.entryTabs->setGeometry(6, 6, width - 250, entryHeight);
    w.entryPage = new QWidget;
    w.entryPage->setObjectName(names.entryPage);
    w.entryTabs->addTab(w.entryPage, QStringLiteral("Pridávanie položky"));

    NewCaptionLabel(w.entryPage, {names.idCaption, "ID"}, 8, kEntryRow.captionY);
    w.idField = new QLineEdit(w.entryPage);
    w.idField->setObjectName(names.idField);
    w.idField->setGeometry(8, kEntryRow.fieldY, 50, kFieldHeight);
    w.idField->setReadOnly(true);
    w.idField->setStyleSheet("QLineEdit { background-color: palette(button); }");
    AttachNavigation(w.idField);

    w.save = AddButton(w.entryPage, names.save, QStringLiteral("Uložiť položku"),
                       {width - 400, kEntryRow.fieldY - 6, 130, 34}, true);
    w.tableHint = new QLabel(tableHint, w.entryPage);
    w.tableHint->setObjectName(names.tableHint);
    w.tableHint->setGeometry(8, entryHeight - 52, width - 280, 18);
    w.tableHint->setStyleSheet("QLabel { color: navy; }");

    w.clear = AddButton(parent, names.clear, QStringLiteral("Vyčistiť údaje / pridať novú položku"),
                        {width - 236, 28, 230, 40}, true);

    w.grid = new TStringGrid(parent);
    w.grid->setObjectName(names.grid);
    w.grid->setGeometry(6, entryHeight + 12, width - 12, gridHeight);
    w.grid->SetRangeSelect(true);

    w.bottomPanel = new QWidget(parent);
    w.bottomPanel->setGeometry(6, entryHeight + gridHeight + 16, width - 12, 36);
    NewCaptionLabel(w.bottomPanel, {names.columnsHint, QStringLiteral("(stĺpce je možné myšou rozširovať)")},
                    4, kAccentRoom);
    NewCaptionLabel(w.bottomPanel,
                    {names.editHint, QStringLiteral("(dvojklikom na niektorú položku ju môžte upravovať)")},
                    4, 17);
    w.print = AddButton(w.bottomPanel, names.print, QStringLiteral("Tlačiť zobrazené údaje"),
                        {width - 480, 2, 210, 30});
    w.print->hide();
    w.remove = AddButton(w.bottomPanel, names.remove, QStringLiteral("Odstrániť označenú položku (del)"),
                         {width - 262, 2, 250, 30});
    return w;
}

QLineEdit* AddEntryField(QWidget* page, const char* name, const TCaption& caption, int x, int width,
                         int maxLength, const TFieldRow& row) {
    NewCaptionLabel(page, caption, x, row.captionY);
    auto* edit = new QLineEdit(page);
    edit->setObjectName(name);
    edit->setGeometry(x, row.fieldY, width, kFieldHeight);
    if (maxLength > 0)
        edit->setMaxLength(maxLength);
    return edit;
}

TMaskEdit* AddDateField(QWidget* page, const char* name, const TCaption& caption, int x, const QString& mask,
                        const TFieldRow& row) {
    NewCaptionLabel(page, caption, x, row.captionY);
    auto* edit = new TMaskEdit(mask, page);
    edit->setObjectName(name);
    edit->setGeometry(x, row.fieldY, mask.contains(':') ? 120 : 80, kFieldHeight);
    return edit;
}

TComboBox* AddEntryCombo(QWidget* page, const char* name, const TCaption& caption, int x, int width,
                         const TFieldRow& row) {
    NewCaptionLabel(page, caption, x, row.captionY);
    auto* combo = new TComboBox(page);
    combo->setObjectName(name);
    combo->setGeometry(x, row.fieldY, width, kFieldHeight + 1);
    return combo;
}

QLabel* AddIdLabel(QWidget* page, const char* name, QWidget* combo) {
    auto* label = new QLabel(page);
    label->setObjectName(name);
    label->setGeometry(combo->x(), combo->y() + combo->height() + 2, combo->width(), 16);
    return label;
}

void ConnectDataPageButtons(QObject* owner, const TDataPageWidgets& w, TDataPage* page,
                            std::function<void()> clear) {
    QObject::connect(w.save, &QPushButton::clicked, owner, Guarded([page] { page->Save(); }));
    QObject::connect(w.remove, &QPushButton::clicked, owner, Guarded([page] { page->Delete(); }));
    QObject::connect(w.clear, &QPushButton::clicked, owner, Guarded([clear] { clear(); }));
    AttachFocusColour(w.save);
    AttachFocusColour(w.clear);
}

void SetTabOrder(const QList<QWidget*>& order) {
    for (int i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
}

QPushButton* AddButton(QWidget* parent, const char* name, const QString& caption, const QRect& geometry,
                       bool bold) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setGeometry(geometry);
    if (bold) {
        QFont font = button->font();
        font.setBold(true);
        button->setFont(font);
    }
    return button;
}
