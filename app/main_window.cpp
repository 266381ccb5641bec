// Main window: layout, start-up, first show, resizing and closing.
#include "app/main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QSplitter>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "app/busy_cursor.h"
#include "app/keyboard_hook.h"
#include "app/recent_files.h"
#include "app/window_dialogs.h"
#include "app/workshop_dir.h"
#include "viewer/html_help.h"
#include "editor/editing_control.h"

namespace {

QFrame* MakePanel(QWidget* parent, int height, bool lowered) {
  auto* panel = new QFrame(parent);
  if (height > 0) panel->setFixedHeight(height);
  if (lowered) panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  return panel;
}

QToolButton* MakeButton(QWidget* parent, const QString& objectName, const QString& text,
                        const QString& hint) {
  auto* button = new QToolButton(parent);
  button->setObjectName(objectName);
  button->setText(text);
  button->setToolTip(hint);
  button->setAutoRaise(true);
  button->setFixedSize(25, 25);
  return button;
}

}  // namespace

TForm1::TForm1(const QString& commandLineProject, QWidget* parent)
    : QMainWindow(parent),
      SettingsPath(SettingsFilePath(QCoreApplication::applicationFilePath())),
      CommandLineProject(commandLineProject) {
  setObjectName("Form1");
  setWindowTitle("Orvex");
  QFont font("MS Sans Serif");
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(13);
  setFont(font);
  resize(800, 504);
  BuildLayout();
  BuildMainMenu();
  BuildContextMenus();
  FormCreate();
  if (const QScreen* screen = QGuiApplication::primaryScreen())
    move(screen->availableGeometry().center() - rect().center());
}

TForm1::~TForm1() {
  // The records belong to the nodes; release them before the trees go.
  ReleaseNodeData();
}

void TForm1::CreateDialogs() { CreateWindowDialogs(this, Dlg); }

void TForm1::BuildLayout() {
  auto* central = new QWidget(this);
  auto* centralLayout = new QHBoxLayout(central);
  centralLayout->setContentsMargins(0, 0, 0, 0);
  setCentralWidget(central);

  WinSplit1 = new QSplitter(Qt::Horizontal, central);
  WinSplit1->setObjectName("WinSplit1");
  WinSplit1->setHandleWidth(2);
  WinSplit1->setOpaqueResize(false);  // the drag draws a line; the pane follows on release
  WinSplit1->setChildrenCollapsible(false);
  centralLayout->addWidget(WinSplit1);

  // Left pane: Contents and Index.
  PageControl2 = new QTabWidget(WinSplit1);
  PageControl2->setObjectName("PageControl2");
  PageControl2->setMinimumWidth(255);
  PageControl2->setContextMenuPolicy(Qt::CustomContextMenu);

  TabSheet3 = new QWidget;
  TabSheet3->setObjectName("TabSheet3");
  auto* contentsLayout = new QVBoxLayout(TabSheet3);
  contentsLayout->setContentsMargins(0, 0, 0, 0);
  contentsLayout->setSpacing(0);
  Panel3 = MakePanel(TabSheet3, 30, true);
  Panel3->setObjectName("Panel3");
  auto* toolLayout = new QHBoxLayout(Panel3);
  toolLayout->setContentsMargins(2, 1, 2, 1);
  toolLayout->setSpacing(1);
  SpeedButton7 = MakeButton(Panel3, "SpeedButton7", "New", "New project");
  SpeedButton8 = MakeButton(Panel3, "SpeedButton8", "Open", "Open project");
  SpeedButton9 = MakeButton(Panel3, "SpeedButton9", "Save", "Save");
  SpeedButton10 = MakeButton(Panel3, "SpeedButton10", "Comp", "Compile project");
  SpeedButton11 = MakeButton(Panel3, "SpeedButton11", "View", "View compiled help file");
  const QStyle* st = style();
  SpeedButton7->setIcon(st->standardIcon(QStyle::SP_FileIcon));
  SpeedButton8->setIcon(st->standardIcon(QStyle::SP_DialogOpenButton));
  SpeedButton9->setIcon(st->standardIcon(QStyle::SP_DialogSaveButton));
  SpeedButton10->setIcon(st->standardIcon(QStyle::SP_MediaPlay));
  SpeedButton11->setIcon(st->standardIcon(QStyle::SP_FileDialogContentsView));
  for (QToolButton* b : {SpeedButton7, SpeedButton8, SpeedButton9, SpeedButton10, SpeedButton11})
    toolLayout->addWidget(b);
  toolLayout->addStretch();
  contentsLayout->addWidget(Panel3);

  TreeView1 = new QTreeWidget(TabSheet3);
  TreeView1->setObjectName("TreeView1");
  TreeView1->setHeaderHidden(true);
  TreeView1->setIndentation(25);
  TreeView1->setDragEnabled(true);
  TreeView1->setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
  TreeView1->setContextMenuPolicy(Qt::CustomContextMenu);
  TreeView1->setProperty("HelpContext", 10011);
  contentsLayout->addWidget(TreeView1, 1);

  Panel5 = MakePanel(TabSheet3, 27, false);
  Panel5->setObjectName("Panel5");
  auto* labelLayout = new QHBoxLayout(Panel5);
  labelLayout->setContentsMargins(4, 1, 2, 1);
  Label1 = new QLabel("   ", Panel5);
  Label1->setObjectName("Label1");
  Button1 = new QPushButton("Clipboard copy", Panel5);
  Button1->setObjectName("Button1");
  Button1->setToolTip("Copy to clipboard help context number");
  labelLayout->addWidget(Label1, 1);
  labelLayout->addWidget(Button1);
  contentsLayout->addWidget(Panel5);
  PageControl2->addTab(TabSheet3, "Contents");

  TabSheet4 = new QWidget;
  TabSheet4->setObjectName("TabSheet4");
  auto* indexLayout = new QVBoxLayout(TabSheet4);
  indexLayout->setContentsMargins(0, 0, 0, 0);
  indexLayout->setSpacing(0);
  Panel4 = MakePanel(TabSheet4, 3, false);
  Panel4->setObjectName("Panel4");
  indexLayout->addWidget(Panel4);
  TreeView2 = new QTreeWidget(TabSheet4);
  TreeView2->setObjectName("TreeView2");
  TreeView2->setHeaderHidden(true);
  TreeView2->setRootIsDecorated(true);
  TreeView2->setIndentation(19);
  TreeView2->setDragEnabled(true);
  TreeView2->setSortingEnabled(true);
  TreeView2->sortByColumn(0, Qt::AscendingOrder);
  TreeView2->setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
  TreeView2->setProperty("HelpContext", 10012);
  // No connecting lines.
  TreeView2->setStyleSheet("QTreeView::branch { border-image: none; }");
  indexLayout->addWidget(TreeView2, 1);
  PageControl2->addTab(TabSheet4, "Index");

  // Right pane: Editor and Source.
  PageControl1 = new QTabWidget(WinSplit1);
  PageControl1->setObjectName("PageControl1");
  TabSheet1 = new QWidget;
  TabSheet1->setObjectName("TabSheet1");
  auto* editorLayout = new QVBoxLayout(TabSheet1);
  editorLayout->setContentsMargins(0, 0, 0, 0);
  editorLayout->setSpacing(0);
  Panel2 = MakePanel(TabSheet1, 30, false);
  Panel2->setObjectName("Panel2");
  auto* formatLayout = new QHBoxLayout(Panel2);
  formatLayout->setContentsMargins(2, 1, 2, 1);
  formatLayout->setSpacing(2);
  ComboBox1 = new QComboBox(Panel2);
  ComboBox1->setObjectName("ComboBox1");
  ComboBox1->setFixedWidth(180);
  ComboBox1->setEditable(true);
  ComboBox2 = new QComboBox(Panel2);
  ComboBox2->setObjectName("ComboBox2");
  ComboBox2->setFixedWidth(44);
  ComboBox2->setEditable(true);
  for (int i = 0; i <= 7; ++i) ComboBox2->addItem(QString::number(i));
  ComboBox2->setEditText("1");
  SpeedButton1 = MakeButton(Panel2, "SpeedButton1", "B", "Bold");
  SpeedButton2 = MakeButton(Panel2, "SpeedButton2", "I", "Italic");
  SpeedButton3 = MakeButton(Panel2, "SpeedButton3", "U", "Underlined");
  SpeedButton4 = MakeButton(Panel2, "SpeedButton4", "", "Align left");
  SpeedButton5 = MakeButton(Panel2, "SpeedButton5", "", "Center");
  SpeedButton6 = MakeButton(Panel2, "SpeedButton6", "", "Align right");
  QFont bold = SpeedButton1->font();
  bold.setBold(true);
  SpeedButton1->setFont(bold);
  QFont italic = SpeedButton2->font();
  italic.setItalic(true);
  SpeedButton2->setFont(italic);
  QFont underline = SpeedButton3->font();
  underline.setUnderline(true);
  SpeedButton3->setFont(underline);
  SpeedButton4->setText("\u2261L");
  SpeedButton5->setText("\u2261C");
  SpeedButton6->setText("\u2261R");
  for (QToolButton* b : {SpeedButton1, SpeedButton2, SpeedButton3}) b->setCheckable(true);
  for (QToolButton* b : {SpeedButton4, SpeedButton5, SpeedButton6}) {
    b->setCheckable(true);
    b->setAutoExclusive(false);
  }
  formatLayout->addWidget(ComboBox1);
  formatLayout->addWidget(ComboBox2);
  for (QToolButton* b : {SpeedButton1, SpeedButton2, SpeedButton3, SpeedButton4, SpeedButton5, SpeedButton6})
    formatLayout->addWidget(b);
  formatLayout->addStretch();
  editorLayout->addWidget(Panel2);

  Panel1 = MakePanel(TabSheet1, 0, true);
  Panel1->setObjectName("Panel1");
  auto* editPanelLayout = new QVBoxLayout(Panel1);
  editPanelLayout->setContentsMargins(1, 1, 1, 1);  // the control fills the panel with a 1-pixel margin
  DHTMLEdit1 = new TDHTMLEdit(Panel1);
  DHTMLEdit1->setObjectName("DHTMLEdit1");
  DHTMLEdit1->setProperty("HelpContext", 10006);
  editPanelLayout->addWidget(DHTMLEdit1);
  editorLayout->addWidget(Panel1, 1);
  PageControl1->addTab(TabSheet1, "Editor");

  TabSheet2 = new QWidget;
  TabSheet2->setObjectName("TabSheet2");
  auto* sourceLayout = new QVBoxLayout(TabSheet2);
  sourceLayout->setContentsMargins(0, 0, 0, 0);
  Memo1 = new QPlainTextEdit(TabSheet2);
  Memo1->setObjectName("Memo1");
  Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);  // both scroll bars
  Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  Memo1->setProperty("HelpContext", 10006);
  Memo1->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  sourceLayout->addWidget(Memo1);
  PageControl1->addTab(TabSheet2, "Source");

  WinSplit1->addWidget(PageControl2);
  WinSplit1->addWidget(PageControl1);
  WinSplit1->setStretchFactor(0, 0);
  WinSplit1->setStretchFactor(1, 1);
  WinSplit1->setSizes({265, 800 - 265 - 2});
  setProperty("HelpContext", 10001);
  connect(WinSplit1, &QSplitter::splitterMoved, this, [this] { UpdateMinimumSize(); });
}

void TForm1::FormCreate() {
  // 1. The string lists start empty (they are members).
  ProjectLines.clear();
  MapLines.clear();
  AliasLines.clear();
  PageLines.clear();
  // 2. Screen fonts.
  ComboBox1->addItems(QFontDatabase::families());
  if (ComboBox1->count() > 0) ComboBox1->setEditText(ComboBox1->itemText(0));
  // 3. The editing control is placed by Panel1's layout.
  // 4. Menus that need an open project or the editor's focus.
  Insert1->menuAction()->setEnabled(false);
  Tools1->menuAction()->setEnabled(false);
  Edit1->menuAction()->setEnabled(false);
  Compile1->setEnabled(false);
  // 5. The help system is initialised with the build commands (the viewer's owner).
  HelpCookie = 0;
  // 6.
  Save1->setEnabled(false);
  Addins1->menuAction()->setEnabled(false);
  Viewcompiledhelpfile1->setEnabled(false);
  Viewcompilermessages1->setEnabled(false);
  // 7.
  WorkshopDir = ReadWorkshopDir();
  // 8.
  DropTargetSet = false;
  // 9.
  Panel2->setEnabled(false);
  Newtopic1->setEnabled(false);
  Newsubtopic1->setEnabled(false);
  Deletetopic1->setEnabled(false);
  Appendlinkstosubtopics1->setEnabled(false);
  // 10.
  AddinFiles.clear();
  ScanAddins();  // 11.
  // 12. The keyboard hook: an application-wide event filter for this window.
  KeyboardHook = new TEditKeyHook(this);
  qApp->installEventFilter(KeyboardHook);

  ConnectTopicDocuments();
  ConnectTopicSelection();
  ConnectProjectCommands();
  UpdateMinimumSize();
  ConnectBuildCommands();
  ConnectTreeEditing();
  ConnectProgramHelp();
  ConnectEditorCommands();
  ConnectHelpFeatures();
}

QString TForm1::ReadWorkshopDir() { return WorkshopDirFromRegistry(RegistryFilePath()); }

void TForm1::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  FormShow();
}

void TForm1::FormShow() {
  // The Index tree's text drop target, registered once.
  RegisterDropTarget();
}

void TForm1::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  // Resizes before the first showing (setting the start size) don't count.
  if (testAttribute(Qt::WA_WState_Created) && (isVisible() || testAttribute(Qt::WA_WState_ExplicitShowHide)))
    FormResize();
}

void TForm1::FormResize() {
  // The editing control fills Panel1 through its layout. A project named on
  // the command line opens once the window is shown.
  if (!CommandLineProject.isEmpty() && ProjectFile.isEmpty() && !CommandLineTried) {
    // Tried once only, whether or not it opens; after the showing has ended,
    // so the editor can settle first.
    CommandLineTried = true;
    QTimer::singleShot(0, this, [this] {
      repaint();
      WaitEditorIdle(DHTMLEdit1);
      OpenByName(CommandLineProject);
    });
  }
}

void TForm1::UpdateMinimumSize() {
  const int splitterLeft = WinSplit1 ? WinSplit1->sizes().value(0, 270) : 270;
  setMinimumSize(splitterLeft + 470, 250);
}

bool TForm1::ProjectIsOpen() const { return Panel2->isEnabled(); }

bool TForm1::PageHasUnsavedEdits() {
  if (CurrentTab == 1) return Memo1->document()->isModified();
  return StatusEnabled(DHTMLEdit1->QueryStatus(decmd::Undo));
}

bool TForm1::FormCloseQuery() {
  switch (AskSaveHelpProject()) {
    case QMessageBox::NoButton:
      return QMessageBox::question(this, "Confirm", "Close the program?",
                                   QMessageBox::Ok | QMessageBox::Cancel) == QMessageBox::Ok;
    case QMessageBox::Yes:
      Save1->trigger();
      // A failed save leaves the project modified: stay open.
      return !Modified;
    case QMessageBox::No:
      return true;
    default:
      return false;
  }
}

void TForm1::closeEvent(QCloseEvent* event) {
  if (FormClosed) {
    event->accept();
    return;
  }
  if (!FormCloseQuery() || !FormClose()) {
    event->ignore();
    return;
  }
  event->accept();
}

bool TForm1::FormClose() {
  BusyCursor busy;
  // Store the page being edited, whatever the answer to the save question was.
  // When that fails the program stays open, so the edits are not lost.
  // Edits on the Source tab are stored the same way.
  TName* selected = NodeName(TreeView1->currentItem());
  if (selected && !selected->FileName.isEmpty() && PageHasUnsavedEdits()) {
    CurTopic = selected;
    const QString path = PagePath(*CurTopic);
    const bool stored = ReportFailure([&] {
      if (CurrentTab == 1)
        StoreSourcePage(path);
      else
        StoreEditorPage(path);
    });
    if (!stored) return false;
  }
  if (HtmlHelp) HtmlHelp->HtmlHelpA(this, QString(), HH_UNINITIALIZE, HelpCookie);
  if (KeyboardHook) {
    qApp->removeEventFilter(KeyboardHook);
    delete KeyboardHook;
    KeyboardHook = nullptr;
  }
  RevokeDropTarget();
  FormClosed = true;
  return true;
}

void TForm1::Exit1Click() { close(); }
