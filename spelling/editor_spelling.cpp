#include "spelling/editor_spelling.h"

#include <QFile>
#include <QInputDialog>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QStatusBar>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineView>

#include "editor/editing_control.h"
#include "model/help_project.h"
#include "spelling/dictionary_names.h"
#include "spelling/project_spelling.h"
#include "spelling/word_list.h"

namespace {

// A pause in typing this long checks the page.
constexpr int kCheckDelayMs = 300;
constexpr int kMostSuggestions = 6;

QString JsonOf(const QJsonArray& array) {
  return QString::fromUtf8(QJsonDocument(array).toJson(QJsonDocument::Compact));
}

// A failure, in a message box that keeps no one waiting.
void ShowError(QWidget* window, const QString& message) {
  auto* box =
      new QMessageBox(QMessageBox::Warning, QStringLiteral("Orvex"), message, QMessageBox::Ok, window);
  box->setAttribute(Qt::WA_DeleteOnClose);
  box->open();
}

}  // namespace

EditorSpelling::EditorSpelling(const HelpProject& helpProject, Views parts, QObject* parent)
    : QObject(parent), project(helpProject), views(std::move(parts)) {
  if (views.dictionaryFolders.isEmpty()) views.dictionaryFolders = DictionaryFolders();
  QWebEnginePage* page = views.editor->View()->page();
  QFile source(QStringLiteral(":/orvex/spelling/spelling_marks.js"));
  if (source.open(QIODevice::ReadOnly)) {
    QWebEngineScript script;
    script.setName(QStringLiteral("orvex-spelling"));
    script.setSourceCode(QString::fromUtf8(source.readAll()));
    script.setInjectionPoint(QWebEngineScript::DocumentReady);
    script.setWorldId(QWebEngineScript::ApplicationWorld);
    script.setRunsOnSubFrames(false);
    page->scripts().insert(script);
  }
  delay = new QTimer(this);
  delay->setSingleShot(true);
  delay->setInterval(kCheckDelayMs);
  connect(delay, &QTimer::timeout, this, &EditorSpelling::CheckPage);
  connect(views.editor, &EditingControl::OnDisplayChanged, delay, qOverload<>(&QTimer::start));
  connect(page, &QWebEnginePage::loadStarted, this, [this] { ++loads; });
  connect(page, &QWebEnginePage::loadFinished, this, [this] { delay->start(); });

  if (views.statusBar) {
    state = new QLabel(views.statusBar);
    state->setObjectName("spellingState");
    views.statusBar->addPermanentWidget(state);
  }
  if (views.toolsMenu) {
    chooseAction = views.toolsMenu->addAction(tr("Spelling &dictionary..."));
    chooseAction->setObjectName("spellingDictionaryAction");
    connect(chooseAction, &QAction::triggered, this, &EditorSpelling::ChooseDictionary);
  }
  ShowState();
}

EditorSpelling::~EditorSpelling() {
  if (opening) opening->wait();
}

QString EditorSpelling::OpenKey() const {
  return project.ProjectFile() + u'\n' + QString::number(ProjectLanguageLcid(project.ProjectLines()));
}

void EditorSpelling::FollowProject() {
  if (!project.IsOpen()) {
    if (!openKey.isEmpty()) {
      openKey.clear();
      spelling.reset();
      ShowState();
    }
    return;
  }
  const QString key = OpenKey();
  if (key == openKey) return;
  openKey = key;
  Open(project.ProjectFile(), project.ProjectLines());
}

void EditorSpelling::Open(const QString& projectFile, const QStringList& projectLines) {
  spelling.reset();
  ShowState();
  // A dictionary takes a moment to read: it is read off the window's thread.
  auto opened = std::make_shared<std::shared_ptr<ProjectSpelling>>();
  const QStringList folders = views.dictionaryFolders;
  QThread* worker = QThread::create([opened, projectFile, projectLines, folders] {
    *opened = ProjectSpelling::Open(projectFile, projectLines, folders);
  });
  const QString key = openKey;
  connect(worker, &QThread::finished, worker, &QObject::deleteLater);
  connect(worker, &QThread::finished, this, [this, opened, key] {
    if (key != openKey) return;  // another project or language meanwhile
    spelling = *opened;
    ShowState();
    CheckPage();
  });
  if (opening) opening->wait();
  opening = worker;
  worker->start();
}

void EditorSpelling::ShowState() {
  if (chooseAction) chooseAction->setEnabled(project.IsOpen());
  if (!state) return;
  QString text;
  QString tip;
  if (!project.IsOpen()) {
    text.clear();
  } else if (!spelling) {
    text = tr("Spelling: opening the dictionary ...");
  } else if (!spelling->NotChecked().isEmpty()) {
    tip = spelling->NotChecked();
    text = tip.section(QStringLiteral(". "), 0, 0);
    if (!text.endsWith(u'.')) text += u'.';
  } else {
    text = tr("Spelling: %1").arg(spelling->DictionaryName());
    tip = tr("Words are checked with the dictionary %1 and the project's word list %2.")
              .arg(spelling->DictionaryName(), WordListPath(spelling->ProjectFile()));
  }
  state->setText(text);
  state->setToolTip(tip);
}

void EditorSpelling::RunScript(const QString& script, const std::function<void(const QVariant&)>& done) {
  const QString guarded = QStringLiteral("typeof __orvexSpelling === 'undefined' ? null : ") + script;
  QWebEnginePage* page = views.editor->View()->page();
  if (!done) {
    page->runJavaScript(guarded, QWebEngineScript::ApplicationWorld);
    return;
  }
  QPointer<EditorSpelling> self(this);
  page->runJavaScript(guarded, QWebEngineScript::ApplicationWorld, [self, done](const QVariant& answer) {
    if (self) done(answer);
  });
}

void EditorSpelling::CheckPage() {
  FollowProject();
  if (!spelling || !spelling->NotChecked().isEmpty()) {
    RunScript(QStringLiteral("__orvexSpelling.clear()"));
    return;
  }
  const int load = loads;
  RunScript(QStringLiteral("__orvexSpelling.collect()"),
            [this, load](const QVariant& collected) { ShowMarks(load, collected); });
}

void EditorSpelling::ShowMarks(int load, const QVariant& collected) {
  const QVariantMap answer = collected.toMap();
  if (load != loads || answer.isEmpty() || !spelling) return;
  const std::shared_ptr<ProjectSpelling> held = spelling;
  QJsonArray marks;
  const QVariantList runs = answer.value(QStringLiteral("runs")).toList();
  for (qsizetype i = 0; i < runs.size(); ++i) {
    const QString run = runs.at(i).toString();
    for (const TextWord& word : TextWords(run)) {
      if (!held->IsCorrect(word.text))
        marks.append(QJsonArray{int(i), int(word.position), int(word.text.size()), word.text});
    }
  }
  RunScript(QStringLiteral("__orvexSpelling.show(%1, %2)")
                .arg(answer.value(QStringLiteral("id")).toInt())
                .arg(JsonOf(marks)),
            [this, load](const QVariant&) {
              if (load == loads) emit Checked();
            });
}

void EditorSpelling::PrepareMenu(QMenu* menu, const QPoint& globalPos, std::function<void()> show) {
  QWebEngineView* view = views.editor->View();
  PrepareMenuFor(menu, QPointF(view->mapFromGlobal(globalPos)) / view->page()->zoomFactor(), std::move(show));
}

void EditorSpelling::PrepareMenuAtCaret(QMenu* menu, std::function<void()> show) {
  PrepareMenuFor(menu, QPointF(-1, -1), std::move(show));
}

void EditorSpelling::PrepareMenuFor(QMenu* menu, QPointF at, std::function<void()> show) {
  qDeleteAll(menuItems);
  menuItems.clear();
  if (!spelling || !spelling->NotChecked().isEmpty() || views.editor->ReadOnly()) {
    show();
    return;
  }
  QPointer<QMenu> target(menu);
  RunScript(QStringLiteral("__orvexSpelling.wordAt(%1, %2)").arg(at.x()).arg(at.y()),
            [this, target, show](const QVariant& found) {
              const QVariantMap mark = found.toMap();
              const QString word = mark.value(QStringLiteral("word")).toString();
              if (target && !word.isEmpty() && spelling) {
                const int index = mark.value(QStringLiteral("index")).toInt();
                QAction* first = target->actions().value(0);
                QStringList suggestions = spelling->Suggestions(word);
                if (suggestions.size() > kMostSuggestions) suggestions.resize(kMostSuggestions);
                for (const QString& suggestion : std::as_const(suggestions)) {
                  auto* item = new QAction(suggestion, target);
                  QFont bold = item->font();
                  bold.setBold(true);
                  item->setFont(bold);
                  connect(item, &QAction::triggered, this, [this, index, word, suggestion] {
                    QJsonArray args{index, word, suggestion};
                    RunScript(QStringLiteral("__orvexSpelling.replace(...%1)").arg(JsonOf(args)));
                  });
                  menuItems.append(item);
                }
                if (suggestions.isEmpty()) {
                  auto* none = new QAction(tr("(no suggestions)"), target);
                  none->setEnabled(false);
                  menuItems.append(none);
                }
                auto* add = new QAction(tr("Add \"%1\" to dictionary").arg(word), target);
                add->setObjectName("addToDictionaryAction");
                connect(add, &QAction::triggered, this, [this, word] { AddToDictionary(word); });
                auto* ignore = new QAction(tr("Ignore \"%1\"").arg(word), target);
                ignore->setObjectName("ignoreWordAction");
                connect(ignore, &QAction::triggered, this, [this, word] {
                  if (spelling) spelling->IgnoreWord(word);
                  CheckPage();
                });
                auto* separator = new QAction(target);
                separator->setSeparator(true);
                menuItems << add << ignore << separator;
                target->insertActions(first, menuItems);
              }
              show();
            });
}

void EditorSpelling::AddToDictionary(const QString& word) {
  if (!spelling) return;
  if (const Status added = spelling->AddWord(word); !added) {
    ShowError(views.window, added.Message());
    return;
  }
  CheckPage();
}

SpellingSource EditorSpelling::Source() const {
  const std::shared_ptr<ProjectSpelling> held = spelling;
  const QString projectFile = project.ProjectFile();
  const QStringList projectLines = project.ProjectLines();
  const QStringList folders = views.dictionaryFolders;
  const bool current = held && held->ProjectFile() == projectFile && openKey == OpenKey();
  return [held, current, projectFile, projectLines, folders]() -> std::shared_ptr<const WordSpelling> {
    if (current) return held;
    return ProjectSpelling::Open(projectFile, projectLines, folders);
  };
}

void EditorSpelling::ChooseDictionary() {
  if (!project.IsOpen()) return;
  const QStringList installed = InstalledDictionaries(views.dictionaryFolders);
  if (installed.isEmpty()) {
    ShowError(views.window,
              tr("No spelling dictionary is installed: install Debian's hunspell package for your language "
                 "(hunspell-en-us, hunspell-de-de, hunspell-fr ...)."));
    return;
  }
  const int lcid = ProjectLanguageLcid(project.ProjectLines());
  const std::optional<DictionaryFiles> own = DictionaryForLanguage(lcid, views.dictionaryFolders);
  const QString ownItem = own ? tr("The project's language (%1)").arg(own->name)
                              : tr("The project's language (no dictionary installed)");
  QStringList items{ownItem};
  items += installed;
  const QString chosen = spelling ? spelling->ChosenDictionary() : QString();
  auto* dialog = new QInputDialog(views.window);
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  dialog->setObjectName("spellingDictionaryDialog");
  dialog->setWindowTitle(tr("Spelling dictionary"));
  dialog->setLabelText(tr("Check the spelling of this project's topics with:"));
  dialog->setComboBoxItems(items);
  dialog->setComboBoxEditable(false);
  dialog->setTextValue(chosen.isEmpty() ? ownItem : chosen);
  const QString projectFile = project.ProjectFile();
  connect(dialog, &QInputDialog::textValueSelected, this, [this, ownItem, projectFile](const QString& item) {
    if (project.ProjectFile() != projectFile) return;
    const QString path = WordListPath(projectFile);
    Result<WordList> list = ReadWordList(path);
    if (!list) {
      ShowError(views.window, list.Message());
      return;
    }
    list->dictionary = item == ownItem ? QString() : item;
    if (const Status written = WriteWordList(path, *list); !written) {
      ShowError(views.window, written.Message());
      return;
    }
    openKey.clear();
    CheckPage();
  });
  dialog->open();
}
