#include "error_handler.h"

#include <QApplication>
#include <QMessageBox>

namespace ui {

QString ErrorBoxText(const QString& message) {
    if (!message.isEmpty() && message.back().isLetterOrNumber())
        return message + '.';
    return message;
}

QString CurrentErrorMessage(std::exception_ptr error) {
    try {
        std::rethrow_exception(error);
    } catch (const std::exception& e) {
        return QString::fromUtf8(e.what());
    } catch (...) {
        return QStringLiteral("Неизвестная ошибка");
    }
}

void ShowError(const QString& message) {
    QMessageBox box(QMessageBox::Critical, QApplication::applicationName(), ErrorBoxText(message),
                    QMessageBox::Ok, QApplication::activeWindow());
    box.exec();
}

void RunHandler(const std::function<void()>& body, const std::function<void()>& afterError) {
    bool failed = false;
    try {
        body();
    } catch (...) {
        ShowError(CurrentErrorMessage(std::current_exception()));
        failed = true;
    }
    if (failed && afterError)
        afterError();
}

}  // namespace ui
