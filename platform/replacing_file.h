// Writing a file that replaces another only once it is complete: the new
// content goes into a file without a name in the target's folder, which is
// given the target's name at the end. Until then the old file stays as it
// was, and a failed, killed or abandoned write leaves nothing behind.
//
// Every write goes straight to the system and is checked, as are the flush
// to the disk and the rename; a failure names the target and gives the
// system's reason ("No space left on device").
#pragma once

#include <QIODevice>
#include <QString>

#include <memory>

#include "platform/result.h"

class ReplacingFile {
 public:
  // How failures begin; "%1" is the target. A failure reads
  // "<lead>: <the system's reason>".
  struct Wording {
    QString cannotCreate = QStringLiteral("Cannot write %1");
    QString cannotWrite = QStringLiteral("Cannot write %1");
  };

  ~ReplacingFile();
  ReplacingFile(const ReplacingFile&) = delete;
  ReplacingFile& operator=(const ReplacingFile&) = delete;

  // Opens the new content for target; fails naming the target when no file
  // can be made in its folder.
  static Result<std::unique_ptr<ReplacingFile>> Create(const QString& target, Wording wording);
  static Result<std::unique_ptr<ReplacingFile>> Create(const QString& target);

  // Where the new content is written (unbuffered: each write reaches the
  // system, and a failed one sets the device's error string to the
  // system's reason).
  QIODevice& Device();
  // The failure of the first write that failed, naming the target; empty
  // while every write went through.
  QString WriteFailure() const;
  // Writes all of bytes; fails naming the target with the system's reason.
  Status Write(const QByteArray& bytes);
  // A path under which the new content can be opened for reading before it
  // is put in place.
  QString ReadablePath() const;
  // Flushes the content to the disk and gives it the target's name,
  // replacing the old file. Fails naming the target; a write that failed
  // before fails it too.
  Status Commit();

 private:
  class Output;
  ReplacingFile(QString target, Wording wording, int fd, QString namedTemporary);
  Failure Failed(const QString& lead, int error) const;
  QString target;
  Wording wording;
  int fd = -1;
  QString namedTemporary;  // when the file system has no unnamed files
  std::unique_ptr<Output> output;
  bool committed = false;
};

// The system's reason for an error number, never empty ("No space left on
// device").
QString SystemReason(int error);
