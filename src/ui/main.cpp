// Building the main window, wiring its handlers, and repainting it.
#include "main.h"

#include <QHeaderView>
#include <QProxyStyle>
#include <QResizeEvent>
#include <initializer_list>
#include <utility>

#include "cached_size_delegate.h"
#include "fonts.h"
#include "guarded_connect.h"
#include "network_picture.h"
#include "picture_file.h"
#include "texts.h"

TForm1* Form1 = nullptr;

namespace {

// The drawing area ends this far left of the progress bar's right edge and
// this far above the status panel.
constexpr int ImageRightInset = 177;
constexpr int ImageBottomGap = 13;

using Handler = void (TForm1::*)();

}  // namespace

namespace {

// The main window's layout places its central widget through a geometry
// animation (of zero length without docks) whenever the style animates
// widgets; a resize that reaches the layout again while such an animation
// starts uses it after it is freed, and the program crashed now and then
// while its window was resized. The window has no docks to animate: the
// central widget is placed directly.
class UnanimatedStyle : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returned) const override {
        if (hint == SH_Widget_Animation_Duration)
            return 0;
        return QProxyStyle::styleHint(hint, option, widget, returned);
    }
};

}  // namespace

TForm1::TForm1(QWidget* parent) : QMainWindow(parent) {
    paint::InstallFontSubstitutes();
    setupUi(this);
    auto* unanimated = new UnanimatedStyle;
    unanimated->setParent(centralwidget);
    centralwidget->setStyle(unanimated);
    ApplyFontHeights(*this);
    // The drawing's face is the one a saved or rendered picture uses.
    Image1->setFont(paint::PictureFont());
    // Labels marked so take the size of their text in the face actually used.
    for (QLabel* label : centralwidget->findChildren<QLabel*>()) {
        if (label->property("autoSize").toBool())
            label->resize(label->sizeHint());
    }
    // Long texts of the tree scroll rather than being cut short.
    TreeView1->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    // Every node is one line of text: the view need not ask each for its height.
    TreeView1->setUniformRowHeights(true);
    TreeView1->setItemDelegate(new CachedSizeDelegate(TreeView1));
    // The layout gives the client area's size; the menu bar comes on top of it.
    const QSize designClientSize = size();
    resize(designClientSize.width(), designClientSize.height() + MainMenu1->sizeHint().height());
    anchoring_.Record(*centralwidget, designClientSize);
    centralwidget->installEventFilter(this);
    FormCreate();
    ConnectHandlers();
    BuildContextMenu();
    MarkSaved("");
    StartRecovery();
}

TForm1::~TForm1() {
    if (Form1 == this)
        Form1 = nullptr;
}

template <auto Handler, typename... Args>
void TForm1::Step(Args... args) {
    RunAsStep([&] { (this->*Handler)(args...); });
}
// The context menu's steps are connected in their own file.
template void TForm1::Step<&TForm1::ImportNetworkClick>();
template void TForm1::Step<&TForm1::ApplyImprovedClick>();
template void TForm1::Step<&TForm1::LoadsClick>();

void TForm1::ConnectHandlers() {
    // "динамическая маршрутизация 2" (N23) does nothing.
    // Loading, "новый", the topology commands and the load table change the
    // network: each is an undo step. Routing, saving and help are not.
    const std::initializer_list<std::pair<QAction*, Handler>> menu = {
        {N1, &TForm1::Step<&TForm1::N1Click>},
        {N2, &TForm1::N2Click},
        {N3, &TForm1::N3Click},
        {N6, &TForm1::N6Click},
        {N7, &TForm1::N7Click},
        {N8, &TForm1::Step<&TForm1::N8Click>},
        {N9, &TForm1::N9Click},
        {N11, &TForm1::Step<&TForm1::N11Click>},
        {N12, &TForm1::Step<&TForm1::N12Click>},
        {N13, &TForm1::Step<&TForm1::N13Click>},
        {N15, &TForm1::Step<&TForm1::N15Click>},
        {N16, &TForm1::Step<&TForm1::N16Click>},
        {N17, &TForm1::Step<&TForm1::N17Click>},
        {N18, &TForm1::N18Click},
        {N19, &TForm1::N19Click},
        {N21, &TForm1::Step<&TForm1::N21Click>},
        {N22, &TForm1::Step<&TForm1::N22Click>},
    };
    for (const auto& [entry, handler] : menu) {
        ui::ConnectHandler(entry, &QAction::triggered, this, handler);
    }
    const std::initializer_list<std::pair<QPushButton*, Handler>> buttons = {
        {Button1, &TForm1::Button1Click}, {Button2, &TForm1::Button2Click},
        {Button3, &TForm1::Button3Click}, {Button4, &TForm1::Button4Click},
        {Button5, &TForm1::Button5Click}, {Button6, &TForm1::Button6Click},
    };
    for (const auto& [button, handler] : buttons) {
        ui::ConnectHandler(button, &QPushButton::clicked, this, handler);
    }
    ui::ConnectHandler(TreeView1, &QTreeWidget::itemClicked, this, &TForm1::TreeView1Click);
    ui::ConnectHandler(Image1, &TImage::Click, this,
                       &TForm1::Step<&TForm1::Image1Click, const QPoint&>);
}

void TForm1::FormCreate() {
    net_ = std::make_unique<net::TNetObj>();
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    if (watched == centralwidget && event->type() == QEvent::Resize) {
        anchoring_.Apply();
        ui::RunHandler([this] { FormResize(); }, [this] { AfterError(); });
    }
    return QMainWindow::eventFilter(watched, event);
}

void TForm1::FormResize() {
    Image1->resize(ProgressBar1->x() + ProgressBar1->width() - ImageRightInset,
                   Panel3->y() - ImageBottomGap);
    RedrawAll();
}

void TForm1::PaintNetworkAndStatus() {
    mark_ = {};
    net::TNetObj& net = *net_;
    const net::DynamicSuspension suspended(net);
    Image1->FitPictureToArea();
    const QSize size = Image1->size();
    Image1->Paint(
        [&net, size](paint::CanvasPainter& canvas) { paint::PaintNetwork(canvas, net, size); });
    PaintDesignProposal();
    Panel3->setText(QString::fromStdString(net::ClassText(net.Classify())));
}

void TForm1::RedrawAll() {
    PaintNetworkAndStatus();
    N19->setChecked(net_->DynamicRouting);
    net_->RecomputeIfDynamic();
    UpdatePrTree();
}

void TForm1::AfterError() {
    N19->setChecked(net_->DynamicRouting);
    if (shown_ == ShownPartsOf(*net_))
        return;
    PaintNetworkAndStatus();
    UpdatePrTree();
}
