#pragma once

#include <QChar>
#include <functional>

class QComboBox;
class QLineEdit;
class QObject;
class QWidget;
class TMaskEdit;

// Data entry in the main window from the keyboard: the focused field is coloured, Enter and Down
// move to the next field and Up to the previous one, some fields open the list of the combo box
// that comes next, and number and year fields take only the characters that make sense in them.

// Focus enters a control. Edits, masked edits, combo boxes and memos: SavedColor := background,
// background := FocusColor. Buttons, check boxes, radio buttons: SavedColor := font colour, font
// colour := maroon (128). Mode 2 on a masked edit also selects one character from the caret on.
void HighlightControlEnter(QWidget* sender, int mode);
// Focus leaves a control: its background or font colour := SavedColor, and its area is repainted.
void HighlightControlExit(QWidget* sender);

// Enter or Down moves the focus to the next tab stop of the window, Up to the previous one,
// wrapping round; other keys do nothing. Key is a Qt key code (Qt::Key_Return, Qt::Key_Enter,
// Qt::Key_Down, Qt::Key_Up); 13, the Enter of the system key codes, is taken too. The raw codes
// 38 and 40 are not: in Qt they are '&' and '('.
void NavigationKey(QWidget* sender, int key);

// Key filters. Key is the typed character; the answer is the character to insert, or a null
// QChar when it is dropped (with the beep). Backspace is '\b'.
// Decimal number: digits, '-', ',', '.' and backspace pass. '.' and ',' remove every comma from
// the text, move the caret left for each comma removed before it, drop a selection, and become ','.
QChar DecimalKeyFilter(QLineEdit* edit, QChar key);
// Year: digits and backspace pass.
QChar YearKeyFilter(QLineEdit* edit, QChar key);

// The beep of a dropped character (the platform's Beep() by default). Answers the previous one;
// tests put a counter in.
using KeyBeepFunction = std::function<void()>;
KeyBeepFunction SetKeyBeep(KeyBeepFunction beep);

// Attachers. Each behaviour is an event filter owned by the control. A control has one highlight,
// one key-down and one key filter behaviour; attaching another of the same kind replaces it.
// Key-down behaviours see a key before the key filter and never consume it. A behaviour does
// nothing while its control is being destroyed, and a handler given with its page (the object
// whose members it calls) does nothing once that page is being destroyed or gone.

// Enter/exit colouring with HighlightControlEnter(mode) and HighlightControlExit only.
void AttachHighlight(QWidget* control, int mode = 1);
// A field of the focus-colour column: colouring (mode 1) and, unless the control already has a
// key-down behaviour, NavigationKey on key down.
void AttachFocusColour(QWidget* control);
// A date mask: colouring with mode 2 and, unless already given one, NavigationKey on key down.
void AttachDateMask(TMaskEdit* edit);
// Navigation only, no colour (the read-only id fields).
void AttachNavigation(QWidget* control);
// A key-down handler that calls into page; it gets the control and the Qt key code. On a combo box
// it also gets Enter typed in the open list, after the list has taken its item and closed.
void AttachKeyDown(QWidget* control, QObject* page, std::function<void(QWidget* sender, int key)> handler);
// Enter and exit handlers that call into page (for instance a combo box recomputing its id label).
// The focus moving to the control's own list or to another window, and coming back from them, is
// no enter or exit. The action runs through the handler guard.
void AttachEnter(QWidget* control, QObject* page, std::function<void()> action);
void AttachExit(QWidget* control, QObject* page, std::function<void()> action);
// Key filters on typed characters.
void AttachDecimalFilter(QLineEdit* edit);
void AttachYearFilter(QLineEdit* edit);
// One-line fields. Every edit that an attacher above is given (masked edits aside, whose mask
// takes digits only) gets a guard: a line break, NUL or other control character other than Tab
// never enters it, whether typed, pasted, dropped or set by the program; in a decimal or year field
// pasted text goes through the key filter character by character, as if typed; and when the
// program (or Enter, Up, Down, Tab) moves the focus into the field, its text is selected, so
// typing replaces it. Attaching the guard twice keeps one.
void AttachLineGuard(QLineEdit* edit);
// True when the edit has its guard.
bool HasLineGuard(const QLineEdit* edit);
// A combo box: Enter moves the focus on; all other keys, the arrows too, are left to it.
void AttachComboEnter(QComboBox* combo);

// Enter in a field opens the list of `next`, the combo box that the focus reaches next; every key
// also goes to NavigationKey (eAutaSPZ, eAutaNadspotreba, eCPHMdatum, eJazdyPrichod,
// chbJazdyNadspotreba, ePocStavRok). On a combo box field (cbAutaDruh) only Enter counts: the
// focus moves on, then the list opens. Either way the focus ends in `next` with its list open;
// the list is opened once the focus has arrived, because a list opened first would take the
// focus-out of the field being left and keep its colour.
void AttachEnterOpens(QWidget* field, QComboBox* next);
