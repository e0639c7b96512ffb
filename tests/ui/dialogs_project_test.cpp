// The open and save dialogs: the directory list, the selection error and the
// Confirmed flag of each showing.
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QTemporaryDir>
#include <QtTest>
#include <set>

#include "DirList.h"
#include "OpenForm.h"
#include "SaveForm.h"
#include "errors.h"
#include "test_support.h"

using namespace ui_test;

class DialogsProjectTest : public QObject {
    Q_OBJECT

private:
    // Shows the dialog modally and runs `answer` once it is up.
    template <typename Dialog, typename Answer>
    void ShowAnswered(Dialog& dialog, Answer answer) {
        ExecWith(dialog, [answer](Dialog& d) {
            QVERIFY(d.isVisible());
            answer(d);
        });
        QVERIFY(!dialog.isVisible());
    }

private slots:
    void listsSubdirectoriesSortedDotsFirstHiddenLeftOut() {
        QTemporaryDir work;
        QDir dir(work.path());
        for (const char* name : {"b", "A", "a", "_x", ".hidden", "проект"}) {
            QVERIFY(dir.mkdir(QString::fromUtf8(name)));
        }
        QFile file(dir.filePath("zfile"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        QVERIFY(QFile::link(dir.filePath("b"), dir.filePath("c-link")));
        QVERIFY(QFile::link(dir.filePath("zfile"), dir.filePath("d-link")));

        const QStringList names = ListSubdirectories(work.path());
        const QStringList expected = {".", "..", "_x", "A", "a", "b", "c-link", "проект"};
        QCOMPARE(names, expected);
    }

    // A name in Windows-1251 is shown readably and chosen by its own bytes,
    // beside a UTF-8 name that reads the same.
    void nonUtf8NamesAreListedAndChosenByTheirBytes() {
        QTemporaryDir work;
        const QByteArray cp1251("\xCF\xF0\xEE\xE5\xEA\xF2");  // "Проект"
        const QByteArray utf8 = QString::fromUtf8("Проект").toUtf8();
        for (const QByteArray& name : {cp1251, utf8}) {
            QVERIFY(::mkdir((QFile::encodeName(work.path()) + "/" + name).constData(), 0777) == 0);
        }
        QCOMPARE(
            ListSubdirectories(work.path()),
            QStringList({".", "..", QString::fromUtf8("Проект"), QString::fromUtf8("Проект")}));

        QListWidget list;
        FillDirectoryList(list, work.path());
        QCOMPARE(list.count(), 4);
        std::set<std::string> chosen;
        for (int row = 2; row < 4; ++row) {
            list.item(row)->setSelected(true);
            chosen.insert(SelectedDirectory(list));
            list.clearSelection();
        }
        QCOMPARE(chosen, (std::set<std::string>{cp1251.toStdString(), utf8.toStdString()}));
        // QTemporaryDir cannot remove what it cannot name.
        ::rmdir((QFile::encodeName(work.path()) + "/" + cp1251).constData());
    }

    void emptyDirectoryStillOffersDotAndDotDot() {
        QTemporaryDir work;
        QCOMPARE(ListSubdirectories(work.path()), QStringList({".", ".."}));
    }

    void layoutAndListFilledFromWorkingDirectoryAtCreation() {
        QTemporaryDir work;
        QVERIFY(QDir(work.path()).mkdir("p1"));
        const QString saved = QDir::currentPath();
        QVERIFY(QDir::setCurrent(work.path()));
        TForm5 open;
        TForm6 save;
        // Made after creation: not offered.
        QVERIFY(QDir(work.path()).mkdir("p2"));
        QVERIFY(QDir::setCurrent(saved));

        for (QListWidget* list : {open.ListBox1, save.ListBox1}) {
            QCOMPARE(list->count(), 3);
            QCOMPARE(list->item(2)->text(), QString("p1"));
            QCOMPARE(list->x(), 8);
            QCOMPARE(list->width(), 121);
        }
        QCOMPARE(open.windowTitle(), QString("открыть"));
        QCOMPARE(save.windowTitle(), QString("сохранить"));
        QCOMPARE(open.ListBox1->height(), 249);
        QCOMPARE(save.ListBox1->height(), 241);
        QCOMPARE(open.Button1->text(), QString("открыть"));
        QCOMPARE(save.Button1->text(), QString("сохранить"));
        QCOMPARE(open.Button2->text(), QString("отмена"));
        QCOMPARE(save.Button2->geometry(), QRect(368, 232, 75, 25));
        QCOMPARE(open.Button1->geometry(), QRect(368, 200, 75, 25));
        QVERIFY(!open.Confirmed);
        QVERIFY(!save.Confirmed);
    }

    void noSelectionIsTheListIndexError() {
        TForm5 open;
        QVERIFY(open.ListBox1->count() >= 2);
        // A current row without a selection is not a choice.
        open.ListBox1->setCurrentRow(0, QItemSelectionModel::NoUpdate);
        const auto select = [&] { SelectedDirectory(*open.ListBox1); };
        QCOMPARE(QString::fromStdString(testing_support::MessageOf(select)),
                 QString("List index out of bounds (-1)"));
        QListWidget empty;
        QVERIFY_THROWS_EXCEPTION(net::NetError, SelectedDirectory(empty));

        QTest::mouseClick(open.ListBox1->viewport(), Qt::LeftButton, {},
                          open.ListBox1->visualItemRect(open.ListBox1->item(1)).center());
        QCOMPARE(SelectedDirectory(*open.ListBox1), std::string(".."));
    }

    // Only the confirm button confirms: the frame's close button and Escape
    // cancel, also right after a confirmed showing.
    void confirmedOnlyByTheConfirmButtonOfThatShowing() {
        TForm6 save;
        ShowAnswered(save, [](TForm6& d) { Press(d.Button1); });
        QVERIFY(save.Confirmed);
        ShowAnswered(save, [](TForm6& d) { d.close(); });
        QVERIFY(!save.Confirmed);
        ShowAnswered(save, [](TForm6& d) { Press(d.Button1); });
        ShowAnswered(save, [](TForm6& d) { QTest::keyClick(&d, Qt::Key_Escape); });
        QVERIFY(!save.Confirmed);
        ShowAnswered(save, [](TForm6& d) { Press(d.Button2); });
        QVERIFY(!save.Confirmed);

        TForm5 open;
        ShowAnswered(open, [](TForm5& d) { Press(d.Button1); });
        QVERIFY(open.Confirmed);
        ShowAnswered(open, [](TForm5& d) { QTest::keyClick(d.ListBox1, Qt::Key_Escape); });
        QVERIFY(!open.Confirmed);
        ShowAnswered(open, [](TForm5& d) { Press(d.Button2); });
        QVERIFY(!open.Confirmed);
    }

    void selectionStaysBetweenShowings() {
        TForm5 open;
        ShowAnswered(open, [](TForm5& d) {
            d.ListBox1->item(1)->setSelected(true);
            Press(d.Button1);
        });
        ShowAnswered(open, [](TForm5& d) { d.close(); });
        QCOMPARE(SelectedDirectory(*open.ListBox1), std::string(".."));
    }
};

QTEST_MAIN(DialogsProjectTest)
#include "dialogs_project_test.moc"
