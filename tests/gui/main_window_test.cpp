// The main window as it starts: layout, menus, enabled states, closing.
#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QPushButton>
#include <QToolButton>
#include <QMenu>
#include <QMenuBar>
#include <QSplitter>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>

#include "app/main_window.h"
#include "app/about_box.h"
#include "app/compiler_messages.h"
#include "editor/link_dialog.h"
#include "editor/table_dialog.h"
#include "features/edit_dial.h"
#include "features/splash_dialog.h"
#include "features/training_card_dialog.h"
#include "project/name_dialog.h"
#include "gui_helpers.h"

namespace {

QString Caption(const QAction* action) {
  if (action->isSeparator()) return "-";
  return QString(action->text()).remove('&');
}

QStringList Captions(const QMenu* menu) {
  QStringList list;
  for (const QAction* a : menu->actions()) list << Caption(a);
  return list;
}

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form = std::make_unique<TForm1>();
    form->CreateDialogs();
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
  }
  std::unique_ptr<TForm1> form;
};

TEST_F(MainWindowTest, StartsAsOrvexWithTheDesignedSizeAndPanes) {
  EXPECT_EQ(form->windowTitle(), "Orvex");
  EXPECT_EQ(form->size(), QSize(800, 504));
  EXPECT_EQ(form->PageControl2->tabText(0), "Contents");
  EXPECT_EQ(form->PageControl2->tabText(1), "Index");
  EXPECT_EQ(form->PageControl1->tabText(0), "Editor");
  EXPECT_EQ(form->PageControl1->tabText(1), "Source");
  EXPECT_EQ(form->TreeView1->indentation(), 25);
  EXPECT_EQ(form->TreeView2->indentation(), 19);
  EXPECT_TRUE(form->TreeView2->isSortingEnabled());
  EXPECT_EQ(form->Button1->text(), "Clipboard copy");
  EXPECT_EQ(form->Button1->toolTip(), "Copy to clipboard help context number");
  EXPECT_EQ(form->ComboBox2->count(), 8);
  EXPECT_EQ(form->ComboBox2->currentText(), "1");
  EXPECT_GT(form->ComboBox1->count(), 0);
  EXPECT_EQ(form->SpeedButton1->toolTip(), "Bold");
  EXPECT_EQ(form->SpeedButton6->toolTip(), "Align right");
  EXPECT_EQ(form->SpeedButton10->toolTip(), "Compile project");
}

TEST_F(MainWindowTest, MenusHoldTheirItemsInOrder) {
  QStringList top;
  for (const QAction* a : form->menuBar()->actions()) top << Caption(a);
  EXPECT_EQ(top, (QStringList{"File", "Edit", "Insert", "Tools", "Help"}));
  EXPECT_EQ(Captions(form->File1),
            (QStringList{"New", "Open", "Reopen", "Save", "-", "Compile", "View compiled help file",
                         "View compiler messages", "Decompile CHM file", "-", "Exit"}));
  EXPECT_EQ(Captions(form->Edit1),
            (QStringList{"Undo", "Redo", "Find text", "-", "Edit", "-", "Set Font", "Set color", "Table ...",
                         "Toggle ", "-", "Options", "-", "Copy", "Cut", "Paste", "Select all"}));
  EXPECT_EQ(Captions(form->Insert1),
            (QStringList{"Table", "Picture", "Link ...", "Pop-up", "Splash", "Training cad"}));
  EXPECT_EQ(Captions(form->SetFont1), (QStringList{"Properties", "-", "Bold", "Italic", "Underline"}));
  EXPECT_EQ(Captions(form->Setcolor1),
            (QStringList{"for selection background", "for font", "for whole page"}));
  EXPECT_EQ(Captions(form->Options1), (QStringList{"Show details", "Show borders", "Snap to grid"}));
  EXPECT_EQ(Captions(form->PopupMenu1),
            (QStringList{"New topic", "New subtopic", "Delete topic", "Append links to subtopics"}));
  EXPECT_EQ(Captions(form->PopupMenu2), (QStringList{"Delete", "Properties"}));
  EXPECT_EQ(Captions(form->PopupMenu3), (QStringList{"Delete", "Color", "Link ..."}));
  EXPECT_EQ(Captions(form->Link2),
            (QStringList{"remove", "insert to other topic", "create from selection to external page"}));
  EXPECT_EQ(form->Selectall1->shortcut(), QKeySequence("Ctrl+A"));
}

TEST_F(MainWindowTest, ProjectCommandsStartDisabled) {
  for (QAction* item : {form->Save1, form->Compile1, form->Viewcompiledhelpfile1, form->Viewcompilermessages1,
                        form->Newtopic1, form->Newsubtopic1, form->Deletetopic1,
                        form->Appendlinkstosubtopics1, form->Insert1->menuAction(),
                        form->Tools1->menuAction(), form->Edit1->menuAction(), form->Reopen1->menuAction()})
    EXPECT_FALSE(item->isEnabled()) << Caption(item).toStdString();
  // "Add-ins" is enabled as soon as one add-in was found beside the program.
  EXPECT_EQ(form->Addins1->menuAction()->isEnabled(), !form->AddinFiles.isEmpty());
  EXPECT_FALSE(form->Panel2->isEnabled());
  EXPECT_TRUE(form->New1->isEnabled());
  EXPECT_TRUE(form->Open1->isEnabled());
  EXPECT_TRUE(form->DecompileCHMfile1->isEnabled());
  EXPECT_TRUE(form->ProjectFile.isEmpty());
  EXPECT_FALSE(form->Modified);
  // The tabs don't switch while no topic can be edited.
  form->PageControl1->setCurrentIndex(1);
  EXPECT_EQ(form->PageControl1->currentIndex(), 0);
}

TEST_F(MainWindowTest, TheSplitterKeepsTheLeftPaneAtLeast255Wide) {
  form->WinSplit1->setSizes({100, 700});
  EXPECT_GE(form->WinSplit1->sizes().value(0), 255);
  form->WinSplit1->setSizes({300, 500});
  emit form->WinSplit1->splitterMoved(300, 1);
  EXPECT_EQ(form->minimumWidth(), form->WinSplit1->sizes().value(0) + 470);
  EXPECT_EQ(form->minimumHeight(), 250);
}

TEST_F(MainWindowTest, ClosingWithoutAProjectAsksToCloseTheProgram) {
  auto seen = AnswerNextMessageBox(QMessageBox::Cancel);
  EXPECT_FALSE(form->close());
  EXPECT_TRUE(seen->shown);
  EXPECT_EQ(seen->title, "Confirm");
  EXPECT_EQ(seen->text, "Close the program?");
  EXPECT_TRUE(form->isVisible());

  seen = AnswerNextMessageBox(QMessageBox::Ok);
  EXPECT_TRUE(form->close());
  EXPECT_EQ(seen->text, "Close the program?");
}

TEST_F(MainWindowTest, AModifiedProjectAsksToSaveAndCancelKeepsItOpen) {
  form->Modified = true;
  auto seen = AnswerNextMessageBox(QMessageBox::Cancel);
  EXPECT_FALSE(form->close());
  EXPECT_EQ(seen->title, "Warning");
  EXPECT_EQ(seen->text, "Save help project?");
  seen = AnswerNextMessageBox(QMessageBox::No);
  EXPECT_TRUE(form->close());
}

TEST_F(MainWindowTest, TheNineWindowsExistWithTheirCaptions) {
  const TDialogs& d = form->Dialogs();
  const QList<QPair<QWidget*, QString>> windows = {
      {static_cast<QWidget*>(d.TableInsDlg), "New table"},
      {static_cast<QWidget*>(d.LinkDialog), "Select topic"},
      {static_cast<QWidget*>(d.AboutBox), "About"},
      {static_cast<QWidget*>(d.CMView), "Compiler messages"},
      {static_cast<QWidget*>(d.NameDialog), "New HTMLhelp project"},
      {static_cast<QWidget*>(d.SplashDlg), "Insert splash"},
      {static_cast<QWidget*>(d.TrCardDlg), "Training card"},
  };
  for (const auto& [window, caption] : windows) {
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->windowTitle(), caption);
  }
  EXPECT_NE(d.EditDial, nullptr);
}

}  // namespace
