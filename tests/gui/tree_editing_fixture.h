// A main window with a small project on disk, for the contents and index
// editing tests: page files, map and alias lines, and helpers that drop
// things on the trees the way a drag does.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QDrag>
#include <QDropEvent>
#include <QFile>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>
#include <optional>

#include "app/program_window.h"
#include "panes/contents_pane.h"
#include "project/project_commands.h"
#include "editor/editing_control.h"
#include "editor_script.h"
#include "panes/tree_hit_test.h"
#include "tree_items.h"
#include "platform/text_file.h"
#include "tests/unit/test_files.h"
#include "tests/gui/window_parts.h"

inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

// Captions of a Contents tree, with children in brackets: "A(B,C),D".
inline QString Shape(const std::vector<ContentsNode>& level) {
  QStringList parts;
  for (const ContentsNode& n : level)
    parts << n.caption + (n.children.empty() ? QString() : "(" + Shape(n.children) + ")");
  return parts.join(',');
}

// While it lives, the test has a home of its own, whose trash is on the
// same disk as the project.
class OwnTrashHome {
 public:
  explicit OwnTrashHome(const QTemporaryDir& dir)
      : home(qgetenv("HOME")), dataHome(qgetenv("XDG_DATA_HOME")) {
    qputenv("HOME", dir.path().toLocal8Bit());
    qputenv("XDG_DATA_HOME", dir.filePath("data").toLocal8Bit());
  }
  ~OwnTrashHome() {
    qputenv("HOME", home);
    if (dataHome.isEmpty())
      qunsetenv("XDG_DATA_HOME");
    else
      qputenv("XDG_DATA_HOME", dataHome);
  }
  OwnTrashHome(const OwnTrashHome&) = delete;
  OwnTrashHome& operator=(const OwnTrashHome&) = delete;

 private:
  QByteArray home;
  QByteArray dataHome;
};

// What a drop on a tree's viewport did.
struct DropResult {
  bool enterAccepted = false;
  bool dropAccepted = false;
  Qt::DropAction action = Qt::IgnoreAction;
};

// Sends enter, move and drop to a viewport, as a drag over it would.
inline DropResult SendDrop(QWidget* viewport, const QPoint& pos, const QMimeData* mime) {
  DropResult result;
  const Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction;
  QDragEnterEvent enter(pos, actions, mime, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(viewport, &enter);
  result.enterAccepted = enter.isAccepted();
  QDragMoveEvent move(pos, actions, mime, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(viewport, &move);
  QDropEvent drop(QPointF(pos), actions, mime, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(viewport, &drop);
  result.dropAccepted = drop.isAccepted();
  result.action = drop.dropAction();
  return result;
}

inline QByteArray FileBytes(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return {};
  return f.readAll();
}

// The page of a topic made from a title, with the title once more in its text.
inline QByteArray TopicPage(const QString& title) {
  return ("<HTML><HEAD><TITLE>" + title + "</TITLE></HEAD>\r\n<BODY>\r\n<H1>" + title + "</H1>\r\n<P>" +
          title + " is where it begins.</P>\r\n</BODY></HTML>\r\n")
      .toLatin1();
}

class TreeEditingFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    PutFile(dir.filePath("Proj.hhp"), "[OPTIONS]\r\nCompatibility=1.1 or later\r\nTitle=Proj\r\n");
    form = NewProgramWindow();
    CreateProgramDialogs(*form);
    Controller<ProjectCommands>(*form)->SetSettingsFile(dir.filePath("settings.ini"));
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    ASSERT_TRUE(ProjectOf(*form).Open(dir.filePath("Proj.hhp")).Ok());
    EnableProjectCommands(*form);
  }
  void TearDown() override {
    ProjectOf(*form).SetModified(false);
    form->hide();
  }

  // A topic with page ProjNN.htm (written to disk) and its map and alias lines.
  TreeItem AddTopic(TreeItem parent, const QString& title, int number) {
    const QString stem = QString("Proj%1").arg(number, 2, 10, QChar('0'));
    const QString file = stem + ".htm";
    PutFile(dir.filePath(file), TopicPage(title));
    ProjectOf(*form).AddContextEntries(file);  // "#define IDH_ProjNN  1NN", "IDH_ProjNN=ProjNN.htm"
    return AddContentsNode(Widget<QTreeView>(*form, "contentsTree"), parent, title,
                           std::make_unique<TopicData>(TopicData{file}));
  }

  TreeItem AddIndexNode(TreeItem parent, const QString& caption, const QString& file, const QString& topic) {
    return ::AddIndexNode(Widget<QTreeView>(*form, "indexTree"), parent, caption,
                          std::make_unique<IndexEntryData>(IndexEntryData{caption, file, topic}));
  }

  void FocusEditor() {
    form->activateWindow();
    Widget<EditingControl>(*form, "editor")->setFocus();
    QApplication::processEvents();
  }

  // Brings the tab that holds the tree to the front, so it has its real size.
  void Show(QTreeView* tree) {
    Widget<QTabWidget>(*form, "treeTabs")
        ->setCurrentIndex(tree == Widget<QTreeView>(*form, "indexTree") ? 1 : 0);
    QApplication::processEvents();
  }

  // The middle of an item's label, in viewport coordinates.
  QPoint OnLabel(QTreeView* tree, TreeItem item) {
    Show(tree);
    tree->scrollTo(item);
    return ItemLabelRect(tree, item).center();
  }
  // A point on the empty area below the last item.
  QPoint BelowItems(QTreeView* tree) {
    Show(tree);
    return QPoint(tree->viewport()->width() / 2, tree->viewport()->height() - 5);
  }

  DropResult DropText(const QPoint& pos, const QString& text) {
    QMimeData mime;
    mime.setText(text);
    return SendDrop(Widget<QTreeView>(*form, "indexTree")->viewport(), pos, &mime);
  }

  // Drops the selected Contents node at pos, as a drag that the Contents tree started.
  DropResult DragTopicTo(const QPoint& pos) {
    auto* drag = new QDrag(Widget<QTreeView>(*form, "contentsTree"));
    auto* mime = new QMimeData;
    mime->setData("application/x-qabstractitemmodeldatalist", QByteArray());
    drag->setMimeData(mime);
    const DropResult result = SendDrop(Widget<QTreeView>(*form, "contentsTree")->viewport(), pos, mime);
    delete drag;
    return result;
  }

  // Edits a caption in place: opens the editor, types, presses Enter.
  void EditCaption(QTreeView* tree, TreeItem item, const QString& caption) {
    tree->setCurrentIndex(item);
    tree->edit(item);
    QApplication::processEvents();
    auto* editor = tree->viewport()->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    editor->setText(caption);
    QTest::keyClick(editor, Qt::Key_Return);
    QApplication::processEvents();
  }

  QString Path(const QString& file) const { return dir.filePath(file); }

  // A key pressed in a tree that has the focus in the active window.
  void PressIn(QTreeView* tree, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    Show(tree);
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    tree->setFocus();
    QTest::keyClick(tree, key, modifiers);
    QApplication::processEvents();
  }

  QTemporaryDir dir;
  std::unique_ptr<QMainWindow> form;
};

// A window whose deleted pages go to a trash of the test's own.
class OwnTrashFixture : public TreeEditingFixture {
 protected:
  void SetUp() override {
    trashHome.emplace(dir);
    TreeEditingFixture::SetUp();
  }
  void TearDown() override {
    TreeEditingFixture::TearDown();
    trashHome.reset();
  }
  QString ContentsShape() const { return Shape(ContentsForest(Widget<QTreeView>(*form, "contentsTree"))); }

 private:
  std::optional<OwnTrashHome> trashHome;
};

// Two topics, "Printer setup" (Proj01.htm, selected) and "Paper sizes" (Proj02.htm).
class TwoTopicsFixture : public TreeEditingFixture {
 protected:
  void SetUp() override {
    TreeEditingFixture::SetUp();
    printer = AddTopic(nullptr, "Printer setup", 1);
    paper = AddTopic(nullptr, "Paper sizes", 2);
    Widget<QTreeView>(*form, "contentsTree")->setCurrentIndex(printer);
  }
  TreeItem printer = nullptr;
  TreeItem paper = nullptr;
};
