#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// The whole content of a regular file (or of a link to one) of at most maxBytes bytes. A missing or
// unreadable file, a FIFO, device, socket or folder, and a larger file give nothing. Never waits
// for a writer.
std::optional<QByteArray> ReadBoundedFile(const QString& path, qint64 maxBytes);
