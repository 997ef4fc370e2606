#include "CurlHandle.h"

namespace {
CURLoption& RefusedOption() {
    static CURLoption option = CURLoption(0);
    return option;
}

QByteArray& CaFile() {
    static QByteArray file;
    return file;
}
} // namespace

bool curl_detail::Refused(CURLoption option) {
    return option == RefusedOption();
}

CURLoption RefuseCurlOption(CURLoption option) {
    const CURLoption previous = RefusedOption();
    RefusedOption() = option;
    return previous;
}

void SetCurlCaFile(const QByteArray& file) {
    CaFile() = file;
}

CurlHandle NewCurlHandle(const TransferBounds& bounds) {
    static const bool initialised = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
    (void)initialised;
    CurlHandle handle(curl_easy_init(), &curl_easy_cleanup);
    CURL* h = handle.get();
    if (h && !(SetCurlOption(h, CURLOPT_NOSIGNAL, 1L) &&
               SetCurlOption(h, CURLOPT_CONNECTTIMEOUT_MS, bounds.connectTimeoutMs) &&
               SetCurlOption(h, CURLOPT_LOW_SPEED_LIMIT, bounds.lowSpeedBytes) &&
               SetCurlOption(h, CURLOPT_LOW_SPEED_TIME, bounds.lowSpeedSeconds) &&
               SetCurlOption(h, CURLOPT_TIMEOUT, bounds.totalSeconds) &&
               (CaFile().isEmpty() || SetCurlOption(h, CURLOPT_CAINFO, CaFile().constData()))))
        handle.reset();
    return handle;
}
