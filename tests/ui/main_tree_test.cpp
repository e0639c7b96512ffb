// The tree of the main window: its nodes, texts, kind codes and numbers, and
// the marks that a click on a host, channel or path draws.
#include <QtTest>

#include "test_support.h"

using namespace ui_test;

namespace {

// Hosts 4 and 7 joined by channel 1, and the demand 4 -> 7 placed over it.
void TwoHostNetwork(net::TNetObj& net) {
    SetCapacities(net, {10000});
    KeepOnlyHosts(net, 7, {4, 7});
    net.UpdateHost(4, 100, 200, "h4", 1);
    net.UpdateHost(7, 300, 200, "h7", 1);
    net.AddChannel(4, 7, 1);
}

QTreeWidgetItem* Leaf(QTreeWidget* tree, int categoryKind, int index) {
    QTreeWidgetItem* category = Category(tree, categoryKind);
    return category == nullptr ? nullptr : category->child(index);
}

}  // namespace

class MainTreeTest : public QObject {
    Q_OBJECT

private slots:
    void emptyNetworkGivesUnnamedRootAndFiveCategories() {
        Windows w;
        TForm1& form = w.main();
        form.UpdatePrTree();
        QTreeWidget* tree = form.TreeView1;
        QCOMPARE(tree->topLevelItemCount(), 1);
        QTreeWidgetItem* root = tree->topLevelItem(0);
        QCOMPARE(root->text(0), QString());
        QCOMPARE(root->data(0, TForm1::KindRole).toInt(), 5);
        QCOMPARE(ChildTexts(root), (QStringList{"типы маршрутизаторов", "типы каналов",
                                                "маршрутизаторы", "каналы связи", "пути"}));
        const int kinds[] = {10, 11, 2, 4, 7};
        for (int i = 0; i < 5; ++i) {
            QCOMPARE(root->child(i)->data(0, TForm1::KindRole).toInt(), kinds[i]);
            QVERIFY(!root->child(i)->data(0, TForm1::NumberRole).isValid());
            QCOMPARE(root->child(i)->childCount(), 0);
        }
    }

    void resetListsTheReferenceTypes() {
        Windows w;
        TForm1& form = w.main();
        Access::N8Click(form);
        const net::TNetObj& net = w.net();
        QTreeWidget* tree = form.TreeView1;
        QCOMPARE(tree->topLevelItem(0)->text(0), QString("новый"));
        // The shipped reference files hold three types of each kind.
        QCOMPARE(ChildTexts(Category(tree, TForm1::tkHostTypes)),
                 (QStringList{"1000|4", "2000|8", "5000|16"}));
        QCOMPARE(ChildTexts(Category(tree, TForm1::tkChannelTypes)),
                 (QStringList{"5000|1", "10000|2", "20000|3"}));
        QTreeWidgetItem* secondChannelType = Leaf(tree, TForm1::tkChannelTypes, 1);
        QCOMPARE(secondChannelType->data(0, TForm1::KindRole).toInt(), 13);
        QCOMPARE(secondChannelType->data(0, TForm1::NumberRole).toInt(), 2);
        QCOMPARE(Leaf(tree, TForm1::tkHostTypes, 2)->data(0, TForm1::KindRole).toInt(), 12);
        QCOMPARE(net.HostTypeCount, 3);
        QVERIFY(ChildTexts(Category(tree, TForm1::tkHosts)).isEmpty());
        QVERIFY(ChildTexts(Category(tree, TForm1::tkPaths)).isEmpty());
    }

    void negativeTypeValuesArePlainDecimals() {
        Windows w;
        net::TNetObj& net = w.net();
        net.HostTypeCount = 1;
        net.HostTypes[1].Value1 = -7;
        net.HostTypes[1].Value2 = 0;
        w.main().UpdatePrTree();
        QCOMPARE(ChildTexts(Category(w.main().TreeView1, TForm1::tkHostTypes)),
                 QStringList{"-7|0"});
    }

    void hostsAndChannelsInSlotOrderWithGaps() {
        Windows w;
        TForm1& form = w.main();
        net::TNetObj& net = w.net();
        KeepOnlyHosts(net, 12, {3, 10, 12});
        net.UpdateHost(12, 400, 300, "A", 1);
        net.AddChannel(12, 3, 1);
        net.AddChannel(3, 10, 1);
        net.AddChannel(10, 12, 1);
        net.DeleteChannel(1);
        form.UpdatePrTree();
        QTreeWidget* tree = form.TreeView1;
        QCOMPARE(ChildTexts(Category(tree, TForm1::tkHosts)),
                 (QStringList{"3--h3", "10--h10", "12--A"}));
        QCOMPARE(ChildTexts(Category(tree, TForm1::tkChannels)), (QStringList{"3-10", "10-12"}));
        QTreeWidgetItem* host12 = Leaf(tree, TForm1::tkHosts, 2);
        QCOMPARE(host12->data(0, TForm1::KindRole).toInt(), 1);
        QCOMPARE(host12->data(0, TForm1::NumberRole).toInt(), 12);
        QTreeWidgetItem* channel3 = Leaf(tree, TForm1::tkChannels, 1);
        QCOMPARE(channel3->data(0, TForm1::KindRole).toInt(), 3);
        QCOMPARE(channel3->data(0, TForm1::NumberRole).toInt(), 3);
        for (QTreeWidgetItem* node : AllNodes(tree)) {
            QVERIFY(node->childCount() == 0 || node->isExpanded());
        }
    }

    void pathTextsAndUnroutedDemands() {
        Windows w;
        TForm1& form = w.main();
        net::TNetObj& net = w.net();
        TwoHostNetwork(net);
        // A path given by hand with delay figure 0.5 on its channel.
        net.PathTable.PathCount = 1;
        net.PathTable.Records[1] = {2, 4, 7};
        net.DelayMatrix[4][7] = net.DelayMatrix[7][4] = 0.5;
        form.UpdatePrTree();
        QCOMPARE(ChildTexts(Category(form.TreeView1, TForm1::tkPaths)),
                 QStringList{"1 | 4-7 | 0.500"});

        // Three hops with figures 1.5 and 0.25: the sum.
        net.PathTable.Records[2] = {3, 5, 3, 1};
        net.PathTable.PathCount = 2;
        net.DelayMatrix[5][3] = 1.5;
        net.DelayMatrix[3][1] = 0.25;
        form.UpdatePrTree();
        QCOMPARE(ChildTexts(Category(form.TreeView1, TForm1::tkPaths)),
                 (QStringList{"1 | 4-7 | 0.500", "2 | 5-3-1 | 1.750"}));

        // Routed: half the capacity used gives 1.000; host 2, cut off, gets no path.
        net.AddHost(500, 400, "alone", 1);  // slot 1
        net.LoadMatrix[4][7] = 5000;
        net.LoadMatrix[1][4] = 300;
        net.RouteAll();
        form.UpdatePrTree();
        QTreeWidgetItem* paths = Category(form.TreeView1, TForm1::tkPaths);
        QCOMPARE(ChildTexts(paths), (QStringList{"1 | 4-7 | 1.000", "1-4 | нет пути | 300"}));
        QCOMPARE(paths->child(0)->data(0, TForm1::KindRole).toInt(), 14);
        QCOMPARE(paths->child(0)->data(0, TForm1::NumberRole).toInt(), 1);
        QVERIFY(paths->child(1)->data(0, TForm1::KindRole).toInt() != 14);
    }

    void clickOnHostMarksIt() {
        Windows w;
        TForm1& form = w.main();
        TwoHostNetwork(w.net());
        form.RedrawAll();
        ClickNode(form, Leaf(form.TreeView1, TForm1::tkHosts, 0));  // host 4 at (100, 200)
        const QImage& picture = form.Picture();
        // White rim at radius 12, black ring, white-rimmed navy disc, the
        // channel beyond the rim, and the other host (300, 200) not marked.
        const Spot spots[] = {{88, 200, White},  {100, 188, White}, {100, 211, White},
                              {111, 196, White}, {87, 200, Black},  {90, 200, Black},
                              {92, 200, White},  {95, 200, Navy},   {112, 200, Green},
                              {300, 188, Black}};
        QCOMPARE(WrongPixels(picture, spots), QStringList());
        // The red number.
        QVERIFY(ShowsAt(picture, RenderedText(form, "4", Red, Navy), QPoint(97, 194)));
        // The redraw rebuilt the tree, fully expanded.
        QCOMPARE(ChildTexts(Category(form.TreeView1, TForm1::tkHosts)),
                 (QStringList{"4--h4", "7--h7"}));
        QVERIFY(Category(form.TreeView1, TForm1::tkHosts)->isExpanded());
    }

    void clickOnChannelDrawsWhiteLine() {
        Windows w;
        TForm1& form = w.main();
        TwoHostNetwork(w.net());
        form.RedrawAll();
        ClickNode(form, Leaf(form.TreeView1, TForm1::tkChannels, 0));
        const QImage& picture = form.Picture();
        // One pixel thick, over everything, discs (105) and label (220)
        // included; no host mark (88).
        const Spot spots[] = {{150, 200, White}, {250, 200, White}, {150, 199, Black},
                              {105, 200, White}, {220, 200, White}, {88, 200, Black}};
        QCOMPARE(WrongPixels(picture, spots), QStringList());
    }

    void clickOnPathMarksLinesAndFirstHost() {
        Windows w;
        TForm1& form = w.main();
        net::TNetObj& net = w.net();
        TwoHostNetwork(net);
        net.LoadMatrix[7][4] = 100;  // row host 7 at (300, 200)
        net.RouteAll();
        form.RedrawAll();
        ClickNode(form, Leaf(form.TreeView1, TForm1::tkPaths, 0));
        const QImage& picture = form.Picture();
        // The line; outside the rim of host 7, the rim, its black ring over
        // the line; host 4 not marked.
        const Spot spots[] = {{150, 200, White}, {312, 200, Black}, {311, 200, White},
                              {290, 200, Black}, {88, 200, Black},  {95, 200, Navy}};
        QCOMPARE(WrongPixels(picture, spots), QStringList());
        QVERIFY(ShowsAt(picture, RenderedText(form, "7", Red, Navy), QPoint(297, 194)));
    }

    void clickOnOtherNodesChangesNoPixel() {
        Windows w;
        TForm1& form = w.main();
        net::TNetObj& net = w.net();
        TwoHostNetwork(net);
        net.ChannelTypeCount = 1;
        net.HostTypeCount = 1;
        net.AddHost(500, 400, "alone", 1);
        net.LoadMatrix[1][4] = 300;
        net.RouteAll();
        form.RedrawAll();
        ClickNode(form, Leaf(form.TreeView1, TForm1::tkHosts, 1));
        const QImage marked = form.Picture().copy();
        QTreeWidgetItem* root = form.TreeView1->topLevelItem(0);
        QList<QTreeWidgetItem*> inert = {root,
                                         Category(form.TreeView1, TForm1::tkHosts),
                                         Category(form.TreeView1, TForm1::tkPaths),
                                         Leaf(form.TreeView1, TForm1::tkHostTypes, 0),
                                         Leaf(form.TreeView1, TForm1::tkChannelTypes, 0),
                                         Leaf(form.TreeView1, TForm1::tkPaths, 0)};
        QCOMPARE(inert.back()->text(0), QString("1-4 | нет пути | 300"));
        for (QTreeWidgetItem* node : inert) {
            ClickNode(form, node);
            QCOMPARE(form.Picture(), marked);
        }
        // With nothing selected a click does nothing either.
        form.TreeView1->clearSelection();
        Access::TreeView1Click(form);
        QCOMPARE(form.Picture(), marked);
    }

    void mouseClickInTheTreeRunsTheHandler() {
        Windows w;
        TForm1& form = w.main();
        TwoHostNetwork(w.net());
        QVERIFY(Windows::ShowAndWait(form));
        QTreeWidgetItem* host = Leaf(form.TreeView1, TForm1::tkHosts, 1);  // host 7
        const QRect place = form.TreeView1->visualItemRect(host);
        QTest::mouseClick(form.TreeView1->viewport(), Qt::LeftButton, {}, place.center());
        QCOMPARE(Pixel(form.Picture(), 288, 200), White);
        QCOMPARE(Pixel(form.Picture(), 88, 200), Black);
    }
};

QTEST_MAIN(MainTreeTest)
#include "main_tree_test.moc"
