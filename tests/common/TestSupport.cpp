#include "TestSupport.h"

#include <QFile>

#include "ProgramFolder.h"

TempProgramFolder::TempProgramFolder() {
    SetProgramFolderForTesting(Path());
}

TempProgramFolder::~TempProgramFolder() {
    SetProgramFolderForTesting(QString());
}

QString TempProgramFolder::Path() const {
    return dir_.path() + '/';
}

MessageBoxRecorder::MessageBoxRecorder(int fallback) : fallback_(fallback) {
    previous_ = SetMessageBoxHook([this](const QString& text, const QString& caption, int flags) {
        shown_.push_back({text, caption, flags});
        if (!answers_.empty()) {
            const int answer = answers_.front();
            answers_.pop_front();
            return answer;
        }
        return (flags & 0x0F) == 4 ? fallback_ : int(ID_OK);
    });
}

MessageBoxRecorder::~MessageBoxRecorder() {
    SetMessageBoxHook(previous_);
}

QStringList MessageBoxRecorder::Texts() const {
    QStringList texts;
    for (const ShownBox& box : shown_)
        texts << box.text;
    return texts;
}

ShellRecorder::ShellRecorder() {
    previous_ = SetShellOpenHook([this](const QString& target, const QString& parameters) {
        opened_ << target;
        parameters_ << parameters;
    });
}

ShellRecorder::~ShellRecorder() {
    SetShellOpenHook(previous_);
}

QByteArray ReadFileBytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

void WriteFileBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(bytes);
}
