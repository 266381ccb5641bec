#include "model/help_project.h"

#include <QFileInfo>
#include <utility>

#include "model/context_numbers.h"
#include "model/project_reader.h"
#include "platform/project_paths.h"
#include "platform/text_file.h"
#include "model/project_saver.h"
#include "formats/project/page_template.h"

Result<ProjectTrees> HelpProject::Open(const QString& path) {
  Result<ProjectFiles> read = ReadProjectFiles(path);
  if (!read) return Fail(read.Message());
  ProjectFiles& files = *read;
  projectFile = path;
  projectLines = std::move(files.projectLines);
  aliasLines = std::move(files.aliasLines);
  mapLines = std::move(files.mapLines);
  sources = std::move(files.sources);
  ContextLinesReplaced();
  SetModifiedState(false);
  currentTopic.reset();
  return ProjectTrees{std::move(files.contents), std::move(files.index), std::move(files.problems),
                      std::move(files.missingSitemaps)};
}

QStringList HelpProject::NewProjectFiles(const QString& path, const std::optional<NewProjectChoice>& choice) {
  return QStringList{path, ReplaceExtension(path, ".css"), ReplaceExtension(path, "P.js")} +
         ProjectFilesSaved(path, NewProjectLines(path, choice));
}

Status HelpProject::CreateNew(const QString& path, const std::optional<NewProjectChoice>& choice) {
  const QStringList lines = NewProjectLines(path, choice);
  const int codePage = ProjectCodePage(lines);
  if (Status written = WriteLinesFile(path, lines, codePage); !written) return written;
  if (Status written = WriteTextFile(ReplaceExtension(path, ".css"), DefaultStyleSheet(), codePage); !written)
    return written;
  if (Status written = WriteTextFile(ReplaceExtension(path, "P.js"), "popfont=\"Courier,10\"\r\n", codePage);
      !written)
    return written;
  projectFile = path;
  projectLines = lines;
  mapLines.clear();
  aliasLines.clear();
  sources = ProjectSources();
  ContextLinesReplaced();
  SetModifiedState(true);
  currentTopic.reset();
  return {};
}

Status HelpProject::Save(std::vector<ContentsNode> contents, std::vector<IndexNode> index) {
  QStringList lines = projectLines;
  const ProjectSnapshot snapshot{projectFile, std::move(contents), std::move(index), mapLines, aliasLines};
  if (Status saved = SaveProjectFiles(snapshot, lines, sources); !saved) return saved;
  projectLines = std::move(lines);
  SetModifiedState(false);
  return {};
}

void HelpProject::SetModifiedState(bool isModified) {
  const bool changed = isModified != modified;
  modified = isModified;
  if (changed && modifiedListener.call) modifiedListener.call();
}

QString HelpProject::Folder() const {
  if (projectFile.isEmpty()) return {};
  QString folder = QFileInfo(projectFile).absolutePath();
  if (!folder.endsWith('/')) folder += '/';
  return folder;
}

QString HelpProject::PagePath(const QString& fileName) const {
  if (fileName.isEmpty()) return Folder();
  const QString name = WithoutAnchor(fileName);
  const bool inFolder = !name.isEmpty() && !name.contains(u'/') && !name.contains(u'\\') && name != u'.' &&
                        name != QLatin1String("..");
  if (!inFolder) return ResolveProjectPath(Folder(), name);
  // A page in the project folder itself: its name as written when that
  // exists, else the folder's entry that differs only in letter case.
  const QString folder = Folder();
  if (QFileInfo::exists(folder + name)) return folder + name;
  folderNames.Look(folder);
  const QString entry = folderNames.Find(name);
  return folder + (entry.isEmpty() ? name : entry);
}

QString HelpProject::FileWithExt(const QString& ext) const { return ReplaceExtension(projectFile, ext); }

QString HelpProject::NamePrefix() const { return ProjectNamePrefix(projectFile); }

int HelpProject::CodePage() const { return ProjectCodePage(projectLines); }

QString HelpProject::CurrentContextNumber() const {
  return currentTopic ? ContextNumberOf(currentTopic->fileName) : QString();
}

QString HelpProject::ContextNumberOf(const QString& fileName) const {
  const QString own = ::ContextNumberOf(fileName, aliasLines, mapLines);
  return own.isEmpty() ? ProjectContextNumber(sources, fileName) : own;
}

void HelpProject::AddContextEntries(const QString& fileName) {
  if (!::AddContextEntries(fileName, NamePrefix(), mapLines, aliasLines) || !usedEntriesKnown) return;
  usedEntries.AddMapLine(mapLines.last());
  usedEntries.AddAliasLine(aliasLines.last());
}

void HelpProject::RemoveContextEntries(const QString& fileName) {
  ::RemoveContextEntries(fileName, mapLines, aliasLines);
  ContextLinesReplaced();
}

void HelpProject::RestoreLines(Lines lines) {
  projectLines = std::move(lines.project);
  mapLines = std::move(lines.map);
  aliasLines = std::move(lines.alias);
  ContextLinesReplaced();
}

void HelpProject::ContextLinesReplaced() {
  usedEntriesKnown = false;
  firstFreeCounter = 1;
}

void HelpProject::RemoveListedPages(const QStringList& fileNames) {
  QStringList lines = RemoveListedFiles(projectLines, fileNames);
  if (lines.size() != projectLines.size()) projectLines = std::move(lines);
}

QString HelpProject::NewPageName(const FileExistsFn& fileExists) const {
  // A counter is skipped when its page exists or its context number or
  // symbol is already defined, so hand-made map lines are never doubled.
  const QString prefix = NamePrefix();
  if (!usedEntriesKnown) {
    usedEntries.Rebuild(mapLines, aliasLines);
    usedEntriesKnown = true;
  }
  if (fileExists) {
    const auto taken = [&](const QString& path) {
      return fileExists(path) || usedEntries.Taken(QFileInfo(path).fileName(), prefix);
    };
    return ::NewPageName(Folder(), prefix, taken);
  }
  folderNames.Look(Folder());
  if (folderNames.Losses() != folderLosses) {
    folderLosses = folderNames.Losses();
    firstFreeCounter = 1;
  }
  for (int counter = firstFreeCounter; counter <= kLastPageCounter; ++counter) {
    const QString candidate = NumberedPageName(prefix, counter);
    if (!folderNames.Find(candidate).isEmpty() || usedEntries.Taken(candidate, prefix)) continue;
    firstFreeCounter = counter;
    return candidate;
  }
  firstFreeCounter = kLastPageCounter + 1;
  return {};
}
