// The main window: menu, toolbar, project tree and status bar, the one project object mDali
// with its events, the start-up work and the shutdown. The other windows are given it as their
// MainWindowServices.
#pragma once

#include "KeyedTree.h"
#include "MainWindowServices.h"
#include "ProjectDocument.h"
#include "corlink/clsOrvekDali.h"
#include "corshim.h"

#include <QMainWindow>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

class QAction;
class QLabel;
class QMenu;
class QToolBar;

namespace corvane {

class FormTimer;
struct FormSubject;

// What a click on a tree node opens: the window, its caption and its place (twips, beside the
// tree); the window is given the node.
struct NodeDialog {
    QString form;
    QString caption;
    int left = 0;
    std::optional<int> top;
    bool newInstance = false;  // a new window each time, not the single instance
};

// The dialog of a node key, or none (root, groups, scenes and ballast nodes). left and top are
// the place beside the tree (twips), screenWidthTwips the screen's width.
std::optional<NodeDialog> NodeDialogFor(const QString& key, const QString& text, const QString& parentText, int left,
                                        int top, int screenWidthTwips);

// The project folder while none is stored: "Projects" in the documents folder (the home folder
// when there is none), made when missing.
QString ProjectFolderFor(const QString& documentsFolder);

class frm01 : public QMainWindow, public MainWindowServices, private corlink::clsOrvekDaliEvents {
    Q_OBJECT
public:
    explicit frm01(QWidget* parent = nullptr);
    ~frm01() override;

    // The start-up work, in order: settings, first-start language, project object, texts,
    // caption, language files, message texts and tables, default model and empty project,
    // tree, window place. An error reaches the caller (the program cannot start).
    void Form_Load();

    // The project object (error 91 while there is none).
    corlink::clsOrvekDali& mDali() override;
    // The handlers of mDali's events, for a project read aside.
    corlink::clsOrvekDaliEvents& ProjectEvents() override;
    bool HasProject() const { return mDali_ != nullptr; }

    // The open project's header for a project started afresh for a gateway model: that order
    // number and version, no file name, physical address 0 ("0.0.0") and zero dates of last
    // access, download and upload; description, identifier and remarks stay.
    corlink::TypHeader FreshHeader(const std::string& orderNo, const std::string& version) override;

    // Starts the project afresh for the model that the header's order number and version name
    // (ProjectDocument::StartAfresh: model, sizing, header, change flag cleared) and rebuilds the
    // tree with its first node selected. False, with nothing changed, when the model is refused.
    // The start-up, New and the gateway-model dialog start a project this way.
    bool StartAfresh(const corlink::TypHeader& header, ProjectDocument::Sizing sizing) override;
    // Marks the project as unchanged.
    void SetDefaultParameter() override;
    // Rebuilds the project tree from mDali and selects the node SelectedNodeIndex.
    void CreateObjektDataTree() override;
    // Save: message 902 while no header is set, else the project file, or Save As when the
    // project has no file name yet. Reports its own errors (Save As with text 924); the project
    // was saved when GetChangeFlag() is false afterwards.
    void SaveProjectProc() override;
    // The download log flag that gateway operations pass on: the check mark of mnuService.
    bool LogFileFlag() const override;
    // The save question (message 901) of New, Open, the shutdown and the commissioning
    // commands, asked only when there are unsaved changes: false when the user cancels, or
    // answers Yes and the project could not be saved (the command then ends, so nothing is lost).
    bool AskToSave() override;
    // Opens a project file into mDali as the open command does (the save question and DefaultPath
    // left to the caller): read once and taken over whole (ProjectDocument), so that a refused
    // model (message 916) or a file whose DALI part cannot be read (reported as InterfaceError)
    // leaves the open project and the model tables as they were; then the tree is rebuilt. A file
    // that cannot be opened, read or whose header cannot be read raises its error.
    FileOpen OpenProjectFile(const std::string& name) override;
    // The same without rebuilding the tree (the fuzz target reads many files).
    FileOpen ReadProjectFile(const std::string& name);
    // The connection manager of the last bus interface choice.
    std::unique_ptr<corshim::CWrapConnectionManager> ConnectionManager;

    // Expansion flags of the tree's expand and collapse events.
    bool ExpandBeleuchtung = false, ExpandBelueftung = false, ExpandTemperatur = false, ExpandJalousie = false,
         ExpandMeldungen = false, ExpandSzenen = false, ExpandBeleuchtungObj = false, ExpandBelueftungObj = false,
         ExpandTemperaturObj = false, ExpandJalousieObj = false, ExpandMeldungenObj = false, ExpandSzenenObj = false,
         ExpandAllgemeinObj = false;

    // Controls.
    KeyedTree* TreeView1 = nullptr;
    QToolBar* Toolbar1 = nullptr;
    QStatusBar* BrimcorStatusBar = nullptr;
    QMenu *mnuMenue = nullptr, *mnuEIB = nullptr, *mnuExtras = nullptr;
    QAction *mnuNeu = nullptr, *mnuGeraetLaden = nullptr, *mnuGeraetSpeichern = nullptr,
            *mnuGeraetSpeichernunter = nullptr, *mnuDrucken = nullptr, *mnuDruckenMehr = nullptr, *mnuEnde = nullptr,
            *mnuinZielGeraet = nullptr, *mnuausZielgeraet = nullptr, *mnuGeraeteStatus = nullptr,
            *mnuSchnittstelle = nullptr, *mnuVersion = nullptr, *mnuSprache = nullptr, *mnuGrpDarstellung = nullptr,
            *mnuService = nullptr;

    // Status bar panel 1..6 ("" outside).
    QString StatusPanel(int panel) const;

    // The tree's selected node: the node of the last click, or the one the last rebuild selected.
    QTreeWidgetItem* SelectedNode() const { return TreeView1->SelectedNode(); }

    // Event handlers of the tree.
    void TreeView1_BeforeLabelEdit(int& Cancel);
    void TreeView1_Expand(QTreeWidgetItem& node);
    void TreeView1_Collapse(QTreeWidgetItem& node);
    void TreeView1_NodeClick(QTreeWidgetItem& node);

    // Event handlers of the project object.
    void mDali_HeaderChanged();
    void mDali_InterfaceError(std::int16_t ErrCode);
    void mDali_DeviceInfoEvent(const corlink::TypDeviceInfo& DeviceInfoText);
    void mDali_DownUpLoad(corlink::TypLoadProc TypLoad);
    void mDali_LoadEvent(const std::string& loadMsg, std::int32_t param1);
    void mDali_LoadErrorEvent(corlink::LoadError ErrCode);

    // Menu and toolbar.
    void Toolbar1_ButtonClick(const QString& key);
    void Form_Resize();

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // clsOrvekDaliEvents: each event runs its handler; an error is reported, never passed on.
    void HeaderChanged() override;
    void InterfaceError(std::int16_t ErrCode) override;
    void DeviceInfoEvent(corlink::TypDeviceInfo& DeviceInfoText, corlink::DeviceState, double,
                         const automation::Variant&) override;
    void DownUpLoad(corlink::DeviceState, double, const automation::Variant&, corlink::TypLoadProc TypLoad) override;
    void LoadEvent(const std::string& loadMsg, std::int32_t param1, std::int32_t, double) override;
    void LoadErrorEvent(const std::string&, std::int32_t, std::int32_t, double, corlink::LoadError& ErrCode) override;

    void SetExpandFlag(const QTreeWidgetItem& node, bool expanded);
    void createMenu();
    void createToolbar();
    void createStatusBar();

    // Status bar panel 1: today's date, renewed by StatusDateTimer every minute so that it
    // changes at midnight.
    void ShowToday();

    void ReadSettings();
    void WriteSettings();
    void ListLanguageFiles();
    void LoadStartProject();
    // The shutdown's save question; false keeps the window open.
    bool Form_QueryUnload();
    // The open or save dialog of project files; "" when no file was taken.
    QString ChooseProjectFile(bool save);
    // DefaultPath follows the folder of a chosen file, unless it lies on a network path.
    static void UpdateDefaultPath(const QString& fileName);
    void Form_Unload();

    // The tree's rebuild: the project's nodes (AddProjectNodes), then the selection
    // (SelectAfterRebuild).
    void AddProjectNodes();
    void SelectAfterRebuild();
    void OpenNodeDialog(const NodeDialog& dialog, const FormSubject& node);
    void ShowFormModal(const QString& form, int captionId, const QString& tag = {});

    // Commands of the menu and the toolbar.
    void mnuNeu_Click();
    void mnuGeraetLaden_Click();
    void mnuGeraetSpeichernunter_Click();
    void mnuDrucken_Click();
    void mnuSchnittstelle_Click();

    std::unique_ptr<corlink::clsOrvekDali> mDali_;
    QLabel* panels_[6] = {};
    FormTimer* dateTimer_ = nullptr;
    bool unloaded_ = false;
};

}  // namespace corvane
