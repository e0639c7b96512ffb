#include "LoadGenForm.h"

#include <QLineEdit>
#include <QRegularExpression>
#include <QShowEvent>
#include <optional>

#include "errors.h"
#include "fonts.h"
#include "format_input.h"
#include "guarded_connect.h"
#include "load_scaling.h"
#include "numconv.h"

namespace {

std::string Quoted(const QString& typed) {
    return "«" + typed.toStdString() + "»";
}

int32_t TypedInt(const QLineEdit* edit, const std::string& what) {
    try {
        return net::StrToInt(edit->text().toStdString());
    } catch (const net::ConvertError&) {
        throw net::ConvertError(what + " " + Quoted(edit->text()) + " — не целое число");
    }
}

// A real number as typed, with a point or a comma before the decimals.
double TypedReal(const QString& typed, const std::string& what) {
    QString text = typed.trimmed();
    text.replace(QLatin1Char(','), QLatin1Char('.'));
    const std::optional<double> value = formats::ParseReal(text.toStdString());
    if (!value)
        throw net::ConvertError(what + " " + Quoted(typed) +
                                " — не число: пишется как 1, 0.5 или 2e3");
    return *value;
}

std::vector<double> TypedWeights(const QString& typed) {
    std::vector<double> weights;
    for (const QString& word :
         typed.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts))
        weights.push_back(TypedReal(word, "Вес"));
    return weights;
}

}  // namespace

TLoadGenForm::TLoadGenForm(QWidget* parent) : QDialog(parent) {
    setupUi(this);
    ApplyFontHeights(*this);
    ui::ConnectHandler(KindBox, &QComboBox::currentIndexChanged, this, &TLoadGenForm::KindChanged);
    for (QLineEdit* edit : Pages->findChildren<QLineEdit*>())
        ui::ConnectHandler(edit, &QLineEdit::textChanged, this, &TLoadGenForm::UpdatePreview);
    ui::ConnectHandler(AddBox, &QCheckBox::toggled, this, &TLoadGenForm::UpdatePreview);
    ui::ConnectHandler(SumRadio, &QRadioButton::toggled, this, &TLoadGenForm::UpdatePreview);
    ui::ConnectHandler(Button1, &QPushButton::clicked, this, &TLoadGenForm::Button1Click);
    ui::ConnectHandler(Button2, &QPushButton::clicked, this, &TLoadGenForm::Button2Click);
    KindChanged();
}

void TLoadGenForm::ShowNetwork(const net::TNetObj& network) {
    network_ = &network;
    UpdatePreview();
}

void TLoadGenForm::KindChanged() {
    const int kind = KindBox->currentIndex();
    QWidget* const pages[] = {UniformPage, WeightedPage, WeightedPage,
                              FactorPage,  TargetPage,   SymmetryPage};
    Pages->setCurrentWidget(pages[kind]);
    AlphaEdit->setEnabled(kind == kDistance);
    Label8->setEnabled(kind == kDistance);
    AddBox->setEnabled(kind <= kDistance);
    UpdatePreview();
}

net::LoadTable TLoadGenForm::GeneratedLoads() const {
    const int kind = KindBox->currentIndex();
    if (kind == kUniform) {
        net::UniformLoadParams params;
        params.Min = TypedInt(MinEdit, "Наименьшая нагрузка");
        params.Max = TypedInt(MaxEdit, "Наибольшая нагрузка");
        params.Seed = net::ParseSeed(SeedEdit->text().trimmed().toStdString());
        params.Density = TypedReal(DensityEdit->text(), "Доля пар");
        return net::UniformLoads(*network_, params);
    }
    const int32_t total = TypedInt(TotalEdit, "Сумма нагрузки");
    const std::vector<double> weights = TypedWeights(WeightsEdit->text());
    if (kind == kGravity)
        return net::GravityLoads(*network_, total, weights);
    const double alpha = TypedReal(AlphaEdit->text(), "Степень расстояния");
    return net::DistanceLoads(*network_, total, alpha, weights);
}

net::LoadTable TLoadGenForm::ComputeLoads() const {
    const net::TNetObj& network = *network_;
    switch (KindBox->currentIndex()) {
        case kFactor:
            return net::ScaledLoads(network.LoadMatrix,
                                    TypedReal(FactorEdit->text(), "Множитель нагрузки"));
        case kTarget:
            return optimize::ScaleToTarget(network,
                                           TypedReal(TargetEdit->text(), "Целевая загрузка"))
                .Loads;
        case kSymmetric:
            return net::SymmetricLoads(network.LoadMatrix, SumRadio->isChecked()
                                                               ? net::SymmetryRule::Sum
                                                               : net::SymmetryRule::Larger);
        default:
            return net::PlacedLoads(network, GeneratedLoads(),
                                    AddBox->isEnabled() && AddBox->isChecked()
                                        ? net::LoadPlacing::Add
                                        : net::LoadPlacing::Replace);
    }
}

void TLoadGenForm::UpdatePreview() {
    if (network_ == nullptr)
        return;
    // Typing passes through values that are not yet good: they are said here
    // and reach the error box only when applied.
    try {
        const net::LoadSummary summary = net::SummarizeLoads(*network_, ComputeLoads());
        PreviewLabel->setStyleSheet(QString());
        PreviewLabel->setText(QStringLiteral("сумма нагрузок %1, наибольшая %2")
                                  .arg(summary.Total)
                                  .arg(summary.Largest));
    } catch (const net::NetError& e) {
        PreviewLabel->setStyleSheet(QStringLiteral("color: #b00000"));
        PreviewLabel->setText(QString::fromStdString(e.what()));
    }
}

void TLoadGenForm::Button1Click() {
    Loads = ComputeLoads();
    Confirmed = true;
    close();
}

void TLoadGenForm::Button2Click() {
    Confirmed = false;
    close();
}

void TLoadGenForm::showEvent(QShowEvent* event) {
    Confirmed = false;
    QDialog::showEvent(event);
}
