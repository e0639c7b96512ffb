#include "canvas_painter.h"

#include <QPen>

namespace paint {
namespace {

QFont PlainPixels(QFont font) {
    font.setStyleStrategy(QFont::NoAntialias);
    return font;
}

}  // namespace

CanvasPainter::CanvasPainter(QPainter& painter, const QFont& font)
    : painter_(painter), font_(PlainPixels(font)), metrics_(font_) {
    painter_.setFont(font_);
}

void CanvasPainter::FillRect(const QRect& rect) {
    painter_.fillRect(rect, BrushColor);
}

void CanvasPainter::Line(int x1, int y1, int x2, int y2) {
    painter_.setPen(QPen(PenColor, 1, Qt::SolidLine, Qt::FlatCap));
    painter_.drawLine(x1, y1, x2, y2);
}

void CanvasPainter::Ellipse(int x1, int y1, int x2, int y2) {
    painter_.setPen(QPen(PenColor, 1));
    painter_.setBrush(BrushColor);
    // With a one-pixel pen the outline of a w x h rectangle covers w + 1 x h + 1 pixels.
    painter_.drawEllipse(QRect(x1, y1, x2 - x1 - 1, y2 - y1 - 1));
}

void CanvasPainter::TextOut(int x, int y, const QString& text) {
    painter_.fillRect(QRect(x, y, metrics_.horizontalAdvance(text), metrics_.height()), BrushColor);
    painter_.setPen(FontColor);
    painter_.drawText(x, y + metrics_.ascent(), text);
}

}  // namespace paint
