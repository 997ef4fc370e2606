// The language page of the support window: the list of language files with their flags, the
// details of the selected one, and the choice of the program's language.
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QVBoxLayout>
#include <algorithm>

#include "AboutPictures.h"
#include "AboutUnit.h"
#include "BoundedFile.h"
#include "Fonts.h"
#include "GridHelpers.h"
#include "HandlerGuard.h"
#include "IniFile.h"
#include "Language.h"
#include "MessageBox.h"
#include "Messages.h"
#include "ProgramGlobals.h"
#include "TextUtils.h"

namespace {
constexpr int ItemHeight = 20;
constexpr int FlagWidth = 22;
constexpr int FlagHeight = 14;

// Draws the language list's items through the window's handler, on a canvas prepared as the
// list draws a plain item (highlight colours for the selected one).
class LanguageItemDelegate : public QStyledItemDelegate {
public:
    LanguageItemDelegate(TAbout* about, QListWidget* list) : QStyledItemDelegate(list), about_(about) {}

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        return {QStyledItemDelegate::sizeHint(option, index).width(), ItemHeight};
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        const bool selected = option.state & QStyle::State_Selected;
        painter->save();
        painter->setBrush(option.palette.brush(selected ? QPalette::Highlight : QPalette::Base));
        painter->setPen(option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
        painter->setFont(option.font);
        RunGuarded([&] { about_->ListBox1DrawItem(painter, index.row(), option.rect); });
        painter->restore();
    }

private:
    TAbout* about_;
};

QString LanguagesFolder() {
    return AppDir + "Data/Languages/";
}

// The tag of a list entry: its text before the first " - ".
QString EntryTag(const QString& entry) {
    const qsizetype dash = entry.indexOf(" - ");
    return dash < 0 ? entry : entry.left(dash);
}

// The flag beside a language file, cut to the list's picture size; the no-flag picture when
// there is none or it cannot be read.
QPixmap FlagOf(const QString& languageFile, const QPixmap& noFlag) {
    constexpr qint64 MaxFlagBytes = 1 << 20; // far above a small bitmap
    const std::optional<QByteArray> bytes = ReadBoundedFile(languageFile.chopped(4) + ".bmp", MaxFlagBytes);
    QPixmap flag;
    if (bytes && flag.loadFromData(*bytes, "BMP"))
        return flag.copy(0, 0, FlagWidth, FlagHeight);
    return noFlag;
}
} // namespace

void TAbout::BuildLanguagePage(QWidget* page) {
    ListBox1 = new QListWidget(page);
    ListBox1->setObjectName("ListBox1");
    ListBox1->setItemDelegate(new LanguageItemDelegate(this, ListBox1));
    ListBox1->setUniformItemSizes(true);
    BitBtn5 = NewButton(page, "BitBtn5", "Load selected language", AboutGlyph::Language);
    auto* note =
        NewLabel(page, "Label17", "If you translate program to your language send me language file, please.");
    note->setWordWrap(true);

    auto* selectedCaption = NewLabel(page, "Label6", "Selected language is:");
    StaticText1a = NewLabel(page, "StaticText1a", QString());
    StaticText1a->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    StaticText1a->setMinimumHeight(28);
    StaticText1 = NewLabel(StaticText1a, "StaticText1", "selected language");
    StaticText1->setAlignment(Qt::AlignCenter);
    QFont selectedFont = BoldFont(StaticText1->font());
    selectedFont.setPointSize(10);
    StaticText1->setFont(selectedFont);
    QPalette navy = StaticText1->palette();
    navy.setColor(QPalette::WindowText, QColor(0, 0, 128));
    StaticText1->setPalette(navy);
    auto* frameLayout = new QHBoxLayout(StaticText1a);
    frameLayout->setContentsMargins(2, 2, 2, 2);
    frameLayout->addWidget(StaticText1);

    auto* group = new QGroupBox("About translation: ", page);
    group->setObjectName("GroupBox2");
    auto* grid = new QGridLayout(group);
    const struct {
        const char* name;
        const char* caption;
        QLabel** value;
        const char* valueName;
    } rows[] = {
        {"Label7", "Name:", &Label8, "Label8"},
        {"Label9", "Tag:", &Label10, "Label10"},
        {"Label13", "Translate version:", &Label14, "Label14"},
        {"Label11", "For version of program:", &Label12, "Label12"},
        {"Label15", "Autors:", &Label16, "Label16"},
    };
    int row = 0;
    for (const auto& r : rows) {
        grid->addWidget(NewLabel(group, r.name, r.caption), row, 0, Qt::AlignTop);
        *r.value = NewLabel(group, r.valueName, "_");
        (*r.value)->setFont(BoldFont((*r.value)->font()));
        grid->addWidget(*r.value, row++, 1, Qt::AlignTop);
    }
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(row, 1);

    auto* left = new QVBoxLayout;
    left->addWidget(ListBox1, 1);
    left->addWidget(note);
    auto* right = new QVBoxLayout;
    right->addWidget(BitBtn5);
    right->addWidget(selectedCaption);
    right->addWidget(StaticText1a);
    right->addWidget(group, 1);
    auto* layout = new QHBoxLayout(page);
    layout->addLayout(left, 1);
    layout->addLayout(right, 1);

    connect(ListBox1, &QListWidget::currentRowChanged, this, Guarded([this] { ListBox1Click(); }));
    connect(ListBox1, &QListWidget::itemDoubleClicked, this, Guarded([this] { ListBox1DblClick(); }));
    connect(BitBtn5, &QPushButton::clicked, this, Guarded([this] { BitBtn5Click(); }));
}

void TAbout::FillLanguageList() {
    {
        const QSignalBlocker quiet(ListBox1);
        ListBox1->clear();
    }
    // Regular files (and links to them) only: a FIFO or a device is never listed.
    const QDir folder(LanguagesFolder());
    QStringList files = folder.entryList({QStringLiteral("*.lng")}, QDir::Files | QDir::Hidden, QDir::NoSort);
    files.removeIf([](const QString& name) { return !QFileInfo(LanguagesFolder() + name).isFile(); });
    std::sort(files.begin(), files.end(), [](const QString& a, const QString& b) {
        const int folded = a.compare(b, Qt::CaseInsensitive);
        return folded != 0 ? folded < 0 : a < b;
    });
    ImageList2.clear();
    for (const QString& name : files) {
        const QString path = LanguagesFolder() + name;
        const TMemIniFile language(path);
        const QSignalBlocker quiet(ListBox1);
        ListBox1->addItem(language.ReadString("-main-", "tag", "error") + " - " +
                          language.ReadString("-main-", "name", "error"));
        ImageList2 << FlagOf(path, ImageList1.at(NoFlagPicture));
    }
    if (ListBox1->count() == 0)
        return;
    const int found = IndexOfItemText(StaticText1->text(), ListBox1, true);
    {
        const QSignalBlocker quiet(ListBox1);
        ListBox1->setCurrentRow(found >= 0 ? found : 0);
    }
    ListBox1Click();
}

QString TAbout::LanguageFileOfSelection() const {
    return LanguagesFolder() + ProductName + " - " + EntryTag(ListBox1->currentItem()->text()) + ".lng";
}

void TAbout::ListBox1Click() {
    if (!ListBox1->currentItem())
        return;
    const TMemIniFile language(LanguageFileOfSelection());
    Label8->setText(language.ReadString("-main-", "name", ""));
    Label10->setText(language.ReadString("-main-", "tag", ""));
    Label12->setText(language.ReadString("-main-", "ProgramVersion", ""));
    Label14->setText(language.ReadString("-main-", "TranslationVersion", ""));
    QStringList authors;
    for (const QString& key : language.ReadSection("-main-")) {
        if (!key.startsWith(QLatin1String("autor")))
            continue;
        const QString author = language.ReadString("-main-", key, "");
        if (!author.isEmpty())
            authors << author;
    }
    Label16->setText(authors.join('\n'));
}

void TAbout::BitBtn5Click() {
    if (!ListBox1->currentItem()) {
        ShowMessageBox(GetMsg(14), ProgramTitle, MB_ICONINFORMATION);
        return;
    }
    const QString tag = EntryTag(ListBox1->currentItem()->text());
    const QString fileName = LanguageFileOfSelection();
    SetLanguage(tag, fileName, mainWindow_);

    QDir().mkdir(AppDir + "Data");
    const QString name = TMemIniFile(fileName).ReadString("-main-", "name", "");
    TMemIniFile settings(AppDir + "Data/settings.mvk");
    settings.WriteString("language", "tag", tag);
    settings.WriteString("language", "name", name);
    settings.WriteString("language", "file", fileName);
    StaticText1->setText(name);
    settings.UpdateFile();

    ShowMessageBox(GetMsg(15), ProgramTitle, MB_ICONINFORMATION);
}

void TAbout::ListBox1DrawItem(QPainter* painter, int index, const QRect& rect) {
    DrawListItem(ListBox1, painter, rect, 'L', 35, index, this);
    if (index < 0 || index >= ImageList2.size())
        return;
    const int textHeight = painter->fontMetrics().height();
    painter->drawPixmap(rect.left() + 5, rect.top() + (ItemHeight - textHeight) / 2, ImageList2.at(index));
}

void TAbout::Button1Click() {
    SaveLanguageTemplate(LanguagesFolder() + ".lng", mainWindow_);
}
