#pragma once

#include <QObject>
#include <functional>

#include "DataPageLayout.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class TComboBox;
class TDataPage;
class TForm1;
class TStringGrid;

// The cars of the selected customer (pnlAuta, inner panel Panel6): name, plate, vehicle kind,
// ownership, consumption norm and values, excess consumption and fuel type.
class TCarsPage : public QObject {
    Q_OBJECT
public:
    TCarsPage(TForm1& form, QWidget* panel);

    QLineEdit* eAutaID = nullptr;
    QLineEdit* eAutaNazov = nullptr;
    QLineEdit* eAutaSPZ = nullptr;
    TComboBox* cbAutaDruh = nullptr;
    QLabel* lblAutaDruh = nullptr;
    TComboBox* cbAutaVlastnictvo = nullptr;
    QRadioButton* chbAutaEHK = nullptr;
    QRadioButton* chbAutaES = nullptr;
    QRadioButton* chbAutaSTN = nullptr;
    QLineEdit* eAutaN1 = nullptr;
    QLineEdit* eAutaN2 = nullptr;
    QLineEdit* eAutaN3 = nullptr;
    QLineEdit* eAutaNadspotreba = nullptr;
    QLabel* lblAutaN1 = nullptr;
    QLabel* lblAutaN2 = nullptr;
    QLabel* lblAutaN3 = nullptr;
    TComboBox* cbAutaPHM = nullptr;
    QLabel* lblAutaPHM = nullptr;
    QPushButton* BitBtn3 = nullptr;  // save
    QPushButton* bitAuta = nullptr;  // clear
    QPushButton* BitBtn20 = nullptr; // delete
    QPushButton* BitBtn19 = nullptr; // print
    TStringGrid* sgAuta = nullptr;
    TDataPage* page = nullptr;

    void Evidenciaat1Click();
    void InitGridAuta();
    void LoadGridAuta(const QString& sql);
    void BitBtn3Click();
    void BitBtn20Click();
    void bitAutaClick();
    void sgAutaDblClick(int row);
    void cbAutaDruhCloseUp();
    void cbAutaPHMCloseUp();
    void chbAutaEHKClick();
    void chbAutaESClick();
    void chbAutaSTNClick();

private:
    void BuildForm(QWidget* panel);
    void WireInput();
    bool CheckRequired();
    // "1" EHK, "2" ES, "3" STN.
    QString NormValue() const;
    // An STN car stores its one value three times.
    void CopyStnValue();
    QStringList InsertLines();
    QStringList UpdateLines();
    void SetNormFields(const QString& n1, const QString& n2, const QString& n3, bool showAll);

    TForm1& form_;
    TDataPageWidgets widgets_;
};
