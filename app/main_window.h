// The main window: the two trees on the left, the editor and the source view
// on the right, menus, toolbars, and the project held while it is open.
// Its handlers are spread over one .cpp per subsystem (app/, model/, editor/,
// project/, features/, build/).
#pragma once

#include <QMainWindow>
#include <QMessageBox>
#include <QPointer>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <memory>

#include "model/help_project.h"
#include "model/records.h"
#include "project/project_sources.h"

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
class QTreeWidget;
class QTreeWidgetItem;
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

// The dialogs made at start, in their order; each lives until the program ends.
struct StartupDialogs {
  TableDialog* tableDialog = nullptr;
  LinkDialog* linkDialog = nullptr;
  AboutBox* aboutBox = nullptr;
  CompilerMessagesWindow* compilerMessagesWindow = nullptr;
  TextEditDialog* textEditDialog = nullptr;
  NewProjectDialog* newProjectDialog = nullptr;
  SplashDialog* splashDialog = nullptr;
  TrainingCardDialog* trainingCardDialog = nullptr;
};

class MainWindow : public QMainWindow {
  Q_OBJECT
  friend class KeyboardHook;

 public:
  // commandLineProject: the first command-line argument (may be empty).
  explicit MainWindow(const QString& commandLineProject = QString(), QWidget* parent = nullptr);
  ~MainWindow() override;

  // Makes the eight dialogs after the main window, in their fixed order.
  void CreateDialogs();
  const StartupDialogs& Dialogs() const { return startupDialogs; }

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
  QTreeWidget* contentsTree = nullptr;  // Contents
  QFrame* contextPanel = nullptr;
  QLabel* contextLabel = nullptr;
  QPushButton* copyContextButton = nullptr;
  QFrame* indexPanel = nullptr;
  QTreeWidget* indexTree = nullptr;  // Index
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

  // Main menu.
  QMenu* fileMenu = nullptr;
  QAction* newAction = nullptr;
  QAction* openAction = nullptr;
  QMenu* reopenMenu = nullptr;
  QAction* saveAction = nullptr;
  QAction* compileAction = nullptr;
  QAction* viewHelpFileAction = nullptr;
  QAction* viewMessagesAction = nullptr;
  QAction* decompileAction = nullptr;
  QAction* exitAction = nullptr;
  QMenu* editMenu = nullptr;
  QAction* undoAction = nullptr;
  QAction* redoAction = nullptr;
  QAction* findAction = nullptr;
  QMenu* projectFilesMenu = nullptr;
  QAction* styleSheetAction = nullptr;
  QAction* popupTextsAction = nullptr;
  QMenu* fontMenu = nullptr;
  QAction* fontPropertiesAction = nullptr;
  QAction* boldAction = nullptr;
  QAction* italicAction = nullptr;
  QAction* underlineAction = nullptr;
  QMenu* colorMenu = nullptr;
  QAction* selectionBackgroundAction = nullptr;
  QAction* fontColorAction = nullptr;
  QAction* pageBackgroundAction = nullptr;
  QMenu* tableMenu = nullptr;
  QAction* insertRowAction = nullptr;
  QAction* insertColumnAction = nullptr;
  QAction* deleteRowAction = nullptr;
  QAction* deleteColumnAction = nullptr;
  QMenu* toggleMenu = nullptr;
  QAction* bulletedListAction = nullptr;
  QAction* numberedListAction = nullptr;
  QMenu* optionsMenu = nullptr;
  QAction* showDetailsAction = nullptr;
  QAction* showBordersAction = nullptr;
  QAction* snapToGridAction = nullptr;
  QAction* copyAction = nullptr;
  QAction* cutAction = nullptr;
  QAction* pasteAction = nullptr;
  QAction* selectAllAction = nullptr;
  QMenu* insertMenu = nullptr;
  QAction* insertTableAction = nullptr;
  QAction* insertPictureAction = nullptr;
  QMenu* linkMenu = nullptr;
  QAction* linkToTopicAction = nullptr;
  QAction* linkToPageAction = nullptr;
  QAction* insertPopupAction = nullptr;
  QAction* insertSplashAction = nullptr;
  QAction* insertTrainingCardAction = nullptr;
  QMenu* toolsMenu = nullptr;
  QMenu* addinsMenu = nullptr;
  QMenu* helpMenu = nullptr;
  QAction* helpContentsAction = nullptr;
  QAction* aboutAction = nullptr;

  // Context menus.
  QMenu* contentsMenu = nullptr;  // Contents tree
  QAction* newTopicAction = nullptr;
  QAction* newSubtopicAction = nullptr;
  QAction* deleteTopicAction = nullptr;
  QAction* appendLinksAction = nullptr;
  QMenu* indexMenu = nullptr;  // left pane (Index)
  QAction* deleteIndexEntryAction = nullptr;
  QAction* indexPropertiesAction = nullptr;
  QMenu* editorMenu = nullptr;  // editor
  QAction* deleteAction = nullptr;
  QMenu* editorColorMenu = nullptr;
  QAction* editorBackgroundAction = nullptr;
  QAction* editorFontColorAction = nullptr;
  QMenu* editorLinkMenu = nullptr;
  QAction* removeLinkAction = nullptr;
  QAction* editorLinkToTopicAction = nullptr;
  QAction* editorLinkToPageAction = nullptr;

  // --- the project and its commands (model/help_project.h, project/) ---
  HelpProject project;
  ProjectCommands* projectCommands = nullptr;

  QVariant CmdArg;
  QVariant CmdArg2;
  QString WorkText;
  QString WorkshopDir;
  quintptr HelpCookie = 0;

  // The page in the view in use was changed since it was loaded (the
  // editor's undo, or the source view's own modified mark).
  bool PageHasUnsavedEdits();
  void EnableProjectCommands();
  // Enables the project commands and makes the project folder current, also
  // for the editor's links and pictures; a created project also gets the
  // "Edit", "Insert" and "Tools" menus.
  void EnterProjectFolder(bool created = false);

  // --- topic documents (editor/) ---
  Status LoadTopicPage(const QString& path);
  Status StoreEditorPage(const QString& path);
  Status StoreSourcePage(const QString& path);
  // The tab control's "changing" event; false refuses the switch.
  bool EditorTabChanging();
  // The source view's text with CR LF line ends.
  QString MemoText() const;
  // Shows a page's text in the source view, not modified.
  void SetMemoText(const QString& pageText);

  // --- topic selection (model/) ---
  // Stores the page of the topic still selected when it has unsaved edits
  // (and, unless evenWithEmptySource, a page was loaded for it); false when
  // that failed (the failure is shown).
  bool StoreSelectedTopic(QTreeWidgetItem* selected, bool evenWithEmptySource = false);
  void LoadSelectedTopic(QTreeWidgetItem* node);
  // The label under the Contents tree shows the topic's context number.
  void ShowContextNumber();
  void CopyContextNumber();
  // While a command moves nodes, the tree's selection notifications are off.
  bool SelectionNotificationsOff = false;

  // --- creating topics (model/) ---
  // Creates a topic after the selected one (or as its last child); false
  // when no page name is left or its page could not be written (shown).
  bool CreateTopic(const QString& title, bool asSubtopic = false);
  void NewTopic();
  void NewSubtopic();

  // Shows a failure in an error box; false when `status` is one.
  bool ReportFailure(const Status& status);

  // --- contents and index editing (model/) ---
  // Binds the tree-editing commands (called once at start-up).
  void ConnectTreeEditing();
  // The Index pane (drops, "Delete", "Properties").
  class IndexPane* indexPane = nullptr;
  class ContentsDropTarget* contentsDropTarget = nullptr;
  // In-place rename of a Contents node: the page's title and heading follow.
  void ContentsCaptionEdited(QTreeWidgetItem* node, const QString& caption);
  void DeleteTopicCommand();
  // Deletes a topic with its subtopics, their pages, index entries and
  // context lines, without asking.
  void DeleteTopic(QTreeWidgetItem* node);
  // A Contents node dropped on the Contents tree at a point (viewport coordinates).
  void DropOnContents(const QPoint& viewportPos);
  void AppendLinksToSubtopics();

  // --- build, view, decompile ---
  // Binds the build commands' menu items (called once at start-up).
  void ConnectBuildCommands();
  // The help viewer (HtmlHelpA and its windows), made by ConnectBuildCommands.
  class HtmlHelpViewer* helpViewer = nullptr;
  class BuildCommands* buildCommands = nullptr;
  // Compiling, decompiling and add-in runs: one at a time.
  std::unique_ptr<class LongWork> longWork;

  // --- add-ins and program help ---
  // "Tools" > "Add-ins", listed in the background from start-up on.
  class AddinsMenu* addins = nullptr;
  void ConnectAddins();
  // The program's help (HelpFile "Orvex.chm" beside the program), F1 and
  // the training-card messages of the viewer.
  class ProgramHelp* programHelp = nullptr;
  class ProgramHelpCommands* programHelpCommands = nullptr;
  void ConnectProgramHelp();

  // Menu preparation when menus and context menus open.
  void PrepareContentsMenu();
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
  static QString ReadWorkshopDir();
  bool FormCloseQuery();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void FormCreate();
  void BuildLayout();
  void BuildMainMenu();
  void BuildContextMenus();
  void FormShow();
  void FormResize();
  bool FormClose();
  void UpdateMinimumSize();
  void ConnectTopicDocuments();
  void ConnectTopicSelection();
  void ConnectProjectCommands();

  // Focus-driven menus.
  void EditorEnter();
  void EditorExit();
  void MemoEnter();
  void MemoExit();
  void SetClipboardShortcuts(bool on);

  void ExitCommand();

  StartupDialogs startupDialogs;
  KeyboardHook* keyboardHook = nullptr;
  QString CommandLineProject;
  int CurrentTab = 0;
  bool CommandLineTried = false;
  bool FormClosed = false;
};
