#include "AboutUnit.h"

#include <QCheckBox>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTextEdit>
#include <QVBoxLayout>
#include <QWindow>

#include "AboutPictures.h"
#include "BoundedFile.h"
#include "Encoding.h"
#include "Endpoints.h"
#include "FolderDialog.h"
#include "Fonts.h"
#include "GeneralUnit.h"
#include "GridHelpers.h"
#include "HandlerGuard.h"
#include "IniFile.h"
#include "Language.h"
#include "MessageBox.h"
#include "Messages.h"
#include "OneLineGuard.h"
#include "ProgramFolder.h"
#include "ProgramGlobals.h"
#include "RtfReader.h"
#include "Shell.h"
#include "TextUtils.h"

TAbout* About = nullptr;
QString ProductCode;
QString ProductName;
QString ProductFileName;

namespace {
struct Product {
    const char* displayName;
    const char* code;
    const char* name;
    const char* fileName;
};

// The family of products sharing the support window.
const Product Products[] = {
    {"Pemrola", "pemr", "Pemrola", "pemrola"},
    {"Darvit", "darv", "Darvit", "darvit"},
    {"Soltran", "solt", "Soltran", "soltran"},
    {"Vozopis", "vzps", "Vozopis", "vozopis"},
    {"Zivena - Kelbor", "zv-kelbor", "Kelbor", "kelbor"},
    {"Zivena - Tamrik", "zv-tamrik", "Tamrik", "tamrik"},
};

const QColor NavyText(0, 0, 128);
const QColor MaroonText(128, 0, 0);

void SetTextColor(QWidget* widget, const QColor& color) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, color);
    widget->setPalette(palette);
}

void SetLinkStyle(QLabel* label, bool underline) {
    QFont font = BoldFont(label->font());
    font.setUnderline(underline);
    label->setFont(font);
}

// Far above any licence or changelog.
constexpr qint64 MaxShownFileBytes = 2 << 20;

// The first of the files that can be read: a regular file within the size bound.
bool ReadFirstFile(const QStringList& fileNames, QByteArray& bytes) {
    for (const QString& fileName : fileNames) {
        if (std::optional<QByteArray> read = ReadBoundedFile(fileName, MaxShownFileBytes)) {
            bytes = std::move(*read);
            return true;
        }
    }
    return false;
}

// AppDir + ProductName + "-" + LanguageTag + suffix, then the same without the tag.
QStringList TaggedThenUntagged(const QString& suffix) {
    return {AppDir + ProductName + "-" + LanguageTag + suffix, AppDir + ProductName + suffix};
}
} // namespace

TAbout::TAbout(QWidget* mainWindow) : QDialog(mainWindow), mainWindow_(mainWindow) {
    setObjectName("About");
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                   Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFixedSize(792, 516);
    setModal(true);
    setFont(QFont(QStringLiteral("MS Sans Serif"), 8));
    ImageList1 = AboutImageList();

    PgCtrlDorvane = new QTabWidget(this);
    PgCtrlDorvane->setObjectName("PgCtrlDorvane");
    PgCtrlDorvane->setGeometry(4, 4, 784, 484);

    BuildSettingsPage();
    BuildChangelogPage();
    BuildBugReportPage();
    BuildLicensePage();
    BuildAboutPage();
    const int pictures[] = {2, 5, 3, 0, 1};
    for (int i = 0; i < PgCtrlDorvane->count(); ++i)
        PgCtrlDorvane->setTabIcon(i, ImageList1.at(pictures[i]));

    Label1 = NewLabel(this, "Label1", "Optimized for resolution: 1024*768");
    Label1->setGeometry(8, 494, 380, 16);
    lblMolvekDorvaneVersion = NewLabel(this, "lblMolvekDorvaneVersion", QString());
    lblMolvekDorvaneVersion->setFont(QFont(QStringLiteral("Arial"), 7));
    lblMolvekDorvaneVersion->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lblMolvekDorvaneVersion->setGeometry(404, 494, 380, 16);

    // Names, the address and the program paths hold one line each.
    for (QLineEdit* edit : findChildren<QLineEdit*>())
        AttachOneLineGuard(edit);
}

QPushButton* TAbout::NewButton(QWidget* parent, const QString& name, const QString& caption,
                               AboutGlyph glyph) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setIcon(AboutGlyphPicture(glyph));
    button->setAutoDefault(false); // Enter in an edit field never presses a button
    return button;
}

QLabel* TAbout::NewLabel(QWidget* parent, const QString& name, const QString& caption) {
    auto* label = new QLabel(caption, parent);
    label->setObjectName(name);
    return label;
}

void TAbout::BuildSettingsPage() {
    TabSheet1 = new QWidget;
    TabSheet1->setObjectName("TabSheet1");
    PgCtrlDorvane->addTab(TabSheet1, "Settings");

    PgCtrlSettings = new QTabWidget(TabSheet1);
    PgCtrlSettings->setObjectName("PgCtrlSettings");

    TabSheet7 = new QWidget;
    TabSheet7->setObjectName("TabSheet7");
    PgCtrlSettings->addTab(TabSheet7, QStringLiteral("Hlavné"));
    auto* group = new QGroupBox(QStringLiteral("Import a spolupráca databáz: "), TabSheet7);
    group->setObjectName("GroupBox1");
    chbNasSpolKB = new QCheckBox(
        QStringLiteral("Spolupracovať s programom Zivena - Kelbor (vyberte cestu k programu)"), group);
    chbNasSpolKB->setObjectName("chbNasSpolKB");
    eNasSpolKB = new QLineEdit(group);
    eNasSpolKB->setObjectName("eNasSpolKB");
    BitBtn9 = NewButton(group, "BitBtn9", QString(), AboutGlyph::Folder);
    chbNasSpolTR = new QCheckBox(
        QStringLiteral("Spolupracovať s programom Zivena - Tamrik (vyberte cestu k programu)"), group);
    chbNasSpolTR->setObjectName("chbNasSpolTR");
    eNasSpolTR = new QLineEdit(group);
    eNasSpolTR->setObjectName("eNasSpolTR");
    BitBtn10 = NewButton(group, "BitBtn10", QString(), AboutGlyph::Folder);
    auto* groupLayout = new QGridLayout(group);
    groupLayout->addWidget(chbNasSpolKB, 0, 0, 1, 2);
    groupLayout->addWidget(eNasSpolKB, 1, 0);
    groupLayout->addWidget(BitBtn9, 1, 1);
    groupLayout->addWidget(chbNasSpolTR, 2, 0, 1, 2);
    groupLayout->addWidget(eNasSpolTR, 3, 0);
    groupLayout->addWidget(BitBtn10, 3, 1);

    auto* note =
        NewLabel(TabSheet7, "Label2",
                 QStringLiteral("Ak aj označíte spoluprácu s externými programami, stále máte možnosť "
                                "vytvoriť zákazníkov, ktorých v označených externých programoch "
                                "neevidujete."));
    note->setWordWrap(true);
    SetTextColor(note, NavyText);
    auto* warning = NewLabel(TabSheet7, "Label3",
                             QStringLiteral("Pre funkčnosť týchto zmien musíte program reštartovať."));
    SetTextColor(warning, MaroonText);
    warning->setFont(BoldFont(warning->font()));
    auto* mainLayout = new QVBoxLayout(TabSheet7);
    mainLayout->addWidget(group);
    mainLayout->addWidget(note);
    mainLayout->addWidget(warning);
    mainLayout->addStretch();

    TabSheet6 = new QWidget;
    TabSheet6->setObjectName("TabSheet6");
    PgCtrlSettings->addTab(TabSheet6, ImageList1.at(6), "Language");
    BuildLanguagePage(TabSheet6);

    BitBtn4 = NewButton(TabSheet1, "BitBtn4", "Save changes", AboutGlyph::Save);
    Button1 = new QPushButton("save (invisible)", TabSheet1);
    Button1->setObjectName("Button1");
    Button1->setAutoDefault(false);
    Button1->hide();
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Button1);
    buttons->addStretch();
    buttons->addWidget(BitBtn4);
    auto* layout = new QVBoxLayout(TabSheet1);
    layout->addWidget(PgCtrlSettings, 1);
    layout->addLayout(buttons);

    connect(BitBtn4, &QPushButton::clicked, this, Guarded([this] { BitBtn4Click(); }));
    connect(BitBtn9, &QPushButton::clicked, this, Guarded([this] { BitBtn9Click(); }));
    connect(BitBtn10, &QPushButton::clicked, this, Guarded([this] { BitBtn10Click(); }));
    connect(Button1, &QPushButton::clicked, this, Guarded([this] { Button1Click(); }));
}

void TAbout::BuildChangelogPage() {
    TabSheet2 = new QWidget;
    TabSheet2->setObjectName("TabSheet2");
    PgCtrlDorvane->addTab(TabSheet2, "Changelog");
    mChangelog = new QPlainTextEdit(TabSheet2);
    mChangelog->setObjectName("mChangelog");
    mChangelog->setReadOnly(true);
    mChangelog->setFont(QFont(QStringLiteral("Courier New"), 8));
    mChangelog->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    BitBtn1 = NewButton(TabSheet2, "BitBtn1", "Check for updates", AboutGlyph::Update);
    auto* layout = new QVBoxLayout(TabSheet2);
    layout->addWidget(mChangelog, 1);
    layout->addWidget(BitBtn1, 0, Qt::AlignRight);
    connect(BitBtn1, &QPushButton::clicked, this, Guarded([this] { BitBtn8Click(); }));
}

void TAbout::BuildLicensePage() {
    TabSheet4 = new QWidget;
    TabSheet4->setObjectName("TabSheet4");
    PgCtrlDorvane->addTab(TabSheet4, "Help / License");
    reLicense = new QTextEdit(TabSheet4);
    reLicense->setObjectName("reLicense");
    reLicense->setReadOnly(true);
    reLicense->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    BitBtn15 = NewButton(TabSheet4, "BitBtn15", "Help file...", AboutGlyph::Help);
    auto* layout = new QVBoxLayout(TabSheet4);
    layout->addWidget(reLicense, 1);
    layout->addWidget(BitBtn15, 0, Qt::AlignRight);
    connect(BitBtn15, &QPushButton::clicked, this, Guarded([this] { BitBtn15Click(); }));
}

void TAbout::BuildAboutPage() {
    TabSheet5 = new QWidget;
    TabSheet5->setObjectName("TabSheet5");
    PgCtrlDorvane->addTab(TabSheet5, "About");

    auto* picture = NewLabel(TabSheet5, "Image2", QString());
    picture->setPixmap(InfoPicture());
    auto* group = new QGroupBox("About: ", TabSheet5);
    group->setObjectName("GroupBox4");
    auto* icon = NewLabel(group, "Image1", QString());
    icon->setPixmap(ProgramIconPicture());
    lblNazProg = NewLabel(group, "lblNazProg", QString());
    lblNazProg->setWordWrap(true);
    SetTextColor(lblNazProg, NavyText);
    QFont titleFont = BoldFont(lblNazProg->font());
    titleFont.setPixelSize(15);
    lblNazProg->setFont(titleFont);
    lblEmail = NewLabel(group, "lblEmail", QString());
    lblWeb = NewLabel(group, "lblWeb", QString());
    for (QLabel* link : {lblEmail, lblWeb}) {
        SetTextColor(link, Qt::blue);
        SetLinkStyle(link, true);
        link->setCursor(Qt::PointingHandCursor);
        link->installEventFilter(this);
    }
    auto* grid = new QGridLayout(group);
    grid->addWidget(icon, 0, 0, 3, 1, Qt::AlignTop);
    grid->addWidget(lblNazProg, 0, 1, 1, 2);
    grid->addWidget(NewLabel(group, "Label18", "e-mail:"), 1, 1);
    grid->addWidget(lblEmail, 1, 2);
    grid->addWidget(NewLabel(group, "Label19", "web:"), 2, 1);
    grid->addWidget(lblWeb, 2, 2);
    grid->setColumnStretch(2, 1);

    BitBtn2 = NewButton(TabSheet5, "BitBtn2", QString(), AboutGlyph::Web);
    BitBtn8 = NewButton(TabSheet5, "BitBtn8", "Check for updates", AboutGlyph::Update);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(BitBtn2);
    buttons->addStretch();
    buttons->addWidget(BitBtn8);
    auto* layout = new QVBoxLayout(TabSheet5);
    layout->addWidget(picture);
    layout->addWidget(group);
    layout->addStretch();
    layout->addLayout(buttons);

    connect(BitBtn2, &QPushButton::clicked, this, Guarded([this] { BitBtn2Click(); }));
    connect(BitBtn8, &QPushButton::clicked, this, Guarded([this] { BitBtn8Click(); }));
}

void SelectProduct(const QString& programTitle) {
    for (const Product& product : Products) {
        if (programTitle == QLatin1String(product.displayName)) {
            ProductCode = product.code;
            ProductName = product.name;
            ProductFileName = product.fileName;
        }
    }
}

void TAbout::ShowCenter(const QString& page) {
    SelectProduct(ProgramTitle);
    QDir().mkpath(AppDir + "Data/");

    const TMemIniFile settings(AppDir + "Data/settings.mvk");
    LanguageTag = settings.ReadString("language", "tag", "");
    const QString languageFile =
        settings.ReadString("language", "file", AppDir + "Data/Languages/" + ProductName + ".lng");
    StaticText1->setText(TMemIniFile(languageFile).ReadString("-main-", "name", ""));

    QDir().mkpath(AppDir + "Data/Languages");
    FillLanguageList();
    LoadTexts();

    if (mainWindow_) {
        // The window manager frames a window only once it shows: until this one has shown, the main
        // window's frame stands in for its frame, and a wrong guess is mended when it shows.
        create();
        windowHandle()->installEventFilter(this);
        const QWindow* main = mainWindow_->windowHandle();
        CenterOnMainWindow(shownFrame_.value_or(main ? main->frameMargins() : QMargins()));
        checkFrame_ = true;
    }

    const QString keyword = page.toLower();
    if (keyword == "settings")
        PgCtrlDorvane->setCurrentIndex(0);
    if (keyword == "changelog")
        PgCtrlDorvane->setCurrentIndex(1);
    if (keyword == "bug report")
        PgCtrlDorvane->setCurrentIndex(2);
    if (keyword == "help")
        PgCtrlDorvane->setCurrentIndex(3);
    if (keyword == "about")
        PgCtrlDorvane->setCurrentIndex(4);
    PgCtrlSettings->setCurrentIndex(0);
    if (keyword == "settingslng") {
        PgCtrlDorvane->setCurrentIndex(0);
        PgCtrlSettings->setCurrentIndex(PgCtrlSettings->count() - 1);
    }
    exec();
}

// Licence, changelog, captions and links: steps 7 to 14 of every opening.
void TAbout::LoadTexts() {
    QByteArray bytes;
    if (ReadFirstFile(TaggedThenUntagged("-license.rtf"), bytes)) {
        ReadRtf(bytes, reLicense->document());
        // The reader's text moved the cursor to the end: shown there, the whole text would be laid
        // out before the window appears.
        reLicense->moveCursor(QTextCursor::Start);
    } else {
        reLicense->setPlainText(GetMsg(0) + ProgramTitle + GetMsg(1) + MakerWebSite + GetMsg(2));
    }

    if (ReadFirstFile(TaggedThenUntagged("-changelog.txt"), bytes))
        mChangelog->setPlainText(ShownLines(FromAnsi(bytes)));
    else
        mChangelog->setPlainText(GetMsg(3) + ProgramTitle + GetMsg(4) + MakerWebSite + GetMsg(5));

    lblMolvekDorvaneVersion->setText("Molvek Dorvane [v 1.00]");
    BitBtn2->setText(GetMsg(6) + ProgramTitle + GetMsg(7));
    setWindowTitle(ProgramTitle + " - Dorvane");
    lblEmail->setText(SupportEmail);
    lblEmail->setToolTip("mailto:" + SupportEmail + "?subject=Otazka k " + ProgramTitle + "&body=");
    lblWeb->setText(MakerWebSite);
    lblWeb->setToolTip(MakerWebSite);
    lblNazProg->setText(ProgramTitle + " [v " + GetFileVersionText(ProgramFilePath(), true) + "]");
}

// Outer sizes of both windows, this one counted with the given frame.
void TAbout::CenterOnMainWindow(const QMargins& frame) {
    frame_ = frame;
    const QRect main = mainWindow_->frameGeometry();
    const QSize outer = size().grownBy(frame);
    const QPoint outerTopLeft(main.left() + (main.width() - outer.width()) / 2,
                              main.top() + (main.height() - outer.height()) / 2);
    // The inner rectangle: unlike move() it means the same before and after the first showing.
    setGeometry(QRect(outerTopLeft + QPoint(frame.left(), frame.top()), size()));
}

void TAbout::BitBtn4Click() {
    TMemIniFile settings(AppDir + "Data/settings.mvk");
    settings.WriteBool("general", "SpolKB", chbNasSpolKB->isChecked());
    settings.WriteBool("general", "SpolTR", chbNasSpolTR->isChecked());
    settings.WriteString("general", "SpolKBpath", eNasSpolKB->text());
    settings.WriteString("general", "SpolTRpath", eNasSpolTR->text());
    settings.UpdateFile();
    accept();
}

void TAbout::ChooseFolder(QLineEdit* edit, const QString& program) {
    QString parent = QFileInfo(QDir::cleanPath(AppDir)).path();
    if (!parent.endsWith('/'))
        parent += '/';
    const std::optional<QString> folder =
        BrowseForFolder("Vybrať cestu pre Zivena - " + program, parent + program, this);
    if (folder)
        edit->setText(*folder);
}

void TAbout::BitBtn9Click() {
    ChooseFolder(eNasSpolKB, "Kelbor");
}

void TAbout::BitBtn10Click() {
    ChooseFolder(eNasSpolTR, "Tamrik");
}

void TAbout::BitBtn15Click() {
    for (const QString& help : TaggedThenUntagged("-help.chm")) {
        if (QFileInfo::exists(help)) {
            ShellOpen(help);
            return;
        }
    }
    ShowMessageBox(GetMsg(8) + ProgramTitle + GetMsg(9) + MakerWebSite + GetMsg(10), ProgramTitle,
                   MB_ICONWARNING);
}

void TAbout::BitBtn2Click() {
    ShellOpen(ProductWebPage(ProductCode));
}

void TAbout::BitBtn8Click() {
    CheckForUpdate(true, ProgramFilePath(), ExeFileName, ProductFileName, ProgramTitle, mainWindow_);
}

void TAbout::lblEmailMouseDown(QLabel* label) {
    OpenLink(label);
}

void TAbout::lblEmailMouseEnter(QLabel* label) {
    SetLinkStyle(label, false);
}

void TAbout::lblEmailMouseLeave(QLabel* label) {
    SetLinkStyle(label, true);
}

bool TAbout::eventFilter(QObject* watched, QEvent* event) {
    if (watched == windowHandle() && event->type() == QEvent::Expose && checkFrame_ &&
        windowHandle()->isExposed()) {
        checkFrame_ = false;
        shownFrame_ = windowHandle()->frameMargins();
        if (*shownFrame_ != frame_)
            CenterOnMainWindow(*shownFrame_);
    }
    auto* label = qobject_cast<QLabel*>(watched);
    if (label && (label == lblEmail || label == lblWeb)) {
        switch (event->type()) {
        case QEvent::Enter:
            RunGuarded([&] { lblEmailMouseEnter(label); });
            break;
        case QEvent::Leave:
            RunGuarded([&] { lblEmailMouseLeave(label); });
            break;
        case QEvent::MouseButtonPress:
            RunGuarded([&] { lblEmailMouseDown(label); });
            break;
        default:
            break;
        }
    }
    return QDialog::eventFilter(watched, event);
}
