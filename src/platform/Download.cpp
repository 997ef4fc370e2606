#include "Download.h"

#include "AtomicFile.h"
#include "CurlHandle.h"

#include <QTemporaryFile>
#include <exception>

namespace {
DownloadLimits& Limits() {
    static DownloadLimits limits;
    return limits;
}

// The transfers under way, and whether they are to stop.
struct Running {
    Running() { ++count(); }
    ~Running() {
        if (--count() == 0)
            stop() = false;
    }
    static int& count() {
        static int n = 0;
        return n;
    }
    static bool& stop() {
        static bool requested = false;
        return requested;
    }
};

bool Fail(QString* error, const QString& reason) {
    if (error)
        *error = reason;
    return false;
}

struct Transfer {
    QTemporaryFile* file = nullptr;
    qint64 maxBytes = 0;
    const DownloadProgress* progress = nullptr;
    qint64 written = 0;
    bool writeFailed = false;
    bool tooLarge = false;
    std::exception_ptr raised;
};

size_t WriteBody(char* data, size_t size, size_t count, void* user) {
    auto* transfer = static_cast<Transfer*>(user);
    const qint64 bytes = qint64(size * count);
    transfer->written += bytes;
    if (transfer->written > transfer->maxBytes) {
        transfer->tooLarge = true;
        return 0; // stops the transfer
    }
    if (transfer->file->write(data, bytes) != bytes) {
        transfer->writeFailed = true;
        return 0;
    }
    return size_t(bytes);
}

int OnProgress(void* user, curl_off_t total, curl_off_t done, curl_off_t, curl_off_t) {
    auto* transfer = static_cast<Transfer*>(user);
    try {
        if (*transfer->progress)
            (*transfer->progress)(uint64_t(done < 0 ? 0 : done), uint64_t(total < 0 ? 0 : total));
        if (Running::stop())
            throw TransferStopped();
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

void SetDownloadCaFile(const QString& file) {
    SetCurlCaFile(QFile::encodeName(file));
}

TransferStopped::TransferStopped() : Exception(QStringLiteral("Sťahovanie bolo prerušené")) {}

void StopTransfers() {
    Running::stop() = Running::count() > 0;
}

bool DownloadToFile(const QString& url, const QString& fileName, DownloadKind kind,
                    const DownloadProgress& progress, QString* error) {
    const Running running;
    QTemporaryFile temp;
    if (!OpenTemporaryFileFor(fileName, temp, error))
        return false;

    const DownloadLimits& limits = Limits();
    const bool program = kind == DownloadKind::Program;
    const CurlHandle curl =
        NewCurlHandle({limits.connectTimeoutMs, limits.lowSpeedBytes, limits.lowSpeedSeconds,
                       program ? limits.programSeconds : limits.textSeconds});
    if (!curl)
        return Fail(error, QStringLiteral("libcurl cannot start a bounded transfer"));

    Transfer transfer{&temp,  program ? limits.programBytes : limits.textBytes, &progress, 0, false, false,
                      nullptr};
    const QByteArray address = url.toUtf8();
    char reason[CURL_ERROR_SIZE] = {};
    CURL* h = curl.get();
    // Every option guards the transfer: none may be missing.
    const bool set =
        SetCurlOption(h, CURLOPT_URL, address.constData()) && SetCurlOption(h, CURLOPT_ERRORBUFFER, reason) &&
        SetCurlOption(h, CURLOPT_PROTOCOLS_STR, "http,https") &&
        // A redirect never leaves https for plain http.
        SetCurlOption(h, CURLOPT_REDIR_PROTOCOLS_STR, IsHttps(url) ? "https" : "http,https") &&
        SetCurlOption(h, CURLOPT_FOLLOWLOCATION, 1L) && SetCurlOption(h, CURLOPT_MAXREDIRS, 5L) &&
        SetCurlOption(h, CURLOPT_FAILONERROR, 1L) && SetCurlOption(h, CURLOPT_USERAGENT, "Vozopis") &&
        SetCurlOption(h, CURLOPT_WRITEFUNCTION, &WriteBody) &&
        SetCurlOption(h, CURLOPT_WRITEDATA, &transfer) && SetCurlOption(h, CURLOPT_NOPROGRESS, 0L) &&
        SetCurlOption(h, CURLOPT_XFERINFOFUNCTION, &OnProgress) &&
        SetCurlOption(h, CURLOPT_XFERINFODATA, &transfer);
    if (!set)
        return Fail(error, QStringLiteral("libcurl refused a transfer option"));

    const CURLcode code = curl_easy_perform(h);
    if (transfer.raised)
        std::rethrow_exception(transfer.raised); // the temporary file goes with `temp`
    if (transfer.tooLarge)
        return Fail(error, QStringLiteral("the file is larger than %1 bytes").arg(transfer.maxBytes));
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
