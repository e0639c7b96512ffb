// The load table editor: the typed text of the load matrix, stored into the
// network only by "сохранить изменения".
#pragma once

#include <QDialog>

#include "ui_HNagr.h"

class TForm7 : public QDialog, public Ui::TForm7 {
    Q_OBJECT
public:
    explicit TForm7(QWidget* parent = nullptr);

public slots:
    void Button1Click();
};

extern TForm7* Form7;
