// A test process in small: starts a python peer that would run for minutes, prints the peer's pid and
// waits until its input closes. The peer test kills it first, as ctest kills a test on its time-out.
#include <QCoreApplication>
#include <cstdio>

#include "PythonPeer.h"

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    TPythonPeer peer({"-c", "import os, time\nprint(os.getpid(), flush=True)\ntime.sleep(600)\n"});
    std::printf("%s\n", peer.ReadLine().constData());
    std::fflush(stdout);
    while (std::getchar() != EOF) {
    }
    return 0;
}
