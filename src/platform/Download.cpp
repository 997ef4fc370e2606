#include "Download.h"

#include "AtomicFile.h"
#include "CurlHandle.h"

#include <QTemporaryFile>
#include <exception>
#include <memory>

namespace {
DownloadLimits& Limits() {
    static DownloadLimits limits;
    return limits;
}

bool Fail(QString* error, const QString& reason) {
    if (error)
        *error = reason;
    return false;
}

struct Transfer {
    QTemporaryFile* file = nullptr;
    bool writeFailed = false;
    const DownloadProgress* progress = nullptr;
    std::exception_ptr raised;
};

size_t WriteBody(char* data, size_t size, size_t count, void* user) {
    auto* transfer = static_cast<Transfer*>(user);
    const qint64 bytes = qint64(size * count);
    if (transfer->file->write(data, bytes) != bytes) {
        transfer->writeFailed = true;
        return 0; // stops the transfer
    }
    return size_t(bytes);
}

int OnProgress(void* user, curl_off_t total, curl_off_t done, curl_off_t, curl_off_t) {
    auto* transfer = static_cast<Transfer*>(user);
    try {
        (*transfer->progress)(uint64_t(done < 0 ? 0 : done), uint64_t(total < 0 ? 0 : total));
    } catch (...) {
        transfer->raised = std::current_exception(); // never through the library's frames
        return 1;
    }
    return 0;
}

bool IsHttps(const QString& url) {
    return url.startsWith(QStringLiteral("https://"), Qt::CaseInsensitive);
}
} // namespace

DownloadLimits SetDownloadLimits(const DownloadLimits& limits) {
    const DownloadLimits previous = Limits();
    Limits() = limits;
    return previous;
}

bool DownloadToFile(const QString& url, const QString& fileName, const DownloadProgress& progress,
                    QString* error) {
    QTemporaryFile temp;
    if (!OpenTemporaryFileFor(fileName, temp, error))
        return false;

    const DownloadLimits& limits = Limits();
    const CurlHandle curl = NewCurlHandle({limits.connectTimeoutMs, limits.lowSpeedBytes,
                                           limits.lowSpeedSeconds, progress ? 0 : limits.plainFetchSeconds});
    if (!curl)
        return Fail(error, QStringLiteral("libcurl cannot start a transfer"));

    Transfer transfer{&temp, false, &progress, nullptr};
    const QByteArray address = url.toUtf8();
    char reason[CURL_ERROR_SIZE] = {};
    CURL* h = curl.get();
    curl_easy_setopt(h, CURLOPT_URL, address.constData());
    curl_easy_setopt(h, CURLOPT_ERRORBUFFER, reason);
    curl_easy_setopt(h, CURLOPT_PROTOCOLS_STR, "http,https");
    // A redirect never leaves https for plain http.
    curl_easy_setopt(h, CURLOPT_REDIR_PROTOCOLS_STR, IsHttps(url) ? "https" : "http,https");
    curl_easy_setopt(h, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(h, CURLOPT_MAXREDIRS, 5L);
    curl_easy_setopt(h, CURLOPT_FAILONERROR, 1L);
    curl_easy_setopt(h, CURLOPT_USERAGENT, "Vozopis");
    curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, &WriteBody);
    curl_easy_setopt(h, CURLOPT_WRITEDATA, &transfer);
    if (progress) {
        curl_easy_setopt(h, CURLOPT_NOPROGRESS, 0L);
        curl_easy_setopt(h, CURLOPT_XFERINFOFUNCTION, &OnProgress);
        curl_easy_setopt(h, CURLOPT_XFERINFODATA, &transfer);
    }

    const CURLcode code = curl_easy_perform(h);
    if (transfer.raised)
        std::rethrow_exception(transfer.raised); // the temporary file goes with `temp`
    if (transfer.writeFailed)
        return Fail(error, temp.errorString());
    if (code != CURLE_OK)
        return Fail(error, QString::fromUtf8(reason[0] ? reason : curl_easy_strerror(code)));
    long status = 0;
    curl_easy_getinfo(h, CURLINFO_RESPONSE_CODE, &status);
    if (status < 200 || status > 299)
        return Fail(error, QStringLiteral("HTTP status %1").arg(status));
    return CommitTemporaryFile(temp, fileName, error);
}
