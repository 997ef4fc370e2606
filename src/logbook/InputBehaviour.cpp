#include "InputBehaviour.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QRadioButton>
#include <QTextEdit>
#include <algorithm>
#include <utility>

#include "Colors.h"
#include "Globals.h"
#include "GridHelpers.h"
#include "HandlerGuard.h"
#include "MaskEdit.h"
#include "OneLineGuard.h"
#include "System.h"

namespace {
constexpr uint32_t kFocusFontColor = 128; // maroon

KeyBeepFunction& KeyBeep() {
    static KeyBeepFunction beep = [] { Beep(); };
    return beep;
}

QChar RejectKey() {
    if (KeyBeep())
        KeyBeep()();
    return QChar();
}

bool IsAsciiDigit(QChar c) {
    return c >= '0' && c <= '9';
}

// The decimal filter on a text and its caret: the character to insert at the caret, or a null
// QChar when the key is dropped. '.' and ',' first take every comma out of the text, the caret
// keeping its place in what remains, so that the field keeps one comma.
QChar DecimalKey(QString& text, int& caret, QChar key) {
    if (key != '\b' && key != ',' && key != '-' && key != '.' && !IsAsciiDigit(key))
        return QChar();
    if (key != '.' && key != ',')
        return key;
    caret -=
        int(std::count(text.cbegin(), text.cbegin() + std::clamp(caret, 0, int(text.size())), QChar(',')));
    text.remove(',');
    return ',';
}

QChar YearKey(QChar key) {
    return key == '\b' || IsAsciiDigit(key) ? key : QChar();
}

bool IsEnterKey(int key) {
    return key == Qt::Key_Return || key == Qt::Key_Enter || key == 13;
}

uint32_t ToBgr(const QColor& c) {
    return uint32_t(c.red()) | uint32_t(c.green()) << 8 | uint32_t(c.blue()) << 16;
}

// Edits, masked edits, combo boxes and memos: coloured through their background.
bool IsFieldControl(QWidget* w) {
    return qobject_cast<QLineEdit*>(w) || qobject_cast<QComboBox*>(w) || qobject_cast<QPlainTextEdit*>(w) ||
           qobject_cast<QTextEdit*>(w);
}

// The palette role a button's caption is drawn in.
QPalette::ColorRole FontRole(QAbstractButton* button) {
    return qobject_cast<QCheckBox*>(button) || qobject_cast<QRadioButton*>(button) ? QPalette::WindowText
                                                                                   : QPalette::ButtonText;
}

void SetRoleColor(QWidget* w, QPalette::ColorRole role, uint32_t bgr) {
    QPalette palette = w->palette();
    palette.setColor(role, ColorFromBgr(bgr));
    w->setPalette(palette);
}

bool IsTabStop(QWidget* w, QWidget* window) {
    return w != window && window->isAncestorOf(w) && (w->focusPolicy() & Qt::TabFocus) == Qt::TabFocus &&
           w->isEnabled() && w->isVisibleTo(window) && !w->focusProxy();
}

// The window's select-next: from its focused control to the next (or previous) tab stop, wrapping
// round the whole window.
void SelectNext(QWidget* sender, bool forward) {
    QWidget* window = sender->window();
    QWidget* from = window->focusWidget() ? window->focusWidget() : sender;
    QWidget* w = from;
    do {
        w = forward ? w->nextInFocusChain() : w->previousInFocusChain();
        if (w && IsTabStop(w, window)) {
            w->setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
            return;
        }
    } while (w && w != from);
}

// The control highlighted now; its exit is still to come.
QPointer<QWidget>& Highlighted() {
    static QPointer<QWidget> control;
    return control;
}

// A behaviour of a control: an event filter that the control owns. It acts only while the control is
// whole and the page whose members it calls lives: a focus-out that Qt sends from the destructor
// of a focused control, or after its page is gone (or while the page is being destroyed), calls
// nothing.
class FieldBehaviour : public QObject {
public:
    FieldBehaviour(QWidget* control, QObject* page)
        : QObject(control), control_(control), page_(page), class_(control->metaObject()) {
        control->installEventFilter(this);
    }

protected:
    // In the destructor of a control the derived classes are gone and it reports a base class.
    bool Live() const { return page_ && control_->metaObject() == class_; }

    QWidget* control_;

private:
    QPointer<QObject> page_;
    const QMetaObject* class_;
};

template <class Behaviour> Behaviour* FindBehaviour(QWidget* control) {
    for (QObject* child : control->children()) {
        if (auto* behaviour = dynamic_cast<Behaviour*>(child))
            return behaviour;
    }
    return nullptr;
}

// Colouring on focus enter and exit. A focus-out to another window or to a popup is no exit;
// coming back is then no new enter.
class HighlightBehaviour : public FieldBehaviour {
public:
    HighlightBehaviour(QWidget* control, int mode) : FieldBehaviour(control, control), mode_(mode) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != control_ || !Live())
            return false;
        if (event->type() == QEvent::FocusIn) {
            if (Highlighted() == control_)
                return false;
            // The control takes the focus first, so that a masked edit has placed its caret.
            static_cast<QObject*>(control_)->event(event);
            RunGuarded([this] {
                if (QWidget* previous = Highlighted()) {
                    Highlighted() = nullptr;
                    HighlightControlExit(previous);
                }
                Highlighted() = control_;
                HighlightControlEnter(control_, mode_);
            });
            return true;
        }
        if (event->type() == QEvent::FocusOut) {
            const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
            if (Highlighted() == control_ && reason != Qt::ActiveWindowFocusReason &&
                reason != Qt::PopupFocusReason) {
                Highlighted() = nullptr;
                RunGuarded([this] { HighlightControlExit(control_); });
            }
        }
        return false;
    }

private:
    int mode_;
};

// A key-down handler. The key goes on to the control afterwards, except Up and Down on a button
// that the focus has left. On a combo box, Enter in the open list is let through to the list
// first (it takes the item and closes), then handled.
class KeyDownBehaviour : public FieldBehaviour {
public:
    using Handler = std::function<void(QWidget*, int)>;

    KeyDownBehaviour(QWidget* control, QObject* page, Handler handler)
        : FieldBehaviour(control, page), handler_(std::move(handler)) {
        if (auto* combo = qobject_cast<QComboBox*>(control)) {
            list_ = combo->view();
            list_->installEventFilter(this);
        }
    }

    // Puts this filter before the others of the control.
    void InstallFirst() { control_->installEventFilter(this); }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress || resending_ || !Live())
            return false;
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (watched == control_) {
            RunGuarded([&] { handler_(control_, key); });
            // A button's own Up and Down would move the focus a second time.
            return qobject_cast<QAbstractButton*>(control_) && (key == Qt::Key_Up || key == Qt::Key_Down) &&
                   !control_->hasFocus();
        }
        if (watched == list_ && IsEnterKey(key)) {
            resending_ = true;
            QCoreApplication::sendEvent(list_, event);
            resending_ = false;
            if (list_ && !list_->isVisible())
                RunGuarded([&] { handler_(control_, key); });
            return true;
        }
        return false;
    }

private:
    QPointer<QWidget> list_;
    Handler handler_;
    bool resending_ = false;
};

// A filter of typed characters on an edit. Keys that type no character (arrows, Home, End,
// Delete, Tab) are not looked at, nor are Ctrl and Ctrl+Shift keys: the edit types nothing for
// them but takes them as its commands (copy, paste, undo, select all), and pasted text goes through
// the field's guard.
class KeyFilterBehaviour : public FieldBehaviour {
public:
    using Filter = QChar (*)(QLineEdit*, QChar);

    KeyFilterBehaviour(QLineEdit* edit, Filter filter)
        : FieldBehaviour(edit, edit), edit_(edit), filter_(filter) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != edit_ || event->type() != QEvent::KeyPress || !Live())
            return false;
        auto* keyEvent = static_cast<QKeyEvent*>(event);
        const QString typed = keyEvent->text();
        const int key = keyEvent->key();
        const Qt::KeyboardModifiers modifiers = keyEvent->modifiers() & ~Qt::KeypadModifier;
        if (typed.isEmpty() || key == Qt::Key_Delete || key == Qt::Key_Tab || key == Qt::Key_Backtab ||
            modifiers == Qt::ControlModifier || modifiers == (Qt::ControlModifier | Qt::ShiftModifier))
            return false;

        bool passOn = typed.size() == 1;
        QString insert;
        const bool ran = RunGuarded([&] {
            for (QChar c : typed) {
                const QChar result = filter_(edit_, c);
                if (result != c)
                    passOn = false;
                if (!result.isNull() && result != '\b')
                    insert += result;
            }
        });
        if (ran && passOn)
            return false;
        if (ran && !insert.isEmpty())
            edit_->insert(insert);
        return true;
    }

private:
    QLineEdit* edit_;
    Filter filter_;
};

// The guard of a one-line field: the platform's guard, which takes line breaks and control
// characters out of every change, with the key filter of a decimal or year field run on inserted
// text, and a focus filter that selects the text when the program or the keyboard moves the focus in.
class LineGuard : public TOneLineGuard {
public:
    enum Kind { Text, Decimal, Year };

    explicit LineGuard(QLineEdit* edit) : TOneLineGuard(edit), last_(edit->text()) {
        // A text that the program puts into the focused field is selected as well: the focus may
        // have arrived before the text (a tab page shown with its field focused).
        connect(edit, &QLineEdit::textChanged, this, [this] {
            if (std::exchange(fixed_, false) || !edit_->hasFocus() || edit_->isUndoAvailable())
                return;
            edit_->selectAll();
        });
    }

    void SetKind(Kind kind) { kind_ = kind; }
    // Puts the focus filter before the others, which may take the focus event for themselves.
    void InstallFirst() { edit_->installEventFilter(this); }

    State validate(QString& input, int& pos) const override {
        QString text = input;
        int caret = pos;
        // A change of the user's leaves an undo step; a text set by the program starts afresh.
        const bool dropped = kind_ != Text && edit_->isUndoAvailable() && FilterInserted(text, caret);
        TOneLineGuard::validate(text, caret);
        if (dropped)
            RejectKey();
        // A change cut down here comes back as a text set anew, which is still the user's.
        if (text != input)
            fixed_ = true;
        input = text;
        pos = caret;
        last_ = text;
        return Acceptable;
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == edit_ && event->type() == QEvent::FocusIn) {
            const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
            if (reason == Qt::OtherFocusReason || reason == Qt::TabFocusReason ||
                reason == Qt::BacktabFocusReason || reason == Qt::ShortcutFocusReason)
                edit_->selectAll();
        }
        return false;
    }

private:
    // The characters inserted since the last text go through the key filter one by one, at the
    // place where they were inserted. True when one was dropped.
    bool FilterInserted(QString& text, int& caret) const {
        const int common = int(std::min(text.size(), last_.size()));
        int prefix = 0;
        while (prefix < common && text[prefix] == last_[prefix])
            ++prefix;
        int suffix = 0;
        while (suffix < common - prefix && text[text.size() - 1 - suffix] == last_[last_.size() - 1 - suffix])
            ++suffix;
        const QString inserted = text.mid(prefix, text.size() - prefix - suffix);
        QString result = text.left(prefix) + text.right(suffix);
        int at = prefix;
        bool dropped = false;
        for (QChar c : inserted) {
            const QChar key = kind_ == Decimal ? DecimalKey(result, at, c) : YearKey(c);
            if (key.isNull())
                dropped = true;
            else if (key != '\b')
                result.insert(at++, key);
        }
        if (result != text) {
            text = result;
            caret = at;
        }
        return dropped;
    }

    Kind kind_ = Text;
    mutable QString last_;       // the text as last accepted
    mutable bool fixed_ = false; // the next text change is the validator's own correction
};

LineGuard* GuardOf(QLineEdit* edit) {
    if (!edit || qobject_cast<TMaskEdit*>(edit))
        return nullptr;
    if (auto* guard = FindBehaviour<LineGuard>(edit))
        return guard;
    return new LineGuard(edit);
}

void GuardIfLineEdit(QWidget* control) {
    AttachLineGuard(qobject_cast<QLineEdit*>(control));
}

void AttachKeyFilter(QLineEdit* edit, KeyFilterBehaviour::Filter filter) {
    delete FindBehaviour<KeyFilterBehaviour>(edit);
    new KeyFilterBehaviour(edit, filter);
    if (KeyDownBehaviour* keyDown = FindBehaviour<KeyDownBehaviour>(edit))
        keyDown->InstallFirst();
    if (LineGuard* guard = GuardOf(edit))
        guard->SetKind(filter == DecimalKeyFilter ? LineGuard::Decimal : LineGuard::Year);
    AttachLineGuard(edit);
}

void AttachHighlightAndNavigation(QWidget* control, int mode) {
    AttachHighlight(control, mode);
    if (!FindBehaviour<KeyDownBehaviour>(control))
        AttachNavigation(control);
}
} // namespace

void HighlightControlEnter(QWidget* sender, int mode) {
    if (!sender)
        return;
    if (IsFieldControl(sender)) {
        SavedColor = ToBgr(sender->palette().color(QPalette::Base));
        SetRoleColor(sender, QPalette::Base, FocusColor);
    } else if (auto* button = qobject_cast<QAbstractButton*>(sender)) {
        SavedColor = ToBgr(button->palette().color(FontRole(button)));
        SetRoleColor(button, FontRole(button), kFocusFontColor);
    }
    if (mode == 2) {
        if (auto* mask = qobject_cast<TMaskEdit*>(sender))
            mask->SetSelLength(1);
    }
}

void HighlightControlExit(QWidget* sender) {
    if (!sender)
        return;
    if (IsFieldControl(sender))
        SetRoleColor(sender, QPalette::Base, SavedColor);
    else if (auto* button = qobject_cast<QAbstractButton*>(sender))
        SetRoleColor(button, FontRole(button), SavedColor);
    RepaintControlArea(sender);
}

void NavigationKey(QWidget* sender, int key) {
    if (!sender)
        return;
    if (IsEnterKey(key) || key == Qt::Key_Down)
        SelectNext(sender, true);
    else if (key == Qt::Key_Up)
        SelectNext(sender, false);
}

QChar DecimalKeyFilter(QLineEdit* edit, QChar key) {
    QString text = edit ? edit->text() : QString();
    int caret = !edit ? 0 : edit->hasSelectedText() ? edit->selectionStart() : edit->cursorPosition();
    const QChar result = DecimalKey(text, caret, key);
    if (result.isNull())
        return RejectKey();
    if ((key == '.' || key == ',') && edit) {
        if (text != edit->text())
            edit->setText(text);
        edit->setCursorPosition(caret);
    }
    return result;
}

QChar YearKeyFilter(QLineEdit*, QChar key) {
    const QChar result = YearKey(key);
    return result.isNull() ? RejectKey() : result;
}

KeyBeepFunction SetKeyBeep(KeyBeepFunction beep) {
    KeyBeepFunction previous = std::move(KeyBeep());
    KeyBeep() = std::move(beep);
    return previous;
}

void AttachHighlight(QWidget* control, int mode) {
    delete FindBehaviour<HighlightBehaviour>(control);
    new HighlightBehaviour(control, mode);
    GuardIfLineEdit(control);
}

void AttachFocusColour(QWidget* control) {
    AttachHighlightAndNavigation(control, 1);
}

void AttachDateMask(TMaskEdit* edit) {
    AttachHighlightAndNavigation(edit, 2);
}

void AttachNavigation(QWidget* control) {
    AttachKeyDown(control, control, NavigationKey);
}

void AttachKeyDown(QWidget* control, QObject* page, std::function<void(QWidget* sender, int key)> handler) {
    delete FindBehaviour<KeyDownBehaviour>(control);
    new KeyDownBehaviour(control, page, std::move(handler));
    GuardIfLineEdit(control);
}

void AttachLineGuard(QLineEdit* edit) {
    if (LineGuard* guard = GuardOf(edit))
        guard->InstallFirst();
}

bool HasLineGuard(const QLineEdit* edit) {
    return edit && edit->validator() && dynamic_cast<const LineGuard*>(edit->validator());
}

namespace {
// Runs an action on a focus change between controls of the window.
class FocusChangeBehaviour : public FieldBehaviour {
public:
    FocusChangeBehaviour(QWidget* control, QObject* page, QEvent::Type type, std::function<void()> action)
        : FieldBehaviour(control, page), type_(type), action_(std::move(action)) {}
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == type_ && Live()) {
            const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
            if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason)
                RunGuarded(action_);
        }
        return false;
    }

private:
    QEvent::Type type_;
    std::function<void()> action_;
};
} // namespace

void AttachEnter(QWidget* control, QObject* page, std::function<void()> action) {
    new FocusChangeBehaviour(control, page, QEvent::FocusIn, std::move(action));
}

void AttachExit(QWidget* control, QObject* page, std::function<void()> action) {
    new FocusChangeBehaviour(control, page, QEvent::FocusOut, std::move(action));
}

void AttachDecimalFilter(QLineEdit* edit) {
    AttachKeyFilter(edit, DecimalKeyFilter);
}

void AttachYearFilter(QLineEdit* edit) {
    AttachKeyFilter(edit, YearKeyFilter);
}

void AttachComboEnter(QComboBox* combo) {
    AttachKeyDown(combo, combo, [](QWidget* sender, int key) {
        if (IsEnterKey(key))
            SelectNext(sender, true);
    });
}

void AttachEnterOpens(QWidget* field, QComboBox* next) {
    QPointer<QComboBox> list = next;
    auto open = [list] {
        if (list && list->isEnabled())
            list->showPopup();
    };
    if (qobject_cast<QComboBox*>(field)) {
        AttachKeyDown(field, field, [open](QWidget* sender, int key) {
            if (!IsEnterKey(key))
                return;
            SelectNext(sender, true);
            open();
        });
    } else {
        AttachKeyDown(field, field, [open](QWidget* sender, int key) {
            NavigationKey(sender, key);
            if (IsEnterKey(key))
                open();
        });
    }
}
