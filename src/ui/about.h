// The about window: the program's name, version and purpose.
#pragma once

#include <QDialog>

#include "ui_about.h"

class TForm3 : public QDialog, public Ui::TForm3 {
    Q_OBJECT
public:
    explicit TForm3(QWidget* parent = nullptr);

public slots:
    void Button1Click();
};

extern TForm3* Form3;
