#include "viewer/topic_search.h"

#include <QElapsedTimer>
#include <QHash>
#include <QMetaObject>

#include <atomic>
#include <thread>

#include "viewer/chm_document.h"
#include "viewer/chm_pages.h"

namespace {

constexpr qint64 kMaxPageBytes = 8 * 1024 * 1024;

}  // namespace

std::optional<TopicTexts> TopicTexts::Read(const ChmDocument& document, qint64 maxTextChars,
                                           const Progress& progress) {
  TopicTexts read;
  const QStringList pages = document.PagePaths();
  // Where a page's content is stored -> its text and title: a file may give
  // one content many names.
  struct Known {
    qsizetype text;
    QString title;
  };
  QHash<QString, Known> byPlace;
  qsizetype kept = 0;
  const auto readPage = [&](const QString& page) {
    Known fresh{-1, {}};
    const auto bytes = document.Read(page, kMaxPageBytes);
    if (!bytes) return fresh;
    const QString html = document.DecodeText(*bytes);
    fresh.title = HtmlTitle(html);
    QString text = HtmlPlainText(html).toCaseFolded();
    if (kept + text.size() > maxTextChars) return fresh;
    kept += text.size();
    fresh.text = read.texts.size();
    read.texts.append(std::move(text));
    return fresh;
  };
  for (qsizetype i = 0; i < pages.size(); ++i) {
    const QString& page = pages[i];
    const orvex::ChmEntry* entry = document.EntryOf(page);
    const QString place =
        entry ? QStringLiteral("%1:%2:%3").arg(entry->space).arg(entry->start).arg(entry->length) : QString();
    Known known;
    if (const auto found = byPlace.constFind(place); !place.isEmpty() && found != byPlace.constEnd()) {
      known = *found;
    } else {
      known = readPage(page);
      if (!place.isEmpty()) byPlace.insert(place, known);
    }
    read.entryPaths.append(page);
    read.titles.append(known.title);
    read.textOf.append(known.text);
    if (known.text < 0) ++read.leftOut;
    if (progress && !progress(int(i + 1), int(pages.size()))) return std::nullopt;
  }
  return read;
}

QList<int> TopicTexts::Search(const QString& query, const std::function<bool()>& stopped) const {
  const QStringList words = QueryWords(query);
  if (words.isEmpty()) return {};
  // Each distinct text is counted once, however many pages share it.
  QList<QList<qsizetype>> countsOf(texts.size());
  struct Hit {
    int index;
    qsizetype count;
  };
  QList<Hit> hits;
  for (qsizetype i = 0; i < entryPaths.size(); ++i) {
    if (stopped && stopped()) return {};
    const qsizetype t = textOf[i];
    if (t >= 0 && countsOf[t].isEmpty()) {
      for (const QString& word : words) countsOf[t].append(texts[t].count(word));
    }
    const QString title = titles[i].toCaseFolded();
    qsizetype total = 0;
    bool all = true;
    for (qsizetype w = 0; w < words.size() && all; ++w) {
      const qsizetype n = title.count(words[w]) + (t >= 0 ? countsOf[t][w] : 0);
      all = n > 0;
      total += n;
    }
    if (all) hits.append({int(i), total});
  }
  std::stable_sort(hits.begin(), hits.end(), [](const Hit& a, const Hit& b) { return a.count > b.count; });
  QList<int> result;
  result.reserve(hits.size());
  for (const Hit& h : hits) result.append(h.index);
  return result;
}

struct TopicSearch::State {
  std::optional<TopicTexts> texts;  // once read; only the running search touches it
  std::atomic<bool> stop{false};
  bool running = false;  // until the window's thread has the search's end
  std::thread worker;
  quint64 generation = 0;  // of the search last started (window's thread only)
};

TopicSearch::TopicSearch(QString chmPath, QObject* parent)
    : QObject(parent), chmPath(std::move(chmPath)), shared(std::make_shared<State>()) {}

TopicSearch::~TopicSearch() { Stop(); }

void TopicSearch::Stop() {
  shared->stop = true;
  if (shared->worker.joinable()) shared->worker.join();
}

void TopicSearch::Cancel() { shared->stop = true; }

bool TopicSearch::IsRunning() const { return shared->running; }

void TopicSearch::Start(const QString& query) {
  Stop();
  shared->stop = false;
  shared->running = true;
  const quint64 generation = ++shared->generation;
  State* state = shared.get();
  // What the thread hands back runs on this object's thread, and only for
  // the search last started; the last report also ends the run.
  const auto post = [this, state, generation](std::function<void()> report, bool last) {
    QMetaObject::invokeMethod(
        this,
        [state, generation, last, report = std::move(report)] {
          if (state->generation != generation) return;
          if (last) state->running = false;
          report();
        },
        Qt::QueuedConnection);
  };
  shared->worker = std::thread([this, state, query, post, path = chmPath] {
    if (!state->texts) {
      ChmDocument document;
      if (const Status opened = document.Open(path); !opened) {
        post([this, message = opened.Message()] { emit Failed(message); }, true);
        return;
      }
      QElapsedTimer sinceReport;
      sinceReport.start();
      state->texts = TopicTexts::Read(document, kMaxTextChars, [&](int done, int total) {
        if (done == total || sinceReport.elapsed() >= 100) {
          sinceReport.restart();
          post([this, done, total] { emit Progress(done, total); }, false);
        }
        return !state->stop;
      });
      if (!state->texts) {
        post([this] { emit Cancelled(); }, true);
        return;
      }
    }
    const TopicTexts& texts = *state->texts;
    const QList<int> found = texts.Search(query, [state] { return bool(state->stop); });
    if (state->stop) {
      post([this] { emit Cancelled(); }, true);
      return;
    }
    QList<Hit> hits;
    hits.reserve(found.size());
    for (int i : found) hits.append(Hit{texts.EntryPaths()[i], texts.Titles()[i]});
    post([this, hits, leftOut = texts.LeftOut()] { emit Finished(hits, leftOut); }, true);
  });
}
