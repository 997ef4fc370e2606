#pragma once

#include <QList>
#include <QString>
#include <functional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRect;
class QTabWidget;
class QWidget;
class QObject;
class TComboBox;
class TDataPage;
class TMaskEdit;
class TStringGrid;

// Component names of one data page.
struct TDataPageNames {
    const char* idField;
    const char* grid;
    const char* save;
    const char* clear;
    const char* remove;
    const char* print;     // "Tlačiť zobrazené údaje", invisible unless the page prints
    const char* entryPage; // the tab sheet "Pridávanie položky"
    // The labels: the id field's caption, the table hint and the two hints under the grid.
    const char* idCaption;
    const char* tableHint;
    const char* columnsHint;
    const char* editHint;
};

// A caption: the name of its component and its text.
struct TCaption {
    const char* name;
    QString text;
};

// The shared shape of a data page: an inner page control "Pridávanie položky" holding the id field
// "ID", the entry fields and the save button "Uložiť položku", the clear button at the top right,
// the grid, and the bottom panel with the two hints, the print button (invisible unless a page
// prints) and the delete button.
struct TDataPageWidgets {
    QTabWidget* entryTabs = nullptr;
    QWidget* entryPage = nullptr;
    QLineEdit* idField = nullptr;
    QPushButton* save = nullptr;
    QPushButton* clear = nullptr;
    QPushButton* remove = nullptr;
    QPushButton* print = nullptr;
    TStringGrid* grid = nullptr;
    QLabel* tableHint = nullptr;
    QWidget* bottomPanel = nullptr;
};

// Builds the shape on parent (a tab sheet or a page panel). The grid is gridHeight pixels high and
// starts below an entry area of entryHeight pixels; tableHint is the navy hint naming the table.
TDataPageWidgets BuildDataPage(QWidget* parent, const TDataPageNames& names, const QString& tableHint,
                               int gridHeight = 446, int entryHeight = 120);

// A row of entry fields: the top of its fields and of their captions' text.
struct TFieldRow {
    int fieldY;
    int captionY;
};
// The row of a data page's entry page.
constexpr TFieldRow kEntryRow{24, 6};

// Entry fields: the caption above, the field below, at x in the row.
QLineEdit* AddEntryField(QWidget* page, const char* name, const TCaption& caption, int x, int width,
                         int maxLength, const TFieldRow& row = kEntryRow);
TMaskEdit* AddDateField(QWidget* page, const char* name, const TCaption& caption, int x, const QString& mask,
                        const TFieldRow& row = kEntryRow);
TComboBox* AddEntryCombo(QWidget* page, const char* name, const TCaption& caption, int x, int width,
                         const TFieldRow& row = kEntryRow);
// A one-line caption whose text starts at (x, y), sized to its text. The accents of capitals and the
// acute of ĺ rise above the font's ascent: the label reaches that far above y, so they are not cut.
QLabel* NewCaptionLabel(QWidget* parent, const TCaption& caption, int x, int y);
// A button with its component name and caption, bold when asked.
QPushButton* AddButton(QWidget* parent, const char* name, const QString& caption, const QRect& geometry,
                       bool bold = false);
// The id label beside a combo box: the id of the row its text stands for.
QLabel* AddIdLabel(QWidget* page, const char* name, QWidget* combo);

// Wires the save and delete buttons to the shared data-page behaviour and the clear button to the
// page's clear action; the save and clear buttons take the focus colour.
void ConnectDataPageButtons(QObject* owner, const TDataPageWidgets& w, TDataPage* page,
                            std::function<void()> clear);
// Chains the tab order (and so Enter, Up and Down) through the controls in the order given.
void SetTabOrder(const QList<QWidget*>& order);
