// Undo and redo in the main window: the shortcuts and the context menu, what
// counts as a step, and the network restored exactly without routing again.
#include <QtTest>

#include "test_support.h"
#include "texts.h"
#include "undo_history.h"

using namespace ui_test;

class UndoTest : public QObject {
    Q_OBJECT

    // The context menu's entry with this text.
    static QAction* Entry(TForm1& form, const QString& text) {
        for (QAction* action : form.Image1->actions()) {
            if (action->text() == text)
                return action;
        }
        return nullptr;
    }

    static void Key(TForm1& form, QKeyCombination keys) {
        QTest::keyClick(&form, keys.key(), keys.keyboardModifiers());
    }

    // Four hosts in a square joined in a ring, loads routed: a network whose
    // routing results a redraw would change if it routed again.
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
        QAction* undo = Entry(form, "отменить");
        QAction* redo = Entry(form, "вернуть");
        QVERIFY(undo != nullptr && redo != nullptr);
        QVERIFY(!undo->isEnabled());
        QCOMPARE(undo->shortcut(), QKeySequence("Ctrl+Z"));
        QCOMPARE(redo->shortcuts(),
                 (QList<QKeySequence>{QKeySequence("Ctrl+Shift+Z"), QKeySequence("Ctrl+Y")}));

        Press(form.Button2);
        ClickAt(form, 100, 100);  // host 1 goes, with channels 1 and 4
        QVERIFY(!w.net().HostPresent[1]);
        const net::TNetObj after = w.net();
        QVERIFY(undo->isEnabled());

        Key(form, Qt::CTRL | Qt::Key_Z);
        QVERIFY(net::SameNetwork(w.net(), before));
        QVERIFY(!undo->isEnabled());
        QVERIFY(redo->isEnabled());
        QCOMPARE(Pixel(form.Picture(), 100 - 6, 100), Navy);  // the disc is back
        QVERIFY(ChildTexts(Category(form.TreeView1, TForm1::tkHosts)).contains("1--a"));

        Key(form, Qt::CTRL | Qt::SHIFT | Qt::Key_Z);
        QVERIFY(net::SameNetwork(w.net(), after));
        Key(form, Qt::CTRL | Qt::Key_Z);
        Key(form, Qt::CTRL | Qt::Key_Y);
        QVERIFY(net::SameNetwork(w.net(), after));
        QCOMPARE(Pixel(form.Picture(), 100 - 6, 100), Black);
    }

    void undoShowsTheRestoredRoutingWithoutRoutingAgain() {
        Windows w(Windows::All);
        TForm1& form = w.main();
        RoutedRing(w.net());
        // Dynamic routing on, and results that routing again would not give:
        // the restored copy is shown as it was, not routed anew.
        w.net().DynamicRouting = true;
        w.net().LoadMatrix[1][2] = 0;
        const net::TNetObj before = w.net();
        Press(form.Button2);
        ClickAt(form, 300, 300);
        QVERIFY(!w.net().HostPresent[3]);
        Entry(form, "отменить")->trigger();
        QVERIFY(net::SameNetwork(w.net(), before));
        QVERIFY(form.N19->isChecked());
        const QStringList paths = ChildTexts(Category(form.TreeView1, TForm1::tkPaths));
        QCOMPARE(paths.size(), before.PathTable.PathCount);
        QCOMPARE(paths.front(), QString::fromStdString(net::PathText(before, 1)));
    }

    void onlyActionsThatChangeTheNetworkAreSteps() {
        Windows w(Windows::All);
        TForm1& form = w.main();
        QAction* undo = Entry(form, "отменить");
        ClickAt(form, 50, 50);  // mode none: nothing changes
        Press(form.Button2);
        ClickAt(form, 50, 50);  // no host there
        QVERIFY(!undo->isEnabled());
        // A dialog answered with a bad type changes nothing: no step.
        Press(form.Button1);
        Outcome out = ClickAt(form, 60, 60, {"a", "x", false});
        QCOMPARE(out.errors.size(), 1);
        QVERIFY(!undo->isEnabled());
        // Routing is no step either.
        HalfLoadedPair(w.net(), 100);
        Trigger(form.N18);
        QVERIFY(!undo->isEnabled());

        // "новый" is a step and undo gives back the network before it.
        const net::TNetObj before = w.net();
        Trigger(form.N8);
        QCOMPARE(w.net().NetworkName, std::string("новый"));
        undo->trigger();
        QVERIFY(net::SameNetwork(w.net(), before));
        // A new change after an undo leaves nothing to redo.
        QVERIFY(Entry(form, "вернуть")->isEnabled());
        Trigger(form.N16);  // "удалить все ребра"
        QVERIFY(!Entry(form, "вернуть")->isEnabled());
        undo->trigger();
        QVERIFY(net::SameNetwork(w.net(), before));

        // The load table's store is a step of its own.
        ModalAnswer<TForm7> editor([](TForm7* d) {
            d->SetCell(2, 1, "15");
            Press(d->Button1);
        });
        form.N21->trigger();
        QCOMPARE(w.net().LoadMatrix[1][2], 15);
        undo->trigger();
        QVERIFY(net::SameNetwork(w.net(), before));
    }

    void aStepThatEndsInAnErrorIsUndoneToTheStateBeforeIt() {
        Windows w(Windows::All);
        TForm1& form = w.main();
        // Dynamic routing fails on the new channel, whose type names no
        // record, after the channel is in: the click is still a step.
        HalfLoadedPair(w.net(), 100);
        w.net().DeleteChannel(1);
        w.net().DynamicRouting = true;
        const net::TNetObj before = w.net();
        Press(form.Button3);
        ClickAt(form, 100, 100);
        const Outcome out = ClickAt(form, 300, 100, {{}, "7", {}});
        QVERIFY(w.net().ChannelPresent[1]);
        QCOMPARE(out.errors.size(), 1);
        Entry(form, "отменить")->trigger();
        QVERIFY(net::SameNetwork(w.net(), before));
        QVERIFY(!Entry(form, "отменить")->isEnabled());
    }
};

QTEST_MAIN(UndoTest)
#include "undo_test.moc"
