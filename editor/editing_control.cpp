#include "editor/editing_control.h"

#include <QApplication>
#include <QClipboard>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QMimeData>
#include <QTimer>
#include <QVBoxLayout>
#include <QWebChannel>
#include <QWebEngineLoadingInfo>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineSettings>
#include <QWebEngineUrlScheme>
#include <QWebEngineView>
#include <memory>

#include "editor/editor_page.h"
#include "editor/html_drop.h"
#include "editor/page_scheme.h"
#include "editor/page_split.h"
#include "editor/paste_cleaning.h"
#include "platform/text_file.h"

namespace {

constexpr int kCallTimeoutMs = 5000;
constexpr int kLoadWaitMs = 30000;
constexpr int kIdleWaitMs = 30000;
// Marks what the editor itself put on the clipboard.
const QString kOwnCopyFormat = QStringLiteral("application/x-orvex-editor-copy");

// A JavaScript literal for a value (strings quoted and escaped, maps as objects).
QString JsLiteral(const QVariant& value) {
  const QByteArray json =
      QJsonDocument(QJsonArray{QJsonValue::fromVariant(value)}).toJson(QJsonDocument::Compact);
  return QString::fromUtf8(json.mid(1, json.size() - 2));
}

QString Flag(bool on) { return on ? QStringLiteral("true") : QStringLiteral("false"); }

QString ReadResource(const QString& name) {
  QFile f(name);
  if (!f.open(QIODevice::ReadOnly)) return {};
  return QString::fromUtf8(f.readAll());
}

// Waits in a local event loop until done() holds or the deadline passes.
// Returns done().
bool SpinUntil(const std::function<bool()>& done, int timeoutMs, QEventLoop* loop,
               QEventLoop::ProcessEventsFlags flags = QEventLoop::ExcludeUserInputEvents) {
  if (done()) return true;
  const QDeadlineTimer deadline(timeoutMs);
  QTimer tick;
  tick.setInterval(5);
  QObject::connect(&tick, &QTimer::timeout, loop, [&] {
    if (done() || deadline.hasExpired()) loop->quit();
  });
  tick.start();
  loop->exec(flags);
  return done();
}

}  // namespace

struct EditingControl::Impl {
  EditingControl* q = nullptr;
  QWebEngineProfile* profile = nullptr;
  EditorSchemeHandler* handler = nullptr;
  EditorPage* page = nullptr;
  QWebEngineView* view = nullptr;
  QWebChannel* channel = nullptr;
  EditorHost* host = nullptr;
  QTimer* displayTimer = nullptr;

  PageParts parts;
  QString source;  // the text the current page was loaded from
  QString baseFolder;
  QUrl docUrl;
  int generation = 0;
  bool loaded = false;   // a page was ever asked for
  bool loading = false;  // a load is under way
  bool carryDirty = false;
  int pending = 0;  // synchronous calls waiting for the page
  int codePage = 0;
  bool showDetails = false;
  bool showBorders = false;
  bool snapToGrid = false;
  bool readOnly = false;
  DialogHandler dialogs;

  QString ViewOptions() const {
    return QStringLiteral("{details:%1,borders:%2,snap:%3,dirty:%4,editable:%5}")
        .arg(showDetails ? "true" : "false", showBorders ? "true" : "false", snapToGrid ? "true" : "false",
             carryDirty ? "true" : "false", readOnly ? "false" : "true");
  }

  // Served folder as a path with '/' and a trailing separator.
  QString ServedFolder() const {
    QString f = baseFolder;
    f.replace(u'\\', u'/');
    if (f.isEmpty()) f = QStringLiteral("/~orvex-nobase/");
    if (!f.endsWith(u'/')) f += u'/';
    return f;
  }

  void StartLoad(const QString& html, bool dirty) {
    source = html;
    parts = SplitPage(html);
    ++generation;
    docUrl = EditorSchemeUrl(ServedFolder() + QStringLiteral("~orvex-edit-%1.htm").arg(generation));
    handler->SetDocument(docUrl, QByteArray("\xEF\xBB\xBF") + ServedPage(parts).toUtf8());
    page->SetAllowedUrl(docUrl);
    carryDirty = dirty;
    loaded = true;
    loading = true;
    page->load(docUrl);
  }

  void LoadingChanged(const QWebEngineLoadingInfo& info) {
    if (info.url() != docUrl || info.status() == QWebEngineLoadingInfo::LoadStartedStatus) return;
    const int gen = generation;
    QPointer<EditingControl> self(q);
    page->runJavaScript(
        QStringLiteral("typeof __orvex !== 'undefined' && __orvex.init(%1)").arg(ViewOptions()),
        QWebEngineScript::ApplicationWorld, [self, gen](const QVariant&) {
          if (self && self->d->generation == gen) self->d->loading = false;
        });
  }

  int CallTimeout() const { return kCallTimeoutMs + int(source.size() / 256); }

  // Runs script in the editor's own world and waits for its answer; an
  // invalid QVariant when the page doesn't answer in time or the control
  // goes away meanwhile.
  QVariant Call(const QString& script, int timeoutMs = 0) {
    if (!loaded) return {};
    QPointer<EditingControl> self(q);
    if (timeoutMs <= 0) timeoutMs = CallTimeout();
    ++pending;
    if (loading) {
      QEventLoop wait;
      SpinUntil([&] { return !self || !self->d->loading; }, kLoadWaitMs, &wait);
      if (!self) return {};
    }
    struct Answer {
      bool done = false;
      QVariant value;
      QPointer<QEventLoop> loop;
    };
    auto answer = std::make_shared<Answer>();
    QEventLoop loop;
    answer->loop = &loop;
    page->runJavaScript(script, QWebEngineScript::ApplicationWorld, [answer](const QVariant& v) {
      answer->value = v;
      answer->done = true;
      if (answer->loop) answer->loop->quit();
    });
    SpinUntil([&] { return answer->done || !self; }, timeoutMs, &loop);
    if (!self) return {};
    --pending;
    return answer->value;
  }

  void Post(const QString& script) {
    if (loaded) page->runJavaScript(script, QWebEngineScript::ApplicationWorld);
  }

  // The page as it stands, for reloading it.
  QString CurrentHtml() {
    if (!loaded) return EmptyPageHtml();
    if (loading) return source;
    return q->DocumentHTML();
  }

  bool Modified() { return loaded && StatusEnabled(q->QueryStatus(decmd::Undo)); }

  void Copy(bool cut) {
    const QVariantMap data = Call(QStringLiteral("__orvex.selectionData()")).toMap();
    if (data.isEmpty()) return;
    auto* mime = new QMimeData;
    mime->setHtml(data.value(QStringLiteral("html")).toString());
    mime->setText(data.value(QStringLiteral("text")).toString());
    mime->setData(kOwnCopyFormat, QByteArrayLiteral("1"));
    QGuiApplication::clipboard()->setMimeData(mime);
    if (cut) Call(QStringLiteral("__orvex.deleteSelection()"));
  }

  // Puts the HTML of pasted or dropped data at the caret. What was copied
  // from a page here comes back as it was; HTML from other programs comes
  // without their scripts and office markup.
  void InsertHtml(const QMimeData& mime) {
    const bool own = mime.hasFormat(kOwnCopyFormat);
    const QString html = own ? ClipboardFragment(mime.html()) : PastableHtml(mime.html());
    Call(QStringLiteral("__orvex.pasteClipboard(%1, true, %2)").arg(JsLiteral(html), Flag(own)));
  }

  // HTML dropped at a point of the view (its pixels) lands there.
  bool DropHtml(const QPointF& at, const QMimeData& mime) {
    if (!loaded || readOnly) return false;
    const QPointF inPage = at / page->zoomFactor();
    Call(QStringLiteral("__orvex.caretAt(%1, %2)").arg(inPage.x()).arg(inPage.y()));
    InsertHtml(mime);
    return true;
  }

  void Paste(bool plain = false) {
    const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
    if (!mime) return;
    if (mime->hasHtml() && !plain) {
      InsertHtml(*mime);
    } else if (mime->hasText()) {
      Call(QStringLiteral("__orvex.pasteClipboard(%1, false)").arg(JsLiteral(mime->text())));
    }
  }
};

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
                       ReadResource(QStringLiteral(":/orvex/editor/editor.js")));
  script.setInjectionPoint(QWebEngineScript::DocumentReady);
  script.setWorldId(QWebEngineScript::ApplicationWorld);
  script.setRunsOnSubFrames(false);
  d->page->scripts().insert(script);

  d->host = new EditorHost(this);
  d->channel = new QWebChannel(this);
  d->channel->registerObject(QStringLiteral("host"), d->host);
  d->page->setWebChannel(d->channel, QWebEngineScript::ApplicationWorld);
  // The page reports every selection change; one event per burst is enough.
  d->displayTimer = new QTimer(this);
  d->displayTimer->setSingleShot(true);
  d->displayTimer->setInterval(20);
  connect(d->displayTimer, &QTimer::timeout, this, &EditingControl::OnDisplayChanged);
  connect(d->host, &EditorHost::DisplayChanged, d->displayTimer, [this] {
    if (!d->displayTimer->isActive()) d->displayTimer->start();
  });

  d->view = new QWebEngineView(this);
  new HtmlDropFilter(d->view, this,
                     [this](const QPointF& at, const QMimeData& mime) { return d->DropHtml(at, mime); });
  d->view->setPage(d->page);
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

bool EditingControl::Busy() const { return d->loading || d->pending > 0; }

int EditingControl::CodePage() const { return d->codePage; }
void EditingControl::SetCodePage(int codePage) { d->codePage = codePage; }
void EditingControl::SetDialogHandler(DialogHandler handler) { d->dialogs = std::move(handler); }
QStringList EditingControl::RequestLog() const { return d->handler->RequestLog(); }

void EditingControl::PastePlainText() { d->Paste(true); }

bool EditingControl::FindText(const QString& text, const FindOptions& options) {
  if (text.isEmpty()) return false;
  return d
      ->Call(QStringLiteral("__orvexFindReplace.find(%1, %2, %3, %4)")
                 .arg(JsLiteral(text), Flag(options.MatchCase), Flag(options.Backwards),
                      Flag(options.WholeWord)))
      .toBool();
}

bool EditingControl::ReplaceText(const QString& text, const QString& replacement,
                                 const FindOptions& options) {
  if (text.isEmpty() || d->readOnly) return false;
  return d
      ->Call(QStringLiteral("__orvexFindReplace.replace(%1, %2, %3, %4, %5)")
                 .arg(JsLiteral(text), JsLiteral(replacement), Flag(options.MatchCase),
                      Flag(options.Backwards), Flag(options.WholeWord)))
      .toMap()
      .value(QStringLiteral("found"))
      .toBool();
}

int EditingControl::ReplaceAllText(const QString& text, const QString& replacement,
                                   const FindOptions& options) {
  if (text.isEmpty() || d->readOnly) return 0;
  return d
      ->Call(
          QStringLiteral("__orvex.replaceAll(%1, %2, %3, %4)")
              .arg(JsLiteral(text), JsLiteral(replacement), Flag(options.MatchCase), Flag(options.WholeWord)))
      .toInt();
}

void EditingControl::NewDocument() { d->StartLoad(EmptyPageHtml(), false); }

bool EditingControl::LoadDocument(const QString& path) {
  const Result<QString> text = ReadTextFile(path, d->codePage);
  if (!text) return false;
  d->StartLoad(*text, false);
  return true;
}

bool EditingControl::SaveDocument(const QString& path) {
  return WriteTextFile(path, DocumentHTML(), d->codePage).Ok();
}

void EditingControl::Refresh() {
  const bool dirty = d->Modified();
  d->StartLoad(d->CurrentHtml(), dirty);
}

std::optional<QString> EditingControl::TryDocumentHTML() {
  if (!d->loaded) return QString();
  const PageParts parts = d->parts;
  QPointer<EditingControl> self(this);
  const QVariant body = d->Call(parts.Whole ? QStringLiteral("__orvex.serializeDocument()")
                                            : QStringLiteral("__orvex.serializeBody()"));
  if (!self || body.typeId() != QMetaType::QString || body.toString().isEmpty()) return std::nullopt;
  if (parts.Whole) return body.toString();
  return parts.Prefix + body.toString() + parts.Suffix;
}

QString EditingControl::DocumentHTML() {
  // A page that didn't answer gives the text it was loaded from, never an
  // empty page that would overwrite the file.
  const QString fallback = d->source;
  return TryDocumentHTML().value_or(fallback);
}

void EditingControl::SetDocumentHTML(const QString& html) { d->StartLoad(html, false); }

QString EditingControl::BaseURL() const { return d->baseFolder; }

void EditingControl::SetBaseURL(const QString& folder) {
  if (folder == d->baseFolder) return;
  if (!d->loaded) {
    d->baseFolder = folder;
    return;
  }
  // The page is served again from the new folder, keeping its text and its
  // changed state.
  const bool dirty = d->loading ? d->carryDirty : d->Modified();
  const QString html = d->loading ? d->source : DocumentHTML();
  d->baseFolder = folder;
  d->StartLoad(html, dirty);
}

bool EditingControl::ShowDetails() const { return d->showDetails; }
bool EditingControl::ShowBorders() const { return d->showBorders; }
bool EditingControl::SnapToGrid() const { return d->snapToGrid; }

void EditingControl::SetShowDetails(bool on) {
  d->showDetails = on;
  d->Post(QStringLiteral("typeof __orvex !== 'undefined' && __orvex.setView(%1)").arg(d->ViewOptions()));
}
void EditingControl::SetShowBorders(bool on) {
  d->showBorders = on;
  d->Post(QStringLiteral("typeof __orvex !== 'undefined' && __orvex.setView(%1)").arg(d->ViewOptions()));
}
void EditingControl::SetSnapToGrid(bool on) {
  d->snapToGrid = on;
  d->Post(QStringLiteral("typeof __orvex !== 'undefined' && __orvex.setView(%1)").arg(d->ViewOptions()));
}

bool EditingControl::ReadOnly() const { return d->readOnly; }
void EditingControl::SetReadOnly(bool on) {
  if (d->readOnly == on) return;
  d->readOnly = on;
  d->Post(QStringLiteral("typeof __orvex !== 'undefined' && __orvex.setView(%1)").arg(d->ViewOptions()));
}

QString EditingControl::DocumentTitle() { return d->loaded ? PageTitle(d->parts) : QString(); }

void EditingControl::SetBodyBgColor(const QString& color) {
  d->Call(QStringLiteral("__orvex.setBodyBgColor(%1)").arg(JsLiteral(color)));
}

void EditingControl::PlaceCaretAfterLink(const QString& href) {
  d->Call(QStringLiteral("__orvex.caretAfterLink(%1)").arg(JsLiteral(href)));
}

int EditingControl::QueryStatus(int command) {
  if (!d->loaded || d->readOnly) return decmd::Disabled;
  switch (command) {
    case decmd::FindText:
    case decmd::Font:
      return decmd::Enabled;
    case decmd::Paste: {
      const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
      return mime && (mime->hasHtml() || mime->hasText()) ? decmd::Enabled : decmd::Disabled;
    }
    default:
      break;
  }
  const QVariant v = d->Call(QStringLiteral("__orvex.queryStatus(%1)").arg(command));
  return v.isValid() ? v.toInt() : decmd::Disabled;
}

EditingControl::FormatState EditingControl::QueryFormatState() {
  FormatState state;
  if (!d->loaded) return state;
  const QVariantMap v = d->Call(QStringLiteral("__orvex.formatState()")).toMap();
  if (v.isEmpty()) return state;
  state.bold = v.value(QStringLiteral("bold")).toInt();
  state.italic = v.value(QStringLiteral("italic")).toInt();
  state.underline = v.value(QStringLiteral("underline")).toInt();
  state.fontEnabled = v.value(QStringLiteral("fontEnabled")).toBool();
  const QVariant size = v.value(QStringLiteral("fontSize"));
  if (size.isValid() && !size.isNull()) state.fontSize = size.toInt();
  const QVariant name = v.value(QStringLiteral("fontName"));
  if (name.typeId() == QMetaType::QString) state.fontName = name;
  return state;
}

void EditingControl::ExecCommand(int command, int option, QVariant& arg) {
  if (!d->loaded || d->readOnly) return;
  const bool prompt = option == decmd::PromptUser;
  switch (command) {
    case decmd::Copy:
      d->Copy(false);
      return;
    case decmd::Cut:
      d->Copy(true);
      return;
    case decmd::Paste:
      d->Paste();
      return;
    case decmd::FindText:
    case decmd::Font:
      if (d->dialogs) d->dialogs(command, arg);
      return;
    case decmd::Hyperlink:
    case decmd::Image:
      if (prompt || arg.typeId() != QMetaType::QString || arg.toString().isEmpty()) {
        if (d->dialogs) d->dialogs(command, arg);
        return;
      }
      break;
    case decmd::InsertTable:
      if (prompt || arg.typeId() != QMetaType::QVariantMap) {
        if (d->dialogs) d->dialogs(command, arg);
        return;
      }
      break;
    default:
      break;
  }
  QVariant value = arg;
  if ((command == decmd::SetForeColor || command == decmd::SetBackColor) && value.canConvert<int>() &&
      value.typeId() != QMetaType::QString) {
    value = value.toInt();
  }
  const QVariant result = d->Call(QStringLiteral("__orvex.exec(%1, %2)").arg(command).arg(JsLiteral(value)));
  if (command == decmd::GetFontName) {
    arg = result.typeId() == QMetaType::QString ? result : QVariant();
  } else if (command == decmd::GetFontSize) {
    arg = result.isValid() && !result.isNull() ? QVariant(result.toInt()) : QVariant();
  }
}

TextRange EditingControl::SelectionRange() {
  TextRange range;
  // Nothing is inserted into a read-only page.
  if (d->readOnly) return range;
  const QVariant id = d->Call(QStringLiteral("__orvex.createRange()"));
  if (!id.isValid()) return range;
  range.Owner = this;
  range.Id = id.toInt();
  range.Generation = d->generation;
  return range;
}

// ---- text ranges -----------------------------------------------------------

namespace {
// The owner when the range still names a range of its current page.
EditingControl* LiveOwner(const QPointer<EditingControl>& owner, int id) {
  return owner && id > 0 ? owner.data() : nullptr;
}
}  // namespace

int TextRange::moveStart(const QString& unit, int count) {
  EditingControl* o = LiveOwner(Owner, Id);
  if (!o || o->d->generation != Generation) return 0;
  return o->d->Call(QStringLiteral("__orvex.moveStart(%1, %2, %3)").arg(Id).arg(JsLiteral(unit)).arg(count))
      .toInt();
}

int TextRange::moveEnd(const QString& unit, int count) {
  EditingControl* o = LiveOwner(Owner, Id);
  if (!o || o->d->generation != Generation) return 0;
  return o->d->Call(QStringLiteral("__orvex.moveEnd(%1, %2, %3)").arg(Id).arg(JsLiteral(unit)).arg(count))
      .toInt();
}

void TextRange::Collapse(bool toStart) {
  EditingControl* o = LiveOwner(Owner, Id);
  if (!o || o->d->generation != Generation) return;
  o->d->Call(QStringLiteral("__orvex.collapse(%1, %2)").arg(Id).arg(toStart ? "true" : "false"));
}

QString TextRange::htmltext() const {
  EditingControl* o = LiveOwner(Owner, Id);
  if (!o || o->d->generation != Generation) return {};
  return o->d->Call(QStringLiteral("__orvex.htmlText(%1)").arg(Id)).toString();
}

QString TextRange::text() const {
  EditingControl* o = LiveOwner(Owner, Id);
  if (!o || o->d->generation != Generation) return {};
  return o->d->Call(QStringLiteral("__orvex.text(%1)").arg(Id)).toString();
}

QString TextRange::parentElementTag() const {
  EditingControl* o = LiveOwner(Owner, Id);
  if (!o || o->d->generation != Generation) return {};
  return o->d->Call(QStringLiteral("__orvex.parentTag(%1)").arg(Id)).toString();
}

void TextRange::pasteHTML(const QString& html) {
  EditingControl* o = LiveOwner(Owner, Id);
  if (!o || o->d->generation != Generation) return;
  o->d->Call(QStringLiteral("__orvex.pasteHTML(%1, %2)").arg(Id).arg(JsLiteral(html)));
}

// ---- free functions --------------------------------------------------------

void WaitEditorIdle(EditingControl* editor) {
  // Events are handled in a local loop with a short tick rather than with
  // sleeps in between: the engine's own work runs on this thread's events,
  // and sleeping would hold up every step of a page load.
  QPointer<EditingControl> guard(editor);
  QEventLoop loop;
  SpinUntil([&] { return !guard || !guard->Busy(); }, kIdleWaitMs, &loop, QEventLoop::AllEvents);
}

void RegisterUrlSchemes() {
  const QByteArray name(kEditorScheme);
  if (QWebEngineUrlScheme::schemeByName(name).name() == name) return;
  QWebEngineUrlScheme scheme(name);
  scheme.setSyntax(QWebEngineUrlScheme::Syntax::Path);
  scheme.setFlags(QWebEngineUrlScheme::SecureScheme | QWebEngineUrlScheme::LocalAccessAllowed |
                  QWebEngineUrlScheme::CorsEnabled);
  QWebEngineUrlScheme::registerScheme(scheme);
}
