#include "model/help_project.h"

#include <QFileInfo>
#include <utility>

#include "model/context_numbers.h"
#include "model/project_reader.h"
#include "platform/project_paths.h"
#include "platform/text_file.h"
#include "project/project_saver.h"
#include "project/page_template.h"
#include "project/project_saver.h"

Result<ProjectTrees> HelpProject::Open(const QString& path) {
  Result<ProjectFiles> read = ReadProjectFiles(path);
  if (!read) return Fail(read.Message());
  ProjectFiles& files = *read;
  m_projectFile = path;
  m_projectLines = std::move(files.ProjectLines);
  m_aliasLines = std::move(files.AliasLines);
  m_mapLines = std::move(files.MapLines);
  m_sources = std::move(files.Sources);
  SetModifiedState(false);
  m_currentTopic.reset();
  return ProjectTrees{std::move(files.Contents), std::move(files.Index), std::move(files.Problems),
                      std::move(files.MissingSitemaps)};
}

QStringList HelpProject::NewProjectFiles(const QString& path, const std::optional<NewProjectChoice>& choice) {
  return QStringList{path, ChangeFileExt(path, ".css"), ChangeFileExt(path, "P.js")} +
         ProjectFilesSaved(path, NewProjectLines(path, choice));
}

Status HelpProject::CreateNew(const QString& path, const std::optional<NewProjectChoice>& choice) {
  const QStringList lines = NewProjectLines(path, choice);
  const int codePage = ProjectCodePage(lines);
  if (Status written = WriteLinesFile(path, lines, codePage); !written) return written;
  if (Status written = WriteTextFile(ChangeFileExt(path, ".css"), DefaultStyleSheet(), codePage); !written)
    return written;
  if (Status written = WriteTextFile(ChangeFileExt(path, "P.js"), "popfont=\"Courier,10\"\r\n", codePage);
      !written)
    return written;
  m_projectFile = path;
  m_projectLines = lines;
  m_mapLines.clear();
  m_aliasLines.clear();
  m_sources = ProjectSources();
  SetModifiedState(true);
  m_currentTopic.reset();
  return {};
}

Status HelpProject::Save(std::vector<ContentsNode> contents, std::vector<IndexNode> index,
                         const QString& settingsFile, Status* recentList) {
  QStringList lines = m_projectLines;
  const ProjectSnapshot snapshot{m_projectFile, std::move(contents), std::move(index), m_mapLines,
                                 m_aliasLines};
  Status history;
  if (Status saved = SaveProjectFiles(snapshot, lines, m_sources, settingsFile, history); !saved)
    return saved;
  if (recentList) *recentList = history;
  m_projectLines = std::move(lines);
  SetModifiedState(false);
  return {};
}

void HelpProject::SetModifiedState(bool modified) {
  const bool changed = modified != m_modified;
  m_modified = modified;
  if (changed && m_modifiedListener.Call) m_modifiedListener.Call();
}

QString HelpProject::Folder() const {
  if (m_projectFile.isEmpty()) return {};
  QString folder = QFileInfo(m_projectFile).absolutePath();
  if (!folder.endsWith('/')) folder += '/';
  return folder;
}

QString HelpProject::PagePath(const QString& fileName) const {
  if (fileName.isEmpty()) return Folder();
  return ResolveProjectPath(Folder(), WithoutAnchor(fileName));
}

QString HelpProject::FileWithExt(const QString& ext) const { return ChangeFileExt(m_projectFile, ext); }

QString HelpProject::NamePrefix() const { return ProjectNamePrefix(m_projectFile); }

int HelpProject::CodePage() const { return ProjectCodePage(m_projectLines); }

QString HelpProject::CurrentContextNumber() const {
  return m_currentTopic ? ContextNumberOf(m_currentTopic->FileName) : QString();
}

QString HelpProject::ContextNumberOf(const QString& fileName) const {
  const QString own = ::ContextNumberOf(fileName, m_aliasLines, m_mapLines);
  return own.isEmpty() ? ProjectContextNumber(m_sources, fileName) : own;
}

void HelpProject::AddContextEntries(const QString& fileName) {
  ::AddContextEntries(fileName, NamePrefix(), m_mapLines, m_aliasLines);
}

void HelpProject::RemoveContextEntries(const QString& fileName) {
  ::RemoveContextEntries(fileName, m_mapLines, m_aliasLines);
}

void HelpProject::RemoveListedPages(const QStringList& fileNames) {
  QStringList lines = RemoveListedFiles(m_projectLines, fileNames);
  if (lines.size() != m_projectLines.size()) m_projectLines = std::move(lines);
}

QString HelpProject::NewPageName(const FileExistsFn& fileExists) const {
  // A counter is skipped when its page exists or its context number or
  // symbol is already defined, so hand-made map lines are never doubled.
  const QString prefix = NamePrefix();
  const QSet<QString> usedNumbers = UsedContextNumbers(m_mapLines);
  const auto taken = [&](const QString& path) {
    if (fileExists ? fileExists(path) : QFileInfo::exists(path)) return true;
    return ContextEntriesTaken(QFileInfo(path).fileName(), prefix, usedNumbers, m_mapLines, m_aliasLines);
  };
  return ::NewPageName(Folder(), prefix, taken);
}
