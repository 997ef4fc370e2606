#pragma once

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QTabWidget;

// The support window: created hidden at start-up, opened on a page by ShowCenter.
class TAbout : public QDialog {
    Q_OBJECT
public:
    explicit TAbout(QWidget* mainWindow);

    // Centres the window on the main window and shows it modally on the page named by Page
    // ("settings" or "about").
    void ShowCenter(const QString& page);

    QTabWidget* PgCtrlDorvane = nullptr;
    QCheckBox* chbNasSpolKB = nullptr;
    QCheckBox* chbNasSpolTR = nullptr;
    QLineEdit* eNasSpolKB = nullptr;
    QLineEdit* eNasSpolTR = nullptr;

private:
    QWidget* mainWindow_;
    QWidget* settingsPage_ = nullptr;
    QWidget* aboutPage_ = nullptr;
};

extern TAbout* About;
