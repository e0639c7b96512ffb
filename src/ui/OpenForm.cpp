#include "OpenForm.h"

#include <QDir>
#include <QShowEvent>

#include "DirList.h"
#include "fonts.h"
#include "guarded_connect.h"
#include "row_height_delegate.h"

namespace {

constexpr int ListItemHeight = 13;

}  // namespace

TForm5* Form5 = nullptr;

TForm5::TForm5(QWidget* parent) : QDialog(parent) {
    setupUi(this);
    ApplyFontHeights(*this);
    ListBox1->setUniformItemSizes(true);
    ListBox1->setItemDelegate(new RowHeightDelegate(ListItemHeight, ListBox1));
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

void TForm5::showEvent(QShowEvent* event) {
    Confirmed = false;
    QDialog::showEvent(event);
}
