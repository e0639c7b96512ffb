// "нагрузка…" of the drawing's context menu: the dialog's preview while the
// parameters are typed, the table put in place as one undo step and shown in
// the load table, routing with dynamic routing on, and bad input that
// changes nothing.
#include <QComboBox>
#include <QtTest>
#include <cmath>

#include "LoadGenForm.h"
#include "load_scaling.h"
#include "test_support.h"

using namespace ui_test;

namespace {

// Three hosts in a row joined by two channels of capacity 5000.
void ThreeInARow(Windows& w) {
    SetCapacities(w.net(), {5000});
    AddHosts(w.net(), {{50, 50}, {150, 50}, {350, 50}});
    w.net().AddChannel(1, 2, 1);
    w.net().AddChannel(2, 3, 1);
    w.main().RedrawAll();
    Access::ClearHistory(w.main());
}

// The texts of the error boxes that came up.
QStringList Errors;

// "применить", answering an error box it brings up.
void Apply(TLoadGenForm* d) {
    const auto errorBox = ErrorBoxInto(Errors);
    Press(d->Button1);
}

// Runs "нагрузка…", lets `steps` fill the dialog and apply, cancels it if it
// is still open, and returns the texts of the error boxes.
QStringList Through(TForm1& form, const std::function<void(TLoadGenForm*)>& steps) {
    Errors.clear();
    ModalAnswer<TLoadGenForm> dialog([&steps](TLoadGenForm* d) {
        steps(d);
        if (d->isVisible())
            Press(d->Button2);
    });
    ContextEntry(form, "нагрузка…")->trigger();
    [&dialog] { QVERIFY(dialog.Seen()); }();
    return Errors;
}

}  // namespace

class LoadsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QApplication::setApplicationName("netdesigner"); }

    void aGeneratedTableIsOneUndoStepAndTheLoadTableShowsIt() {
        Windows w(Windows::All);
        ThreeInARow(w);
        const net::TNetObj before = w.net();
        QString preview;
        const QStringList errors = Through(w.main(), [&preview](TLoadGenForm* d) {
            d->KindBox->setCurrentIndex(TLoadGenForm::kGravity);
            RetypeText(d->TotalEdit, "1000");
            RetypeText(d->WeightsEdit, "1 2 3");
            preview = d->PreviewLabel->text();
            Apply(d);
        });
        QVERIFY(errors.isEmpty());
        // 1000 split by the products 2, 3 and 6 of 22 (largest remainders).
        QCOMPARE(preview, QString("сумма нагрузок 1000, наибольшая 273"));
        const auto& loads = w.net().LoadMatrix;
        QCOMPARE(loads[1][2], 91);
        QCOMPARE(loads[3][1], 136);
        QCOMPARE(loads[2][3], 273);
        QCOMPARE(Form7->Cell(3, 2), QString("273"));
        QCOMPARE(Access::UndoSteps(w.main()), size_t{1});
        ContextEntry(w.main(), "отменить")->trigger();
        QVERIFY(net::SameNetwork(w.net(), before));
    }

    void withDynamicRoutingTheNewLoadsAreRouted() {
        Windows w(Windows::All);
        ThreeInARow(w);
        w.net().DynamicRouting = true;
        Through(w.main(), [](TLoadGenForm* d) {
            RetypeText(d->MinEdit, "10");
            RetypeText(d->MaxEdit, "20");
            RetypeText(d->SeedEdit, "4");
            Apply(d);
        });
        // Density 1: all six ordered pairs get a load, and each gets a path.
        QCOMPARE(w.net().PathTable.PathCount, 6);
        for (int i = 1; i <= 3; ++i)
            for (int j = 1; j <= 3; ++j)
                QVERIFY(i == j ? w.net().LoadMatrix[i][j] == 0
                               : w.net().LoadMatrix[i][j] >= 10 && w.net().LoadMatrix[i][j] <= 20);
    }

    void scalingToATargetAndSymmetryWorkOnTheTableInPlace() {
        Windows w(Windows::All);
        ThreeInARow(w);
        w.net().LoadMatrix[1][3] = 1000;
        w.net().LoadMatrix[3][1] = 400;
        Through(w.main(), [](TLoadGenForm* d) {
            d->KindBox->setCurrentIndex(TLoadGenForm::kTarget);
            RetypeText(d->TargetEdit, "0,5");  // a decimal comma is taken too
            Apply(d);
        });
        // 1-3 has one route, with 1400 of 5000 on both channels: times 0.5 / 0.28
        // it is 1785.7 and 714.3, rounded 2500 of 5000.
        QCOMPARE(w.net().LoadMatrix[1][3], 1786);
        QCOMPARE(w.net().LoadMatrix[3][1], 714);
        QVERIFY(std::abs(*optimize::SmallestBusiest(w.net()) - 0.5) < 1e-6);

        Through(w.main(), [](TLoadGenForm* d) {
            d->KindBox->setCurrentIndex(TLoadGenForm::kSymmetric);
            QTest::mouseClick(d->SumRadio, Qt::LeftButton, {}, QPoint(5, 10));
            QCOMPARE(d->PreviewLabel->text(), QString("сумма нагрузок 5000, наибольшая 2500"));
            Apply(d);
        });
        QCOMPARE(w.net().LoadMatrix[3][1], 2500);
        QCOMPARE(Form7->Cell(1, 3), QString("2500"));
        QCOMPARE(Access::UndoSteps(w.main()), size_t{2});
    }

    void badInputIsSaidAndChangesNothing() {
        Windows w(Windows::All);
        ThreeInARow(w);
        w.net().LoadMatrix[1][2] = 1073741824;
        const net::TNetObj before = w.net();
        const QString grid = Form7->Cell(2, 1);

        QString preview;
        bool stayed = false;
        QStringList errors = Through(w.main(), [&](TLoadGenForm* d) {
            RetypeText(d->MinEdit, "30");
            RetypeText(d->MaxEdit, "20");
            preview = d->PreviewLabel->text();
            Apply(d);
            stayed = d->isVisible();
        });
        QCOMPARE(preview, QString("Наименьшая нагрузка 30 больше наибольшей 20"));
        QCOMPARE(errors, QStringList{"Наименьшая нагрузка 30 больше наибольшей 20."});
        QVERIFY(stayed);

        errors = Through(w.main(), [](TLoadGenForm* d) {
            d->KindBox->setCurrentIndex(TLoadGenForm::kFactor);
            RetypeText(d->FactorEdit, "abc");
            Apply(d);
            RetypeText(d->FactorEdit, "2");  // one past the limit for 2^30
            Apply(d);
            d->KindBox->setCurrentIndex(TLoadGenForm::kGravity);
            RetypeText(d->WeightsEdit, "1 2");
            Apply(d);
        });
        QCOMPARE(errors,
                 (QStringList{"Множитель нагрузки «abc» — не число: пишется как 1, 0.5 или 2e3.",
                              "Нагрузка 1→2 после умножения стала бы 2147483648, а она должна "
                              "быть от -2147483648 до 2147483647; нагрузки не изменены.",
                              "Весов 2, а маршрутизаторов 3: нужен вес каждого маршрутизатора по "
                              "порядку номеров."}));
        QVERIFY(net::SameNetwork(w.net(), before));
        QCOMPARE(Form7->Cell(2, 1), grid);
        QCOMPARE(Access::UndoSteps(w.main()), size_t{0});
    }
};

QTEST_MAIN(LoadsTest)
#include "loads_test.moc"
