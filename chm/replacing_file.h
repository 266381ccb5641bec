// Writing a file that replaces another only once it is complete: the new
// content goes into a file without a name in the target's folder, which is
// given the target's name at the end. Until then the old file stays as it
// was, and a failed, killed or abandoned write leaves nothing behind.
#pragma once

#include <QFile>
#include <QString>

#include <memory>

#include "platform/result.h"

namespace orvex {

class ReplacingFile {
 public:
  ~ReplacingFile();
  ReplacingFile(const ReplacingFile&) = delete;
  ReplacingFile& operator=(const ReplacingFile&) = delete;

  // Opens the new content for target; fails naming the folder when no file
  // can be made there.
  static Result<std::unique_ptr<ReplacingFile>> Create(const QString& target);

  // Where the new content is written.
  QFile& Device() { return m_file; }
  // A path under which the new content can be opened for reading before it
  // is put in place.
  QString ReadablePath() const;
  // Flushes the content to the disk and gives it the target's name,
  // replacing the old file. Fails naming the target.
  Status Commit();

 private:
  ReplacingFile(QString target, int fd, QString namedTemporary);
  QString m_target;
  int m_fd = -1;
  QString m_namedTemporary;  // when the file system has no unnamed files
  QFile m_file;
  bool m_committed = false;
};

}  // namespace orvex
