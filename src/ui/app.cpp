// The program: creates the seven windows in order and runs until the main
// window closes.
#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "HNagr.h"
#include "OpenForm.h"
#include "SaveForm.h"
#include "about.h"
#include "hcInfo.h"
#include "helpu.h"
#include "main.h"
#include "qt_translation.h"

namespace {

bool Set(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0';
}

// Without a display the toolkit would stop with a message of its own.
bool DisplayAvailable() {
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    if (platform != nullptr && *platform != '\0' && std::strncmp(platform, "xcb", 3) != 0 &&
        std::strncmp(platform, "wayland", 7) != 0) {
        return true;
    }
    return Set("DISPLAY") || Set("WAYLAND_DISPLAY");
}

// Every window opens where its layout places it.
void PlaceAtDesignPosition(QWidget& window) {
    const QVariant position = window.property("designPosition");
    if (position.isValid())
        window.move(position.toPoint());
}

}  // namespace

int main(int argc, char* argv[]) {
    if (!DisplayAvailable()) {
        std::fputs(
            "netdesigner: нет графического дисплея (DISPLAY не задан); запустите программу "
            "под виртуальным дисплеем: xvfb-run -a bash scripts/run.sh\n",
            stderr);
        return 1;
    }
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("netdesigner"));
    if (!InstallQtTranslation(application))
        std::fputs(
            "netdesigner: перевод текстов Qt на русский не найден (пакет "
            "qt6-translations-l10n)\n",
            stderr);

    TForm1 form1;
    Form1 = &form1;
    TForm2 form2;
    Form2 = &form2;
    TForm3 form3;
    Form3 = &form3;
    TForm4 form4;
    Form4 = &form4;
    TForm5 form5;
    Form5 = &form5;
    TForm6 form6;
    Form6 = &form6;
    TForm7 form7;
    Form7 = &form7;
    for (QWidget* window :
         std::initializer_list<QWidget*>{&form1, &form2, &form3, &form4, &form5, &form6, &form7}) {
        PlaceAtDesignPosition(*window);
    }

    form1.showMaximized();
    form1.OfferRecovery();
    return QApplication::exec();
}
