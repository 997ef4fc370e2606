#pragma once

#include <QString>
#include <QtGlobal>
#include <cstdint>
#include <functional>

#include "BoundedFile.h"
#include "Exception.h"

// Bytes received so far and the total size (0 while the server has not told it).
using DownloadProgress = std::function<void(uint64_t done, uint64_t total)>;

// What is fetched: a text file (an index, version notes) or a program (the updater).
enum class DownloadKind { Text, Program };

// The bounds of every transfer, so that a dead, trickling or endless server ends in a failure.
struct DownloadLimits {
    long connectTimeoutMs = 15000; // to establish the connection
    long lowSpeedBytes = 1024;     // a transfer slower than this many bytes per second ...
    long lowSpeedSeconds = 30;     // ... for this long is given up
    qint64 textBytes = 1 << 20;    // size of a text file
    long textSeconds = 120;        // whole time of a text file (fetched while the window cannot repaint)
    qint64 programBytes = MaxProgramFileBytes;
    long programSeconds = 3600;
};

// Copies one http(s) address into FileName on the calling thread, within the bounds of its kind.
// The bytes go to a temporary file in the same folder, which is renamed over FileName only when the
// transfer is complete and the server answered with success; any failure (no connection, an HTTP
// error status, a bound passed, a full disk) leaves FileName as it was, removes the temporary file
// and answers false with the reason in Error. Progress, when given, is called on every step of the
// transfer; an exception it raises stops the transfer and is raised again here.
bool DownloadToFile(const QString& url, const QString& fileName, DownloadKind kind = DownloadKind::Text,
                    const DownloadProgress& progress = {}, QString* error = nullptr);

// Raised by DownloadToFile when StopTransfers ended its transfer; an ordinary error to the guards.
class TransferStopped : public Exception {
public:
    TransferStopped();
};

// Ends the transfers that run now (the program is closing): each stops at its next step, leaves
// nothing behind and raises TransferStopped. Without a running transfer it does nothing.
void StopTransfers();

// Replaces the bounds (tests shorten them). Returns the previous ones.
DownloadLimits SetDownloadLimits(const DownloadLimits& limits);
// Trusts the certificates in File instead of the system's, in the downloads and the mail send alike
// (tests serve TLS themselves); an empty name restores the system's.
void SetDownloadCaFile(const QString& file);
