#include "HNagr.h"

#include <QHeaderView>
#include <QTableWidgetItem>

#include "errors.h"
#include "fonts.h"
#include "guarded_connect.h"
#include "main.h"
#include "numconv.h"

TForm7* Form7 = nullptr;

TForm7::TForm7(QWidget* parent) : QDialog(parent) {
    setupUi(this);
    ApplyFontHeights(*this);
    move(property("designPosition").toPoint());
    // The header column is as wide as a data column and the header row as
    // high as a data row, as in the fixed cells of the grid.
    StringGrid1->verticalHeader()->setFixedWidth(
        StringGrid1->horizontalHeader()->defaultSectionSize());
    StringGrid1->horizontalHeader()->setFixedHeight(
        StringGrid1->verticalHeader()->defaultSectionSize());
    ui::ConnectHandler(Button1, &QPushButton::clicked, this, &TForm7::Button1Click);
    FormCreate();
}

void TForm7::FormCreate() {
    for (int n = 1; n <= net::MaxHosts; ++n) {
        SetCell(0, n, QString::number(n));
        SetCell(n, 0, QString::number(n));
    }
    for (int i = 1; i <= net::MaxHosts; ++i) {
        for (int j = 1; j <= net::MaxHosts; ++j) {
            SetCell(j, i, QStringLiteral("0"));
        }
    }
}

QString TForm7::Cell(int column, int row) const {
    if (column == 0 && row == 0)
        return QString();
    if (row == 0) {
        const QTableWidgetItem* item = StringGrid1->horizontalHeaderItem(column - 1);
        return item ? item->text() : QString();
    }
    if (column == 0) {
        const QTableWidgetItem* item = StringGrid1->verticalHeaderItem(row - 1);
        return item ? item->text() : QString();
    }
    const QTableWidgetItem* item = StringGrid1->item(row - 1, column - 1);
    return item ? item->text() : QString();
}

void TForm7::SetCell(int column, int row, const QString& text) {
    if (column == 0 && row == 0)
        return;
    if (row == 0) {
        StringGrid1->setHorizontalHeaderItem(column - 1, new QTableWidgetItem(text));
    } else if (column == 0) {
        StringGrid1->setVerticalHeaderItem(row - 1, new QTableWidgetItem(text));
    } else if (QTableWidgetItem* item = StringGrid1->item(row - 1, column - 1)) {
        item->setText(text);
    } else {
        StringGrid1->setItem(row - 1, column - 1, new QTableWidgetItem(text));
    }
}

void TForm7::LoadGridFrom(const net::TNetObj& network) {
    for (int i = 1; i <= net::MaxHosts; ++i) {
        for (int j = 1; j <= net::MaxHosts; ++j) {
            SetCell(j, i, QString::number(network.LoadMatrix[i][j]));
        }
    }
}

void TForm7::StoreGridInto(net::TNetObj& network) {
    net::HostMatrix<int32_t> typed = network.LoadMatrix;
    for (int i = 1; i <= net::MaxHosts; ++i) {
        for (int j = 1; j <= net::MaxHosts; ++j) {
            try {
                typed[i][j] = net::StrToInt(Cell(j, i).toStdString());
            } catch (const net::ConvertError&) {
                StringGrid1->setCurrentCell(i - 1, j - 1);
                throw;
            }
        }
    }
    network.LoadMatrix = typed;
}

void TForm7::AfterError() {
    // Opened only now: an editor open while the error box takes the focus
    // would be closed by it.
    if (QTableWidgetItem* item = StringGrid1->currentItem()) {
        StringGrid1->scrollToItem(item);
        StringGrid1->editItem(item);
    }
}

void TForm7::CommitTypedText() {
    // Leaving the current cell hands the text of an open in-place editor to
    // its cell; the same cell is then made current again.
    const QModelIndex current = StringGrid1->currentIndex();
    StringGrid1->setCurrentIndex(QModelIndex());
    StringGrid1->setCurrentIndex(current);
}

void TForm7::ReloadStringGrid() {
    LoadGridFrom(Form1->Net());
}

void TForm7::Button1Click() {
    CommitTypedText();
    StoreGridInto(Form1->Net());
    close();
}
