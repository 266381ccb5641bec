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
  FindWhat = new QLineEdit(this);
  FindWhat->setObjectName("FindWhat");
  WholeWord = new QCheckBox("Match &whole word only", this);
  MatchCase = new QCheckBox("Match &case", this);
  auto* direction = new QGroupBox("Direction", this);
  Up = new QRadioButton("&Up", direction);
  Down = new QRadioButton("&Down", direction);
  Down->setChecked(true);
  auto* dirLayout = new QHBoxLayout(direction);
  dirLayout->addWidget(Up);
  dirLayout->addWidget(Down);
  FindNext = new QPushButton("&Find Next", this);
  FindNext->setObjectName("FindNext");
  FindNext->setDefault(true);
  FindNext->setEnabled(false);
  cancelButton = new QPushButton("Cancel", this);
  cancelButton->setObjectName("cancelButton");
  ReplaceWith = new QLineEdit(this);
  ReplaceWith->setObjectName("ReplaceWith");
  ReplaceButton = new QPushButton("&Replace", this);
  ReplaceButton->setObjectName("ReplaceButton");
  ReplaceButton->setEnabled(false);
  ReplaceAllButton = new QPushButton("Replace &all", this);
  ReplaceAllButton->setObjectName("ReplaceAllButton");
  ReplaceAllButton->setEnabled(false);

  auto* what = new QLabel("Fi&nd what:", this);
  what->setBuddy(FindWhat);
  auto* grid = new QGridLayout(this);
  replaceLabel = new QLabel("Re&place with:", this);
  replaceLabel->setBuddy(ReplaceWith);
  grid->addWidget(what, 0, 0);
  grid->addWidget(FindWhat, 0, 1, 1, 2);
  grid->addWidget(FindNext, 0, 3);
  grid->addWidget(replaceLabel, 1, 0);
  grid->addWidget(ReplaceWith, 1, 1, 1, 2);
  grid->addWidget(ReplaceButton, 1, 3);
  grid->addWidget(ReplaceAllButton, 2, 3);
  grid->addWidget(WholeWord, 2, 0, 1, 2);
  grid->addWidget(cancelButton, 3, 3);
  grid->addWidget(MatchCase, 3, 0, 1, 2);
  grid->addWidget(direction, 2, 2, 2, 1);
  SetReplacing(false);

  connect(FindWhat, &QLineEdit::textChanged, this, [this](const QString& t) {
    for (QPushButton* b : {FindNext, ReplaceButton, ReplaceAllButton}) b->setEnabled(!t.isEmpty());
  });
  connect(FindNext, &QPushButton::clicked, this, &FindTextDialog::FindNextClick);
  connect(ReplaceButton, &QPushButton::clicked, this, &FindTextDialog::ReplaceClick);
  connect(ReplaceAllButton, &QPushButton::clicked, this, &FindTextDialog::ReplaceAllClick);
  connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

FindOptions FindTextDialog::Options() const {
  FindOptions o;
  o.MatchCase = MatchCase->isChecked();
  o.WholeWord = WholeWord->isChecked();
  o.Backwards = Up->isChecked();
  return o;
}

void FindTextDialog::SetReplacing(bool on) {
  setWindowTitle(on ? "Replace" : "Find");
  for (QWidget* part :
       std::initializer_list<QWidget*>{replaceLabel, ReplaceWith, ReplaceButton, ReplaceAllButton})
    part->setVisible(on);
  adjustSize();
}

void FindTextDialog::NotFound() {
  QMessageBox::information(this, windowTitle(), "The search text was not found.");
}

void FindTextDialog::FindNextClick() {
  if (FindWhat->text().isEmpty() || !Search) return;
  QPointer<FindTextDialog> self(this);
  Search(FindWhat->text(), Options(), [self](bool found) {
    if (self && !found) self->NotFound();
  });
}

void FindTextDialog::ReplaceClick() {
  if (FindWhat->text().isEmpty() || !Replace) return;
  QPointer<FindTextDialog> self(this);
  Replace(FindWhat->text(), ReplaceWith->text(), Options(), [self](bool found) {
    if (self && !found) self->NotFound();
  });
}

void FindTextDialog::ReplaceAllClick() {
  if (FindWhat->text().isEmpty() || !ReplaceAll) return;
  QPointer<FindTextDialog> self(this);
  ReplaceAll(FindWhat->text(), ReplaceWith->text(), Options(), [self](int count) {
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
    : QObject(owner), Editor(editor), Owner(owner) {
  Find = new FindTextDialog(owner);
  Find->Search = [this](const QString& text, const FindOptions& options, FindTextDialog::Found found) {
    if (InSource()) {
      found(FindInSource(Source, text, options));
    } else if (Editor) {
      Editor->FindText(text, options, Find, found);
    } else {
      found(false);
    }
  };
  Find->Replace = [this](const QString& text, const QString& replacement, const FindOptions& options,
                         FindTextDialog::Found found) {
    if (InSource()) {
      found(ReplaceInSource(Source, text, replacement, options));
    } else if (Editor) {
      Editor->ReplaceText(text, replacement, options, Find, found);
    } else {
      found(false);
    }
  };
  Find->ReplaceAll = [this](const QString& text, const QString& replacement, const FindOptions& options,
                            std::function<void(int)> counted) {
    if (InSource()) {
      counted(ReplaceAllInSource(Source, text, replacement, options));
    } else if (Editor) {
      Editor->ReplaceAllText(text, replacement, options, Find, counted);
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
  if (!Editor) return false;
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

void ControlDialogs::SetSourceView(QPlainTextEdit* view, std::function<bool()> sourceInUse) {
  Source = view;
  SourceInUse = std::move(sourceInUse);
}

bool ControlDialogs::InSource() const { return Source && SourceInUse && SourceInUse(); }

QString ControlDialogs::SelectedPhrase() const {
  QString text;
  if (InSource()) {
    text = Source->textCursor().selectedText();
  } else if (Editor && Editor->Enabled(EditorCommand::Cut)) {
    // As the page pushed it: empty when it runs over paragraphs.
    text = Editor->State().phrase;
  }
  text.replace(QChar(0xA0), u' ');
  // Something longer than a line is not what anyone searches for.
  const bool oneLine = !text.contains(QChar::ParagraphSeparator) && !text.contains(u'\n') &&
                       !text.contains(u'\r') && text.size() <= kLongestSelectedPhrase;
  return oneLine && !text.trimmed().isEmpty() ? text : QString();
}

void ControlDialogs::OpenFind(bool replacing) {
  // Closed, by Esc too, the keyboard goes back where it was (the page, the
  // source view), with that view's menus.
  const QPointer<QWidget> before = QApplication::focusWidget();
  Find->SetReplacing(replacing);
  // A selected word or phrase is what the user wants to look for.
  if (const QString phrase = SelectedPhrase(); !phrase.isEmpty()) Find->FindWhat->setText(phrase);
  Find->FindWhat->selectAll();
  Find->FindWhat->setFocus();
  Find->exec();
  if (before && before->isVisible()) {
    before->activateWindow();
    before->setFocus(Qt::OtherFocusReason);
  }
}

void ControlDialogs::FindText() { OpenFind(false); }

void ControlDialogs::ReplaceText() { OpenFind(true); }

void ControlDialogs::FindAgain() {
  if (Find->FindWhat->text().isEmpty())
    FindText();
  else
    Find->FindNext->click();
}

void ControlDialogs::FontProperties() {
  QPointer<EditingControl> editor = Editor;
  // The font at the caret, as the page pushed it.
  const QVariant name = editor->State().fontName;
  const QVariant size = editor->State().fontSize;
  const bool bold = editor->On(EditorCommand::Bold);
  const bool italic = editor->On(EditorCommand::Italic);
  const bool underline = editor->On(EditorCommand::Underline);
  QFont initial(Owner ? Owner->font() : QFont());
  if (name.typeId() == QMetaType::QString && !name.toString().isEmpty()) initial.setFamily(name.toString());
  initial.setPointSizeF(PointsOfFontSize(size.isNull() ? 3 : size.toInt()));
  initial.setBold(bold);
  initial.setItalic(italic);
  initial.setUnderline(underline);

  QFontDialog dialog(initial, Owner);
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
  QPointer<EditingControl> editor = Editor;
  const QString url =
      QInputDialog::getText(Owner, "Hyperlink", "URL:", QLineEdit::Normal, QStringLiteral("http://"), &ok)
          .trimmed();
  if (!ok || url.isEmpty() || !editor) return;
  editor->Exec(EditorCommand::Hyperlink, url);
}

void ControlDialogs::Picture() {
  QPointer<EditingControl> editor = Editor;
  QFileDialog dialog(Owner, "Picture", editor->BaseURL(),
                     "Pictures (*.bmp *.gif *.jpg *.jpeg *.png);;All files (*)");
  dialog.setObjectName("PictureDialog");
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  if (dialog.exec() != QDialog::Accepted || !editor) return;
  const QStringList files = dialog.selectedFiles();
  if (files.isEmpty() || files.first().isEmpty()) return;
  editor->Exec(EditorCommand::Image, files.first());
}
