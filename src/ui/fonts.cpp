#include "fonts.h"

#include <QFont>
#include <QVariant>
#include <QWidget>
#include <cstdlib>

namespace {

void ApplyFontHeight(QWidget& widget) {
    const QVariant height = widget.property("fontHeight");
    if (!height.isValid())
        return;
    QFont font = widget.font();
    font.setPixelSize(std::abs(height.toInt()));
    widget.setFont(font);
}

}  // namespace

void ApplyFontHeights(QWidget& window) {
    ApplyFontHeight(window);
    for (QWidget* child : window.findChildren<QWidget*>())
        ApplyFontHeight(*child);
}
