// The viewer's full-text search, off the window's thread: the pages of a
// compiled file are read once (a page stored once under many names is read
// once and its text kept once), within a bound on the text kept, with
// progress and a way to stop; each query then runs over what was read.
#pragma once

#include <QList>
#include <QObject>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

class ChmDocument;

// The texts of a compiled file's pages, as searching needs them.
class TopicTexts {
 public:
  // Called after each page with the pages done and the pages in all;
  // returns false to stop reading.
  using Progress = std::function<bool(int done, int total)>;

  // Reads the pages of `document`. Text beyond maxTextChars in all is not
  // kept (those pages count in LeftOut()). Nullopt when progress stopped it.
  static std::optional<TopicTexts> Read(const ChmDocument& document, qint64 maxTextChars,
                                        const Progress& progress = {});

  // The pages that hold every word of the query (letter case ignored) in
  // their title or text, most hits first, equal ones in stored order: their
  // positions in EntryPaths() and Titles().
  QList<int> Search(const QString& query, const std::function<bool()>& stopped = {}) const;

  const QStringList& EntryPaths() const { return entryPaths; }
  const QStringList& Titles() const { return titles; }
  // Pages whose text was not kept (over the bound, or unreadable).
  int LeftOut() const { return leftOut; }

 private:
  QStringList entryPaths;
  QStringList titles;
  QList<qsizetype> textOf;  // per page: index in texts, -1 for none
  QStringList texts;        // distinct texts, case-folded
  int leftOut = 0;
};

// A search that runs on a thread of its own. Signals arrive on the thread
// that made the object.
class TopicSearch : public QObject {
  Q_OBJECT
 public:
  struct Hit {
    QString entryPath;
    QString title;
  };

  // Text kept for searching, in all.
  static constexpr qint64 kMaxTextChars = qint64(64) << 20;

  explicit TopicSearch(QString chmPath, QObject* parent = nullptr);
  // Stops a running search and waits for its thread.
  ~TopicSearch() override;

  // Starts searching for query; a search still running is stopped first.
  void Start(const QString& query);
  // Stops the running search; Cancelled follows.
  void Cancel();
  // True from Start until its Finished, Cancelled or Failed is delivered.
  bool IsRunning() const;

 signals:
  // Pages read so far, of all (while the pages are read, once).
  void Progress(int done, int total);
  // The hits of the query; leftOut pages could not be searched.
  void Finished(const QList<TopicSearch::Hit>& hits, int leftOut);
  void Cancelled();
  // The compiled file could not be opened again for reading.
  void Failed(const QString& message);

 private:
  struct State;
  void Stop();
  QString chmPath;
  std::shared_ptr<State> shared;
};
