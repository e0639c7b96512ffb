// "сохранить как": a new project folder named in a small dialog, refused
// names, the question before an existing folder's files are replaced, and the
// new folder offered by the open and save dialogs.
#include <QDir>
#include <QFile>
#include <QtTest>

#include "SaveAsForm.h"
#include "test_support.h"

using namespace ui_test;

namespace {

// Types each name into the dialog and presses "сохранить", collecting the
// error boxes; the last name is expected to close the dialog.
QStringList SaveAs(TForm1& form, const QStringList& names) {
    QStringList errors;
    ModalAnswer<TForm8> dialog([&errors, names](TForm8* d) {
        for (const QString& name : names) {
            const auto box = ErrorBoxInto(errors);
            RetypeText(d->Edit1, name);
            QTest::keyClick(d->Edit1, Qt::Key_Return);
        }
    });
    form.N9->trigger();
    if (!dialog.Seen())
        errors << "no dialog";
    return errors;
}

// Answers the question about an existing folder with `button`.
ModalAnswer<QMessageBox> AnswerQuestion(QMessageBox::StandardButton button, QString& text) {
    return ModalAnswer<QMessageBox>([button, &text](QMessageBox* box) {
        text = box->text();
        box->button(button)->click();
    });
}

QByteArray Contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

class DialogsSaveAsTest : public QObject {
    Q_OBJECT

private slots:
    void savesIntoANewFolderOfferedByBothLists() {
        QFile file("afile");
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        Windows w(Windows::All);
        TForm1& form = w.main();
        net::TNetObj& net = w.net();
        net.Reset();
        AddHosts(net, {{100, 100}, {300, 100}});
        net.AddChannel(1, 2, 1);

        const QStringList errors = SaveAs(form, {"", "a/b", "..", ".скрытая", "afile", "проект 2"});
        QCOMPARE(
            errors,
            QStringList({"Введите имя папки проекта.", "Имя папки «a/b» не должно содержать «/»",
                         "«..» не может быть именем новой папки проекта.",
                         "Имя папки «.скрытая» начинается с точки: такая папка скрыта и не "
                         "попадёт в списки проектов.",
                         "«afile» — это файл, а не папка."}));
        const QString hosts = QString("проект 2/hosts.hs");
        QCOMPARE(QFile(hosts).size(), 720);
        QVERIFY(!QDir(".скрытая").exists() && !QDir("a").exists());
        for (QListWidget* list : {Form5->ListBox1, Form6->ListBox1}) {
            QCOMPARE(list->findItems("проект 2", Qt::MatchExactly).size(), 1);
        }
        // The name of the network is not the folder's: saving changes nothing.
        QCOMPARE(net.NetworkName, std::string("новый"));

        // An existing folder: its files are replaced only after a yes.
        net.AddHost(200, 300, "c", 1);
        const QByteArray saved = Contents(hosts);
        QString question;
        {
            const auto no = AnswerQuestion(QMessageBox::No, question);
            QCOMPARE(SaveAs(form, {"проект 2"}), QStringList());
        }
        QVERIFY(question.contains("«проект 2» уже есть"));
        QCOMPARE(Contents(hosts), saved);
        {
            const auto yes = AnswerQuestion(QMessageBox::Yes, question);
            QCOMPARE(SaveAs(form, {"проект 2"}), QStringList());
        }
        QVERIFY(Contents(hosts) != saved);
        QCOMPARE(Form5->ListBox1->findItems("проект 2", Qt::MatchExactly).size(), 1);

        // Closing the dialog otherwise saves nothing.
        ModalAnswer<TForm8> cancel([](TForm8* d) {
            RetypeText(d->Edit1, "третий");
            QTest::keyClick(d->Edit1, Qt::Key_Escape);
        });
        form.N9->trigger();
        QVERIFY(cancel.Seen());
        QVERIFY(!QDir("третий").exists());

        // "новый", then the new folder opened from the list.
        Access::N8Click(form);
        ModalAnswer<TForm5> open([](TForm5* d) {
            d->ListBox1->findItems("проект 2", Qt::MatchExactly).front()->setSelected(true);
            Press(d->Button1);
        });
        form.N1->trigger();
        QCOMPARE(net.HostCount, 3);
        QCOMPARE(net.NetworkName, std::string("проект 2"));
    }
};

QTEST_MAIN(DialogsSaveAsTest)
#include "dialogs_save_as_test.moc"
