// The module netdesigner-render: the picture of the network drawn offscreen
// by the windows' painting library, and the report built around it.
#include <QGuiApplication>
#include <QSize>
#include <QString>
#include <cstdio>

#include "network_picture.h"
#include "picture_file.h"
#include "render.h"
#include "report_document.h"

namespace {

// Fonts and painting need a GUI application, on the offscreen platform
// whatever the environment says, so that no display is needed.
void EnsureGuiApplication() {
    if (QGuiApplication::instance() != nullptr)
        return;
    static int argc = 3;
    static char name[] = "netdesigner-cli";
    static char platformOption[] = "-platform";
    static char platform[] = "offscreen";
    static char* argv[] = {name, platformOption, platform, nullptr};
    // The runner reports its own errors; the platform's notes are not for its users.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
        if (type == QtCriticalMsg || type == QtFatalMsg)
            std::fputs((text + QStringLiteral("\n")).toLocal8Bit().constData(), stderr);
    });
    static QGuiApplication application(argc, argv);
}

}  // namespace

extern "C" __attribute__((visibility("default"))) void NetdRenderPicture(const net::TNetObj& net,
                                                                         const char* file,
                                                                         int width, int height) {
    const QString name = QString::fromLocal8Bit(file);
    paint::PictureFormatOf(name);  // a wrong name fails before Qt starts
    EnsureGuiApplication();
    const QSize size(width, height);
    paint::SavePicture(
        name, size, paint::PictureFont(),
        [&net, size](paint::CanvasPainter& canvas) { paint::PaintNetwork(canvas, net, size); });
}

extern "C" __attribute__((visibility("default"))) void NetdWriteReport(const net::TNetObj& net,
                                                                       const char* file) {
    const QString name = QString::fromLocal8Bit(file);
    EnsureGuiApplication();
    paint::SaveReport(name, net, paint::ReportOptions{});
}
