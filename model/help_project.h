// The help project while it is open, without any widget: the project file's
// path and lines, the map and alias lines, the modified state and the topic
// being edited, with the operations on them (context numbers, page names,
// pages, opening, creating and saving). The two trees are handed in and out
// in their plain form (formats/sitemap/sitemap_nodes.h).
#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <vector>

#include "model/page_names.h"
#include "model/used_context_entries.h"
#include "platform/folder_names.h"
#include "formats/sitemap/sitemap_nodes.h"
#include "platform/result.h"
#include "formats/project/project_file.h"
#include "model/project_sources.h"

// The trees of a project as read from its contents and index files.
struct ProjectTrees {
  std::vector<ContentsNode> contents;
  std::vector<IndexNode> index;
  QStringList problems;         // what could not be read (a missing contents or index file)
  QStringList missingSitemaps;  // the contents or index files that are not there
};

class HelpProject {
 public:
  // Reads the project file at `path` and the files named after it. On
  // success the model holds the new project, not modified, with no topic
  // being edited, and the trees are returned for the views; on failure the
  // model is left as it was.
  Result<ProjectTrees> Open(const QString& path);

  // Writes a new project's file, style sheet and pop-up script file for the
  // project file `path`; only when all three are written does the model let
  // the open project go and hold the new one (empty trees, modified). On
  // failure the model is left as it was.
  Status CreateNew(const QString& path, const std::optional<NewProjectChoice>& choice);
  // The files that making a new project writes, its first save included.
  static QStringList NewProjectFiles(const QString& path, const std::optional<NewProjectChoice>& choice);

  // Writes the contents, index, map, alias and project files. Stops at the
  // first file that cannot be written; the project stays modified then.
  Status Save(std::vector<ContentsNode> contents, std::vector<IndexNode> index);

  bool IsOpen() const { return !projectFile.isEmpty(); }
  const QString& ProjectFile() const { return projectFile; }
  const QStringList& ProjectLines() const { return projectLines; }
  const QStringList& MapLines() const { return mapLines; }
  const QStringList& AliasLines() const { return aliasLines; }
  // Where the sitemaps are, how they were read, the project file's own
  // context numbers, and what opening could not read.
  const ProjectSources& Sources() const { return sources; }

  // The project folder, with its trailing separator; empty with no project.
  QString Folder() const;
  // A topic's page path: its FileName resolved in the project folder, also
  // as Windows writes it ("\", other letter case, "#anchor").
  QString PagePath(const QString& fileName) const;
  // The project file with its extension replaced (".hhc", ".css", "P.js").
  QString FileWithExt(const QString& ext) const;
  // The project's base name with blanks made underscores: the stem of page names.
  QString NamePrefix() const;
  // The code page of the project's files (from its "Language" line).
  int CodePage() const;

  bool IsModified() const { return modified; }
  void SetModified(bool isModified = true) { SetModifiedState(isModified); }
  // Called whenever the modified state changes (the window's caption follows
  // it). The listener stays with this object when another project is moved
  // into it; the move itself is not reported.
  void SetModifiedListener(std::function<void()> listener) { modifiedListener.call = std::move(listener); }

  // The topic being edited: the record of the topic selected in the
  // Contents tree; none when no topic (or a node without record) is selected.
  const std::optional<TopicData>& CurrentTopic() const { return currentTopic; }
  void SetCurrentTopic(std::optional<TopicData> topic) { currentTopic = std::move(topic); }
  // The context number of the topic being edited (empty when it has none).
  QString CurrentContextNumber() const;

  // Context numbers (see model/context_numbers.h).
  QString ContextNumberOf(const QString& fileName) const;
  void AddContextEntries(const QString& fileName);
  void RemoveContextEntries(const QString& fileName);
  // Drops the [FILES] lines that name deleted pages.
  void RemoveListedPages(const QStringList& fileNames);

  // The project file's, map file's and alias file's lines together, as a
  // command that changes them keeps them to put them back.
  struct Lines {
    QStringList project;
    QStringList map;
    QStringList alias;
  };
  Lines AllLines() const { return {projectLines, mapLines, aliasLines}; }
  void RestoreLines(Lines lines);

  // The first numbered page name that no entry of the project folder has
  // (compared without letter case) and whose context number and symbol are
  // free; empty when none is left. With `fileExists`, it alone says which
  // pages exist.
  QString NewPageName(const FileExistsFn& fileExists = {}) const;

 private:
  QString projectFile;  // empty while no project is open
  QStringList projectLines;
  QStringList mapLines;
  QStringList aliasLines;
  ProjectSources sources;
  void SetModifiedState(bool isModified);
  // The map or alias lines changed otherwise than by adding a topic's.
  void ContextLinesReplaced();

  // Kept so that a new topic costs the same in a large project as in a small
  // one: the names in the project folder, what the map and alias lines use,
  // and the counter below which every page name was taken at the last search
  // (while the folder lost no name and no line went).
  mutable FolderNames folderNames;
  mutable UsedContextEntries usedEntries;
  mutable bool usedEntriesKnown = false;
  mutable int firstFreeCounter = 1;
  mutable quint64 folderLosses = 0;

  // Copies and moves leave the listener where it is.
  struct Listener {
    Listener() = default;
    Listener(const Listener&) {}
    Listener& operator=(const Listener&) { return *this; }
    std::function<void()> call;
  };

  bool modified = false;
  std::optional<TopicData> currentTopic;
  Listener modifiedListener;
};
