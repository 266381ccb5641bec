// Spelling in a real window: the editor marks a misspelt word with the
// English dictionary the test set-up installs, the marks never reach the
// saved page, the context menu replaces the word or adds it to the project's
// word list (kept when the project is opened again), Check project lists it,
// and a language without a dictionary is said in the status bar.
#include <gtest/gtest.h>

#include <QAction>
#include <QInputDialog>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

#include "app/program_window.h"
#include "editor/editing_control.h"
#include "editor_script.h"
#include "gui_helpers.h"
#include "project/project_commands.h"
#include "spelling/editor_spelling.h"
#include "tests/unit/test_files.h"
#include "tests/gui/window_parts.h"

namespace {

class SpellingTest : public ::testing::Test {
 protected:
  // Makes and opens a project whose one topic says `text`.
  void OpenProject(const QString& language, const QString& text) {
    ASSERT_TRUE(dir.isValid());
    path = dir.filePath("Guide.hhp");
    PutText(path,
            "[OPTIONS]\r\nCompiled file=Guide.chm\r\nContents file=Guide.hhc\r\nIndex "
            "file=Guide.hhk\r\nLanguage=" +
                language + "\r\n\r\n[FILES]\r\na.htm\r\n",
            1252);
    PutText(dir.filePath("Guide.hhc"),
            "<HTML><BODY><UL><LI> <OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"First\">"
            "<param name=\"Local\" value=\"a.htm\"></OBJECT></UL></BODY></HTML>\r\n",
            1252);
    PutText(dir.filePath("Guide.hhk"), "<HTML><BODY><UL></UL></BODY></HTML>\r\n", 1252);
    PutText(dir.filePath("a.htm"), "<HTML><BODY>\r\n<P id=p>" + text + "</P>\r\n</BODY></HTML>\r\n", 1252);
    form = NewProgramWindow();
    Controller<ProjectCommands>(*form)->SetSettingsFile(dir.filePath("orvex.ini"));
    CreateProgramDialogs(*form);
    form->show();
    Reopen();
  }
  void Reopen() {
    Controller<ProjectCommands>(*form)->OpenByName(path);
    ASSERT_EQ(ProjectOf(*form).ProjectFile(), path);
    WaitEditorIdle(Widget<EditingControl>(*form, "editor"));
  }
  void TearDown() override {
    if (!form) return;
    ProjectOf(*form).SetModified(false);
    form->hide();
  }
  QStringList Marked() {
    return EditorScript(Widget<EditingControl>(*form, "editor"),
                        "typeof __orvexSpelling === 'undefined' ? [] : __orvexSpelling.marked()")
        .toStringList();
  }
  // Waits for a check of the page that marks exactly these words.
  bool MarksBecome(const QStringList& words) {
    return ProcessEventsUntil([&] { return Marked() == words; }, 15000);
  }
  // Right-clicks the word in the editor and waits for its menu.
  QMenu* RightClick(const QString& word) {
    const QVariantList at =
        EditorScript(
            Widget<EditingControl>(*form, "editor"),
            QStringLiteral("(() => { const t = document.getElementById('p').firstChild;"
                           "const i = t.data.indexOf('%1'); const r = document.createRange();"
                           "r.setStart(t, i); r.setEnd(t, i + %2); const b = r.getBoundingClientRect();"
                           "return [b.left + b.width / 2, b.top + b.height / 2]; })()")
                .arg(word)
                .arg(word.size()))
            .toList();
    if (at.size() != 2) return nullptr;
    QWidget* proxy = Widget<EditingControl>(*form, "editor")->View()->focusProxy();
    QTest::mouseClick(proxy, Qt::RightButton, {}, QPoint(at[0].toInt(), at[1].toInt()));
    QMenu* menu = Menu(*form, "editorMenu");
    if (!ProcessEventsUntil([&] { return menu->isVisible(); }, 5000)) return nullptr;
    return menu;
  }
  QAction* Item(QMenu* menu, const QString& text) {
    for (QAction* action : menu->actions())
      if (action->text() == text) return action;
    return nullptr;
  }
  QTemporaryDir dir;
  QString path;
  std::unique_ptr<QMainWindow> form;
};

TEST_F(SpellingTest, AMisspeltWordIsMarkedAndCheckProjectListsItButTheSavedPageHasNoMarks) {
  OpenProject("0x409 English (United States)", "This 'sentense' is wrong");
  ASSERT_TRUE(MarksBecome({"sentense"})) << Marked().join(',').toStdString();
  EXPECT_GE(EditorScript(Widget<EditingControl>(*form, "editor"),
                         "document.querySelectorAll('.__orvex_spelling > div').length")
                .toInt(),
            1);
  EXPECT_EQ(form->findChild<QLabel*>("spellingState")->text(), "Spelling: en_US");
  // The marks are no edit and no part of the page.
  EXPECT_FALSE(CommandEnabled(Widget<EditingControl>(*form, "editor"), EditorCommand::Undo));
  const QString html = EditorHtml(Widget<EditingControl>(*form, "editor"));
  EXPECT_TRUE(html.contains("This 'sentense' is wrong"));
  EXPECT_FALSE(html.contains("__orvex")) << html.toStdString();
  EXPECT_FALSE(html.contains("svg")) << html.toStdString();

  for (QAction* top : form->menuBar()->actions())
    if (top->text() == "&Tools")
      for (QAction* item : top->menu()->actions())
        if (item->text() == "&Check project") item->trigger();
  auto* list = form->findChild<QTreeWidget*>("problemsList");
  ASSERT_TRUE(ProcessEventsUntil([&] { return list->topLevelItemCount() > 0; }));
  QTreeWidgetItem* spelling = nullptr;
  for (int g = 0; g < list->topLevelItemCount(); ++g)
    if (list->topLevelItem(g)->text(0).startsWith("Spelling")) spelling = list->topLevelItem(g);
  ASSERT_NE(spelling, nullptr);
  ASSERT_EQ(spelling->childCount(), 1);
  EXPECT_EQ(spelling->child(0)->text(0), "First (a.htm)");
  EXPECT_EQ(spelling->child(0)->text(1), "2");
  EXPECT_EQ(spelling->child(0)->text(2), "word not in the dictionary: sentense");
}

TEST_F(SpellingTest, TheContextMenuReplacesAWordAndAddsOneToTheWordListKeptForNextTime) {
  OpenProject("0x409 English (United States)", "This sentense is wrng");
  ASSERT_TRUE(MarksBecome({"sentense", "wrng"})) << Marked().join(',').toStdString();

  // Shift+F10 opens the menu for the word at the caret.
  form->activateWindow();
  Widget<EditingControl>(*form, "editor")->View()->focusProxy()->setFocus();
  ASSERT_TRUE(ProcessEventsUntil(
      [&] { return Widget<EditingControl>(*form, "editor")->isAncestorOf(QApplication::focusWidget()); }));
  SelectInEditor(Widget<EditingControl>(*form, "editor"), "#p", 8, 8);
  Action(*form, "contextMenuAction")->trigger();
  ASSERT_TRUE(ProcessEventsUntil([&] { return Menu(*form, "editorMenu")->isVisible(); }));
  EXPECT_NE(Item(Menu(*form, "editorMenu"), "sentence"), nullptr);
  Menu(*form, "editorMenu")->hide();

  QMenu* menu = RightClick("sentense");
  ASSERT_NE(menu, nullptr);
  QAction* suggestion = Item(menu, "sentence");
  ASSERT_NE(suggestion, nullptr);
  ASSERT_NE(Item(menu, "Add \"sentense\" to dictionary"), nullptr);
  menu->hide();
  suggestion->trigger();
  ASSERT_TRUE(MarksBecome({"wrng"})) << Marked().join(',').toStdString();
  EXPECT_TRUE(EditorHtml(Widget<EditingControl>(*form, "editor")).contains("This sentence is wrng"));
  EXPECT_TRUE(CommandEnabled(Widget<EditingControl>(*form, "editor"), EditorCommand::Undo));

  menu = RightClick("wrng");
  ASSERT_NE(menu, nullptr);
  QAction* add = Item(menu, "Add \"wrng\" to dictionary");
  ASSERT_NE(add, nullptr);
  menu->hide();
  add->trigger();
  ASSERT_TRUE(MarksBecome({}));
  EXPECT_TRUE(BytesOf(dir.filePath("Guide.words")).contains("\r\nwrng\r\n"));

  // Opened again without saving the page: "wrng" stays known, "sentense" (the page as saved) is marked.
  const auto asked = AnswerNextMessageBox(QMessageBox::No);
  Reopen();
  EXPECT_TRUE(asked->shown);
  ASSERT_TRUE(MarksBecome({"sentense"})) << Marked().join(',').toStdString();
}

TEST_F(SpellingTest, AWordIsMarkedOnceTypingLeavesIt) {
  OpenProject("0x409 English (United States)", "Typing here");
  ASSERT_TRUE(MarksBecome({}));
  QSignalSpy checked(form->findChild<EditorSpelling*>(), &EditorSpelling::Checked);
  ProcessEventsUntil([&] { return checked.count() > 0; }, 3000);  // the check of the page as loaded
  SelectInEditor(Widget<EditingControl>(*form, "editor"), "#p", 11, 11);
  EditorScript(Widget<EditingControl>(*form, "editor"),
               "document.execCommand('insertText', false, ' anothr')");
  checked.clear();
  // Checked while the caret is still at its end: not marked yet.
  ASSERT_TRUE(checked.wait(5000));
  EXPECT_EQ(Marked(), QStringList());
  EditorScript(Widget<EditingControl>(*form, "editor"), "document.execCommand('insertText', false, ' word')");
  ASSERT_TRUE(MarksBecome({"anothr"})) << Marked().join(',').toStdString();
}

TEST_F(SpellingTest, ALanguageWithoutADictionaryIsSaidPlainlyAndAnInstalledOneCanBeChosen) {
  OpenProject("0x411 Japanese", "This sentense is wrong");
  auto* state = form->findChild<QLabel*>("spellingState");
  ASSERT_NE(state, nullptr);
  ASSERT_TRUE(ProcessEventsUntil([&] { return state->text().startsWith("No spelling"); }))
      << state->text().toStdString();
  EXPECT_EQ(state->text(),
            "No spelling dictionary for Japanese (Japan) is installed: spelling is not checked.");
  EXPECT_TRUE(state->toolTip().contains("Tools > Spelling dictionary"));
  EXPECT_EQ(Marked(), QStringList());

  // The choice: an installed dictionary for this project, kept in its word list.
  QAction* choose = nullptr;
  for (QAction* top : form->menuBar()->actions())
    if (top->text() == "&Tools")
      for (QAction* item : top->menu()->actions())
        if (item->text() == "Spelling &dictionary...") choose = item;
  ASSERT_NE(choose, nullptr);
  ASSERT_TRUE(choose->isEnabled());
  OnNextDialog<QInputDialog>([](QInputDialog* dialog) {
    EXPECT_EQ(dialog->comboBoxItems().value(0), "The project's language (no dictionary installed)");
    EXPECT_TRUE(dialog->comboBoxItems().contains("en_US"));
    dialog->setTextValue("en_US");
    dialog->accept();
  });
  choose->trigger();
  ASSERT_TRUE(MarksBecome({"sentense"})) << Marked().join(',').toStdString();
  EXPECT_EQ(state->text(), "Spelling: en_US");
  EXPECT_TRUE(BytesOf(dir.filePath("Guide.words")).contains("dictionary=en_US\r\n"));
}

}  // namespace
