// A main window with a one-topic project (pop-up script file and style sheet
// included) whose page is open in the real editor, for the help-feature tests.
#pragma once

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QInputDialog>
#include <QPushButton>
#include <QTemporaryDir>
#include <QToolButton>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineView>
#include <memory>

#include "editor/editor_commands.h"
#include "editor/number_edit.h"
#include "features/help_feature_commands.h"
#include "features/splash_dialog.h"
#include "editor_script.h"
#include "gui_helpers.h"
#include "tree_editing_fixture.h"
#include "tests/unit/test_files.h"
#include "tests/gui/window_parts.h"

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
    Widget<QTreeView>(*form, "contentsTree")->setCurrentIndex(QModelIndex());
    Widget<QTreeView>(*form, "contentsTree")->setCurrentIndex(start);
    WaitEditorIdle(Widget<EditingControl>(*form, "editor"));
    FocusEditor();
    WaitEditorIdle(Widget<EditingControl>(*form, "editor"));
  }
  void OpenPage(const QString& body) {
    OpenPageText(("<HTML><HEAD><TITLE>Start</TITLE></HEAD>\r\n<BODY>\r\n" + body + "\r\n</BODY></HTML>\r\n")
                     .toLatin1());
  }

  QString Html() const { return EditorHtml(Widget<EditingControl>(*form, "editor")); }

  // Runs script in the editor's own world.
  QVariant Js(const QString& script) { return EditorScript(Widget<EditingControl>(*form, "editor"), script); }

  // Selects characters from..to of the first text node of the element matching selector.
  void Select(const QString& selector, int from, int to) {
    SelectInEditor(Widget<EditingControl>(*form, "editor"), selector, from, to);
    WaitEditorIdle(Widget<EditingControl>(*form, "editor"));
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
    Controller<EditorCommands>(*form)->PrepareInsertMenu();  // the menu's preparation when it opens
    ASSERT_TRUE(Action(*form, "insertPopupAction")->isEnabled());
    Action(*form, "insertPopupAction")->trigger();
    WaitEditorIdle(Widget<EditingControl>(*form, "editor"));
    if (caption) *caption = seen->first;
    if (prompt) *prompt = seen->second;
  }

  QStringList ScriptLines() const { return LinesOf(Path("ProjP.js"), 1252); }

  TreeItem start = nullptr;
};

// The same with a small picture outside the project folder, for splash screens.
class SplashPictureFixture : public HelpFeaturesFixture {
 protected:
  void SetUp() override {
    HelpFeaturesFixture::SetUp();
    if (HasFatalFailure()) return;
    ASSERT_TRUE(elsewhere.isValid());
    picture = elsewhere.filePath("logo.bmp");
    QImage image(6, 4, QImage::Format_RGB32);
    image.fill(Qt::blue);
    ASSERT_TRUE(image.save(picture, "BMP"));
  }
  // "Splash" with the picture browsed for (unless empty) and the time typed.
  void InsertSplash(const QString& browse, const QString& seconds) {
    OnNextDialog<SplashDialog>([browse, seconds](SplashDialog* d) {
      if (!browse.isEmpty()) {
        AnswerNextFileDialog(browse);
        d->browseButton->click();
      }
      d->secondsBox->setText(seconds);
      d->okButton->click();
      if (d->isVisible()) d->cancelButton->click();
    });
    Action(*form, "insertSplashAction")->trigger();
    WaitEditorIdle(Widget<EditingControl>(*form, "editor"));
  }
  QTemporaryDir elsewhere;
  QString picture;
};
