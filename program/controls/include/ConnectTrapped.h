// Connecting a window's signals to its own handlers, run under the error convention.
#pragma once

#include "Messages.h"

#include <QObject>

#include <concepts>

namespace corvane {

// Connects `signal` of `sender` to `handler` of `window`, which runs under the error convention
// (Trap): an error it raises is reported and goes no further. The signal's arguments are not
// passed on. The handler must be a member of the window's own class or of one of its bases: a
// handler of another window class does not compile, as it would run on the wrong object.
template <typename Window, typename Sender, typename Signal, typename HandlerClass>
requires std::derived_from<Window, QObject> && std::derived_from<Window, HandlerClass>
void ConnectTrapped(Window* window, Sender* sender, Signal signal, void (HandlerClass::*handler)()) {
    QObject::connect(sender, signal, window, [window, handler] { Trap([window, handler] { (window->*handler)(); }); });
}

}  // namespace corvane
