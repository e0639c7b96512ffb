// The parameter dialog: its layout, and that the fields and the check box keep
// what the user left in them from one showing to the next.
#include <QtTest>

#include "hcInfo.h"
#include "test_support.h"

using namespace ui_test;

class DialogsParamTest : public QObject {
    Q_OBJECT

private slots:
    void layoutAndCaptions() {
        TForm4 form;
        QCOMPARE(form.windowTitle(), QString("Form4"));
        QCOMPARE(form.Label1->text(), QString("имя хоста (номер)"));
        QCOMPARE(form.Label2->text(), QString("тип"));
        QCOMPARE(form.CheckBox1->text(), QString("изменить координаты?"));
        QCOMPARE(form.Button1->text(), QString("внести изменения"));
        QCOMPARE(form.Edit1->geometry(), QRect(200, 16, 121, 24));
        QCOMPARE(form.Edit2->geometry(), QRect(200, 56, 121, 24));
        // Captions keep their place and grow to their text where the font needs it.
        for (QWidget* caption :
             std::initializer_list<QWidget*>{form.Label1, form.Label2, form.CheckBox1}) {
            QVERIFY(caption->width() >= caption->sizeHint().width());
        }
        QCOMPARE(form.Label1->pos(), QPoint(8, 16));
        QVERIFY(form.Label1->width() >= 115);
        QCOMPARE(form.Label2->pos(), QPoint(8, 56));
        QCOMPARE(form.CheckBox1->pos(), QPoint(8, 104));
        QVERIFY(form.CheckBox1->width() >= 177);
        QCOMPARE(form.CheckBox1->height(), 17);
        QCOMPARE(form.Button1->geometry(), QRect(8, 144, 137, 25));
        QCOMPARE(form.pos(), QPoint(649, 189));
        QVERIFY(form.Edit1->text().isEmpty());
        QVERIFY(form.Edit2->text().isEmpty());
        QVERIFY(!form.CheckBox1->isChecked());
    }

    void fieldsAndBoxKeptBetweenShowings() {
        TForm4 form;
        ExecWith(form, [](TForm4& d) {
            TypeText(d.Edit1, "узел");
            TypeText(d.Edit2, "3");
            QTest::mouseClick(d.CheckBox1, Qt::LeftButton, {}, QPoint(5, 8));
            Press(d.Button1);
        });
        QVERIFY(!form.isVisible());

        // Closed through the frame: the caller reads the fields all the same.
        QString seenName, seenType;
        bool seenBox = false;
        ExecWith(form, [&](TForm4& d) {
            seenName = d.Edit1->text();
            seenType = d.Edit2->text();
            seenBox = d.CheckBox1->isChecked();
            d.close();
        });
        QCOMPARE(seenName, QString("узел"));
        QCOMPARE(seenType, QString("3"));
        QVERIFY(seenBox);
        QCOMPARE(form.Edit1->text(), QString("узел"));
        QVERIFY(form.CheckBox1->isChecked());
    }
};

QTEST_MAIN(DialogsParamTest)
#include "dialogs_param_test.moc"
