#pragma once

#include <QLineEdit>
#include <QString>

// A masked edit for dates and date-times. The edit mask has three fields separated by ';': the
// mask ("!99.99.9999" or "!99.99.9999 99:99"; a leading '!' is accepted and ignored), whether
// literals are kept (always "1" here) and the character shown in an empty position ("_").
// A '9' takes one digit or stays empty; every other mask character is a fixed literal. Typing
// overwrites the position under the caret and skips the literals. A typed or pasted text that
// brings no digit (a letter, a line break) changes nothing: the digit under the caret stays.
//
// Read and set the text through Text() and SetText(): QLineEdit::text() drops the empty
// positions, and QLineEdit::setText() takes a blank for a jump to the next literal blank.
class TMaskEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit TMaskEdit(const QString& editMask, QWidget* parent = nullptr);

    QString EditMask() const { return editMask_; }

    // The text position by position: literals kept, every empty position a blank
    // (an empty date reads "  .  .    ").
    QString Text() const;
    // Sets the text position by position: a digit fills a '9' position, anything else (a blank,
    // '_', a missing character of a shorter text) leaves it empty. "" empties the edit.
    void SetText(const QString& text);

    // Caret and selection in characters from 0.
    int SelStart() const;
    void SetSelStart(int start); // moves the caret, dropping a selection
    int SelLength() const;
    void SetSelLength(int length); // selects from SelStart() on

    // Pastes text as typed: its digits and the mask's literals, blanks around it dropped; nothing
    // when it holds no digit.
    void PasteText(const QString& text);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    bool IsLiteral(QChar c) const;
    bool IsDigitPosition(int i) const { return i < mask_.size() && mask_[i] == '9'; }

    QString editMask_;
    QString mask_; // the mask field without '!'
    QChar blank_ = '_';
};
