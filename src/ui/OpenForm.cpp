#include "OpenForm.h"

TForm5* Form5 = nullptr;

TForm5::TForm5(QWidget* parent) : QDialog(parent) {
    setupUi(this);
    connect(Button1, &QPushButton::clicked, this, &TForm5::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TForm5::Button2Click);
}

void TForm5::Button1Click() {
    Confirmed = true;
    close();
}

void TForm5::Button2Click() {
    Confirmed = false;
    close();
}
