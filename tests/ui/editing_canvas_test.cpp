// Editing with the mouse: the six buttons, clicks on the drawing area in
// every mode, the hit rules for hosts and channels, and the parameter dialog.
#include <QtTest>
#include <array>
#include <span>

#include "test_support.h"

using namespace ui_test;

class EditingCanvasTest : public QObject {
    Q_OBJECT

    // Places a host by a click in the "новый" mode of the host group.
    static void PlaceHost(TForm1& form, int x, int y, const QString& name = "h",
                          const QString& type = "1") {
        Press(form.Button1);
        ClickAt(form, x, y, {name, type, false});
    }

    // The points where `at(x, y)` does not find the slot given, described.
    template <typename At>
    static QStringList WrongHits(At at, std::span<const std::array<int, 3>> hits) {
        QStringList wrong;
        for (const auto& [x, y, slot] : hits) {
            if (at(x, y) != slot)
                wrong << QString("(%1, %2) finds %3, not %4").arg(x).arg(y).arg(at(x, y)).arg(slot);
        }
        return wrong;
    }

    // Places hosts named "h" of type 1, one click each.
    static void PlaceHosts(TForm1& form, std::initializer_list<QPoint> places) {
        for (const QPoint& place : places)
            PlaceHost(form, place.x(), place.y());
    }

    static void JoinHosts(TForm1& form, QPoint a, QPoint b, const QString& type = "1") {
        Press(form.Button3);
        ClickAt(form, a.x(), a.y());
        ClickAt(form, b.x(), b.y(), {{}, type, {}});
    }

private slots:
    void buttonsOnlySetTheMode() {
        Windows w(Windows::All);
        TForm1& form = w.main();
        QCOMPARE(Access::ClickMode(form), int(TForm1::cmNone));
        Access::PickedHost(form) = 4;
        const std::pair<QPushButton*, int> buttons[] = {
            {form.Button1, TForm1::cmNewHost},         {form.Button2, TForm1::cmDeleteHost},
            {form.Button3, TForm1::cmChannelFirstEnd}, {form.Button4, TForm1::cmDeleteChannel},
            {form.Button5, TForm1::cmEditHost},        {form.Button6, TForm1::cmEditChannel},
        };
        for (const auto& [button, mode] : buttons) {
            Press(button);
            QCOMPARE(Access::ClickMode(form), mode);
            QCOMPARE(Access::PickedHost(form), 4);
        }
    }

    void placesHostsWhereClickedWithNameAndType() {
        Windows w(Windows::All);
        TForm1& form = w.main();
        Press(form.Button1);
        Outcome out = ClickAt(form, 100, 120, {"узел один", "2", false});
        QVERIFY(out.dialogShown);
        QVERIFY(out.errors.isEmpty());
        QCOMPARE(w.net().HostCount, 1);
        QCOMPARE(w.net().Hosts[1].X, 100);
        QCOMPARE(w.net().Hosts[1].Y, 120);
        QCOMPARE(w.net().HostName(1), std::string("узел один"));
        QCOMPARE(w.net().Hosts[1].TypeNo, 2);
        QCOMPARE(Access::ClickMode(form), int(TForm1::cmNewHost));
        // Redrawn: the disc is on the picture under the click point.
        QCOMPARE(Pixel(form.Picture(), 94, 120), Navy);
        QCOMPARE(form.Panel3->text(), QString("сеть связна"));

        // Inside the 8-pixel square of host 1: refused after the dialog.
        out = ClickAt(form, 107, 113, {"b", "1", {}});
        QVERIFY(out.dialogShown);
        QCOMPARE(w.net().HostCount, 1);
        // The fields as left last time: closing by the frame adds with them.
        out = ClickAt(form, 108, 120, {{}, {}, {}, true});
        QVERIFY(out.dialogShown);
        QCOMPARE(w.net().HostCount, 2);
        QCOMPARE(w.net().HostName(2), std::string("b"));
        QCOMPARE(w.net().Hosts[2].X, 108);

        // A name is cut to its first 20 characters; an empty one is taken.
        ClickAt(form, 300, 300, {"абвгдежзийклмнопрстуфхцчш", "5", {}});
        QCOMPARE(w.net().HostName(3), std::string("абвгдежзийклмнопрсту"));
        ClickAt(form, 400, 300, {"", "$A", {}});
        QCOMPARE(w.net().HostName(4), std::string());
        QCOMPARE(w.net().Hosts[4].TypeNo, 10);
    }

    void hitSquareOfHosts() {
        Windows w(Windows::All);
        TForm1& form = w.main();
        AddHosts(w.net(), {{100, 100}, {110, 100}});
        // Both squares hold x 105: the lower number is hit.
        const std::array<int, 3> hosts[] = {
            {100, 100, 1}, {93, 107, 1},  {92, 100, 0},  {100, 108, 0}, {100, 92, 0},
            {105, 100, 1}, {107, 100, 1}, {108, 100, 2}, {117, 100, 2}, {118, 100, 0}};
        QCOMPARE(WrongHits([&form](int x, int y) { return Access::HostAt(form, x, y); }, hosts),
                 QStringList());
        w.net().DeleteHost(1);
        QCOMPARE(Access::HostAt(form, 105, 100), 2);
        // Far positions from a file do not overflow the test.
        w.net().Hosts[2].X = 2147483647;
        QCOMPARE(Access::HostAt(form, -2147483647 - 1, 100), 0);
    }

    void deletesTheHostUnderTheClickWithItsChannels() {
        Windows w(Windows::All);
        TForm1& form = w.main();
        PlaceHosts(form, {{100, 100}, {200, 100}, {200, 200}});
        JoinHosts(form, {100, 100}, {200, 100});
        JoinHosts(form, {200, 100}, {200, 200});
        QCOMPARE(w.net().ChannelCount, 2);

        Press(form.Button2);
        Outcome out = ClickAt(form, 150, 150);  // nothing there
        QVERIFY(!out.dialogShown);
        QCOMPARE(w.net().HostCount, 3);
        out = ClickAt(form, 207, 93);
        QVERIFY(!out.dialogShown);
        QCOMPARE(w.net().HostCount, 2);
        QVERIFY(!w.net().HostPresent[2]);
        QCOMPARE(w.net().ChannelCount, 0);
        QCOMPARE(Access::ClickMode(form), int(TForm1::cmDeleteHost));
        QCOMPARE(form.TreeView1->findItems("2", Qt::MatchStartsWith | Qt::MatchRecursive).size(),
                 0);
    }

    void addsAChannelByTwoClicks() {
        Windows w(Windows::All);
        TForm1& form = w.main();
        PlaceHosts(form, {{100, 100}, {300, 100}, {300, 300}});

        Press(form.Button3);
        Outcome out = ClickAt(form, 103, 98);
        QVERIFY(!out.dialogShown);
        QCOMPARE(Access::ClickMode(form), int(TForm1::cmChannelSecondEnd));
        QCOMPARE(Access::PickedHost(form), 1);
        out = ClickAt(form, 300, 100, {{}, "3", {}});
        QVERIFY(out.dialogShown);
        QCOMPARE(Access::ClickMode(form), int(TForm1::cmChannelFirstEnd));
        QCOMPARE(w.net().ChannelCount, 1);
        QCOMPARE(Ends(w.net(), 1), QString("1-2"));
        QCOMPARE(w.net().Channels[1].TypeNo, 3);
        QCOMPARE(w.net().Channels[1].Length, 200.0);

        // The same pair the other way round: the dialog comes, nothing is added.
        ClickAt(form, 300, 100);
        out = ClickAt(form, 100, 100, {{}, "4", {}});
        QVERIFY(out.dialogShown);
        QCOMPARE(w.net().ChannelCount, 1);

        // A first click on empty space: the second end adds nothing, no dialog.
        ClickAt(form, 200, 200);
        QCOMPARE(Access::PickedHost(form), 0);
        out = ClickAt(form, 300, 300);
        QVERIFY(!out.dialogShown);
        QCOMPARE(Access::ClickMode(form), int(TForm1::cmChannelFirstEnd));
        QCOMPARE(w.net().ChannelCount, 1);

        // Button3 between the clicks starts over with the first end.
        ClickAt(form, 300, 300);
        Press(form.Button3);
        ClickAt(form, 300, 100);
        ClickAt(form, 300, 300, {{}, "1", {}});
        QCOMPARE(w.net().ChannelCount, 2);
        QCOMPARE(Ends(w.net(), 2), QString("2-3"));

        // The same host as both ends is passed on as found.
        ClickAt(form, 100, 100);
        out = ClickAt(form, 101, 101, {{}, "1", {}});
        QVERIFY(out.dialogShown);
        QCOMPARE(w.net().ChannelCount, 3);
        QCOMPARE(Ends(w.net(), 3), QString("1-1"));
    }

    void invalidTypeLeavesTheModeAndChangesNothing() {
        Windows w(Windows::All);
        TForm1& form = w.main();
        Access::N8Click(form);  // the type tables, for routing
        PlaceHosts(form, {{100, 100}, {300, 100}});
        w.net().LoadMatrix[1][2] = 100;
        w.net().DynamicRouting = true;
        Press(form.Button3);
        ClickAt(form, 100, 100);
        const QString panel = form.Panel3->text();
        Outcome out = ClickAt(form, 300, 100, {{}, "", {}});
        QCOMPARE(out.errors, QStringList({"'' is not a valid integer value."}));
        QCOMPARE(w.net().ChannelCount, 0);
        QCOMPARE(Access::ClickMode(form), int(TForm1::cmChannelSecondEnd));
        QCOMPARE(Access::PickedHost(form), 1);
        QVERIFY(w.net().DynamicRouting);
        // The next click picks the second end again.
        QCOMPARE(w.net().PathTable.PathCount, 0);
        out = ClickAt(form, 300, 100, {{}, " 2", {}});
        QVERIFY2(out.errors.isEmpty(), qPrintable(out.errors.join('|')));
        QCOMPARE(w.net().ChannelCount, 1);
        QCOMPARE(w.net().Channels[1].TypeNo, 2);
        QVERIFY(form.Panel3->text() != panel);
        // Routed once the network became connected.
        QCOMPARE(w.net().PathTable.PathCount, 1);

        // New host with a bad type: no host, mode kept.
        Press(form.Button1);
        out = ClickAt(form, 200, 250, {"x", "7 ", {}});
        QCOMPARE(out.errors, QStringList({"'7 ' is not a valid integer value."}));
        QCOMPARE(w.net().HostCount, 2);
        QCOMPARE(Access::ClickMode(form), int(TForm1::cmNewHost));

        // Host edit with a bad type: name, type and the move step untouched.
        Press(form.Button5);
        out = ClickAt(form, 100, 100, {"neu", "1.0", true});
        QCOMPARE(out.errors.size(), 1);
        QCOMPARE(w.net().HostName(1), std::string("h"));
        QCOMPARE(Access::ClickMode(form), int(TForm1::cmEditHost));
        QCOMPARE(Access::PickedHost(form), 1);  // left from the channel
    }

    void channelBandAndDeleteByClick() {
        Windows w(Windows::All);
        TForm1& form = w.main();
        PlaceHosts(form, {{100, 100}, {300, 100}, {300, 300}});
        JoinHosts(form, {100, 100}, {300, 100});  // slot 1, length 200
        JoinHosts(form, {300, 100}, {300, 300});  // slot 2
        // The band is the ellipse dA + dB < L + 0.1: its half-width at the
        // middle is 0.5 * sqrt(0.2 * L + 0.01), about 3.16 for L = 200.
        // (99, 100) is beyond the end. On the common host (300, 100) both
        // lines hold the point: the lowest slot wins.
        const std::array<int, 3> channels[] = {
            {200, 100, 1}, {200, 103, 1}, {200, 97, 1},  {200, 104, 0}, {200, 96, 0},
            {100, 100, 1}, {99, 100, 0},  {300, 100, 1}, {300, 200, 2}, {301, 101, 0}};
        QCOMPARE(
            WrongHits([&form](int x, int y) { return Access::ChannelAt(form, x, y); }, channels),
            QStringList());

        Press(form.Button4);
        Outcome out = ClickAt(form, 200, 104);
        QVERIFY(!out.dialogShown);
        QCOMPARE(w.net().ChannelCount, 2);
        ClickAt(form, 300, 100);
        QVERIFY(!w.net().ChannelPresent[1]);
        QVERIFY(w.net().ChannelPresent[2]);
        ClickAt(form, 300, 100);
        QCOMPARE(w.net().ChannelCount, 0);
        QCOMPARE(w.net().HostCount, 3);
        QCOMPARE(Access::ClickMode(form), int(TForm1::cmDeleteChannel));
    }

    void changesTheTypeOfTheChannelUnderTheClick() {
        Windows w(Windows::All);
        TForm1& form = w.main();
        PlaceHosts(form, {{100, 100}, {100, 300}});
        JoinHosts(form, {100, 100}, {100, 300}, "1");
        Press(form.Button6);
        Outcome out = ClickAt(form, 120, 200);  // off the line
        QVERIFY(!out.dialogShown);
        out = ClickAt(form, 101, 200, {{}, "0x9", {}});
        QVERIFY(out.dialogShown);
        QCOMPARE(w.net().Channels[1].TypeNo, 9);
        out = ClickAt(form, 100, 250, {{}, "nine", {}});
        QCOMPARE(out.errors, QStringList({"'nine' is not a valid integer value."}));
        QCOMPARE(w.net().Channels[1].TypeNo, 9);
        QCOMPARE(Access::ClickMode(form), int(TForm1::cmEditChannel));
    }

    void editsAndMovesAHost() {
        Windows w(Windows::All);
        TForm1& form = w.main();
        PlaceHost(form, 100, 100, "a", "1");
        PlaceHost(form, 300, 100, "b", "1");
        JoinHosts(form, {100, 100}, {300, 100});

        Press(form.Button5);
        Outcome out = ClickAt(form, 200, 200);
        QVERIFY(!out.dialogShown);
        out = ClickAt(form, 102, 96, {"первый", "4", false});
        QVERIFY(out.dialogShown);
        QCOMPARE(w.net().HostName(1), std::string("первый"));
        QCOMPARE(w.net().Hosts[1].TypeNo, 4);
        QCOMPARE(w.net().Hosts[1].X, 100);
        QCOMPARE(w.net().Hosts[1].Y, 100);
        QCOMPARE(Access::ClickMode(form), int(TForm1::cmEditHost));
        QCOMPARE(Access::PickedHost(form), 1);

        // Ticked: the next click moves the host, wherever it is.
        ClickAt(form, 300, 100, {"второй", "6", true});
        QCOMPARE(Access::ClickMode(form), int(TForm1::cmMoveHost));
        QCOMPARE(Access::PickedHost(form), 2);
        out = ClickAt(form, 100, 400);
        QVERIFY(!out.dialogShown);
        QCOMPARE(Access::ClickMode(form), int(TForm1::cmEditHost));
        QCOMPARE(w.net().Hosts[2].X, 100);
        QCOMPARE(w.net().Hosts[2].Y, 400);
        QCOMPARE(w.net().HostName(2), std::string("второй"));
        QCOMPARE(w.net().Channels[1].Length, 300.0);

        // A move onto another host is refused; the mode goes back all the same.
        ClickAt(form, 100, 400, {{}, {}, {}});
        QCOMPARE(Access::ClickMode(form), int(TForm1::cmMoveHost));
        ClickAt(form, 104, 104);
        QCOMPARE(Access::ClickMode(form), int(TForm1::cmEditHost));
        QCOMPARE(w.net().Hosts[2].Y, 400);

        // After "новый" the remembered host is gone: the move moves nothing.
        ClickAt(form, 100, 400, {{}, {}, true});
        QCOMPARE(Access::ClickMode(form), int(TForm1::cmMoveHost));
        Access::N8Click(form);
        w.net().AddHost(50, 50, "fresh", 1);
        ClickAt(form, 250, 250);
        QCOMPARE(Access::ClickMode(form), int(TForm1::cmEditHost));
        QCOMPARE(w.net().HostCount, 1);
        QCOMPARE(w.net().Hosts[1].X, 50);
    }

    void clickWithoutModeStillRoutesAndRedraws() {
        Windows w(Windows::All);
        TForm1& form = w.main();
        w.net().Reset();
        AddHosts(w.net(), {{100, 100}, {300, 100}});
        w.net().AddChannel(1, 2, 1);
        w.net().LoadMatrix[1][2] = 5;
        w.net().DynamicRouting = true;
        QCOMPARE(w.net().PathTable.PathCount, 0);
        QCOMPARE(Access::ClickMode(form), int(TForm1::cmNone));
        const Outcome out = ClickAt(form, 10, 10);
        QVERIFY(!out.dialogShown);
        QCOMPARE(w.net().PathTable.PathCount, 1);
        QVERIFY(w.net().DynamicRouting);
        // The redraw shows the channel drawn from the network.
        QCOMPARE(Pixel(form.Picture(), 200, 100), Green);
    }

    void clickUsesTheTruePositionInTheDrawingArea() {
        Windows w(Windows::All);
        TForm1& form = w.main();
        PlaceHost(form, 1, 1);
        PlaceHost(form, form.Image1->width() - 1, form.Image1->height() - 1);
        QCOMPARE(w.net().HostCount, 2);
        QCOMPARE(w.net().Hosts[1].X, 1);
        QCOMPARE(w.net().Hosts[2].X, form.Image1->width() - 1);
        QCOMPARE(w.net().Hosts[2].Y, form.Image1->height() - 1);
    }

    // A double click is one click: in channel mode its first click picks the
    // first end, its second press makes no channel from the host to itself.
    void doubleClickIsOneClick() {
        Windows w(Windows::All);
        TForm1& form = w.main();
        PlaceHosts(form, {{100, 100}});
        Press(form.Button3);
        QWindow* window = form.windowHandle();
        const QPoint at = form.Image1->mapTo(&form, QPoint(100, 100));
        // Press, release, press, release within the double-click time: the
        // toolkit makes the second press a double click.
        const Outcome out =
            Act([window, at] { QTest::mouseDClick(window, Qt::LeftButton, {}, at); });
        QVERIFY(!out.dialogShown);
        QCOMPARE(Access::ClickMode(form), int(TForm1::cmChannelSecondEnd));
        QCOMPARE(Access::PickedHost(form), 1);
        QCOMPARE(w.net().ChannelCount, 0);
    }
};

QTEST_MAIN(EditingCanvasTest)
#include "editing_canvas_test.moc"
