// The design advisor in the windows: the options dialog and its refusals,
// the search under its progress window, the result window with the design
// drawn over the picture, "применить" as one undo step, and cancelled,
// impossible or stale runs that change nothing. The networks are small
// enough that the cheapest design is plain by hand; also the network cost
// in the routing quality window.
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QtTest>
#include <algorithm>
#include <cmath>
#include <limits>

#include "DesignForm.h"
#include "DesignOptionsForm.h"
#include "DesignProgressForm.h"
#include "QualityForm.h"
#include "network_cost.h"
#include "numconv.h"
#include "test_support.h"

using namespace ui_test;
using testing_support::LinkForm;
using testing_support::Links;

namespace {

const QRgb Yellow = qRgb(255, 255, 0);
const QRgb Magenta = qRgb(255, 0, 255);

// What the user types and ticks in the options dialog.
struct OptionsInput {
    bool keep = false;
    bool survive = false;
    QString utilisation = "0,8";
    QString seconds = "20";
};

void FillOptions(TDesignOptionsForm* dialog, const OptionsInput& input) {
    dialog->CheckBox1->setChecked(input.keep);
    dialog->CheckBox2->setChecked(input.survive);
    RetypeText(dialog->Edit1, input.utilisation);
    RetypeText(dialog->Edit2, input.seconds);
    Press(dialog->Button1);
}

// A channel of the design as "a-b/type", kept ones marked "+kept".
QString ChannelsText(const std::vector<design::DesignChannel>& channels) {
    QStringList texts;
    for (const design::DesignChannel& c : channels)
        texts << QString("%1-%2/%3%4")
                     .arg(c.HostA)
                     .arg(c.HostB)
                     .arg(c.Type)
                     .arg(c.Kept ? "+kept" : "");
    return texts.join(' ');
}

// The number of pixels of `colour` in a 9 x 9 square around each of the
// points at a quarter, half and three quarters of the way from a to b.
int ColourAlong(const QImage& picture, QPoint a, QPoint b, QRgb colour) {
    int count = 0;
    for (const double t : {0.25, 0.5, 0.75}) {
        const QPoint at(static_cast<int>(a.x() + t * (b.x() - a.x())),
                        static_cast<int>(a.y() + t * (b.y() - a.y())));
        count += CountPixels(picture, QRect(at - QPoint(4, 4), QSize(9, 9)), colour);
    }
    return count;
}

}  // namespace

class DesignTest : public QObject {
    Q_OBJECT

    static constexpr QPoint P1{100, 100};
    static constexpr QPoint P2{300, 100};
    static constexpr QPoint P3{100, 300};

    // Hosts 1 (100, 100), 2 (300, 100) and 3 (100, 300); one channel type of
    // capacity 10000 costing 1 a pixel; 1000 from each host to each other.
    // Joining 1-2 and 1-3 (200 each) is cheapest: any other pair of channels
    // takes the diagonal 2-3 (283), and every channel carries at most 4000,
    // well under 0.8 of its capacity.
    static void Corner(net::TNetObj& net) {
        SetCapacities(net, {10000});
        net.ChannelTypes[1].Value2 = 1;
        AddHosts(net, {{P1.x(), P1.y()}, {P2.x(), P2.y()}, {P3.x(), P3.y()}});
        for (int a = 1; a <= 3; ++a) {
            for (int b = 1; b <= 3; ++b)
                net.LoadMatrix[a][b] = a == b ? 0 : 1000;
        }
    }

    static TDesignForm* ResultWindow(TForm1& form) {
        auto* window = form.findChild<TDesignForm*>();
        return window != nullptr && window->isVisible() ? window : nullptr;
    }

    // "проектирование сети…" answered with `input`; the texts of any error
    // boxes go into `errors`.
    static void Design(TForm1& form, const OptionsInput& input, QStringList* errors = nullptr) {
        QStringList seen;
        const auto errorBox = ErrorBoxInto(errors != nullptr ? *errors : seen);
        ModalAnswer<TDesignOptionsForm> dialog(
            [&input](TDesignOptionsForm* d) { FillOptions(d, input); });
        ContextEntry(form, "проектирование сети…")->trigger();
        QVERIFY(dialog.Seen());
    }

    static void Prepare(Windows& w, const std::function<void(net::TNetObj&)>& build) {
        build(w.net());
        w.main().RedrawAll();
        TForm1Access::ClearHistory(w.main());
    }

private slots:
    void initTestCase() { QApplication::setApplicationName("netdesigner"); }

    void theCheapestDesignIsShownDrawnAndAppliedAsOneUndoStep() {
        Windows w(Windows::All);
        TForm1& form = w.main();
        Prepare(w, [](net::TNetObj& net) {
            Corner(net);
            net.BuildFullMesh(1);
        });
        const net::TNetObj before = w.net();
        const double meshCost = 400.0 + std::hypot(200.0, 200.0);

        Design(form, {});
        TDesignForm* window = ResultWindow(form);
        QVERIFY(window != nullptr);
        QVERIFY(window->ChosenDesign() != nullptr);
        QCOMPARE(ChannelsText(window->ChosenDesign()->Channels), QString("1-2/1 1-3/1"));
        QVERIFY(std::abs(window->ChosenDesign()->Cost - 400.0) < 1e-6);
        QCOMPARE(window->Table1->rowCount(), 2);
        QCOMPARE(window->Table1->item(1, 0)->text(), QString("1-3"));
        QCOMPARE(window->Table1->item(1, 3)->text(), QString("200.000"));
        QCOMPARE(window->Table1->item(1, 4)->text(), QString("тот же"));
        const QString current = window->Label2->text();
        QVERIFY2(
            current.contains("стоимость " + QString::fromStdString(net::FormatFixed3(meshCost))) &&
                current.contains("метод размещает требований 6 из 6"),
            qPrintable(current));
        const QString figures = window->Label4->text();
        QVERIFY2(figures.contains("Стоимость 400.000") &&
                     figures.contains("оптимальность доказана") &&
                     figures.contains("метод размещает требований 6 из 6"),
                 qPrintable(figures));
        QVERIFY2(window->Label5->text().contains("Каналов сети, которых в проекте нет: 2-3"),
                 qPrintable(window->Label5->text()));
        QVERIFY(!window->ComboBox1->isEnabled());  // the method carries the proposed design
        // Nothing changes before "применить"; the dropped diagonal is dashed.
        QVERIFY(net::SameNetwork(w.net(), before));
        QCOMPARE(TForm1Access::UndoSteps(form), size_t{0});
        QVERIFY(ColourAlong(form.Picture(), P2, P3, Magenta) > 0);
        QVERIFY(ColourAlong(form.Picture(), P2, P3, Green) > 0);
        QCOMPARE(ColourAlong(form.Picture(), P1, P2, Magenta), 0);

        Press(window->Button2);
        QCOMPARE(Links(w.net(), LinkForm::EndsAndType), std::string("1-2/1 1-3/1"));
        QCOMPARE(w.net().Unrouted.Count, 0);
        QCOMPARE(w.net().PathTable.PathCount, 6);
        QVERIFY(!window->isVisible());
        QCOMPARE(ColourAlong(form.Picture(), P2, P3, Magenta), 0);
        QCOMPARE(ColourAlong(form.Picture(), P2, P3, Green), 0);
        QCOMPARE(TForm1Access::UndoSteps(form), size_t{1});
        ContextEntry(form, "отменить")->trigger();
        QVERIFY(net::SameNetwork(w.net(), before));
    }

    void newChannelsAreDashedUntilTheWindowCloses() {
        Windows w(Windows::All);
        TForm1& form = w.main();
        Prepare(w, Corner);
        Design(form, {.utilisation = "1", .seconds = "1"});  // both limits exactly
        TDesignForm* window = ResultWindow(form);
        QVERIFY(window != nullptr);
        QCOMPARE(window->Table1->item(0, 4)->text(), QString("нет"));
        const int dashes = ColourAlong(form.Picture(), P1, P2, Yellow);
        QVERIFY(dashes > 0);
        QVERIFY(ColourAlong(form.Picture(), P1, P2, Black) > 0);  // the gaps
        QCOMPARE(ColourAlong(form.Picture(), P2, P3, Yellow), 0);
        // A repaint of the main window keeps them while the window is open.
        form.RedrawAll();
        QCOMPARE(ColourAlong(form.Picture(), P1, P2, Yellow), dashes);

        Press(window->Button1);
        QCOMPARE(CountPixels(form.Picture(), form.Picture().rect(), Yellow), 0);
        QCOMPARE(w.net().ChannelCount, 0);
    }

    void keptChannelsStayAndCostNothing() {
        Windows w(Windows::All);
        TForm1& form = w.main();
        // 1-2 present: only 1-3 (200) or 2-3 (283) is still needed.
        Prepare(w, [](net::TNetObj& net) {
            Corner(net);
            net.AddChannel(1, 2, 1);
        });
        Design(form, {.keep = true});
        TDesignForm* window = ResultWindow(form);
        QVERIFY(window != nullptr && window->ChosenDesign() != nullptr);
        QCOMPARE(ChannelsText(window->ChosenDesign()->Channels), QString("1-2/1+kept 1-3/1"));
        QVERIFY(std::abs(window->ChosenDesign()->Cost - 200.0) < 1e-6);
        QCOMPARE(window->Table1->item(0, 4)->text(), QString("оставлен"));
        QCOMPARE(window->Table1->item(0, 3)->text(), QString("-"));
        QVERIFY(window->Label3->text().contains("имеющиеся каналы оставлены"));
        Press(window->Button2);
        QCOMPARE(Links(w.net(), LinkForm::EndsAndType), std::string("1-2/1 1-3/1"));
        QCOMPARE(TForm1Access::UndoSteps(form), size_t{1});
    }

    void surviveNeedsTheWholeTriangle() {
        Windows w(Windows::All);
        TForm1& form = w.main();
        Prepare(w, Corner);
        Design(form, {.survive = true});
        TDesignForm* window = ResultWindow(form);
        QVERIFY(window != nullptr && window->ChosenDesign() != nullptr);
        QCOMPARE(ChannelsText(window->ChosenDesign()->Channels), QString("1-2/1 1-3/1 2-3/1"));
        QVERIFY(window->Label4->text().contains("после отказа любого одного канала размещает всё"));
        QVERIFY(window->Label3->text().contains("отказ любого одного канала выдерживается"));
    }

    void theDesignTheMethodCarriesIsOfferedBeside() {
        Windows w(Windows::All);
        TForm1& form = w.main();
        // 15000 from 1 to 2 at full utilisation: the triangle of type 1
        // (683) carries it split over two paths, which the method never
        // does; 1-2 of type 2 (800) carries it on one.
        Prepare(w, [](net::TNetObj& net) {
            Corner(net);
            net.LoadMatrix = {};
            net.LoadMatrix[1][2] = 15000;
            SetCapacities(net, {10000, 20000});
            net.ChannelTypes[2].Value2 = 4;
        });
        Design(form, {.utilisation = "1"});
        TDesignForm* window = ResultWindow(form);
        QVERIFY(window != nullptr && window->ChosenDesign() != nullptr);
        const design::DesignResult& result = window->Outcome().Result;
        QCOMPARE(ChannelsText(result.Proposed->Channels), QString("1-2/1 1-3/1 2-3/1"));
        QCOMPARE(result.Proposed->Method.Unplaced, 1);
        QVERIFY(result.MethodCarriedNeeded);
        QVERIFY(window->Label4->text().contains("не размещено 1 с нагрузкой 15000"));
        if (!result.MethodCarried) {
            QVERIFY(window->Label5->text().contains("за отведённое время не найдено"));
            QSKIP("the search found no design that the method carries");
        }
        QCOMPARE(result.MethodCarried->Method.Unplaced, 0);
        QVERIFY(result.MethodCarried->Cost >= 800.0 - 1e-6);
        QCOMPARE(window->ComboBox1->count(), 2);
        QVERIFY(window->ComboBox1->isEnabled());
        QVERIFY(ColourAlong(form.Picture(), P2, P3, Yellow) > 0);

        window->ComboBox1->setCurrentIndex(1);
        QCOMPARE(window->ChosenDesign(), &*result.MethodCarried);
        const std::vector<design::DesignChannel> carried = result.MethodCarried->Channels;
        QCOMPARE(window->Table1->rowCount(), static_cast<int>(carried.size()));
        QVERIFY(window->Label4->text().contains("метод размещает требований 1 из 1"));
        const bool diagonal = std::any_of(carried.begin(), carried.end(), [](const auto& c) {
            return c.HostA == 2 && c.HostB == 3;
        });
        QCOMPARE(ColourAlong(form.Picture(), P2, P3, Yellow) > 0, diagonal);
        Press(window->Button2);
        QCOMPARE(Links(w.net(), LinkForm::EndsAndType), ChannelsText(carried).toStdString());
        QCOMPARE(w.net().Unrouted.Count, 0);
    }

    void aCheaperNetworkTheMethodCarriesIsPointedOut() {
        Windows w(Windows::All);
        TForm1& form = w.main();
        // 8500 from 1 to 2 fills channel 1-2 (200) beyond 0.8: the method
        // still routes it there, while a design must split it over the
        // triangle (683).
        Prepare(w, [](net::TNetObj& net) {
            Corner(net);
            net.LoadMatrix = {};
            net.LoadMatrix[1][2] = 8500;
            net.AddChannel(1, 2, 1);
        });
        Design(form, {});
        TDesignForm* window = ResultWindow(form);
        QVERIFY(window != nullptr && window->ChosenDesign() != nullptr);
        QCOMPARE(ChannelsText(window->ChosenDesign()->Channels), QString("1-2/1 1-3/1 2-3/1"));
        QVERIFY2(window->Label5->text().contains("Сеть сейчас дешевле этого проекта"),
                 qPrintable(window->Label5->text()));

        // Not when the design costs the same: 1-2 alone carries 1000.
        w.net().LoadMatrix[1][2] = 1000;
        form.RedrawAll();
        Design(form, {});
        TDesignForm* again = ResultWindow(form);
        QVERIFY(again != nullptr && again->ChosenDesign() != nullptr);
        QCOMPARE(ChannelsText(again->ChosenDesign()->Channels), QString("1-2/1"));
        QVERIFY(!again->Label5->text().contains("Сеть сейчас дешевле"));
    }

    void badNumbersAreRefusedNamingTheField() {
        QCOMPARE(TDesignOptionsForm::ReadUtilisation("0,05"), 0.05);
        QCOMPARE(TDesignOptionsForm::ReadUtilisation(" 1 "), 1.0);
        QCOMPARE(TDesignOptionsForm::ReadSeconds("3600"), 3600.0);
        QCOMPARE(TDesignOptionsForm::ReadSeconds("1"), 1.0);
        const auto refused = [](auto read, const QString& typed) {
            return QString::fromStdString(testing_support::MessageOf([&] { read(typed); }));
        };
        const auto umax = [](const QString& t) { return TDesignOptionsForm::ReadUtilisation(t); };
        const auto time = [](const QString& t) { return TDesignOptionsForm::ReadSeconds(t); };
        QCOMPARE(refused(umax, "1,01"),
                 QString("Наибольшая загрузка канала 1,01 вне допустимого: от 0.05 до 1"));
        QVERIFY(refused(umax, "0.049").contains("вне допустимого"));
        QVERIFY(refused(umax, "").contains("не число"));
        QVERIFY(refused(umax, "nan").contains("не число"));
        QVERIFY(refused(umax, "0.8x").contains("не число"));
        QVERIFY(refused(time, "0,99").startsWith("Предел времени 0,99 вне допустимого"));
        QVERIFY(refused(time, "3601").contains("от 1 до 3600 секунд"));
        QVERIFY(refused(time, "1e9999").contains("не число"));

        // Through the dialog: the box names the field, the dialog stays open.
        Windows w(Windows::All);
        TForm1& form = w.main();
        Prepare(w, Corner);
        const net::TNetObj before = w.net();
        QStringList errors;
        bool stillOpen = false;
        {
            const auto errorBox = ErrorBoxInto(errors);
            ModalAnswer<TDesignOptionsForm> dialog([&stillOpen](TDesignOptionsForm* d) {
                RetypeText(d->Edit1, "1,5");
                Press(d->Button1);
                stillOpen = d->isVisible();
                Press(d->Button2);
            });
            ContextEntry(form, "проектирование сети…")->trigger();
        }
        QCOMPARE(errors.size(), 1);
        QVERIFY2(errors[0].contains("Наибольшая загрузка канала 1,5"), qPrintable(errors[0]));
        QVERIFY(stillOpen);
        QVERIFY(ResultWindow(form) == nullptr);
        QVERIFY(net::SameNetwork(w.net(), before));
    }

    void impossibleOrEmptyNetworksChangeNothing() {
        Windows w(Windows::All);
        TForm1& form = w.main();
        // No hosts at all.
        QStringList errors;
        Design(form, {}, &errors);
        QCOMPARE(errors.size(), 1);
        QVERIFY(ResultWindow(form) == nullptr);

        // 30000 out of host 1: its two possible channels take 16000 at 0.8.
        Prepare(w, [](net::TNetObj& net) {
            Corner(net);
            net.AddChannel(2, 3, 1);
            net.LoadMatrix[1][2] = 30000;
        });
        const net::TNetObj before = w.net();
        errors.clear();
        Design(form, {}, &errors);
        TDesignForm* window = ResultWindow(form);
        // Refused naming the host, or a result without a design that cannot be applied.
        if (!errors.isEmpty()) {
            QCOMPARE(errors.size(), 1);
            QVERIFY2(errors[0].contains("маршрутизатор") && errors[0].contains("1"),
                     qPrintable(errors[0]));
            QVERIFY(window == nullptr);
        } else {
            QVERIFY(window != nullptr && window->ChosenDesign() == nullptr);
            QVERIFY(!window->Button2->isEnabled());
        }
        QVERIFY(net::SameNetwork(w.net(), before));
        QCOMPARE(TForm1Access::UndoSteps(form), size_t{0});
    }

    void cancelKeepsTheNetwork() {
        Windows w(Windows::All);
        TForm1& form = w.main();
        // "отмена" in the options dialog: no search at all.
        Prepare(w, Corner);
        {
            ModalAnswer<TDesignOptionsForm> dialog(
                [](TDesignOptionsForm* d) { Press(d->Button2); });
            ModalAnswer<TDesignProgressForm> progress([](TDesignProgressForm* d) { d->Finish(); });
            ContextEntry(form, "проектирование сети…")->trigger();
            QVERIFY(dialog.Seen());
            progress.Stop();
            QVERIFY(!progress.Seen());
        }
        QVERIFY(ResultWindow(form) == nullptr);

        // "Отмена" in the progress window of a search that takes long: every
        // demand among 18 hosts.
        net::TNetObj& net = w.net();
        net = net::TNetObj();
        SetCapacities(net, {4000, 12000, 40000});
        for (int t = 1; t <= 3; ++t)
            net.ChannelTypes[t].Value2 = t + 1;
        for (int h = 0; h < 18; ++h)
            net.AddHost(40 + 60 * (h % 6) + 7 * (h / 6), 40 + 90 * (h / 6) + 5 * (h % 6), "", 1);
        for (int a = 1; a <= 18; ++a) {
            for (int b = 1; b <= 18; ++b)
                net.LoadMatrix[a][b] = a == b ? 0 : 100 + 37 * ((a * 7 + b * 3) % 11);
        }
        net.AddChannel(1, 2, 1);
        form.RedrawAll();
        TForm1Access::ClearHistory(form);
        const net::TNetObj before = w.net();
        bool stopped = false;
        {
            ModalAnswer<TDesignProgressForm> progress([&stopped](TDesignProgressForm* d) {
                Press(d->Button1);
                stopped = d->StopAsked() && !d->Button1->isEnabled();
            });
            Design(form, {.seconds = "600"});
        }
        QVERIFY(stopped);
        TDesignForm* window = ResultWindow(form);
        QVERIFY(window != nullptr);
        QVERIFY(window->Outcome().Result.Cancelled);
        QVERIFY(net::SameNetwork(w.net(), before));
        QCOMPARE(TForm1Access::UndoSteps(form), size_t{0});
    }

    void aDesignForAnotherNetworkIsNotApplied() {
        Windows w(Windows::All);
        TForm1& form = w.main();
        Prepare(w, Corner);
        Design(form, {});
        TDesignForm* window = ResultWindow(form);
        QVERIFY(window != nullptr);
        // Routing since is no change to what the design rests on...
        w.net().RouteAll();
        window->CheckMadeFor(w.net());
        // ...a load is.
        w.net().LoadMatrix[2][3] = 1001;
        const net::TNetObj before = w.net();
        QStringList errors;
        {
            const auto errorBox = ErrorBoxInto(errors);
            Press(window->Button2);
        }
        QCOMPARE(errors.size(), 1);
        QVERIFY2(errors[0].startsWith("Сеть изменилась после проектирования"),
                 qPrintable(errors[0]));
        QVERIFY(net::SameNetwork(w.net(), before));
        QCOMPARE(TForm1Access::UndoSteps(form), size_t{0});
    }

    void theProgressWindowClosesOnlyWhenTheSearchEnds() {
        TDesignProgressForm window(10.0);
        QSignalSpy stop(&window, &TDesignProgressForm::StopRequested);
        QVERIFY(Windows::ShowAndWait(window));
        window.ShowProgress({std::numeric_limits<double>::infinity(), 0.0, 0.5});
        QCOMPARE(window.Label1->text(), QString("лучшая стоимость: -"));
        QCOMPARE(window.Label3->text(), QString("разрыв: -"));
        window.ShowProgress({110.0, 100.0, 1.0});
        QCOMPARE(window.Label2->text(), QString("граница: 100.000"));
        QCOMPARE(window.Label3->text(), QString("разрыв: 10.00 %"));
        // Escape or the frame's close button ask to stop, once; the window stays.
        QTest::keyClick(&window, Qt::Key_Escape);
        window.close();
        QVERIFY(window.isVisible());
        QCOMPARE(stop.count(), 1);
        QVERIFY(window.StopAsked() && !window.Button1->isEnabled());
        QVERIFY(window.Label4->text().contains("поиск останавливается"));
        window.Finish();
        QVERIFY(!window.isVisible());
        QCOMPARE(window.result(), int(QDialog::Accepted));
    }

    void progressFigures() {
        const double inf = std::numeric_limits<double>::infinity();
        QCOMPARE(TDesignProgressForm::CostText(inf), QString("-"));
        QCOMPARE(TDesignProgressForm::CostText(1234.5678), QString("1234.568"));
        QCOMPARE(TDesignProgressForm::GapText(102.0, 100.0), QString("2.00 %"));
        QCOMPARE(TDesignProgressForm::GapText(100.0, 100.0), QString("0.00 %"));
        // A bound a rounding above the cost is no negative gap.
        QCOMPARE(TDesignProgressForm::GapText(100.0, 100.0 + 1e-9), QString("0.00 %"));
        QCOMPARE(TDesignProgressForm::GapText(inf, 100.0), QString("-"));
        QCOMPARE(TDesignProgressForm::GapText(5.0, 0.0), QString("-"));
    }

    void theQualityWindowShowsTheNetworkCost() {
        Windows w(Windows::All);
        TForm1& form = w.main();
        Prepare(w, [](net::TNetObj& net) {
            Corner(net);
            SetCapacities(net, {10000, 10000});
            net.ChannelTypes[2].Value2 = 3;
            net.AddChannel(1, 2, 1);
            net.AddChannel(2, 3, 2);
        });
        const double cost = 200.0 + 3 * std::hypot(200.0, 200.0);
        ContextEntry(form, "качество маршрутизации")->trigger();
        auto* window = form.findChild<TQualityForm*>();
        QVERIFY(window != nullptr && window->isVisible());
        QCOMPARE(window->Label3->text(),
                 QString("Сеть: стоимость %1 (сумма по каналам: второе число типа × длина).")
                     .arg(QString::fromStdString(net::FormatFixed3(cost))));
    }
};

QTEST_MAIN(DesignTest)
#include "design_test.moc"
