#include "main.h"

#include <QFont>
#include <QFontInfo>
#include <QHeaderView>
#include <QResizeEvent>
#include <algorithm>

#include "about.h"
#include "helpu.h"
#include "numconv.h"
#include "texts.h"

TForm1* Form1 = nullptr;

namespace {

const QColor Black(0, 0, 0);
const QColor White(255, 255, 255);
const QColor Green(0, 128, 0);
const QColor Navy(0, 0, 128);
const QColor Red(255, 0, 0);

// Positions come from files too and may lie anywhere; far outside every
// drawing area they are drawn at this distance, so that the arithmetic of
// the drawing cannot overflow.
constexpr int64_t FarAway = 1 << 22;

int Px(int64_t value) {
    return static_cast<int>(std::clamp(value, -FarAway, FarAway));
}

bool IsHostNumber(int64_t host) {
    return host >= 1 && host <= net::MaxHosts;
}

QString Text(const std::string& utf8) {
    return QString::fromStdString(utf8);
}

// The layouts name the classic "MS Sans Serif"; it stands for the platform's
// own sans-serif face.
void InstallFontSubstitutes() {
    static bool installed = false;
    if (installed)
        return;
    installed = true;
    QFont sans(QStringLiteral("Sans Serif"));
    sans.setStyleHint(QFont::SansSerif);
    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QFontInfo(sans).family());
}

QTreeWidgetItem* AddNode(QTreeWidgetItem* parent, const QString& text, int kind) {
    auto* node = new QTreeWidgetItem(parent, QStringList{text});
    node->setData(0, TForm1::KindRole, kind);
    return node;
}

void AddLeaf(QTreeWidgetItem* parent, const std::string& text, int kind, int number) {
    AddNode(parent, Text(text), kind)->setData(0, TForm1::NumberRole, number);
}

}  // namespace

TForm1::TForm1(QWidget* parent) : QMainWindow(parent) {
    InstallFontSubstitutes();
    setupUi(this);
    // Labels marked so take the size of their text in the face actually used.
    for (QLabel* label : centralwidget->findChildren<QLabel*>()) {
        if (label->property("autoSize").toBool())
            label->resize(label->sizeHint());
    }
    // Long texts of the tree scroll rather than being cut short.
    TreeView1->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    // The layout gives the client area's size; the menu bar comes on top of it.
    designClientSize_ = size();
    resize(designClientSize_.width(), designClientSize_.height() + MainMenu1->sizeHint().height());
    RecordAnchors();
    centralwidget->installEventFilter(this);
    FormCreate();

    connect(TreeView1, &QTreeWidget::itemClicked, this, Guarded(&TForm1::TreeView1Click));
    connect(N3, &QAction::triggered, this, Guarded(&TForm1::N3Click));
    connect(N6, &QAction::triggered, this, Guarded(&TForm1::N6Click));
    connect(N7, &QAction::triggered, this, Guarded(&TForm1::N7Click));
    connect(N8, &QAction::triggered, this, Guarded(&TForm1::N8Click));
    connect(N12, &QAction::triggered, this, Guarded(&TForm1::N12Click));
    connect(N16, &QAction::triggered, this, Guarded(&TForm1::N16Click));
    connect(N18, &QAction::triggered, this, Guarded(&TForm1::N18Click));
    connect(N19, &QAction::triggered, this, Guarded(&TForm1::N19Click));
    connect(Button1, &QPushButton::clicked, this, Guarded(&TForm1::Button1Click));
    connect(Button2, &QPushButton::clicked, this, Guarded(&TForm1::Button2Click));
    connect(Button3, &QPushButton::clicked, this, Guarded(&TForm1::Button3Click));
    connect(Button4, &QPushButton::clicked, this, Guarded(&TForm1::Button4Click));
    connect(Button5, &QPushButton::clicked, this, Guarded(&TForm1::Button5Click));
    connect(Button6, &QPushButton::clicked, this, Guarded(&TForm1::Button6Click));
    connect(Image1, &TImage::Click, this,
            [this](const QPoint& point) { ui::RunHandler([this, point] { Image1Click(point); }); });
    connect(N1, &QAction::triggered, this, Guarded(&TForm1::N1Click));
    connect(N2, &QAction::triggered, this, Guarded(&TForm1::N2Click));
    connect(N11, &QAction::triggered, this, Guarded(&TForm1::N11Click));
    connect(N13, &QAction::triggered, this, Guarded(&TForm1::N13Click));
    connect(N15, &QAction::triggered, this, Guarded(&TForm1::N15Click));
    connect(N17, &QAction::triggered, this, Guarded(&TForm1::N17Click));
    connect(N21, &QAction::triggered, this, Guarded(&TForm1::N21Click));
    connect(N22, &QAction::triggered, this, Guarded(&TForm1::N22Click));
    // "сохранить как" (N9) and "динамическая маршрутизация 2" (N23) do nothing.
}

TForm1::~TForm1() {
    if (Form1 == this)
        Form1 = nullptr;
}

void TForm1::FormCreate() {
    net_ = std::make_unique<net::TNetObj>();
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    if (watched == centralwidget && event->type() == QEvent::Resize) {
        ApplyAnchors();
        ui::RunHandler([this] { FormResize(); });
    }
    return QMainWindow::eventFilter(watched, event);
}

void TForm1::RecordAnchors() {
    for (QWidget* widget : centralwidget->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        const QStringList edges = widget->property("anchors").toString().split(',');
        anchors_.push_back({widget, widget->geometry(), edges.contains("left"),
                            edges.contains("top"), edges.contains("right"),
                            edges.contains("bottom")});
    }
}

// Every component keeps its distance to the client edges it is anchored to;
// anchored to both opposite edges it stretches.
void TForm1::ApplyAnchors() {
    const int dw = centralwidget->width() - designClientSize_.width();
    const int dh = centralwidget->height() - designClientSize_.height();
    for (const Anchoring& a : anchors_) {
        QRect g = a.design;
        if (a.right) {
            if (a.left) {
                g.setWidth(std::max(0, g.width() + dw));
            } else {
                g.moveLeft(g.left() + dw);
            }
        }
        if (a.bottom) {
            if (a.top) {
                g.setHeight(std::max(0, g.height() + dh));
            } else {
                g.moveTop(g.top() + dh);
            }
        }
        a.widget->setGeometry(g);
    }
}

void TForm1::FormResize() {
    Image1->resize(ProgressBar1->x() + ProgressBar1->width() - 177, Panel3->y() - 13);
    RedrawAll();
}

void TForm1::RedrawAll() {
    net::TNetObj& net = *net_;
    {
        const net::DynamicSuspension suspended(net);
        Image1->FitPictureToArea();
        Image1->BrushColor = Black;
        Image1->FillRect(QRect(0, 0, Image1->width(), Image1->height()));

        Image1->BrushColor = Green;
        Image1->PenColor = Green;
        Image1->FontColor = Navy;
        for (int c = 1; c <= net::MaxChannels; ++c) {
            if (!net.ChannelPresent[c])
                continue;
            const int a = net.Channels[c].HostA;
            const int b = net.Channels[c].HostB;
            if (!IsHostNumber(a) || !IsHostNumber(b))
                continue;
            const int64_t xa = net.Hosts[a].X, ya = net.Hosts[a].Y;
            const int64_t xb = net.Hosts[b].X, yb = net.Hosts[b].Y;
            Image1->Line(Px(xa), Px(ya), Px(xb), Px(yb));
            // Integer halves round toward zero.
            Image1->TextOut(Px((xa + xb) / 2), Px((ya + yb) / 2),
                            Text(net::FormatFixed3(net.DelayMatrix[a][b])));
        }

        Image1->BrushColor = Navy;
        Image1->PenColor = Navy;
        for (int i = 1; i <= net::MaxHosts; ++i) {
            if (!net.HostPresent[i])
                continue;
            const int64_t x = net.Hosts[i].X, y = net.Hosts[i].Y;
            Image1->Ellipse(Px(x - 8), Px(y - 8), Px(x + 8), Px(y + 8));
        }
        Image1->FontColor = Red;
        for (int i = 1; i <= net::MaxHosts; ++i) {
            if (!net.HostPresent[i])
                continue;
            const int64_t x = net.Hosts[i].X, y = net.Hosts[i].Y;
            Image1->TextOut(Px(x - 3), Px(y - 6), QString::number(i));
        }

        Panel3->setText(Text(net::ClassText(net.Classify())));
    }
    net.RecomputeIfDynamic();
    UpdatePrTree();
}

void TForm1::UpdatePrTree() {
    const net::TNetObj& net = *net_;
    TreeView1->clear();
    auto* root = new QTreeWidgetItem(TreeView1, QStringList{Text(net.NetworkName)});
    root->setData(0, KindRole, tkRoot);
    QTreeWidgetItem* hostTypes = AddNode(root, QStringLiteral("типы маршрутизаторов"), tkHostTypes);
    QTreeWidgetItem* channelTypes = AddNode(root, QStringLiteral("типы каналов"), tkChannelTypes);
    QTreeWidgetItem* hosts = AddNode(root, QStringLiteral("маршрутизаторы"), tkHosts);
    QTreeWidgetItem* channels = AddNode(root, QStringLiteral("каналы связи"), tkChannels);
    QTreeWidgetItem* paths = AddNode(root, QStringLiteral("пути"), tkPaths);

    const int hostTypeCount = std::clamp(net.HostTypeCount, 0, net::MaxTypes);
    for (int k = 1; k <= hostTypeCount; ++k) {
        AddLeaf(hostTypes, net::HostTypeText(net, k), tkHostType, k);
    }
    const int channelTypeCount = std::clamp(net.ChannelTypeCount, 0, net::MaxTypes);
    for (int k = 1; k <= channelTypeCount; ++k) {
        AddLeaf(channelTypes, net::ChannelTypeText(net, k), tkChannelType, k);
    }
    for (int i = 1; i <= net::MaxHosts; ++i) {
        if (net.HostPresent[i])
            AddLeaf(hosts, net::HostText(net, i), tkHost, i);
    }
    for (int c = 1; c <= net::MaxChannels; ++c) {
        if (net.ChannelPresent[c])
            AddLeaf(channels, net::ChannelText(net, c), tkChannel, c);
    }
    const int pathCount = std::clamp(net.PathTable.PathCount, 0, net::MaxPaths);
    for (int p = 1; p <= pathCount; ++p) {
        AddLeaf(paths, net::PathText(net, p), tkPath, p);
    }
    // Demands that routing could not place follow the paths.
    const int unroutedCount = std::clamp(net.Unrouted.Count, 0, net::MaxPaths);
    for (int u = 1; u <= unroutedCount; ++u) {
        AddLeaf(paths, net::UnroutedText(net, u), tkUnrouted, u);
    }
    TreeView1->expandAll();
}

void TForm1::MarkHost(int host) {
    const int64_t x = net_->Hosts[host].X, y = net_->Hosts[host].Y;
    Image1->PenColor = White;
    Image1->BrushColor = Black;
    Image1->Ellipse(Px(x - 12), Px(y - 12), Px(x + 12), Px(y + 12));
    Image1->BrushColor = Navy;
    Image1->Ellipse(Px(x - 8), Px(y - 8), Px(x + 8), Px(y + 8));
    Image1->FontColor = Red;
    Image1->TextOut(Px(x - 3), Px(y - 6), QString::number(host));
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

    const net::TNetObj& net = *net_;
    auto point = [&net](int host) { return QPoint(Px(net.Hosts[host].X), Px(net.Hosts[host].Y)); };
    if (kind == tkHost) {
        if (IsHostNumber(number))
            MarkHost(number);
    } else if (kind == tkChannel) {
        if (number < 1 || number > net::MaxChannels)
            return;
        const net::ChannelRecord& channel = net.Channels[number];
        if (!IsHostNumber(channel.HostA) || !IsHostNumber(channel.HostB))
            return;
        Image1->BrushColor = White;
        Image1->PenColor = White;
        const QPoint a = point(channel.HostA), b = point(channel.HostB);
        Image1->Line(a.x(), a.y(), b.x(), b.y());
    } else {
        if (number < 1 || number > net::MaxPaths)
            return;
        const net::PathRecord& record = net.PathTable.Records[number];
        const int n = std::clamp(record[0], 0, net::PathElements - 1);
        for (int k = 1; k <= n; ++k) {
            if (!IsHostNumber(record[k]))
                return;
        }
        Image1->BrushColor = White;
        Image1->PenColor = White;
        for (int k = 1; k < n; ++k) {
            const QPoint a = point(record[k]), b = point(record[k + 1]);
            Image1->Line(a.x(), a.y(), b.x(), b.y());
        }
        if (n >= 1)
            MarkHost(record[1]);
    }
}

void TForm1::N3Click() {
    close();
}

void TForm1::N6Click() {
    Form2->exec();
}

void TForm1::N7Click() {
    Form3->exec();
}

void TForm1::N8Click() {
    net_->Reset();
    RedrawAll();
}

void TForm1::N12Click() {
    net_->BuildSpanningTree();
    RedrawAll();
}

void TForm1::N16Click() {
    net_->DeleteAllChannels();
    RedrawAll();
}

void TForm1::N18Click() {
    net_->RouteAll();
    UpdatePrTree();
}

void TForm1::N19Click() {
    net_->ToggleDynamic();
    UpdatePrTree();
}
