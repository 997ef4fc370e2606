#include <QApplication>
#include <QDir>
#include <QPushButton>
#include <cstdio>

#include "AboutUnit.h"
#include "ProgramFolder.h"
#include "Vozopis1.h"

// vozopis-language-template FOLDER: the support window's template writer run for the program in
// FOLDER, which writes FOLDER/Data/Languages/.lng with the texts of both windows and the messages.
int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 2 || !QDir(QString::fromLocal8Bit(argv[1])).exists()) {
        std::fprintf(stderr, "usage: vozopis-language-template PROGRAM-FOLDER\n");
        return 2;
    }
    SetProgramFolderForTesting(QDir(QString::fromLocal8Bit(argv[1])).absolutePath() + '/');
    QDir(ProgramFolder()).mkpath("Data/Languages");
    TForm1 form;
    Form1 = &form;
    TAbout about(&form);
    About = &about;
    about.Button1->click();
    About = nullptr;
    const QString written = ProgramFolder() + "Data/Languages/.lng";
    if (!QFileInfo(written).isFile()) {
        std::fprintf(stderr, "%s was not written\n", qPrintable(written));
        return 1;
    }
    std::printf("%s\n", qPrintable(written));
    return 0;
}
