#pragma once

#include <QObject>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class TForm1;
class TDataPage;
class TStringGrid;

// The customer page (pnlZakaznici): the list of all customers and the form that adds, changes
// and deletes them.
class TCustomerPage : public QObject {
    Q_OBJECT
public:
    TCustomerPage(TForm1& form, QWidget* panel);

    TStringGrid* sgZak = nullptr;
    QLineEdit* eZakID = nullptr;
    QLineEdit* eZakNazov = nullptr;
    QLineEdit* eZakICO = nullptr;
    QLineEdit* eZakDIC1 = nullptr;
    QLineEdit* eZakDIC2 = nullptr;
    QLineEdit* eZakOsoba = nullptr;
    QLineEdit* eZakUlica = nullptr;
    QLineEdit* eZakMesto = nullptr;
    QLineEdit* eZakPSC = nullptr;
    QLineEdit* eZakStat = nullptr;
    QLabel* lblDIC = nullptr;
    QCheckBox* chbZakPlatca = nullptr;
    QRadioButton* rbZakFO = nullptr;
    QRadioButton* rbZakPO = nullptr;
    QPushButton* BitBtn22 = nullptr;
    QPushButton* BitBtn1 = nullptr;
    QPushButton* BitBtn108 = nullptr;
    QPushButton* BitBtn110 = nullptr;
    TDataPage* page = nullptr;

    void InitGridZak();
    void LoadGridZak(const QString& sql);

    void Pridavybrazkaznka1Click();
    void BitBtn22Click();
    void BitBtn108Click();
    void sgZakKeyDown(int key);
    void BitBtn1Click();
    void sgZakDblClick();
    void chbZakPlatcaClick();

private:
    void BuildForm(QWidget* panel);
    QString TaxNumber() const;
    QStringList InsertLines() const;
    QStringList UpdateLines() const; // without the closing WHERE line
    bool CheckStorable() const;
    // After a write: the current year and a driver named like the customer.
    void AddCurrentYear();
    void RowToFields(int row);

    TForm1& form_;
};
