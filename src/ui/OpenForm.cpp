#include "OpenForm.h"

#include <QDir>

#include "DirList.h"
#include "guarded_connect.h"

TForm5* Form5 = nullptr;

TForm5::TForm5(QWidget* parent) : QDialog(parent) {
    setupUi(this);
    move(property("designPosition").toPoint());
    ui::ConnectHandler(Button1, &QPushButton::clicked, this, &TForm5::Button1Click);
    ui::ConnectHandler(Button2, &QPushButton::clicked, this, &TForm5::Button2Click);
    FormCreate();
}

void TForm5::FormCreate() {
    FillDirectoryList(*ListBox1, QDir::currentPath());
}

void TForm5::Button1Click() {
    Confirmed = true;
    close();
}

void TForm5::Button2Click() {
    Confirmed = false;
    close();
}
