#pragma once

#include <QString>
#include <cstdint>
#include <functional>

// Bytes received so far and the total size (0 while the server has not told it).
using DownloadProgress = std::function<void(uint64_t done, uint64_t total)>;

// The bounds of every transfer, so that a dead or stalled server ends in a failure.
struct DownloadLimits {
    long connectTimeoutMs = 15000; // to establish the connection
    long lowSpeedBytes = 1;        // a transfer slower than this many bytes per second ...
    long lowSpeedSeconds = 30;     // ... for this long is given up
    long plainFetchSeconds = 120;  // whole time of a fetch without progress (the window cannot repaint)
};

// Copies one http(s) address into FileName on the calling thread. The bytes go to a temporary
// file in the same folder, which is renamed over FileName only when the transfer is complete and
// the server answered with success; any failure (no connection, an HTTP error status, a time-out,
// a full disk) leaves FileName as it was, removes the temporary file and answers false with the
// reason in Error. Progress, when given, is called on every step of the transfer; an exception
// it raises stops the transfer and is raised again here.
bool DownloadToFile(const QString& url, const QString& fileName, const DownloadProgress& progress = {},
                    QString* error = nullptr);

// Replaces the bounds (tests shorten them). Returns the previous ones.
DownloadLimits SetDownloadLimits(const DownloadLimits& limits);
