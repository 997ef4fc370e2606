#pragma once

#include <QByteArray>
#include <QString>

// Writes Data as the whole content of FileName: the bytes go to a temporary file in the same
// folder, are flushed and synced, and only then renamed over the old file. On any failure the
// temporary file is removed, the old file stays as it was and the result is false (with the
// system's reason in Error when given). Created, when given, tells whether the temporary file
// could be made at all (false: the folder is missing or not writable, or the file is read-only).
bool WriteFileAtomically(const QString& fileName, const QByteArray& data, QString* error = nullptr,
                         bool* created = nullptr);
