// Undo and redo in the main window: the shortcuts, what counts as a step, and
// the network restored exactly without routing again.
#include <QtTest>

#include "test_support.h"
#include "texts.h"
#include "undo_history.h"

using namespace ui_test;

class UndoTest : public QObject {
    Q_OBJECT

    static void Key(TForm1& form, QKeyCombination keys) {
        QTest::keyClick(&form, keys.key(), keys.keyboardModifiers());
    }

    // Four hosts in a square joined in a ring, loads routed.
    static void RoutedRing(net::TNetObj& net) {
        HalfLoadedPair(net, 100);
        testing_support::AddHosts(net, {{300, 300}, {100, 300}});
        testing_support::AddChannels(net, {{2, 3}, {3, 4}, {4, 1}});
        net.LoadMatrix[1][3] = 2000;
        net.RouteAll();
    }

private slots:
    void initTestCase() { QApplication::setApplicationName("netdesigner"); }

    void shortcutsUndoAndRedoAHostDeletion() {
        Windows w(Windows::All);
        TForm1& form = w.main();
        QApplication::setActiveWindow(&form);
        QVERIFY(QTest::qWaitForWindowActive(&form));
        RoutedRing(w.net());
        form.RedrawAll();
        const net::TNetObj before = w.net();
        QAction* undo = ContextEntry(form, "отменить");
        QVERIFY(!undo->isEnabled());
        Press(form.Button2);
        ClickAt(form, 100, 100);  // host 1 goes, with channels 1 and 4
        const net::TNetObj after = w.net();
        QVERIFY(!after.HostPresent[1]);

        Key(form, Qt::CTRL | Qt::Key_Z);
        QVERIFY(net::SameNetwork(w.net(), before));
        QVERIFY(!undo->isEnabled());
        QCOMPARE(Pixel(form.Picture(), 100 - 6, 100), Navy);  // the disc is back
        QVERIFY(ChildTexts(Category(form.TreeView1, TForm1::tkHosts)).contains("1--a"));
        Key(form, Qt::CTRL | Qt::SHIFT | Qt::Key_Z);
        QVERIFY(net::SameNetwork(w.net(), after));
        QCOMPARE(Pixel(form.Picture(), 100 - 6, 100), Black);
        Key(form, Qt::CTRL | Qt::Key_Z);
        Key(form, Qt::CTRL | Qt::Key_Y);
        QVERIFY(net::SameNetwork(w.net(), after));
    }

    void undoShowsTheRestoredRoutingWithoutRoutingAgain() {
        Windows w(Windows::All);
        TForm1& form = w.main();
        RoutedRing(w.net());
        // Dynamic routing on, and results that routing again would not give.
        w.net().DynamicRouting = true;
        w.net().LoadMatrix[1][2] = 0;
        const net::TNetObj before = w.net();
        Press(form.Button2);
        ClickAt(form, 300, 300);
        ContextEntry(form, "отменить")->trigger();
        QVERIFY(net::SameNetwork(w.net(), before));
        QVERIFY(form.N19->isChecked());
        const QStringList paths = ChildTexts(Category(form.TreeView1, TForm1::tkPaths));
        QCOMPARE(paths.size(), before.PathTable.PathCount);
        QCOMPARE(paths.front(), QString::fromStdString(net::PathText(before, 1)));
    }

    void onlyActionsThatChangeTheNetworkAreSteps() {
        Windows w(Windows::All);
        TForm1& form = w.main();
        QAction* undo = ContextEntry(form, "отменить");
        ClickAt(form, 50, 50);  // mode none
        Press(form.Button2);
        ClickAt(form, 50, 50);  // no host there
        Press(form.Button1);
        QCOMPARE(ClickAt(form, 60, 60, {"a", "x", false}).errors.size(), 1);  // bad type
        HalfLoadedPair(w.net(), 100);
        Trigger(form.N18);  // routing
        QVERIFY(!undo->isEnabled());

        const net::TNetObj before = w.net();
        Trigger(form.N8);  // "новый"
        undo->trigger();
        QVERIFY(net::SameNetwork(w.net(), before));
        QVERIFY(ContextEntry(form, "вернуть")->isEnabled());
        Trigger(form.N16);  // a new change leaves nothing to redo
        QVERIFY(!ContextEntry(form, "вернуть")->isEnabled());
        undo->trigger();
        ModalAnswer<TForm7> editor([](TForm7* d) {
            d->SetCell(2, 1, "15");
            Press(d->Button1);
        });
        form.N21->trigger();  // the load table's store
        QCOMPARE(w.net().LoadMatrix[1][2], 15);
        undo->trigger();
        QVERIFY(net::SameNetwork(w.net(), before));
    }

    void aStepThatEndsInAnErrorIsUndoneToTheStateBeforeIt() {
        Windows w(Windows::All);
        TForm1& form = w.main();
        // Dynamic routing fails on the new channel, whose type names no
        // record, once the channel is in.
        HalfLoadedPair(w.net(), 100);
        w.net().DeleteChannel(1);
        w.net().DynamicRouting = true;
        const net::TNetObj before = w.net();
        Press(form.Button3);
        ClickAt(form, 100, 100);
        QCOMPARE(ClickAt(form, 300, 100, {{}, "7", {}}).errors.size(), 1);
        QVERIFY(w.net().ChannelPresent[1]);
        ContextEntry(form, "отменить")->trigger();
        QVERIFY(net::SameNetwork(w.net(), before));
    }
};

QTEST_MAIN(UndoTest)
#include "undo_test.moc"
