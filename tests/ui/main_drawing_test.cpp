// The drawing of the main window: background, channel lines with their delay
// labels, host discs with their numbers, the status text, and what the redraw
// does with dynamic routing.
#include <QtTest>

#include "errors.h"
#include "test_support.h"

using namespace ui_test;

class MainDrawingTest : public QObject {
    Q_OBJECT

private slots:
    void emptyNetworkIsBlackAndDisconnected() {
        Windows w;
        TForm1& form = w.main();
        form.RedrawAll();
        const QImage& picture = form.Picture();
        QCOMPARE(picture.size(), form.Image1->size());
        QCOMPARE(CountPixels(picture, picture.rect(), Black), picture.width() * picture.height());
        QCOMPARE(form.Panel3->text(), QString("сеть несвязна"));
    }

    void channelLineLabelAndHostDiscs() {
        Windows w;
        TForm1& form = w.main();
        net::TNetObj& net = w.net();
        AddHosts(net, {{100, 100}, {300, 100}});
        net.AddChannel(1, 2, 1);
        form.RedrawAll();
        const QImage& picture = form.Picture();

        // Background away from everything; the line between the discs, left
        // of its label, one pixel thick.
        const Spot background[] = {{5, 5, Black},
                                   {200, 150, Black},
                                   {150, 100, Green},
                                   {150, 99, Black},
                                   {150, 101, Black}};
        QCOMPARE(WrongPixels(picture, background), QStringList());
        // Its label at the midpoint: navy 0.000 on a green cell, nothing else.
        QVERIFY(ShowsAt(picture, RenderedText(form, "0.000", Navy, Green), QPoint(200, 100)));
        const QRect label = TextCell(form, QPoint(200, 100), "0.000");
        QCOMPARE(Pixel(picture, label.right() + 3, label.center().y()), Black);
        QCOMPARE(Pixel(picture, label.center().x(), label.bottom() + 1), Black);

        // Navy discs of radius 8 cover the line ends; the box is 16 pixels
        // wide, and (93, 93) is outside the circle but inside its box.
        const Spot discs[] = {{106, 100, Navy}, {107, 100, Navy}, {108, 100, Green},
                              {92, 100, Navy},  {91, 100, Black}, {100, 92, Navy},
                              {100, 91, Black}, {95, 95, Navy},   {93, 93, Black}};
        QCOMPARE(WrongPixels(picture, discs), QStringList());
        // The host numbers in red on navy, top-left corner at (X - 3, Y - 6).
        QVERIFY(ShowsAt(picture, RenderedText(form, "1", Red, Navy), QPoint(97, 94)));
        QVERIFY(ShowsAt(picture, RenderedText(form, "2", Red, Navy), QPoint(297, 94)));
        QCOMPARE(CountPixels(picture, picture.rect(), Red),
                 CountPixels(RenderedText(form, "1", Red, Navy), QRect(0, 0, 99, 99), Red) +
                     CountPixels(RenderedText(form, "2", Red, Navy), QRect(0, 0, 99, 99), Red));
    }

    void laterChannelsPaintOverEarlierLabels() {
        Windows w;
        TForm1& form = w.main();
        net::TNetObj& net = w.net();
        AddHosts(net, {{100, 100}, {300, 100}, {210, 40}, {210, 200}});
        net.AddChannel(1, 2, 1);  // label at (200, 100)
        net.AddChannel(3, 4, 1);  // vertical line at x = 210 through that label
        form.RedrawAll();
        const QImage& picture = form.Picture();
        const QRect label = TextCell(form, QPoint(200, 100), "0.000");
        for (int y = label.top(); y <= label.bottom(); ++y) {
            QCOMPARE(Pixel(picture, 210, y), Green);
        }
        QVERIFY(CountPixels(picture, label, Navy) > 0);
    }

    void statusTextForEachClass() {
        Windows w;
        TForm1& form = w.main();
        net::TNetObj& net = w.net();
        AddHosts(net, {{50, 50}, {150, 50}, {100, 150}});
        net.AddChannel(1, 2, 1);
        form.RedrawAll();
        QCOMPARE(form.Panel3->text(), QString("сеть несвязна"));
        net.AddChannel(2, 3, 1);
        form.RedrawAll();
        QCOMPARE(form.Panel3->text(), QString("сеть связна"));
        net.AddChannel(3, 1, 1);
        form.RedrawAll();
        QCOMPARE(form.Panel3->text(), QString("сеть двусвязна"));
        net.DeleteChannel(2);
        form.RedrawAll();
        QCOMPARE(form.Panel3->text(), QString("сеть связна"));
        // The deleted channel 2-3 lost its line and its label at (125, 100).
        const QRect label = TextCell(form, QPoint(125, 100), "0.000");
        QCOMPARE(CountPixels(form.Picture(), label, Black), label.width() * label.height());
    }

    void labelsShowTheDelayFigures() {
        Windows w;
        TForm1& form = w.main();
        net::TNetObj& net = w.net();
        HalfLoadedPair(net, 300);
        net.RouteAll();
        form.RedrawAll();
        QVERIFY(ShowsAt(form.Picture(), RenderedText(form, "1.000", Navy, Green), {200, 300}));
        net.DelayMatrix[1][2] = -0.5;
        form.RedrawAll();
        QVERIFY(ShowsAt(form.Picture(), RenderedText(form, "-0.500", Navy, Green), {200, 300}));
    }

    void midpointRoundsTowardZero() {
        Windows w;
        TForm1& form = w.main();
        net::TNetObj& net = w.net();
        // Midpoint y of -3 and 0 is -1, not -2: the cell ends one row lower.
        AddHosts(net, {{50, -3}, {250, 0}});
        net.AddChannel(1, 2, 1);
        form.RedrawAll();
        const QRect label = TextCell(form, QPoint(150, -1), "0.000");
        const QImage& picture = form.Picture();
        for (int x = label.left(); x <= label.right(); ++x) {
            QVERIFY(Pixel(picture, x, label.bottom()) != Black);
            QCOMPARE(Pixel(picture, x, label.bottom() + 1), Black);
        }
    }

    void positionsFarOutsideAreDrawnWithoutHarm() {
        Windows w;
        TForm1& form = w.main();
        net::TNetObj& net = w.net();
        net.AddHost(2147483000, -2147483000, "far", 1);
        net.AddHost(-2147483000, 2147483000, "other", 1);
        net.AddHost(3, 3, "corner", 1);
        net.AddChannel(1, 2, 1);
        net.AddChannel(1, 3, 1);
        form.RedrawAll();
        // The corner host is drawn partly outside; its visible part is there.
        QCOMPARE(Pixel(form.Picture(), 0, 3), Navy);
        QCOMPARE(form.Panel3->text(), QString("сеть связна"));
    }

    void surfaceFollowsTheDrawingArea() {
        Windows w;
        TForm1& form = w.main();
        form.Image1->resize(200, 120);
        form.RedrawAll();
        QCOMPARE(form.Picture().size(), QSize(200, 120));
        form.Image1->resize(400, 300);
        form.RedrawAll();
        QCOMPARE(form.Picture().size(), QSize(400, 300));
        QCOMPARE(CountPixels(form.Picture(), form.Picture().rect(), Black), 400 * 300);
    }

    void dynamicRoutingAfterPaintingShowsInTreeNotLabels() {
        Windows w;
        TForm1& form = w.main();
        net::TNetObj& net = w.net();
        HalfLoadedPair(net, 300);
        net.DynamicRouting = true;
        form.RedrawAll();
        QVERIFY(net.DynamicRouting);
        QCOMPARE(net.DelayMatrix[1][2], 1.0);
        // The labels were painted before routing ran; the tree came after it.
        QVERIFY(ShowsAt(form.Picture(), RenderedText(form, "0.000", Navy, Green), {200, 300}));
        QCOMPARE(ChildTexts(Category(form.TreeView1, TForm1::tkPaths)),
                 QStringList{"1 | 1-2 | 1.000"});
    }

    void routingErrorLeavesPictureStatusAndFlagButNotTree() {
        Windows w;
        TForm1& form = w.main();
        net::TNetObj& net = w.net();
        SetCapacities(net, {10000});
        AddHosts(net, {{100, 300}, {300, 300}});
        form.RedrawAll();
        net.AddChannel(1, 2, 7);  // a type the table does not hold
        net.DynamicRouting = true;
        QVERIFY_THROWS_EXCEPTION(net::NetError, form.RedrawAll());
        QVERIFY(net.DynamicRouting);
        QCOMPARE(form.Panel3->text(), QString("сеть двусвязна"));
        QCOMPARE(Pixel(form.Picture(), 150, 300), Green);
        QVERIFY(ChildTexts(Category(form.TreeView1, TForm1::tkChannels)).isEmpty());
    }
};

QTEST_MAIN(MainDrawingTest)
#include "main_drawing_test.moc"
