// The help window: a short guide to the buttons, click modes and menu
// commands, and what the delay figures mean.
#pragma once

#include <QDialog>

#include "ui_helpu.h"

class TForm2 : public QDialog, public Ui::TForm2 {
    Q_OBJECT
public:
    explicit TForm2(QWidget* parent = nullptr);

public slots:
    void Button1Click();
};

extern TForm2* Form2;
