// The drawing area of the main window: a picture that keeps what was painted
// on it until it is painted over. Showing it on screen only copies the
// picture; nothing is repainted from the network there.
#pragma once

#include <QColor>
#include <QImage>
#include <QString>
#include <QWidget>
#include <functional>

#include "canvas_painter.h"

class TImage : public QWidget {
    Q_OBJECT
public:
    explicit TImage(QWidget* parent = nullptr);

    // The picture as it stands.
    const QImage& Picture() const { return picture_; }
    // Gives the picture the current size of the area. A picture of another
    // size is replaced by a black one; the caller repaints it whole.
    void FitPictureToArea();

    // Drawing tools, kept from one call to the next.
    QColor PenColor{0, 0, 0};
    QColor BrushColor{255, 255, 255};
    QColor FontColor{0, 0, 0};

    // Runs `steps` with one painter on the picture, starting from the tools
    // above and keeping them as the steps leave them; then shows the result.
    void Paint(const std::function<void(paint::CanvasPainter&)>& steps);

    // One step each, as Paint runs it. Fills the rectangle with the brush colour.
    void FillRect(const QRect& rect);
    // A solid line of one pixel in the pen colour.
    void Line(int x1, int y1, int x2, int y2);
    // The ellipse that fits the box from (x1, y1) to (x2, y2), the right and
    // bottom edges excluded: outline in the pen colour, inside in the brush colour.
    void Ellipse(int x1, int y1, int x2, int y2);
    // Text in the font colour on an opaque cell of the brush colour whose
    // top-left corner is (x, y).
    void TextOut(int x, int y, const QString& text);

signals:
    // A press and release of the left button inside the area, at the point of
    // the release in the area's own coordinates.
    void Click(const QPoint& position);
    // The second press of a double click: reported apart, never as a second
    // click. The main window leaves it unanswered.
    void DoubleClick(const QPoint& position);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    QImage picture_;
    bool leftPressed_ = false;
};
