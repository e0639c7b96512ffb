// After an error the main window shows the network as the handler left it,
// and the messages of routing failures say what happened and what to do.
#include <QtTest>

#include "test_support.h"

using namespace ui_test;

class MainAfterErrorTest : public QObject {
    Q_OBJECT

private slots:
    // Deleting the lone host connects the network; the dynamic routing that
    // follows fails on a channel type the table lacks. The deletion stays,
    // and the drawing, status and tree show it once the box is closed.
    void changeBeforeAFailedRoutingIsShown() {
        Windows w(Windows::All);
        TForm1& form = w.main();
        net::TNetObj& net = w.net();
        net.Reset();
        AddHosts(net, {{100, 100}, {300, 100}, {200, 300}});
        net.AddChannel(1, 2, 9);
        net.DynamicRouting = true;
        form.RedrawAll();
        QCOMPARE(form.Panel3->text(), QString("сеть несвязна"));

        Press(form.Button2);
        const Outcome out = ClickAt(form, 200, 300);
        QCOMPARE(out.errors.size(), 1);
        QVERIFY2(out.errors.front().startsWith("Изменение внесено, но маршрутизация после него "
                                               "остановлена: Канал 1 имеет тип 9"),
                 qPrintable(out.errors.front()));
        QVERIFY(!net.HostPresent[3]);
        QCOMPARE(form.Panel3->text(), QString("сеть двусвязна"));
        QCOMPARE(Pixel(form.Picture(), 200, 300), Black);
        QCOMPARE(ChildTexts(Category(form.TreeView1, TForm1::tkHosts)),
                 QStringList({"1--a", "2--b"}));
        QVERIFY(net.DynamicRouting);
        QVERIFY(form.N19->isChecked());
    }

    // Before "новый" the type tables are empty: the message says to read them.
    void routingWithEmptyTypeTableSaysWhatToDo() {
        Windows w(Windows::All);
        TForm1& form = w.main();
        AddHosts(w.net(), {{100, 100}, {300, 100}});
        w.net().AddChannel(1, 2, 2);
        const Outcome out = Act([&form] { form.N18->trigger(); });
        QCOMPARE(out.errors.size(), 1);
        QVERIFY2(
            out.errors.front().contains("(типов: 0): таблица типов каналов пуста, сначала "
                                        "прочитайте справочные таблицы командой «файл → новый»"),
            qPrintable(out.errors.front()));
    }
};

QTEST_MAIN(MainAfterErrorTest)
#include "main_after_error_test.moc"
