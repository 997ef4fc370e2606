// Test main of the binaries whose tests run on a private X server.
#include "XServer.h"

int main(int argc, char** argv) {
    return RunTestsOnXServer(argc, argv);
}
