// "Save": the page being edited, the contents and index files rebuilt from
// the trees, the map and alias files, the project file, the recent list.
#include <QPlainTextEdit>
#include <QTreeWidget>

#include "app/busy_cursor.h"
#include "app/main_window.h"
#include "editor/editing_control.h"
#include "model/tree_nodes.h"
#include "project/project_saver.h"

void MainWindow::SaveProject() {
  BusyCursor busy;
  // Each step replaces its file whole; a failure is shown, the save stops
  // there, and the project stays modified.
  ReportFailure([this] {
    if (QTreeWidgetItem* selected = contentsTree->currentItem()) {
      TopicData* record = NodeName(selected);
      if (CurrentTab == 1) {
        if (sourceView->document()->isModified() && record && !record->FileName.isEmpty()) {
          CurTopic = record;
          StoreSourcePage(PagePath(*CurTopic));
        }
      } else if (record && StatusEnabled(editor->QueryStatus(decmd::Undo))) {
        CurTopic = record;
        StoreEditorPage(PagePath(*CurTopic));
        WaitEditorIdle(editor);
      }
    }
    SaveProjectFiles(
        {ProjectFile, ContentsForest(contentsTree), IndexForest(indexTree), MapLines, AliasLines},
        ProjectLines, Sources, SettingsFile());
    Modified = false;
  });
}
