// The save-project dialog: the subdirectories of the working directory as they were
// at start; Confirmed tells whether its confirm button closed it this time.
#pragma once

#include <QDialog>

#include "ui_SaveForm.h"

class TForm6 : public QDialog, public Ui::TForm6 {
    Q_OBJECT
public:
    explicit TForm6(QWidget* parent = nullptr);

    // Fills ListBox1 with the subdirectories of the working directory.
    void FormCreate();

    // Set by Button1Click alone and cleared at every showing: closing the
    // dialog in any other way confirms nothing.
    bool Confirmed = false;

public slots:
    void Button1Click();
    void Button2Click();

protected:
    void showEvent(QShowEvent* event) override;
};

extern TForm6* Form6;
