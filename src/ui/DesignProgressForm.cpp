#include "DesignProgressForm.h"

#include <algorithm>
#include <cmath>

#include "fonts.h"
#include "guarded_connect.h"

TDesignProgressForm::TDesignProgressForm(double seconds, QWidget* parent)
    : QDialog(parent), seconds_(seconds) {
    setupUi(this);
    ApplyFontHeights(*this);
    ui::ConnectHandler(Button1, &QPushButton::clicked, this, &TDesignProgressForm::Button1Click);
    clock_.start();
    ShowTime();
}

QString TDesignProgressForm::CostText(double cost) {
    if (!std::isfinite(cost))
        return QStringLiteral("-");
    return QString::number(cost, 'f', 3);
}

QString TDesignProgressForm::GapText(double cost, double bound) {
    if (!std::isfinite(cost) || !std::isfinite(bound) || bound <= 0.0)
        return QStringLiteral("-");
    return QString::number(std::max(0.0, (cost - bound) / bound * 100.0), 'f', 2) +
           QStringLiteral(" %");
}

void TDesignProgressForm::ShowProgress(const design::DesignProgress& progress) {
    Label1->setText(QStringLiteral("лучшая стоимость: %1").arg(CostText(progress.BestCost)));
    Label2->setText(QStringLiteral("граница: %1").arg(CostText(progress.Bound)));
    Label3->setText(QStringLiteral("разрыв: %1").arg(GapText(progress.BestCost, progress.Bound)));
    ShowTime();
}

void TDesignProgressForm::ShowTime() {
    const double elapsed = static_cast<double>(clock_.elapsed()) / 1000.0;
    QString text = QStringLiteral("прошло: %1 с из %2 с")
                       .arg(QString::number(elapsed, 'f', 1))
                       .arg(QString::number(seconds_, 'g', 6));
    if (stopAsked_)
        text += QStringLiteral(" — поиск останавливается…");
    Label4->setText(text);
    const double share = seconds_ > 0.0 ? std::clamp(elapsed / seconds_, 0.0, 1.0) : 1.0;
    ProgressBar1->setValue(static_cast<int>(std::lround(share * ProgressBar1->maximum())));
}

void TDesignProgressForm::Finish() {
    finished_ = true;
    done(QDialog::Accepted);
}

void TDesignProgressForm::reject() {
    if (finished_) {
        QDialog::reject();
        return;
    }
    Button1Click();
}

void TDesignProgressForm::Button1Click() {
    if (stopAsked_)
        return;
    stopAsked_ = true;
    Button1->setEnabled(false);
    ShowTime();
    emit StopRequested();
}
