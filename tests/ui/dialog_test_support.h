// Helpers for the dialog and editing tests: typing any text as key events and
// answering a modal window from inside its own event loop.
#pragma once

#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <QWidget>
#include <QtTest>
#include <functional>

// Types `text` into `widget` one character at a time, as key presses with
// text (also for letters that have no key code of their own).
inline void TypeText(QWidget* widget, const QString& text) {
    for (const QChar c : text) {
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

// Replaces the text of a line edit as a user would: select all, then type.
template <typename Edit>
void RetypeText(Edit* edit, const QString& text) {
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(edit, Qt::Key_Delete);
    TypeText(edit, text);
}

// Watches for the next modal window of class T (other than those already up)
// and calls `answer` with it; `answer` must close it. Stop() ends the watch
// when the window may not come at all.
template <typename T>
class ModalAnswer {
public:
    explicit ModalAnswer(std::function<void(T*)> answer) : state_(std::make_shared<State>()) {
        state_->answer = std::move(answer);
        Poll(state_);
    }
    ~ModalAnswer() { Stop(); }
    ModalAnswer(const ModalAnswer&) = delete;
    ModalAnswer& operator=(const ModalAnswer&) = delete;

    bool Seen() const { return state_->seen; }
    void Stop() { state_->stopped = true; }

private:
    struct State {
        std::function<void(T*)> answer;
        bool seen = false;
        bool stopped = false;
    };

    static void Poll(std::shared_ptr<State> state) {
        QTimer::singleShot(1, [state] {
            if (state->stopped)
                return;
            T* modal = qobject_cast<T*>(QApplication::activeModalWidget());
            if (modal != nullptr && modal->isVisible()) {
                state->seen = true;
                state->stopped = true;
                state->answer(modal);
            } else {
                Poll(state);
            }
        });
    }

    std::shared_ptr<State> state_;
};
