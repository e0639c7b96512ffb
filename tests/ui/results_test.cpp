// The results the drawing's context menu offers: the failure window and its
// marks, the picture saved as PNG and SVG, the tables saved as CSV, and the
// runner's render drawing the same pixels as the window.
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QProcess>
#include <QSvgRenderer>
#include <QTableWidget>
#include <QtTest>

#include "FailuresForm.h"
#include "csv_export.h"
#include "test_support.h"

using namespace ui_test;

class ResultsTest : public QObject {
    Q_OBJECT

    // Runs the context menu's entry, answering its file dialog with `path`.
    static QStringList SaveThrough(TForm1& form, const QString& entry, const QString& path) {
        ModalAnswer<QFileDialog> dialog([path](QFileDialog* d) {
            d->selectFile(path);
            static_cast<QDialog*>(d)->accept();
        });
        QStringList errors;
        const auto errorBox = ErrorBoxInto(errors);
        ContextEntry(form, entry)->trigger();
        return errors;
    }

    // The ring sample, read as the user would after "новый", and routed.
    static void RoutedRingSample(TForm1& form) {
        form.Net().Reset();
        form.Net().LoadProject(NETD_DATA_DIR "/projects/ring");
        form.Net().RouteAll();
        form.RedrawAll();
    }

    static void ClickRow(TFailuresForm& window, int row) {
        QTableWidget* table = window.Table1;
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {},
                          table->visualItemRect(table->item(row, 0)).center());
    }

private slots:
    void initTestCase() { QApplication::setApplicationName("netdesigner"); }

    void failureRowsMarkTheFailedElement() {
        Windows w(Windows::All);
        TForm1& form = w.main();
        // A ring of four in a square; one demand 1 -> 3.
        SetCapacities(w.net(), {5000});
        AddHosts(w.net(), {{100, 100}, {300, 100}, {300, 300}, {100, 300}});
        testing_support::AddChannels(w.net(), {{1, 2}, {2, 3}, {3, 4}, {4, 1}});
        w.net().LoadMatrix[1][3] = 1000;
        form.RedrawAll();
        ContextEntry(form, "анализ отказов")->trigger();
        auto* window = form.findChild<TFailuresForm*>();
        QVERIFY(window != nullptr && window->isVisible());
        QTableWidget* table = window->Table1;
        QCOMPARE(table->rowCount(), 9);
        QCOMPARE(table->item(0, 0)->text(), QString("нет"));
        QCOMPARE(table->item(1, 0)->text(), QString("канал 1 (1-2)"));
        QCOMPARE(table->item(5, 0)->text(), QString("маршрутизатор 2"));

        ClickRow(*window, 1);
        QCOMPARE(Pixel(form.Picture(), 150, 100), White);
        QCOMPARE(Pixel(form.Picture(), 300, 150), Green);
        ClickRow(*window, 5);  // host 2: the white rim, and the channel mark gone
        QCOMPARE(Pixel(form.Picture(), 300 - 12, 100), White);
        QCOMPARE(Pixel(form.Picture(), 150, 100), Green);
        ClickRow(*window, 0);  // no failure, no mark
        QCOMPARE(Pixel(form.Picture(), 300 - 12, 100), Green);

        // The rows outlive the network they describe: a channel deleted since
        // is not drawn from its free slot.
        w.net().DeleteChannel(1);
        ClickRow(*window, 1);
        QCOMPARE(Pixel(form.Picture(), 150, 100), Black);

        // Opened again, the window shows the network as it is now.
        ContextEntry(form, "анализ отказов")->trigger();
        QCOMPARE(form.findChildren<TFailuresForm*>().size(), 1);
        QCOMPARE(table->rowCount(), 8);
    }

    void savedPictureIsTheDrawingWithItsMark() {
        Windows w(Windows::All);
        TForm1& form = w.main();
        RoutedRingSample(form);
        ClickNode(form, Category(form.TreeView1, TForm1::tkHosts)->child(0));
        const QImage shown = form.Picture();
        const QString png = QDir::current().filePath("picture.png");
        QVERIFY(SaveThrough(form, "сохранить рисунок…", png).isEmpty());
        QCOMPARE(QImage(png).convertToFormat(QImage::Format_RGB32), shown);

        const QString svg = QDir::current().filePath("picture.svg");
        QVERIFY(SaveThrough(form, "сохранить рисунок…", svg).isEmpty());
        QSvgRenderer renderer(svg);
        QVERIFY(renderer.isValid());
        QCOMPARE(renderer.viewBox(), shown.rect());
        QImage drawn(shown.size(), QImage::Format_RGB32);
        QPainter painter(&drawn);
        renderer.render(&painter);
        painter.end();
        // Background, a disc and the white rim of the marked host 1 (the
        // renderer smooths the rim over two pixels).
        const net::HostRecord& host = w.net().Hosts[1];
        const QStringList wrong = WrongPixels(
            drawn, std::initializer_list<Spot>{{2, 2, Black}, {host.X - 6, host.Y, Navy}});
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join("; ")));
        QVERIFY(std::max(qGray(drawn.pixel(host.X - 13, host.Y)),
                         qGray(drawn.pixel(host.X - 12, host.Y))) > 128);

        const QStringList errors = SaveThrough(form, "сохранить рисунок…", "picture.bmp");
        QCOMPARE(errors.size(), 1);
        QVERIFY2(errors[0].contains("picture.bmp") && errors[0].contains(".svg"),
                 qPrintable(errors[0]));
    }

    void savedTablesAreTheModelsCsv() {
        Windows w(Windows::All);
        RoutedRingSample(w.main());
        QVERIFY(QDir().mkdir("tables"));
        QVERIFY(SaveThrough(w.main(), "сохранить таблицы…", QDir::current().filePath("tables"))
                    .isEmpty());
        QFile paths("tables/paths.csv");
        QVERIFY(paths.open(QIODevice::ReadOnly));
        QCOMPARE(paths.readAll(), QByteArray::fromStdString(net::PathsCsv(w.net())));
    }

    void runnerRendersTheWindowsPixels() {
        Windows w(Windows::All);
        TForm1& form = w.main();
        RoutedRingSample(form);
        const QSize size = form.Picture().size();
        QProcess runner;
        runner.start(NETD_CLI, {});
        QVERIFY(runner.waitForStarted());
        runner.write(QStringLiteral("new\nopen %1\nroute\nrender rendered.png %2 %3\n"
                                    "render whole.png\n")
                         .arg(NETD_DATA_DIR "/projects/ring")
                         .arg(size.width())
                         .arg(size.height())
                         .toUtf8());
        runner.closeWriteChannel();
        QVERIFY(runner.waitForFinished(20000));
        QCOMPARE(runner.readAllStandardError(), QByteArray());
        QCOMPARE(runner.exitCode(), 0);
        const QImage rendered = QImage("rendered.png").convertToFormat(QImage::Format_RGB32);
        QCOMPARE(rendered.size(), size);
        QCOMPARE(rendered, form.Picture());
        // Without a size the picture holds every host, however far right or down.
        const QRect whole(QPoint(), QImage("whole.png").size());
        for (int h = 1; h <= net::MaxHosts; ++h) {
            if (w.net().HostPresent[h])
                QVERIFY(whole.contains(w.net().Hosts[h].X, w.net().Hosts[h].Y));
        }
    }
};

QTEST_MAIN(ResultsTest)
#include "results_test.moc"
