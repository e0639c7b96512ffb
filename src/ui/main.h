// The main window: the drawing of the network, the tree of everything it
// holds, the status of its connectivity, the click-mode buttons and the menu.
// It owns the one network object for the whole run and keeps no copy of it:
// drawing, status and tree are rebuilt from the network after every change.
//
// The behaviour is spread over files by concern: main.cpp builds the window
// and repaints it, main_tree.cpp the tree and the marks of a clicked node,
// main_editing.cpp the canvas editing and the topology commands,
// main_menu.cpp the other menu commands.
#pragma once

#include <QMainWindow>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "anchoring.h"
#include "netobj.h"
#include "network_picture.h"
#include "recovery_store.h"
#include "report_document.h"
#include "shown_network.h"
#include "ui_main.h"
#include "undo_history.h"

class QPrinter;
class TDesignForm;
class TDesignOptionsForm;
class TFailuresForm;
class TQualityForm;

class TForm1 : public QMainWindow, public Ui::TForm1 {
    Q_OBJECT
public:
    // Kind codes of the tree's nodes, stored under KindRole; item nodes carry
    // their number under NumberRole.
    enum TreeKind {
        tkHost = 1,
        tkHosts = 2,
        tkChannel = 3,
        tkChannels = 4,
        tkRoot = 5,
        tkPaths = 7,
        tkHostTypes = 10,
        tkChannelTypes = 11,
        tkHostType = 12,
        tkChannelType = 13,
        tkPath = 14,
        tkUnrouted = 15,
    };
    static constexpr int KindRole = Qt::UserRole;
    static constexpr int NumberRole = Qt::UserRole + 1;

    // Canvas editing: what the next click on the drawing area does.
    enum ClickModes {
        cmNone = 0,
        cmNewHost = 1,
        cmDeleteHost = 2,
        cmChannelFirstEnd = 3,
        cmDeleteChannel = 4,
        cmChannelSecondEnd = 5,
        cmEditHost = 6,
        cmEditChannel = 7,
        cmMoveHost = 8,
    };

    explicit TForm1(QWidget* parent = nullptr);
    ~TForm1() override;

    // The network object, for the handlers of every window.
    net::TNetObj& Net() { return *net_; }
    // What the drawing area shows.
    const QImage& Picture() const { return Image1->Picture(); }

    // Repaints the drawing and the status from the network, applies the
    // dynamic routing rule and rebuilds the tree.
    void RedrawAll();
    // Rebuilds the tree from the network.
    void UpdatePrTree();
    // After a handler ended on an error: when the network is no longer what
    // the window shows, repaints the drawing, the status and the tree from it
    // as it is, without routing.
    void AfterError();

    // At start: offers the networks that programs ended without saving
    // left in their recovery folders, newest first, until one is restored.
    void OfferRecovery();
    // True when the network would be saved other than it was last loaded,
    // saved or made by "новый".
    bool HasUnsavedChanges() const;
    // Writes the recovery copy when the network changed since the last one,
    // drops it when nothing is unsaved; never reports a failure.
    void SaveRecoveryIfChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    // With unsaved changes, asks whether to save them first.
    void closeEvent(QCloseEvent* event) override;

private:
    // The tests drive the handlers and read the editing state through this.
    friend struct TForm1Access;

    void ConnectHandlers();
    // Unsaved work (main_closing.cpp): the network as the project files of
    // `folder` hold it now ("" for none).
    void MarkSaved(const std::string& folder);
    // The question before closing; true when the window may close.
    bool AskToSaveBeforeClosing();
    void StartRecovery();
    // "сохранить как": true when the network was saved into a new folder.
    bool SaveAsNewFolder();
    // The drawing and the status from the network, without routing.
    void PaintNetworkAndStatus();
    void FormCreate();
    void FormResize();
    void TreeView1Click();

    void N1Click();   // "загрузить"
    void N2Click();   // "сохранить"
    void N3Click();   // "выход"
    void N6Click();   // "помощь"
    void N7Click();   // "о программе"
    void N8Click();   // "новый"
    void N9Click();   // "сохранить как"
    void N11Click();  // "один со всеми"
    void N12Click();  // "каркас по каналам"
    void N13Click();  // "двусвязность"
    void N15Click();  // "каждый с каждым"
    void N16Click();  // "удалить все ребра"
    void N17Click();  // "каркас по всем"
    void N18Click();  // "статическая маршрутизация"
    void N19Click();  // "динамическая маршрутизация 1"
    void N21Click();  // "таблица нагрузок"
    void N22Click();  // "кольцо"

    void Button1Click();  // host "новый"
    void Button2Click();  // host "удалить"
    void Button3Click();  // channel "новый"
    void Button4Click();  // channel "удалить"
    void Button5Click();  // host "изменить"
    void Button6Click();  // channel "изменить"
    // A click on the drawing area at `point`, in the area's coordinates.
    void Image1Click(const QPoint& point);
    // The lowest present host whose 15 x 15 square holds the point, or 0.
    int HostAt(int x, int y) const;
    // The lowest present channel whose thin band around its line holds the point, or 0.
    int ChannelAt(int x, int y) const;
    // Shows the parameter dialog and builds with the channel type typed in
    // its second field, then redraws.
    template <typename Build>
    void BuildWithTypedChannelType(Build build);

    // Undo and redo (main_history.cpp). A handler that may change the network
    // is connected as Step<&TForm1::Handler>: the network is copied before it
    // runs and the copy becomes an undo step when the handler changed it,
    // also when it ended on an error.
    template <auto Handler, typename... Args>
    void Step(Args... args);
    void RunAsStep(const std::function<void()>& action);
    void UndoClick();  // "отменить"
    void RedoClick();  // "вернуть"
    // The network as it is now, after undo or redo: drawn and listed without
    // routing again, since the restored copy holds its routing results.
    void ShowRestoredNetwork();
    void UpdateHistoryActions();

    // The context menu of the drawing and the results it shows or saves
    // (main_results.cpp).
    void BuildContextMenu();
    void FailuresClick();  // "анализ отказов"
    void QualityClick();   // "качество маршрутизации"
    // The improved paths as the routing results: one undo step.
    void ApplyImprovedClick();
    // A row of the quality window: redraws and marks its channels.
    void QualityChannelsClick(const std::vector<int>& channels);
    void SavePictureClick();  // "сохранить рисунок…"
    void SaveTablesClick();   // "сохранить таблицы…"
    // The design report (main_report.cpp).
    void ReportClick();  // "отчёт…": a PDF file
    void PrintClick();   // "печать…": the print dialog, then the pages
    int PrintReport(QPrinter& printer);
    paint::ReportOptions ReportContents() const;
    // Networks of the exchange formats (main_exchange.cpp).
    void ImportNetworkClick();  // "импорт сети…": one undo step
    void ExportNetworkClick();  // "экспорт сети…"
    // A load table made in one step (main_loads.cpp): one undo step.
    void LoadsClick();  // "нагрузка…"
    // The design advisor (main_design.cpp): the options, the search with its
    // progress window, then the result window.
    void DesignClick();  // "проектирование сети…"
    // The design chosen in the result window replaces the channels: one undo step.
    void ApplyDesignClick();
    // The design shown, or none once the result window is closed: repaints.
    void DesignShownChanged();
    // The report's design section follows the result window: its proposed
    // design while the window shows it and the network is still the one it
    // was made for (also again after undoing back to it), else none.
    void UpdateDesignSummary();
    // Draws the design of the open result window over the picture.
    void PaintDesignProposal();
    // A row of the failure window: redraws and marks the failed element.
    void FailureRowClick(int kind, int number);
    // Draws the mark over the picture; it stays until the next repaint.
    void ShowMark(const paint::Mark& mark);

    std::unique_ptr<net::TNetObj> net_;
    Anchoring anchoring_;

    int ClickMode = cmNone;
    // The first end of a channel being made, or the host being edited and
    // moved; 0 for none. The name and type of the last host edit go with it.
    int PickedHost = 0;
    std::string PickedName;
    int32_t PickedType = 0;

    // The network as the tree was last built from it.
    ShownNetwork shown_;

    net::UndoHistory history_;
    // The mark drawn over the picture since its last repaint.
    paint::Mark mark_;
    // The context menu's entries and the failure window, owned as Qt children.
    QAction* UndoAction = nullptr;
    QAction* RedoAction = nullptr;
    QAction* FailuresAction = nullptr;
    QAction* QualityAction = nullptr;
    QAction* DesignAction = nullptr;
    QAction* SavePictureAction = nullptr;
    QAction* SaveTablesAction = nullptr;
    QAction* ReportAction = nullptr;
    QAction* PrintAction = nullptr;
    QAction* ImportNetworkAction = nullptr;
    QAction* ExportNetworkAction = nullptr;
    QAction* LoadsAction = nullptr;
    TFailuresForm* FailuresForm = nullptr;
    TQualityForm* QualityForm = nullptr;
    // The design advisor's result the report shows, kept by UpdateDesignSummary.
    std::optional<paint::DesignSummary> design_;
    TDesignOptionsForm* DesignOptionsForm = nullptr;
    TDesignForm* DesignForm = nullptr;

    // The network as last loaded, saved or made by "новый", and its folder.
    std::unique_ptr<net::TNetObj> clean_;
    std::string cleanFolder_;
    // This program's recovery copy and what it last wrote there.
    std::unique_ptr<net::RecoveryStore> recovery_;
    std::unique_ptr<net::TNetObj> recovered_;
};

extern TForm1* Form1;
