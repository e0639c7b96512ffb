// The context menu of the drawing area and the results it offers: the
// single-failure analysis and the routing quality in their own windows (the
// design advisor's in main_design.cpp), the picture saved as PNG or SVG, the
// tables saved as CSV files for a spreadsheet, and the entries of the report
// (main_report.cpp).
#include <QAction>
#include <QFile>
#include <QFileDialog>
#include <QKeySequence>

#include "DesignForm.h"
#include "FailuresForm.h"
#include "QualityForm.h"
#include "csv_export.h"
#include "design_picture.h"
#include "failures.h"
#include "guarded_connect.h"
#include "main.h"
#include "menu_entries.h"
#include "picture_file.h"
#include "quality_csv.h"

void TForm1::BuildContextMenu() {
    UndoAction = MenuEntry(this, QStringLiteral("отменить"), {QKeySequence(Qt::CTRL | Qt::Key_Z)});
    RedoAction = MenuEntry(
        this, QStringLiteral("вернуть"),
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    FailuresAction = MenuEntry(this, QStringLiteral("анализ отказов"));
    QualityAction = MenuEntry(this, QStringLiteral("качество маршрутизации"));
    DesignAction = MenuEntry(this, QStringLiteral("проектирование сети…"));
    SavePictureAction = MenuEntry(this, QStringLiteral("сохранить рисунок…"));
    SaveTablesAction = MenuEntry(this, QStringLiteral("сохранить таблицы…"));
    ReportAction = MenuEntry(this, QStringLiteral("отчёт…"));
    PrintAction = MenuEntry(this, QStringLiteral("печать…"), {QKeySequence(Qt::CTRL | Qt::Key_P)});
    ImportNetworkAction = MenuEntry(this, QStringLiteral("импорт сети…"));
    ExportNetworkAction = MenuEntry(this, QStringLiteral("экспорт сети…"));
    LoadsAction = MenuEntry(this, QStringLiteral("нагрузка…"));
    Image1->addActions({UndoAction, RedoAction, Separator(this), FailuresAction, QualityAction,
                        DesignAction, Separator(this), SavePictureAction, SaveTablesAction,
                        ReportAction, PrintAction, Separator(this), ImportNetworkAction,
                        ExportNetworkAction, Separator(this), LoadsAction});
    Image1->setContextMenuPolicy(Qt::ActionsContextMenu);
    ui::ConnectHandler(UndoAction, &QAction::triggered, this, &TForm1::UndoClick);
    ui::ConnectHandler(RedoAction, &QAction::triggered, this, &TForm1::RedoClick);
    ui::ConnectHandler(FailuresAction, &QAction::triggered, this, &TForm1::FailuresClick);
    ui::ConnectHandler(QualityAction, &QAction::triggered, this, &TForm1::QualityClick);
    ui::ConnectHandler(DesignAction, &QAction::triggered, this, &TForm1::DesignClick);
    ui::ConnectHandler(SavePictureAction, &QAction::triggered, this, &TForm1::SavePictureClick);
    ui::ConnectHandler(SaveTablesAction, &QAction::triggered, this, &TForm1::SaveTablesClick);
    ui::ConnectHandler(ReportAction, &QAction::triggered, this, &TForm1::ReportClick);
    ui::ConnectHandler(PrintAction, &QAction::triggered, this, &TForm1::PrintClick);
    ui::ConnectHandler(ImportNetworkAction, &QAction::triggered, this,
                       &TForm1::Step<&TForm1::ImportNetworkClick>);
    ui::ConnectHandler(ExportNetworkAction, &QAction::triggered, this, &TForm1::ExportNetworkClick);
    ui::ConnectHandler(LoadsAction, &QAction::triggered, this, &TForm1::Step<&TForm1::LoadsClick>);
    UpdateHistoryActions();
}

void TForm1::FailuresClick() {
    const std::vector<net::FailureRow> rows = net::AnalyzeFailures(*net_);
    if (FailuresForm == nullptr) {
        FailuresForm = new TFailuresForm(this);
        ui::ConnectHandler(FailuresForm, &TFailuresForm::ElementChosen, this,
                           &TForm1::FailureRowClick);
    }
    FailuresForm->ShowRows(*net_, rows);
    FailuresForm->show();
    FailuresForm->raise();
    FailuresForm->activateWindow();
}

void TForm1::FailureRowClick(int kind, int number) {
    RedrawAll();
    // The window keeps the rows of its last analysis: the element may have
    // gone since, and a free slot's old record must not be drawn.
    const net::TNetObj& net = *net_;
    if (kind == static_cast<int>(net::FailedKind::Channel) && net::IsChannelNumber(number) &&
        net.ChannelPresent[number]) {
        ShowMark({paint::Mark::Channel, number, {}});
    } else if (kind == static_cast<int>(net::FailedKind::Host) && net::IsHostNumber(number) &&
               net.HostPresent[number]) {
        ShowMark({paint::Mark::Host, number, {}});
    }
}

void TForm1::QualityClick() {
    const optimize::QualityReport report = optimize::AnalyzeQuality(*net_);
    if (QualityForm == nullptr) {
        QualityForm = new TQualityForm(this);
        ui::ConnectHandler(QualityForm, &TQualityForm::ChannelsChosen, this,
                           &TForm1::QualityChannelsClick);
        ui::ConnectHandler(QualityForm, &TQualityForm::ApplyRequested, this,
                           &TForm1::Step<&TForm1::ApplyImprovedClick>);
    }
    QualityForm->ShowReport(*net_, report);
    QualityForm->show();
    QualityForm->raise();
    QualityForm->activateWindow();
}

void TForm1::ApplyImprovedClick() {
    optimize::ApplyImprovedRouting(*net_);
    UpdatePrTree();
    RedrawAll();
}

void TForm1::QualityChannelsClick(const std::vector<int>& channels) {
    RedrawAll();
    // The rows may be older than the network: only channels still present.
    paint::Mark mark{paint::Mark::Channels, 0, {}};
    for (const int channel : channels) {
        if (net::IsChannelNumber(channel) && net_->ChannelPresent[channel])
            mark.numbers.push_back(channel);
    }
    if (!mark.numbers.empty())
        ShowMark(mark);
}

void TForm1::ShowMark(const paint::Mark& mark) {
    mark_ = mark;
    const net::TNetObj& net = *net_;
    Image1->Paint(
        [&net, mark](paint::CanvasPainter& canvas) { paint::PaintMark(canvas, net, mark); });
}

void TForm1::SavePictureClick() {
    QFileDialog dialog(this, QStringLiteral("сохранить рисунок"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    PlainDialog(dialog, QStringLiteral("сохранить"));
    SaveKinds(dialog, {{QStringLiteral("рисунок PNG (*.png)"), QStringLiteral("png")},
                       {QStringLiteral("рисунок SVG (*.svg)"), QStringLiteral("svg")}});
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    // The picture as it stands: the network, the design of an open result
    // window and the mark over them.
    const net::TNetObj& net = *net_;
    const QSize size = Image1->Picture().size();
    const paint::Mark mark = mark_;
    const design::Design* shown =
        DesignForm != nullptr && DesignForm->Showing() ? DesignForm->ChosenDesign() : nullptr;
    paint::SavePicture(dialog.selectedFiles().front(), size, Image1->font(),
                       [&net, size, mark, shown](paint::CanvasPainter& canvas) {
                           paint::PaintNetwork(canvas, net, size);
                           if (shown != nullptr)
                               paint::PaintDesign(canvas, net, shown->Channels);
                           paint::PaintMark(canvas, net, mark);
                       });
}

void TForm1::SaveTablesClick() {
    QFileDialog dialog(this, QStringLiteral("сохранить таблицы в каталог"));
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    PlainDialog(dialog, QStringLiteral("выбрать"));
    dialog.setLabelText(QFileDialog::FileName, QStringLiteral("каталог:"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    optimize::ExportCsvWithQuality(*net_,
                                   QFile::encodeName(dialog.selectedFiles().front()).toStdString());
}
