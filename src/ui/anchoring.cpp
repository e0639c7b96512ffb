#include "anchoring.h"

#include <QWidget>
#include <algorithm>

namespace {

// One dimension: kept at the near edge, moved with the far edge, or stretched.
void Follow(int& start, int& length, bool nearEdge, bool farEdge, int growth) {
    if (!farEdge)
        return;
    if (nearEdge) {
        length = std::max(0, length + growth);
    } else {
        start += growth;
    }
}

}  // namespace

void Anchoring::Record(QWidget& container, QSize designSize) {
    container_ = &container;
    designSize_ = designSize;
    anchors_.clear();
    for (QWidget* widget : container.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        const QStringList edges = widget->property("anchors").toString().split(',');
        anchors_.push_back({widget, widget->geometry(), edges.contains("left"),
                            edges.contains("top"), edges.contains("right"),
                            edges.contains("bottom")});
    }
}

void Anchoring::Apply() const {
    if (container_ == nullptr)
        return;
    const int dw = container_->width() - designSize_.width();
    const int dh = container_->height() - designSize_.height();
    for (const Anchor& a : anchors_) {
        int x = a.design.x(), y = a.design.y();
        int width = a.design.width(), height = a.design.height();
        Follow(x, width, a.left, a.right, dw);
        Follow(y, height, a.top, a.bottom, dh);
        a.widget->setGeometry(x, y, width, height);
    }
}
