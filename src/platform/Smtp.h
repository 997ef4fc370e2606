#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include "TransferBounds.h"

// Sends one mail through the SMTP server "host" or "host:port" (port 25 when none is given):
// the envelope goes from sender to recipient, the lines are the whole message, each sent as it is
// and ended by CR LF. Logs in with user and password when the server offers a login, and upgrades
// the connection to TLS when the server offers it. The whole exchange, closing the connection
// included, ends within the send's time bound. True when the server accepted the mail; false on any
// failure of connection, login or transfer.
bool SmtpSend(const QString& sender, const QString& recipient, const QString& server,
              const QList<QByteArray>& lines, const QString& user, const QString& password);

// The address SmtpSend connects to for Server: "smtp://host:port", port 25 when Server names none.
QByteArray SmtpUrl(const QString& server);

// Replaces the bounds of a send (tests shorten them). Returns the previous ones.
TransferBounds SetSmtpBounds(const TransferBounds& bounds);
