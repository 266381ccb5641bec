// A main window with a two-topic project whose first page is open in the
// real editor, for the editor-command tests: pages with given bodies,
// selections made in the page, and the page read back.
#pragma once

#include <QThread>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineView>

#include "editor/editor_commands.h"
#include "editor_script.h"
#include "gui_helpers.h"
#include "tree_editing_fixture.h"
#include "tests/unit/test_files.h"
#include "tests/gui/window_parts.h"

class EditorCommandsFixture : public TreeEditingFixture {
 protected:
  void SetUp() override {
    TreeEditingFixture::SetUp();
    start = AddTopic(nullptr, "Start", 1);
    details = AddTopic(nullptr, "Details", 2);
  }

  // Writes the first topic's page with this body and opens it in the editor.
  void OpenPage(const QString& body) {
    // The page is loaded when its topic is selected: from the other topic,
    // which first takes what the editor holds.
    if (Current(Widget<QTreeView>(*form, "contentsTree")) == start) {
      Widget<QTreeView>(*form, "contentsTree")->setCurrentIndex(details);
      WaitEditorIdle(Widget<EditingControl>(*form, "editor"));
    }
    PutFile(Path("Proj01.htm"),
            ("<HTML><HEAD><TITLE>Start</TITLE></HEAD>\r\n<BODY>\r\n" + body + "\r\n</BODY></HTML>\r\n")
                .toLatin1());
    Widget<QTreeView>(*form, "contentsTree")->setCurrentIndex(start);
    WaitEditorIdle(Widget<EditingControl>(*form, "editor"));
    FocusEditor();
    WaitEditorIdle(Widget<EditingControl>(*form, "editor"));
  }

  EditingControl* Editor() const { return Widget<EditingControl>(*form, "editor"); }
  QString Html() const { return EditorHtml(Widget<EditingControl>(*form, "editor")); }

  // Runs script in the editor's own world (where its helpers live).
  QVariant Js(const QString& script) { return EditorScript(Editor(), script); }

  // Selects characters start..end of the first text node of the element
  // matching selector (a caret when they are equal).
  void Select(const QString& selector, int start, int end) { SelectInEditor(Editor(), selector, start, end); }

  // Selects from the start of one element's text to the end of another's.
  void SelectAcross(const QString& from, const QString& to) {
    Js(QStringLiteral("(() => { const a = document.querySelector('%1').firstChild;"
                      "const b = document.querySelector('%2').firstChild;"
                      "const r = document.createRange(); r.setStart(a, 0); r.setEnd(b, b.data.length);"
                      "const s = getSelection(); s.removeAllRanges(); s.addRange(r); return true; })()")
           .arg(from, to));
  }

  QString SelectedText() { return Js(QStringLiteral("getSelection().toString()")).toString(); }

  // Lets the state the page pushes after the last caret move arrive and the
  // toolbar show it.
  void SettleDisplay() {
    WaitEditorIdle(Widget<EditingControl>(*form, "editor"));
    ProcessEventsUntil([] { return false; }, 150);
  }

  TreeItem start = nullptr;
  TreeItem details = nullptr;
};
