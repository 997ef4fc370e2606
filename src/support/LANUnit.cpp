#include "LANUnit.h"

#include <ifaddrs.h>
#include <net/if.h>
#include <sys/socket.h>
#include <utility>

namespace {
std::function<bool()> connectedHook;

bool AnyInterfaceUp() {
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0)
        return false;
    bool up = false;
    for (const ifaddrs* a = list; a && !up; a = a->ifa_next)
        up = a->ifa_addr && (a->ifa_addr->sa_family == AF_INET || a->ifa_addr->sa_family == AF_INET6) &&
             (a->ifa_flags & IFF_UP) && !(a->ifa_flags & IFF_LOOPBACK);
    freeifaddrs(list);
    return up;
}
} // namespace

bool IsConnectedToInternet() {
    return connectedHook ? connectedHook() : AnyInterfaceUp();
}

std::function<bool()> SetConnectedHook(std::function<bool()> hook) {
    return std::exchange(connectedHook, std::move(hook));
}
