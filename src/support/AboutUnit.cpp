#include "AboutUnit.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QVBoxLayout>

#include "ProgramGlobals.h"

TAbout* About = nullptr;

TAbout::TAbout(QWidget* mainWindow) : QDialog(mainWindow), mainWindow_(mainWindow) {
    setObjectName("About");
    setFixedSize(792, 516);
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowCloseButtonHint);

    PgCtrlDorvane = new QTabWidget(this);
    PgCtrlDorvane->setObjectName("PgCtrlDorvane");

    settingsPage_ = new QWidget;
    settingsPage_->setObjectName("TabSheet1");
    auto* form = new QFormLayout(settingsPage_);
    chbNasSpolKB = new QCheckBox(settingsPage_);
    chbNasSpolKB->setObjectName("chbNasSpolKB");
    eNasSpolKB = new QLineEdit(settingsPage_);
    eNasSpolKB->setObjectName("eNasSpolKB");
    chbNasSpolTR = new QCheckBox(settingsPage_);
    chbNasSpolTR->setObjectName("chbNasSpolTR");
    eNasSpolTR = new QLineEdit(settingsPage_);
    eNasSpolTR->setObjectName("eNasSpolTR");
    form->addRow(chbNasSpolKB, eNasSpolKB);
    form->addRow(chbNasSpolTR, eNasSpolTR);
    PgCtrlDorvane->addTab(settingsPage_, "Settings");

    aboutPage_ = new QWidget;
    aboutPage_->setObjectName("TabSheet5");
    PgCtrlDorvane->addTab(aboutPage_, "About");

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(PgCtrlDorvane);
    auto* optimized = new QLabel("Optimized for resolution: 1024*768", this);
    optimized->setObjectName("Label1");
    layout->addWidget(optimized);
}

void TAbout::ShowCenter(const QString& page) {
    setWindowTitle(ProgramTitle);
    PgCtrlDorvane->setCurrentWidget(page == "about" ? aboutPage_ : settingsPage_);
    if (mainWindow_) {
        const QRect frame = mainWindow_->frameGeometry();
        move(frame.center() - rect().center());
    }
    exec();
}
