#pragma once

#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <deque>
#include <ostream>
#include <vector>

#include "Exception.h"
#include "MessageBox.h"
#include "Shell.h"

// A fresh, empty program folder for one test; ProgramFolder() answers it while the object lives.
class TempProgramFolder {
public:
    TempProgramFolder();
    ~TempProgramFolder();
    QString Path() const; // with a trailing '/'
    QString File(const QString& relative) const { return Path() + relative; }

private:
    QTemporaryDir dir_;
};

// One message box as it was shown.
struct ShownBox {
    QString text;
    QString caption;
    int flags = 0;
    bool operator==(const ShownBox&) const = default;
};
using Boxes = std::vector<ShownBox>; // EXPECT_EQ(boxes.Shown(), Boxes({{text, "Vozopis", 64}}))

// Answers every message box while it lives and records what was shown. Queued answers are used
// in order; when none is left, a box is answered with `fallback` (Yes/No boxes) or OK.
class MessageBoxRecorder {
public:
    explicit MessageBoxRecorder(int fallback = ID_NO);
    ~MessageBoxRecorder();
    void Answer(int result) { answers_.push_back(result); }
    const std::vector<ShownBox>& Shown() const { return shown_; }
    QStringList Texts() const;

private:
    std::deque<int> answers_;
    std::vector<ShownBox> shown_;
    int fallback_;
    MessageBoxHook previous_;
};

// Records what the shell was asked to open while it lives.
class ShellRecorder {
public:
    ShellRecorder();
    ~ShellRecorder();
    const QStringList& Opened() const { return opened_; }
    const QStringList& Parameters() const { return parameters_; }

private:
    QStringList opened_;
    QStringList parameters_;
    ShellOpenHook previous_;
};

// Reads a whole file's bytes (empty when it does not exist).
QByteArray ReadFileBytes(const QString& path);
// Writes bytes to a file, replacing it.
void WriteFileBytes(const QString& path, const QByteArray& bytes);

// Readable failure messages for Qt texts.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}
inline void PrintTo(const QStringList& list, std::ostream* os) {
    *os << '{' << list.join(" | ").toStdString() << '}';
}
inline void PrintTo(const ShownBox& box, std::ostream* os) {
    *os << '[' << box.caption.toStdString() << ' ' << box.flags << "] " << box.text.toStdString();
}

// The message of the exception E that action raises, or "<no error>" when it raises none.
template <typename E = Exception, typename F> QString ErrorOf(F&& action) {
    try {
        action();
    } catch (const E& e) {
        return e.Message();
    }
    return "<no error>";
}
