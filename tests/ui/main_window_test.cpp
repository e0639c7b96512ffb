// The main window as a whole: layout and resize rule, menu, the commands it
// wires, the help and about windows, and the general error handler.
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QtTest>

#include "error_handler.h"
#include "errors.h"
#include "test_support.h"

using namespace ui_test;

namespace {

QStringList MenuEntries(QMenu* menu) {
    QStringList entries;
    for (QAction* action : menu->actions()) {
        entries.append(action->isSeparator() ? QString("-") : action->text());
    }
    return entries;
}

QStringList TreeTexts(QTreeWidget* tree) {
    QStringList texts;
    for (QTreeWidgetItem* node : AllNodes(tree))
        texts.append(node->text(0));
    return texts;
}

// A connected network of two hosts with a routed demand, drawn.
void RoutedPair(TForm1& form) {
    HalfLoadedPair(form.Net(), 200);
    form.RedrawAll();
}

}  // namespace

// Counts the children other than widgets (such as animations) given to the
// object it watches; a new child is announced before it is fully made, so its
// class cannot be asked yet.
class ChildCounter : public QObject {
public:
    int added = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::ChildAdded &&
            !static_cast<QChildEvent*>(event)->child()->isWidgetType())
            ++added;
        return false;
    }
};

class MainWindowTest : public QObject {
    Q_OBJECT

private slots:
    void startsAsLaidOut() {
        Windows w;
        TForm1& form = w.main();
        QCOMPARE(form.windowTitle(), QString("главная"));
        QVERIFY(Windows::ShowAndWait(form));
        QCOMPARE(form.centralwidget->size(), QSize(749, 505));
        QCOMPARE(form.TreeView1->geometry(), QRect(0, 0, 169, 364));
        QCOMPARE(form.Button5->geometry(), QRect(112, 403, 57, 25));
        // The labels keep their place and grow to their text.
        for (QLabel* label : {form.Label1, form.Label2}) {
            QVERIFY(label->width() >= QFontMetrics(label->font()).horizontalAdvance(label->text()));
        }
        QCOMPARE(form.Label2->pos(), QPoint(40, 435));
        QCOMPARE(form.Label1->pos(), QPoint(64, 379));
        QCOMPARE(form.Panel3->geometry(), QRect(112, 481, 449, 25));
        QCOMPARE(form.ProgressBar1->geometry(), QRect(563, 481, 182, 25));
        QCOMPARE(form.ProgressBar1->value(), 0);
        QCOMPARE(form.TreeView1->indentation(), 19);
        // The showing ran the resize rule, which drew the empty network.
        QCOMPARE(form.Image1->geometry(), QRect(176, 8, 568, 468));
        QCOMPARE(form.Picture().size(), QSize(568, 468));
        QCOMPARE(CountPixels(form.Picture(), form.Picture().rect(), Black), 568 * 468);
        QCOMPARE(form.Panel3->text(), QString("сеть несвязна"));
        QCOMPARE(form.TreeView1->topLevelItem(0)->childCount(), 5);
        QCOMPARE(form.Panel1->text(), QString());
        // "MS Sans Serif" of heights 11 and 13 is the platform's sans-serif face.
        const QFontInfo main(form.font());
        const QFontInfo label(form.Label1->font());
        QVERIFY(main.family() != "MS Sans Serif");
        QCOMPARE(main.family(), QFontInfo(QFont("Sans Serif")).family());
        QCOMPARE(main.pixelSize(), 11);
        QCOMPARE(label.pixelSize(), 13);
    }

    void resizeRuleFollowsTheStatusRowAndProgressBar() {
        Windows w;
        TForm1& form = w.main();
        QVERIFY(Windows::ShowAndWait(form));
        const int menu = form.height() - form.centralwidget->height();
        for (const QSize client :
             {QSize(800, 560), QSize(749, 505), QSize(1000, 700), QSize(600, 450)}) {
            form.resize(client.width(), client.height() + menu);
            QTRY_COMPARE(form.centralwidget->size(), client);
            const int dw = client.width() - 749;
            const int dh = client.height() - 505;
            QCOMPARE(form.Panel3->geometry(), QRect(112, 481 + dh, 449 + dw, 25));
            QCOMPARE(form.ProgressBar1->geometry(), QRect(563 + dw, 481 + dh, 182, 25));
            QCOMPARE(form.Button3->geometry(), QRect(0, 451 + dh, 49, 25));
            QCOMPARE(form.TreeView1->geometry(), QRect(0, 0, 169, 364 + dh));
            const QRect image = form.Image1->geometry();
            QCOMPARE(image.topLeft(), QPoint(176, 8));
            QCOMPARE(image.height(), form.Panel3->y() - 13);
            QCOMPARE(image.width(), form.ProgressBar1->x() + form.ProgressBar1->width() - 177);
            // 5 pixels above the status row, 1 left of the progress bar's right edge.
            QCOMPARE(form.Panel3->y() - (image.bottom() + 1), 5);
            QCOMPARE(form.ProgressBar1->geometry().right() - image.right(), 1);
            QCOMPARE(form.Picture().size(), image.size());
        }
    }

    // The layout once placed the drawing's container through an animation on
    // every resize, which a nested resize could free while it started.
    void resizeStartsNoAnimation() {
        Windows w;
        TForm1& form = w.main();
        QVERIFY(Windows::ShowAndWait(form));
        ChildCounter animations;
        form.centralwidget->installEventFilter(&animations);
        const int menu = form.height() - form.centralwidget->height();
        for (const QSize client : {QSize(900, 600), QSize(500, 400), QSize(1200, 800)}) {
            form.resize(client.width(), client.height() + menu);
            QTRY_COMPARE(form.centralwidget->size(), client);
        }
        QCOMPARE(animations.added, 0);
    }

    void resizeRedrawsFromTheNetwork() {
        Windows w;
        TForm1& form = w.main();
        QVERIFY(Windows::ShowAndWait(form));
        w.net().AddHost(100, 100, "a", 1);
        QCOMPARE(Pixel(form.Picture(), 100, 100), Black);
        const int menu = form.height() - form.centralwidget->height();
        form.resize(900, 600 + menu);
        QTRY_COMPARE(form.Picture().size(), QSize(719, 563));
        QCOMPARE(Pixel(form.Picture(), 95, 100), Navy);
    }

    void menuIsComplete() {
        Windows w;
        TForm1& form = w.main();
        QStringList titles;
        for (QAction* action : form.MainMenu1->actions())
            titles.append(action->text());
        QCOMPARE(titles, (QStringList{"файл", "топология", "маршрутизация", "о..."}));
        QCOMPARE(MenuEntries(form.main1),
                 (QStringList{"новый", "загрузить", "сохранить", "сохранить как", "выход"}));
        QCOMPARE(
            MenuEntries(form.N4),
            (QStringList{"один со всеми", "каркас по каналам", "каркас по всем", "двусвязность",
                         "каждый с каждым", "кольцо", "-", "удалить все ребра"}));
        QCOMPARE(MenuEntries(form.N10),
                 (QStringList{"статическая маршрутизация", "динамическая маршрутизация 1",
                              "динамическая маршрутизация 2", "-", "таблица нагрузок"}));
        QCOMPARE(MenuEntries(form.N5), (QStringList{"помощь", "о программе"}));
    }

    void secondDynamicRoutingDoesNothing() {
        Windows w;
        TForm1& form = w.main();
        RoutedPair(form);
        const QImage before = form.Picture().copy();
        const QStringList tree = TreeTexts(form.TreeView1);
        form.N23->trigger();
        QCOMPARE(form.Picture(), before);
        QVERIFY(!w.net().DynamicRouting);
        QCOMPARE(w.net().PathTable.PathCount, 0);
        QCOMPARE(TreeTexts(form.TreeView1), tree);
    }

    void staticRoutingRebuildsTreeButKeepsLabels() {
        Windows w;
        TForm1& form = w.main();
        RoutedPair(form);
        const QImage before = form.Picture().copy();
        QVERIFY(ShowsAt(before, RenderedText(form, "0.000", Navy, Green), {200, 200}));
        form.N18->trigger();
        QCOMPARE(ChildTexts(Category(form.TreeView1, TForm1::tkPaths)),
                 QStringList{"1 | 1-2 | 1.000"});
        QCOMPARE(form.Picture(), before);
        form.RedrawAll();
        QVERIFY(ShowsAt(form.Picture(), RenderedText(form, "1.000", Navy, Green), {200, 200}));
    }

    void dynamicRoutingTogglesAndRoutesAConnectedNetwork() {
        Windows w;
        TForm1& form = w.main();
        RoutedPair(form);
        const QImage before = form.Picture().copy();
        form.N19->trigger();
        QVERIFY(w.net().DynamicRouting);
        QCOMPARE(ChildTexts(Category(form.TreeView1, TForm1::tkPaths)),
                 QStringList{"1 | 1-2 | 1.000"});
        QCOMPARE(form.Picture(), before);
        form.N19->trigger();
        QVERIFY(!w.net().DynamicRouting);
    }

    void newNetworkReadsTypesAndRedraws() {
        Windows w;
        TForm1& form = w.main();
        RoutedPair(form);
        form.N8->trigger();
        const net::TNetObj& net = w.net();
        QCOMPARE(net.HostCount, 0);
        QCOMPARE(net.ChannelTypeCount, 3);
        QCOMPARE(form.TreeView1->topLevelItem(0)->text(0), QString("новый"));
        QCOMPARE(CountPixels(form.Picture(), form.Picture().rect(), Black),
                 form.Picture().width() * form.Picture().height());
    }

    void spanningTreeOverChannelsKeepsTheShortestAndRedraws() {
        Windows w;
        TForm1& form = w.main();
        net::TNetObj& net = w.net();
        AddHosts(net, {{100, 100}, {200, 100}, {100, 300}});
        net.AddChannel(1, 2, 1);  // 100
        net.AddChannel(2, 3, 1);  // 223.6, the longest
        net.AddChannel(1, 3, 1);  // 200
        form.RedrawAll();
        QCOMPARE(form.Panel3->text(), QString("сеть двусвязна"));
        form.N12->trigger();
        QCOMPARE(ChildTexts(Category(form.TreeView1, TForm1::tkChannels)),
                 (QStringList{"1-2", "1-3"}));
        QCOMPARE(form.Panel3->text(), QString("сеть связна"));
        QCOMPARE(Pixel(form.Picture(), 150, 200), Black);  // on the dropped 2-3
        QCOMPARE(Pixel(form.Picture(), 100, 150), Green);
    }

    void deleteAllChannelsRedraws() {
        Windows w;
        TForm1& form = w.main();
        RoutedPair(form);
        net::TNetObj& net = w.net();
        form.N16->trigger();
        QCOMPARE(net.ChannelCount, 0);
        QCOMPARE(net.HostCount, 2);
        QCOMPARE(Pixel(form.Picture(), 150, 200), Black);
        QCOMPARE(Pixel(form.Picture(), 95, 200), Navy);
        QCOMPARE(form.Panel3->text(), QString("сеть несвязна"));
        QVERIFY(ChildTexts(Category(form.TreeView1, TForm1::tkChannels)).isEmpty());
        // Without channels nothing changes; the picture is drawn again alike.
        const QImage before = form.Picture().copy();
        form.N16->trigger();
        QCOMPARE(form.Picture(), before);
    }

    void deleteAllChannelsInDynamicModeLeavesTheLastRouting() {
        Windows w;
        TForm1& form = w.main();
        RoutedPair(form);
        net::TNetObj& net = w.net();
        form.N19->trigger();  // dynamic on: routes the connected pair
        QCOMPARE(ChildTexts(Category(form.TreeView1, TForm1::tkPaths)),
                 QStringList{"1 | 1-2 | 1.000"});
        form.N16->trigger();
        // The network is disconnected now, so the redraw does not route again.
        QVERIFY(net.DynamicRouting);
        QCOMPARE(ChildTexts(Category(form.TreeView1, TForm1::tkPaths)),
                 QStringList{"1 | 1-2 | 1.000"});
    }

    void exitClosesTheMainWindow() {
        Windows w;
        TForm1& form = w.main();
        QVERIFY(Windows::ShowAndWait(form));
        form.N3->trigger();
        QVERIFY(!form.isVisible());
    }

    void helpAndAboutShowModallyAndClose() {
        Windows w;
        TForm1& form = w.main();
        struct Expect {
            QAction* action;
            QDialog* window;
            QString caption;
            QSize size;
        };
        for (const Expect& e : {Expect{form.N6, Form2, "помощь", QSize(308, 231)},
                                Expect{form.N7, Form3, "о программе", QSize(292, 229)}}) {
            QString caption;
            QString buttonText;
            ModalAnswer<QWidget> watch([&](QWidget* modal) {
                caption = modal->windowTitle();
                auto* close = modal->findChild<QPushButton*>("Button1");
                QVERIFY(close != nullptr);
                buttonText = close->text();
                QCOMPARE(close->geometry(), QRect(8, 192, 75, 25));
                QCOMPARE(modal->size(), e.size);
                QVERIFY(!(modal->windowFlags() & Qt::WindowCloseButtonHint));
                close->click();
            });
            e.action->trigger();
            QVERIFY(watch.Seen());
            QCOMPARE(caption, e.caption);
            QCOMPARE(buttonText, QString("закрыть"));
            QVERIFY(!e.window->isVisible());
        }
        // The help explains the click modes, the menus and the delay figure.
        const QString help = Form2->Memo1->toPlainText();
        for (const char* word : {"хост", "канал связи", "изменить координаты?", "топология",
                                 "маршрутизация", "таблица нагрузок", "10000", "задержк"}) {
            QVERIFY2(help.contains(QString::fromUtf8(word)), word);
        }
        QVERIFY(Form3->Label1->text().contains("netdesigner"));
        QVERIFY(Form3->Label1->text().contains(QString("версия %1").arg(NETD_VERSION)));
    }

    void errorTextGetsAFullStopAfterALetterOrDigit() {
        QCOMPARE(ui::ErrorBoxText("'x' is not a valid integer value"),
                 QString("'x' is not a valid integer value."));
        QCOMPARE(ui::ErrorBoxText("I/O error 28"), QString("I/O error 28."));
        QCOMPARE(ui::ErrorBoxText("нет такого типа"), QString("нет такого типа."));
        QCOMPARE(ui::ErrorBoxText("List index out of bounds (-1)"),
                 QString("List index out of bounds (-1)"));
        QCOMPARE(ui::ErrorBoxText("already."), QString("already."));
        QCOMPARE(ui::ErrorBoxText("what?"), QString("what?"));
        QCOMPARE(ui::ErrorBoxText(""), QString(""));
    }

    void errorInAHandlerShowsAStopBoxAndGoesOn() {
        QApplication::setApplicationName("netdesigner");
        QString title;
        QString text;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QMessageBox::StandardButtons buttons;
        ModalAnswer<QWidget> watch([&](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            QVERIFY(box != nullptr);
            title = box->windowTitle();
            text = box->text();
            icon = box->icon();
            buttons = box->standardButtons();
            box->button(QMessageBox::Ok)->click();
        });
        bool ranOn = false;
        ui::RunHandler([&] {
            throw net::ConvertError("'abc' is not a valid integer value");
            ranOn = true;
        });
        QVERIFY(watch.Seen());
        QVERIFY(!ranOn);
        QCOMPARE(title, QString("netdesigner"));
        QCOMPARE(text, QString("'abc' is not a valid integer value."));
        QCOMPARE(icon, QMessageBox::Critical);
        QCOMPARE(buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    }

    void failedRoutingCommandIsReportedAndChangesNothingShown() {
        Windows w;
        TForm1& form = w.main();
        RoutedPair(form);
        w.net().Channels[1].TypeNo = 9;  // no such channel type
        const QImage before = form.Picture().copy();
        QString text;
        ModalAnswer<QWidget> watch([&](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            QVERIFY(box != nullptr);
            text = box->text();
            box->button(QMessageBox::Ok)->click();
        });
        form.N18->trigger();
        QVERIFY(watch.Seen());
        QVERIFY(text.startsWith("Канал 1"));
        QVERIFY(ChildTexts(Category(form.TreeView1, TForm1::tkPaths)).isEmpty());
        QCOMPARE(form.Picture(), before);
        // The program goes on: the next command works.
        w.net().Channels[1].TypeNo = 1;
        form.N18->trigger();
        QCOMPARE(ChildTexts(Category(form.TreeView1, TForm1::tkPaths)).size(), 1);
    }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
