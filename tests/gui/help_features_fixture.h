// A main window with a one-topic project (pop-up script file and style sheet
// included) whose page is open in the real editor, for the help-feature tests.
#pragma once

#include <QClipboard>
#include <QGuiApplication>
#include <QInputDialog>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineView>
#include <memory>

#include "editor/editor_commands.h"
#include "features/help_feature_commands.h"
#include "editor_script.h"
#include "gui_helpers.h"
#include "tree_editing_fixture.h"
#include "tests/unit/test_files.h"

class HelpFeaturesFixture : public TreeEditingFixture {
 protected:
  void SetUp() override {
    TreeEditingFixture::SetUp();
    if (HasFatalFailure()) return;
    PutFile(Path("ProjP.js"), "popfont=\"Courier,10\"\r\n");
    PutFile(Path("Proj.css"), "BODY { font-family: Arial; }\r\n");
    start = AddTopic(nullptr, "Start", 1);
  }

  // Writes the topic's page and opens it in the editor.
  void OpenPageText(const QByteArray& page) {
    PutFile(Path("Proj01.htm"), page);
    form->contentsTree->setCurrentIndex(QModelIndex());
    form->contentsTree->setCurrentIndex(start);
    WaitEditorIdle(form->editor);
    FocusEditor();
    WaitEditorIdle(form->editor);
  }
  void OpenPage(const QString& body) {
    OpenPageText(("<HTML><HEAD><TITLE>Start</TITLE></HEAD>\r\n<BODY>\r\n" + body + "\r\n</BODY></HTML>\r\n")
                     .toLatin1());
  }

  QString Html() const { return form->editor->DocumentHTML(); }

  // Runs script in the editor's own world.
  QVariant Js(const QString& script) { return EditorScript(form->editor, script); }

  // Selects characters from..to of the first text node of the element matching selector.
  void Select(const QString& selector, int from, int to) {
    SelectInEditor(form->editor, selector, from, to);
    WaitEditorIdle(form->editor);
  }

  // "Pop-up" from the Insert menu with the input box answered by `text`;
  // what the box showed goes into caption and prompt.
  void InsertPopup(const QString& text, QString* caption = nullptr, QString* prompt = nullptr) {
    auto seen = std::make_shared<std::pair<QString, QString>>();
    OnNextDialog<QInputDialog>([text, seen](QInputDialog* d) {
      seen->first = d->windowTitle();
      seen->second = d->labelText();
      d->setTextValue(text);
      d->accept();
    });
    form->editorCommands->PrepareInsertMenu();  // the menu's preparation when it opens
    ASSERT_TRUE(form->insertPopupAction->isEnabled());
    form->insertPopupAction->trigger();
    WaitEditorIdle(form->editor);
    if (caption) *caption = seen->first;
    if (prompt) *prompt = seen->second;
  }

  QStringList ScriptLines() const { return LinesOf(Path("ProjP.js"), 1252); }

  TreeItem start = nullptr;
};
