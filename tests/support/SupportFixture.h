#pragma once

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <atomic>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

#include "AboutUnit.h"
#include "IniFile.h"
#include "Language.h"
#include "Messages.h"
#include "ProgramGlobals.h"
#include "TestSupport.h"

// The support window in a fresh program folder, beside a stand-in main window, with the program
// globals and the message table set as the start-up sets them.
struct SupportWindow {
    explicit SupportWindow(const QString& title = "Vozopis") {
        ProgramTitle = title;
        AppDir = folder.Path();
        ExeFileName = "Vozopis.exe";
        LanguageTag = ProductCode = ProductName = ProductFileName = QString();
        MessageTable.clear();
        InitDefaultMessages();
        main.setGeometry(0, 0, 1024, 728);
        about = std::make_unique<TAbout>(&main);
        About = about.get();
    }
    ~SupportWindow() { About = nullptr; }

    // Opens the window on a page; whileShown runs inside the modal showing, then the window closes.
    void Open(const QString& page, const std::function<void()>& whileShown = {}) {
        QTimer::singleShot(0, about.get(), [&] {
            if (whileShown)
                whileShown();
            about->reject();
        });
        about->ShowCenter(page);
    }

    // A section of the settings file, "key=value" each.
    QStringList SettingsSection(const QString& section) const {
        const TMemIniFile ini(folder.File("Data/settings.mvk"));
        QStringList entries;
        for (const QString& key : ini.ReadSection(section))
            entries << key + '=' + ini.ReadString(section, key, "");
        return entries;
    }

    void WriteFile(const QString& relative, const QByteArray& bytes) {
        QDir().mkpath(QFileInfo(folder.File(relative)).path());
        WriteFileBytes(folder.File(relative), bytes);
    }

    TempProgramFolder folder;
    QWidget main;
    std::unique_ptr<TAbout> about;
};

// A FIFO whose writer comes and goes without ever waiting: a reader that blocks on it gets an empty
// file instead of hanging the test, and the writer ends even when the FIFO was replaced.
struct FifoRescue {
    explicit FifoRescue(const QString& path) : path(QFile::encodeName(path)) {
        ::mkfifo(this->path.constData(), 0600);
    }
    ~FifoRescue() {
        stop = true;
        writer.join();
    }
    const QByteArray path;
    std::atomic<bool> stop = false;
    std::atomic<int> readers = 0; // how often a reader held the FIFO open (and was set free)
    std::thread writer{[this] {
        for (; !stop; std::this_thread::sleep_for(std::chrono::milliseconds(1))) {
            const int fd = ::open(path.constData(), O_WRONLY | O_NONBLOCK);
            struct stat info {};
            if (fd >= 0 && ::fstat(fd, &info) == 0 && S_ISFIFO(info.st_mode))
                ++readers;
            ::close(fd);
        }
    }};
};

// The support window as a test fixture; each file derives its suite, e.g. AboutWindow.
struct SupportTest : ::testing::Test {
    SupportWindow w;
    TAbout& about = *w.about;
};
