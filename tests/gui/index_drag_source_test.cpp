// The drag that carries selected text out of the editor: a real drag started
// by the editing engine offers the text as plain text, which is what the
// Index tree's drop target takes.
#include <QDrag>
#include <QMimeData>
#include <QTimer>
#include <QWebEngineView>

#include "tree_editing_fixture.h"
#include "tests/unit/test_files.h"
#include "tests/gui/window_parts.h"

namespace {

// Notices drags made anywhere in the program and keeps what they carried.
class DragWatcher : public QObject {
 public:
  QStringList formats;
  QString text;
  bool seen = false;
  // A copy of everything the drag offered.
  QMimeData offered;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::ChildAdded) {
      // The child is announced half made; look at it once it is whole.
      QPointer<QObject> child = static_cast<QChildEvent*>(event)->child();
      QTimer::singleShot(0, this, [this, child] {
        auto* drag = qobject_cast<QDrag*>(child.data());
        if (!drag || !drag->mimeData() || seen) return;
        seen = true;
        formats = drag->mimeData()->formats();
        text = drag->mimeData()->text();
        for (const QString& format : formats) offered.setData(format, drag->mimeData()->data(format));
      });
    }
    return QObject::eventFilter(watched, event);
  }
  using QObject::eventFilter;
};

using IndexDragSourceTest = TreeEditingFixture;

TEST_F(IndexDragSourceTest, SelectedEditorTextIsDraggedAsPlainText) {
  PutFile(Path("Proj01.htm"),
          "<HTML><HEAD><TITLE>Drag</TITLE></HEAD><BODY style=\"margin:0;font-size:40px\">"
          "<P style=\"margin:0\">printing</P></BODY></HTML>\r\n");
  const TreeItem topic = AddContentsNode(Widget<QTreeView>(*form, "contentsTree"), nullptr, "Drag",
                                         std::make_unique<TopicData>(TopicData{"Proj01.htm"}));
  Widget<QTreeView>(*form, "contentsTree")->setCurrentIndex(topic);
  FocusEditor();
  SendAndWait(Widget<EditingControl>(*form, "editor"), EditorCommand::SelectAll);
  WaitEditorIdle(Widget<EditingControl>(*form, "editor"));

  DragWatcher watcher;
  qApp->installEventFilter(&watcher);
  QWidget* surface = Widget<EditingControl>(*form, "editor")->View()->focusProxy();
  if (!surface) surface = Widget<EditingControl>(*form, "editor")->View();
  const QPoint start(30, 20);
  QTest::mousePress(surface, Qt::LeftButton, Qt::NoModifier, start);
  for (int step = 1; step <= 20 && !watcher.seen; ++step) {
    QTest::mouseMove(surface, start + QPoint(step * 8, step * 8));
    QTest::qWait(30);
  }
  QTest::mouseRelease(surface, Qt::LeftButton, Qt::NoModifier, start + QPoint(160, 160));
  for (int i = 0; i < 50 && !watcher.seen; ++i) QTest::qWait(20);
  qApp->removeEventFilter(&watcher);
  if (!watcher.seen) GTEST_SKIP() << "the engine started no drag on this platform";
  EXPECT_TRUE(watcher.formats.contains("text/plain")) << watcher.formats.join(' ').toStdString();
  EXPECT_EQ(watcher.text.trimmed(), "printing");

  // What the drag offered, dropped on the empty Index tree, is the keyword.
  FocusEditor();
  const DropResult result = SendDrop(Widget<QTreeView>(*form, "indexTree")->viewport(),
                                     BelowItems(Widget<QTreeView>(*form, "indexTree")), &watcher.offered);
  EXPECT_TRUE(result.dropAccepted);
  EXPECT_EQ(result.action, Qt::CopyAction);
  ASSERT_EQ(TopLevelCount(Widget<QTreeView>(*form, "indexTree")), 1);
  EXPECT_EQ(TopLevel(Widget<QTreeView>(*form, "indexTree"), 0)->text(0), "printing");
  EXPECT_EQ(IndexRecord(TopLevel(Widget<QTreeView>(*form, "indexTree"), 0))->fileName, "Proj01.htm");
}

}  // namespace
