#pragma once

#include <QDialog>
#include <QList>
#include <QMargins>
#include <QPixmap>
#include <QString>
#include <optional>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPainter;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;
class QTextEdit;
enum class AboutGlyph;

// The product of the family that ProgramTitle names; set by ShowCenter.
extern QString ProductCode;     // path segment of the program's web page
extern QString ProductName;     // first part of the help, licence, changelog and language file names
extern QString ProductFileName; // folder of the product in the maker's download area
// Sets the three product values from the built-in product table when the title is found there.
void SelectProduct(const QString& programTitle);

// The support window "Molvek Dorvane": settings, language, changelog, bug report, help and
// licence, program information. Created hidden at start-up, opened on a page by ShowCenter.
class TAbout : public QDialog {
    Q_OBJECT
public:
    explicit TAbout(QWidget* mainWindow);

    // Refreshes the window from the files beside the program, centres it on the main window and
    // shows it modally on the page named by Page ("settings", "changelog", "bug report", "help",
    // "about", "settingslng"; any letter case).
    void ShowCenter(const QString& page);

    // Handlers.
    void BitBtn4Click();  // saves the cooperation settings and closes
    void BitBtn9Click();  // folder of Zivena - Kelbor
    void BitBtn10Click(); // folder of Zivena - Tamrik
    void BitBtn15Click(); // help file
    void BitBtn2Click();  // the program's web page
    void BitBtn8Click();  // update check (also BitBtn1)
    void lblEmailMouseDown(QLabel* label);
    void lblEmailMouseEnter(QLabel* label);
    void lblEmailMouseLeave(QLabel* label);
    void BitBtn3Click(); // bug report

    // Language page.
    void FillLanguageList();
    void ListBox1Click();
    void BitBtn5Click();
    void ListBox1DblClick() { BitBtn5Click(); }
    void ListBox1DrawItem(QPainter* painter, int index, const QRect& rect);
    void Button1Click();

    QTabWidget* PgCtrlDorvane = nullptr;
    QWidget* TabSheet1 = nullptr; // Settings
    QWidget* TabSheet2 = nullptr; // Changelog
    QWidget* TabSheet3 = nullptr; // Bug report
    QWidget* TabSheet4 = nullptr; // Help / License
    QWidget* TabSheet5 = nullptr; // About
    QLabel* Label1 = nullptr;
    QLabel* lblMolvekDorvaneVersion = nullptr;

    // Settings.
    QTabWidget* PgCtrlSettings = nullptr;
    QWidget* TabSheet7 = nullptr; // Hlavné
    QWidget* TabSheet6 = nullptr; // Language
    QCheckBox* chbNasSpolKB = nullptr;
    QCheckBox* chbNasSpolTR = nullptr;
    QLineEdit* eNasSpolKB = nullptr;
    QLineEdit* eNasSpolTR = nullptr;
    QPushButton* BitBtn9 = nullptr;
    QPushButton* BitBtn10 = nullptr;
    QPushButton* BitBtn4 = nullptr;
    QPushButton* Button1 = nullptr;

    // Language.
    QListWidget* ListBox1 = nullptr;
    QPushButton* BitBtn5 = nullptr;
    QLabel* StaticText1 = nullptr;
    QLabel* StaticText1a = nullptr;
    QLabel* Label8 = nullptr;  // name
    QLabel* Label10 = nullptr; // tag
    QLabel* Label12 = nullptr; // for version of program
    QLabel* Label14 = nullptr; // translation version
    QLabel* Label16 = nullptr; // authors, one per line
    QList<QPixmap> ImageList1; // tab pictures; 7 is the no-flag picture
    QList<QPixmap> ImageList2; // flags, one per language entry

    // Changelog.
    QPlainTextEdit* mChangelog = nullptr;
    QPushButton* BitBtn1 = nullptr;

    // Bug report.
    QLineEdit* eName = nullptr;
    QLineEdit* eEMail = nullptr;
    QPlainTextEdit* mMessage = nullptr;
    QPushButton* BitBtn3 = nullptr;
    QLabel* Label4 = nullptr; // caption of eName
    QLabel* Label5 = nullptr; // caption of eEMail

    // Help / License.
    QTextEdit* reLicense = nullptr;
    QPushButton* BitBtn15 = nullptr;

    // About.
    QLabel* lblNazProg = nullptr;
    QLabel* lblEmail = nullptr;
    QLabel* lblWeb = nullptr;
    QPushButton* BitBtn2 = nullptr;
    QPushButton* BitBtn8 = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildSettingsPage();
    void BuildLanguagePage(QWidget* page);
    void BuildChangelogPage();
    void BuildBugReportPage();
    void BuildLicensePage();
    void BuildAboutPage();
    void LoadTexts();
    void CenterOnMainWindow(const QMargins& frame);
    static QPushButton* NewButton(QWidget* parent, const QString& name, const QString& caption,
                                  AboutGlyph glyph);
    static QLabel* NewLabel(QWidget* parent, const QString& name, const QString& caption);
    void ChooseFolder(QLineEdit* edit, const QString& program);
    bool RefuseUnstorableText();
    QString LanguageFileOfSelection() const;

    QWidget* mainWindow_;
    QMargins frame_;                     // counted by the last centring
    std::optional<QMargins> shownFrame_; // the window manager's, seen when the window last showed
    bool checkFrame_ = false;            // until the window shows
};

extern TAbout* About;
