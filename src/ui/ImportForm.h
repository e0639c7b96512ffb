// The dialog of "импорт сети…": what the chosen file holds, and the channel
// type for its links and the scale for its demands. Bad numbers are reported
// and the dialog stays open for others.
#pragma once

#include <QDialog>
#include <cstdint>

#include "network_import.h"
#include "ui_ImportForm.h"

class TImportForm : public QDialog, public Ui::TImportForm {
    Q_OBJECT
public:
    explicit TImportForm(QWidget* parent = nullptr);

    // Shows the file's name and what it holds.
    void ShowSource(const QString& fileName, const formats::SourceSummary& summary);

    // Set by Button1Click alone, with the numbers it read; cleared at every showing.
    bool Confirmed = false;
    int32_t ChannelType = 1;
    double Scale = 1.0;

public slots:
    // Reads both numbers; good ones confirm and close.
    void Button1Click();
    void Button2Click();

protected:
    void showEvent(QShowEvent* event) override;
};
