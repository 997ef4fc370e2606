#include "FolderDialog.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

namespace {
FolderDialogHook& Hook() {
    static FolderDialogHook hook;
    return hook;
}

// The folder itself when it exists, else its nearest existing parent.
QString ExistingFolder(const QString& folder) {
    QString path = QDir::cleanPath(folder);
    while (!path.isEmpty() && !QFileInfo(path).isDir()) {
        const QString parent = QFileInfo(path).path();
        if (parent == path)
            break;
        path = parent;
    }
    return path;
}
} // namespace

FolderDialogHook SetFolderDialogHook(FolderDialogHook hook) {
    FolderDialogHook previous = std::move(Hook());
    Hook() = std::move(hook);
    return previous;
}

std::optional<QString> BrowseForFolder(const QString& title, const QString& proposed, QWidget* parent) {
    if (Hook())
        return Hook()(title, proposed);
    const QString chosen = QFileDialog::getExistingDirectory(parent, title, ExistingFolder(proposed));
    if (chosen.isEmpty())
        return std::nullopt;
    return QDir::fromNativeSeparators(chosen);
}
