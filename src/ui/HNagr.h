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
    // Row by row, each cell stored at once; a cell that is not a number stops
    // the store there with the conversion error, earlier cells kept.
    void StoreGridInto(net::TNetObj& network) const;

    // Stores every data cell into the main window's LoadMatrix, then closes.
    void Button1Click();

private:
    void CommitTypedText();
};

extern TForm7* Form7;
