#include "editor/control_dialogs.h"

#include <QApplication>
#include <QCheckBox>
#include <QFileDialog>
#include <QFontDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "editor/editing_control.h"
#include "editor/format_rules.h"
#include "editor/source_find.h"

namespace {

// The longest selection that fills in the text to find.
constexpr int kLongestSelectedPhrase = 200;

}  // namespace

// ---- find dialog -----------------------------------------------------------

FindTextDialog::FindTextDialog(QWidget* parent) : QDialog(parent) {
  setObjectName("FindDialog");
  setWindowTitle("Find");
  findWhatEdit = new QLineEdit(this);
  findWhatEdit->setObjectName("FindWhat");
  wholeWordBox = new QCheckBox("Match &whole word only", this);
  matchCaseBox = new QCheckBox("Match &case", this);
  auto* direction = new QGroupBox("Direction", this);
  upButton = new QRadioButton("&Up", direction);
  downButton = new QRadioButton("&Down", direction);
  downButton->setChecked(true);
  auto* dirLayout = new QHBoxLayout(direction);
  dirLayout->addWidget(upButton);
  dirLayout->addWidget(downButton);
  findNextButton = new QPushButton("&Find Next", this);
  findNextButton->setObjectName("findNextButton");
  findNextButton->setDefault(true);
  findNextButton->setEnabled(false);
  cancelButton = new QPushButton("Cancel", this);
  cancelButton->setObjectName("cancelButton");
  replaceWithEdit = new QLineEdit(this);
  replaceWithEdit->setObjectName("ReplaceWith");
  replaceButton = new QPushButton("&Replace", this);
  replaceButton->setObjectName("replaceButton");
  replaceButton->setEnabled(false);
  replaceAllButton = new QPushButton("Replace &all", this);
  replaceAllButton->setObjectName("replaceAllButton");
  replaceAllButton->setEnabled(false);

  auto* what = new QLabel("Fi&nd what:", this);
  what->setBuddy(findWhatEdit);
  auto* grid = new QGridLayout(this);
  replaceLabel = new QLabel("Re&place with:", this);
  replaceLabel->setBuddy(replaceWithEdit);
  grid->addWidget(what, 0, 0);
  grid->addWidget(findWhatEdit, 0, 1, 1, 2);
  grid->addWidget(findNextButton, 0, 3);
  grid->addWidget(replaceLabel, 1, 0);
  grid->addWidget(replaceWithEdit, 1, 1, 1, 2);
  grid->addWidget(replaceButton, 1, 3);
  grid->addWidget(replaceAllButton, 2, 3);
  grid->addWidget(wholeWordBox, 2, 0, 1, 2);
  grid->addWidget(cancelButton, 3, 3);
  grid->addWidget(matchCaseBox, 3, 0, 1, 2);
  grid->addWidget(direction, 2, 2, 2, 1);
  SetReplacing(false);

  connect(findWhatEdit, &QLineEdit::textChanged, this, [this](const QString& t) {
    for (QPushButton* b : {findNextButton, replaceButton, replaceAllButton}) b->setEnabled(!t.isEmpty());
  });
  connect(findNextButton, &QPushButton::clicked, this, &FindTextDialog::FindNextMatch);
  connect(replaceButton, &QPushButton::clicked, this, &FindTextDialog::ReplaceMatch);
  connect(replaceAllButton, &QPushButton::clicked, this, &FindTextDialog::ReplaceEveryMatch);
  connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

FindOptions FindTextDialog::Options() const {
  FindOptions o;
  o.matchCase = matchCaseBox->isChecked();
  o.wholeWord = wholeWordBox->isChecked();
  o.backwards = upButton->isChecked();
  return o;
}

void FindTextDialog::SetReplacing(bool on) {
  setWindowTitle(on ? "Replace" : "Find");
  for (QWidget* part :
       std::initializer_list<QWidget*>{replaceLabel, replaceWithEdit, replaceButton, replaceAllButton})
    part->setVisible(on);
  adjustSize();
}

void FindTextDialog::NotFound() {
  QMessageBox::information(this, windowTitle(), "The search text was not found.");
}

void FindTextDialog::FindNextMatch() {
  if (findWhatEdit->text().isEmpty() || !search) return;
  QPointer<FindTextDialog> self(this);
  search(findWhatEdit->text(), Options(), [self](bool found) {
    if (self && !found) self->NotFound();
  });
}

void FindTextDialog::ReplaceMatch() {
  if (findWhatEdit->text().isEmpty() || !replace) return;
  QPointer<FindTextDialog> self(this);
  replace(findWhatEdit->text(), replaceWithEdit->text(), Options(), [self](bool found) {
    if (self && !found) self->NotFound();
  });
}

void FindTextDialog::ReplaceEveryMatch() {
  if (findWhatEdit->text().isEmpty() || !replaceAll) return;
  QPointer<FindTextDialog> self(this);
  replaceAll(findWhatEdit->text(), replaceWithEdit->text(), Options(), [self](int count) {
    if (!self) return;
    if (count <= 0) {
      self->NotFound();
      return;
    }
    QMessageBox::information(self, self->windowTitle(),
                             count == 1 ? QStringLiteral("1 occurrence replaced.")
                                        : QStringLiteral("%1 occurrences replaced.").arg(count));
  });
}

// ---- the control's dialogs -------------------------------------------------

ControlDialogs::ControlDialogs(EditingControl* editor, QWidget* owner)
    : QObject(owner), control(editor), owner(owner) {
  findDialog = new FindTextDialog(owner);
  findDialog->search = [this](const QString& text, const FindOptions& options, FindTextDialog::Found found) {
    if (InSource()) {
      found(FindInSource(sourceView, text, options));
    } else if (control) {
      control->FindText(text, options, findDialog, found);
    } else {
      found(false);
    }
  };
  findDialog->replace = [this](const QString& text, const QString& replacement, const FindOptions& options,
                               FindTextDialog::Found found) {
    if (InSource()) {
      found(ReplaceInSource(sourceView, text, replacement, options));
    } else if (control) {
      control->ReplaceText(text, replacement, options, findDialog, found);
    } else {
      found(false);
    }
  };
  findDialog->replaceAll = [this](const QString& text, const QString& replacement, const FindOptions& options,
                                  std::function<void(int)> counted) {
    if (InSource()) {
      counted(ReplaceAllInSource(sourceView, text, replacement, options));
    } else if (control) {
      control->ReplaceAllText(text, replacement, options, findDialog, counted);
    } else {
      counted(0);
    }
  };
  if (editor) {
    QPointer<ControlDialogs> self(this);
    editor->SetDialogHandler(
        [self](EditorCommand command, QVariant& arg) { return self && self->Run(command, arg); });
  }
}

bool ControlDialogs::Run(EditorCommand command, QVariant& arg) {
  Q_UNUSED(arg);
  if (!control) return false;
  switch (command) {
    case EditorCommand::FindText:
      FindText();
      return true;
    case EditorCommand::Font:
      FontProperties();
      return true;
    case EditorCommand::Hyperlink:
      Hyperlink();
      return true;
    case EditorCommand::Image:
      Picture();
      return true;
    default:
      return false;
  }
}

void ControlDialogs::SetSourceView(QPlainTextEdit* view, std::function<bool()> inUse) {
  sourceView = view;
  sourceInUse = std::move(inUse);
}

bool ControlDialogs::InSource() const { return sourceView && sourceInUse && sourceInUse(); }

QString ControlDialogs::SelectedPhrase() const {
  QString text;
  if (InSource()) {
    text = sourceView->textCursor().selectedText();
  } else if (control && control->Enabled(EditorCommand::Cut)) {
    // As the page pushed it: empty when it runs over paragraphs.
    text = control->State().phrase;
  }
  text.replace(QChar(0xA0), u' ');
  // Something longer than a line is not what anyone searches for.
  const bool oneLine = !text.contains(QChar::ParagraphSeparator) && !text.contains(u'\n') &&
                       !text.contains(u'\r') && text.size() <= kLongestSelectedPhrase;
  return oneLine && !text.trimmed().isEmpty() ? text : QString();
}

void ControlDialogs::OpenFind(bool replacing) {
  // Closed, by Esc too, the keyboard goes back where it was (the page, the
  // source view) with that view's menus, as after every dialog of the
  // program (widgets/dialog_focus_return.h).
  findDialog->SetReplacing(replacing);
  // A selected word or phrase is what the user wants to look for.
  if (const QString phrase = SelectedPhrase(); !phrase.isEmpty()) findDialog->findWhatEdit->setText(phrase);
  findDialog->findWhatEdit->selectAll();
  findDialog->findWhatEdit->setFocus();
  findDialog->exec();
}

void ControlDialogs::FindText() { OpenFind(false); }

void ControlDialogs::ReplaceText() { OpenFind(true); }

void ControlDialogs::FindAgain() {
  if (findDialog->findWhatEdit->text().isEmpty())
    FindText();
  else
    findDialog->findNextButton->click();
}

void ControlDialogs::FontProperties() {
  QPointer<EditingControl> editor = control;
  // The font at the caret, as the page pushed it.
  const QVariant name = editor->State().fontName;
  const QVariant size = editor->State().fontSize;
  const bool bold = editor->On(EditorCommand::Bold);
  const bool italic = editor->On(EditorCommand::Italic);
  const bool underline = editor->On(EditorCommand::Underline);
  QFont initial(owner ? owner->font() : QFont());
  if (name.typeId() == QMetaType::QString && !name.toString().isEmpty()) initial.setFamily(name.toString());
  initial.setPointSizeF(PointsOfFontSize(size.isNull() ? 3 : size.toInt()));
  initial.setBold(bold);
  initial.setItalic(italic);
  initial.setUnderline(underline);

  QFontDialog dialog(initial, owner);
  dialog.setObjectName("FontDialog");
  dialog.setWindowTitle("Font");
  if (dialog.exec() != QDialog::Accepted || !editor) return;
  const QFont chosen = dialog.selectedFont();
  // Only what the user changed is applied, so a selection in several fonts
  // keeps them unless a font was picked.
  if (chosen.family() != initial.family()) editor->Exec(EditorCommand::SetFontName, chosen.family());
  const int newSize = FontSizeOfPoints(chosen.pointSizeF());
  if (newSize != FontSizeOfPoints(initial.pointSizeF())) editor->Exec(EditorCommand::SetFontSize, newSize);
  const struct {
    bool was, now;
    EditorCommand command;
  } toggles[] = {{bold, chosen.bold(), EditorCommand::Bold},
                 {italic, chosen.italic(), EditorCommand::Italic},
                 {underline, chosen.underline(), EditorCommand::Underline}};
  for (const auto& t : toggles)
    if (t.was != t.now) editor->Exec(t.command);
}

void ControlDialogs::Hyperlink() {
  bool ok = false;
  QPointer<EditingControl> editor = control;
  const QString url =
      QInputDialog::getText(owner, "Hyperlink", "URL:", QLineEdit::Normal, QStringLiteral("http://"), &ok)
          .trimmed();
  if (!ok || url.isEmpty() || !editor) return;
  editor->Exec(EditorCommand::Hyperlink, url);
}

void ControlDialogs::Picture() {
  QPointer<EditingControl> editor = control;
  QFileDialog dialog(owner, "Picture", editor->BaseURL(),
                     "Pictures (*.bmp *.gif *.jpg *.jpeg *.png);;All files (*)");
  dialog.setObjectName("PictureDialog");
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  if (dialog.exec() != QDialog::Accepted || !editor) return;
  const QStringList files = dialog.selectedFiles();
  if (files.isEmpty() || files.first().isEmpty()) return;
  editor->Exec(EditorCommand::Image, files.first());
}
