#include "HNagr.h"

TForm7* Form7 = nullptr;

TForm7::TForm7(QWidget* parent) : QDialog(parent) {
    setupUi(this);
    connect(Button1, &QPushButton::clicked, this, &TForm7::Button1Click);
}

void TForm7::Button1Click() {
    close();
}
