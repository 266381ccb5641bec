// The project model as the main window holds it: paths, records, context
// numbers and the enabling of project commands.
#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QMessageBox>
#include <QTreeWidget>

#include "app/main_window.h"
#include "editor/editing_control.h"
#include "model/context_numbers.h"
#include "model/tree_nodes.h"
#include "platform/project_paths.h"
#include "platform/text_file.h"
#include "project/project_file.h"

TopicData* MainWindow::NodeName(QTreeWidgetItem* item) { return ContentsRecord(item); }

QString MainWindow::ProjectFolder() const {
  if (ProjectFile.isEmpty()) return QString();
  QString folder = QFileInfo(ProjectFile).absolutePath();
  if (!folder.endsWith('/')) folder += '/';
  return folder;
}

QString MainWindow::PagePath(const TopicData& topic) const {
  // Pages named as Windows writes them ("\", other letter case, "#anchor").
  if (topic.FileName.isEmpty()) return ProjectFolder();
  return ResolveProjectPath(ProjectFolder(), WithoutAnchor(topic.FileName));
}

QString MainWindow::ProjectFileWithExt(const QString& ext) const { return ChangeFileExt(ProjectFile, ext); }

QString MainWindow::NamePrefix() const { return ProjectNamePrefix(ProjectFile); }

QString MainWindow::ContextNumberOf(const QString& fileName) const {
  const QString own = ::ContextNumberOf(fileName, AliasLines, MapLines);
  return own.isEmpty() ? ProjectContextNumber(Sources, fileName) : own;
}

void MainWindow::AddContextEntries(const QString& fileName) {
  ::AddContextEntries(fileName, NamePrefix(), MapLines, AliasLines);
}

void MainWindow::RemoveContextEntries(const QString& fileName) {
  ::RemoveContextEntries(fileName, MapLines, AliasLines);
}

void MainWindow::ReleaseNodeData() {
  if (contentsTree) ReleaseTreeData(contentsTree);
  if (indexTree) ReleaseTreeData(indexTree);
  CurTopic = nullptr;
  CurIndexItem = nullptr;
}

void MainWindow::ResetProjectModel(const QString& projectFile) {
  // Records go first, so emptying the trees runs no deletion steps.
  ReleaseNodeData();
  {
    const QSignalBlocker block(contentsTree);
    contentsTree->clear();
  }
  indexTree->clear();
  ProjectFile = projectFile;
  ProjectLines.clear();
  MapLines.clear();
  AliasLines.clear();
  Sources = ProjectSources();
}

void MainWindow::EnterProjectFolder() {
  EnableProjectCommands();
  QDir::setCurrent(ProjectFolder());
  editor->SetBaseURL(ProjectFolder());
}

void MainWindow::EnableProjectCommands() {
  for (QAction* item : {compileAction, saveAction, viewHelpFileAction, viewMessagesAction, newTopicAction,
                        newSubtopicAction, deleteTopicAction, appendLinksAction})
    item->setEnabled(true);
  formatToolbar->setEnabled(true);
}

bool MainWindow::ReportFailure(const std::function<void()>& step) {
  try {
    step();
    return true;
  } catch (const FileError& e) {
    QMessageBox::critical(this, "Error", e.message());
  } catch (const std::exception& e) {
    QMessageBox::critical(this, "Error", QString::fromUtf8(e.what()));
  }
  return false;
}
