// Helpers for the window tests: the program's windows, networks built through
// the model, reading the drawing and the tree, typing as a user would, and
// answering modal windows from inside their own event loops.
#pragma once

#include <QApplication>
#include <QColor>
#include <QDialog>
#include <QFontMetrics>
#include <QImage>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <QWidget>
#include <QtTest>
#include <algorithm>
#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <span>

#include "../net/test_support.h"
#include "HNagr.h"
#include "OpenForm.h"
#include "SaveForm.h"
#include "about.h"
#include "hcInfo.h"
#include "helpu.h"
#include "main.h"

namespace ui_test {

using testing_support::AddHosts;
using testing_support::SetCapacities;

// ---- The main window's handlers and editing state

}  // namespace ui_test

// The window lets the tests reach its private handlers and state through
// this, and only this.
struct TForm1Access {
    static int& ClickMode(TForm1& form) { return form.ClickMode; }
    static int& PickedHost(TForm1& form) { return form.PickedHost; }
    static int HostAt(const TForm1& form, int x, int y) { return form.HostAt(x, y); }
    static int ChannelAt(const TForm1& form, int x, int y) { return form.ChannelAt(x, y); }
    static void N8Click(TForm1& form) { form.N8Click(); }
    static void TreeView1Click(TForm1& form) { form.TreeView1Click(); }
    static void MarkSaved(TForm1& form, const std::string& folder) { form.MarkSaved(folder); }
    static size_t UndoSteps(const TForm1& form) { return form.history_.UndoCount(); }
    static std::optional<paint::DesignSummary>& Design(TForm1& form) { return form.design_; }
    static int PrintReport(TForm1& form, QPrinter& printer) { return form.PrintReport(printer); }
    static void ClearHistory(TForm1& form) {
        form.history_ = net::UndoHistory();
        form.UpdateHistoryActions();
    }
};

namespace ui_test {

using Access = TForm1Access;

// ---- The windows

// The program's windows; the instance pointers are set while the object
// lives. Menu: the main window and the help and about windows its menu opens,
// none shown. All: the seven windows in the program's order, the main window
// shown at 800 x 600; the open and save dialogs list the working directory as
// it is when this is made.
class Windows {
public:
    enum Set { Menu, All };

    explicit Windows(Set set = Menu) {
        Make(form1_, Form1);
        Make(form2_, Form2);
        Make(form3_, Form3);
        if (set == Menu)
            return;
        Make(form4_, Form4);
        Make(form5_, Form5);
        Make(form6_, Form6);
        Make(form7_, Form7);
        form1_->resize(800, 600);
        QVERIFY(ShowAndWait(*form1_));
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

    // Shows the window and waits until it is on the screen.
    static bool ShowAndWait(QWidget& window) {
        window.show();
        return QTest::qWaitForWindowExposed(&window);
    }

private:
    template <typename T>
    static void Make(std::unique_ptr<T>& owner, T*& instance) {
        owner = std::make_unique<T>();
        instance = owner.get();
    }

    std::unique_ptr<TForm1> form1_;
    std::unique_ptr<TForm2> form2_;
    std::unique_ptr<TForm3> form3_;
    std::unique_ptr<TForm4> form4_;
    std::unique_ptr<TForm5> form5_;
    std::unique_ptr<TForm6> form6_;
    std::unique_ptr<TForm7> form7_;
};

// ---- Networks

// Hosts a at (100, y) and b at (300, y) joined by channel 1 of a type of
// capacity 10000, with a demand of 5000 from a to b: half the capacity.
inline void HalfLoadedPair(net::TNetObj& net, int y) {
    SetCapacities(net, {10000});
    AddHosts(net, {{100, y}, {300, y}});
    net.AddChannel(1, 2, 1);
    net.LoadMatrix[1][2] = 5000;
}

// Fills host slots 1..last at distinct places, then deletes all but `keep`.
inline void KeepOnlyHosts(net::TNetObj& net, int last, std::initializer_list<int> keep) {
    for (int i = 1; i <= last; ++i) {
        net.AddHost(20 + 30 * i, 40 + 20 * (i % 3), "h" + std::to_string(i), 1);
    }
    for (int i = 1; i <= last; ++i) {
        if (std::find(keep.begin(), keep.end(), i) == keep.end())
            net.DeleteHost(i);
    }
}

// The ends of the channel in `slot` as "a-b".
inline QString Ends(const net::TNetObj& net, int slot) {
    return QString("%1-%2").arg(net.Channels[slot].HostA).arg(net.Channels[slot].HostB);
}

// ---- The drawing

inline const QRgb Black = qRgb(0, 0, 0);
inline const QRgb White = qRgb(255, 255, 255);
inline const QRgb Green = qRgb(0, 128, 0);
inline const QRgb Navy = qRgb(0, 0, 128);
inline const QRgb Red = qRgb(255, 0, 0);

inline QRgb Pixel(const QImage& image, int x, int y) {
    return image.pixel(x, y) | 0xff000000u;
}

// A pixel the drawing must show: the one at (x, y), of `colour`.
struct Spot {
    int x;
    int y;
    QRgb colour;
};

// The spots that the picture does not show as expected, described; empty
// when all match.
inline QStringList WrongPixels(const QImage& picture, std::span<const Spot> spots) {
    QStringList wrong;
    for (const Spot& spot : spots) {
        const QRgb actual = Pixel(picture, spot.x, spot.y);
        if (actual != spot.colour) {
            wrong << QString("(%1, %2) is #%3, not #%4")
                         .arg(spot.x)
                         .arg(spot.y)
                         .arg(actual & 0xffffffu, 6, 16, QChar('0'))
                         .arg(spot.colour & 0xffffffu, 6, 16, QChar('0'));
        }
    }
    return wrong;
}

// Number of pixels of `colour` inside `area` (clipped to the image).
inline int CountPixels(const QImage& image, QRect area, QRgb colour) {
    area = area.intersected(image.rect());
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (Pixel(image, x, y) == colour)
                ++count;
        }
    }
    return count;
}

// The canvas font of the drawing area: plain pixels, no smoothing.
inline QFont CanvasFont(const TForm1& form) {
    QFont font = form.Image1->font();
    font.setStyleStrategy(QFont::NoAntialias);
    return font;
}

// The cell that a text takes on the drawing, top-left corner at `at`.
inline QRect TextCell(const TForm1& form, QPoint at, const QString& text) {
    const QFontMetrics metrics(CanvasFont(form));
    return QRect(at, QSize(metrics.horizontalAdvance(text), metrics.height()));
}

// The text as the drawing must show it: `ink` on a cell of `paper`.
inline QImage RenderedText(const TForm1& form, const QString& text, QRgb ink, QRgb paper) {
    const QFont font = CanvasFont(form);
    const QFontMetrics metrics(font);
    QImage image(metrics.horizontalAdvance(text), metrics.height(), QImage::Format_RGB32);
    image.fill(paper);
    QPainter painter(&image);
    painter.setFont(font);
    painter.setPen(QColor(ink));
    painter.drawText(0, metrics.ascent(), text);
    return image;
}

// True when the drawing shows exactly `expected` with its top-left corner at `at`.
inline bool ShowsAt(const QImage& picture, const QImage& expected, QPoint at) {
    for (int y = 0; y < expected.height(); ++y) {
        for (int x = 0; x < expected.width(); ++x) {
            if (Pixel(picture, at.x() + x, at.y() + y) != Pixel(expected, x, y))
                return false;
        }
    }
    return true;
}

// ---- The tree

// The nodes of the tree in display order, depth first.
inline void CollectNodes(QTreeWidgetItem* node, QList<QTreeWidgetItem*>& out) {
    out.append(node);
    for (int i = 0; i < node->childCount(); ++i)
        CollectNodes(node->child(i), out);
}

inline QList<QTreeWidgetItem*> AllNodes(QTreeWidget* tree) {
    QList<QTreeWidgetItem*> nodes;
    for (int i = 0; i < tree->topLevelItemCount(); ++i)
        CollectNodes(tree->topLevelItem(i), nodes);
    return nodes;
}

// The category node with the given kind code under the root.
inline QTreeWidgetItem* Category(QTreeWidget* tree, int kind) {
    QTreeWidgetItem* root = tree->topLevelItem(0);
    for (int i = 0; root != nullptr && i < root->childCount(); ++i) {
        if (root->child(i)->data(0, TForm1::KindRole).toInt() == kind)
            return root->child(i);
    }
    return nullptr;
}

inline QStringList ChildTexts(QTreeWidgetItem* node) {
    QStringList texts;
    for (int i = 0; node != nullptr && i < node->childCount(); ++i) {
        texts.append(node->child(i)->text(0));
    }
    return texts;
}

// Selects the node as a click would and runs the tree's click handler.
inline void ClickNode(TForm1& form, QTreeWidgetItem* node) {
    form.TreeView1->setCurrentItem(node);
    Access::TreeView1Click(form);
}

// ---- Typing and modal windows

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

inline void Press(QPushButton* button) {
    QTest::mouseClick(button, Qt::LeftButton);
}

// Shows `dialog` modally and runs `steps(dialog)` inside its event loop;
// returns once the dialog is closed.
template <typename Dialog, typename Steps>
void ExecWith(Dialog& dialog, Steps steps) {
    QTimer::singleShot(0, &dialog, [&dialog, steps] { steps(dialog); });
    dialog.exec();
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

// Answers the next error box with OK, adding its text to `errors`.
inline ModalAnswer<QMessageBox> ErrorBoxInto(QStringList& errors) {
    return ModalAnswer<QMessageBox>([&errors](QMessageBox* box) {
        errors << box->text();
        box->accept();
    });
}

// ---- The parameter dialog

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
        Press(dialog->Button1);
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
    const auto errorBox = ErrorBoxInto(outcome.errors);
    ModalAnswer<TForm4> dialog([&input](TForm4* d) { FillForm4(d, input); });
    action();
    outcome.dialogShown = dialog.Seen();
    return outcome;
}

// A menu entry, as Act runs it.
inline Outcome Trigger(QAction* entry, const Form4Input& input = {}) {
    return Act([entry] { entry->trigger(); }, input);
}

// The entry of the drawing area's context menu with this text.
inline QAction* ContextEntry(TForm1& form, const QString& text) {
    for (QAction* action : form.Image1->actions()) {
        if (action->text() == text)
            return action;
    }
    return nullptr;
}

// A left click on the drawing area at (x, y) of the area.
inline Outcome ClickAt(TForm1& form, int x, int y, const Form4Input& input = {}) {
    return Act([&] { QTest::mouseClick(form.Image1, Qt::LeftButton, {}, QPoint(x, y)); }, input);
}

}  // namespace ui_test
