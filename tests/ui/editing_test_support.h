// Helpers for the editing tests: all seven windows as the program creates
// them, clicks on the drawing area and answers to the parameter dialog.
#pragma once

#include <QMessageBox>
#include <QtTest>
#include <memory>
#include <optional>

#include "HNagr.h"
#include "OpenForm.h"
#include "SaveForm.h"
#include "about.h"
#include "dialog_test_support.h"
#include "hcInfo.h"
#include "helpu.h"
#include "main.h"

namespace editing_test {

// The seven windows in the program's order; the instance pointers are set
// while the object lives. The open and save dialogs list the working
// directory as it is when this is made.
class Windows {
public:
    Windows() {
        form1_ = std::make_unique<TForm1>();
        Form1 = form1_.get();
        form2_ = std::make_unique<TForm2>();
        Form2 = form2_.get();
        form3_ = std::make_unique<TForm3>();
        Form3 = form3_.get();
        form4_ = std::make_unique<TForm4>();
        Form4 = form4_.get();
        form5_ = std::make_unique<TForm5>();
        Form5 = form5_.get();
        form6_ = std::make_unique<TForm6>();
        Form6 = form6_.get();
        form7_ = std::make_unique<TForm7>();
        Form7 = form7_.get();
        form1_->resize(800, 600);
        form1_->show();
        QVERIFY(QTest::qWaitForWindowExposed(form1_.get()));
    }
    ~Windows() {
        Form7 = nullptr;
        Form6 = nullptr;
        Form5 = nullptr;
        Form4 = nullptr;
        Form3 = nullptr;
        Form2 = nullptr;
        Form1 = nullptr;
    }
    Windows(const Windows&) = delete;
    Windows& operator=(const Windows&) = delete;

    TForm1& main() { return *form1_; }
    net::TNetObj& net() { return form1_->Net(); }

private:
    std::unique_ptr<TForm1> form1_;
    std::unique_ptr<TForm2> form2_;
    std::unique_ptr<TForm3> form3_;
    std::unique_ptr<TForm4> form4_;
    std::unique_ptr<TForm5> form5_;
    std::unique_ptr<TForm6> form6_;
    std::unique_ptr<TForm7> form7_;
};

// What the user does in the parameter dialog: each field given is retyped,
// the box set when given; then "внести изменения" (or the frame's close button).
struct Form4Input {
    std::optional<QString> edit1;
    std::optional<QString> edit2;
    std::optional<bool> box;
    bool closeByFrame = false;
};

inline void FillForm4(TForm4* dialog, const Form4Input& input) {
    if (input.edit1)
        RetypeText(dialog->Edit1, *input.edit1);
    if (input.edit2)
        RetypeText(dialog->Edit2, *input.edit2);
    if (input.box && dialog->CheckBox1->isChecked() != *input.box) {
        QTest::mouseClick(dialog->CheckBox1, Qt::LeftButton, {}, QPoint(5, 8));
    }
    if (input.closeByFrame) {
        dialog->close();
    } else {
        QTest::mouseClick(dialog->Button1, Qt::LeftButton);
    }
}

// What one user action brought up: whether the parameter dialog was shown,
// and the texts of the error boxes.
struct Outcome {
    bool dialogShown = false;
    QStringList errors;
};

// Runs `action` (a click, a button, a menu entry) answering the parameter
// dialog with `input` and any error box with OK.
template <typename Action>
Outcome Act(Action action, const Form4Input& input = {}) {
    Outcome outcome;
    ModalAnswer<QMessageBox> errorBox([&outcome](QMessageBox* box) {
        outcome.errors << box->text();
        box->accept();
    });
    ModalAnswer<TForm4> dialog([&input](TForm4* d) { FillForm4(d, input); });
    action();
    outcome.dialogShown = dialog.Seen();
    return outcome;
}

// A left click on the drawing area at (x, y) of the area.
inline Outcome ClickAt(TForm1& form, int x, int y, const Form4Input& input = {}) {
    return Act([&] { QTest::mouseClick(form.Image1, Qt::LeftButton, {}, QPoint(x, y)); }, input);
}

inline void Press(QPushButton* button) {
    QTest::mouseClick(button, Qt::LeftButton);
}

inline int PresentHosts(const net::TNetObj& net) {
    int n = 0;
    for (int h = 1; h <= net::MaxHosts; ++h)
        n += net.HostPresent[h];
    return n;
}

inline int PresentChannels(const net::TNetObj& net) {
    int n = 0;
    for (int c = 1; c <= net::MaxChannels; ++c)
        n += net.ChannelPresent[c];
    return n;
}

}  // namespace editing_test
