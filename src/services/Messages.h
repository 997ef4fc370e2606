#pragma once

#include <QString>
#include <QStringList>

// The support window's translatable messages, entries 0 to 20, each stored between '%' marks
// as the language files hold them (an empty entry is the empty text).
extern QStringList MessageTable;

// Fills entries 0 to 20 with the built-in Slovak texts (the start-up sizes the table first).
void InitDefaultMessages();
// Removes one leading '%' and then one trailing '%'.
QString StripPercentMarks(const QString& text);
// The entry without its marks; an index outside the table gives an English notice instead.
QString GetMsg(int index);

// A modal message box; returns the button pressed (1 OK, 6 Yes, 7 No).
int ShowMessageBox(const QString& text, const QString& caption, int flags);
// The same, captioned with the program title.
int ShowAppMessageBox(const QString& text, int flags);
void ShowError(const QString& text, const QString& caption);
void ShowAppError(const QString& text);
// The standard error box for an unexpected error with a code such as "#00001".
void ShowErrorCode(const QString& code, const QString& text, const QString& caption);

// Where a text holds a character that Windows-1250 cannot hold: its position and its length (a
// surrogate pair is one character); size 0 when the whole text can be stored.
struct TTextSpan {
    int at = -1;
    int size = 0;
    explicit operator bool() const { return size > 0; }
};
// How such a character is refused: the box says that Holder (in Field, when there is one) holds the
// character, which cannot be Verb ("uložiť", saved, or "odoslať", sent), followed by Consequence.
struct TCharRefusal {
    QString holder; // "Pole \"Meno\"", "Zákazník s ID \"7\" v programe \"…\""
    QString field;
    QString verb;
    QString consequence;
    int flags = 0; // the box's icon
};
// Refuses the first such character of Text with the refusal's box, captioned with the program title,
// and answers where it stands; answers an empty span, showing nothing, for a storable text.
TTextSpan RefuseUnstorableChar(const QString& text, const TCharRefusal& refusal);
// The same with a warning naming the field by Caption and asking for another character.
TTextSpan RefuseUnstorableChar(const QString& text, const QString& caption,
                               const QString& verb = QStringLiteral("uložiť"));
