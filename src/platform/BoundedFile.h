#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <functional>
#include <optional>

// The largest program file a reader takes whole or scans, the same as the largest program a download
// takes.
inline constexpr qint64 MaxProgramFileBytes = qint64(256) << 20;

// The whole content of a regular file (or of a link to one) of at most maxBytes bytes. A missing or
// unreadable file, a FIFO, device, socket or folder, and a larger file give nothing. Never waits
// for a writer.
std::optional<QByteArray> ReadBoundedFile(const QString& path, qint64 maxBytes);

// The same file handed to Chunk piece by piece, in order, until its end or until Chunk answers
// false, so that memory stays small whatever the file's size. False when the file was refused or a
// read failed (the pieces handed over so far are then not the whole file).
bool ScanBoundedFile(const QString& path, qint64 maxBytes, const std::function<bool(QByteArrayView)>& chunk);
