// "Save": the page being edited, the contents and index files rebuilt from
// the trees, the map and alias files, the project file, the recent list.
#include <QPlainTextEdit>
#include <QTreeWidget>

#include "app/busy_cursor.h"
#include "app/main_window.h"
#include "editor/editing_control.h"
#include "model/tree_nodes.h"
#include "project/project_saver.h"

void TForm1::Save1Click() {
  BusyCursor busy;
  // Each step replaces its file whole; a failure is shown, the save stops
  // there, and the project stays modified.
  ReportFailure([this] {
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
    SaveProjectFiles({ProjectFile, ContentsForest(TreeView1), IndexForest(TreeView2), MapLines, AliasLines},
                     ProjectLines, Sources, SettingsFile());
    Modified = false;
  });
}
