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

TName* TForm1::NodeName(QTreeWidgetItem* item) { return ContentsRecord(item); }

QString TForm1::ProjectFolder() const {
  if (ProjectFile.isEmpty()) return QString();
  QString folder = QFileInfo(ProjectFile).absolutePath();
  if (!folder.endsWith('/')) folder += '/';
  return folder;
}

QString TForm1::PagePath(const TName& topic) const {
  // Pages named as Windows writes them ("\", other letter case, "#anchor").
  if (topic.FileName.isEmpty()) return ProjectFolder();
  return ResolveProjectPath(ProjectFolder(), WithoutAnchor(topic.FileName));
}

QString TForm1::ProjectFileWithExt(const QString& ext) const { return ChangeFileExt(ProjectFile, ext); }

QString TForm1::NamePrefix() const { return ProjectNamePrefix(ProjectFile); }

QString TForm1::ContextNumberOf(const QString& fileName) const {
  const QString own = ::ContextNumberOf(fileName, AliasLines, MapLines);
  return own.isEmpty() ? ProjectContextNumber(Sources, fileName) : own;
}

void TForm1::AddContextEntries(const QString& fileName) {
  ::AddContextEntries(fileName, NamePrefix(), MapLines, AliasLines);
}

void TForm1::RemoveContextEntries(const QString& fileName) {
  ::RemoveContextEntries(fileName, MapLines, AliasLines);
}

void TForm1::ReleaseNodeData() {
  if (TreeView1) ReleaseTreeData(TreeView1);
  if (TreeView2) ReleaseTreeData(TreeView2);
  CurTopic = nullptr;
  CurIndexItem = nullptr;
}

void TForm1::ResetProjectModel(const QString& projectFile) {
  // Records go first, so emptying the trees runs no deletion steps.
  ReleaseNodeData();
  {
    const QSignalBlocker block(TreeView1);
    TreeView1->clear();
  }
  TreeView2->clear();
  ProjectFile = projectFile;
  ProjectLines.clear();
  MapLines.clear();
  AliasLines.clear();
  Sources = ProjectSources();
}

void TForm1::EnterProjectFolder() {
  EnableProjectCommands();
  QDir::setCurrent(ProjectFolder());
  DHTMLEdit1->SetBaseURL(ProjectFolder());
}

void TForm1::EnableProjectCommands() {
  for (QAction* item : {Compile1, Save1, Viewcompiledhelpfile1, Viewcompilermessages1, Newtopic1,
                        Newsubtopic1, Deletetopic1, Appendlinkstosubtopics1})
    item->setEnabled(true);
  Panel2->setEnabled(true);
}

bool TForm1::ReportFailure(const std::function<void()>& step) {
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
