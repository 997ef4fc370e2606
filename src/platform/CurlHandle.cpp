#include "CurlHandle.h"

CurlHandle NewCurlHandle(const TransferBounds& bounds) {
    static const bool initialised = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
    (void)initialised;
    CurlHandle handle(curl_easy_init(), &curl_easy_cleanup);
    if (CURL* h = handle.get()) {
        curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
        curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT_MS, bounds.connectTimeoutMs);
        curl_easy_setopt(h, CURLOPT_LOW_SPEED_LIMIT, bounds.lowSpeedBytes);
        curl_easy_setopt(h, CURLOPT_LOW_SPEED_TIME, bounds.lowSpeedSeconds);
        if (bounds.totalSeconds > 0)
            curl_easy_setopt(h, CURLOPT_TIMEOUT, bounds.totalSeconds);
    }
    return handle;
}
