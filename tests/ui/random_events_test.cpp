// The main window with all its dialogs under random use: clicks in every
// editing mode on and near hosts and channels, menu and context-menu
// commands, the load table with random texts, undo and redo, resizes; every
// modal window answered at random (confirmed, cancelled or closed, with
// random typed values). Design searches run at the shortest time limit, some
// stopped with "Отмена"; their result window is applied, closed or left open
// over later events. After every event the network must hold together,
// and every stretch of events undone step by step must give back the network
// it started from, and redone the one it ended with.
//
// NETD_RANDOM_SEED and NETD_RANDOM_EVENTS repeat or lengthen a run; a
// failure prints both and the events of the run.
#include <QDir>
#include <QFileDialog>
#include <QListWidget>
#include <QMessageBox>
#include <QPointer>
#include <QtTest>
#include <cmath>
#include <cstdlib>
#include <random>

#include "DesignForm.h"
#include "DesignOptionsForm.h"
#include "DesignProgressForm.h"
#include "HNagr.h"
#include "ImportForm.h"
#include "LoadGenForm.h"
#include "OpenForm.h"
#include "SaveAsForm.h"
#include "SaveForm.h"
#include "about.h"
#include "helpu.h"
#include "test_support.h"
#include "undo_history.h"

using namespace ui_test;

namespace {

// Events between two checks of undo and redo: well below the history's depth.
constexpr int Stretch = 40;

class Random {
public:
    explicit Random(uint32_t seed) : engine_(seed) {}
    int Below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(engine_); }
    bool Chance(int percent) { return Below(100) < percent; }
    template <typename T>
    const T& Pick(const std::vector<T>& items) {
        return items[static_cast<size_t>(Below(static_cast<int>(items.size())))];
    }
    // A text a user might type into a number field: mostly numbers, some not.
    QString NumberText() {
        switch (Below(8)) {
            case 0:
                return "";
            case 1:
                return Pick<QString>(
                    {"abc", "1.5", "-", "$1F", "0x10", "99999999999", " 7", "1e3"});
            case 2:
                return QString::number(Below(2000000) - 1000000);
            default:
                return QString::number(Below(30) - 3);
        }
    }

private:
    std::mt19937 engine_;
};

// What must hold of the network after any event.
QString BrokenInvariant(const net::TNetObj& net) {
    int hosts = 0, channels = 0;
    for (int h = 1; h <= net::MaxHosts; ++h)
        hosts += net.HostPresent[h];
    for (int c = 1; c <= net::MaxChannels; ++c)
        channels += net.ChannelPresent[c];
    if (hosts != net.HostCount || channels != net.ChannelCount)
        return QString("counts %1/%2 but flags %3/%4")
            .arg(net.HostCount)
            .arg(net.ChannelCount)
            .arg(hosts)
            .arg(channels);
    for (int a = 1; a <= net::MaxHosts; ++a) {
        for (int b = a + 1; b <= net::MaxHosts; ++b) {
            if (net.HostPresent[a] && net.HostPresent[b] &&
                std::abs(net.Hosts[a].X - net.Hosts[b].X) < net::ProximityPixels &&
                std::abs(net.Hosts[a].Y - net.Hosts[b].Y) < net::ProximityPixels)
                return QString("hosts %1 and %2 clash").arg(a).arg(b);
        }
    }
    for (int c = 1; c <= net::MaxChannels; ++c) {
        if (!net.ChannelPresent[c])
            continue;
        const net::ChannelRecord& r = net.Channels[c];
        // A channel from a host to itself is the model's own (the same host
        // clicked as both ends): it joins nothing and routing passes it by.
        if (!net::IsHostNumber(r.HostA) || !net::IsHostNumber(r.HostB) ||
            !net.HostPresent[r.HostA] || !net.HostPresent[r.HostB])
            return QString("channel %1 joins %2 and %3").arg(c).arg(r.HostA).arg(r.HostB);
        if (!std::isfinite(net.DelayMatrix[r.HostA][r.HostB]))
            return QString("channel %1 has no finite delay").arg(c);
        for (int d = c + 1; d <= net::MaxChannels; ++d) {
            const net::ChannelRecord& o = net.Channels[d];
            if (net.ChannelPresent[d] && ((o.HostA == r.HostA && o.HostB == r.HostB) ||
                                          (o.HostA == r.HostB && o.HostB == r.HostA)))
                return QString("channels %1 and %2 join one pair").arg(c).arg(d);
        }
    }
    for (int p = 1; p <= net.PathTable.PathCount; ++p) {
        const net::PathRecord& record = net.PathTable.Records[p];
        if (record[0] < 2 || record[0] > net::MaxHosts)
            return QString("path %1 has %2 hosts").arg(p).arg(record[0]);
    }
    return {};
}

// Answers whatever modal window comes up, at random, for as long as it lives.
class ModalAnswerer {
public:
    ModalAnswerer(Random& random, QStringList& log) : random_(random), log_(log) {
        timer_.setInterval(1);
        QObject::connect(&timer_, &QTimer::timeout, [this] { AnswerTopModal(); });
        timer_.start();
    }

private:
    // A timer's slot is not called again while it runs, and an answer may
    // bring up another modal window (an error box over the dialog, a
    // question of the file dialog): each answer runs on its own.
    void AnswerTopModal() {
        // A window that closes by itself (the design search's progress) may
        // be gone before its answer ran.
        answering_.removeAll(nullptr);
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr || !modal->isVisible() || answering_.contains(modal))
            return;
        answering_.push_back(modal);
        QTimer::singleShot(0, modal, [this, modal] {
            Answer(modal);
            answering_.removeAll(modal);
        });
    }

    void Answer(QWidget* modal) {
        // A window answered once and left to close by itself is not answered
        // again: how often the timer fires must not change the random choices.
        if (!modal->isVisible() || modal->property(AnsweredOnce).toBool())
            return;
        log_ << QString("    answer %1").arg(modal->metaObject()->className());
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            const QList<QAbstractButton*> buttons = box->buttons();
            if (!buttons.isEmpty())
                buttons[random_.Below(static_cast<int>(buttons.size()))]->click();
            else
                box->close();
        } else if (auto* d = qobject_cast<TForm4*>(modal)) {
            if (random_.Chance(60))
                RetypeText(d->Edit1, random_.Chance(50) ? "узел " + random_.NumberText()
                                                        : random_.NumberText());
            if (random_.Chance(60))  // mostly a type the tables hold
                RetypeText(d->Edit2, random_.Chance(60) ? QString::number(1 + random_.Below(3))
                                                        : random_.NumberText());
            if (random_.Chance(20))
                d->CheckBox1->toggle();
            if (random_.Chance(85))
                Press(d->Button1);
            else
                d->close();
        } else if (auto* d = qobject_cast<TForm5*>(modal)) {
            ChooseRowAndPress(d->ListBox1, d->Button1, d->Button2, d);
        } else if (auto* d = qobject_cast<TForm6*>(modal)) {
            ChooseRowAndPress(d->ListBox1, d->Button1, d->Button2, d);
        } else if (auto* d = qobject_cast<TForm7*>(modal)) {
            for (int k = 1 + random_.Below(8); k > 0; --k) {
                auto* cell =
                    new QTableWidgetItem(random_.Chance(85) ? QString::number(random_.Below(4000))
                                                            : random_.NumberText());
                // Mostly between the first hosts, which are there more often.
                const int span = random_.Chance(70) ? 6 : d->StringGrid1->rowCount();
                d->StringGrid1->setItem(random_.Below(span), random_.Below(span), cell);
            }
            if (random_.Chance(70))
                Press(d->Button1);
            else
                d->close();
        } else if (auto* d = qobject_cast<TForm8*>(modal)) {
            RetypeText(d->Edit1, random_.Pick<QString>({"p1", "p2", "", "a/b", ".", "ring"}));
            Press(random_.Chance(70) ? d->Button1 : d->Button2);
            if (d->isVisible())
                Press(d->Button2);
        } else if (auto* d = qobject_cast<TImportForm*>(modal)) {
            RetypeText(d->Edit1, random_.NumberText());
            RetypeText(d->Edit2, random_.Pick<QString>({"1", "0,5", "0", "x", "1e9", "2"}));
            Press(random_.Chance(70) ? d->Button1 : d->Button2);
            if (d->isVisible())
                Press(d->Button2);
        } else if (auto* d = qobject_cast<TLoadGenForm*>(modal)) {
            AnswerLoadGenForm(d);
        } else if (auto* d = qobject_cast<TDesignOptionsForm*>(modal)) {
            AnswerDesignOptions(d);
        } else if (auto* d = qobject_cast<TDesignProgressForm*>(modal)) {
            // It closes when the search ends; "Отмена" only ends it sooner.
            d->setProperty(AnsweredOnce, true);
            if (random_.Chance(40))
                Press(d->Button1);
        } else if (auto* d = qobject_cast<QFileDialog*>(modal)) {
            AnswerFileDialog(d);
        } else if (auto* d = qobject_cast<QDialog*>(modal)) {
            d->reject();
        } else {
            modal->close();
        }
    }

    template <typename Dialog>
    void ChooseRowAndPress(QListWidget* list, QPushButton* confirm, QPushButton* cancel,
                           Dialog* dialog) {
        if (list->count() > 0 && random_.Chance(80))
            list->setCurrentRow(random_.Below(list->count()));
        const int choice = random_.Below(10);
        if (choice < 7)
            Press(confirm);
        else if (choice < 9)
            Press(cancel);
        else
            dialog->close();
    }

    void AnswerLoadGenForm(TLoadGenForm* d) {
        d->KindBox->setCurrentIndex(random_.Below(d->KindBox->count()));
        for (QLineEdit* edit : d->Pages->currentWidget()->findChildren<QLineEdit*>()) {
            if (random_.Chance(60))
                RetypeText(edit, random_.Pick<QString>({"0", "1", "0,8", "-1", "x", "250", "1e9",
                                                        "2147483647", "1 2 3", ""}));
        }
        if (random_.Chance(30))
            d->AddBox->toggle();
        Press(random_.Chance(70) ? d->Button1 : d->Button2);
        if (d->isVisible())
            Press(d->Button2);
    }

    void AnswerDesignOptions(TDesignOptionsForm* d) {
        d->CheckBox1->setChecked(random_.Chance(30));  // keep the present channels
        d->CheckBox2->setChecked(random_.Chance(30));  // survive a channel's failure
        RetypeText(d->Edit1,
                   random_.Pick<QString>({"0,8", "0,8", "1", "0,05", "0,5", "1,01", "x", ""}));
        // The shortest limit there is, or a refused one: no run is long.
        RetypeText(d->Edit2, random_.Pick<QString>({"1", "1", "1", "0,5", "3601", "x"}));
        Press(random_.Chance(65) ? d->Button1 : d->Button2);
        if (d->isVisible())
            Press(d->Button2);
    }

    void AnswerFileDialog(QFileDialog* dialog) {
        if (random_.Chance(40)) {
            static_cast<QDialog*>(dialog)->reject();
            return;
        }
        const QString name =
            random_.Pick<QString>({"net.gml", "net.txt", "picture.png", "picture.svg", "tables",
                                   "missing.xml", "report.pdf"});
        if (name == "tables")
            QDir().mkpath("tables");
        dialog->selectFile(QDir::current().filePath(name));
        static_cast<QDialog*>(dialog)->accept();
        if (dialog->isVisible())
            static_cast<QDialog*>(dialog)->reject();
    }

    static constexpr const char* AnsweredOnce = "randomEventsAnswered";

    Random& random_;
    QStringList& log_;
    QTimer timer_;
    QList<QPointer<QWidget>> answering_;
};

struct Run {
    uint32_t seed;
    int events;
};

Run RunFromEnvironment() {
    Run run{20261209u, 2500};
    if (const char* seed = std::getenv("NETD_RANDOM_SEED"))
        run.seed = static_cast<uint32_t>(std::strtoul(seed, nullptr, 10));
    if (const char* events = std::getenv("NETD_RANDOM_EVENTS"))
        run.events = std::atoi(events);
    return run;
}

std::vector<QAction*> MenuEntries(TForm1& form) {
    std::vector<QAction*> entries;
    for (QAction* top : form.MainMenu1->actions()) {
        if (top->menu() == nullptr)
            continue;
        for (QAction* entry : top->menu()->actions()) {
            if (!entry->isSeparator())
                entries.push_back(entry);
        }
    }
    return entries;
}

}  // namespace

class RandomEventsTest : public QObject {
    Q_OBJECT

    // One random event, described in the log.
    static void Event(TForm1& form, Random& random, QStringList& log) {
        const net::TNetObj& net = form.Net();
        const int kind = random.Below(100);
        if (kind < 15) {
            QPushButton* buttons[] = {form.Button1, form.Button2, form.Button3,
                                      form.Button4, form.Button5, form.Button6};
            const int k = random.Below(6);
            log << QString("button %1").arg(k + 1);
            Press(buttons[k]);
        } else if (kind < 55) {
            // On a host, near one, on a channel's middle, or anywhere.
            QPoint point(random.Below(form.Image1->width()), random.Below(form.Image1->height()));
            std::vector<int> hosts;
            for (int h = 1; h <= net::MaxHosts; ++h) {
                if (net.HostPresent[h])
                    hosts.push_back(h);
            }
            const int where = random.Below(4);
            if (where == 0 && !hosts.empty()) {
                const int h = random.Pick(hosts);
                point = QPoint(net.Hosts[h].X + random.Below(21) - 10,
                               net.Hosts[h].Y + random.Below(21) - 10);
            } else if (where == 1 && net.ChannelCount > 0) {
                int c = 1 + random.Below(net::MaxChannels);
                while (!net.ChannelPresent[c])
                    c = c % net::MaxChannels + 1;
                const net::ChannelRecord& r = net.Channels[c];
                point =
                    QPoint((net.Hosts[r.HostA].X + net.Hosts[r.HostB].X) / 2 + random.Below(7) - 3,
                           (net.Hosts[r.HostA].Y + net.Hosts[r.HostB].Y) / 2 + random.Below(7) - 3);
            }
            point.setX(std::clamp(point.x(), 0, form.Image1->width() - 1));
            point.setY(std::clamp(point.y(), 0, form.Image1->height() - 1));
            log << QString("click %1,%2 mode %3")
                       .arg(point.x())
                       .arg(point.y())
                       .arg(Access::ClickMode(form));
            QTest::mouseClick(form.Image1, Qt::LeftButton, {}, point);
        } else if (kind < 75) {
            QAction* entry = random.Pick(MenuEntries(form));
            log << "menu " + entry->text();
            entry->trigger();
        } else if (kind < 92) {
            std::vector<QAction*> entries;
            for (QAction* a : form.Image1->actions()) {
                if (!a->isSeparator())
                    entries.push_back(a);
            }
            QAction* entry = random.Pick(entries);
            log << "context " + entry->text();
            entry->trigger();
            AnswerDesignWindow(form, random, log);
        } else {
            const QSize size(400 + random.Below(900), 300 + random.Below(700));
            log << QString("resize %1x%2").arg(size.width()).arg(size.height());
            form.resize(size);
        }
        if (!form.isVisible())
            Windows::ShowAndWait(form);  // "выход" was answered with closing
    }

    // The design result window is not modal: after a context command, the
    // search's own or any later one, it is applied, closed or left open.
    static void AnswerDesignWindow(TForm1& form, Random& random, QStringList& log) {
        const int choice = random.Below(10);  // drawn whether or not the window is open
        auto* window = form.findChild<TDesignForm*>();
        if (window == nullptr || !window->isVisible())
            return;
        if (choice < 4) {
            log << "    design window: применить";
            Press(window->Button2);
        } else if (choice < 7) {
            log << "    design window: закрыть";
            Press(window->Button1);
        }
    }

private slots:
    void initTestCase() {
        QApplication::setApplicationName("netdesigner");
        // A project to load, and folders the save dialogs list.
        for (const char* sample : {"ring", "gaps"}) {
            QDir().mkpath(sample);
            for (const char* file : {"hosts.hs", "channels.cs", "general.gs"})
                QFile::copy(QString(NETD_DATA_DIR "/projects/%1/%2").arg(sample, file),
                            QString("%1/%2").arg(sample, file));
        }
    }

    void theNetworkHoldsTogetherAndEveryStretchUndoes() {
        const Run run = RunFromEnvironment();
        Random random(run.seed);
        QStringList log;
        Windows w(Windows::All);
        TForm1& form = w.main();
        ModalAnswerer answerer(random, log);
        const auto fail = [&](const QString& what) {
            qWarning().noquote() << "seed" << run.seed << "events" << run.events << ":" << what
                                 << "\n"
                                 << log.join("\n");
            QFAIL(qPrintable(what + QString(" (seed %1; the events are above)").arg(run.seed)));
        };
        int mostHosts = 0, mostChannels = 0, mostPaths = 0;
        for (int done = 0; done < run.events;) {
            const net::TNetObj start = w.net();
            Access::ClearHistory(form);  // every step of this stretch is counted
            for (int k = 0; k < Stretch && done < run.events; ++k, ++done) {
                const qsizetype line = log.size();
                Event(form, random, log);
                log[line] = QString("%1: ").arg(done) + log[line];
                if (std::getenv("NETD_RANDOM_VERBOSE") != nullptr)
                    qInfo().noquote() << log.mid(line).join("\n");
                mostHosts = std::max(mostHosts, w.net().HostCount);
                mostChannels = std::max(mostChannels, w.net().ChannelCount);
                mostPaths = std::max(mostPaths, w.net().PathTable.PathCount);
                const QString broken = BrokenInvariant(w.net());
                if (!broken.isEmpty())
                    return fail(QString("after event %1: %2").arg(done).arg(broken));
            }
            const net::TNetObj end = w.net();
            const size_t steps = Access::UndoSteps(form);
            QAction* undo = ContextEntry(form, "отменить");
            QAction* redo = ContextEntry(form, "вернуть");
            for (size_t k = 0; k < steps; ++k)
                undo->trigger();
            if (!net::SameProject(w.net(), start) || w.net().NetworkName != start.NetworkName)
                return fail(QString("undoing %1 steps before event %2 did not give the "
                                    "stretch's first network back")
                                .arg(steps)
                                .arg(done));
            for (size_t k = 0; k < steps; ++k)
                redo->trigger();
            if (!net::SameProject(w.net(), end) || w.net().NetworkName != end.NetworkName)
                return fail(QString("redoing %1 steps before event %2 did not give the "
                                    "stretch's last network back")
                                .arg(steps)
                                .arg(done));
        }
        qInfo("seed %u, %d events; at most %d hosts, %d channels, %d paths", run.seed, run.events,
              mostHosts, mostChannels, mostPaths);
    }
};

QTEST_MAIN(RandomEventsTest)
#include "random_events_test.moc"
