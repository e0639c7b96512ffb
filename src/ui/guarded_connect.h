// The one way to connect a window's signal to its handler: the handler always
// runs under the general error handler, so no error escapes into the event
// loop. Every user action of every window starts here.
#pragma once

#include <QObject>

#include "error_handler.h"

namespace ui {

// A window may offer AfterError(): it runs after the error box of any of its
// handlers, so that the window shows what the interrupted handler left behind.
template <typename Receiver>
concept HasAfterError = requires(Receiver& receiver) {
    receiver.AfterError();
};

// Connects `signal` of `sender` to the member `handler` of `receiver`. The
// handler takes the first arguments of the signal, or none.
template <typename Sender, typename Signal, typename Receiver, typename... Args>
QMetaObject::Connection ConnectHandler(Sender* sender, Signal signal, Receiver* receiver,
                                       void (Receiver::*handler)(Args...)) {
    return QObject::connect(sender, signal, receiver, [receiver, handler](Args... args) {
        RunHandler([&] { (receiver->*handler)(args...); },
                   [receiver] {
                       if constexpr (HasAfterError<Receiver>)
                           receiver->AfterError();
                   });
    });
}

}  // namespace ui
