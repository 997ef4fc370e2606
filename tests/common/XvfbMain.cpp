// Test main of the binaries whose tests run on a private X server.
#include <csignal>

#include "XServer.h"

int main(int argc, char** argv) {
    std::signal(SIGPIPE, SIG_IGN); // as the program: a write to a closed connection fails, nothing more
    return RunTestsOnXServer(argc, argv);
}
