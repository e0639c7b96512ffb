// The topology entries of the menu that ask for their numbers in the
// parameter dialog: star, full mesh, spanning tree over all pairs,
// biconnectivity and ring.
#include <QtTest>

#include "test_support.h"

using namespace ui_test;

namespace {

// Five hosts on a line, 100 pixels apart, with the reference type tables.
void FiveInALine(net::TNetObj& net) {
    net.Reset();
    for (int i = 1; i <= 5; ++i)
        net.AddHost(100 * i, 100, "h" + std::to_string(i), 1);
}

int Degree(const net::TNetObj& net, int host) {
    int degree = 0;
    for (int c = 1; c <= net::MaxChannels; ++c) {
        if (!net.ChannelPresent[c])
            continue;
        degree += (net.Channels[c].HostA == host) + (net.Channels[c].HostB == host);
    }
    return degree;
}

bool Joined(const net::TNetObj& net, int a, int b) {
    for (int c = 1; c <= net::MaxChannels; ++c) {
        const net::ChannelRecord& ch = net.Channels[c];
        if (net.ChannelPresent[c] &&
            ((ch.HostA == a && ch.HostB == b) || (ch.HostA == b && ch.HostB == a))) {
            return true;
        }
    }
    return false;
}

bool AllChannelsOfType(const net::TNetObj& net, int type) {
    for (int c = 1; c <= net::MaxChannels; ++c) {
        if (net.ChannelPresent[c] && net.Channels[c].TypeNo != type)
            return false;
    }
    return true;
}

}  // namespace

class EditingTopologyTest : public QObject {
    Q_OBJECT

private slots:
    void starAroundTheHostOfEdit1() {
        Windows w(Windows::All);
        TForm1& form = w.main();
        FiveInALine(w.net());
        Outcome out = Trigger(form.N11, {"3", "2", {}});
        QVERIFY(out.dialogShown);
        QVERIFY(out.errors.isEmpty());
        QCOMPARE(w.net().ChannelCount, 4);
        QCOMPARE(Degree(w.net(), 3), 4);
        QVERIFY(AllChannelsOfType(w.net(), 2));
        QCOMPARE(form.Panel3->text(), QString("сеть связна"));
        QCOMPARE(Access::ClickMode(form), int(TForm1::cmNone));

        // A centre that is no present host adds nothing and raises nothing.
        w.net().DeleteAllChannels();
        out = Trigger(form.N11, {"17", "2", {}});
        QVERIFY(out.errors.isEmpty());
        out = Trigger(form.N11, {"-1", "2", {}});
        QVERIFY(out.errors.isEmpty());
        QCOMPARE(w.net().ChannelCount, 0);
    }

    void starReadsBothFieldsBeforeAnyChange() {
        Windows w(Windows::All);
        TForm1& form = w.main();
        FiveInALine(w.net());
        Outcome out = Trigger(form.N11, {"x", "y", {}});
        QCOMPARE(out.errors, QStringList({"'x' is not a valid integer value."}));
        out = Trigger(form.N11, {"$3", "", {}});
        QCOMPARE(out.errors, QStringList({"'' is not a valid integer value."}));
        QCOMPARE(w.net().ChannelCount, 0);
    }

    void meshTreeBiconnectivityAndRing() {
        Windows w(Windows::All);
        TForm1& form = w.main();
        FiveInALine(w.net());

        Outcome out = Trigger(form.N17, {{}, "3", {}});
        QVERIFY(out.dialogShown);
        QVERIFY(out.errors.isEmpty());
        // The shortest tree over all pairs joins the neighbours on the line.
        QCOMPARE(w.net().ChannelCount, 4);
        for (int i = 1; i < 5; ++i)
            QVERIFY(Joined(w.net(), i, i + 1));
        QVERIFY(AllChannelsOfType(w.net(), 3));
        QCOMPARE(form.Panel3->text(), QString("сеть связна"));

        out = Trigger(form.N13, {{}, "2", {}});
        QVERIFY(out.errors.isEmpty());
        QVERIFY(w.net().ChannelCount > 4);
        QCOMPARE(w.net().Classify(), net::Biconnected);
        QCOMPARE(form.Panel3->text(), QString("сеть двусвязна"));

        out = Trigger(form.N15, {{}, "1", {}});
        QVERIFY(out.errors.isEmpty());
        QCOMPARE(w.net().ChannelCount, 10);

        out = Trigger(form.N22, {{}, "2", {}});
        QVERIFY(out.errors.isEmpty());
        QCOMPARE(w.net().ChannelCount, 5);
        for (int i = 1; i <= 5; ++i)
            QCOMPARE(Degree(w.net(), i), 2);
        QVERIFY(AllChannelsOfType(w.net(), 2));
        QCOMPARE(w.net().Classify(), net::Biconnected);
        // The tree view lists the ring's channels.
        QCOMPARE(ChildTexts(Category(form.TreeView1, TForm1::tkChannels)).size(), 5);
    }

    void invalidTypeChangesNothing() {
        Windows w(Windows::All);
        TForm1& form = w.main();
        FiveInALine(w.net());
        w.net().AddChannel(1, 2, 1);
        w.net().AddChannel(2, 3, 1);
        const net::TNetObj before = w.net();
        for (QAction* entry : {form.N13, form.N15, form.N17, form.N22}) {
            const Outcome out = Trigger(entry, {"1", "две", {}});
            QCOMPARE(out.errors, QStringList({"'две' is not a valid integer value."}));
            QVERIFY(w.net().ChannelPresent == before.ChannelPresent);
            QVERIFY(w.net().Channels == before.Channels);
        }
    }

    void dynamicRoutingRunsAfterTheBuild() {
        Windows w(Windows::All);
        TForm1& form = w.main();
        FiveInALine(w.net());
        w.net().LoadMatrix[1][5] = 100;
        w.net().LoadMatrix[2][4] = 50;
        w.net().DynamicRouting = true;
        const Outcome out = Trigger(form.N15, {{}, "3", {}});
        QVERIFY(out.errors.isEmpty());
        QCOMPARE(w.net().PathTable.PathCount, 2);
        QVERIFY(w.net().DynamicRouting);
    }
};

QTEST_MAIN(EditingTopologyTest)
#include "editing_topology_test.moc"
