#include "report_document.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QPdfWriter>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextObjectInterface>
#include <algorithm>
#include <cmath>

#include "errors.h"
#include "file_set_commit.h"
#include "network_picture.h"
#include "picture_file.h"
#include "report_sections.h"

namespace paint {
namespace {

constexpr double BodyPoints = 9.0;
constexpr double TablePoints = 8.0;
constexpr double FooterPoints = 7.5;
// No text of the report, the drawing's included, is smaller.
constexpr double SmallestPoints = 7.0;
// The drawing takes the width of the page, and at most this share of its height.
constexpr double DrawingHeightShare = 0.6;
constexpr int DrawingObjectType = QTextFormat::UserObject + 1;

// The drawing area of the main window at its designed size, grown so that no
// present host falls outside it, as the runner's pictures are.
constexpr int DesignedWidth = 573;
constexpr int DesignedHeight = 473;
constexpr int64_t HostMargin = 20;
constexpr int64_t LargestSide = 8192;

QSize PictureSizeOf(const net::TNetObj& net) {
    int64_t width = DesignedWidth;
    int64_t height = DesignedHeight;
    for (int32_t h = 1; h <= net::MaxHosts; ++h) {
        if (!net.HostPresent[h])
            continue;
        width = std::max(width, int64_t{net.Hosts[h].X} + HostMargin);
        height = std::max(height, int64_t{net.Hosts[h].Y} + HostMargin);
    }
    return QSize(static_cast<int>(std::min(width, LargestSide)),
                 static_cast<int>(std::min(height, LargestSide)));
}

QFont ReportFont(double points) {
    QFont font(PictureFont().family());
    font.setPointSizeF(points);
    return font;
}

// The picture of the network inside the text, painted by the painting
// library on whatever device the text is drawn on.
class DrawingObject : public QObject, public QTextObjectInterface {
    Q_OBJECT
    Q_INTERFACES(QTextObjectInterface)
public:
    DrawingObject(const net::TNetObj& net, QSize picture, double scale, const QFont& font,
                  QObject* parent)
        : QObject(parent), net_(net), picture_(picture), scale_(scale), font_(font) {}

    QSizeF intrinsicSize(QTextDocument*, int, const QTextFormat&) override {
        return QSizeF(picture_) * scale_;
    }

    void drawObject(QPainter* painter, const QRectF& rect, QTextDocument*, int,
                    const QTextFormat&) override {
        painter->save();
        painter->translate(rect.topLeft());
        painter->scale(scale_, scale_);
        painter->setClipRect(QRect(QPoint(0, 0), picture_), Qt::IntersectClip);
        CanvasPainter canvas(*painter, font_);
        PaintNetwork(canvas, net_, picture_);
        painter->restore();
    }

private:
    const net::TNetObj& net_;
    const QSize picture_;
    const double scale_;
    const QFont font_;
};

// Replaces the marker paragraph by the drawing, fitted to the page.
void InsertDrawing(QTextDocument& doc, const net::TNetObj& net, QSizeF page, double dpi) {
    QTextCursor marker = doc.find(DrawingMarker());
    if (marker.isNull())
        return;
    const QSize picture = PictureSizeOf(net);
    const double scale = std::min(page.width() / picture.width(),
                                  page.height() * DrawingHeightShare / picture.height());
    // The picture's own text, grown where the fitting would make it too small to read.
    QFont font = PictureFont();
    const double smallestPixels = SmallestPoints * dpi / 72.0 / scale;
    if (font.pixelSize() < smallestPixels)
        font.setPixelSize(static_cast<int>(std::ceil(smallestPixels)));
    doc.documentLayout()->registerHandler(DrawingObjectType,
                                          new DrawingObject(net, picture, scale, font, &doc));
    QTextCharFormat format;
    format.setObjectType(DrawingObjectType);
    marker.insertText(QString(QChar::ObjectReplacementCharacter), format);
}

QString StyleSheet() {
    return QStringLiteral(
               "h1 { font-size: 15pt; font-weight: bold; }"
               "h2 { font-size: 12pt; font-weight: bold; margin-top: 14px; }"
               "p { margin-top: 5px; margin-bottom: 5px; }"
               "table { font-size: %1pt; margin-top: 4px; margin-bottom: 4px; }"
               "th { background-color: #e0e0e0; font-weight: normal; font-size: 7pt; }"
               "td.busy { background-color: #ffd9a0; font-weight: bold; }")
        .arg(TablePoints);
}

// "TITLE — страница N из M" under the page's text; a long title is cut short
// so that the page numbers stay on the page.
void PaintFooter(QPainter& painter, const QPagedPaintDevice& device, const QString& title,
                 const QString& number, double top) {
    painter.save();
    const QFont font = ReportFont(FooterPoints);
    const QFontMetricsF metrics(font, &device);
    const QString tail = QStringLiteral(" — ") + number;
    const QString shown = metrics.elidedText(title, Qt::ElideMiddle,
                                             device.width() - metrics.horizontalAdvance(tail));
    painter.setFont(font);
    painter.setPen(QColor(64, 64, 64));
    painter.drawText(QRectF(0, top, device.width(), device.height() - top),
                     Qt::AlignHCenter | Qt::AlignBottom, shown + tail);
    painter.restore();
}

[[noreturn]] void Fail(const QString& file, const QString& reason) {
    throw net::IoError(
        QStringLiteral("Отчёт не записан в файл «%1»: %2").arg(file, reason).toStdString());
}

// What the renames of the commit could not put in place, said before the
// report is made.
void CheckTarget(const QString& file) {
    const QFileInfo target(file);
    if (target.isDir())
        Fail(file, QStringLiteral("на этом месте каталог"));
    if (target.exists() && !target.isFile())
        Fail(file, QStringLiteral("это не обычный файл"));
    if (target.suffix().toLower() != QStringLiteral("pdf"))
        Fail(file, QStringLiteral("имя должно оканчиваться на .pdf"));
    if (!QFileInfo(target.absolutePath()).isDir())
        Fail(file, QStringLiteral("нет каталога «%1»").arg(target.absolutePath()));
}

}  // namespace

int PaintReport(QPagedPaintDevice& device, const net::TNetObj& net, const ReportOptions& options) {
    const ReportData data = CollectReportData(net, options);
    const double dpi = device.logicalDpiY();
    const QFontMetricsF footer(ReportFont(FooterPoints), &device);
    const QSizeF page(device.width(), device.height() - 2.0 * footer.height());

    QTextDocument doc;
    doc.documentLayout()->setPaintDevice(&device);
    doc.setDefaultFont(ReportFont(BodyPoints));
    doc.setDefaultStyleSheet(StyleSheet());
    doc.setDocumentMargin(0);
    doc.setHtml(ReportHtml(
        data, {QFontMetricsF(ReportFont(TablePoints), &device), page.width(), dpi / 96.0}));
    InsertDrawing(doc, net, page, dpi);
    // Laid out whole once the drawing is in: a layout made before it would
    // keep the places of the text below it and skip that text on the pages.
    doc.setPageSize(page);

    const int pages = doc.pageCount();
    const QString title = QStringLiteral("Сеть «%1», отчёт от %2")
                              .arg(QString::fromStdString(net.NetworkName),
                                   options.Made.toString(QStringLiteral("dd.MM.yyyy HH:mm")));
    QPainter painter;
    if (!painter.begin(&device))
        throw net::IoError("Отчёт не напечатан: устройство не принимает страницы");
    for (int p = 0; p < pages; ++p) {
        if (p > 0)
            device.newPage();
        painter.save();
        painter.translate(0, -p * page.height());
        doc.drawContents(&painter, QRectF(0, p * page.height(), page.width(), page.height()));
        painter.restore();
        PaintFooter(painter, device, title,
                    QStringLiteral("страница %1 из %2").arg(p + 1).arg(pages), page.height());
    }
    painter.end();
    return pages;
}

int SaveReport(const QString& file, const net::TNetObj& net, const ReportOptions& options) {
    CheckTarget(file);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    int pages = 0;
    {
        QPdfWriter writer(&buffer);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageMargins(QMarginsF(15, 12, 15, 10), QPageLayout::Millimeter);
        writer.setResolution(300);
        writer.setTitle(
            QStringLiteral("Отчёт о сети «%1»").arg(QString::fromStdString(net.NetworkName)));
        writer.setCreator(QStringLiteral("netdesigner"));
        pages = PaintReport(writer, net, options);
    }
    try {
        net::ReplaceFilesTogether(
            {{QFile::encodeName(file).toStdString(), buffer.data().toStdString()}});
    } catch (const net::IoError& e) {
        Fail(file, QString::fromStdString(e.what()));
    }
    return pages;
}

}  // namespace paint

#include "report_document.moc"
