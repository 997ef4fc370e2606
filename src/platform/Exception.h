#pragma once

#include <QByteArray>
#include <QString>
#include <exception>

// Base of the program's own exceptions: a message that the error box shows as it stands.
class Exception : public std::exception {
public:
    explicit Exception(const QString& message);
    const QString& Message() const { return message_; }
    const char* what() const noexcept override { return utf8_.constData(); }

private:
    QString message_;
    QByteArray utf8_;
};

// A text that cannot be converted to a number.
class EConvertError : public Exception {
public:
    using Exception::Exception;
};

// A file that cannot be created, written or renamed into place.
class EFileError : public Exception {
public:
    using Exception::Exception;
};

// The text an error box shows for any exception: its message, plus a full stop when the
// last character sorts after '.'.
QString ExceptionBoxText(const QString& message);
