// The routing quality window: its rows, the channels a row marks, and the
// improved paths applied as one undo step.
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>

#include "QualityForm.h"
#include "routing_quality.h"
#include "test_support.h"

using namespace ui_test;

class QualityTest : public QObject {
    Q_OBJECT

    // Four hosts in a square, 1 and 2 on top; all six channels of types
    // 1, 2, 1, 3, 2, 1 in the order 1-2, 1-3, 1-4, 2-3, 2-4, 3-4. Greedy
    // leaves 4->1 unplaced; the improved routing places it.
    static void Square(ui_test::Windows& w) {
        net::TNetObj& net = w.net();
        SetCapacities(net, {5000, 10000, 20000});
        AddHosts(net, {{100, 100}, {300, 100}, {100, 300}, {300, 300}});
        const int types[] = {1, 2, 1, 3, 2, 1};
        const std::pair<int, int> ends[] = {{1, 2}, {1, 3}, {1, 4}, {2, 3}, {2, 4}, {3, 4}};
        for (int c = 0; c < 6; ++c)
            net.AddChannel(ends[c].first, ends[c].second, types[c]);
        net.LoadMatrix[1][4] = 2000;
        net.LoadMatrix[3][1] = 3500;
        net.LoadMatrix[4][1] = 5000;
        net.LoadMatrix[4][3] = 4500;
    }

    static TQualityForm* OpenWindow(TForm1& form) {
        ContextEntry(form, "качество маршрутизации")->trigger();
        auto* window = form.findChild<TQualityForm*>();
        return window != nullptr && window->isVisible() ? window : nullptr;
    }

    static void ClickRow(TQualityForm& window, int row) {
        QTableWidget* table = window.Table1;
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {},
                          table->visualItemRect(table->item(row, 0)).center());
    }

    static QString Cell(TQualityForm& window, int row, int column) {
        return window.Table1->item(row, column)->text();
    }

private slots:
    void initTestCase() { QApplication::setApplicationName("netdesigner"); }

    void rowsShowTheFiguresAndMarkTheirChannels() {
        Windows w(Windows::All);
        TForm1& form = w.main();
        Square(w);
        // More out of host 4 than its three channels carry: 2-4 and 3-4
        // (channels 5 and 6) and the diagonal 1-4 (3) limit it.
        w.net().LoadMatrix[4][1] = 19000;
        form.RedrawAll();
        TQualityForm* window = OpenWindow(form);
        QVERIFY(window != nullptr);
        QCOMPARE(window->Table1->rowCount(), 3);
        QCOMPARE(Cell(*window, 0, 0), QString("жадная"));
        QCOMPARE(Cell(*window, 0, 2), QString("1"));
        QCOMPARE(Cell(*window, 0, 3), QString("19000"));
        QCOMPARE(Cell(*window, 2, 0), QString("граница"));
        QCOMPARE(Cell(*window, 2, 6), QString("1.275000"));
        QCOMPARE(Cell(*window, 2, 4), QString("-"));
        const QString text = window->Label2->text();
        QVERIFY2(text.contains("не провести") && text.contains("1.275000") &&
                     text.contains("3 (1-4), 5 (2-4), 6 (3-4)"),
                 qPrintable(text));

        ClickRow(*window, 2);
        QCOMPARE(Pixel(form.Picture(), 300, 150), White);  // 2-4
        QCOMPARE(Pixel(form.Picture(), 150, 300), White);  // 3-4
        QCOMPARE(Pixel(form.Picture(), 150, 100), Green);  // 1-2
        QCOMPARE(Pixel(form.Picture(), 100, 150), Green);  // 1-3

        // The greedy row marks its busiest channel, and that one alone.
        const optimize::QualityReport report = optimize::AnalyzeQuality(w.net());
        const net::ChannelRecord& busiest = w.net().Channels[report.Greedy.BusiestChannel];
        const net::HostRecord& a = w.net().Hosts[busiest.HostA];
        const net::HostRecord& b = w.net().Hosts[busiest.HostB];
        ClickRow(*window, 0);
        QCOMPARE(Pixel(form.Picture(), (3 * a.X + b.X) / 4, (3 * a.Y + b.Y) / 4), White);
        QVERIFY(Pixel(form.Picture(), 300, 150) != White ||
                Pixel(form.Picture(), 150, 300) != White);

        // A channel deleted since the window was filled is not drawn.
        w.net().DeleteChannel(5);
        ClickRow(*window, 2);
        QCOMPARE(Pixel(form.Picture(), 300, 150), Black);
        QCOMPARE(Pixel(form.Picture(), 150, 300), White);
    }

    void gapsToTheBoundAreInPercent() {
        QCOMPARE(TQualityForm::GapText(12.0, 8.0), QString("50.00"));
        QCOMPARE(TQualityForm::GapText(8.0, 8.0), QString("0.00"));
        QCOMPARE(TQualityForm::GapText(std::nullopt, 8.0), QString("-"));
        QCOMPARE(TQualityForm::GapText(0.5, 0.0), QString("-"));
    }

    void applyingTheImprovedPathsIsOneUndoStep() {
        Windows w(Windows::All);
        TForm1& form = w.main();
        Square(w);
        w.net().RouteAll();
        form.UpdatePrTree();
        TForm1Access::ClearHistory(form);
        QCOMPARE(w.net().Unrouted.Count, 1);
        TQualityForm* window = OpenWindow(form);
        QVERIFY(window != nullptr);
        QCOMPARE(Cell(*window, 1, 1), QString("4"));
        const net::TNetObj greedy = w.net();

        QTest::mouseClick(window->Button2, Qt::LeftButton);
        QCOMPARE(w.net().PathTable.PathCount, 4);
        QCOMPARE(w.net().Unrouted.Count, 0);
        QTreeWidgetItem* paths = Category(form.TreeView1, TForm1::tkPaths);
        QCOMPARE(paths->childCount(), 4);
        QVERIFY(!paths->child(3)->text(0).contains("нет пути"));
        QCOMPARE(TForm1Access::UndoSteps(form), size_t{1});
        ContextEntry(form, "отменить")->trigger();
        QVERIFY(net::SameNetwork(w.net(), greedy));
        paths = Category(form.TreeView1, TForm1::tkPaths);
        QCOMPARE(paths->child(3)->text(0), QString("4-1 | нет пути | 5000"));

        // A type the table lacks: the routing's error, and nothing changes.
        w.net().Channels[2].TypeNo = 9;
        const net::TNetObj before = w.net();
        QStringList errors;
        {
            const auto errorBox = ErrorBoxInto(errors);
            QTest::mouseClick(window->Button2, Qt::LeftButton);
        }
        QCOMPARE(errors.size(), 1);
        QVERIFY2(errors[0].contains("Канал 2 имеет тип 9"), qPrintable(errors[0]));
        QVERIFY(net::SameNetwork(w.net(), before));
        QCOMPARE(TForm1Access::UndoSteps(form), size_t{0});
    }
};

QTEST_MAIN(QualityTest)
#include "quality_test.moc"
