// Find and Replace in all topics: the matches of a phrase in the pages of a
// project's topics, and replacing them, page files read and written in the
// project's code page, each replace one step that can be undone.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include "platform/result.h"

struct AllTopicsQuery {
  QString phrase;
  bool matchCase = false;
  bool wholeWord = false;
  // false: the page's text only, never tags, comments, scripts or styles
  // (the phrase and its replacement are then text: "&" stands for "&amp;").
  bool inSource = false;
};

// A topic's page: its title and its file, relative to the project folder.
struct TopicPageRef {
  QString title;
  QString page;
};

struct TopicMatch {
  QString page;  // relative to the project folder
  QString title;
  int line = 1;
  qsizetype position = 0;  // in the page's text, decoded
  qsizetype length = 0;
  QString context;  // the match's line, blanks folded
};

struct TopicSearch {
  QList<TopicMatch> matches;  // page by page in the topics' order, each page once
  QStringList unreadable;     // pages that could not be read, each with the reason
};

// Every match of the query in the topics' pages (a page shown by several
// topics is searched once, under its first title).
TopicSearch FindInTopics(const QString& projectFolder, const QList<TopicPageRef>& topics,
                         const AllTopicsQuery& query, int codePage);

// What a replace did: each page it changed as it was and as it left it.
struct ReplaceStep {
  struct Page {
    QString path;  // full path
    QByteArray before;
    QByteArray after;
  };
  QList<Page> pages;
  int replaced = 0;
};

// Replaces every match (or, with `only`, that one match when the page still
// holds it) by `replacement` and writes the pages changed. A page that
// cannot be written stops the replace: the pages written before it are put
// back, and the failure names the page.
Result<ReplaceStep> ReplaceInTopics(const QString& projectFolder, const QList<TopicPageRef>& topics,
                                    const AllTopicsQuery& query, const QString& replacement, int codePage,
                                    const TopicMatch* only = nullptr);

// Writes the step's pages back as they were. Refuses, naming the page and
// changing nothing, when a page no longer holds what the step left in it.
Status UndoReplace(const ReplaceStep& step);
