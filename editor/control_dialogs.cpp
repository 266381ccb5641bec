#include "editor/control_dialogs.h"

#include <QCheckBox>
#include <QEventLoop>
#include <QFileDialog>
#include <QFontDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineView>
#include <memory>

#include "editor/editing_control.h"
#include "editor/format_rules.h"

namespace {

constexpr int kFindTimeoutMs = 5000;

QString JsString(const QString& text) {
  const QByteArray json = QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact);
  return QString::fromUtf8(json.mid(1, json.size() - 2));
}

// The page's own find, in the editor's script world. With whole words it
// goes on past matches inside words until it comes round to the first one;
// a failed search puts the selection back.
const char* const kFindScript = R"JS(
((t, mc, back, whole) => {
  const sel = getSelection();
  const saved = sel.rangeCount ? sel.getRangeAt(0).cloneRange() : null;
  const isWord = (c) => !!c && /[\p{L}\p{N}_]/u.test(c);
  const charBefore = (r) => r.startContainer.nodeType === 3 && r.startOffset > 0
      ? r.startContainer.data[r.startOffset - 1] : '';
  const charAfter = (r) => r.endContainer.nodeType === 3 && r.endOffset < r.endContainer.data.length
      ? r.endContainer.data[r.endOffset] : '';
  let first = null;
  for (let i = 0; i < 1000; i++) {
    if (!window.find(t, mc, back, true, false, false, false)) break;
    if (!whole) return true;
    if (!sel.rangeCount) break;
    const r = sel.getRangeAt(0);
    if (first && first.startContainer === r.startContainer && first.startOffset === r.startOffset) break;
    if (!first) first = r.cloneRange();
    if (!isWord(charBefore(r)) && !isWord(charAfter(r))) return true;
  }
  sel.removeAllRanges();
  if (saved) sel.addRange(saved);
  return false;
})
)JS";

}  // namespace

bool FindInEditor(EditingControl* editor, const QString& text, const FindOptions& options) {
  if (!editor || text.isEmpty() || !editor->View() || !editor->View()->page()) return false;
  struct Answer {
    bool done = false;
    bool found = false;
    QPointer<QEventLoop> loop;
  };
  auto answer = std::make_shared<Answer>();
  const QString script = QString::fromLatin1(kFindScript) +
                         QStringLiteral("(%1, %2, %3, %4)")
                             .arg(JsString(text), options.MatchCase ? "true" : "false",
                                  options.Backwards ? "true" : "false", options.WholeWord ? "true" : "false");
  QEventLoop loop;
  answer->loop = &loop;
  editor->View()->page()->runJavaScript(script, QWebEngineScript::ApplicationWorld,
                                        [answer](const QVariant& v) {
                                          answer->found = v.toBool();
                                          answer->done = true;
                                          if (answer->loop) answer->loop->quit();
                                        });
  if (!answer->done) {
    QTimer::singleShot(kFindTimeoutMs, &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
  }
  answer->loop = nullptr;
  return answer->done && answer->found;
}

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

  auto* what = new QLabel("Fi&nd what:", this);
  what->setBuddy(FindWhat);
  auto* grid = new QGridLayout(this);
  grid->addWidget(what, 0, 0);
  grid->addWidget(FindWhat, 0, 1, 1, 2);
  grid->addWidget(FindNext, 0, 3);
  grid->addWidget(WholeWord, 1, 0, 1, 2);
  grid->addWidget(cancelButton, 1, 3);
  grid->addWidget(MatchCase, 2, 0, 1, 2);
  grid->addWidget(direction, 1, 2, 2, 1);

  connect(FindWhat, &QLineEdit::textChanged, this,
          [this](const QString& t) { FindNext->setEnabled(!t.isEmpty()); });
  connect(FindNext, &QPushButton::clicked, this, &FindTextDialog::FindNextClick);
  connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

FindOptions FindTextDialog::Options() const {
  FindOptions o;
  o.MatchCase = MatchCase->isChecked();
  o.WholeWord = WholeWord->isChecked();
  o.Backwards = Up->isChecked();
  return o;
}

void FindTextDialog::FindNextClick() {
  if (FindWhat->text().isEmpty() || !Search) return;
  QPointer<FindTextDialog> self(this);
  const bool found = Search(FindWhat->text(), Options());
  if (!self) return;
  if (!found) QMessageBox::information(this, "Find", "The search text was not found.");
}

// ---- the control's dialogs -------------------------------------------------

ControlDialogs::ControlDialogs(EditingControl* editor, QWidget* owner)
    : QObject(owner), Editor(editor), Owner(owner) {
  Find = new FindTextDialog(owner);
  Find->Search = [this](const QString& text, const FindOptions& options) {
    return FindInEditor(Editor, text, options);
  };
  if (editor) {
    QPointer<ControlDialogs> self(this);
    editor->SetDialogHandler([self](int command, QVariant& arg) { return self && self->Run(command, arg); });
  }
}

bool ControlDialogs::Run(int command, QVariant& arg) {
  Q_UNUSED(arg);
  if (!Editor) return false;
  switch (command) {
    case decmd::FindText:
      FindText();
      return true;
    case decmd::Font:
      FontProperties();
      return true;
    case decmd::Hyperlink:
      Hyperlink();
      return true;
    case decmd::Image:
      Picture();
      return true;
    default:
      return false;
  }
}

void ControlDialogs::FindText() {
  Find->FindWhat->selectAll();
  Find->FindWhat->setFocus();
  Find->exec();
}

void ControlDialogs::FindAgain() {
  if (Find->FindWhat->text().isEmpty())
    FindText();
  else
    Find->FindNext->click();
}

void ControlDialogs::FontProperties() {
  QPointer<EditingControl> editor = Editor;
  QVariant name;
  editor->ExecCommand(decmd::GetFontName, decmd::Default, name);
  QVariant size;
  if (editor) editor->ExecCommand(decmd::GetFontSize, decmd::Default, size);
  if (!editor) return;
  const bool bold = StatusOn(editor->QueryStatus(decmd::Bold));
  const bool italic = StatusOn(editor->QueryStatus(decmd::Italic));
  const bool underline = StatusOn(editor->QueryStatus(decmd::Underline));
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
  QVariant arg;
  if (chosen.family() != initial.family()) {
    arg = chosen.family();
    editor->ExecCommand(decmd::SetFontName, decmd::DontPromptUser, arg);
  }
  const int newSize = FontSizeOfPoints(chosen.pointSizeF());
  if (editor && newSize != FontSizeOfPoints(initial.pointSizeF())) {
    arg = newSize;
    editor->ExecCommand(decmd::SetFontSize, decmd::DontPromptUser, arg);
  }
  const struct {
    bool was, now;
    int command;
  } toggles[] = {{bold, chosen.bold(), decmd::Bold},
                 {italic, chosen.italic(), decmd::Italic},
                 {underline, chosen.underline(), decmd::Underline}};
  for (const auto& t : toggles) {
    if (!editor) return;
    if (t.was == t.now) continue;
    arg = 0;
    editor->ExecCommand(t.command, decmd::Default, arg);
  }
}

void ControlDialogs::Hyperlink() {
  bool ok = false;
  QPointer<EditingControl> editor = Editor;
  const QString url =
      QInputDialog::getText(Owner, "Hyperlink", "URL:", QLineEdit::Normal, QStringLiteral("http://"), &ok)
          .trimmed();
  if (!ok || url.isEmpty() || !editor) return;
  QVariant arg = url;
  editor->ExecCommand(decmd::Hyperlink, decmd::DontPromptUser, arg);
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
  QVariant arg = files.first();
  editor->ExecCommand(decmd::Image, decmd::DontPromptUser, arg);
}
