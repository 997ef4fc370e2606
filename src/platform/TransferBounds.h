#pragma once

// Time bounds of one transfer, so that a dead or silent server cannot hold the window for ever.
struct TransferBounds {
    long connectTimeoutMs; // to establish the connection
    long lowSpeedBytes;    // a transfer slower than this many bytes per second ...
    long lowSpeedSeconds;  // ... for this long is given up
    long totalSeconds;     // the whole transfer
};
