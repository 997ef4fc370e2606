#pragma once

#include <QByteArray>
#include <QString>
#include <functional>

class QTemporaryFile;

// Writes Data as the whole content of FileName: the bytes go to a temporary file in the same
// folder, are flushed and synced, and only then renamed over the old file. On any failure the
// temporary file is removed, the old file stays as it was and the result is false (with the
// system's reason in Error when given). Created, when given, tells whether the temporary file
// could be made at all (false: the folder is missing or not writable, or the file is read-only).
bool WriteFileAtomically(const QString& fileName, const QByteArray& data, QString* error = nullptr,
                         bool* created = nullptr);

// The two halves of the same write for a writer that fills the file itself (a download).
// OpenTemporaryFileFor opens Temp as a new file beside FileName; a read-only FileName is refused,
// since the rename would replace it. CommitTemporaryFile puts the filled Temp in place of FileName:
// it flushes and checks the buffered bytes, syncs them, gives Temp the old file's permissions
// (rw-r--r-- for a new file), renames it over FileName and syncs the folder. On failure Temp is
// removed, FileName stays as it was and the result is false with the reason in Error.
bool OpenTemporaryFileFor(const QString& fileName, QTemporaryFile& temp, QString* error = nullptr);
bool CommitTemporaryFile(QTemporaryFile& temp, const QString& fileName, QString* error = nullptr);

// The sync of a written temporary file before its rename: fsync unless replaced (tests watch the
// order of the steps or make the sync fail). Returns the previous hook.
using SyncFileHook = std::function<int(int descriptor)>;
SyncFileHook SetSyncFileHook(SyncFileHook hook);
