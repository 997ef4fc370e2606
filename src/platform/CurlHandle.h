#pragma once

#include <curl/curl.h>
#include <memory>

using CurlHandle = std::unique_ptr<CURL, decltype(&curl_easy_cleanup)>;

// Time bounds of one transfer, so that a dead or silent server cannot hold the window for ever.
struct TransferBounds {
    long connectTimeoutMs; // to establish the connection
    long lowSpeedBytes;    // a transfer slower than this many bytes per second ...
    long lowSpeedSeconds;  // ... for this long is given up
    long totalSeconds = 0; // whole transfer; 0 for no bound
};

// A new transfer handle on the calling thread (null when the library cannot make one), with the
// library set up once and the bounds applied.
CurlHandle NewCurlHandle(const TransferBounds& bounds);
