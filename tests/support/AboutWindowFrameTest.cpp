// The support window's place among framed windows, on a real X server with a window manager.
#include <QWindow>

#include "SupportFixture.h"
#include "VersionBlock.h"
#include "XServer.h"

DEFINE_VERSION_BLOCK(VOZOPIS_VERSION);

static void PrintTo(const QPoint& point, std::ostream* os) {
    *os << point.x() << ',' << point.y();
}

namespace {
bool Framed(const QWidget& window) {
    return window.windowHandle() && !window.windowHandle()->frameMargins().isNull();
}

// The outer rectangle as the window manager tells it.
QRect Outer(const QWidget& window) {
    return window.windowHandle()->frameGeometry();
}
} // namespace

using AboutWindowFrame = SupportTest;

// A window's frame is known only once it has been shown; the first opening counts it all the same.
TEST_F(AboutWindowFrame, EveryOpeningFromTheFirstIsCentredOnTheMainWindowWithBothFrames) {
    w.main.setGeometry(100, 50, 1024, 728);
    w.main.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return Framed(w.main); })) << "no window manager frames the windows";
    QList<QPoint> placed, centred;
    for (int opening = 0; opening < 3; ++opening)
        w.Open("about", [&] {
            const auto centre = [&] {
                const QRect main = Outer(w.main);
                const QSize outer = Outer(about).size();
                return main.topLeft() +
                       QPoint((main.width() - outer.width()) / 2, (main.height() - outer.height()) / 2);
            };
            // Shown and framed, then placed by the window manager; else the lists below differ.
            static_cast<void>(QTest::qWaitFor([&] {
                return about.windowHandle()->isExposed() && Framed(about) &&
                       Outer(about).topLeft() == centre();
            }));
            if (Framed(about)) {
                placed << Outer(about).topLeft();
                centred << centre();
            }
        });
    EXPECT_EQ(placed.size(), 3) << "the support window was not framed";
    EXPECT_EQ(placed, centred);
}

int main(int argc, char** argv) {
    return RunTestsOnXServer(argc, argv, true);
}
