#include "Language.h"

#include <QAbstractScrollArea>
#include <QAbstractSpinBox>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>
#include <algorithm>

#include "CaptionSize.h"
#include "IniFile.h"
#include "Messages.h"
#include "ProgramFolder.h"
#include "Settings.h"

QString LanguageTag;
const QEvent::Type LanguageAppliedEvent = static_cast<QEvent::Type>(QEvent::registerEventType());

namespace {
const QString MsgSection = QStringLiteral("-msg-");

// The tab widget whose page W is, or null.
QTabWidget* TabWidgetOf(QObject* object) {
    auto* page = qobject_cast<QWidget*>(object);
    QWidget* stack = page ? page->parentWidget() : nullptr;
    auto* tabs = stack ? qobject_cast<QTabWidget*>(stack->parentWidget()) : nullptr;
    return tabs && tabs->indexOf(page) >= 0 ? tabs : nullptr;
}

// One kind of component with a translatable text.
struct Kind {
    bool (*is)(QObject*);
    QString (*get)(QObject*);
    void (*set)(QObject*, const QString&);
};

template <typename W> bool Is(QObject* o) {
    return qobject_cast<W*>(o) != nullptr;
}
template <typename W> QString Text(QObject* o) {
    return static_cast<W*>(o)->text();
}
template <typename W> void SetText(QObject* o, const QString& text) {
    static_cast<W*>(o)->setText(text);
}

// A label showing a picture is an image, which has no caption: setting a text would wipe the picture.
bool IsCaptionLabel(QObject* o) {
    const auto* label = qobject_cast<QLabel*>(o);
    return label && label->pixmap().isNull();
}

// A label, check box or radio button: a control sized to its caption.
bool IsCaptionControl(QObject* o) {
    return IsCaptionLabel(o) || Is<QCheckBox>(o) || Is<QRadioButton>(o);
}

// In the order in which they are tested; the first kind a component belongs to gives its
// template entry. A radio group is a group box here, and a panel with a caption is a label.
const Kind Kinds[] = {
    {Is<QPushButton>, Text<QPushButton>, SetText<QPushButton>},
    {Is<QToolButton>, Text<QToolButton>, SetText<QToolButton>},
    {IsCaptionLabel, Text<QLabel>, SetText<QLabel>},
    {Is<QAction>, Text<QAction>, SetText<QAction>},
    {Is<QMenu>, [](QObject* o) { return static_cast<QMenu*>(o)->title(); },
     [](QObject* o, const QString& t) { static_cast<QMenu*>(o)->setTitle(t); }},
    {Is<QCheckBox>, Text<QCheckBox>, SetText<QCheckBox>},
    {Is<QGroupBox>, [](QObject* o) { return static_cast<QGroupBox*>(o)->title(); },
     [](QObject* o, const QString& t) { static_cast<QGroupBox*>(o)->setTitle(t); }},
    {Is<QRadioButton>, Text<QRadioButton>, SetText<QRadioButton>},
    {[](QObject* o) { return TabWidgetOf(o) != nullptr; },
     [](QObject* o) {
         QTabWidget* tabs = TabWidgetOf(o);
         return tabs->tabText(tabs->indexOf(static_cast<QWidget*>(o)));
     },
     [](QObject* o, const QString& t) {
         QTabWidget* tabs = TabWidgetOf(o);
         tabs->setTabText(tabs->indexOf(static_cast<QWidget*>(o)), t);
     }},
};

// A status bar's panels are the labels it holds, in their order.
QList<QLabel*> Panels(QStatusBar* bar) {
    return bar->findChildren<QLabel*>(Qt::FindDirectChildrenOnly);
}

bool IsComponentName(const QString& name) {
    return !name.isEmpty() && !name.startsWith(QLatin1String("qt_")) &&
           !name.startsWith(QLatin1String("_q_"));
}

// The inner parts of these widgets are the toolkit's, not the window's components.
bool HoldsComponents(QObject* object) {
    if (qobject_cast<QTabBar*>(object) || qobject_cast<QComboBox*>(object) ||
        qobject_cast<QAbstractSpinBox*>(object) || qobject_cast<QLineEdit*>(object) ||
        qobject_cast<QStatusBar*>(object))
        return false;
    return !qobject_cast<QAbstractScrollArea*>(object) || qobject_cast<QScrollArea*>(object);
}

bool IsOwnWindow(QWidget* widget) {
    const Qt::WindowType type = widget->windowType();
    return (type == Qt::Window || type == Qt::Dialog || type == Qt::Tool || type == Qt::Sheet) &&
           IsComponentName(widget->objectName());
}

// The components of one window in their order; other windows keep their own (menus belong to
// the window whose menu bar holds them).
void CollectComponents(QObject* parent, QList<QObject*>& out) {
    QObjectList children = parent->children();
    if (auto* stack = qobject_cast<QStackedWidget*>(parent)) { // tab pages in tab order, not z-order
        children.clear();
        for (int i = 0; i < stack->count(); ++i)
            children << stack->widget(i);
    }
    for (QObject* child : children) {
        auto* widget = qobject_cast<QWidget*>(child);
        if (widget && widget->isWindow() && !qobject_cast<QMenu*>(widget))
            continue;
        if (IsComponentName(child->objectName()))
            out << child;
        if (HoldsComponents(child))
            CollectComponents(child, out);
    }
}

QList<QObject*> Components(QWidget* window) {
    QList<QObject*> components;
    CollectComponents(window, components);
    return components;
}

// Every window of the application: the topmost window above Form, the windows it holds in their
// order, then any other named top-level window by name.
QList<QWidget*> ApplicationWindows(QWidget* form) {
    QWidget* root = form->window();
    while (root->parentWidget())
        root = root->parentWidget()->window();
    QList<QWidget*> windows{root};
    for (QWidget* widget : root->findChildren<QWidget*>()) {
        if (widget->isWindow() && IsOwnWindow(widget))
            windows << widget;
    }
    QList<QWidget*> others;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (!widget->parentWidget() && IsOwnWindow(widget) && !windows.contains(widget))
            others << widget;
    }
    std::sort(others.begin(), others.end(),
              [](QWidget* a, QWidget* b) { return a->objectName() < b->objectName(); });
    return windows + others;
}

// A text kept on one line of the file.
QString OneLine(QString text) {
    text.replace(QLatin1String("\r\n"), QLatin1String(" "));
    text.replace('\r', ' ');
    text.replace('\n', ' ');
    return text;
}

void TranslateWindow(const TMemIniFile& ini, const QString& section, const QString& key,
                     const QList<QObject*>& components) {
    QString barName;
    int panel = 0;
    const bool barKey = ParseStatusBarKey(key, &barName, &panel);
    for (QObject* component : components) {
        if (auto* bar = qobject_cast<QStatusBar*>(component)) {
            const QList<QLabel*> panels = Panels(bar);
            if (barKey && bar->objectName() == barName && panel < panels.size())
                panels[panel]->setText(
                    StripPercentMarks(ini.ReadString(section, key, panels[panel]->text())));
            continue;
        }
        if (component->objectName() != key)
            continue;
        for (const Kind& kind : Kinds) {
            if (kind.is(component))
                kind.set(component, StripPercentMarks(ini.ReadString(section, key, kind.get(component))));
        }
        if (IsCaptionControl(component)) // a translated caption is shown whole
            FitToCaption(static_cast<QWidget*>(component));
    }
}
} // namespace

bool ParseStatusBarKey(const QString& key, QString* name, int* index) {
    const qsizetype dot = key.indexOf('.');
    *name = dot < 0 ? key : key.left(dot);
    const qsizetype open = key.lastIndexOf('[');
    if (open < 0) {
        *index = 0;
        return true;
    }
    const qsizetype close = key.indexOf(']', open + 1);
    bool ok = false;
    *index = key.mid(open + 1, close < 0 ? -1 : close - open - 1).toInt(&ok, 10);
    return ok && *index >= 0;
}

void LoadLanguage(const QString& productName, const QString& defaultTag, QWidget* form) {
    const QString folder = ProgramFolder() + QStringLiteral("Data/Languages/");
    QString path;
    {
        const TMemIniFile settings(SettingsFilePath());
        LanguageTag = settings.ReadString("language", "tag", QString());
        path = settings.ReadString("language", "file", folder + productName + ".lng");
    }
    // A stored path from another program folder: the chosen language's file in this one.
    if (!QFile::exists(path) && !LanguageTag.isEmpty())
        path = folder + productName + " - " + LanguageTag + ".lng";
    if (!QFile::exists(path))
        path = folder + productName + " - " + defaultTag + ".lng";
    SetLanguage(LanguageTag, path, form);
}

void SetLanguage(const QString& tag, const QString& fileName, QWidget* form) {
    LanguageTag = tag;
    TranslateForm(fileName, form);
}

void TranslateForm(const QString& fileName, QWidget* form) {
    const TMemIniFile ini(fileName);
    QList<QPair<QWidget*, QList<QObject*>>> windows;
    if (form) {
        for (QWidget* window : ApplicationWindows(form))
            windows.append({window, Components(window)});
    }

    // Section and key names compare exactly here, letter case included.
    for (const QString& section : ini.ReadSections()) {
        for (const QString& key : ini.ReadSection(section)) {
            for (const auto& [window, components] : windows) {
                if (window->objectName() == section)
                    TranslateWindow(ini, section, key, components);
            }
        }
    }
    for (qsizetype i = 0; i < MessageTable.size(); ++i)
        MessageTable[i] = ini.ReadString(MsgSection, QString::number(i), MessageTable[i]);
    for (const auto& entry : windows) {
        QEvent applied(LanguageAppliedEvent);
        QCoreApplication::sendEvent(entry.first, &applied);
    }
}

void SaveLanguageTemplate(const QString& fileName, QWidget* form) {
    TMemIniFile ini(fileName);
    for (QWidget* window : form ? ApplicationWindows(form) : QList<QWidget*>()) {
        const QString section = window->objectName();
        for (QObject* component : Components(window)) {
            const QString name = component->objectName();
            if (auto* bar = qobject_cast<QStatusBar*>(component)) {
                const QList<QLabel*> panels = Panels(bar);
                for (qsizetype i = 0; i < panels.size(); ++i)
                    ini.WriteString(section, name + ".Panels[" + QString::number(i) + "]",
                                    '%' + OneLine(panels[i]->text()) + '%');
                continue;
            }
            const auto kind = std::find_if(std::begin(Kinds), std::end(Kinds),
                                           [component](const Kind& k) { return k.is(component); });
            if (kind != std::end(Kinds))
                ini.WriteString(section, name, '%' + OneLine(kind->get(component)) + '%');
        }
    }
    for (qsizetype i = 0; i < MessageTable.size(); ++i)
        ini.WriteString(MsgSection, QString::number(i), OneLine(MessageTable[i]));
    ini.UpdateFile();
}
