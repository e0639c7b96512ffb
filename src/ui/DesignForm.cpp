#include "DesignForm.h"

#include <QHeaderView>
#include <QHideEvent>
#include <QSignalBlocker>
#include <QStringList>
#include <QTableWidgetItem>
#include <algorithm>

#include "DesignProgressForm.h"
#include "cost_text.h"
#include "errors.h"
#include "guarded_connect.h"

namespace {

const QStringList Captions = {
    QStringLiteral("канал"),
    QStringLiteral("тип"),
    QStringLiteral("пропускная\nспособность"),
    QStringLiteral("стоимость"),
    QStringLiteral("в сети сейчас"),
};

QString Cost(double cost) {
    return TDesignProgressForm::CostText(cost);
}

QString Ends(int32_t a, int32_t b) {
    return QStringLiteral("%1-%2").arg(a).arg(b);
}

bool KnownType(const net::TNetObj& net, int32_t type) {
    return type >= 1 && type <= net.ChannelTypeCount && type <= net::MaxTypes;
}

// The present channel between a and b, 0 for none.
int32_t PresentChannel(const net::TNetObj& net, int32_t a, int32_t b) {
    for (int32_t c = 1; c <= net::MaxChannels; ++c) {
        const net::ChannelRecord& r = net.Channels[c];
        if (net.ChannelPresent[c] &&
            ((r.HostA == a && r.HostB == b) || (r.HostA == b && r.HostB == a)))
            return c;
    }
    return 0;
}

QString NowText(const net::TNetObj& net, const design::DesignChannel& channel) {
    if (channel.Kept)
        return QStringLiteral("оставлен");
    const int32_t present = PresentChannel(net, channel.HostA, channel.HostB);
    if (present == 0)
        return QStringLiteral("нет");
    const int32_t type = net.Channels[present].TypeNo;
    return type == channel.Type ? QStringLiteral("тот же") : QStringLiteral("тип %1").arg(type);
}

QStringList ChannelCells(const net::TNetObj& net, const design::DesignChannel& channel) {
    const bool known = KnownType(net, channel.Type) && net::IsHostNumber(channel.HostA) &&
                       net::IsHostNumber(channel.HostB);
    const QString capacity =
        known ? QString::number(net.ChannelTypes[channel.Type].Capacity) : QStringLiteral("-");
    const QString cost =
        channel.Kept || !known
            ? QStringLiteral("-")
            : Cost(net::ChannelCost(net, channel.Type, channel.HostA, channel.HostB));
    return {Ends(channel.HostA, channel.HostB), QString::number(channel.Type), capacity, cost,
            NowText(net, channel)};
}

// "размещено требований 3 из 3", with what is left out and, with the
// failure check, the failures that leave load unplaced.
QString MethodText(const design::MethodCheck& check) {
    QString text = QStringLiteral("метод размещает требований %1 из %2")
                       .arg(check.Placed)
                       .arg(check.Placed + check.Unplaced);
    if (check.Unplaced > 0)
        text += QStringLiteral(", не размещено %1 с нагрузкой %2")
                    .arg(check.Unplaced)
                    .arg(check.UnplacedLoad);
    if (check.FailuresLeavingLoad == 0)
        text += QStringLiteral("; после отказа любого одного канала размещает всё");
    else if (check.FailuresLeavingLoad > 0)
        text += QStringLiteral(
                    "; отказов одного канала, после которых нагрузка размещается не "
                    "вся: %1")
                    .arg(check.FailuresLeavingLoad);
    return text;
}

QString CurrentText(const DesignOutcome& outcome) {
    QString text = QStringLiteral("Сеть сейчас: ") + NetworkCostText(outcome.CurrentCost);
    if (outcome.CurrentCheck)
        text += QStringLiteral("; ") + MethodText(*outcome.CurrentCheck) + QStringLiteral(".");
    else
        text +=
            QStringLiteral("; маршрутизация методом невозможна: %1").arg(outcome.CurrentCheckError);
    return text;
}

QString OptionsText(const DesignOptions& options) {
    QString text = QStringLiteral("Условия: загрузка каналов не выше %1")
                       .arg(QString::number(options.Utilisation, 'g', 6));
    if (options.Survive)
        text += QStringLiteral(", отказ любого одного канала выдерживается");
    text += options.Keep ? QStringLiteral(", имеющиеся каналы оставлены")
                         : QStringLiteral(", все пары маршрутизаторов — кандидаты");
    return text +
           QStringLiteral(", предел времени %1 с.").arg(QString::number(options.Seconds, 'g', 6));
}

QString StatusText(const DesignOutcome& outcome) {
    const design::DesignResult& result = outcome.Result;
    if (!result.Proposed) {
        if (result.Cancelled)
            return QStringLiteral(
                "Поиск остановлен кнопкой «Отмена» раньше, чем найден первый "
                "проект.");
        if (outcome.Status == design::DesignStatus::Stopped)
            return QStringLiteral("За отведённое время проект не найден.");
        return QStringLiteral("Проекта, который провёл бы всю нагрузку при этих условиях, нет.");
    }
    if (outcome.Status == design::DesignStatus::Optimal)
        return QStringLiteral("оптимальность доказана");
    if (result.Cancelled)
        return QStringLiteral("поиск остановлен кнопкой «Отмена»: это лучший найденный проект");
    return QStringLiteral("поиск остановлен по пределу времени: это лучший найденный проект");
}

QString DesignText(const DesignOutcome& outcome, const design::Design& chosen) {
    const double bound = outcome.Result.Bound;
    return QStringLiteral(
               "Стоимость %1 (сеть сейчас %2); граница %3, выше границы на %4; %5. "
               "На этом проекте %6.")
        .arg(Cost(chosen.Cost), Cost(outcome.CurrentCost.Cost), Cost(bound),
             TDesignProgressForm::GapText(chosen.Cost, bound), StatusText(outcome),
             MethodText(chosen.Method));
}

// The channels of the network that the design does not hold.
QStringList DroppedChannels(const net::TNetObj& net, const design::Design& chosen) {
    QStringList dropped;
    for (int32_t c = 1; c <= net::MaxChannels; ++c) {
        if (!net.ChannelPresent[c])
            continue;
        const net::ChannelRecord& r = net.Channels[c];
        const bool held = std::any_of(chosen.Channels.begin(), chosen.Channels.end(),
                                      [&r](const design::DesignChannel& d) {
                                          return (d.HostA == r.HostA && d.HostB == r.HostB) ||
                                                 (d.HostA == r.HostB && d.HostB == r.HostA);
                                      });
        if (!held)
            dropped << Ends(r.HostA, r.HostB);
    }
    return dropped;
}

// True when the network as it is costs less than `chosen` and the method
// carries it as fully as the options ask (its utilisation is not checked).
bool CurrentIsCheaperAndCarried(const DesignOutcome& outcome, const design::Design& chosen) {
    const std::optional<design::MethodCheck>& check = outcome.CurrentCheck;
    if (!check || check->Unplaced > 0 || check->FailuresLeavingLoad > 0 ||
        outcome.CurrentCost.ChannelsWithoutType > 0)
        return false;
    return outcome.CurrentCost.Cost < chosen.Cost - 1e-6 * std::max(1.0, chosen.Cost);
}

QString NotesText(const DesignOutcome& outcome, const design::Design* chosen) {
    QStringList notes;
    const design::DesignResult& result = outcome.Result;
    if (chosen != nullptr && CurrentIsCheaperAndCarried(outcome, *chosen))
        notes << QStringLiteral(
            "Сеть сейчас дешевле этого проекта, и метод размещает на ней всю "
            "нагрузку; загрузка её каналов при этом может быть выше заданной.");
    if (result.MethodCarriedNeeded && !result.MethodCarried)
        notes << QStringLiteral(
            "Метод размещает на проекте не всю нагрузку, а проекта, который "
            "он проводит полностью, за отведённое время не найдено.");
    if (chosen != nullptr) {
        const QStringList dropped = DroppedChannels(outcome.Network, *chosen);
        if (!dropped.isEmpty())
            notes << QStringLiteral("Каналов сети, которых в проекте нет: %1.")
                         .arg(dropped.join(QStringLiteral(", ")));
    }
    for (const std::string& type : result.LeftOutTypes)
        notes << QString::fromStdString(type);
    return notes.join(QLatin1Char('\n'));
}

bool SameChannels(const net::TNetObj& a, const net::TNetObj& b) {
    for (int32_t c = 1; c <= net::MaxChannels; ++c) {
        if (a.ChannelPresent[c] != b.ChannelPresent[c])
            return false;
        if (!a.ChannelPresent[c])
            continue;
        const net::ChannelRecord& x = a.Channels[c];
        const net::ChannelRecord& y = b.Channels[c];
        if (x.HostA != y.HostA || x.HostB != y.HostB || x.TypeNo != y.TypeNo)
            return false;
    }
    return true;
}

bool SameDesignInput(const net::TNetObj& a, const net::TNetObj& b, bool keep) {
    for (int32_t h = 1; h <= net::MaxHosts; ++h) {
        if (a.HostPresent[h] != b.HostPresent[h])
            return false;
        if (a.HostPresent[h] && (a.Hosts[h].X != b.Hosts[h].X || a.Hosts[h].Y != b.Hosts[h].Y))
            return false;
    }
    return a.LoadMatrix == b.LoadMatrix && a.ChannelTypeCount == b.ChannelTypeCount &&
           a.ChannelTypes == b.ChannelTypes && (!keep || SameChannels(a, b));
}

}  // namespace

TDesignForm::TDesignForm(QWidget* parent) : QWidget(parent, Qt::Window) {
    setupUi(this);
    Table1->setColumnCount(static_cast<int>(Captions.size()));
    Table1->setHorizontalHeaderLabels(Captions);
    Table1->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    Table1->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    ui::ConnectHandler(ComboBox1, &QComboBox::currentIndexChanged, this,
                       &TDesignForm::ComboBox1Change);
    ui::ConnectHandler(Button1, &QPushButton::clicked, this, &TDesignForm::Button1Click);
    ui::ConnectHandler(Button2, &QPushButton::clicked, this, &TDesignForm::Button2Click);
}

void TDesignForm::ShowOutcome(DesignOutcome outcome) {
    outcome_ = std::move(outcome);
    variants_.clear();
    {
        const QSignalBlocker blocker(ComboBox1);
        ComboBox1->clear();
        if (outcome_.Result.Proposed) {
            variants_.push_back(&*outcome_.Result.Proposed);
            ComboBox1->addItem(QStringLiteral("предложенный проект"));
        }
        if (outcome_.Result.MethodCarried) {
            variants_.push_back(&*outcome_.Result.MethodCarried);
            ComboBox1->addItem(QStringLiteral("проект, который метод проводит полностью"));
        }
        ComboBox1->setCurrentIndex(variants_.empty() ? -1 : 0);
    }
    ComboBox1->setEnabled(variants_.size() > 1);
    Label2->setText(CurrentText(outcome_));
    Label3->setText(OptionsText(outcome_.Options));
    showing_ = true;
    ShowChosen();
}

const design::Design* TDesignForm::ChosenDesign() const {
    const int index = ComboBox1->currentIndex();
    if (index < 0 || index >= static_cast<int>(variants_.size()))
        return nullptr;
    return variants_[index];
}

bool TDesignForm::MadeFor(const net::TNetObj& net) const {
    return SameDesignInput(outcome_.Network, net, outcome_.Options.Keep);
}

void TDesignForm::CheckMadeFor(const net::TNetObj& net) const {
    if (!MadeFor(net))
        throw net::NetError(
            "Сеть изменилась после проектирования (маршрутизаторы, их места, "
            "нагрузки, типы каналов или оставляемые каналы): проект к ней не "
            "применить, запустите проектирование снова");
}

void TDesignForm::ShowChosen() {
    const design::Design* chosen = ChosenDesign();
    Label4->setText(chosen != nullptr ? DesignText(outcome_, *chosen) : StatusText(outcome_));
    Label5->setText(NotesText(outcome_, chosen));
    Label5->setVisible(!Label5->text().isEmpty());
    Table1->clearContents();
    Table1->setRowCount(chosen != nullptr ? static_cast<int>(chosen->Channels.size()) : 0);
    for (int r = 0; r < Table1->rowCount(); ++r) {
        const QStringList cells = ChannelCells(outcome_.Network, chosen->Channels[r]);
        for (int c = 0; c < cells.size(); ++c) {
            auto* item = new QTableWidgetItem(cells[c]);
            if (c >= 1 && c <= 3)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            Table1->setItem(r, c, item);
        }
    }
    Button2->setEnabled(chosen != nullptr);
}

void TDesignForm::ComboBox1Change(int) {
    ShowChosen();
    emit ChosenChanged();
}

void TDesignForm::Button1Click() {
    close();
}

void TDesignForm::Button2Click() {
    emit ApplyRequested();
}

void TDesignForm::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    if (event->spontaneous() || !showing_)
        return;
    showing_ = false;
    emit Closed();
}
