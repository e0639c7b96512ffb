#include "SaveForm.h"

#include <QDir>

#include "DirList.h"
#include "guarded_connect.h"

TForm6* Form6 = nullptr;

TForm6::TForm6(QWidget* parent) : QDialog(parent) {
    setupUi(this);
    move(property("designPosition").toPoint());
    ui::ConnectHandler(Button1, &QPushButton::clicked, this, &TForm6::Button1Click);
    ui::ConnectHandler(Button2, &QPushButton::clicked, this, &TForm6::Button2Click);
    FormCreate();
}

void TForm6::FormCreate() {
    FillDirectoryList(*ListBox1, QDir::currentPath());
}

void TForm6::Button1Click() {
    Confirmed = true;
    close();
}

void TForm6::Button2Click() {
    Confirmed = false;
    close();
}
