#include "ImportForm.h"

#include <QShowEvent>

#include "fonts.h"
#include "format_input.h"
#include "guarded_connect.h"
#include "numconv.h"

namespace {

// The scale as typed, with a point or a comma before the decimals.
double TypedScale(const QString& typed) {
    QString text = typed.trimmed();
    text.replace(QLatin1Char(','), QLatin1Char('.'));
    const std::optional<double> value = formats::ParseReal(text.toStdString());
    if (!value)
        throw net::ConvertError("Масштаб нагрузки «" + typed.toStdString() +
                                "» — не число: пишется как 1, 0.5 или 2e3");
    return formats::CheckedScale(*value);
}

}  // namespace

TImportForm::TImportForm(QWidget* parent) : QDialog(parent) {
    setupUi(this);
    ApplyFontHeights(*this);
    ui::ConnectHandler(Button1, &QPushButton::clicked, this, &TImportForm::Button1Click);
    ui::ConnectHandler(Button2, &QPushButton::clicked, this, &TImportForm::Button2Click);
}

void TImportForm::ShowSource(const QString& fileName, const formats::SourceSummary& summary) {
    Label1->setText(QStringLiteral("файл «%1»").arg(fileName));
    Label2->setText(QStringLiteral("узлов %1, связей %2, требований %3 на сумму %4")
                        .arg(summary.nodes)
                        .arg(summary.links)
                        .arg(summary.demands)
                        .arg(QString::number(summary.demandTotal, 'g', 10)));
}

void TImportForm::Button1Click() {
    const int32_t type = net::StrToInt(Edit1->text().toStdString());
    const double scale = TypedScale(Edit2->text());
    ChannelType = type;
    Scale = scale;
    Confirmed = true;
    close();
}

void TImportForm::Button2Click() {
    Confirmed = false;
    close();
}

void TImportForm::showEvent(QShowEvent* event) {
    Confirmed = false;
    QDialog::showEvent(event);
}
