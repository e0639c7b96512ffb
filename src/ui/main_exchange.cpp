// Networks of the exchange formats through the drawing's context menu:
// "импорт сети…" replaces the network by one read from an SNDlib or GML file,
// "экспорт сети…" writes the network in one of them.
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

#include "HNagr.h"
#include "ImportForm.h"
#include "main.h"
#include "menu_entries.h"
#include "network_export.h"
#include "network_import.h"

namespace {

std::string LocalPath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

QString ImportMessage(const net::TNetObj& net, const formats::ImportReport& report) {
    const formats::ImportCounts counts = formats::CountsOf(net);
    QString text = QStringLiteral("Сеть «%1»: маршрутизаторов %2, каналов %3, нагрузок %4.")
                       .arg(QString::fromStdString(net.NetworkName))
                       .arg(counts.hosts)
                       .arg(counts.channels)
                       .arg(counts.loads);
    if (report.Anything())
        text += QStringLiteral("\nПри импорте %1.").arg(QString::fromStdString(report.Text()));
    return text;
}

}  // namespace

void TForm1::ImportNetworkClick() {
    QFileDialog dialog(this, QStringLiteral("импорт сети"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    PlainDialog(dialog, QStringLiteral("открыть"));
    dialog.setNameFilters({QStringLiteral("сети SNDlib и GML (*.txt *.xml *.gml)"),
                           QStringLiteral("SNDlib (*.txt)"), QStringLiteral("SNDlib XML (*.xml)"),
                           QStringLiteral("GML (*.gml)")});
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    const QString chosen = dialog.selectedFiles().front();
    const std::string path = LocalPath(chosen);
    // The whole file is read and checked before anything is asked or changed.
    const formats::SourceNetwork source = formats::ReadNetworkFile(path);
    TImportForm form(this);
    form.ShowSource(QFileInfo(chosen).fileName(), formats::Summarize(source));
    form.exec();
    if (!form.Confirmed)
        return;
    const formats::ImportReport report = formats::MapIntoNetwork(
        source, formats::NetworkNameOfFile(path), form.ChannelType, form.Scale, *net_);
    if (Form7 != nullptr)
        Form7->ReloadStringGrid();
    RedrawAll();
    QMessageBox::information(this, QStringLiteral("импорт сети"), ImportMessage(*net_, report));
}

void TForm1::ExportNetworkClick() {
    QFileDialog dialog(this, QStringLiteral("экспорт сети"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    PlainDialog(dialog, QStringLiteral("сохранить"));
    SaveKinds(dialog, {{QStringLiteral("SNDlib (*.txt)"), QStringLiteral("txt")},
                       {QStringLiteral("GML (*.gml)"), QStringLiteral("gml")}});
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    formats::ExportNetworkFile(*net_, LocalPath(dialog.selectedFiles().front()));
}
