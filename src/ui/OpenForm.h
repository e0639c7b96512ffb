// The open-project dialog: the subdirectories of the working directory as they were
// at start; Confirmed tells which button closed it last.
#pragma once

#include <QDialog>

#include "ui_OpenForm.h"

class TForm5 : public QDialog, public Ui::TForm5 {
    Q_OBJECT
public:
    explicit TForm5(QWidget* parent = nullptr);

    // Fills ListBox1 with the subdirectories of the working directory.
    void FormCreate();

    bool Confirmed = false;

public slots:
    void Button1Click();
    void Button2Click();
};

extern TForm5* Form5;
