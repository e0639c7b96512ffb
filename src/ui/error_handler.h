// The application's general error handler. Every user action runs as one
// handler under it: an error ends that handler at once, without undoing what
// it already changed; the message is shown in a box titled with the
// application's name, with a stop icon and an OK button, and the program goes
// on with the next user action.
#pragma once

#include <QString>
#include <exception>
#include <functional>

class QWidget;

namespace ui {

// The text shown for an error message: a full stop is appended when the
// message ends in a letter or digit.
QString ErrorBoxText(const QString& message);

// The message of the error in flight, in UTF-8 as the model raises it.
QString CurrentErrorMessage(std::exception_ptr error);

// Shows the box for an error message, modally, and returns when it is closed.
void ShowError(const QString& message);

// Runs one handler body under the error handler. After the box for an error,
// `afterError` runs (when given), so that the window can show what the
// handler left behind.
void RunHandler(const std::function<void()>& body, const std::function<void()>& afterError = {});

}  // namespace ui
