// Helpers for the main window tests: a main window with its help and about
// windows, networks built through the model, and reading the drawing.
#pragma once

#include <QApplication>
#include <QColor>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QTimer>
#include <QTreeWidget>
#include <functional>
#include <memory>

#include "about.h"
#include "helpu.h"
#include "main.h"

namespace main_test {

inline const QRgb Black = qRgb(0, 0, 0);
inline const QRgb White = qRgb(255, 255, 255);
inline const QRgb Green = qRgb(0, 128, 0);
inline const QRgb Navy = qRgb(0, 0, 128);
inline const QRgb Red = qRgb(255, 0, 0);

// The main window with the two windows its menu opens, as the program
// creates them; the instance pointers are set while the object lives.
class Windows {
public:
    Windows() {
        form1 = std::make_unique<TForm1>();
        Form1 = form1.get();
        form2 = std::make_unique<TForm2>();
        Form2 = form2.get();
        form3 = std::make_unique<TForm3>();
        Form3 = form3.get();
    }
    ~Windows() {
        Form3 = nullptr;
        Form2 = nullptr;
        Form1 = nullptr;
    }
    TForm1& main() { return *form1; }
    net::TNetObj& net() { return form1->Net(); }

private:
    std::unique_ptr<TForm1> form1;
    std::unique_ptr<TForm2> form2;
    std::unique_ptr<TForm3> form3;
};

// Channel types 1.. with the given capacities.
inline void SetChannelCapacities(net::TNetObj& net, std::initializer_list<int> capacities) {
    net.ChannelTypeCount = 0;
    for (int capacity : capacities) {
        net.ChannelTypes[++net.ChannelTypeCount].Capacity = capacity;
    }
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

inline QRgb Pixel(const QImage& image, int x, int y) {
    return image.pixel(x, y) | 0xff000000u;
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
    form.TreeView1Click();
}

// Calls `answer` with the next modal window once it is up; `answer` closes it.
// Seen() tells whether it came.
class ModalWatch {
public:
    explicit ModalWatch(std::function<void(QWidget*)> answer) : state_(std::make_shared<State>()) {
        state_->answer = std::move(answer);
        Poll(state_);
    }
    ~ModalWatch() { state_->stopped = true; }
    ModalWatch(const ModalWatch&) = delete;
    ModalWatch& operator=(const ModalWatch&) = delete;
    bool Seen() const { return state_->seen; }

private:
    struct State {
        std::function<void(QWidget*)> answer;
        bool seen = false;
        bool stopped = false;
    };
    static void Poll(std::shared_ptr<State> state) {
        QTimer::singleShot(1, [state] {
            if (state->stopped)
                return;
            QWidget* modal = QApplication::activeModalWidget();
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

}  // namespace main_test
