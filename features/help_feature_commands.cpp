// The help features' commands: "Pop-up" and "Pop-up texts", "Splash",
// "Training card" and "Style sheet".
#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QInputDialog>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>

#include "editor/card_conversions.h"
#include "editor/editing_control.h"
#include "editor/link_rules.h"
#include "features/text_edit_dialog.h"
#include "features/help_feature_commands.h"
#include "features/help_objects.h"
#include "features/popup_texts.h"
#include "features/splash_dialog.h"
#include "features/training_card_dialog.h"
#include "platform/text_file.h"
#include "formats/project/project_file.h"
#include "widgets/action_registry.h"

HelpFeatureCommands::HelpFeatureCommands(QWidget* window, EditingControl* editor, ActionRegistry& registry,
                                         Project project)
    : QObject(window), window(window), editor(editor), project(std::move(project)) {
  const auto add = [&](const QString& id, const QString& caption, int helpContext,
                       void (HelpFeatureCommands::*command)()) {
    QAction* item = registry.Add(id, caption);
    if (helpContext) item->setProperty("HelpContext", helpContext);
    connect(item, &QAction::triggered, this, command);
  };
  add("insertPopupAction", "P&op-up", 10010, &HelpFeatureCommands::InsertPopupCommand);
  add("insertSplashAction", "&Splash", 0, &HelpFeatureCommands::InsertSplash);
  add("insertTrainingCardAction", "T&raining card", 0, &HelpFeatureCommands::InsertTrainingCard);
  add("styleSheetAction", "&Style sheet", 10015, &HelpFeatureCommands::EditStyleSheet);
  add("popupTextsAction", "&Pop-up texts", 10010, &HelpFeatureCommands::EditPopupTexts);
  registry.Fill(registry.AddMenu("projectFilesMenu", "&Edit"), {"styleSheetAction", "popupTextsAction"});
}

void HelpFeatureCommands::SetDialogs(TextEditDialog* textEdit, SplashDialog* splash,
                                     TrainingCardDialog* trainingCard) {
  textEditDialog = textEdit;
  splashDialog = splash;
  trainingCardDialog = trainingCard;
}

QString HelpFeatureCommands::PopupScriptFile() const { return PopupScriptPath(project.projectFile()); }

void HelpFeatureCommands::InsertPopupCommand() {
  QPointer<HelpFeatureCommands> self(this);
  bool ok = false;
  const QString typed =
      QInputDialog::getText(window, "Text pop-up", "Text", QLineEdit::Normal, QString(), &ok);
  if (!self || !ok || typed.isEmpty()) return;
  project.reportFailure(InsertPopup(typed));
}

Status HelpFeatureCommands::InsertPopup(const QString& typed) {
  const int codePage = project.codePage();
  const QString scriptPath = PopupScriptFile();
  Result<QStringList> read = ReadLinesFile(scriptPath, codePage);
  if (!read) return Fail(read.Message());
  QStringList lines = std::move(*read);
  const QString name = NextPopupName(lines);
  lines.append(PopupScriptLine(name, typed, codePage));
  if (Status written = WriteLinesFile(scriptPath, lines, codePage); !written) return written;

  // The selection, as plain text, becomes the link's text; without one the
  // typed text is. The link replaces the selection in one step, so the
  // clipboard keeps what it held and the blanks around a double-clicked word
  // stay (cutting it first would let the engine take the blank before it).
  TextRange range = editor->SelectionRange();
  auto insert = [this, range, name, typed](const QString& selected) mutable {
    range.pasteHTML(PopupLink(name, selected.isEmpty() ? typed : selected));
    AddPopupHead(name);
  };
  if (editor->Enabled(EditorCommand::Cut)) {
    range.Read(this, [insert](const RangeContents& selected) mutable { insert(selected.text); });
  } else {
    insert({});
  }
  return {};
}

void HelpFeatureCommands::AddPopupHead(const QString& name) {
  // The page's head: the control object the links call and the script tag
  // that loads the texts, each added once.
  editor->FetchDocumentHTML(this, [this, name](const QString& html) {
    if (!editor->HtmlCurrent()) {
      project.reportFailure(Fail(
          QStringLiteral("The pop-up text %1 was added to %2, but the page could not be given the script "
                         "that shows it: the editor did not answer. Insert the pop-up again.")
              .arg(name, QDir::toNativeSeparators(PopupScriptFile()))));
      return;
    }
    const QString withHead = WithPopupHead(html, PopupScriptFileName(project.projectFile()));
    if (withHead == html) return;
    editor->SetDocumentHTML(withHead);
    editor->SetBaseURL(project.projectFolder());
    // Typing goes on after the new link, not at the top of the page shown anew.
    editor->PlaceCaretAfterLink(PopupHref(name));
    // Setting the page clears the editor's record of changes, so the page is
    // stored now: otherwise leaving the topic would drop the new link while
    // its text stays in the script file.
    editor->Settle(
        this,
        [this] {
          const QString page = project.selectedPage();
          if (!page.isEmpty()) project.reportFailure(project.storeEditorPage(page));
        },
        true);
  });
}

bool HelpFeatureCommands::EditLinesFile(const QString& title, int helpContext, const QString& path) {
  TextEditDialog* dialog = textEditDialog;
  if (!dialog) return false;
  QPointer<HelpFeatureCommands> self(this);
  dialog->setWindowTitle(title);
  dialog->setProperty("HelpContext", helpContext);
  const int codePage = project.codePage();
  const Result<QStringList> lines = ReadLinesFile(path, codePage);
  if (!lines) {
    project.reportFailure(Fail(lines.Message()));
    return false;
  }
  dialog->SetLines(*lines);
  if (dialog->exec() != QDialog::Accepted || !self || !dialog->Modified()) return false;
  return project.reportFailure(WriteLinesFile(path, dialog->Lines(), codePage));
}

void HelpFeatureCommands::EditPopupTexts() { EditLinesFile("Pop-up texts", 10010, PopupScriptFile()); }

void HelpFeatureCommands::InsertSplash() {
  SplashDialog* dialog = splashDialog;
  if (!dialog) return;
  QPointer<HelpFeatureCommands> self(this);
  if (dialog->exec() != QDialog::Accepted || !self) return;
  // The picture the dialog settled on: browsed for, or typed and found.
  const QString picture = dialog->PicturePath();
  if (picture.isEmpty() || !QFileInfo(picture).isFile()) return;
  const QFileInfo info(picture);
  const QString pictureFolder = info.absoluteDir().canonicalPath();
  const QString projectFolder = QDir(project.projectFolder()).canonicalPath();
  // A picture from elsewhere is copied into the project folder; without the
  // copy the object would show nothing, so it is not inserted.
  if (pictureFolder != projectFolder) {
    const Result<QString> copied = CopyPictureInto(picture, project.projectFolder());
    if (!copied) {
      project.reportFailure(Fail(copied.Message() + QStringLiteral(". The splash screen was not inserted.")));
      return;
    }
  }
  TextRange range = editor->SelectionRange();
  range.pasteHTML(SplashObject(info.fileName(), qint64(dialog->Seconds()) * 1000));
}

void HelpFeatureCommands::InsertTrainingCard() {
  TrainingCardDialog* dialog = trainingCardDialog;
  if (!dialog) return;
  QPointer<HelpFeatureCommands> self(this);
  if (dialog->exec() != QDialog::Accepted || !self) return;
  TextRange range = editor->SelectionRange();
  range.pasteHTML(TrainingCardButtonFor(dialog->buttonTextEdit->text(), dialog->wParamEdit->text(),
                                        dialog->lParamEdit->text()));
}

void HelpFeatureCommands::EditStyleSheet() {
  if (!EditLinesFile("Style sheet", 10015, ReplaceExtension(project.projectFile(), ".css"))) return;

  // On the Editor tab the current topic is stored and shown again with the
  // new styles; its file keeps the stored form (training-card objects).
  if (project.sourceInUse()) return;
  const QString pagePath = project.selectedPage();
  if (pagePath.isEmpty()) return;
  editor->FetchDocumentHTML(this, [this, pagePath](const QString& html) {
    if (!editor->HtmlCurrent()) {
      project.reportFailure(Fail("The editor did not answer: the page was not refreshed."));
      return;
    }
    const QStringList pageLines = SplitLines(CardButtonsToObjects(html));
    if (!project.reportFailure(WriteLinesFile(pagePath, pageLines, project.codePage()))) return;
    project.reportFailure(project.loadTopicPage(pagePath));
  });
}
