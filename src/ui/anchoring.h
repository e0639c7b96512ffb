// Anchoring as the layouts declare it: each direct child of a container
// names, in its "anchors" property, the container edges ("left", "top",
// "right", "bottom") it keeps its design distance to. Anchored to both
// opposite edges it stretches.
#pragma once

#include <QRect>
#include <QSize>
#include <vector>

class QWidget;

class Anchoring {
public:
    // Records the children's design geometry; `designSize` is the
    // container's size in the layout.
    void Record(QWidget& container, QSize designSize);
    // Places the children for the container's current size.
    void Apply() const;

private:
    struct Anchor {
        QWidget* widget;
        QRect design;
        bool left, top, right, bottom;
    };

    QWidget* container_ = nullptr;
    QSize designSize_;
    std::vector<Anchor> anchors_;
};
