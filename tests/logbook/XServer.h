#pragma once

#include <QProcess>
#include <QString>

// A private X server (Xvfb) for the tests that need the platform's real key bindings, menus and
// focus. It picks a free display number itself and is stopped with the object.
class TXServer {
public:
    ~TXServer() {
        xvfb_.terminate();
        xvfb_.waitForFinished();
    }
    // Starts the server and waits until it accepts connections; false with a reason when it cannot.
    bool Start(QString& error);
    // ":<number>" once started.
    QString Display() const { return display_; }

private:
    QProcess xvfb_;
    QString display_;
};

// Types keys into the window that has the X focus, as a user does (xdotool over the XTEST extension),
// e.g. "ctrl+e", "alt+s", "Escape". Events are processed while waiting; false when xdotool failed.
bool TypeKeys(const QString& keys);
