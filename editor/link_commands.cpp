// Links and pictures: a link to another topic picked in "Select topic", links
// to outside pages and pictures through the control's own dialogs, and the
// picture file brought into the project folder.
#include <QAction>
#include <QMenu>

#include "editor/editor_commands.h"
#include "editor/editing_control.h"
#include "editor/link_dialog.h"
#include "editor/link_rules.h"

void EditorCommands::LinkToTopic() {
  LinkDialog* dialog = linkDialog;
  if (!dialog) return;
  dialog->SetContents(widgets.contents);
  if (dialog->exec() != QDialog::Accepted) return;
  // The selection, as plain text, becomes the link's text; without one the
  // topic's title is inserted at the caret. The anchor replaces the selection
  // in one step, so the clipboard keeps what it held and the blanks around
  // the selection stay plain blanks.
  TextRange range = widgets.editor->SelectionRange();
  const QString file = dialog->chosenFile;
  const QString caption = dialog->chosenCaption;
  if (!widgets.editor->Enabled(EditorCommand::Cut)) {
    range.pasteHTML(TopicAnchor(file, caption));
    return;
  }
  range.Read(this, [range, file, caption](const RangeContents& selected) mutable {
    range.pasteHTML(TopicAnchor(file, selected.text.isEmpty() ? caption : selected.text));
  });
}

void EditorCommands::LinkToExternalPage() { SendCommand(EditorCommand::Hyperlink, {}, true); }

void EditorCommands::RemoveLink() { SendCommand(EditorCommand::Unlink); }

void EditorCommands::PrepareLinkMenu() {
  const bool on = widgets.editor->Enabled(EditorCommand::Hyperlink);
  items.linkToTopicAction->setEnabled(on);
  items.linkToPageAction->setEnabled(on);
}

void EditorCommands::PrepareEditorLinkMenu() {
  items.removeLinkAction->setEnabled(widgets.editor->Enabled(EditorCommand::Unlink));
  const bool on = widgets.editor->Enabled(EditorCommand::Hyperlink);
  items.editorLinkToTopicAction->setEnabled(on);
  items.editorLinkToPageAction->setEnabled(on);
}

void EditorCommands::InsertPicture() {
  QPointer<EditorCommands> self(this);
  SendCommand(EditorCommand::Image, {}, true);
  if (!self) return;
  // The picture just inserted stands before the caret.
  TextRange range = widgets.editor->SelectionRange();
  range.moveStart("character", -1);
  range.Read(this, [this, range](const RangeContents& before) mutable {
    const PictureSource src = FindPictureSrc(before.html);
    if (!src.found) return;
    // A picture from elsewhere is copied into the project folder; either way
    // the page refers to it relative to that folder.
    const Result<QString> adopted = AdoptPicture(src.path, project.projectFolder());
    if (!adopted) {
      // The page would show the picture from where it lies now, outside the
      // project, and lose it once compiled: it is taken out again.
      range.pasteHTML(QString());
      project.reportFailure(Fail(adopted.Message() + QStringLiteral(". The picture was not inserted.")));
      return;
    }
    if (adopted->isEmpty() || *adopted == src.path) return;
    range.pasteHTML(src.head + *adopted + src.tail);
  });
}
