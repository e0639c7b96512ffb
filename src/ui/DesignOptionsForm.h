// The dialog of "проектирование сети…": whether the present channels stay,
// whether the design must survive the failure of any one channel, the
// largest utilisation of a channel and the time the search may take. A
// number out of range is reported naming its field, and the dialog stays
// open for another. The fields keep what was typed between showings.
#pragma once

#include <QDialog>
#include <QString>

#include "ui_DesignOptionsForm.h"

// What the search is asked to do.
struct DesignOptions {
    bool Keep = false;
    bool Survive = false;
    double Utilisation = 0.8;
    double Seconds = 30.0;
};

class TDesignOptionsForm : public QDialog, public Ui::TDesignOptionsForm {
    Q_OBJECT
public:
    static constexpr double MinSeconds = 1.0;
    static constexpr double MaxSeconds = 3600.0;

    explicit TDesignOptionsForm(QWidget* parent = nullptr);

    // The numbers as typed, with a point or a comma before the decimals;
    // a NetError names the field and the range when one is refused.
    static double ReadUtilisation(const QString& typed);
    static double ReadSeconds(const QString& typed);

    // Set by Button1Click alone, with what it read; cleared at every showing.
    bool Confirmed = false;
    DesignOptions Options;

public slots:
    // Reads both numbers; good ones confirm and close.
    void Button1Click();
    void Button2Click();

protected:
    void showEvent(QShowEvent* event) override;
};
