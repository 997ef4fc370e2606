#pragma once

#include <QString>
#include <functional>
#include <type_traits>
#include <utility>

// The standard error box of an exception that leaves an event handler: program title as caption,
// error icon, the message plus a full stop when its last character sorts after '.'.
void ShowExceptionBox(const QString& message);

// Runs one event handler; an exception that leaves it is shown in the standard error box and the
// program goes on. Answers false when the handler raised.
bool RunGuarded(const std::function<void()>& handler);

// Wraps a handler for connect(): Guarded([this] { SaveClick(); }). The signal's arguments are
// passed on when the handler takes them.
template <class Handler> auto Guarded(Handler handler) {
    return [handler = std::move(handler)](auto&&... args) {
        RunGuarded([&] {
            if constexpr (std::is_invocable_v<const Handler&, decltype(args)...>)
                handler(std::forward<decltype(args)>(args)...);
            else
                handler();
        });
    };
}
