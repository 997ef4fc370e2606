#include "SessionEnd.h"

#include <QGuiApplication>
#include <QSessionManager>

void OnSessionEndRequest(std::function<void()> handler) {
    auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    if (!app)
        return;
    // The program agrees at once: no question, no cancel.
    QObject::connect(
        app, &QGuiApplication::commitDataRequest, app, [handler](QSessionManager&) { handler(); },
        Qt::DirectConnection);
}
