#include "Smtp.h"

#include <cstring>
#include <memory>

#include "CurlHandle.h"

namespace {
// A time bound for every stage: connecting, a stalled exchange, the whole send.
constexpr TransferBounds kSendBounds{15000, 1, 20, 60};

struct Payload {
    QByteArray data;
    qsizetype sent = 0;
};

size_t ReadPayload(char* buffer, size_t size, size_t count, void* userData) {
    auto* payload = static_cast<Payload*>(userData);
    const size_t room = size * count;
    const size_t left = size_t(payload->data.size() - payload->sent);
    const size_t n = left < room ? left : room;
    memcpy(buffer, payload->data.constData() + payload->sent, n);
    payload->sent += qsizetype(n);
    return n;
}

// "host" or "host:port" as an smtp:// address, port 25 by default.
QByteArray ServerUrl(const QString& server) {
    QString host = server.trimmed();
    QString port = QStringLiteral("25");
    const qsizetype colon = host.lastIndexOf(':');
    if (colon >= 0) {
        port = host.mid(colon + 1);
        host = host.left(colon);
    }
    return ("smtp://" + host + ":" + port).toUtf8();
}

QByteArray Bracketed(const QString& address) {
    return "<" + address.toUtf8() + ">";
}
} // namespace

bool SmtpSend(const QString& sender, const QString& recipient, const QString& server,
              const QList<QByteArray>& lines, const QString& user, const QString& password) {
    const CurlHandle curl = NewCurlHandle(kSendBounds);
    if (!curl)
        return false;

    Payload payload;
    for (const QByteArray& line : lines)
        payload.data += line + "\r\n";

    const QByteArray url = ServerUrl(server);
    const QByteArray from = Bracketed(sender);
    const QByteArray to = Bracketed(recipient);
    const QByteArray userBytes = user.toUtf8();
    const QByteArray passwordBytes = password.toUtf8();
    std::unique_ptr<curl_slist, decltype(&curl_slist_free_all)> recipients(
        curl_slist_append(nullptr, to.constData()), &curl_slist_free_all);

    CURL* c = curl.get();
    // A send with an option missing is not made (no reader would read the standard input).
    const bool set = SetCurlOption(c, CURLOPT_URL, url.constData()) &&
                     SetCurlOption(c, CURLOPT_MAIL_FROM, from.constData()) &&
                     SetCurlOption(c, CURLOPT_MAIL_RCPT, recipients.get()) &&
                     (user.isEmpty() || (SetCurlOption(c, CURLOPT_USERNAME, userBytes.constData()) &&
                                         SetCurlOption(c, CURLOPT_PASSWORD, passwordBytes.constData()))) &&
                     SetCurlOption(c, CURLOPT_USE_SSL, long(CURLUSESSL_TRY)) &&
                     SetCurlOption(c, CURLOPT_UPLOAD, 1L) &&
                     SetCurlOption(c, CURLOPT_READFUNCTION, &ReadPayload) &&
                     SetCurlOption(c, CURLOPT_READDATA, &payload) &&
                     SetCurlOption(c, CURLOPT_INFILESIZE_LARGE, curl_off_t(payload.data.size()));
    if (!set)
        return false;

    return curl_easy_perform(c) == CURLE_OK;
}
