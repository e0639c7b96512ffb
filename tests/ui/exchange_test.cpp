// "импорт сети…" and "экспорт сети…" of the drawing's context menu: the file
// dialog, the dialog that shows what the file holds and asks for the channel
// type and scale, the one message after an import, and undo.
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QtTest>

#include "ImportForm.h"
#include "test_support.h"
#include "undo_history.h"

using namespace ui_test;

namespace {

const char* const Triangle = R"(graph [
  node [ id 0 label "A" graphics [ x 100 y 100 ] ]
  node [ id 1 label "B" graphics [ x 300 y 100 ] ]
  node [ id 2 label "C" graphics [ x 100 y 100 ] ]
  edge [ source 0 target 1 ]
  edge [ source 1 target 2 ]
  edge [ source 1 target 0 ]
  demand [ source 0 target 2 value 301 ]
  demand [ source 2 target 0 value 7 ]
]
)";

void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// The captions of the file dialog's buttons, seen when it was last answered.
QStringList ButtonTexts;

ModalAnswer<QFileDialog> ChooseFile(const QString& path) {
    return ModalAnswer<QFileDialog>([path](QFileDialog* d) {
        ButtonTexts.clear();
        for (const QPushButton* button : d->findChildren<QPushButton*>())
            ButtonTexts << button->text();
        d->selectFile(path);
        static_cast<QDialog*>(d)->accept();
    });
}

// What the user sees and does in the import dialog.
struct ImportAnswer {
    QString type = "1";
    QString scale = "1";
    bool confirm = true;
};

}  // namespace

class ExchangeTest : public QObject {
    Q_OBJECT

    // Runs "импорт сети…" on `path`; returns the texts of the message boxes
    // and, through `shown`, what the import dialog showed.
    static QStringList ImportThrough(TForm1& form, const QString& path, const ImportAnswer& answer,
                                     QString* shown = nullptr) {
        const auto file = ChooseFile(path);
        ModalAnswer<TImportForm> dialog([&answer, shown](TImportForm* d) {
            if (shown != nullptr)
                *shown = d->Label1->text() + " | " + d->Label2->text();
            RetypeText(d->Edit1, answer.type);
            RetypeText(d->Edit2, answer.scale);
            Press(answer.confirm ? d->Button1 : d->Button2);
        });
        QStringList boxes;
        ModalAnswer<QMessageBox> box([&boxes](QMessageBox* b) {
            boxes << b->text();
            b->accept();
        });
        ContextEntry(form, "импорт сети…")->trigger();
        return boxes;
    }

private slots:
    void initTestCase() { QApplication::setApplicationName("netdesigner"); }

    void importReplacesTheNetworkInOneUndoStep() {
        Windows w(Windows::All);
        TForm1& form = w.main();
        SetCapacities(w.net(), {5000, 9000});
        AddHosts(w.net(), {{50, 50}, {200, 50}});
        form.RedrawAll();
        const net::TNetObj before = w.net();
        const QString path = QDir::current().filePath("triangle.gml");
        WriteFile(path, Triangle);

        QString shown;
        const QStringList boxes =
            ImportThrough(form, path, {"2", "0,5"}, &shown);  // a decimal comma is taken too
        QCOMPARE(shown, QString("файл «triangle.gml» | узлов 3, связей 3, требований 2 на "
                                "сумму 308"));
        QCOMPARE(boxes, QStringList{"Сеть «triangle»: маршрутизаторов 3, каналов 2, нагрузок 2.\n"
                                    "При импорте объединено повторных связей 1, сдвинуто "
                                    "слишком близких маршрутизаторов 1."});
        QCOMPARE(w.net().HostCount, 3);
        QCOMPARE(testing_support::Links(w.net(), testing_support::LinkForm::EndsAndType),
                 std::string("1-2/2 2-3/2"));
        QCOMPARE(w.net().LoadMatrix[1][3], 151);  // 150.5
        QCOMPARE(w.net().LoadMatrix[3][1], 4);    // 3.5
        QCOMPARE(Form7->StringGrid1->item(0, 2)->text(), QString("151"));
        QCOMPARE(w.net().ChannelTypes[2].Capacity, 9000);
        // Drawn: host 2 at (300, 100) has its disc there.
        QVERIFY(Pixel(form.Picture(), 300, 100) != White);

        ContextEntry(form, "отменить")->trigger();
        QVERIFY(net::SameNetwork(w.net(), before));
    }

    void cancelOrABadFileChangesNothing() {
        Windows w(Windows::All);
        TForm1& form = w.main();
        AddHosts(w.net(), {{50, 50}});
        const net::TNetObj before = w.net();
        const QString good = QDir::current().filePath("triangle.gml");
        WriteFile(good, Triangle);
        QVERIFY(ImportThrough(form, good, {"1", "1", false}).isEmpty());
        QVERIFY(net::SameNetwork(w.net(), before));

        // A bad scale keeps the dialog open: then cancelled.
        bool stayed = false;
        QStringList errors;
        {
            const auto file = ChooseFile(good);
            ModalAnswer<TImportForm> dialog([&stayed, &errors](TImportForm* d) {
                RetypeText(d->Edit2, "0");
                const auto errorBox = ErrorBoxInto(errors);
                Press(d->Button1);
                stayed = d->isVisible();
                Press(d->Button2);
            });
            ContextEntry(form, "импорт сети…")->trigger();
        }
        QCOMPARE(errors, QStringList{"Масштаб нагрузки должен быть числом больше 0."});
        QVERIFY(stayed);
        QVERIFY(net::SameNetwork(w.net(), before));

        const QString bad = QDir::current().filePath("bad.gml");
        WriteFile(bad, "graph [ node [ id 1 ]\n edge [ source 1 target 9 ] ]");
        const QStringList boxes = ImportThrough(form, bad, {});
        QCOMPARE(boxes.size(), 1);
        QVERIFY2(boxes[0].contains("строка 2: неизвестный узел «9»"), qPrintable(boxes[0]));
        QVERIFY(net::SameNetwork(w.net(), before));
        QVERIFY(!ContextEntry(form, "отменить")->isEnabled());
    }

    void exportWritesWhatImportReadsBack() {
        Windows w(Windows::All);
        TForm1& form = w.main();
        SetCapacities(w.net(), {5000});
        AddHosts(w.net(), {{50, 50}, {200, 50}, {120, 300}});
        testing_support::AddChannels(w.net(), {{1, 2}, {3, 1}});
        w.net().LoadMatrix[3][2] = 900;
        form.RedrawAll();
        const net::TNetObj designed = w.net();
        for (const QString name : {"net.txt", "net.gml"}) {
            const QString path = QDir::current().filePath(name);
            {
                const auto file = ChooseFile(path);
                ContextEntry(form, "экспорт сети…")->trigger();
            }
            QVERIFY(QFile::exists(path));
            QVERIFY2(ButtonTexts.contains("сохранить") && ButtonTexts.contains("отмена"),
                     qPrintable(ButtonTexts.join(", ")));
            ImportThrough(form, path, {});
            QCOMPARE(w.net().Hosts, designed.Hosts);
            QCOMPARE(testing_support::Links(w.net()), testing_support::Links(designed));
            QCOMPARE(w.net().LoadMatrix, designed.LoadMatrix);
        }
    }
};

QTEST_MAIN(ExchangeTest)
#include "exchange_test.moc"
