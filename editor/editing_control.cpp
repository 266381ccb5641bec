#include "editor/editing_control.h"

#include "editor/editing_control_impl.h"

EditingControl::EditingControl(QWidget* parent) : QWidget(parent), d(new Impl) {
  d->q = this;
  // Off the record and owned here: nothing of the topics is kept on disk.
  d->profile = new QWebEngineProfile;
  d->handler = new EditorSchemeHandler(this);
  d->profile->installUrlSchemeHandler(kEditorScheme, d->handler);

  d->page = new EditorPage(d->profile);
  QWebEngineSettings* s = d->page->settings();
  // The topic's own scripts never run here; the editor's script lives in a
  // world of its own, which this setting leaves alone.
  s->setAttribute(QWebEngineSettings::JavascriptEnabled, false);
  s->setAttribute(QWebEngineSettings::PluginsEnabled, false);
  s->setAttribute(QWebEngineSettings::AutoLoadImages, true);
  s->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, false);

  QWebEngineScript script;
  script.setName(QStringLiteral("orvex-editor"));
  script.setSourceCode(ReadResource(QStringLiteral(":/qtwebchannel/qwebchannel.js")) + u'\n' +
                       EditorCommandTableScript() +
                       ReadResource(QStringLiteral(":/orvex/editor/page_serializer.js")) +
                       ReadResource(QStringLiteral(":/orvex/editor/object_placeholders.js")) +
                       ReadResource(QStringLiteral(":/orvex/editor/find_replace.js")) +
                       ReadResource(QStringLiteral(":/orvex/editor/table_editing.js")) +
                       ReadResource(QStringLiteral(":/orvex/editor/selection_helpers.js")) +
                       ReadResource(QStringLiteral(":/orvex/editor/editor.js")));
  script.setInjectionPoint(QWebEngineScript::DocumentReady);
  script.setWorldId(QWebEngineScript::ApplicationWorld);
  script.setRunsOnSubFrames(false);
  d->page->scripts().insert(script);

  d->host = new EditorHost(this);
  d->channel = new QWebChannel(this);
  d->channel->registerObject(QStringLiteral("host"), d->host);
  d->page->setWebChannel(d->channel, QWebEngineScript::ApplicationWorld);
  // The page pushes its state as it changes; one event per burst is enough.
  d->displayTimer = new QTimer(this);
  d->displayTimer->setSingleShot(true);
  d->displayTimer->setInterval(20);
  connect(d->displayTimer, &QTimer::timeout, this, &EditingControl::OnDisplayChanged);
  connect(d->host, &EditorHost::StateChanged, this,
          [this](const QVariantMap& pushed) { d->TakeState(pushed); });
  d->answerTimer = new QTimer(this);
  d->answerTimer->setSingleShot(true);
  d->answerTimer->setInterval(kAnswerTimeoutMs);
  connect(d->answerTimer, &QTimer::timeout, this, [this] { d->AnswerTimedOut(); });

  d->view = new QWebEngineView(this);
  new HtmlDropFilter(d->view, this,
                     [this](const QPointF& at, const QMimeData& mime) { return d->DropHtml(at, mime); });
  d->view->setPage(d->page);
  // Typing and clicks count as sent to the page; while a settle waits they are held.
  d->input = new InputHold(d->view, [this] { ++d->sentSeq; });
  d->view->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(d->view, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& pos) { emit OnShowContextMenu(d->view->mapToGlobal(pos)); });
  connect(d->page, &QWebEnginePage::loadingChanged, this,
          [this](const QWebEngineLoadingInfo& info) { d->LoadingChanged(info); });

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(d->view);
  setFocusProxy(d->view);

  if (auto* app = qobject_cast<QApplication*>(QCoreApplication::instance())) {
    connect(app, &QApplication::focusChanged, this, [this](QWidget* old, QWidget* now) {
      const bool wasIn = old && (old == this || isAncestorOf(old));
      const bool isIn = now && (now == this || isAncestorOf(now));
      if (isIn && !wasIn) emit FocusEntered();
      if (wasIn && !isIn) emit FocusExited();
      // A page loaded anew brings the engine a widget of its own and the
      // one that had the keyboard goes with the old page: the keyboard
      // stays with the editor, as nothing else took it.
      if (wasIn && !now) {
        QTimer::singleShot(0, this, [this] {
          if (!QApplication::focusWidget() && isVisible() && window()->isActiveWindow())
            setFocus(Qt::OtherFocusReason);
        });
      }
    });
  }
}

EditingControl::~EditingControl() {
  // The page goes before its profile.
  delete d->view;
  d->view = nullptr;
  delete d->page;
  d->page = nullptr;
  d->profile->removeAllUrlSchemeHandlers();
  delete d->profile;
  delete d;
}

QWebEngineView* EditingControl::View() const { return d->view; }

bool EditingControl::Busy() const {
  return d->loading || d->pending > 0 || !d->queued.isEmpty() || !d->waiters.isEmpty();
}

int EditingControl::CodePage() const { return d->codePage; }
void EditingControl::SetCodePage(int codePage) { d->codePage = codePage; }
void EditingControl::SetDialogHandler(DialogHandler handler) { d->dialogs = std::move(handler); }
QStringList EditingControl::RequestLog() const { return d->handler->RequestLog(); }

const EditorState& EditingControl::State() const { return d->state; }

bool EditingControl::Enabled(EditorCommand command) const {
  if (!d->loaded || d->readOnly) return false;
  switch (command) {
    case EditorCommand::FindText:
    case EditorCommand::Font:
      return true;
    case EditorCommand::Paste: {
      const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
      return mime && (mime->hasHtml() || mime->hasText());
    }
    default:
      return d->state.enabled.test(size_t(command));
  }
}

bool EditingControl::On(EditorCommand command) const {
  return d->loaded && !d->readOnly && d->state.on.test(size_t(command));
}

bool EditingControl::Modified() const { return d->loaded && !d->readOnly && d->state.modified; }

void EditingControl::PastePlainText() {
  if (d->loaded && !d->readOnly) d->Paste(true);
}

void EditingControl::FindText(const QString& text, const FindOptions& options, QObject* context,
                              std::function<void(bool)> then) {
  QPointer<QObject> guard(context);
  if (text.isEmpty() || !d->loaded) {
    if (then) then(false);
    return;
  }
  d->Run(QStringLiteral("__orvex.find(%1, %2, %3, %4)")
             .arg(JsLiteral(text), Flag(options.matchCase), Flag(options.backwards), Flag(options.wholeWord)),
         [guard, then](const QVariant& v) {
           if (guard && then) then(v.toBool());
         });
}

void EditingControl::ReplaceText(const QString& text, const QString& replacement, const FindOptions& options,
                                 QObject* context, std::function<void(bool)> then) {
  QPointer<QObject> guard(context);
  if (text.isEmpty() || d->readOnly || !d->loaded) {
    if (then) then(false);
    return;
  }
  d->Run(QStringLiteral("__orvex.replace(%1, %2, %3, %4, %5)")
             .arg(JsLiteral(text), JsLiteral(replacement), Flag(options.matchCase), Flag(options.backwards),
                  Flag(options.wholeWord)),
         [guard, then](const QVariant& v) {
           if (guard && then) then(v.toMap().value(QStringLiteral("found")).toBool());
         });
}

void EditingControl::ReplaceAllText(const QString& text, const QString& replacement,
                                    const FindOptions& options, QObject* context,
                                    std::function<void(int)> then) {
  QPointer<QObject> guard(context);
  if (text.isEmpty() || d->readOnly || !d->loaded) {
    if (then) then(0);
    return;
  }
  d->Run(QStringLiteral("__orvex.replaceAll(%1, %2, %3, %4)")
             .arg(JsLiteral(text), JsLiteral(replacement), Flag(options.matchCase), Flag(options.wholeWord)),
         [guard, then](const QVariant& v) {
           if (guard && then) then(v.toInt());
         });
}

void EditingControl::NewDocument() { d->StartLoad(EmptyPageHtml(), false); }

bool EditingControl::LoadDocument(const QString& path) {
  const Result<QString> text = ReadTextFile(path, d->codePage);
  if (!text) return false;
  d->StartLoad(*text, false);
  return true;
}

void EditingControl::Refresh() {
  if (d->loaded) d->Reload();
}

void EditingControl::Settle(QObject* context, std::function<void()> then, bool withHtml) {
  QPointer<QObject> guard(context);
  // A changed page is what a continuation stores: its HTML comes along even
  // when a change was pushed after the page last answered.
  withHtml = withHtml || Modified();
  if (!d->loaded || (d->IsSettled() && (!withHtml || d->HtmlCurrent()))) {
    if (guard && then) then();
    return;
  }
  d->input->Hold();
  // A context that goes takes its continuation along at once (with what it
  // holds), and the input held for it goes on.
  QMetaObject::Connection gone;
  if (context) gone = connect(context, &QObject::destroyed, this, [this] { d->DropOrphans(); });
  d->waiters.append({guard, std::move(then), withHtml, d->sentSeq, gone});
  if (!d->answerTimer->isActive()) d->answerTimer->start();
  d->RequestSnapshot(withHtml);
}

bool EditingControl::Settled() const { return d->IsSettled(); }

bool EditingControl::HtmlCurrent() const { return d->loaded && d->HtmlCurrent(); }

QString EditingControl::DocumentHTML() const { return d->loaded ? d->cachedHtml : QString(); }

void EditingControl::FetchDocumentHTML(QObject* context, std::function<void(const QString&)> then) {
  QPointer<EditingControl> self(this);
  Settle(
      context,
      [self, then] {
        if (self && then) then(self->DocumentHTML());
      },
      true);
}

void EditingControl::SetDocumentHTML(const QString& html) { d->StartLoad(html, false); }

QString EditingControl::BaseURL() const { return d->baseFolder; }

void EditingControl::SetBaseURL(const QString& folder) {
  if (folder == d->baseFolder) return;
  d->baseFolder = folder;
  // The page is served again from the new folder, keeping its text and its
  // changed state.
  if (d->loaded) d->Reload();
}

bool EditingControl::ShowDetails() const { return d->showDetails; }
bool EditingControl::ShowBorders() const { return d->showBorders; }
bool EditingControl::SnapToGrid() const { return d->snapToGrid; }

void EditingControl::SetShowDetails(bool on) {
  d->showDetails = on;
  d->PostView();
}
void EditingControl::SetShowBorders(bool on) {
  d->showBorders = on;
  d->PostView();
}
void EditingControl::SetSnapToGrid(bool on) {
  d->snapToGrid = on;
  d->PostView();
}

bool EditingControl::ReadOnly() const { return d->readOnly; }
void EditingControl::SetReadOnly(bool on) {
  if (d->readOnly == on) return;
  d->readOnly = on;
  d->PostView();
  emit OnDisplayChanged();
}

QString EditingControl::DocumentTitle() { return d->loaded ? PageTitle(d->parts) : QString(); }

void EditingControl::SetBodyBgColor(const QString& color) {
  if (d->loaded && !d->readOnly) d->Run(QStringLiteral("__orvex.setBodyBgColor(%1)").arg(JsLiteral(color)));
}

void EditingControl::PlaceCaretAfterLink(const QString& href) {
  d->Run(QStringLiteral("__orvex.caretAfterLink(%1)").arg(JsLiteral(href)));
}

void EditingControl::Exec(EditorCommand command, const QVariant& argument, bool prompt) {
  if (!d->loaded || d->readOnly) return;
  QVariant arg = argument;
  switch (command) {
    case EditorCommand::Copy:
      d->Copy(false);
      return;
    case EditorCommand::Cut:
      d->Copy(true);
      return;
    case EditorCommand::Paste:
      d->Paste();
      return;
    case EditorCommand::FindText:
    case EditorCommand::Font:
      if (d->dialogs) d->dialogs(command, arg);
      return;
    case EditorCommand::Hyperlink:
    case EditorCommand::Image:
      if (prompt || arg.typeId() != QMetaType::QString || arg.toString().isEmpty()) {
        if (d->dialogs) d->dialogs(command, arg);
        return;
      }
      break;
    case EditorCommand::InsertTable:
      if (prompt || arg.typeId() != QMetaType::QVariantMap) {
        if (d->dialogs) d->dialogs(command, arg);
        return;
      }
      break;
    default:
      break;
  }
  if ((command == EditorCommand::SetForeColor || command == EditorCommand::SetBackColor) &&
      arg.canConvert<int>() && arg.typeId() != QMetaType::QString) {
    arg = arg.toInt();
  }
  d->Run(QStringLiteral("__orvex.exec(%1, %2)").arg(JsLiteral(EditorCommandName(command)), JsLiteral(arg)));
}

// ---- free functions --------------------------------------------------------

void RegisterUrlSchemes() {
  const QByteArray name(kEditorScheme);
  if (QWebEngineUrlScheme::schemeByName(name).name() == name) return;
  QWebEngineUrlScheme scheme(name);
  scheme.setSyntax(QWebEngineUrlScheme::Syntax::Path);
  scheme.setFlags(QWebEngineUrlScheme::SecureScheme | QWebEngineUrlScheme::LocalAccessAllowed |
                  QWebEngineUrlScheme::CorsEnabled);
  QWebEngineUrlScheme::registerScheme(scheme);
}
