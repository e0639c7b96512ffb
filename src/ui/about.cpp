#include "about.h"

#include "guarded_connect.h"

TForm3* Form3 = nullptr;

TForm3::TForm3(QWidget* parent) : QDialog(parent) {
    setupUi(this);
    Label1->setText(Label1->text().arg(QStringLiteral(NETD_VERSION)));
    // A caption and no buttons in the frame; "закрыть" closes the window.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setFixedSize(size());
    ui::ConnectHandler(Button1, &QPushButton::clicked, this, &TForm3::Button1Click);
}

void TForm3::Button1Click() {
    close();
}
