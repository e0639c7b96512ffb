// Unsaved work: the question before the main window closes, and the recovery
// copy that a program ended by a crash, a kill or a power cut leaves for the
// next start.
#include <QCloseEvent>
#include <QDateTime>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <cstdio>

#include "HNagr.h"
#include "error_handler.h"
#include "main.h"

namespace {

// A few seconds after a change the copy is written; the network is tens of
// kilobytes, so the user never sees it happen.
constexpr int RecoveryPeriodMs = 2000;

}  // namespace

void TForm1::MarkSaved(const std::string& folder) {
    clean_ = std::make_unique<net::TNetObj>(*net_);
    cleanFolder_ = folder;
    SaveRecoveryIfChanged();
}

bool TForm1::HasUnsavedChanges() const {
    return !net::SameProject(*net_, *clean_);
}

void TForm1::closeEvent(QCloseEvent* event) {
    bool mayClose = !HasUnsavedChanges();
    if (!mayClose)
        ui::RunHandler([&] { mayClose = AskToSaveBeforeClosing(); }, [this] { AfterError(); });
    if (mayClose)
        event->accept();
    else
        event->ignore();
}

bool TForm1::AskToSaveBeforeClosing() {
    QMessageBox box(QMessageBox::Question, QApplication::applicationName(),
                    QStringLiteral("Сохранить изменения в сети «%1»?")
                        .arg(QString::fromStdString(net_->NetworkName)),
                    QMessageBox::NoButton, this);
    QPushButton* save = box.addButton(QStringLiteral("Сохранить"), QMessageBox::AcceptRole);
    QPushButton* discard =
        box.addButton(QStringLiteral("Не сохранять"), QMessageBox::DestructiveRole);
    QPushButton* cancel = box.addButton(QStringLiteral("Отмена"), QMessageBox::RejectRole);
    box.setDefaultButton(save);
    box.setEscapeButton(cancel);
    box.exec();
    if (box.clickedButton() == discard)
        return true;
    if (box.clickedButton() != save)
        return false;
    if (cleanFolder_.empty())
        return SaveAsNewFolder();
    net_->SaveProject(cleanFolder_);
    MarkSaved(cleanFolder_);
    return true;
}

void TForm1::StartRecovery() {
    try {
        recovery_ = std::make_unique<net::RecoveryStore>(net::DefaultRecoveryRoot());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "netdesigner: %s\n", e.what());
        return;
    }
    auto* timer = new QTimer(this);
    connect(timer, &QTimer::timeout, this, &TForm1::SaveRecoveryIfChanged);
    timer->start(RecoveryPeriodMs);
}

void TForm1::SaveRecoveryIfChanged() {
    if (recovery_ == nullptr)
        return;
    try {
        if (!HasUnsavedChanges()) {
            if (recovery_->HoldsNetwork())
                recovery_->Clear();
            recovered_.reset();
        } else if (recovered_ == nullptr || !net::SameProject(*net_, *recovered_) ||
                   recovered_->NetworkName != net_->NetworkName) {
            recovery_->Write(*net_, cleanFolder_);
            recovered_ = std::make_unique<net::TNetObj>(*net_);
        }
    } catch (const std::exception& e) {
        // The user is not interrupted; the next period tries again.
        recovered_.reset();
        std::fprintf(stderr, "netdesigner: копия для восстановления не записана: %s\n", e.what());
    }
}

void TForm1::OfferRecovery() {
    if (recovery_ == nullptr)
        return;
    for (const auto& stale : net::RecoveryStore::FindStale(net::DefaultRecoveryRoot())) {
        const QString when =
            QDateTime::fromSecsSinceEpoch(stale->Modified()).toString("dd.MM.yyyy HH:mm");
        const QMessageBox::StandardButton answer = QMessageBox::question(
            this, QApplication::applicationName(),
            QStringLiteral("Восстановить несохранённую сеть «%1» (изменена %2)?")
                .arg(QString::fromStdString(stale->Info().NetworkName), when),
            QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes);
        if (answer != QMessageBox::Yes) {
            stale->Discard();
            continue;
        }
        bool restored = false;
        ui::RunHandler(
            [&] {
                stale->Restore(*net_);
                restored = true;
                cleanFolder_ = stale->Info().SourceFolder;
                // Ours now: written into this program's folder before the old one goes.
                SaveRecoveryIfChanged();
                stale->Discard();
                if (Form7 != nullptr)
                    Form7->ReloadStringGrid();
                RedrawAll();
            },
            [this] { AfterError(); });
        if (restored)
            return;
    }
}
