// The save-project dialog: the subdirectories of the working directory as they were
// at start; Confirmed tells which button closed it last.
#pragma once

#include <QDialog>

#include "ui_SaveForm.h"

class TForm6 : public QDialog, public Ui::TForm6 {
    Q_OBJECT
public:
    explicit TForm6(QWidget* parent = nullptr);

    // Fills ListBox1 with the subdirectories of the working directory.
    void FormCreate();

    bool Confirmed = false;

public slots:
    void Button1Click();
    void Button2Click();
};

extern TForm6* Form6;
