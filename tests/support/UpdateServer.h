#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include "Download.h"
#include "PythonPeer.h"

// A real web server (python3 -m http.server) on 127.0.0.1 serving a download area that the test
// writes; VOZOPIS_DOWNLOAD_AREA points at it while the object lives.
class DownloadAreaServer {
public:
    DownloadAreaServer();
    ~DownloadAreaServer();
    bool Started() const { return port_ > 0; }
    QString Area() const; // "http://127.0.0.1:<port>/download/"
    // Writes a file below the download area, e.g. Put("vozopis/index.inst", ...).
    void Put(const QString& relative, const QByteArray& bytes);
    void Remove(const QString& relative);
    // The paths requested so far, e.g. "/download/vozopis/index.inst".
    QStringList Requests() const;

private:
    QTemporaryDir root_; // before the server, which serves it
    TPythonPeer peer_;
    int port_ = 0;
};

// A socket that accepts connections and never answers; short transfer bounds while the object
// lives, so that the wait for it ends quickly.
class SilentServer {
public:
    SilentServer();
    ~SilentServer();
    QString Address() const; // "http://127.0.0.1:<port>/download/"

private:
    int fd_ = -1;
    int port_ = 0;
    DownloadLimits previous_ = SetDownloadLimits({1000, 1, 1, 3});
};

// Files below Folder, relative, sorted (folders themselves are not listed).
QStringList FilesBelow(const QString& folder);
