// The tree of everything the network holds, and the marks a click on one of
// its host, channel or path nodes draws.
#include <QTreeWidget>
#include <algorithm>

#include "main.h"
#include "network_picture.h"
#include "texts.h"

namespace {

QTreeWidgetItem* AddNode(QTreeWidgetItem* parent, const QString& text, int kind) {
    auto* node = new QTreeWidgetItem(parent, QStringList{text});
    node->setData(0, TForm1::KindRole, kind);
    return node;
}

// One leaf per number 1..count, the count clipped to the table's size.
template <typename TextOf>
void AddLeaves(QTreeWidgetItem* parent, int count, int limit, int kind, TextOf textOf) {
    const int last = std::clamp(count, 0, limit);
    for (int n = 1; n <= last; ++n) {
        AddNode(parent, QString::fromStdString(textOf(n)), kind)->setData(0, TForm1::NumberRole, n);
    }
}

// One leaf per present slot.
template <size_t N, typename TextOf>
void AddPresentLeaves(QTreeWidgetItem* parent, const std::array<bool, N>& present, int kind,
                      TextOf textOf) {
    for (int n = 1; n < static_cast<int>(N); ++n) {
        if (present[n])
            AddNode(parent, QString::fromStdString(textOf(n)), kind)
                ->setData(0, TForm1::NumberRole, n);
    }
}

// The whole tree, built apart from any view so that the view takes it in one step.
QTreeWidgetItem* NetworkTree(const net::TNetObj& net) {
    auto* root = new QTreeWidgetItem(QStringList{QString::fromStdString(net.NetworkName)});
    root->setData(0, TForm1::KindRole, TForm1::tkRoot);
    QTreeWidgetItem* hostTypes =
        AddNode(root, QStringLiteral("типы маршрутизаторов"), TForm1::tkHostTypes);
    QTreeWidgetItem* channelTypes =
        AddNode(root, QStringLiteral("типы каналов"), TForm1::tkChannelTypes);
    QTreeWidgetItem* hosts = AddNode(root, QStringLiteral("маршрутизаторы"), TForm1::tkHosts);
    QTreeWidgetItem* channels = AddNode(root, QStringLiteral("каналы связи"), TForm1::tkChannels);
    QTreeWidgetItem* paths = AddNode(root, QStringLiteral("пути"), TForm1::tkPaths);

    AddLeaves(hostTypes, net.HostTypeCount, net::MaxTypes, TForm1::tkHostType,
              [&net](int k) { return net::HostTypeText(net, k); });
    AddLeaves(channelTypes, net.ChannelTypeCount, net::MaxTypes, TForm1::tkChannelType,
              [&net](int k) { return net::ChannelTypeText(net, k); });
    AddPresentLeaves(hosts, net.HostPresent, TForm1::tkHost,
                     [&net](int i) { return net::HostText(net, i); });
    AddPresentLeaves(channels, net.ChannelPresent, TForm1::tkChannel,
                     [&net](int c) { return net::ChannelText(net, c); });
    AddLeaves(paths, net.PathTable.PathCount, net::MaxPaths, TForm1::tkPath,
              [&net](int p) { return net::PathText(net, p); });
    // Demands that routing could not place follow the paths.
    AddLeaves(paths, net.Unrouted.Count, net::MaxPaths, TForm1::tkUnrouted,
              [&net](int u) { return net::UnroutedText(net, u); });
    return root;
}

}  // namespace

void TForm1::UpdatePrTree() {
    QTreeWidgetItem* root = NetworkTree(*net_);
    TreeView1->setUpdatesEnabled(false);
    TreeView1->clear();
    TreeView1->addTopLevelItem(root);
    TreeView1->expandAll();
    TreeView1->setUpdatesEnabled(true);
    shown_ = ShownPartsOf(*net_);
}

void TForm1::TreeView1Click() {
    const QList<QTreeWidgetItem*> selected = TreeView1->selectedItems();
    if (selected.isEmpty())
        return;
    const int kind = selected.front()->data(0, KindRole).toInt();
    if (kind != tkHost && kind != tkChannel && kind != tkPath)
        return;
    // The redraw rebuilds the tree: the node is gone after it.
    const int number = selected.front()->data(0, NumberRole).toInt();
    RedrawAll();

    ShowMark({kind == tkHost      ? paint::Mark::Host
              : kind == tkChannel ? paint::Mark::Channel
                                  : paint::Mark::Path,
              number,
              {}});
}
