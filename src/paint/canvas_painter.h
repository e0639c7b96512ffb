// Drawing with the tools of a classic canvas through one QPainter: a pen, a
// brush and a font colour kept from one call to the next, one-pixel lines,
// ellipses in a bounding box and text on an opaque cell.
#pragma once

#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QRect>
#include <QString>

namespace paint {

class CanvasPainter {
public:
    // Text is drawn in `font` with plain pixels: every pixel of a letter is
    // either the font colour or the cell colour.
    CanvasPainter(QPainter& painter, const QFont& font);

    QColor PenColor{0, 0, 0};
    QColor BrushColor{255, 255, 255};
    QColor FontColor{0, 0, 0};

    // Fills the rectangle with the brush colour.
    void FillRect(const QRect& rect);
    // A solid line of one pixel in the pen colour.
    void Line(int x1, int y1, int x2, int y2);
    // The ellipse that fits the box from (x1, y1) to (x2, y2), the right and
    // bottom edges excluded: outline in the pen colour, inside in the brush colour.
    void Ellipse(int x1, int y1, int x2, int y2);
    // Text in the font colour on an opaque cell of the brush colour whose
    // top-left corner is (x, y).
    void TextOut(int x, int y, const QString& text);

private:
    QPainter& painter_;
    const QFont font_;
    const QFontMetrics metrics_;
};

}  // namespace paint
