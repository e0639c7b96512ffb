// The parameter dialog: host name or number, type, and the box that makes the
// next click move the edited host. The program only reads its fields.
#pragma once

#include <QDialog>

#include "ui_hcInfo.h"

class TForm4 : public QDialog, public Ui::TForm4 {
    Q_OBJECT
public:
    explicit TForm4(QWidget* parent = nullptr);

public slots:
    void Button1Click();
};

extern TForm4* Form4;
