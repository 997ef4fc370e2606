#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include "TransferBounds.h"

// The bounds of a send: connecting, a stalled exchange, the whole send with closing the connection.
inline constexpr TransferBounds MailBounds{15000, 1, 20, 60};

// One mail and the server that takes it.
struct TMailRequest {
    QString sender;          // the envelope's sender ...
    QString recipient;       // ... and recipient
    QString server;          // "host" or "host:port", port 25 when none is given
    QList<QByteArray> lines; // the whole message, each line sent as it is and ended by CR LF
    QString user;            // the login, none when empty
    QString password;
    TransferBounds bounds = MailBounds;
};

struct TMailOutcome {
    bool accepted = false; // the server accepted the mail
    QByteArray url;        // the address connected to, "smtp://host:port"
};

// Sends one mail. With a user it logs in, and only over TLS: a server that offers no STARTTLS, or
// whose certificate is not trusted, receives neither the login nor the mail. Without a user the
// connection is upgraded to TLS when the server offers it. The whole exchange, closing the
// connection included, ends within the request's time bound. Accepted when the server accepted the
// mail; not on any failure of connection, login or transfer.
TMailOutcome SmtpSend(const TMailRequest& request);
