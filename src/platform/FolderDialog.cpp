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
    QFileDialog dialog(parent, title, ExistingFolder(proposed));
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return QDir::fromNativeSeparators(dialog.selectedFiles().constFirst());
}
