// Nothing lost on exit or crash: the question before closing with unsaved
// changes, the recovery copy a killed program leaves for the next start, and
// Qt's own texts in Russian.
#include <QDir>
#include <QMessageBox>
#include <QProcess>
#include <QtTest>
#include <cstring>
#include <filesystem>

#include "SaveAsForm.h"
#include "qt_translation.h"
#include "recovery_store.h"
#include "test_support.h"
#include "undo_history.h"

using namespace ui_test;

namespace {

// The change every test makes: two hosts, a channel and a load.
void Change(TForm1& form) {
    AddHosts(form.Net(), {{60, 60}, {260, 90}});
    form.Net().AddChannel(1, 2, 1);
    form.Net().LoadMatrix[1][2] = 1234;
    form.RedrawAll();
}

// Presses Escape on the question and records it.
ModalAnswer<QMessageBox> Escape(QString& question) {
    return ModalAnswer<QMessageBox>([&question](QMessageBox* box) {
        question = box->text();
        QTest::keyClick(box, Qt::Key_Escape);
    });
}

// A recovery copy of `net` under the recovery root, as a program killed
// after writing it leaves it.
void LeaveRecoveryCopy(const net::TNetObj& net, const std::string& name) {
    const std::string root = net::DefaultRecoveryRoot();
    net::RecoveryStore store(root);
    store.Write(net, "");
    std::filesystem::copy(store.Folder(), root + "/" + name);
}

// Answers the question with the button of that text ("yes": the yes button,
// in whatever language) and records the question.
ModalAnswer<QMessageBox> Answer(const QString& button, QString& question) {
    return ModalAnswer<QMessageBox>([button, &question](QMessageBox* box) {
        question = box->text();
        for (QAbstractButton* b : box->buttons()) {
            if (b->text() == button ||
                (button == "yes" && box->buttonRole(b) == QMessageBox::YesRole) ||
                (button == "no" && box->buttonRole(b) == QMessageBox::NoRole))
                b->click();
        }
    });
}

// The program a test kills: it makes the change, waits until its recovery
// copy is written, says so and waits for its end.
int RunChangedProgram() {
    Windows w(Windows::All);
    w.net().Reset();
    Change(w.main());
    const std::string root = net::DefaultRecoveryRoot();
    const auto written = [&root] {
        std::error_code ignored;
        for (const auto& entry : std::filesystem::directory_iterator(root, ignored)) {
            if (std::filesystem::exists(entry.path() / "recovery.info"))
                return true;
        }
        return false;
    };
    for (int k = 0; k < 200 && !written(); ++k)
        QTest::qWait(50);
    if (!written())
        return 1;
    std::fputs("written\n", stdout);
    std::fflush(stdout);
    QTest::qWait(60000);
    return 0;
}

}  // namespace

class ClosingTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QApplication::setApplicationName("netdesigner"); }

    void closingAsksOnlyWhenTheNetworkDiffersFromWhatWasSaved() {
        Windows w(Windows::All);
        TForm1& form = w.main();
        w.net().Reset();
        Access::MarkSaved(form, "");
        // Routing alone changes nothing a project holds.
        form.Net().RouteAll();
        QVERIFY(!form.HasUnsavedChanges());
        QVERIFY(form.close());
        QVERIFY(Windows::ShowAndWait(form));

        const net::TNetObj saved = w.net();
        Change(form);
        QString question;
        {
            const auto answer = Answer("Отмена", question);
            QVERIFY(!form.close());
        }
        QCOMPARE(question, QString("Сохранить изменения в сети «новый»?"));
        QVERIFY(form.isVisible());
        {
            const auto answer = Answer("Не сохранять", question);
            QVERIFY(form.close());
        }
        // Back to the saved network: nothing to ask.
        QVERIFY(Windows::ShowAndWait(form));
        w.net() = saved;
        QVERIFY(!form.HasUnsavedChanges());
    }

    // Saved, then routed: routing results are no part of a project.
    void routingASavedNetworkLeavesNothingUnsaved() {
        Windows w(Windows::All);
        TForm1& form = w.main();
        w.net().Reset();
        Change(form);
        w.net().LoadMatrix[2][1] = 700;
        Access::MarkSaved(form, "");
        form.N18->trigger();
        QVERIFY(w.net().PathTable.PathCount > 0);
        QString question;
        const auto answer = Answer("Отмена", question);
        QVERIFY(form.close());
        QCOMPARE(question, QString());
    }

    void aSingleChangedLoadMakesClosingAsk() {
        Windows w(Windows::All);
        TForm1& form = w.main();
        w.net().Reset();
        Change(form);
        Access::MarkSaved(form, "");
        w.net().LoadMatrix[2][1] = 1;
        QVERIFY(form.HasUnsavedChanges());
        QString question;
        {
            const auto answer = Answer("Отмена", question);
            QVERIFY(!form.close());
        }
        QCOMPARE(question, QString("Сохранить изменения в сети «новый»?"));
        // Changed back: nothing to ask.
        w.net().LoadMatrix[2][1] = 0;
        QVERIFY(!form.HasUnsavedChanges());
    }

    void escapeOnTheQuestionKeepsTheWindowAndTheChange() {
        Windows w(Windows::All);
        TForm1& form = w.main();
        w.net().Reset();
        Access::MarkSaved(form, "");
        Change(form);
        QString question;
        {
            const auto answer = Escape(question);
            QVERIFY(!form.close());
        }
        QCOMPARE(question, QString("Сохранить изменения в сети «новый»?"));
        QVERIFY(form.isVisible());
        QCOMPARE(w.net().LoadMatrix[1][2], 1234);
        QVERIFY(form.HasUnsavedChanges());
    }

    void saveGoesToTheLastFolderOrThroughSaveAs() {
        Windows w(Windows::All);
        TForm1& form = w.main();
        w.net().Reset();
        QVERIFY(QDir().mkdir("kept"));
        w.net().SaveProject("kept");
        Access::MarkSaved(form, "kept");
        Change(form);
        QString question;
        {
            const auto answer = Answer("Сохранить", question);
            QVERIFY(form.close());
        }
        net::TNetObj loaded;
        loaded.LoadProject("kept");
        QVERIFY(net::SameProject(loaded, w.net()));
        QVERIFY(!form.HasUnsavedChanges());

        // Never saved: "сохранить как" asks for a new folder.
        QVERIFY(Windows::ShowAndWait(form));
        w.net().Reset();
        Access::MarkSaved(form, "");
        Change(form);
        {
            const auto answer = Answer("Сохранить", question);
            ModalAnswer<TForm8> folder([](TForm8* d) {
                RetypeText(d->Edit1, "fresh");
                Press(d->Button1);
            });
            QVERIFY(form.close());
        }
        loaded.LoadProject("fresh");
        QVERIFY(net::SameProject(loaded, w.net()));
        QVERIFY(!form.HasUnsavedChanges());
    }

    void aFailedSaveKeepsTheWindowOpenWithTheError() {
        Windows w(Windows::All);
        TForm1& form = w.main();
        w.net().Reset();
        QVERIFY(QDir().mkdir("lost"));
        Access::MarkSaved(form, "lost");
        Change(form);
        // A regular file where the project folder was.
        QVERIFY(QDir().rmdir("lost"));
        QFile file("lost");
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        QString question;
        QStringList errors;
        {
            const auto answer = Answer("Сохранить", question);
            const auto errorBox = ErrorBoxInto(errors);
            QVERIFY(!form.close());
        }
        QCOMPARE(errors.size(), 1);
        QVERIFY(form.isVisible());
        QVERIFY(form.HasUnsavedChanges());
    }

    void aKilledProgramsNetworkIsRestoredAtTheNextStart() {
        // The windows of this test keep their copies under the same state directory.
        QProcess program;
        program.start(QCoreApplication::applicationFilePath(), {"--changed-program"});
        QVERIFY(program.waitForStarted());
        QByteArray said;
        QTRY_VERIFY2_WITH_TIMEOUT((said += program.readAllStandardOutput()).contains("written"),
                                  qPrintable(said + program.readAllStandardError()), 20000);
        program.kill();  // SIGKILL: no chance to clean up
        QVERIFY(program.waitForFinished());

        Windows w(Windows::All);
        TForm1& form = w.main();
        QString question;
        {
            const auto answer = Answer("yes", question);
            form.OfferRecovery();
        }
        QVERIFY2(question.startsWith("Восстановить несохранённую сеть «новый» (изменена "),
                 qPrintable(question));
        net::TNetObj expected;
        expected.Reset();
        AddHosts(expected, {{60, 60}, {260, 90}});
        expected.AddChannel(1, 2, 1);
        expected.LoadMatrix[1][2] = 1234;
        QVERIFY(net::SameProject(form.Net(), expected));
        QCOMPARE(form.Net().ChannelTypes, expected.ChannelTypes);
        QCOMPARE(form.Net().NetworkName, std::string("новый"));
        // Restored as changed: closing asks again; offered once only.
        QVERIFY(form.HasUnsavedChanges());
        QVERIFY(net::RecoveryStore::FindStale(net::DefaultRecoveryRoot()).empty());
    }

    void aDeclinedCopyIsNotOfferedAgain() {
        net::TNetObj lost;
        lost.Reset();
        AddHosts(lost, {{60, 60}});
        lost.NetworkName = "отклонённая";
        LeaveRecoveryCopy(lost, "declined");
        Windows w(Windows::All);
        TForm1& form = w.main();
        w.net().Reset();
        QString question;
        {
            const auto answer = Answer("no", question);
            form.OfferRecovery();
        }
        QVERIFY2(question.startsWith("Восстановить несохранённую сеть «отклонённая»"),
                 qPrintable(question));
        QCOMPARE(w.net().HostCount, 0);
        QVERIFY(net::RecoveryStore::FindStale(net::DefaultRecoveryRoot()).empty());
        question.clear();
        {
            const auto answer = Answer("no", question);
            form.OfferRecovery();
        }
        QCOMPARE(question, QString());
    }

    void qtsOwnTextsAreRussian() {
        QVERIFY(InstallQtTranslation(*QCoreApplication::instance()));
        QMessageBox box(QMessageBox::Question, "t", "q", QMessageBox::Yes | QMessageBox::No);
        QCOMPARE(box.button(QMessageBox::Yes)->text().remove('&'), QString("Да"));
        QCOMPARE(box.button(QMessageBox::No)->text().remove('&'), QString("Нет"));
    }
};

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    if (argc > 1 && std::strcmp(argv[1], "--changed-program") == 0)
        return RunChangedProgram();
    ClosingTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "closing_test.moc"
