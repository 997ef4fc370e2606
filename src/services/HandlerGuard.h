#pragma once

#include <QString>
#include <functional>
#include <utility>

// The standard error box of an exception that leaves an event handler: program title as caption,
// error icon, the message plus a full stop when its last character sorts after '.'.
void ShowExceptionBox(const QString& message);

// Runs one event handler; an exception that leaves it is shown in the standard error box and the
// program goes on. Answers false when the handler raised.
bool RunGuarded(const std::function<void()>& handler);

namespace guard_detail {
template <class Handler, class Result, class Class, class... Args>
auto Wrap(Handler handler, Result (Class::*)(Args...) const) {
    return [handler = std::move(handler)](Args... args) { RunGuarded([&] { handler(args...); }); };
}
} // namespace guard_detail

// Wraps a handler lambda for connect(): Guarded([this] { SaveClick(); }). The wrapper takes the
// same parameters as the handler, so the signal's extra arguments are dropped as usual.
template <class Handler> auto Guarded(Handler handler) {
    return guard_detail::Wrap(std::move(handler), &Handler::operator());
}
