#pragma once

#include <QByteArray>
#include <curl/curl.h>
#include <memory>

#include "TransferBounds.h"

using CurlHandle = std::unique_ptr<CURL, decltype(&curl_easy_cleanup)>;

// A new transfer handle on the calling thread, with the library set up once, the bounds applied and
// the trusted certificates set; null when the library cannot make one or refuses an option.
CurlHandle NewCurlHandle(const TransferBounds& bounds);

// Trusts the certificates in File instead of the system's in every new handle (tests serve TLS
// themselves); empty for the system's.
void SetCurlCaFile(const QByteArray& file);

// Sets one option of a transfer; false when the library refuses it (an older library lacks it), so
// that a transfer whose safety rests on the option is not run without it.
template <typename T> bool SetCurlOption(CURL* handle, CURLoption option, T value);

// Makes SetCurlOption refuse Option, as an older library would (tests); CURLoption(0) refuses none.
// Returns the previous one.
CURLoption RefuseCurlOption(CURLoption option);

namespace curl_detail {
bool Refused(CURLoption option);
}

template <typename T> bool SetCurlOption(CURL* handle, CURLoption option, T value) {
    return !curl_detail::Refused(option) && curl_easy_setopt(handle, option, value) == CURLE_OK;
}
