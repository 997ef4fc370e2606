#include "Shell.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>

namespace {
ShellOpenHook& Hook() {
    static ShellOpenHook hook;
    return hook;
}

bool IsAddress(const QString& target) {
    const QString lower = target.toLower();
    return lower.startsWith("http://") || lower.startsWith("https://") || lower.startsWith("mailto:") ||
           lower.startsWith("ftp://");
}
} // namespace

ShellOpenHook SetShellOpenHook(ShellOpenHook hook) {
    ShellOpenHook previous = std::move(Hook());
    Hook() = std::move(hook);
    return previous;
}

void ShellOpen(const QString& target, const QString& parameters) {
    if (Hook()) {
        Hook()(target, parameters);
        return;
    }
    if (target.isEmpty())
        return;
    if (IsAddress(target)) {
        QDesktopServices::openUrl(QUrl(target));
        return;
    }
    const QFileInfo file(target);
    if (file.isFile() && file.isExecutable()) {
        QStringList arguments;
        if (!parameters.isEmpty())
            arguments << parameters;
        QProcess::startDetached(file.absoluteFilePath(), arguments, file.absolutePath());
        return;
    }
    QDesktopServices::openUrl(QUrl::fromLocalFile(target));
}
