#include "UpdateServer.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include "TestSupport.h"

namespace {
// The folder served, with its download area made first.
QString ServedRoot(const QTemporaryDir& root) {
    QDir(root.path()).mkpath("download");
    return root.path();
}
} // namespace

DownloadAreaServer::DownloadAreaServer()
    : peer_({"-u", "-m", "http.server", "0", "--bind", "127.0.0.1", "--directory", ServedRoot(root_)},
            root_.filePath("server.log")) {
    // "Serving HTTP on 127.0.0.1 port <port> (...) ..."
    const auto served = QRegularExpression("port (\\d+)").match(QString::fromUtf8(peer_.ReadLine()));
    if (served.hasMatch()) {
        port_ = served.captured(1).toInt();
        qputenv("VOZOPIS_DOWNLOAD_AREA", Area().toUtf8());
    }
}

DownloadAreaServer::~DownloadAreaServer() {
    qunsetenv("VOZOPIS_DOWNLOAD_AREA");
}

QString DownloadAreaServer::Area() const {
    return QStringLiteral("http://127.0.0.1:%1/download/").arg(port_);
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

SilentServer::SilentServer() {
    fd_ = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (fd_ < 0 || ::bind(fd_, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
        ::listen(fd_, 16) != 0 || ::getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &length) != 0)
        return;
    port_ = ntohs(address.sin_port); // the kernel completes the connections; nobody ever reads them
}

SilentServer::~SilentServer() {
    if (fd_ >= 0)
        ::close(fd_);
    SetDownloadLimits(previous_);
}

QString SilentServer::Address() const {
    return QStringLiteral("http://127.0.0.1:%1/download/").arg(port_);
}

QStringList FilesBelow(const QString& folder) {
    QStringList files;
    for (QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
         it.hasNext();)
        files << QDir(folder).relativeFilePath(it.next());
    files.sort();
    return files;
}
