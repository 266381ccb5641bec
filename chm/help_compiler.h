// Reading a help project into what its compiled file holds: every file the
// project names or its pages reach, the contents and index files, and the
// internal files made from the project's options, windows, topics and
// context numbers. Problems found on the way become messages; nothing is
// written to disk here.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

#include "platform/result.h"

namespace orvex {

struct HelpEntry {
  QByteArray name;  // as stored: "/" + project-relative name in the help's code page, or "/#SYSTEM"
  QByteArray content;
};

struct HelpContent {
  QList<HelpEntry> entries;
  QStringList messages;  // "Error: ..." and "Warning: ..." lines, in the order found
  int errors = 0;
  int warnings = 0;
  quint32 lcid = 0x409;
  int files = 0;  // files of the project in the help
  int topics = 0;
  int contentsItems = 0;
  int indexEntries = 0;
  QString compiledFile;      // absolute path of the compiled file the project names
  QString logFile;           // absolute path of its log; empty when it names none
  QStringList projectFiles;  // absolute paths of every file the project is made of
};

struct HelpReadOptions {
  int threads = 0;  // 0: every core
  // Called with the help's language before the project's files are read,
  // then with each entry of the help, in their order, as soon as it is
  // there (the project's files as they are read, the help's own structures
  // as they are made), on the calling thread: they may be compressed while
  // the rest is read and made.
  std::function<void(quint32 lcid)> reading;
  std::function<void(const HelpEntry& file)> fileRead;
};

// Reads the project. Fails only when the project file cannot be read; a
// file that is named but missing is an error message naming the file and
// who names it, an anchor that is not found a warning.
Result<HelpContent> ReadHelpProject(const QString& projectPath, const HelpReadOptions& options = {});

}  // namespace orvex
