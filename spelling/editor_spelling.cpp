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

EditorSpelling::EditorSpelling(const HelpProject& project, Views views, QObject* parent)
    : QObject(parent), m_project(project), m_views(std::move(views)) {
  if (m_views.dictionaryFolders.isEmpty()) m_views.dictionaryFolders = DictionaryFolders();
  QWebEnginePage* page = m_views.editor->View()->page();
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
  m_delay = new QTimer(this);
  m_delay->setSingleShot(true);
  m_delay->setInterval(kCheckDelayMs);
  connect(m_delay, &QTimer::timeout, this, &EditorSpelling::CheckPage);
  connect(m_views.editor, &EditingControl::OnDisplayChanged, m_delay, qOverload<>(&QTimer::start));
  connect(page, &QWebEnginePage::loadStarted, this, [this] { ++m_loads; });
  connect(page, &QWebEnginePage::loadFinished, this, [this] { m_delay->start(); });

  if (m_views.statusBar) {
    m_state = new QLabel(m_views.statusBar);
    m_state->setObjectName("spellingState");
    m_views.statusBar->addPermanentWidget(m_state);
  }
  if (m_views.toolsMenu) {
    m_chooseAction = m_views.toolsMenu->addAction(tr("Spelling &dictionary..."));
    m_chooseAction->setObjectName("spellingDictionaryAction");
    connect(m_chooseAction, &QAction::triggered, this, &EditorSpelling::ChooseDictionary);
  }
  ShowState();
}

EditorSpelling::~EditorSpelling() {
  if (m_opening) m_opening->wait();
}

QString EditorSpelling::OpenKey() const {
  return m_project.ProjectFile() + u'\n' + QString::number(ProjectLanguageLcid(m_project.ProjectLines()));
}

void EditorSpelling::FollowProject() {
  if (!m_project.IsOpen()) {
    if (!m_openKey.isEmpty()) {
      m_openKey.clear();
      m_spelling.reset();
      ShowState();
    }
    return;
  }
  const QString key = OpenKey();
  if (key == m_openKey) return;
  m_openKey = key;
  Open(m_project.ProjectFile(), m_project.ProjectLines());
}

void EditorSpelling::Open(const QString& projectFile, const QStringList& projectLines) {
  m_spelling.reset();
  ShowState();
  // A dictionary takes a moment to read: it is read off the window's thread.
  auto opened = std::make_shared<std::shared_ptr<ProjectSpelling>>();
  const QStringList folders = m_views.dictionaryFolders;
  QThread* worker = QThread::create([opened, projectFile, projectLines, folders] {
    *opened = ProjectSpelling::Open(projectFile, projectLines, folders);
  });
  const QString key = m_openKey;
  connect(worker, &QThread::finished, worker, &QObject::deleteLater);
  connect(worker, &QThread::finished, this, [this, opened, key] {
    if (key != m_openKey) return;  // another project or language meanwhile
    m_spelling = *opened;
    ShowState();
    CheckPage();
  });
  if (m_opening) m_opening->wait();
  m_opening = worker;
  worker->start();
}

void EditorSpelling::ShowState() {
  if (m_chooseAction) m_chooseAction->setEnabled(m_project.IsOpen());
  if (!m_state) return;
  QString text;
  QString tip;
  if (!m_project.IsOpen()) {
    text.clear();
  } else if (!m_spelling) {
    text = tr("Spelling: opening the dictionary ...");
  } else if (!m_spelling->NotChecked().isEmpty()) {
    tip = m_spelling->NotChecked();
    text = tip.section(QStringLiteral(". "), 0, 0);
    if (!text.endsWith(u'.')) text += u'.';
  } else {
    text = tr("Spelling: %1").arg(m_spelling->DictionaryName());
    tip = tr("Words are checked with the dictionary %1 and the project's word list %2.")
              .arg(m_spelling->DictionaryName(), WordListPath(m_spelling->ProjectFile()));
  }
  m_state->setText(text);
  m_state->setToolTip(tip);
}

void EditorSpelling::RunScript(const QString& script, const std::function<void(const QVariant&)>& done) {
  const QString guarded = QStringLiteral("typeof __orvexSpelling === 'undefined' ? null : ") + script;
  QWebEnginePage* page = m_views.editor->View()->page();
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
  if (!m_spelling || !m_spelling->NotChecked().isEmpty()) {
    RunScript(QStringLiteral("__orvexSpelling.clear()"));
    return;
  }
  const int load = m_loads;
  RunScript(QStringLiteral("__orvexSpelling.collect()"),
            [this, load](const QVariant& collected) { ShowMarks(load, collected); });
}

void EditorSpelling::ShowMarks(int load, const QVariant& collected) {
  const QVariantMap answer = collected.toMap();
  if (load != m_loads || answer.isEmpty() || !m_spelling) return;
  const std::shared_ptr<ProjectSpelling> spelling = m_spelling;
  QJsonArray marks;
  const QVariantList runs = answer.value(QStringLiteral("runs")).toList();
  for (qsizetype i = 0; i < runs.size(); ++i) {
    const QString run = runs.at(i).toString();
    for (const TextWord& word : TextWords(run)) {
      if (!spelling->IsCorrect(word.Text))
        marks.append(QJsonArray{int(i), int(word.Position), int(word.Text.size()), word.Text});
    }
  }
  RunScript(QStringLiteral("__orvexSpelling.show(%1, %2)")
                .arg(answer.value(QStringLiteral("id")).toInt())
                .arg(JsonOf(marks)),
            [this, load](const QVariant&) {
              if (load == m_loads) emit Checked();
            });
}

void EditorSpelling::PrepareMenu(QMenu* menu, const QPoint& globalPos, std::function<void()> show) {
  QWebEngineView* view = m_views.editor->View();
  PrepareMenuFor(menu, QPointF(view->mapFromGlobal(globalPos)) / view->page()->zoomFactor(), std::move(show));
}

void EditorSpelling::PrepareMenuAtCaret(QMenu* menu, std::function<void()> show) {
  PrepareMenuFor(menu, QPointF(-1, -1), std::move(show));
}

void EditorSpelling::PrepareMenuFor(QMenu* menu, QPointF at, std::function<void()> show) {
  qDeleteAll(m_menuItems);
  m_menuItems.clear();
  if (!m_spelling || !m_spelling->NotChecked().isEmpty() || m_views.editor->ReadOnly()) {
    show();
    return;
  }
  QPointer<QMenu> target(menu);
  RunScript(QStringLiteral("__orvexSpelling.wordAt(%1, %2)").arg(at.x()).arg(at.y()),
            [this, target, show](const QVariant& found) {
              const QVariantMap mark = found.toMap();
              const QString word = mark.value(QStringLiteral("word")).toString();
              if (target && !word.isEmpty() && m_spelling) {
                const int index = mark.value(QStringLiteral("index")).toInt();
                QAction* first = target->actions().value(0);
                QStringList suggestions = m_spelling->Suggestions(word);
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
                  m_menuItems.append(item);
                }
                if (suggestions.isEmpty()) {
                  auto* none = new QAction(tr("(no suggestions)"), target);
                  none->setEnabled(false);
                  m_menuItems.append(none);
                }
                auto* add = new QAction(tr("Add \"%1\" to dictionary").arg(word), target);
                add->setObjectName("addToDictionaryAction");
                connect(add, &QAction::triggered, this, [this, word] { AddToDictionary(word); });
                auto* ignore = new QAction(tr("Ignore \"%1\"").arg(word), target);
                ignore->setObjectName("ignoreWordAction");
                connect(ignore, &QAction::triggered, this, [this, word] {
                  if (m_spelling) m_spelling->IgnoreWord(word);
                  CheckPage();
                });
                auto* separator = new QAction(target);
                separator->setSeparator(true);
                m_menuItems << add << ignore << separator;
                target->insertActions(first, m_menuItems);
              }
              show();
            });
}

void EditorSpelling::AddToDictionary(const QString& word) {
  if (!m_spelling) return;
  if (const Status added = m_spelling->AddWord(word); !added) {
    ShowError(m_views.window, added.Message());
    return;
  }
  CheckPage();
}

SpellingSource EditorSpelling::Source() const {
  const std::shared_ptr<ProjectSpelling> spelling = m_spelling;
  const QString projectFile = m_project.ProjectFile();
  const QStringList projectLines = m_project.ProjectLines();
  const QStringList folders = m_views.dictionaryFolders;
  const bool current = spelling && spelling->ProjectFile() == projectFile && m_openKey == OpenKey();
  return [spelling, current, projectFile, projectLines, folders]() -> std::shared_ptr<const WordSpelling> {
    if (current) return spelling;
    return ProjectSpelling::Open(projectFile, projectLines, folders);
  };
}

void EditorSpelling::ChooseDictionary() {
  if (!m_project.IsOpen()) return;
  const QStringList installed = InstalledDictionaries(m_views.dictionaryFolders);
  if (installed.isEmpty()) {
    ShowError(m_views.window,
              tr("No spelling dictionary is installed: install Debian's hunspell package for your language "
                 "(hunspell-en-us, hunspell-de-de, hunspell-fr ...)."));
    return;
  }
  const int lcid = ProjectLanguageLcid(m_project.ProjectLines());
  const std::optional<DictionaryFiles> own = DictionaryForLanguage(lcid, m_views.dictionaryFolders);
  const QString ownItem = own ? tr("The project's language (%1)").arg(own->Name)
                              : tr("The project's language (no dictionary installed)");
  QStringList items{ownItem};
  items += installed;
  const QString chosen = m_spelling ? m_spelling->ChosenDictionary() : QString();
  auto* dialog = new QInputDialog(m_views.window);
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  dialog->setObjectName("spellingDictionaryDialog");
  dialog->setWindowTitle(tr("Spelling dictionary"));
  dialog->setLabelText(tr("Check the spelling of this project's topics with:"));
  dialog->setComboBoxItems(items);
  dialog->setComboBoxEditable(false);
  dialog->setTextValue(chosen.isEmpty() ? ownItem : chosen);
  const QString projectFile = m_project.ProjectFile();
  connect(dialog, &QInputDialog::textValueSelected, this, [this, ownItem, projectFile](const QString& item) {
    if (m_project.ProjectFile() != projectFile) return;
    const QString path = WordListPath(projectFile);
    Result<WordList> list = ReadWordList(path);
    if (!list) {
      ShowError(m_views.window, list.Message());
      return;
    }
    list->Dictionary = item == ownItem ? QString() : item;
    if (const Status written = WriteWordList(path, *list); !written) {
      ShowError(m_views.window, written.Message());
      return;
    }
    m_openKey.clear();
    CheckPage();
  });
  dialog->open();
}
