#include "UpdateServer.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>

#include "TestSupport.h"

namespace {
// The folder served, with its download area made first.
QString ServedRoot(const QTemporaryDir& root) {
    QDir(root.path()).mkpath("download");
    return root.path();
}
} // namespace

DownloadAreaServer::DownloadAreaServer()
    : peer_({"-u", DOWNLOAD_AREA_SCRIPT, ServedRoot(root_), TLS_PEER_PEM}, root_.filePath("server.log")) {
    const QList<QByteArray> ports = peer_.ReadLine().split(' '); // "<http port> <https port>"
    if (ports.size() == 2) {
        port_ = ports[0].toInt();
        tlsPort_ = ports[1].toInt();
        qputenv("VOZOPIS_DOWNLOAD_AREA", Area().toUtf8());
        SetDownloadCaFile(TLS_PEER_PEM);
    }
}

DownloadAreaServer::~DownloadAreaServer() {
    qunsetenv("VOZOPIS_DOWNLOAD_AREA");
    SetDownloadCaFile({});
}

QString DownloadAreaServer::Root(bool tls) const {
    return QStringLiteral("%1://127.0.0.1:%2/").arg(tls ? "https" : "http").arg(tls ? tlsPort_ : port_);
}

void DownloadAreaServer::Put(const QString& relative, const QByteArray& bytes) {
    const QString path = root_.filePath("download/" + relative);
    QDir().mkpath(QFileInfo(path).absolutePath());
    WriteFileBytes(path, bytes);
}

void DownloadAreaServer::Remove(const QString& relative) {
    QFile::remove(root_.filePath("download/" + relative));
}

QStringList DownloadAreaServer::Requests() const {
    QStringList paths;
    const QRegularExpression request("\"GET (\\S+) HTTP");
    for (auto it = request.globalMatch(QString::fromUtf8(ReadFileBytes(root_.filePath("server.log"))));
         it.hasNext();)
        paths << it.next().captured(1);
    return paths;
}

QStringList FilesBelow(const QString& folder) {
    QStringList files;
    for (QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
         it.hasNext();)
        files << QDir(folder).relativeFilePath(it.next());
    files.sort();
    return files;
}
