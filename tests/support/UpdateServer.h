#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include "Download.h"
#include "PythonPeer.h"

// A real web server (download_area.py) on 127.0.0.1 serving a download area that the test writes,
// over http and https (its certificate trusted while the object lives), with a few misbehaving
// addresses: any path holding "endless" or "trickle" (800 bytes in 5 s), and "status/<code>" with
// "?to=<location>". VOZOPIS_DOWNLOAD_AREA points at it while the object lives.
class DownloadAreaServer {
public:
    DownloadAreaServer();
    ~DownloadAreaServer();
    bool Started() const { return port_ > 0 && tlsPort_ > 0; }
    QString Root(bool tls = false) const; // "http://127.0.0.1:<port>/"
    QString Area() const { return Root() + "download/"; }
    // Writes a file below the download area, e.g. Put("vozopis/index.inst", ...).
    void Put(const QString& relative, const QByteArray& bytes);
    void Remove(const QString& relative);
    // The paths requested so far, e.g. "/download/vozopis/index.inst".
    QStringList Requests() const;

private:
    QTemporaryDir root_; // before the server, which serves it
    TPythonPeer peer_;
    int port_ = 0;
    int tlsPort_ = 0;
};

// Files below Folder, relative, sorted (folders themselves are not listed).
QStringList FilesBelow(const QString& folder);
