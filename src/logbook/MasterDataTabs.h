#pragma once

#include <QObject>

#include "DataPage.h"
#include "DataPageLayout.h"

class QLineEdit;
class QPushButton;

// A tab keeping names only: fuel types ("PHM", table phm) and vehicle kinds ("Druhy vozidiel",
// table druhvoz). The two differ only in their table and component names.
class TNameTab : public QObject {
    Q_OBJECT
public:
    struct Names {
        QString table;
        void (*createTable)();
        TDataPageNames page;
        const char* nameField;
        const char* nameCaption;
        QString hint;
    };
    TNameTab(QWidget* sheet, const Names& names);

    QLineEdit* idField = nullptr;   // ePHMid / eDVid
    QLineEdit* nameField = nullptr; // ePHMnazov / eDVnazov
    TDataPageWidgets widgets;
    TDataPage* page = nullptr;

    void InitGrid();
    void LoadGrid(const QString& sql);
    // The tab-change action: table, grid set-up, rows, clear.
    void Show();
    void ClearClick();         // bitPHMClick / bitDVClick
    void RowToFields(int row); // sgPHMDblClick / sgDVDblClick

private:
    Names names_;
};

// The drivers of the selected customer ("Vodič", table vodic).
class TVodicTab : public QObject {
    Q_OBJECT
public:
    explicit TVodicTab(QWidget* sheet);

    QLineEdit* eVodicID = nullptr;
    QLineEdit* eVodicMeno = nullptr;
    QPushButton* BitBtn8 = nullptr; // the wipe, kept invisible
    TDataPageWidgets widgets;
    TDataPage* page = nullptr;

    void InitGridVodic();
    // Fills the grid; a customer without drivers first gets one named like the customer.
    void LoadGridVodic(const QString& sql);
    void Show();
    void bitVodicClick();
    void sgVodicDblClick(int row);
    void BitBtn8Click();
};
