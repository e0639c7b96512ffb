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

QFont TImage::TextFont() const {
    // Plain pixels, as on a classic canvas: every pixel of a letter is either
    // the font colour or the cell colour.
    QFont result = font();
    result.setStyleStrategy(QFont::NoAntialias);
    return result;
}

void TImage::FillRect(const QRect& rect) {
    if (picture_.isNull())
        return;
    QPainter painter(&picture_);
    painter.fillRect(rect, BrushColor);
    update();
}

void TImage::Line(int x1, int y1, int x2, int y2) {
    if (picture_.isNull())
        return;
    QPainter painter(&picture_);
    painter.setPen(QPen(PenColor, 1, Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(x1, y1, x2, y2);
    update();
}

void TImage::Ellipse(int x1, int y1, int x2, int y2) {
    if (picture_.isNull())
        return;
    QPainter painter(&picture_);
    painter.setPen(QPen(PenColor, 1));
    painter.setBrush(BrushColor);
    // With a one-pixel pen the outline of a w x h rectangle covers w + 1 x h + 1 pixels.
    painter.drawEllipse(QRect(x1, y1, x2 - x1 - 1, y2 - y1 - 1));
    update();
}

void TImage::TextOut(int x, int y, const QString& text) {
    if (picture_.isNull())
        return;
    QPainter painter(&picture_);
    const QFont textFont = TextFont();
    painter.setFont(textFont);
    const QFontMetrics metrics(textFont);
    painter.fillRect(QRect(x, y, metrics.horizontalAdvance(text), metrics.height()), BrushColor);
    painter.setPen(FontColor);
    painter.drawText(x, y + metrics.ascent(), text);
    update();
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
