#include "DesignOptionsForm.h"

#include <QShowEvent>
#include <optional>

#include "errors.h"
#include "fonts.h"
#include "format_input.h"
#include "guarded_connect.h"
#include "network_design.h"

namespace {

std::optional<double> TypedReal(const QString& typed) {
    QString text = typed.trimmed();
    text.replace(QLatin1Char(','), QLatin1Char('.'));
    return formats::ParseReal(text.toStdString());
}

// A number of the field `field` within [low, high], or a NetError naming both.
double CheckedNumber(const QString& typed, const char* field, double low, double high,
                     const char* range) {
    const std::optional<double> value = TypedReal(typed);
    if (!value)
        throw net::NetError(std::string(field) + " «" + typed.toStdString() +
                            "» — не число: пишется как 0.8 или 0,8");
    if (*value < low || *value > high)
        throw net::NetError(std::string(field) + " " + typed.trimmed().toStdString() +
                            " вне допустимого: " + range);
    return *value;
}

}  // namespace

TDesignOptionsForm::TDesignOptionsForm(QWidget* parent) : QDialog(parent) {
    setupUi(this);
    ApplyFontHeights(*this);
    ui::ConnectHandler(Button1, &QPushButton::clicked, this, &TDesignOptionsForm::Button1Click);
    ui::ConnectHandler(Button2, &QPushButton::clicked, this, &TDesignOptionsForm::Button2Click);
}

double TDesignOptionsForm::ReadUtilisation(const QString& typed) {
    return CheckedNumber(typed, "Наибольшая загрузка канала", design::NetworkDesign::MinUtilisation,
                         design::NetworkDesign::MaxUtilisation, "от 0.05 до 1");
}

double TDesignOptionsForm::ReadSeconds(const QString& typed) {
    return CheckedNumber(typed, "Предел времени", MinSeconds, MaxSeconds, "от 1 до 3600 секунд");
}

void TDesignOptionsForm::Button1Click() {
    DesignOptions options;
    options.Keep = CheckBox1->isChecked();
    options.Survive = CheckBox2->isChecked();
    options.Utilisation = ReadUtilisation(Edit1->text());
    options.Seconds = ReadSeconds(Edit2->text());
    Options = options;
    Confirmed = true;
    close();
}

void TDesignOptionsForm::Button2Click() {
    Confirmed = false;
    close();
}

void TDesignOptionsForm::showEvent(QShowEvent* event) {
    Confirmed = false;
    QDialog::showEvent(event);
}
