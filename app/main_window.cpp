// Main window: layout, start-up, first show and resizing (closing: window_closing.cpp).
#include "app/main_window.h"

#include <QApplication>
#include <algorithm>
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
#include <QTreeView>
#include <QVBoxLayout>

#include "app/message_topics.h"
#include "app/build_commands.h"
#include "app/keyboard_hook.h"
#include "app/program_help_commands.h"
#include "editor/editor_commands.h"
#include "features/help_feature_commands.h"
#include "app/long_work.h"
#include "app/window_dialogs.h"
#include "settings/workshop_folder.h"
#include "viewer/html_help_viewer.h"
#include "editor/editing_control.h"
#include "model/contents_model.h"
#include "model/index_model.h"
#include "panes/index_pane.h"
#include "panes/topic_editing.h"
#include "project/project_commands.h"
#include "widgets/action_registry.h"

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

MainWindow::MainWindow(const QString& projectArgument, QWidget* parent)
    : QMainWindow(parent), commandLineProject(projectArgument) {
  setObjectName("mainWindow");
  setWindowTitle("Orvex");
  QFont font("MS Sans Serif");
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(13);
  setFont(font);
  resize(800, 504);
  BuildLayout();
  CreateParts();
  if (const QScreen* screen = QGuiApplication::primaryScreen())
    move(screen->availableGeometry().center() - rect().center());
}

MainWindow::~MainWindow() {
  // Destroying the children moves the focus; the window is no longer one to follow it.
  disconnect(focusConnection);
}

void MainWindow::CreateDialogs() {
  CreateWindowDialogs(this, startupDialogs);
  buildCommands->SetMessagesWindow(startupDialogs.compilerMessagesWindow);
  ConnectMessageTopics(startupDialogs.compilerMessagesWindow, contentsTree, topicEditing, sourceView);
  editorCommands->SetDialogs(startupDialogs.tableDialog, startupDialogs.linkDialog);
  programHelpCommands->SetAboutBox(startupDialogs.aboutBox);
  helpFeatures->SetDialogs(startupDialogs.textEditDialog, startupDialogs.splashDialog,
                           startupDialogs.trainingCardDialog);
  projectCommands->SetNewProjectDialog(startupDialogs.newProjectDialog);
}

void MainWindow::BuildLayout() {
  auto* central = new QWidget(this);
  auto* centralLayout = new QHBoxLayout(central);
  centralLayout->setContentsMargins(0, 0, 0, 0);
  setCentralWidget(central);
  contentsModel = new ContentsModel(this);
  indexModel = new IndexModel(this);

  splitter = new QSplitter(Qt::Horizontal, central);
  splitter->setObjectName("splitter");
  splitter->setHandleWidth(2);
  splitter->setOpaqueResize(false);  // the drag draws a line; the pane follows on release
  splitter->setChildrenCollapsible(false);
  centralLayout->addWidget(splitter);

  // Left pane: Contents and Index.
  treeTabs = new QTabWidget(splitter);
  treeTabs->setObjectName("treeTabs");
  treeTabs->setMinimumWidth(255);
  treeTabs->setContextMenuPolicy(Qt::CustomContextMenu);

  contentsPage = new QWidget;
  contentsPage->setObjectName("contentsPage");
  auto* contentsLayout = new QVBoxLayout(contentsPage);
  contentsLayout->setContentsMargins(0, 0, 0, 0);
  contentsLayout->setSpacing(0);
  projectToolbar = MakePanel(contentsPage, 30, true);
  projectToolbar->setObjectName("projectToolbar");
  auto* toolLayout = new QHBoxLayout(projectToolbar);
  toolLayout->setContentsMargins(2, 1, 2, 1);
  toolLayout->setSpacing(1);
  newButton = MakeButton(projectToolbar, "newButton", "New", "New project");
  openButton = MakeButton(projectToolbar, "openButton", "Open", "Open project");
  saveButton = MakeButton(projectToolbar, "saveButton", "Save", "Save");
  compileButton = MakeButton(projectToolbar, "compileButton", "Comp", "Compile project");
  viewButton = MakeButton(projectToolbar, "viewButton", "View", "View compiled help file");
  newTopicButton = MakeButton(projectToolbar, "newTopicButton", "Topic", "New topic (Ctrl+T)");
  newSubtopicButton = MakeButton(projectToolbar, "newSubtopicButton", "Sub", "New subtopic (Ctrl+Shift+T)");
  newSubtopicButton->setAccessibleName("New subtopic");
  const QStyle* st = style();
  newButton->setIcon(st->standardIcon(QStyle::SP_FileIcon));
  openButton->setIcon(st->standardIcon(QStyle::SP_DialogOpenButton));
  saveButton->setIcon(st->standardIcon(QStyle::SP_DialogSaveButton));
  compileButton->setIcon(st->standardIcon(QStyle::SP_MediaPlay));
  viewButton->setIcon(st->standardIcon(QStyle::SP_FileDialogContentsView));
  newTopicButton->setIcon(st->standardIcon(QStyle::SP_FileDialogNewFolder));
  newSubtopicButton->setIcon(st->standardIcon(QStyle::SP_FileDialogDetailedView));
  for (QToolButton* b :
       {newButton, openButton, saveButton, compileButton, viewButton, newTopicButton, newSubtopicButton})
    toolLayout->addWidget(b);
  toolLayout->addStretch();
  contentsLayout->addWidget(projectToolbar);

  contentsTree = new QTreeView(contentsPage);
  contentsTree->setObjectName("contentsTree");
  contentsTree->setModel(contentsModel);
  contentsTree->setHeaderHidden(true);
  contentsTree->setIndentation(25);
  contentsTree->setDragEnabled(true);
  contentsTree->setEditTriggers(QAbstractItemView::EditKeyPressed);
  contentsTree->setContextMenuPolicy(Qt::CustomContextMenu);
  contentsTree->setProperty("HelpContext", 10011);
  contentsLayout->addWidget(contentsTree, 1);

  contextPanel = MakePanel(contentsPage, 27, false);
  contextPanel->setObjectName("contextPanel");
  auto* labelLayout = new QHBoxLayout(contextPanel);
  labelLayout->setContentsMargins(4, 1, 2, 1);
  contextLabel = new QLabel("   ", contextPanel);
  contextLabel->setObjectName("contextLabel");
  copyContextButton = new QPushButton("Clipboard copy", contextPanel);
  copyContextButton->setObjectName("copyContextButton");
  copyContextButton->setToolTip("Copy to clipboard help context number");
  labelLayout->addWidget(contextLabel, 1);
  labelLayout->addWidget(copyContextButton);
  contentsLayout->addWidget(contextPanel);
  treeTabs->addTab(contentsPage, "Contents");

  indexPage = new QWidget;
  indexPage->setObjectName("indexPage");
  auto* indexLayout = new QVBoxLayout(indexPage);
  indexLayout->setContentsMargins(0, 0, 0, 0);
  indexLayout->setSpacing(0);
  indexPanel = MakePanel(indexPage, 3, false);
  indexPanel->setObjectName("indexPanel");
  indexLayout->addWidget(indexPanel);
  indexTree = new QTreeView(indexPage);
  indexTree->setObjectName("indexTree");
  indexTree->setModel(indexModel);
  indexTree->setHeaderHidden(true);
  indexTree->setRootIsDecorated(true);
  indexTree->setIndentation(19);
  indexTree->setDragEnabled(true);
  indexTree->setSortingEnabled(true);
  indexTree->sortByColumn(0, Qt::AscendingOrder);
  indexTree->setEditTriggers(QAbstractItemView::EditKeyPressed);
  indexTree->setProperty("HelpContext", 10012);
  // No connecting lines.
  indexTree->setStyleSheet("QTreeView::branch { border-image: none; }");
  indexLayout->addWidget(indexTree, 1);
  treeTabs->addTab(indexPage, "Index");

  // Right pane: Editor and Source.
  editorTabs = new QTabWidget(splitter);
  editorTabs->setObjectName("editorTabs");
  editorPage = new QWidget;
  editorPage->setObjectName("editorPage");
  auto* editorLayout = new QVBoxLayout(editorPage);
  editorLayout->setContentsMargins(0, 0, 0, 0);
  editorLayout->setSpacing(0);
  formatToolbar = MakePanel(editorPage, 30, false);
  formatToolbar->setObjectName("formatToolbar");
  auto* formatLayout = new QHBoxLayout(formatToolbar);
  formatLayout->setContentsMargins(2, 1, 2, 1);
  formatLayout->setSpacing(2);
  fontNameBox = new QComboBox(formatToolbar);
  fontNameBox->setObjectName("fontNameBox");
  fontNameBox->setFixedWidth(180);
  fontNameBox->setEditable(true);
  fontSizeBox = new QComboBox(formatToolbar);
  fontSizeBox->setObjectName("fontSizeBox");
  fontSizeBox->setFixedWidth(44);
  fontSizeBox->setEditable(true);
  for (int i = 0; i <= 7; ++i) fontSizeBox->addItem(QString::number(i));
  fontSizeBox->setEditText("1");
  boldButton = MakeButton(formatToolbar, "boldButton", "B", "Bold");
  italicButton = MakeButton(formatToolbar, "italicButton", "I", "Italic");
  underlineButton = MakeButton(formatToolbar, "underlineButton", "U", "Underlined");
  alignLeftButton = MakeButton(formatToolbar, "alignLeftButton", "", "Align left");
  centerButton = MakeButton(formatToolbar, "centerButton", "", "Center");
  alignRightButton = MakeButton(formatToolbar, "alignRightButton", "", "Align right");
  QFont bold = boldButton->font();
  bold.setBold(true);
  boldButton->setFont(bold);
  QFont italic = italicButton->font();
  italic.setItalic(true);
  italicButton->setFont(italic);
  QFont underline = underlineButton->font();
  underline.setUnderline(true);
  underlineButton->setFont(underline);
  alignLeftButton->setText("\u2261L");
  centerButton->setText("\u2261C");
  alignRightButton->setText("\u2261R");
  for (QToolButton* b : {boldButton, italicButton, underlineButton}) b->setCheckable(true);
  for (QToolButton* b : {alignLeftButton, centerButton, alignRightButton}) {
    b->setCheckable(true);
    b->setAutoExclusive(false);
  }
  formatLayout->addWidget(fontNameBox);
  formatLayout->addWidget(fontSizeBox);
  for (QToolButton* b :
       {boldButton, italicButton, underlineButton, alignLeftButton, centerButton, alignRightButton})
    formatLayout->addWidget(b);
  formatLayout->addStretch();
  editorLayout->addWidget(formatToolbar);

  editorPanel = MakePanel(editorPage, 0, true);
  editorPanel->setObjectName("editorPanel");
  auto* editPanelLayout = new QVBoxLayout(editorPanel);
  editPanelLayout->setContentsMargins(1, 1, 1, 1);  // the control fills the panel with a 1-pixel margin
  editor = new EditingControl(editorPanel);
  editor->setObjectName("editor");
  editor->setProperty("HelpContext", 10006);
  editPanelLayout->addWidget(editor);
  editorLayout->addWidget(editorPanel, 1);
  editorTabs->addTab(editorPage, "Editor");

  sourcePage = new QWidget;
  sourcePage->setObjectName("sourcePage");
  auto* sourceLayout = new QVBoxLayout(sourcePage);
  sourceLayout->setContentsMargins(0, 0, 0, 0);
  sourceView = new QPlainTextEdit(sourcePage);
  sourceView->setObjectName("sourceView");
  sourceView->setLineWrapMode(QPlainTextEdit::WidgetWidth);  // long lines wrap at the view's edge
  sourceView->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  sourceView->setProperty("HelpContext", 10006);
  sourceView->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  sourceLayout->addWidget(sourceView);
  editorTabs->addTab(sourcePage, "Source");

  splitter->addWidget(treeTabs);
  splitter->addWidget(editorTabs);
  splitter->setStretchFactor(0, 0);
  splitter->setStretchFactor(1, 1);
  splitter->setSizes({265, 800 - 265 - 2});
  setProperty("HelpContext", 10001);
  connect(splitter, &QSplitter::splitterMoved, this, [this] { UpdateMinimumSize(); });
}

void MainWindow::CreateParts() {
  FillFontNameBox();
  project.SetModifiedListener([this] { UpdateWindowTitle(); });
  // Each controller registers its commands; the menus are assembled from them.
  registry = new ActionRegistry(this);
  // The keyboard hook: an application-wide event filter for this window.
  keyboardHook = new KeyboardHook(this, editor, *registry);
  qApp->installEventFilter(keyboardHook);
  RegisterWindowCommands();
  ConnectPaneKeys();
  ConnectPanes();
  ConnectProjectTools();
  ConnectProjectCommands();
  ConnectBuildCommands();
  ConnectAddins();
  ConnectProgramHelp();
  ConnectEditorCommands();
  ConnectHelpFeatures();
  BuildMainMenu();
  BuildContextMenus();
  ConnectMenus();

  // Menus that need an open project or the editor's focus start off; the
  // help system is initialised with the build commands (the viewer's owner).
  for (const char* id : {"insertMenu", "toolsMenu", "editMenu", "compileAction", "saveAction",
                         "viewHelpFileAction", "viewMessagesAction"})
    Command(id)->setEnabled(false);
  formatToolbar->setEnabled(false);
  ConnectFocusMenus();
  UpdateMinimumSize();
}

QString MainWindow::ReadWorkshopDir() { return ReadWorkshopFolder(WorkshopSettingsFile()); }

void MainWindow::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  Shown();
}

void MainWindow::Shown() {
  if (!windowStateRestored) {
    windowStateRestored = true;
    RestoreWindowState();
  }
  // The Index tree's text drop target, registered once.
  indexPane->RegisterDropTarget();
}

void MainWindow::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  // Resizes before the first showing (setting the start size) don't count.
  if (testAttribute(Qt::WA_WState_Created) && (isVisible() || testAttribute(Qt::WA_WState_ExplicitShowHide)))
    Resized();
}

void MainWindow::Resized() {
  // The editing control fills editorPanel through its layout. A project named on
  // the command line opens once the window is shown.
  if (!commandLineProject.isEmpty() && !project.IsOpen() && !commandLineTried) {
    // Tried once only, whether or not it opens; after the showing has ended.
    commandLineTried = true;
    QTimer::singleShot(0, this, [this] {
      repaint();
      projectCommands->OpenByName(commandLineProject);
    });
  }
}

void MainWindow::UpdateMinimumSize() {
  // The left pane is never narrower than its own minimum (the splitter
  // reports nothing before the first layout), and the right pane keeps the
  // formatting toolbar whole.
  const int splitterLeft = std::max(splitter->sizes().value(0), treeTabs->minimumWidth());
  const int right = std::max(470, editorTabs->minimumSizeHint().width());
  setMinimumSize(splitterLeft + right, 250);
}
