// Editing the network with the mouse: the six click-mode buttons, the click
// on the drawing area, and the topology commands that ask for a channel type.
#include <QLineEdit>
#include <cmath>

#include "hcInfo.h"
#include "main.h"
#include "numconv.h"

namespace {

bool IsPresentHost(const net::TNetObj& net, int host) {
    return net::IsHostNumber(host) && net.HostPresent[host];
}

// A host's name as typed: the field's first 20 characters.
std::string FieldName(const QLineEdit* edit) {
    const QString text = edit->text();
    qsizetype end = 0;
    for (int count = 0; count < net::MaxNameLength && end < text.size(); ++count) {
        const bool pair = text.at(end).isHighSurrogate() && end + 1 < text.size() &&
                          text.at(end + 1).isLowSurrogate();
        end += pair ? 2 : 1;
    }
    return text.left(end).toStdString();
}

int32_t FieldNumber(const QLineEdit* edit) {
    return net::StrToInt(edit->text().toStdString());
}

}  // namespace

void TForm1::Button1Click() {
    ClickMode = cmNewHost;
}
void TForm1::Button2Click() {
    ClickMode = cmDeleteHost;
}
void TForm1::Button3Click() {
    ClickMode = cmChannelFirstEnd;
}
void TForm1::Button4Click() {
    ClickMode = cmDeleteChannel;
}
void TForm1::Button5Click() {
    ClickMode = cmEditHost;
}
void TForm1::Button6Click() {
    ClickMode = cmEditChannel;
}

int TForm1::HostAt(int x, int y) const {
    return net_->LowestClashingHost(x, y);
}

int TForm1::ChannelAt(int x, int y) const {
    const net::TNetObj& net = *net_;
    auto distance = [&net, x, y](int host) {
        const long double dx = static_cast<long double>(int64_t{net.Hosts[host].X} - x);
        const long double dy = static_cast<long double>(int64_t{net.Hosts[host].Y} - y);
        return std::sqrt(dx * dx + dy * dy);
    };
    for (int c = 1; c <= net::MaxChannels; ++c) {
        if (!net.ChannelPresent[c])
            continue;
        const net::ChannelRecord& channel = net.Channels[c];
        // A channel read from a file may name no host slot at all.
        if (!net::IsHostNumber(channel.HostA) || !net::IsHostNumber(channel.HostB))
            continue;
        if (distance(channel.HostA) + distance(channel.HostB) - channel.Length < 0.1L)
            return c;
    }
    return 0;
}

void TForm1::Image1Click(const QPoint& point) {
    net::TNetObj& net = *net_;
    const int x = point.x();
    const int y = point.y();
    {
        // One routing run per click, after the change: an invalid number
        // leaves this block with the flag put back and nothing changed.
        const net::DynamicSuspension suspended(net);
        switch (ClickMode) {
            case cmNewHost: {
                Form4->exec();
                const std::string name = FieldName(Form4->Edit1);
                const int32_t type = FieldNumber(Form4->Edit2);
                net.AddHost(x, y, name, type);
                break;
            }
            case cmDeleteHost:
                if (const int i = HostAt(x, y))
                    net.DeleteHost(i);
                break;
            case cmChannelFirstEnd:
                PickedHost = HostAt(x, y);
                ClickMode = cmChannelSecondEnd;
                break;
            case cmChannelSecondEnd: {
                const int j = HostAt(x, y);
                if (IsPresentHost(net, PickedHost) && j != 0) {
                    Form4->exec();
                    const int32_t type = FieldNumber(Form4->Edit2);
                    net.AddChannel(PickedHost, j, type);
                }
                ClickMode = cmChannelFirstEnd;
                break;
            }
            case cmDeleteChannel:
                if (const int i = ChannelAt(x, y))
                    net.DeleteChannel(i);
                break;
            case cmEditHost: {
                const int i = HostAt(x, y);
                if (i == 0)
                    break;
                Form4->exec();
                const std::string name = FieldName(Form4->Edit1);
                const int32_t type = FieldNumber(Form4->Edit2);
                const bool move = Form4->CheckBox1->isChecked();
                PickedName = name;
                PickedType = type;
                net.UpdateHost(i, net.Hosts[i].X, net.Hosts[i].Y, name, type);
                if (move)
                    ClickMode = cmMoveHost;
                PickedHost = i;
                break;
            }
            case cmEditChannel:
                if (const int i = ChannelAt(x, y)) {
                    Form4->exec();
                    const int32_t type = FieldNumber(Form4->Edit2);
                    net.SetChannelType(i, type);
                }
                break;
            case cmMoveHost:
                if (IsPresentHost(net, PickedHost)) {
                    net.UpdateHost(PickedHost, x, y, PickedName, PickedType);
                }
                ClickMode = cmEditHost;
                break;
            default:
                break;
        }
    }
    net.RecomputeIfDynamic();
    RedrawAll();
}

template <typename Build>
void TForm1::BuildWithTypedChannelType(Build build) {
    Form4->exec();
    build(FieldNumber(Form4->Edit2));
    RedrawAll();
}

void TForm1::N11Click() {
    Form4->exec();
    const int32_t centre = FieldNumber(Form4->Edit1);
    const int32_t type = FieldNumber(Form4->Edit2);
    net_->BuildStar(centre, type);
    RedrawAll();
}

void TForm1::N13Click() {
    BuildWithTypedChannelType([this](int32_t type) { net_->MakeBiconnected(type); });
}

void TForm1::N15Click() {
    BuildWithTypedChannelType([this](int32_t type) { net_->BuildFullMesh(type); });
}

void TForm1::N17Click() {
    BuildWithTypedChannelType([this](int32_t type) { net_->BuildSpanningTreeOverAll(type); });
}

void TForm1::N22Click() {
    BuildWithTypedChannelType([this](int32_t type) { net_->BuildRing(type); });
}
