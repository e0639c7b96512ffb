// The load table editor: the typed text of the load matrix, stored into the
// network only by "сохранить изменения". Cells are addressed (column, row) as
// the user reads them: row 0 and column 0 are the host-number headers, cell
// (j, i) holds the load from host i to host j.
#pragma once

#include <QDialog>
#include <QString>

#include "netobj.h"
#include "ui_HNagr.h"

class TForm7 : public QDialog, public Ui::TForm7 {
    Q_OBJECT
public:
    explicit TForm7(QWidget* parent = nullptr);

    // Header cells 1..18 and "0" in every data cell.
    void FormCreate();
    // Copies the main window's LoadMatrix into the data cells.
    void ReloadStringGrid();

    QString Cell(int column, int row) const;
    void SetCell(int column, int row, const QString& text);

    // The two directions of ReloadStringGrid and Button1Click for a given network.
    void LoadGridFrom(const net::TNetObj& network);
    // Every cell is read and checked before any is stored: the first cell in
    // row-major order that is not a number raises the conversion error,
    // becomes the current cell, and nothing is stored.
    void StoreGridInto(net::TNetObj& network);

    // Stores every data cell into the main window's LoadMatrix, then closes;
    // with a cell that is not a number it stores nothing and stays open.
    void Button1Click();
    // After the error box of a store: the editor of the cell that is not a
    // number opens, for the user to mend it.
    void AfterError();

private:
    void CommitTypedText();
};

extern TForm7* Form7;
