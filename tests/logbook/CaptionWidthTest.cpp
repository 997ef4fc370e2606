// Translated captions measured in the windows' own fonts on a real X server.
#include <QGroupBox>
#include <QHash>
#include <QLayout>

#include "Encoding.h"
#include "Language.h"
#include "ProgramFixture.h"
#include "VersionBlock.h"

DEFINE_VERSION_BLOCK(VOZOPIS_VERSION);

namespace {
// English captions that the Slovak layout used to cut, each with the control that follows its field
// on the row.
const struct {
    const char* name;
    const char* english;
    const char* next;
} kEnglish[] = {
    {"Label102", "Year", "cbPocStavAuto"},
    {"Label104", "Fuel in tank", "ePocStavTachometer"},
    {"Label105", "Odometer reading", "BitBtn40"},
    {"Label56", "Plate number", "cbAutaDruh"},
    {"Label57", "Vehicle kind", "cbAutaVlastnictvo"},
    {"Label37", "Departure", "eJazdyPrichod"},
    {"Label39", "Route", "chbJazdySpiatocna"},
    {"Label40", "Driver", "eJazdyCerpane"},
    {"Label41", "Fuel taken", "eJazdyUcel"},
    {"Label42", "Purpose", "BitBtn23"},
    {"Label24", "Sequence number", "eZakNazov"},
    {"Label25", "Company name: ", "eZakICO"},
    {"chbZakPlatca", "VAT registered", nullptr},
};

QString EnglishOf(const QString& name) {
    for (const auto& caption : kEnglish) {
        if (name == caption.name)
            return caption.english;
    }
    return {};
}

// The labels, check boxes and radio buttons of a window that show a caption.
QList<QWidget*> CaptionControls(QWidget* window) {
    QList<QWidget*> controls;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        auto* label = qobject_cast<QLabel*>(w);
        const bool kind = (label && label->pixmap().isNull()) || qobject_cast<QCheckBox*>(w) ||
                          qobject_cast<QRadioButton*>(w);
        if (kind && w->window() == window && !w->objectName().isEmpty() &&
            !w->objectName().startsWith("qt_") && !w->property("text").toString().isEmpty())
            controls << w;
    }
    return controls;
}

// The component of the window by its name (the support window, a child of the main window, has its own).
QWidget* Named(QWidget* window, const char* name) {
    for (QWidget* w : window->findChildren<QWidget*>(name)) {
        if (w->window() == window)
            return w;
    }
    return nullptr;
}

QList<QWidget*> Windows() {
    return {Form1, About};
}

// Shows each window with every page of its tab controls once, so that every control has its shown size.
void ShowEveryPage() {
    for (QWidget* window : Windows()) {
        window->show();
        for (QTabWidget* tabs : window->findChildren<QTabWidget*>()) {
            const int current = tabs->currentIndex();
            for (int i = 0; i < tabs->count(); ++i) {
                tabs->setCurrentIndex(i);
                Settle();
            }
            tabs->setCurrentIndex(current);
        }
    }
    Settle();
}

// The geometry of every caption control and group box of both windows.
QHash<QWidget*, QRect> Geometries() {
    QHash<QWidget*, QRect> geometries;
    for (QWidget* window : Windows()) {
        for (QWidget* w : CaptionControls(window))
            geometries.insert(w, w->geometry());
        for (QGroupBox* group : window->findChildren<QGroupBox*>())
            geometries.insert(group, group->geometry());
    }
    return geometries;
}

// A language file giving the English captions above and every other caption longer by " (EN)".
QString WriteEnglish(const TempProgramFolder& folder) {
    QString text;
    for (QWidget* window : Windows()) {
        text += '[' + window->objectName() + "]\r\n";
        for (QWidget* w : CaptionControls(window)) {
            const QString english = EnglishOf(w->objectName());
            const QString caption = w->property("text").toString().replace('\n', ' ');
            text += w->objectName() + "=%" + (english.isEmpty() ? caption + " (EN)" : english) + "%\r\n";
        }
    }
    const QString path = folder.File("Data/Languages/Vozopis - EN.lng");
    QDir().mkpath(folder.File("Data/Languages"));
    WriteFileBytes(path, ToAnsi(text));
    return path;
}

bool PlacedByLayout(const QWidget* w) {
    return w->parentWidget()->layout() != nullptr;
}

// The controls of both windows that do not show their whole caption, or run off their group box.
QStringList CutCaptions() {
    QStringList cut;
    for (QWidget* window : Windows()) {
        for (QWidget* w : CaptionControls(window)) {
            auto* label = qobject_cast<QLabel*>(w);
            const bool whole = label && label->wordWrap() ? w->height() >= label->heightForWidth(w->width())
                                                          : w->width() >= w->sizeHint().width();
            auto* group = qobject_cast<QGroupBox*>(w->parentWidget());
            if (!whole || (group && !group->rect().contains(w->geometry())))
                cut << QString("%1 \"%2\" %3 of %4")
                           .arg(w->objectName(), w->property("text").toString())
                           .arg(w->width())
                           .arg(w->sizeHint().width());
        }
    }
    return cut;
}

// The English captions that reach into the control beside their field.
QStringList Overlaps() {
    QStringList overlaps;
    for (const auto& caption : kEnglish) {
        QWidget* w = Named(Form1, caption.name);
        QWidget* next = caption.next ? Named(Form1, caption.next) : nullptr;
        if (!w || w->property("text").toString() != caption.english)
            overlaps << QString(caption.name) + " not translated";
        else if (next && w->mapTo(Form1, QPoint(w->width(), 0)).x() > next->mapTo(Form1, QPoint()).x())
            overlaps << QString(caption.name) + " reaches " + caption.next;
    }
    return overlaps;
}

// Where the caption of a control is held: its left edge, its right edge when right-aligned, its middle
// when centred; and its top.
QPoint Anchor(const QWidget* w, const QRect& box) {
    const auto* label = qobject_cast<const QLabel*>(w);
    const Qt::Alignment align = label ? label->alignment() : Qt::AlignLeft;
    const int x = align & Qt::AlignRight     ? box.right()
                  : align & Qt::AlignHCenter ? box.left() + box.width() / 2
                                             : box.left();
    return {x, box.top()};
}
} // namespace

using CaptionWidthTest = ProgramTest;

// English captions on the language page's choice read whole where their Slovak ones stood, and none
// reaches the next field; a check box that outgrows its group box widens the box. Slovak again puts
// every caption and group box back as it was laid out.
TEST_F(CaptionWidthTest, AChosenLanguageShowsEveryCaptionWholeInPlaceAndSlovakGoesBackToTheLayout) {
    ShowEveryPage();
    const QHash<QWidget*, QRect> slovak = Geometries();
    const QString slovakFile = program.folder.File("Data/Languages/Vozopis - SK.lng");
    QDir().mkpath(program.folder.File("Data/Languages"));
    SaveLanguageTemplate(slovakFile, Form1);

    SetLanguage("EN", WriteEnglish(program.folder), Form1);
    ShowEveryPage();
    EXPECT_EQ(CutCaptions(), QStringList());
    EXPECT_EQ(Overlaps(), QStringList());
    QStringList moved;
    for (auto [w, box] : slovak.asKeyValueRange()) {
        if (!PlacedByLayout(w) && Anchor(w, w->geometry()) != Anchor(w, box))
            moved << w->objectName();
    }
    EXPECT_EQ(moved, QStringList());
    QCheckBox* payer = program.form->CustomerPage->chbZakPlatca;
    EXPECT_GT(payer->parentWidget()->width(), slovak[payer->parentWidget()].width());

    SetLanguage("SK", slovakFile, Form1);
    ShowEveryPage();
    QStringList changed;
    for (auto [w, box] : slovak.asKeyValueRange()) {
        if (w->geometry() != box)
            changed << QString("%1 %2 not %3").arg(w->objectName()).arg(w->width()).arg(box.width());
    }
    EXPECT_EQ(changed, QStringList());
}

// A language stored as the choice applies at the first showing, when the captions have their Slovak size.
TEST_F(CaptionWidthTest, ALanguageAppliedAtTheFirstShowingShowsEveryCaptionWhole) {
    WriteSetting("language", "tag", "EN");
    WriteSetting("language", "file", WriteEnglish(program.folder));
    program.Restart();
    ShowEveryPage();
    EXPECT_EQ(CutCaptions(), QStringList());
    EXPECT_EQ(Overlaps(), QStringList());
}
