// The design report: its sections as the network gives them, read back from
// the PDF with poppler-utils; the drawing's menu entries and printing.
#include <QFileDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "DesignForm.h"
#include "DesignOptionsForm.h"
#include "HNagr.h"
#include "errors.h"
#include "report_document.h"
#include "report_sections.h"
#include "test_support.h"

using namespace ui_test;

namespace {

QString Poppler(const QString& tool, const QStringList& arguments) {
    QProcess process;
    process.start(tool, arguments);
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        return QString();
    return QString::fromUtf8(process.readAllStandardOutput());
}

QString PdfText(const QString& pdf) {
    return Poppler("pdftotext", {"-layout", pdf, "-"});
}

int PdfPages(const QString& pdf) {
    const QRegularExpressionMatch pages =
        QRegularExpression("Pages:\\s+(\\d+)").match(Poppler("pdfinfo", {pdf}));
    return pages.hasMatch() ? pages.captured(1).toInt() : -1;
}

// The images of the file, one line each (the two header lines dropped).
QStringList PdfImages(const QString& pdf) {
    QStringList lines = Poppler("pdfimages", {"-list", pdf}).split('\n', Qt::SkipEmptyParts);
    return lines.mid(2);
}

// The height, in points, of the smallest word of the file.
double SmallestWord(const QString& pdf) {
    const QString boxes = Poppler("pdftotext", {"-bbox", pdf, "-"});
    static const QRegularExpression word("yMin=\"([0-9.]+)\" xMax=\"[0-9.]+\" yMax=\"([0-9.]+)\"");
    double smallest = 1e9;
    for (const QRegularExpressionMatch& m : word.globalMatch(boxes))
        smallest = std::min(smallest, m.captured(2).toDouble() - m.captured(1).toDouble());
    return smallest;
}

// Lines of the layout text that are rows of the failure table.
int FailureRows(const QString& text) {
    static const QRegularExpression row("^(канал \\d+ \\(\\d+-\\d+\\)|маршрутизатор \\d+) +сеть",
                                        QRegularExpression::MultilineOption);
    int rows = 0;
    for (auto it = row.globalMatch(text); it.hasNext(); it.next())
        ++rows;
    return rows;
}

// Three hosts in a row, two channels of a 10000 type, two demands.
void SmallNetwork(net::TNetObj& net) {
    SetCapacities(net, {10000, 20000});
    AddHosts(net, {{100, 100}, {300, 100}, {500, 100}});
    net.AddChannel(1, 2, 1);
    net.AddChannel(2, 3, 1);
    net.LoadMatrix[1][3] = 3000;
    net.LoadMatrix[3][2] = 1000;
}

// Hosts 1 (100, 100), 2 (300, 100) and 3 (100, 300), one channel type of
// 10000 costing 1 a pixel, 1000 between every two hosts: the cheapest design
// joins 1-2 and 1-3 (400), far from any time limit.
void Corner(net::TNetObj& net) {
    SetCapacities(net, {10000});
    net.ChannelTypes[1].Value2 = 1;
    AddHosts(net, {{100, 100}, {300, 100}, {100, 300}});
    for (int a = 1; a <= 3; ++a) {
        for (int b = 1; b <= 3; ++b)
            net.LoadMatrix[a][b] = a == b ? 0 : 1000;
    }
}

// "проектирование сети…" at utilisation 0,8, keeping the present channels or not.
void DesignFromWindow(TForm1& form, bool keep) {
    ModalAnswer<TDesignOptionsForm> dialog([keep](TDesignOptionsForm* d) {
        d->CheckBox1->setChecked(keep);
        d->CheckBox2->setChecked(false);
        RetypeText(d->Edit1, "0,8");
        RetypeText(d->Edit2, "20");
        Press(d->Button1);
    });
    ContextEntry(form, "проектирование сети…")->trigger();
    QVERIFY(dialog.Seen());
    auto* window = form.findChild<TDesignForm*>();
    QVERIFY(window != nullptr && window->isVisible() && window->ChosenDesign() != nullptr);
}

bool HasRow(const QString& text, const QString& pattern) {
    return QRegularExpression(pattern, QRegularExpression::MultilineOption).match(text).hasMatch();
}

const QString DesignHeading = "Предложение советника по проектированию";

// The headings of the sections that need a routing.
const QStringList RoutingHeadings = {"Пути и неразмещённые требования", "Качество маршрутизации",
                                     "Одиночные отказы"};

}  // namespace

class ReportTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;

    QString Saved(const net::TNetObj& net, const paint::ReportOptions& options = {}) {
        const QString pdf = dir_.filePath("report.pdf");
        paint::SaveReport(pdf, net, options);
        return pdf;
    }

    // The text of the report the drawing's "отчёт…" writes.
    QString FromWindow(TForm1& form) {
        const QString pdf = dir_.filePath("from-window.pdf");
        QFile::remove(pdf);
        ModalAnswer<QFileDialog> dialog([pdf](QFileDialog* d) {
            d->selectFile(pdf);
            static_cast<QDialog*>(d)->accept();
        });
        QStringList errors;
        const auto errorBox = ErrorBoxInto(errors);
        ContextEntry(form, "отчёт…")->trigger();
        if (!errors.isEmpty())
            return "error: " + errors.join("; ");
        return PdfText(pdf);
    }

private slots:
    void initTestCase() {
        QApplication::setApplicationName("netdesigner");
        QVERIFY(dir_.isValid());
    }

    void networkWithoutHostsIsOnePageThatSaysSo() {
        net::TNetObj net;
        net.Reset();
        // Signs of markup and of text substitution are the name's own.
        net.NetworkName = "a<b>&%2";
        const QString pdf = Saved(net);
        QCOMPARE(PdfPages(pdf), 1);
        const QString text = PdfText(pdf);
        QVERIFY(text.contains("Отчёт о сети «a<b>&%2»"));
        QVERIFY(text.contains("Сеть «a<b>&%2», отчёт от "));
        QVERIFY(text.contains(" — страница 1 из 1"));
        QVERIFY(text.contains("В сети нет маршрутизаторов"));
        QVERIFY(!text.contains("Каналы связи"));
    }

    void longNameKeepsThePageNumbers() {
        net::TNetObj net;
        SmallNetwork(net);
        net.NetworkName = QString("очень длинное имя ").repeated(20).toStdString();
        const QString text = PdfText(Saved(net));
        // Cut in its middle, on one line with the page number.
        QVERIFY(QRegularExpression("Сеть «очень[^»\\n]*…[^»\\n]*имя », отчёт от [^\\n]* — "
                                   "страница 1 из \\d+\\n")
                    .match(text)
                    .hasMatch());
    }

    void neverRoutedHasNoRoutingSectionsAndSaysHowToGetThem() {
        net::TNetObj net;
        SmallNetwork(net);
        QString text = PdfText(Saved(net));
        QVERIFY(text.contains("Связность: сеть связна."));
        QVERIFY(text.contains("«статическая маршрутизация»"));
        QVERIFY(!text.contains("загрузка, %"));
        for (const QString& heading : RoutingHeadings)
            QVERIFY2(!text.contains(heading), qPrintable(heading));

        net.RouteAll();
        text = PdfText(Saved(net));
        QVERIFY(!text.contains("Маршрутизация не выполнялась"));
        QVERIFY(text.contains("загрузка, %"));
        for (const QString& heading : RoutingHeadings)
            QVERIFY2(text.contains(heading), qPrintable(heading));
        // Demand 1 -> 3 of 3000 over both channels, 3 -> 2 of 1000 over the second.
        QVERIFY(QRegularExpression("^ *1 +1-2 +1 +10000 .* 3000 +30\\.0 ",
                                   QRegularExpression::MultilineOption)
                    .match(text)
                    .hasMatch());
        QVERIFY(QRegularExpression("^ *2 +2-3 +1 +10000 .* 4000 +40\\.0 ",
                                   QRegularExpression::MultilineOption)
                    .match(text)
                    .hasMatch());
    }

    void routingOlderThanTheLoadsIsPointedOut() {
        net::TNetObj net;
        SmallNetwork(net);
        net.RouteAll();
        const QString warning = "не соответствуют нынешней таблице нагрузок";
        QVERIFY(!PdfText(Saved(net)).contains(warning));
        net.LoadMatrix[2][1] = 500;
        QVERIFY(PdfText(Saved(net)).contains(warning));
        net.LoadMatrix[2][1] = 0;
        net.LoadMatrix[1][3] = 0;
        QVERIFY(PdfText(Saved(net)).contains(warning));
    }

    void designResultIsPrintedOnlyWhenGiven() {
        net::TNetObj net;
        SmallNetwork(net);
        net.RouteAll();
        QVERIFY(!PdfText(Saved(net)).contains("советника"));
        paint::ReportOptions options;
        options.Design = paint::DesignSummary{
            "оптимальное решение", 1234.5, 1200.25, {{1, 2, 1, true}, {1, 3, 2, false}}};
        const QString text = PdfText(Saved(net, options));
        QVERIFY(text.contains("Предложение советника по проектированию"));
        QVERIFY(text.contains("Итог поиска: оптимальное решение."));
        QVERIFY(
            text.contains("Стоимость предложенной сети: 1234.50; нижняя граница стоимости: "
                          "1200.25."));
        QVERIFY(text.contains("Предложенные каналы: 2."));
        const auto row = [&text](const QString& pattern) {
            return QRegularExpression(pattern, QRegularExpression::MultilineOption)
                .match(text)
                .hasMatch();
        };
        QVERIFY(row("^ *1 +1-2 +1 +10000 +оставлен *$"));
        QVERIFY(row("^ *2 +1-3 +2 +20000 +новый *$"));
    }

    void designSectionFollowsTheResultWindow() {
        Windows w(Windows::All);
        TForm1& form = w.main();
        Corner(w.net());
        w.net().AddChannel(2, 3, 1);
        form.RedrawAll();
        Form7->ReloadStringGrid();
        QVERIFY(!FromWindow(form).contains(DesignHeading));

        DesignFromWindow(form, false);
        auto* window = form.findChild<TDesignForm*>();
        QVERIFY(window != nullptr);
        QString text = FromWindow(form);
        QVERIFY2(text.contains(DesignHeading), qPrintable(text));
        QVERIFY(text.contains("Итог поиска: оптимальное решение."));
        QVERIFY(text.contains("Стоимость предложенной сети: 400.00;"));
        QVERIFY(text.contains("Предложенные каналы: 2."));
        QVERIFY(HasRow(text, "^ *1 +1-2 +1 +10000 +новый *$"));
        QVERIFY(HasRow(text, "^ *2 +1-3 +1 +10000 +новый *$"));

        // Without keeping, the design rests not on the channels: it stays.
        form.N16->trigger();  // "удалить все каналы"
        QCOMPARE(w.net().ChannelCount, 0);
        QVERIFY(FromWindow(form).contains(DesignHeading));

        // A load typed into the table is another network: no section, until undone.
        {
            ModalAnswer<TForm7> table([](TForm7* d) {
                d->StringGrid1->setItem(0, 1, new QTableWidgetItem("1500"));  // from 1 to 2
                Press(d->Button1);
            });
            form.N21->trigger();
            QVERIFY(table.Seen());
        }
        QCOMPARE(w.net().LoadMatrix[1][2], 1500);
        QCOMPARE(w.net().LoadMatrix[2][1], 1000);
        QVERIFY(window->isVisible());
        QVERIFY(!FromWindow(form).contains(DesignHeading));
        ContextEntry(form, "отменить")->trigger();
        QCOMPARE(w.net().LoadMatrix[1][2], 1000);
        QVERIFY(FromWindow(form).contains("Итог поиска: оптимальное решение."));
        ContextEntry(form, "вернуть")->trigger();
        QVERIFY(!FromWindow(form).contains(DesignHeading));
        ContextEntry(form, "отменить")->trigger();

        // Closed, the window takes the section with it.
        Press(window->Button1);
        QVERIFY(!FromWindow(form).contains(DesignHeading));

        // Applied, the design is the network: nothing is left to propose.
        DesignFromWindow(form, false);
        QVERIFY(FromWindow(form).contains(DesignHeading));
        Press(window->Button2);
        QCOMPARE(w.net().ChannelCount, 2);
        QVERIFY(!window->isVisible());
        QVERIFY(!FromWindow(form).contains(DesignHeading));
        ContextEntry(form, "отменить")->trigger();
        QCOMPARE(w.net().ChannelCount, 0);
        QVERIFY(!FromWindow(form).contains(DesignHeading));
    }

    void keptChannelsAreTheDesignsGround() {
        Windows w(Windows::All);
        TForm1& form = w.main();
        Corner(w.net());
        w.net().AddChannel(1, 2, 1);
        form.RedrawAll();
        DesignFromWindow(form, true);
        const QString text = FromWindow(form);
        QVERIFY2(text.contains("Стоимость предложенной сети: 200.00;"), qPrintable(text));
        QVERIFY(HasRow(text, "^ *1 +1-2 +1 +10000 +оставлен *$"));
        QVERIFY(HasRow(text, "^ *2 +1-3 +1 +10000 +новый *$"));
        // The kept channel gone, the design no longer fits the network.
        form.N16->trigger();
        QCOMPARE(w.net().ChannelCount, 0);
        QVERIFY(!FromWindow(form).contains(DesignHeading));
    }

    void worstFailuresStopAtTen() {
        // Ring sample: 8 channels and 8 hosts, 16 failures.
        net::TNetObj net;
        net.Reset();
        net.LoadProject(NETD_DATA_DIR "/projects/ring");
        net.RouteAll();
        QCOMPARE(FailureRows(PdfText(Saved(net))), paint::WorstFailureRows);
        // Three hosts in a row: two channels and three hosts, five failures.
        net::TNetObj small;
        SmallNetwork(small);
        small.RouteAll();
        QCOMPARE(FailureRows(PdfText(Saved(small))), 5);
    }

    void loadMatrixWhenItFitsElseAList() {
        QVERIFY(paint::LoadMatrixFits(18, 8.0, 2.0, 190.0));
        QVERIFY(!paint::LoadMatrixFits(18, 8.0, 2.0, 189.99));
        QVERIFY(!paint::LoadMatrixFits(18, 8.01, 2.0, 190.0));

        net::TNetObj net;
        SetCapacities(net, {2000000000});
        for (int h = 0; h < net::MaxHosts; ++h)
            net.AddHost(30 + 30 * h, 50 + 20 * (h % 4), "h", 1);
        net.LoadMatrix[1][2] = 7;
        QString text = PdfText(Saved(net));
        QVERIFY(text.contains("Таблица нагрузок (строка — откуда, столбец — куда)"));
        QVERIFY(!text.contains("списком"));
        net.LoadMatrix[4][9] = 1999999999;
        text = PdfText(Saved(net));
        QVERIFY(text.contains("требования списком"));
        QVERIFY(QRegularExpression("^ *1 +2 +7 +4 +9 +1999999999 *$",
                                   QRegularExpression::MultilineOption)
                    .match(text)
                    .hasMatch());
    }

    void drawingStaysLinesAndTextReadableAtAnySize() {
        net::TNetObj net;
        SmallNetwork(net);
        net.RouteAll();
        QString pdf = Saved(net);
        QVERIFY(PdfImages(pdf).isEmpty());
        // The delay figures of the drawing are text: channel 1 at 10000 - 3000.
        QVERIFY(PdfText(pdf).count("0.429") >= 2);
        QVERIFY(SmallestWord(pdf) >= 7.0);
        // A host far right shrinks the drawing to the page: its text grows back.
        net.UpdateHost(3, 8000, 100, "далеко", 1);
        pdf = Saved(net);
        QVERIFY(PdfImages(pdf).isEmpty());
        QVERIFY2(SmallestWord(pdf) >= 7.0, qPrintable(QString::number(SmallestWord(pdf))));
    }

    void failingTargetKeepsTheOldFile() {
        net::TNetObj net;
        SmallNetwork(net);
        const QString pdf = Saved(net);
        QFile file(pdf);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray before = file.readAll();
        file.close();
        net.SetChannelType(1, 7);  // no such type: the routing sections cannot be made
        net.PathTable.PathCount = 1;
        net.PathTable.Records[1] = {2, 1, 2};
        QVERIFY_THROWS_EXCEPTION(net::NetError, paint::SaveReport(pdf, net, {}));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), before);

        const QString folder = dir_.filePath("folder.pdf");
        QVERIFY(QDir().mkdir(folder));
        try {
            paint::SaveReport(folder, net, {});
            QFAIL("a folder was taken for a file");
        } catch (const net::IoError& e) {
            QCOMPARE(QString::fromStdString(e.what()),
                     QString("Отчёт не записан в файл «%1»: на этом месте каталог").arg(folder));
        }
        QVERIFY(QFileInfo(folder).isDir());
    }

    void windowWritesAndPrintsTheSameReport() {
        Windows w(Windows::All);
        TForm1& form = w.main();
        QAction* report = ContextEntry(form, "отчёт…");
        QAction* print = ContextEntry(form, "печать…");
        QVERIFY(report != nullptr && print != nullptr);
        QCOMPARE(print->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_P));

        w.net().Reset();
        w.net().LoadProject(NETD_DATA_DIR "/projects/mesh");
        w.net().RouteAll();
        form.RedrawAll();
        Access::Design(form) = paint::DesignSummary{"остановлено", 10.0, 9.0, {{1, 2, 3, false}}};

        const QString saved = dir_.filePath("window.pdf");
        {
            ModalAnswer<QFileDialog> dialog([saved](QFileDialog* d) {
                d->selectFile(saved);
                static_cast<QDialog*>(d)->accept();
            });
            QStringList errors;
            const auto errorBox = ErrorBoxInto(errors);
            report->trigger();
            QVERIFY2(errors.isEmpty(), qPrintable(errors.join("; ")));
        }
        const QString text = PdfText(saved);
        // A long name breaks over lines.
        const QString title = QString("Отчётосети«%1»").arg(NETD_DATA_DIR "/projects/mesh");
        QVERIFY(QString(text).remove(QRegularExpression("\\s")).contains(title));
        QVERIFY(text.contains("Итог поиска: остановлено."));

        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setPageSize(QPageSize(QPageSize::A4));
        const QString printed = dir_.filePath("printed.pdf");
        printer.setOutputFileName(printed);
        const int pages = Access::PrintReport(form, printer);
        QCOMPARE(pages, PdfPages(saved));
        QCOMPARE(PdfPages(printed), pages);
        QVERIFY(PdfText(printed).contains("Итог поиска: остановлено."));

        // A cancelled print dialog prints nothing and reports nothing.
        ModalAnswer<QPrintDialog> cancel([](QPrintDialog* d) { d->reject(); });
        QStringList errors;
        const auto errorBox = ErrorBoxInto(errors);
        print->trigger();
        QVERIFY(cancel.Seen());
        QVERIFY(errors.isEmpty());
    }
};

QTEST_MAIN(ReportTest)
#include "report_test.moc"
