// The one way to connect a window's signal to its handler: the handler always
// runs under the general error handler, so no error escapes into the event
// loop. Every user action of every window starts here.
#pragma once

#include <QObject>

#include "error_handler.h"

namespace ui {

// Connects `signal` of `sender` to the member `handler` of `receiver`. The
// handler takes the first arguments of the signal, or none.
template <typename Sender, typename Signal, typename Receiver, typename... Args>
QMetaObject::Connection ConnectHandler(Sender* sender, Signal signal, Receiver* receiver,
                                       void (Receiver::*handler)(Args...)) {
    return QObject::connect(sender, signal, receiver, [receiver, handler](Args... args) {
        RunHandler([&] { (receiver->*handler)(args...); });
    });
}

}  // namespace ui
