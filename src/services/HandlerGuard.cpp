#include "HandlerGuard.h"

#include <QCoreApplication>
#include <exception>

#include "Exception.h"
#include "MessageBox.h"
#include "ProgramGlobals.h"

void ShowExceptionBox(const QString& message) {
    const QString caption = ProgramTitle.isEmpty() ? QCoreApplication::applicationName() : ProgramTitle;
    PlatformMessageBox(ExceptionBoxText(message), caption, MB_ICONERROR);
}

bool RunGuarded(const std::function<void()>& handler) {
    try {
        handler();
        return true;
    } catch (const Exception& e) {
        ShowExceptionBox(e.Message());
    } catch (const std::exception& e) {
        ShowExceptionBox(QString::fromUtf8(e.what()));
    }
    return false;
}
