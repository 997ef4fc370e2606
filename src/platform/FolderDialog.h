#pragma once

#include <QString>
#include <functional>
#include <optional>

class QWidget;

using FolderDialogHook = std::function<std::optional<QString>(const QString& title, const QString& proposed)>;

// The folder chooser, titled, with the proposed folder preselected (or its nearest existing parent).
// The chosen folder, or nothing when the user cancels.
std::optional<QString> BrowseForFolder(const QString& title, const QString& proposed, QWidget* parent);
// Replaces the dialog (tests answer it); an empty hook restores it. Returns the previous hook.
FolderDialogHook SetFolderDialogHook(FolderDialogHook hook);
