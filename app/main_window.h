// The main window: the two trees on the left, the editor and the source view
// on the right, menus, toolbars, and the project held while it is open.
// It lays out the widgets and wires each subsystem's controller (app/).
#pragma once

#include <QMainWindow>
#include <QMessageBox>
#include <QPointer>
#include <QStringList>
#include <functional>
#include <memory>

#include "model/help_project.h"
#include "formats/sitemap/sitemap_nodes.h"
#include "model/project_sources.h"
#include "viewer/html_help_viewer.h"
#include "app/program_window.h"

class ContentsModel;
class IndexModel;
class QAction;
class QComboBox;
class QFrame;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QSplitter;
class QTabWidget;
class QToolButton;
class QTreeView;
class QColorDialog;
class QFileDialog;
class EditingControl;
class KeyboardHook;
class TableDialog;
class LinkDialog;
class AboutBox;
class CompilerMessagesWindow;
class TextEditDialog;
class NewProjectDialog;
class ProjectCommands;
class SplashDialog;
class TrainingCardDialog;

class MainWindow : public QMainWindow {
  Q_OBJECT

 public:
  // projectArgument: the first command-line argument (may be empty).
  explicit MainWindow(const QString& projectArgument = QString(), QWidget* parent = nullptr);
  ~MainWindow() override;

  // Makes the eight dialogs after the main window, in their fixed order.
  void CreateDialogs();
  const StartupDialogs& Dialogs() const { return startupDialogs; }

  // Turns on the commands of an open project (opening a project does it;
  // tests that fill a project by hand call it).
  void EnableProjectCommands();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  // --- components (named as in the window's design) ---
  QTabWidget* treeTabs = nullptr;  // left pane: Contents / Index
  QWidget* contentsPage = nullptr;
  QWidget* indexPage = nullptr;
  QFrame* projectToolbar = nullptr;
  QToolButton* newButton = nullptr;
  QToolButton* openButton = nullptr;
  QToolButton* saveButton = nullptr;
  QToolButton* compileButton = nullptr;
  QToolButton* viewButton = nullptr;
  QToolButton* newTopicButton = nullptr;
  QToolButton* newSubtopicButton = nullptr;
  QTreeView* contentsTree = nullptr;  // Contents (shows contentsModel)
  QFrame* contextPanel = nullptr;
  QLabel* contextLabel = nullptr;
  QPushButton* copyContextButton = nullptr;
  QFrame* indexPanel = nullptr;
  QTreeView* indexTree = nullptr;  // Index (shows indexModel)
  QSplitter* splitter = nullptr;
  QTabWidget* editorTabs = nullptr;  // right pane: Editor / Source
  QWidget* editorPage = nullptr;
  QWidget* sourcePage = nullptr;
  QFrame* formatToolbar = nullptr;  // formatting toolbar
  QComboBox* fontNameBox = nullptr;
  QComboBox* fontSizeBox = nullptr;
  QToolButton* boldButton = nullptr;
  QToolButton* italicButton = nullptr;
  QToolButton* underlineButton = nullptr;
  QToolButton* alignLeftButton = nullptr;
  QToolButton* centerButton = nullptr;
  QToolButton* alignRightButton = nullptr;
  QFrame* editorPanel = nullptr;
  EditingControl* editor = nullptr;
  QPlainTextEdit* sourceView = nullptr;

  // The window's commands by id: each controller registers its menu items
  // and submenus; the window assembles its menus from them (main_menus.cpp).
  class ActionRegistry* registry = nullptr;
  // The item (or a submenu's item) and the submenu registered as `id`.
  QAction* Command(const QString& id) const;
  QMenu* CommandMenu(const QString& id) const;
  // "Exit" and the keys that move between the panes: the window's own.
  void RegisterWindowCommands();
  // Wiring that needs the assembled menus.
  void ConnectMenus();

  // --- the project and its commands (model/help_project.h, project/) ---
  HelpProject project;
  // The project's trees, beside it: opening fills them, saving reads them.
  // Made after the window's central widget, so they outlive the views.
  ContentsModel* contentsModel = nullptr;
  IndexModel* indexModel = nullptr;
  ProjectCommands* projectCommands = nullptr;

  HelpViewerSession helpSession;

  // --- the panes and their controllers (panes/, model/) ---
  // The topic being edited: its page in the editor and the source view.
  class TopicEditing* topicEditing = nullptr;
  // New, rename, delete, move topics; links to subtopics.
  class ContentsPane* contentsPane = nullptr;
  // Keywords dropped on the Index tree, "Delete", "Properties".
  class IndexPane* indexPane = nullptr;

  // Enables the project commands and makes the project folder current, also
  // for the editor's links and pictures; a created project also gets the
  // "Edit", "Insert" and "Tools" menus.
  void EnterProjectFolder(bool created = false);
  // Shows a failure in an error box; false when `status` is one.
  bool ReportFailure(const Status& status);

  // --- build, view, decompile ---
  // Binds the build commands' menu items (called once at start-up).
  void ConnectBuildCommands();
  // The help viewer (its windows), made by ConnectBuildCommands.
  class HtmlHelpViewer* helpViewer = nullptr;
  class BuildCommands* buildCommands = nullptr;
  // Compiling, decompiling and add-in runs: one at a time.
  std::unique_ptr<class LongWork> longWork;

  // --- project-wide tools: Check project's Problems pane (checks/), Find
  // and Replace in all topics (alltopics/) ---
  class ProblemsPane* problemsPane = nullptr;
  class TopicReplacePane* topicReplace = nullptr;
  // One undo stack for the Contents and Index trees (panes/tree_undo.h).
  class TreeUndo* treeUndo = nullptr;
  // Spelling as you type in the editor (spelling/).
  class EditorSpelling* editorSpelling = nullptr;
  void ConnectProjectTools();

  // --- add-ins and program help ---
  // "Tools" > "Add-ins", listed in the background from start-up on.
  class AddinsMenu* addins = nullptr;
  void ConnectAddins();
  // The program's help (HelpFile "Orvex.chm" beside the program), F1 and
  // the training-card messages of the viewer.
  class ProgramHelp* programHelp = nullptr;
  class ProgramHelpCommands* programHelpCommands = nullptr;
  void ConnectProgramHelp();

  // Menu preparation when the editor's context menu opens.
  void PrepareEditorMenu();

  // --- editor commands ---
  // Formatting, tables, links, pictures, clipboard, undo, find, view options.
  class EditorCommands* editorCommands = nullptr;
  void ConnectEditorCommands();

  // --- help features ---
  // Pop-ups, splash screens, training cards and the style sheet; the viewer
  // gets the script that runs their objects in compiled topics.
  class HelpFeatureCommands* helpFeatures = nullptr;
  void ConnectHelpFeatures();

  // --- start-up and closing (app/) ---
  bool AskToClose();

  static QString ReadWorkshopDir();
  void CreateParts();
  void BuildLayout();
  void BuildMainMenu();
  void BuildContextMenus();
  void Shown();
  void Resized();
  bool FinishClosing();
  void UpdateMinimumSize();
  // The caption: "My Guide — Orvex", with "*" in front while the project
  // is modified; "Orvex" with no project.
  void UpdateWindowTitle();
  // Size, position and splitter, kept in the settings file between runs.
  void RestoreWindowState();
  void StoreWindowState();
  void FillFontNameBox();
  void ConnectPanes();
  void ConnectFocusMenus();
  void ConnectPaneKeys();
  // Moves the keyboard focus to the next (step 1) or previous (step -1)
  // pane: the tree on show, the editor, the source view.
  void MovePaneFocus(int step);
  void SwitchEditorTab();
  // Brings the Editor (0) or Source (1) tab to the front, the focus with it.
  void ShowTabWithFocus(int tab);
  // Opens the context menu of the pane with the focus, at its current item.
  void ShowContextMenuAtFocus();
  void ConnectProjectCommands();

  // Focus-driven menus.
  void EditorEntered();
  void EditorLeft();
  void SourceViewEntered();
  void SourceViewLeft();
  // The view with the keyboard focus, as the menus show it: the last of
  // the window's panes that had it.
  enum class ActiveView { None, Editor, Source };
  void FollowFocus(QWidget* now);
  ActiveView activeView = ActiveView::None;
  void SetClipboardShortcuts(bool on);
  // Turns the registered items `ids` on or off.
  void SetEnabled(const QStringList& ids, bool on);
  void SetFormatButtonsEnabled(bool on);

  void ExitCommand();

  StartupDialogs startupDialogs;
  KeyboardHook* keyboardHook = nullptr;
  QString commandLineProject;
  bool commandLineTried = false;
  bool closed = false;
  bool windowStateRestored = false;
  // The focus follower, let go before the window's children are destroyed.
  QMetaObject::Connection focusConnection;
};
