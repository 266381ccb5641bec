// The editing control's side of its page: the page loaded and what it was
// loaded from, scripts sent and answered, the state the page pushes, the
// settles waiting for its answer, and the clipboard's way in and out of the
// page. Private to the control's own files.
#pragma once

#include "editor/editing_control.h"

#include <QApplication>
#include <QClipboard>
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
#include <bitset>

#include "editor/editor_page.h"
#include "editor/html_drop.h"
#include "editor/input_hold.h"
#include "editor/page_cleaning.h"
#include "editor/page_scheme.h"
#include "editor/page_split.h"
#include "editor/paste_cleaning.h"
#include "platform/text_file.h"

namespace editing_control_detail {

// A page that has not answered a settle in this time is taken as not
// answering: the work waiting for it goes on without its HTML.
inline constexpr int kAnswerTimeoutMs = 10000;
// Marks what the editor itself put on the clipboard.
inline const QString kOwnCopyFormat = QStringLiteral("application/x-orvex-editor-copy");

// A JavaScript literal for a value (strings quoted and escaped, maps as objects).
inline QString JsLiteral(const QVariant& value) {
  const QByteArray json =
      QJsonDocument(QJsonArray{QJsonValue::fromVariant(value)}).toJson(QJsonDocument::Compact);
  return QString::fromUtf8(json.mid(1, json.size() - 2));
}

inline QString Flag(bool on) { return on ? QStringLiteral("true") : QStringLiteral("false"); }

inline QString ReadResource(const QString& name) {
  QFile f(name);
  if (!f.open(QIODevice::ReadOnly)) return {};
  return QString::fromUtf8(f.readAll());
}

inline std::bitset<64> CommandSet(const QVariant& names) {
  std::bitset<64> set;
  for (const QVariant& name : names.toList())
    if (const std::optional<EditorCommand> command = EditorCommandNamed(name.toString()))
      set.set(size_t(*command));
  return set;
}

}  // namespace editing_control_detail

using namespace editing_control_detail;

struct EditingControl::Impl {
  EditingControl* q = nullptr;
  QWebEngineProfile* profile = nullptr;
  EditorSchemeHandler* handler = nullptr;
  EditorPage* page = nullptr;
  QWebEngineView* view = nullptr;
  QWebChannel* channel = nullptr;
  EditorHost* host = nullptr;
  QTimer* displayTimer = nullptr;
  QTimer* answerTimer = nullptr;
  InputHold* input = nullptr;

  PageParts parts;
  QSet<QString> authorStyles;  // the styles of the page as loaded, which storing keeps
  QString source;              // the text the current page was loaded from
  QString baseFolder;
  QUrl docUrl;
  int generation = 0;
  bool loaded = false;   // a page was ever asked for
  bool loading = false;  // a load is under way
  bool carryDirty = false;
  int codePage = 0;
  bool showDetails = false;
  bool showBorders = false;
  bool snapToGrid = false;
  bool readOnly = false;
  DialogHandler dialogs;

  // What the page pushed or answered last.
  EditorState state;
  // The page's HTML as of cachedVersion (-1: none yet; the loaded text stands in).
  QString cachedHtml;
  int cachedVersion = -1;
  // The last settle went without the page's answer.
  bool unanswered = false;

  // Commands sent and input typed, counted; answeredSeq is that count when
  // the page last answered a snapshot: equal, the state is exact.
  quint64 sentSeq = 0;
  quint64 answeredSeq = 0;
  quint64 loadSeq = 0;  // sentSeq when the current page was asked for
  int pending = 0;      // scripts of this page sent and not answered
  int copies = 0;       // copies whose clipboard data is still coming
  struct Job {
    QString script;
    std::function<void(const QVariant&)> done;
  };
  QList<Job> queued;  // sent while the page loads
  struct Waiter {
    QPointer<QObject> context;
    std::function<void()> then;
    bool withHtml = false;
    quint64 seq = 0;
    QMetaObject::Connection contextGone;
  };
  QList<Waiter> waiters;
  int nextRange = 1;

  QString ViewOptions() const {
    return QStringLiteral("{details:%1,borders:%2,snap:%3,dirty:%4,editable:%5,generation:%6}")
        .arg(Flag(showDetails), Flag(showBorders), Flag(snapToGrid), Flag(carryDirty), Flag(!readOnly))
        .arg(generation);
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
    authorStyles = AuthorStyles(parts.bodyTag + parts.bodyContent);
    ++generation;
    docUrl = EditorSchemeUrl(ServedFolder() + QStringLiteral("~orvex-edit-%1.htm").arg(generation));
    handler->SetDocument(docUrl, QByteArray("\xEF\xBB\xBF") + ServedPage(parts).toUtf8());
    page->SetAllowedUrl(docUrl);
    carryDirty = dirty;
    loaded = true;
    loading = true;
    // Nothing of the page before counts any more.
    queued.clear();
    pending = 0;
    state = EditorState{};
    state.modified = dirty;
    cachedHtml = html;
    cachedVersion = -1;
    unanswered = false;
    loadSeq = ++sentSeq;
    answerTimer->start();
    page->load(docUrl);
  }

  void LoadingChanged(const QWebEngineLoadingInfo& info) {
    if (info.url() != docUrl || info.status() == QWebEngineLoadingInfo::LoadStartedStatus) return;
    if (!loading) return;
    const int gen = generation;
    // The page's first answer covers the load, not what was sent meanwhile.
    const quint64 seq = loadSeq;
    QPointer<EditingControl> self(q);
    page->runJavaScript(
        QStringLiteral(
            "typeof __orvex !== 'undefined' && __orvex.init(%1) && __orvex.snapshot(-2, false, %2)")
            .arg(ViewOptions(), Flag(parts.whole)),
        QWebEngineScript::ApplicationWorld, [self, gen, seq](const QVariant& answer) {
          if (!self || self->d->generation != gen) return;
          Impl* d = self->d;
          d->loading = false;
          // What was sent while the page loaded goes now, in order, and
          // settles still waiting ask the page after it; only then does its
          // first answer count (its continuations may load another page).
          for (Job& job : std::exchange(d->queued, {})) d->Send(job.script, std::move(job.done));
          if (!d->waiters.isEmpty()) d->RequestSnapshot(d->AnyWaiterWantsHtml());
          d->Answered(answer.toMap(), seq);
        });
  }

  // Runs a script in the editor's own world after everything sent before;
  // `done` gets its answer (an invalid QVariant when the page went meanwhile).
  void Run(const QString& script, std::function<void(const QVariant&)> done = {}) {
    if (!loaded) return;
    ++sentSeq;
    if (loading) {
      queued.append({script, std::move(done)});
      return;
    }
    Send(script, std::move(done));
  }

  void Send(const QString& script, std::function<void(const QVariant&)> done) {
    ++pending;
    if (!answerTimer->isActive()) answerTimer->start();
    const int gen = generation;
    QPointer<EditingControl> self(q);
    page->runJavaScript(script, QWebEngineScript::ApplicationWorld, [self, gen, done](const QVariant& v) {
      if (!self || self->d->generation != gen) return;
      Impl* d = self->d;
      if (d->pending > 0) --d->pending;
      // The page answers: the time it has for the next answer starts anew.
      if (d->pending > 0 || !d->waiters.isEmpty()) {
        d->answerTimer->start();
      } else {
        d->answerTimer->stop();
      }
      if (done) done(v);
    });
  }

  // Takes what the page pushed or answered of its state.
  void TakeState(const QVariantMap& pushed) {
    if (pushed.isEmpty() || pushed.value(QStringLiteral("generation")).toInt() != generation) return;
    const int version = pushed.value(QStringLiteral("version")).toInt();
    if (version < state.version) return;  // an older push arriving late
    EditorState next;
    next.version = version;
    next.enabled = CommandSet(pushed.value(QStringLiteral("enabled")));
    next.on = CommandSet(pushed.value(QStringLiteral("on")));
    next.modified = pushed.value(QStringLiteral("modified")).toBool();
    next.fontEnabled = pushed.value(QStringLiteral("fontEnabled")).toBool();
    next.phrase = pushed.value(QStringLiteral("phrase")).toString();
    next.blockFormat = pushed.value(QStringLiteral("blockFormat")).toString();
    const QVariant size = pushed.value(QStringLiteral("fontSize"));
    if (size.isValid() && !size.isNull()) next.fontSize = size.toInt();
    const QVariant name = pushed.value(QStringLiteral("fontName"));
    if (name.typeId() == QMetaType::QString) next.fontName = name;
    state = next;
    if (!displayTimer->isActive()) displayTimer->start();
  }

  // A snapshot's answer: the state, and the HTML when the page sent it.
  void Answered(const QVariantMap& answer, quint64 seq) {
    if (answer.isEmpty()) {
      unanswered = true;
    } else {
      TakeState(answer.value(QStringLiteral("state")).toMap());
      const QVariant html = answer.value(QStringLiteral("html"));
      if (html.typeId() == QMetaType::QString) {
        cachedHtml = StoredPageText(parts, html.toString(), authorStyles);
        cachedVersion = state.version;
      }
      unanswered = false;
    }
    answeredSeq = std::max(answeredSeq, seq);
    ResolveWaiters();
  }

  bool HtmlCurrent() const { return !unanswered && cachedVersion == state.version; }
  // Nothing sent or typed since the page last answered; a page still
  // loading, with nothing sent or typed for it, is as it was given.
  bool IsSettled() const {
    if (!loaded) return true;
    if (loading) return queued.isEmpty() && sentSeq == loadSeq;
    return answeredSeq == sentSeq;
  }

  bool AnyWaiterWantsHtml() const {
    for (const Waiter& w : waiters)
      if (w.withHtml) return true;
    return false;
  }

  void RequestSnapshot(bool withHtml) {
    const quint64 seq = sentSeq;
    QPointer<EditingControl> self(q);
    auto done = [self, seq](const QVariant& answer) {
      if (self) self->d->Answered(answer.toMap(), seq);
    };
    const QString script = QStringLiteral("__orvex.snapshot(%1, %2, %3)")
                               .arg(cachedVersion)
                               .arg(Flag(withHtml), Flag(parts.whole));
    if (loading) {
      queued.append({script, done});
    } else {
      Send(script, done);
    }
  }

  // Runs the settles the page has now answered for, oldest first.
  void ResolveWaiters() {
    while (!waiters.isEmpty()) {
      const Waiter& w = waiters.first();
      const bool ready = unanswered || (answeredSeq >= w.seq && !loading && (!w.withHtml || HtmlCurrent()));
      if (!ready) break;
      Waiter done = waiters.takeFirst();
      QObject::disconnect(done.contextGone);
      input->Release();
      if (done.context) done.then();
    }
    if (waiters.isEmpty() && pending == 0) answerTimer->stop();
  }

  void DropOrphans() {
    for (qsizetype i = waiters.size() - 1; i >= 0; --i) {
      if (waiters[i].context) continue;
      QObject::disconnect(waiters[i].contextGone);
      waiters.removeAt(i);
      input->Release();
    }
    if (waiters.isEmpty() && pending == 0) answerTimer->stop();
  }

  // The page didn't answer in time: the work waiting goes on with what is known.
  void AnswerTimedOut() {
    // Answers that never came are given up, so the control is not busy for ever.
    pending = 0;
    if (loading) {
      // A page that never finished loading takes what was sent for it now.
      loading = false;
      for (Job& job : std::exchange(queued, {})) Send(job.script, std::move(job.done));
    }
    if (waiters.isEmpty()) return;
    unanswered = true;
    answeredSeq = sentSeq;
    ResolveWaiters();
  }

  // The view options go to the page as they change; a page still loading
  // gets them with its start, and they change nothing the page holds.
  void PostView() {
    if (!loaded || loading) return;
    page->runJavaScript(
        QStringLiteral("typeof __orvex !== 'undefined' && __orvex.setView(%1)").arg(ViewOptions()),
        QWebEngineScript::ApplicationWorld);
  }

  void Copy(bool cut) {
    ++copies;
    QPointer<EditingControl> self(q);
    Run(QStringLiteral("__orvex.selectionData()"), [self](const QVariant& v) {
      if (!self) return;
      --self->d->copies;
      const QVariantMap data = v.toMap();
      if (data.isEmpty()) return;
      auto* mime = new QMimeData;
      mime->setHtml(data.value(QStringLiteral("html")).toString());
      mime->setText(data.value(QStringLiteral("text")).toString());
      mime->setData(kOwnCopyFormat, QByteArrayLiteral("1"));
      QGuiApplication::clipboard()->setMimeData(mime);
    });
    if (cut) Run(QStringLiteral("__orvex.deleteSelection()"));
  }

  // Puts the HTML of pasted or dropped data at the caret. What was copied
  // from a page here comes back as it was; HTML from other programs comes
  // without their scripts and office markup.
  void InsertHtml(const QMimeData& mime) {
    const bool own = mime.hasFormat(kOwnCopyFormat);
    PasteReport report;
    const QString folder = baseFolder;
    const QString html =
        own ? ClipboardFragment(mime.html())
            : PastableHtml(
                  mime.html(), [&folder](const QString& src) { return PictureFound(src, folder); }, &report);
    Run(QStringLiteral("__orvex.pasteClipboard(%1, true, %2)").arg(JsLiteral(html), Flag(own)));
    const QString note = PasteReportText(report);
    if (!note.isEmpty()) emit q->Notice(note);
  }

  // HTML dropped at a point of the view (its pixels) lands there.
  bool DropHtml(const QPointF& at, const QMimeData& mime) {
    if (!loaded || readOnly) return false;
    const QPointF inPage = at / page->zoomFactor();
    Run(QStringLiteral("__orvex.caretAt(%1, %2)").arg(inPage.x()).arg(inPage.y()));
    InsertHtml(mime);
    return true;
  }

  void Paste(bool plain = false) {
    if (copies > 0) {
      // A copy's data is still on its way to the clipboard: paste after it.
      QPointer<EditingControl> self(q);
      Run(QStringLiteral("0"), [self, plain](const QVariant&) {
        if (self) self->d->Paste(plain);
      });
      return;
    }
    const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
    if (!mime) return;
    if (mime->hasHtml() && !plain) {
      InsertHtml(*mime);
    } else if (mime->hasText()) {
      Run(QStringLiteral("__orvex.pasteClipboard(%1, false)").arg(JsLiteral(mime->text())));
    }
  }

  // Shows the page anew from its current HTML (once the page has given it).
  void Reload() {
    if (loading) {
      StartLoad(source, carryDirty);
      return;
    }
    const int gen = generation;
    QPointer<EditingControl> self(q);
    q->Settle(
        q,
        [self, gen] {
          if (self && self->d->generation == gen) self->d->StartLoad(self->d->cachedHtml, self->Modified());
        },
        true);
  }
};
