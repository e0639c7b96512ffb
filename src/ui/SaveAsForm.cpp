#include "SaveAsForm.h"

#include <QShowEvent>

#include "fonts.h"
#include "guarded_connect.h"
#include "project_folder.h"

TForm8::TForm8(QWidget* parent) : QDialog(parent) {
    setupUi(this);
    ApplyFontHeights(*this);
    ui::ConnectHandler(Button1, &QPushButton::clicked, this, &TForm8::Button1Click);
    ui::ConnectHandler(Button2, &QPushButton::clicked, this, &TForm8::Button2Click);
}

void TForm8::Button1Click() {
    CheckProjectFolderName(Edit1->text());
    Confirmed = true;
    close();
}

void TForm8::Button2Click() {
    Confirmed = false;
    close();
}

void TForm8::showEvent(QShowEvent* event) {
    Confirmed = false;
    QDialog::showEvent(event);
}
