#include "Smtp.h"

#include <chrono>
#include <condition_variable>
#include <cstring>
#include <memory>
#include <mutex>
#include <set>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

#include "CurlHandle.h"

namespace {
// Ends the connection when the send's time is up. The library waits for the reply to QUIT while it
// closes the connection, outside its own time limit; a socket shut down underneath it ends that
// wait at once. The sockets are closed here as well, so that none is shut down after its number was
// given to another file.
class SocketDeadline {
public:
    explicit SocketDeadline(std::chrono::seconds bound) : watch_([this, bound] { Watch(bound); }) {}
    ~SocketDeadline() {
        {
            const std::lock_guard lock(mutex_);
            ended_ = true;
        }
        changed_.notify_one();
        watch_.join();
    }
    SocketDeadline(const SocketDeadline&) = delete;
    SocketDeadline& operator=(const SocketDeadline&) = delete;

    // The library's socket callbacks, with the deadline as their data.
    static int Opened(void* self, curl_socket_t socket, curlsocktype) {
        auto* deadline = static_cast<SocketDeadline*>(self);
        const std::lock_guard lock(deadline->mutex_);
        if (deadline->expired_)
            return CURL_SOCKOPT_ERROR;
        deadline->sockets_.insert(socket);
        return CURL_SOCKOPT_OK;
    }
    static int Close(void* self, curl_socket_t socket) {
        auto* deadline = static_cast<SocketDeadline*>(self);
        const std::lock_guard lock(deadline->mutex_);
        deadline->sockets_.erase(socket);
        return ::close(socket);
    }

private:
    void Watch(std::chrono::seconds bound) {
        std::unique_lock lock(mutex_);
        if (changed_.wait_for(lock, bound, [this] { return ended_; }))
            return;
        expired_ = true;
        for (const curl_socket_t socket : sockets_)
            ::shutdown(socket, SHUT_RDWR);
    }

    std::mutex mutex_;
    std::condition_variable changed_;
    bool ended_ = false;
    bool expired_ = false;
    std::set<curl_socket_t> sockets_;
    std::thread watch_; // last: it starts once the rest is set up
};

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

QByteArray Bracketed(const QString& address) {
    return "<" + address.toUtf8() + ">";
}

// "smtp://host:port", port 25 when Server names none.
QByteArray SmtpUrl(const QString& server) {
    QString host = server.trimmed();
    QString port = QStringLiteral("25");
    const qsizetype colon = host.lastIndexOf(':');
    if (colon >= 0) {
        port = host.mid(colon + 1);
        host = host.left(colon);
    }
    return ("smtp://" + host + ":" + port).toUtf8();
}

} // namespace

TMailOutcome SmtpSend(const TMailRequest& request) {
    TMailOutcome outcome{false, SmtpUrl(request.server)};
    // Declared before the handle, so that it still watches while the handle closes the connection.
    SocketDeadline deadline{std::chrono::seconds(request.bounds.totalSeconds)};
    const CurlHandle curl = NewCurlHandle(request.bounds);
    if (!curl)
        return outcome;

    Payload payload;
    for (const QByteArray& line : request.lines)
        payload.data += line + "\r\n";

    const QByteArray from = Bracketed(request.sender);
    const QByteArray to = Bracketed(request.recipient);
    const QByteArray userBytes = request.user.toUtf8();
    const QByteArray passwordBytes = request.password.toUtf8();
    std::unique_ptr<curl_slist, decltype(&curl_slist_free_all)> recipients(
        curl_slist_append(nullptr, to.constData()), &curl_slist_free_all);

    CURL* c = curl.get();
    // A send with an option missing is not made (no reader would read the standard input).
    const bool set =
        SetCurlOption(c, CURLOPT_URL, outcome.url.constData()) &&
        SetCurlOption(c, CURLOPT_MAIL_FROM, from.constData()) &&
        SetCurlOption(c, CURLOPT_MAIL_RCPT, recipients.get()) &&
        (request.user.isEmpty() || (SetCurlOption(c, CURLOPT_USERNAME, userBytes.constData()) &&
                                    SetCurlOption(c, CURLOPT_PASSWORD, passwordBytes.constData()))) &&
        // A login and the mail after it go only over TLS; a server that offers none gets neither.
        SetCurlOption(c, CURLOPT_USE_SSL, long(request.user.isEmpty() ? CURLUSESSL_TRY : CURLUSESSL_ALL)) &&
        SetCurlOption(c, CURLOPT_UPLOAD, 1L) && SetCurlOption(c, CURLOPT_READFUNCTION, &ReadPayload) &&
        SetCurlOption(c, CURLOPT_READDATA, &payload) &&
        SetCurlOption(c, CURLOPT_INFILESIZE_LARGE, curl_off_t(payload.data.size())) &&
        SetCurlOption(c, CURLOPT_SOCKOPTFUNCTION, &SocketDeadline::Opened) &&
        SetCurlOption(c, CURLOPT_SOCKOPTDATA, &deadline) &&
        SetCurlOption(c, CURLOPT_CLOSESOCKETFUNCTION, &SocketDeadline::Close) &&
        SetCurlOption(c, CURLOPT_CLOSESOCKETDATA, &deadline);
    outcome.accepted = set && curl_easy_perform(c) == CURLE_OK;
    return outcome;
}
