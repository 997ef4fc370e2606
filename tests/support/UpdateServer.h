#pragma once

#include <QDir>
#include <QDirIterator>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "Download.h"
#include "PythonPeer.h"
#include "TestSupport.h"

// A web server (download_area.py) on 127.0.0.1 over http and https serving the download area that
// VOZOPIS_DOWNLOAD_AREA names while the object lives; its certificate is trusted meanwhile.
class DownloadAreaServer {
public:
    DownloadAreaServer() {
        const QList<QByteArray> ports = peer_.ReadLine().split(' '); // "<http port> <https port>"
        port_ = ports.value(0).toInt();
        tlsPort_ = ports.value(1).toInt();
        EXPECT_TRUE(port_ > 0 && tlsPort_ > 0) << "the download area did not start";
        qputenv("VOZOPIS_DOWNLOAD_AREA", Area().toUtf8());
        SetDownloadCaFile(TLS_PEER_PEM);
    }
    ~DownloadAreaServer() {
        qunsetenv("VOZOPIS_DOWNLOAD_AREA");
        SetDownloadCaFile({});
    }
    QString Root(bool tls = false) const {
        return QStringLiteral("%1://127.0.0.1:%2/").arg(tls ? "https" : "http").arg(tls ? tlsPort_ : port_);
    }
    QString Area() const { return Root() + "download/"; }
    // Writes a file below the download area, e.g. Put("vozopis/index.inst", ...).
    void Put(const QString& relative, const QByteArray& bytes) {
        QDir().mkpath(QFileInfo(root_.filePath("download/" + relative)).path());
        WriteFileBytes(root_.filePath("download/" + relative), bytes);
    }
    void Remove(const QString& relative) { QFile::remove(root_.filePath("download/" + relative)); }
    // The requests so far, a line each: "... "GET /download/vozopis/index.inst HTTP/1.0" 200 ...".
    QByteArray Log() const { return ReadFileBytes(root_.filePath("server.log")); }

private:
    QTemporaryDir root_; // before the server, which serves it
    TPythonPeer peer_{{"-u", DOWNLOAD_AREA_SCRIPT, root_.path(), TLS_PEER_PEM}, root_.filePath("server.log")};
    int port_ = 0, tlsPort_ = 0;
};

// Files below Folder, relative, sorted (folders themselves are not listed).
inline QStringList FilesBelow(const QString& folder) {
    QStringList files;
    for (QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
         it.hasNext();)
        files << QDir(folder).relativeFilePath(it.next());
    files.sort();
    return files;
}
