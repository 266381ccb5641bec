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
class TDHTMLEdit;
class TEditKeyHook;
class TTableInsDlg;
class TLinkDialog;
class TAboutBox;
class TCMView;
class TEditDial;
class TNameDialog;
class TSplashDlg;
class TTrCardDlg;

// The dialogs made at start, in their order; each lives until the program ends.
struct TDialogs {
  TTableInsDlg* TableInsDlg = nullptr;
  TLinkDialog* LinkDialog = nullptr;
  TAboutBox* AboutBox = nullptr;
  TCMView* CMView = nullptr;
  TEditDial* EditDial = nullptr;
  TNameDialog* NameDialog = nullptr;
  TSplashDlg* SplashDlg = nullptr;
  TTrCardDlg* TrCardDlg = nullptr;
};

class TForm1 : public QMainWindow {
  Q_OBJECT
  friend class TEditKeyHook;

 public:
  // commandLineProject: the first command-line argument (may be empty).
  explicit TForm1(const QString& commandLineProject = QString(), QWidget* parent = nullptr);
  ~TForm1() override;

  // Makes the eight dialogs after the main window, in their fixed order.
  void CreateDialogs();
  const TDialogs& Dialogs() const { return Dlg; }

  // --- components (named as in the window's design) ---
  QTabWidget* PageControl2 = nullptr;  // left pane: Contents / Index
  QWidget* TabSheet3 = nullptr;
  QWidget* TabSheet4 = nullptr;
  QFrame* Panel3 = nullptr;
  QToolButton* SpeedButton7 = nullptr;
  QToolButton* SpeedButton8 = nullptr;
  QToolButton* SpeedButton9 = nullptr;
  QToolButton* SpeedButton10 = nullptr;
  QToolButton* SpeedButton11 = nullptr;
  QTreeWidget* TreeView1 = nullptr;  // Contents
  QFrame* Panel5 = nullptr;
  QLabel* Label1 = nullptr;
  QPushButton* Button1 = nullptr;
  QFrame* Panel4 = nullptr;
  QTreeWidget* TreeView2 = nullptr;  // Index
  QSplitter* WinSplit1 = nullptr;
  QTabWidget* PageControl1 = nullptr;  // right pane: Editor / Source
  QWidget* TabSheet1 = nullptr;
  QWidget* TabSheet2 = nullptr;
  QFrame* Panel2 = nullptr;  // formatting toolbar
  QComboBox* ComboBox1 = nullptr;
  QComboBox* ComboBox2 = nullptr;
  QToolButton* SpeedButton1 = nullptr;
  QToolButton* SpeedButton2 = nullptr;
  QToolButton* SpeedButton3 = nullptr;
  QToolButton* SpeedButton4 = nullptr;
  QToolButton* SpeedButton5 = nullptr;
  QToolButton* SpeedButton6 = nullptr;
  QFrame* Panel1 = nullptr;
  TDHTMLEdit* DHTMLEdit1 = nullptr;
  QPlainTextEdit* Memo1 = nullptr;

  // Main menu.
  QMenu* File1 = nullptr;
  QAction* New1 = nullptr;
  QAction* Open1 = nullptr;
  QMenu* Reopen1 = nullptr;
  QAction* Save1 = nullptr;
  QAction* Compile1 = nullptr;
  QAction* Viewcompiledhelpfile1 = nullptr;
  QAction* Viewcompilermessages1 = nullptr;
  QAction* DecompileCHMfile1 = nullptr;
  QAction* Exit1 = nullptr;
  QMenu* Edit1 = nullptr;
  QAction* Undo1 = nullptr;
  QAction* Redo1 = nullptr;
  QAction* Findtext1 = nullptr;
  QMenu* Edit2 = nullptr;
  QAction* Stylesheet1 = nullptr;
  QAction* Popuptexts1 = nullptr;
  QMenu* SetFont1 = nullptr;
  QAction* Properties1 = nullptr;
  QAction* Bold1 = nullptr;
  QAction* Italic1 = nullptr;
  QAction* Underline1 = nullptr;
  QMenu* Setcolor1 = nullptr;
  QAction* forselectionbackground1 = nullptr;
  QAction* forfont1 = nullptr;
  QAction* forwholepage1 = nullptr;
  QMenu* Table1 = nullptr;
  QAction* Insertrow1 = nullptr;
  QAction* Insertcolumn1 = nullptr;
  QAction* Deleterow1 = nullptr;
  QAction* Deletecolumn1 = nullptr;
  QMenu* Toggle1 = nullptr;
  QAction* bulletedlist1 = nullptr;
  QAction* numberedlist1 = nullptr;
  QMenu* Options1 = nullptr;
  QAction* Showdetails1 = nullptr;
  QAction* Showborders1 = nullptr;
  QAction* Snaptogrid1 = nullptr;
  QAction* Copy1 = nullptr;
  QAction* Cut1 = nullptr;
  QAction* Paste1 = nullptr;
  QAction* Selectall1 = nullptr;
  QMenu* Insert1 = nullptr;
  QAction* Table2 = nullptr;
  QAction* Picture1 = nullptr;
  QMenu* Link1 = nullptr;
  QAction* Toothertopic1 = nullptr;
  QAction* Toexternalpage1 = nullptr;
  QAction* Popup1 = nullptr;
  QAction* Splash1 = nullptr;
  QAction* Trainingcad1 = nullptr;
  QMenu* Tools1 = nullptr;
  QMenu* Addins1 = nullptr;
  QMenu* Help1 = nullptr;
  QAction* Contents1 = nullptr;
  QAction* About1 = nullptr;

  // Context menus.
  QMenu* PopupMenu1 = nullptr;  // Contents tree
  QAction* Newtopic1 = nullptr;
  QAction* Newsubtopic1 = nullptr;
  QAction* Deletetopic1 = nullptr;
  QAction* Appendlinkstosubtopics1 = nullptr;
  QMenu* PopupMenu2 = nullptr;  // left pane (Index)
  QAction* Delete2 = nullptr;
  QAction* Properties2 = nullptr;
  QMenu* PopupMenu3 = nullptr;  // editor
  QAction* Delete1 = nullptr;
  QMenu* Color1 = nullptr;
  QAction* forbackground1 = nullptr;
  QAction* forfont2 = nullptr;
  QMenu* Link2 = nullptr;
  QAction* remove1 = nullptr;
  QAction* inserttoothertopic1 = nullptr;
  QAction* createfromselectiontoexternalpage1 = nullptr;

  // --- project state ---
  QVariant CmdArg;
  QVariant CmdArg2;
  QString WorkText;
  QStringList ProjectLines;
  QStringList PageLines;
  QStringList AddinFiles;
  QStringList AliasLines;
  QStringList MapLines;
  // Where the open project's sitemaps are, how they were read, and the
  // context numbers of its project file's own [ALIAS]/[MAP] sections.
  ProjectSources Sources;
  QString WorkshopDir;
  QString ProjectFile;
  TName* CurTopic = nullptr;
  TIName* CurIndexItem = nullptr;
  bool DropTargetSet = false;
  quintptr HelpCookie = 0;
  bool Modified = false;

  // --- model (model/) ---
  static TName* NodeName(QTreeWidgetItem* item);
  // Project folder with its trailing separator.
  QString ProjectFolder() const;
  QString PagePath(const TName& topic) const;
  QString ProjectFileWithExt(const QString& ext) const;
  // The project's base name with blanks made underscores: the stem of new page names.
  QString NamePrefix() const;
  bool ProjectIsOpen() const;
  // The page in the view in use was changed since it was loaded (the
  // editor's undo, or the source view's own modified mark).
  bool PageHasUnsavedEdits();
  QString ContextNumberOf(const QString& fileName) const;
  void AddContextEntries(const QString& fileName);
  void RemoveContextEntries(const QString& fileName);
  void ReleaseNodeData();
  void EnableProjectCommands();
  // Frees the records, empties both trees and the line lists, and names the
  // project file that comes next.
  void ResetProjectModel(const QString& projectFile);
  // Enables the project commands and makes the project folder current, also
  // for the editor's links and pictures.
  void EnterProjectFolder();

  // --- topic documents (editor/) ---
  void LoadTopicPage(const QString& path);
  void StoreEditorPage(const QString& path);
  void StoreSourcePage(const QString& path);
  // The tab control's "changing" event; false refuses the switch.
  bool PageControl1Changing();
  // The project's code page for page files.
  int PageCodePage() const;
  // The source view's text with CR LF line ends.
  QString MemoText() const;
  // Shows a page's text in the source view, not modified.
  void SetMemoText(const QString& pageText);

  // --- topic selection (model/) ---
  // Stores the page of the topic still selected; false when that failed.
  bool StoreSelectedTopic(QTreeWidgetItem* selected);
  void LoadSelectedTopic(QTreeWidgetItem* node);
  void Button1Click();
  // While a command moves nodes, the tree's selection notifications are off.
  bool SelectionNotificationsOff = false;

  // --- creating topics (model/) ---
  // Creates a topic after the selected one (or as its last child); false
  // when no page name is left.
  bool CreateTopic(const QString& title, bool asSubtopic = false);
  void Newtopic1Click();
  void Newsubtopic1Click();

  // --- opening (model/) ---
  void Open1Click();
  // Sets Modified when the page has unsaved edits, then asks "Save help
  // project?" when Modified is set; NoButton when nothing was asked.
  QMessageBox::StandardButton AskSaveHelpProject();
  // Asks as above and saves on Yes; false on Cancel.
  bool AskToSaveProject();
  // The common body of Open and Open-by-name.
  void OpenProject(const QString& path);
  // Tells, without waiting for an answer, what opening could not read.
  void ShowOpenProblems(const QStringList& problems);

  // --- saving and new projects (project/) ---
  void Save1Click();
  void New1Click();
  QString SettingsFile() const { return SettingsPath; }
  // The settings file (recent projects); tests point it elsewhere.
  QString SettingsPath;
  void BuildReopenMenu();
  void OpenByName(const QString& path);

  // Runs a step and shows its failure in an error box; false when it failed.
  bool ReportFailure(const std::function<void()>& step);

  // --- contents and index editing (model/) ---
  // Binds the tree-editing commands (called once at start-up).
  void ConnectTreeEditing();
  // The text drop target of the Index tree, made on the first show.
  class TIndexDropTarget* DropTarget = nullptr;
  class TContentsDropTarget* ContentsDropTarget = nullptr;
  void RegisterDropTarget();
  // Closing: the Index tree takes no more drops.
  void RevokeDropTarget();
  // Text may be dropped on the Index tree: the editor is the active control
  // and a Contents topic with a page is selected.
  bool IndexDropAllowed() const;
  // Adds an index entry for the dropped text at a point (screen coordinates).
  void AddIndexEntry(const QString& text, const QPoint& screenPos);
  // Removes an index node with its children and folds a keyword left with one entry.
  void RemoveIndexEntry(QTreeWidgetItem* node);
  // Removes every index entry (node without children) whose page is fileName.
  void RemoveIndexEntriesLeadingTo(const QString& fileName);
  void Delete2Click();      // Index "Delete"
  void Properties2Click();  // Index "Properties"
  // In-place rename of a Contents node: the page's title and heading follow.
  void TreeView1Edited(QTreeWidgetItem* node, const QString& caption);
  void Deletetopic1Click();
  // Deletes a topic with its subtopics, their pages, index entries and
  // context lines, without asking.
  void DeleteTopic(QTreeWidgetItem* node);
  // A Contents node dropped on the Contents tree at a point (viewport coordinates).
  void TreeView1DragDrop(const QPoint& viewportPos);
  void Appendlinkstosubtopics1Click();

  // --- build, view, decompile (build/) ---
  void Compile1Click();
  void Viewcompiledhelpfile1Click();
  void Viewcompilermessages1Click();
  void DecompileCHMfile1Click();
  // Binds the build commands' menu items (called once at start-up).
  void ConnectBuildCommands();
  // The help viewer (HtmlHelpA and its windows), made by ConnectBuildCommands.
  class THtmlHelp* HtmlHelp = nullptr;
  // The folder the folder browser returned last.
  QString LastFolder;
  // The folder browser "Browse for folder"; empty when cancelled.
  QString SelectFolder();
  // The compiler's log: the one the project names, else the project's ".log".
  QString CompilerLogFile() const;

  // --- add-ins and program help (app/, build/) ---
  // Lists the add-ins of `folder` (the program's folder when empty) under
  // "Tools" > "Add-ins"; a rescan replaces the earlier list.
  void ScanAddins(const QString& folder = QString());
  // Runs the add-in of an "Add-ins" item: one topic per title it gives.
  void RunAddin(QAction* item);
  // The program's help (HelpFile "Orvex.chm" beside the program), F1 and
  // the training-card messages of the viewer.
  class THHComp* HHComp1 = nullptr;
  // A training-card message from the viewer: a message box with its values.
  void HHComp1TCardMessage(int wParam, const QString& lParam);
  void Contents1Click();
  void About1Click();
  // Binds the program-help commands (called once at start-up).
  void ConnectProgramHelp();

  // Menu preparation when menus and context menus open.
  void PopupMenu1Popup();
  void PopupMenu2Popup();
  void PopupMenu3Popup();

  // --- editor commands (editor/) ---
  // Binds the formatting, table, link, picture, clipboard, undo, find and
  // view-option commands, the toolbar and the menus' preparation (once, at start-up).
  void ConnectEditorCommands();
  // The colour dialog of the colour commands; keeps the last colour.
  QColorDialog* ColorDialog1 = nullptr;
  // The editing control's own dialogs (find, font, link to a page, picture).
  class TControlDialogs* ControlDialogs = nullptr;
  // Sets CmdArg to value and runs the command only when QueryStatus enables
  // it; false when it was skipped.
  bool EditorCommand(int command, int option, const QVariant& value = 0);
  // The editing control, or the source view, had the focus last in this window.
  bool EditorIsActiveControl() const;
  bool MemoIsActiveControl() const;
  // Formatting.
  void SpeedButton1Click();
  void SpeedButton2Click();
  void SpeedButton3Click();
  void SpeedButton4Click();
  void SpeedButton5Click();
  void SpeedButton6Click();
  void Bold1Click();
  void Italic1Click();
  void Underline1Click();
  void Properties1Click();
  void bulletedlist1Click();
  void numberedlist1Click();
  void Toggle1Click();
  void ComboBox1Change();
  void ComboBox2Change();
  // The toolbar follows the formatting at the caret.
  void DHTMLEdit1DisplayChanged();
  // Shows ColorDialog1; false when cancelled. value: red in the lowest byte.
  bool ChooseColor(int& value);
  void forselectionbackground1Click();
  void forfont1Click();
  void forwholepage1Click();
  void forbackground1Click();
  void forfont2Click();
  // Tables.
  void Table2Click();  // Insert > Table
  void Table1Click();  // Edit > Table ... opening
  void Insertrow1Click();
  void Insertcolumn1Click();
  void Deleterow1Click();
  void Deletecolumn1Click();
  // Links and pictures.
  void Toothertopic1Click();
  void Toexternalpage1Click();
  void inserttoothertopic1Click();
  void createfromselectiontoexternalpage1Click();
  void remove1Click();
  void Picture1Click();
  void Link1Click();  // Insert > Link ... opening
  void Link2Click();  // context menu Link ... opening
  // Clipboard, undo, find, view options, menu preparation.
  void Undo1Click();
  void Redo1Click();
  void Findtext1Click();
  void Copy1Click();
  void Cut1Click();
  void Paste1Click();
  void Selectall1Click();
  void Delete1Click();
  void Showdetails1Click();
  void Showborders1Click();
  void Snaptogrid1Click();
  void Edit1Click();
  void Insert1Click();
  // While the font boxes are filled from the caret they send nothing.
  bool FillingFontBoxes = false;
  bool InDisplayChanged = false;
  bool DisplayChangedAgain = false;

  // --- help features (features/) ---
  // Binds "Pop-up", "Pop-up texts", "Splash", "Training cad" and "Style
  // sheet", and gives the viewer the script that runs their objects.
  void ConnectHelpFeatures();
  // The pop-up script file: the project file with "P.js" for its extension.
  QString PopupScriptFile() const;
  void Popup1Click();
  // Adds a pop-up with the typed text at the editor's selection (the body of "Pop-up").
  void InsertPopup(const QString& typed);
  void Popuptexts1Click();
  void Splash1Click();
  void Trainingcad1Click();
  void Stylesheet1Click();

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

  void Exit1Click();

  TDialogs Dlg;
  TEditKeyHook* KeyboardHook = nullptr;
  QString CommandLineProject;
  int CurrentTab = 0;
  bool CommandLineTried = false;
  bool FormClosed = false;
};
