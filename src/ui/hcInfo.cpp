#include "hcInfo.h"

TForm4* Form4 = nullptr;

TForm4::TForm4(QWidget* parent) : QDialog(parent) {
    setupUi(this);
    move(property("designPosition").toPoint());
    connect(Button1, &QPushButton::clicked, this, &TForm4::Button1Click);
}

void TForm4::Button1Click() {
    close();
}
