#include <QApplication>
#include <csignal>

#include "AboutUnit.h"
#include "Fonts.h"
#include "HandlerGuard.h"
#include "ToolkitTranslation.h"
#include "VersionBlock.h"
#include "Vozopis1.h"

DEFINE_VERSION_BLOCK(VOZOPIS_VERSION);

namespace {
// The application: an exception that escapes an event is shown in the standard error box.
class TApplication : public QApplication {
public:
    using QApplication::QApplication;
    bool notify(QObject* receiver, QEvent* event) override {
        bool result = false;
        RunGuarded([&] { result = QApplication::notify(receiver, event); });
        return result;
    }
};
} // namespace

int main(int argc, char** argv) {
    // A write to a connection that the peer or a deadline has closed fails instead of ending the program.
    std::signal(SIGPIPE, SIG_IGN);
    TApplication app(argc, argv);
    app.setApplicationName("Vozopis");
    LoadDesignFonts();
    LoadToolkitTranslation();

    TForm1 form;
    Form1 = &form;
    TAbout about(&form);
    About = &about;
    form.show();
    const int code = app.exec();
    About = nullptr;
    return code;
}
