// The file menu's "загрузить" and "сохранить" with their dialogs, and the
// load table entry of the routing menu.
#include <QDir>
#include <QFile>
#include <QtTest>

#include "test_support.h"

using namespace ui_test;

namespace {

// Selects the directory `name` in a dialog's list as a click would.
template <typename Dialog>
void Choose(Dialog* dialog, const QString& name) {
    const QList<QListWidgetItem*> found = dialog->ListBox1->findItems(name, Qt::MatchExactly);
    QCOMPARE(found.size(), 1);
    QListWidget* list = dialog->ListBox1;
    list->scrollToItem(found.front());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(found.front()).center());
    QVERIFY(found.front()->isSelected());
}

// An answer to the open or save dialog: choose the directory `name`, then
// press the button that confirms.
template <typename Dialog>
auto ChooseAndConfirm(const QString& name) {
    return [name](Dialog* d) {
        Choose(d, name);
        Press(d->Button1);
    };
}

// Runs a menu entry whose dialog (open or save) is answered by `answer`;
// returns the error boxes shown.
template <typename Dialog, typename Answer>
QStringList RunFileCommand(QAction* entry, Answer answer) {
    QStringList errors;
    const auto errorBox = ErrorBoxInto(errors);
    ModalAnswer<Dialog> dialog([answer](Dialog* d) { answer(d); });
    entry->trigger();
    if (!dialog.Seen())
        errors << "no dialog";
    return errors;
}

void BuildSmallNetwork(net::TNetObj& net) {
    net.Reset();
    net.AddHost(100, 100, "Москва", 3);
    net.AddHost(300, 100, "Тверь", 1);
    net.AddHost(300, 300, "Псков", 2);
    net.AddChannel(1, 2, 2);
    net.AddChannel(2, 3, 1);
    net.LoadMatrix[1][3] = 700;
    net.LoadMatrix[3][1] = -4;
}

}  // namespace

class EditingFilesTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        // Offered by the dialogs: they list the working directory at creation.
        QDir here;
        for (const char* name : {"p1", "p2", "gone"}) {
            if (!here.exists(name))
                QVERIFY(here.mkdir(name));
        }
    }

    void openOrSaveWithoutSelectionIsTheListIndexError() {
        Windows w(Windows::All);
        TForm1& form = w.main();
        BuildSmallNetwork(w.net());
        Form7->SetCell(4, 4, "typed");
        QStringList errors = RunFileCommand<TForm5>(form.N1, [](TForm5* d) { Press(d->Button1); });
        QCOMPARE(errors, QStringList({"List index out of bounds (-1)"}));
        QCOMPARE(w.net().HostCount, 3);
        // The grid reload and the redraw are skipped too.
        QCOMPARE(Form7->Cell(4, 4), QString("typed"));

        errors = RunFileCommand<TForm6>(form.N2, [](TForm6* d) { Press(d->Button1); });
        QCOMPARE(errors, QStringList({"List index out of bounds (-1)"}));
        QVERIFY(!QFile::exists("p1/hosts.hs"));
        QVERIFY(!QFile::exists("./hosts.hs"));
    }

    void saveThenStartOverThenLoad() {
        Windows w(Windows::All);
        TForm1& form = w.main();
        BuildSmallNetwork(w.net());
        const net::TNetObj saved = w.net();

        QStringList errors = RunFileCommand<TForm6>(form.N2, ChooseAndConfirm<TForm6>("p1"));
        QVERIFY(errors.isEmpty());
        for (const char* file : {"p1/hosts.hs", "p1/channels.cs", "p1/general.gs"}) {
            QVERIFY(QFile::exists(file));
        }

        Access::N8Click(form);
        QCOMPARE(w.net().HostCount, 0);
        Form7->SetCell(1, 1, "unsaved");

        errors = RunFileCommand<TForm5>(form.N1, ChooseAndConfirm<TForm5>("p1"));
        QVERIFY(errors.isEmpty());
        QCOMPARE(w.net().HostCount, 3);
        QCOMPARE(w.net().HostName(1), std::string("Москва"));
        QVERIFY(w.net().Hosts == saved.Hosts);
        QVERIFY(w.net().ChannelPresent == saved.ChannelPresent);
        QCOMPARE(w.net().LoadMatrix[1][3], 700);
        // The grid shows the loaded loads, the unsaved text is gone.
        QCOMPARE(Form7->Cell(3, 1), QString("700"));
        QCOMPARE(Form7->Cell(1, 3), QString("-4"));
        QCOMPARE(Form7->Cell(1, 1), QString("0"));
        // Redrawn: the host list of the tree shows the loaded hosts.
        QVERIFY(
            !form.TreeView1->findItems("Москва", Qt::MatchContains | Qt::MatchRecursive).isEmpty());

        // After a confirmed load, closing through the frame or with Escape
        // loads nothing: the edit since stays.
        w.net().DeleteHost(1);
        errors = RunFileCommand<TForm5>(form.N1, [](TForm5* d) { d->close(); });
        errors += RunFileCommand<TForm5>(
            form.N1, [](TForm5* d) { QTest::keyClick(d->ListBox1, Qt::Key_Escape); });
        QVERIFY(errors.isEmpty());
        QCOMPARE(w.net().HostCount, 2);
        QVERIFY(!w.net().HostPresent[1]);
    }

    // The paths and delay figures of the network on screen before a load are
    // not those of the loaded one; in dynamic mode the redraw routes it anew.
    void loadClearsTheRoutingResultsOfTheNetworkBefore() {
        Windows w(Windows::All);
        TForm1& form = w.main();
        BuildSmallNetwork(w.net());
        QVERIFY(RunFileCommand<TForm6>(form.N2, ChooseAndConfirm<TForm6>("p1")).isEmpty());
        net::TNetObj& net = w.net();
        net.AddHost(100, 300, "Тула", 1);
        net.AddChannel(4, 3, 1);
        net.LoadMatrix[4][1] = 50;
        form.N18->trigger();
        QCOMPARE(net.PathTable.PathCount, 2);
        QVERIFY(!ChildTexts(Category(form.TreeView1, TForm1::tkPaths)).isEmpty());

        QVERIFY(RunFileCommand<TForm5>(form.N1, ChooseAndConfirm<TForm5>("p1")).isEmpty());
        QCOMPARE(net.PathTable.PathCount, 0);
        QCOMPARE(net.Unrouted.Count, 0);
        QVERIFY(net.DelayMatrix == net::HostMatrix<double>{});
        QVERIFY(net.ResidualMatrix == net::HostMatrix<int32_t>{});
        QCOMPARE(ChildTexts(Category(form.TreeView1, TForm1::tkPaths)), QStringList());

        net.DynamicRouting = true;
        QVERIFY(RunFileCommand<TForm5>(form.N1, ChooseAndConfirm<TForm5>("p1")).isEmpty());
        net::TNetObj expected = net;
        expected.RouteAll();
        QCOMPARE(net.PathTable.PathCount, 1);
        QVERIFY(net.PathTable.Records == expected.PathTable.Records);
        QCOMPARE(ChildTexts(Category(form.TreeView1, TForm1::tkPaths)).size(), 1);
    }

    void cancelledOpenStillReloadsTheGridAndRedraws() {
        Windows w(Windows::All);
        TForm1& form = w.main();
        BuildSmallNetwork(w.net());
        Form7->SetCell(3, 1, "unsaved");
        form.Image1->BrushColor = Qt::white;
        form.Image1->FillRect(form.Image1->rect());
        const QStringList errors =
            RunFileCommand<TForm5>(form.N1, [](TForm5* d) { Press(d->Button2); });
        QVERIFY(errors.isEmpty());
        QVERIFY(!Form5->Confirmed);
        QCOMPARE(w.net().HostCount, 3);
        QCOMPARE(Form7->Cell(3, 1), QString("700"));
        QCOMPARE(Pixel(form.Picture(), 5, 5), Black);
    }

    void failedSaveIsReportedAndFailedLoadChangesNothing() {
        Windows w(Windows::All);
        TForm1& form = w.main();
        BuildSmallNetwork(w.net());
        // Listed at start, replaced by an ordinary file since.
        QVERIFY(QDir().rmdir("gone"));
        QFile file("gone");
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();

        QStringList errors = RunFileCommand<TForm6>(form.N2, ChooseAndConfirm<TForm6>("gone"));
        QCOMPARE(errors.size(), 1);

        Form7->SetCell(2, 2, "kept");
        // An empty directory: no project files.
        errors = RunFileCommand<TForm5>(form.N1, ChooseAndConfirm<TForm5>("p2"));
        QCOMPARE(errors.size(), 1);
        QCOMPARE(w.net().HostCount, 3);
        QCOMPARE(Form7->Cell(2, 2), QString("kept"));
    }

    void loadTableEntryShowsTheEditorAndRedrawsNothing() {
        Windows w(Windows::All);
        TForm1& form = w.main();
        BuildSmallNetwork(w.net());
        form.RedrawAll();
        form.Image1->BrushColor = Qt::white;
        form.Image1->FillRect(QRect(0, 0, 10, 10));
        ModalAnswer<TForm7> editor([](TForm7* d) {
            d->SetCell(2, 1, "15");
            Press(d->Button1);
        });
        form.N21->trigger();
        QVERIFY(editor.Seen());
        QCOMPARE(w.net().LoadMatrix[1][2], 15);
        // Nothing routed and nothing redrawn.
        QCOMPARE(w.net().PathTable.PathCount, 0);
        QCOMPARE(Pixel(form.Picture(), 5, 5), White);
    }
};

QTEST_MAIN(EditingFilesTest)
#include "editing_files_test.moc"
