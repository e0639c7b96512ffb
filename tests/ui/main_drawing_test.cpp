// The drawing of the main window: background, channel lines with their delay
// labels, host discs with their numbers, the status text, and what the redraw
// does with dynamic routing.
#include <QtTest>

#include "errors.h"
#include "main_test_support.h"

using namespace main_test;

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
        net.AddHost(100, 100, "a", 1);
        net.AddHost(300, 100, "b", 1);
        net.AddChannel(1, 2, 1);
        form.RedrawAll();
        const QImage& picture = form.Picture();

        // Background away from everything.
        QCOMPARE(Pixel(picture, 5, 5), Black);
        QCOMPARE(Pixel(picture, 200, 150), Black);
        // The line between the discs, left of its label, one pixel thick.
        QCOMPARE(Pixel(picture, 150, 100), Green);
        QCOMPARE(Pixel(picture, 150, 99), Black);
        QCOMPARE(Pixel(picture, 150, 101), Black);
        // Its label at the midpoint: navy 0.000 on a green cell, nothing else.
        QVERIFY(ShowsAt(picture, RenderedText(form, "0.000", Navy, Green), QPoint(200, 100)));
        const QRect label = TextCell(form, QPoint(200, 100), "0.000");
        QCOMPARE(Pixel(picture, label.right() + 3, label.center().y()), Black);
        QCOMPARE(Pixel(picture, label.center().x(), label.bottom() + 1), Black);

        // Navy discs of radius 8 cover the line ends; the box is 16 pixels wide.
        QCOMPARE(Pixel(picture, 106, 100), Navy);
        QCOMPARE(Pixel(picture, 107, 100), Navy);
        QCOMPARE(Pixel(picture, 108, 100), Green);
        QCOMPARE(Pixel(picture, 92, 100), Navy);
        QCOMPARE(Pixel(picture, 91, 100), Black);
        QCOMPARE(Pixel(picture, 100, 92), Navy);
        QCOMPARE(Pixel(picture, 100, 91), Black);
        QCOMPARE(Pixel(picture, 95, 95), Navy);
        QCOMPARE(Pixel(picture, 93, 93), Black);  // outside the circle, inside its box
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
        net.AddHost(100, 100, "a", 1);
        net.AddHost(300, 100, "b", 1);
        net.AddHost(210, 40, "c", 1);
        net.AddHost(210, 200, "d", 1);
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
        net.AddHost(50, 50, "a", 1);
        net.AddHost(150, 50, "b", 1);
        net.AddHost(100, 150, "c", 1);
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
        QCOMPARE(CountPixels(form.Picture(), TextCell(form, QPoint(125, 100), "0.000"), Black),
                 TextCell(form, QPoint(125, 100), "0.000").width() *
                     TextCell(form, QPoint(125, 100), "0.000").height());
    }

    void labelsShowTheDelayFigures() {
        Windows w;
        TForm1& form = w.main();
        net::TNetObj& net = w.net();
        SetChannelCapacities(net, {10000});
        net.AddHost(100, 300, "a", 1);
        net.AddHost(300, 300, "b", 1);
        net.AddChannel(1, 2, 1);
        net.LoadMatrix[1][2] = 5000;
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
        net.AddHost(50, -3, "a", 1);
        net.AddHost(250, 0, "b", 1);
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
        SetChannelCapacities(net, {10000});
        net.AddHost(100, 300, "a", 1);
        net.AddHost(300, 300, "b", 1);
        net.AddChannel(1, 2, 1);
        net.LoadMatrix[1][2] = 5000;
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
        SetChannelCapacities(net, {10000});
        net.AddHost(100, 300, "a", 1);
        net.AddHost(300, 300, "b", 1);
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
