#include "picture_file.h"

#include <QFileInfo>
#include <QFontInfo>
#include <QPainter>
#include <QSaveFile>
#include <QSvgGenerator>

#include "errors.h"

namespace paint {
namespace {

[[noreturn]] void Fail(const QString& file, const QString& reason) {
    throw net::IoError(
        QStringLiteral("Рисунок не сохранён в файл «%1»: %2").arg(file, reason).toStdString());
}

void Paint(QPaintDevice& device, const QFont& font, const PaintSteps& steps) {
    QPainter painter(&device);
    CanvasPainter canvas(painter, font);
    steps(canvas);
}

// The SVG drawing, at the resolution of a picture so that the text takes
// the same size as on screen.
void WriteSvg(QSaveFile& out, QSize size, const QFont& font, const PaintSteps& steps) {
    QSvgGenerator svg;
    svg.setOutputDevice(&out);
    svg.setSize(size);
    svg.setViewBox(QRect(QPoint(0, 0), size));
    svg.setResolution(QImage(1, 1, QImage::Format_RGB32).logicalDpiX());
    svg.setTitle(QStringLiteral("Сеть передачи данных"));
    Paint(svg, font, steps);
}

}  // namespace

void InstallFontSubstitutes() {
    static bool installed = false;
    if (installed)
        return;
    installed = true;
    QFont sans(QStringLiteral("Sans Serif"));
    sans.setStyleHint(QFont::SansSerif);
    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QFontInfo(sans).family());
}

QFont PictureFont() {
    InstallFontSubstitutes();
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPixelSize(PictureFontPixels);
    // The face actually used, by its own name, so that an SVG names it too.
    font.setFamily(QFontInfo(font).family());
    return font;
}

QImage PaintedImage(QSize size, const QFont& font, const PaintSteps& steps) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::black);
    Paint(image, font, steps);
    return image;
}

PictureFormat PictureFormatOf(const QString& file) {
    const QString suffix = QFileInfo(file).suffix().toLower();
    if (suffix == QStringLiteral("png"))
        return PictureFormat::Png;
    if (suffix == QStringLiteral("svg"))
        return PictureFormat::Svg;
    Fail(file, QStringLiteral("имя должно оканчиваться на .png или .svg"));
}

void SavePicture(const QString& file, QSize size, const QFont& font, const PaintSteps& steps) {
    const PictureFormat format = PictureFormatOf(file);
    if (size.isEmpty())
        Fail(file, QStringLiteral("пустой размер рисунка"));
    // The new file is written beside the old one and put in its place: that
    // must not replace a directory or a device.
    const QFileInfo target(
        QFileInfo(file).canonicalFilePath().isEmpty() ? file : QFileInfo(file).canonicalFilePath());
    if (target.exists() && !target.isFile())
        Fail(file, QStringLiteral("это не обычный файл"));
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly))
        Fail(file, out.errorString());
    if (format == PictureFormat::Svg) {
        WriteSvg(out, size, font, steps);
    } else if (!PaintedImage(size, font, steps).save(&out, "PNG")) {
        out.cancelWriting();
        Fail(file, out.errorString());
    }
    if (!out.commit())
        Fail(file, out.errorString());
}

}  // namespace paint
