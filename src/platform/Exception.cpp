#include "Exception.h"

Exception::Exception(const QString& message) : message_(message), utf8_(message.toUtf8()) {}

QString ExceptionBoxText(const QString& message) {
    if (!message.isEmpty() && message.back() > QChar('.'))
        return message + '.';
    return message;
}
