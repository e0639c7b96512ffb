#include "hcInfo.h"

#include <algorithm>
#include <initializer_list>

#include "fonts.h"
#include "guarded_connect.h"

TForm4* Form4 = nullptr;

TForm4::TForm4(QWidget* parent) : QDialog(parent) {
    setupUi(this);
    ApplyFontHeights(*this);
    move(property("designPosition").toPoint());
    // Captions grow to their text, as labels size themselves to their caption:
    // the platform's substitute font may need more room than designed.
    for (QWidget* caption : std::initializer_list<QWidget*>{Label1, Label2, CheckBox1}) {
        caption->resize(std::max(caption->width(), caption->sizeHint().width()), caption->height());
    }
    ui::ConnectHandler(Button1, &QPushButton::clicked, this, &TForm4::Button1Click);
}

void TForm4::Button1Click() {
    close();
}
