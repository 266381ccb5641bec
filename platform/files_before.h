// The files a write of several files may replace, as they were before it: when
// the write fails part way, Restore puts each one back (or removes it when it
// did not exist), so nothing half made stays on disk.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

#include "platform/result.h"

class FilesBefore {
 public:
  explicit FilesBefore(const QStringList& paths);
  // Back to the state of construction; a file that could not be read then
  // is left alone. Fails naming the files that could not be put back.
  Status Restore() const;

 private:
  struct Kept {
    QString path;
    bool existed = false;
    std::optional<QByteArray> bytes;  // none when it existed but could not be read
  };
  std::vector<Kept> files;
};
