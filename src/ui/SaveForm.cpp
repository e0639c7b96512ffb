#include "SaveForm.h"

#include <QDir>
#include <QShowEvent>

#include "DirList.h"
#include "fonts.h"
#include "guarded_connect.h"
#include "row_height_delegate.h"

namespace {

constexpr int ListItemHeight = 13;

}  // namespace

TForm6* Form6 = nullptr;

TForm6::TForm6(QWidget* parent) : QDialog(parent) {
    setupUi(this);
    ApplyFontHeights(*this);
    ListBox1->setUniformItemSizes(true);
    ListBox1->setItemDelegate(new RowHeightDelegate(ListItemHeight, ListBox1));
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

void TForm6::showEvent(QShowEvent* event) {
    Confirmed = false;
    QDialog::showEvent(event);
}
