#pragma once

#include <QObject>

class QLabel;
class QLineEdit;
class QPushButton;
class TComboBox;
class TForm1;
class TStringGrid;

// The main screen (pnlMenu): the customer list, the years of the highlighted customer, year
// creation, and the selection of the current customer and year.
class TMainScreen : public QObject {
    Q_OBJECT
public:
    TMainScreen(TForm1& form, QWidget* panel);

    TStringGrid* sgMain = nullptr;
    TComboBox* cbMainRok = nullptr;
    QLineEdit* eMainRok = nullptr;
    QPushButton* BitBtn2 = nullptr;
    QLabel* pVybZak = nullptr;

    void InitGridMain();
    void LoadGridMain(const QString& sql);
    void ShowCustomerList();
    void LoadCustomerYears(const QString& name);
    // Makes the customer and year the current selection, or clears it.
    void SelectCustomerYear(const QString& id, const QString& year);
    // Names the selected customer and year in pVybZak; leaves the panel alone with no selection.
    void ShowSelection();

    void Hlavnobrazovka1Click();
    void cbMainRokEnter();
    void sgMainDblClick();
    void sgMainKeyDown(int key);
    void cbMainRokCloseUp();
    void BitBtn2Click();

private:
    void ClearSelection();
    QString HighlightedCell(int col) const;

    TForm1& form_;
};
