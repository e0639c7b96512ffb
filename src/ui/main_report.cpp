// The design report from the drawing's context menu: "отчёт…" writes it as a
// PDF file, "печать…" prints the same pages through the print dialog.
#include <QApplication>
#include <QFileDialog>
#include <QPrintDialog>
#include <QPrinter>

#include "main.h"
#include "menu_entries.h"
#include "report_document.h"

namespace {

// The report takes a moment on the largest networks: the pointer says so.
class WaitCursor {
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

}  // namespace

paint::ReportOptions TForm1::ReportContents() const {
    paint::ReportOptions options;
    options.Design = design_;
    return options;
}

void TForm1::ReportClick() {
    QFileDialog dialog(this, QStringLiteral("сохранить отчёт"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    PlainDialog(dialog, QStringLiteral("сохранить"));
    SaveKinds(dialog, {{QStringLiteral("отчёт PDF (*.pdf)"), QStringLiteral("pdf")}});
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    const WaitCursor wait;
    paint::SaveReport(dialog.selectedFiles().front(), *net_, ReportContents());
}

void TForm1::PrintClick() {
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setDocName(
        QStringLiteral("Отчёт о сети «%1»").arg(QString::fromStdString(net_->NetworkName)));
    QPrintDialog dialog(&printer, this);
    dialog.setWindowTitle(QStringLiteral("печать отчёта"));
    if (dialog.exec() != QDialog::Accepted)
        return;
    PrintReport(printer);
}

int TForm1::PrintReport(QPrinter& printer) {
    const WaitCursor wait;
    return paint::PaintReport(printer, *net_, ReportContents());
}
