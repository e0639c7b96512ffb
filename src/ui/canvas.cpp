#include "canvas.h"

#include <QMouseEvent>
#include <QPainter>

TImage::TImage(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TImage::FitPictureToArea() {
    if (picture_.size() == size())
        return;
    if (width() <= 0 || height() <= 0) {
        picture_ = QImage();
    } else {
        picture_ = QImage(size(), QImage::Format_RGB32);
        picture_.fill(Qt::black);
    }
    update();
}

void TImage::Paint(const std::function<void(paint::CanvasPainter&)>& steps) {
    if (picture_.isNull())
        return;
    {
        QPainter painter(&picture_);
        paint::CanvasPainter canvas(painter, font());
        canvas.PenColor = PenColor;
        canvas.BrushColor = BrushColor;
        canvas.FontColor = FontColor;
        steps(canvas);
        PenColor = canvas.PenColor;
        BrushColor = canvas.BrushColor;
        FontColor = canvas.FontColor;
    }
    update();
}

void TImage::FillRect(const QRect& rect) {
    Paint([&rect](paint::CanvasPainter& canvas) { canvas.FillRect(rect); });
}

void TImage::Line(int x1, int y1, int x2, int y2) {
    Paint([=](paint::CanvasPainter& canvas) { canvas.Line(x1, y1, x2, y2); });
}

void TImage::Ellipse(int x1, int y1, int x2, int y2) {
    Paint([=](paint::CanvasPainter& canvas) { canvas.Ellipse(x1, y1, x2, y2); });
}

void TImage::TextOut(int x, int y, const QString& text) {
    Paint([=, &text](paint::CanvasPainter& canvas) { canvas.TextOut(x, y, text); });
}

void TImage::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.fillRect(event->rect(), Qt::black);
    if (!picture_.isNull())
        painter.drawImage(0, 0, picture_);
}

void TImage::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        leftPressed_ = true;
    QWidget::mousePressEvent(event);
}

void TImage::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && leftPressed_) {
        leftPressed_ = false;
        if (rect().contains(event->position().toPoint()))
            emit Click(event->position().toPoint());
    }
    QWidget::mouseReleaseEvent(event);
}

void TImage::mouseDoubleClickEvent(QMouseEvent* event) {
    // It follows the second press: the release after it makes no click.
    if (event->button() == Qt::LeftButton) {
        leftPressed_ = false;
        emit DoubleClick(event->position().toPoint());
    }
}
