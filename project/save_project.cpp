// "Save": the page being edited, the contents and index files rebuilt from
// the trees, the map and alias files, the project file, the recent list.
#include <QCoreApplication>
#include <QPlainTextEdit>
#include <QTreeWidget>

#include "app/busy_cursor.h"
#include "app/main_window.h"
#include "app/recent_files.h"
#include "editor/card_conversions.h"
#include "editor/editing_control.h"
#include "model/tree_nodes.h"
#include "platform/text_file.h"
#include "project/map_alias.h"
#include "project/project_file.h"
#include "project/sitemap_writer.h"

QString TForm1::SettingsFile() const { return SettingsFilePath(QCoreApplication::applicationFilePath()); }

void TForm1::Save1Click() {
  BusyCursor busy;
  // Each step replaces its file whole; a failure is shown, the save stops
  // there, and the project stays modified.
  ReportFailure([this] {
    const int codePage = PageCodePage();
    if (QTreeWidgetItem* selected = TreeView1->currentItem()) {
      TName* record = NodeName(selected);
      if (CurrentTab == 1) {
        if (Memo1->document()->isModified() && record && !record->FileName.isEmpty()) {
          CurTopic = record;
          StoreSourcePage(PagePath(*CurTopic));
        }
      } else if (record && StatusEnabled(DHTMLEdit1->QueryStatus(decmd::Undo))) {
        CurTopic = record;
        StoreEditorPage(PagePath(*CurTopic));
        WaitEditorIdle(DHTMLEdit1);
      }
    }
    WriteContentsFile(ProjectFileWithExt(".hhc"), ContentsForest(TreeView1), codePage);
    WriteIndexFile(ProjectFileWithExt(".hhk"), IndexForest(TreeView2), codePage);
    WriteMapFile(ProjectFileWithExt(".h"), MapLines, codePage);
    WriteAliasFile(ProjectFileWithExt(".ali"), AliasLines, codePage);
    std::optional<QString> firstTopic;
    if (const TName* first = NodeName(TreeView1->topLevelItem(0))) firstTopic = first->FileName;
    ProjectLines = UpdateProjectLines(ProjectLines, firstTopic);
    WriteLinesFile(ProjectFile, ProjectLines, codePage);
    AddToHistory(SettingsFile(), ProjectFile);
    Modified = false;
  });
}
