// The dialog of "сохранить как": the name of a new project folder in the
// working directory. A name that cannot be used is reported and the dialog
// stays open for another.
#pragma once

#include <QDialog>

#include "ui_SaveAsForm.h"

class TForm8 : public QDialog, public Ui::TForm8 {
    Q_OBJECT
public:
    explicit TForm8(QWidget* parent = nullptr);

    // Set by Button1Click alone and cleared at every showing.
    bool Confirmed = false;

public slots:
    // Checks the name; a good one confirms and closes.
    void Button1Click();
    void Button2Click();

protected:
    void showEvent(QShowEvent* event) override;
};
