#include "render.h"

#include <QGuiApplication>
#include <QSize>
#include <QString>
#include <cstdio>
#include <string>

#include "errors.h"
#include "network_picture.h"
#include "picture_file.h"

namespace cli {
namespace {

// The drawing area of the main window at its designed size.
constexpr int DefaultWidth = 573;
constexpr int DefaultHeight = 473;
// Large enough for any screen and a printed page, small enough to allocate.
constexpr int MaxSide = 8192;

// Fonts and painting need a GUI application. Only this command makes one,
// on the offscreen platform whatever the environment says, so the other
// commands start without it and no display is needed.
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

int32_t Side(ScriptLine& line, const char* what) {
    const int32_t value = line.Int();
    if (value < 1 || value > MaxSide) {
        throw net::NetError(std::string(what) + " рисунка " + std::to_string(value) +
                            " вне пределов 1.." + std::to_string(MaxSide));
    }
    return value;
}

}  // namespace

void Render(Session& s, ScriptLine& line) {
    const QString file = QString::fromStdString(line.Word());
    QSize size(DefaultWidth, DefaultHeight);
    if (!line.AtEnd()) {
        const int32_t width = Side(line, "ширина");
        size = QSize(width, Side(line, "высота"));
    }
    line.End();
    paint::PictureFormatOf(file);  // a wrong name fails before anything starts
    EnsureGuiApplication();
    const net::TNetObj& net = s.net;
    paint::SavePicture(
        file, size, paint::PictureFont(),
        [&net, size](paint::CanvasPainter& canvas) { paint::PaintNetwork(canvas, net, size); });
}

}  // namespace cli
