// The picture of the network as a file: PNG pixels or SVG drawing, painted by
// the same steps that paint the drawing area, so that a saved picture is the
// one on screen and an SVG scales in a report.
#pragma once

#include <QFont>
#include <QImage>
#include <QSize>
#include <QString>
#include <functional>

#include "canvas_painter.h"

namespace paint {

using PaintSteps = std::function<void(CanvasPainter&)>;

// Lets the layouts' classic "MS Sans Serif" stand for the platform's own
// sans-serif face; installed once, needs a running GUI application.
void InstallFontSubstitutes();

// The face of the picture: the main window's "MS Sans Serif" of height -11
// (11 pixels), standing for the platform's sans-serif face. Needs a running
// GUI application.
constexpr int PictureFontPixels = 11;
QFont PictureFont();

// The steps painted on a picture of `size`, black before they start.
QImage PaintedImage(QSize size, const QFont& font, const PaintSteps& steps);

enum class PictureFormat { Png, Svg };

// The format named by the file name's extension, in any case; an error
// naming the file for another extension.
PictureFormat PictureFormatOf(const QString& file);

// Paints the steps on a picture of `size` and writes it to `file`, as PNG or
// SVG by its extension. The file is replaced only once the whole picture is
// written; on a failure it keeps its old contents and an IoError names it.
void SavePicture(const QString& file, QSize size, const QFont& font, const PaintSteps& steps);

}  // namespace paint
