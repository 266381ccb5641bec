// Decompiling hostile compiled files: the time taken for 10,000 one-byte
// entries spread over one 1024-frame reset interval (alternating between
// its first frames and its last, and in reverse frame order), and what
// 100,000 one-byte entries in a folder each cost on disk against the limit.

#include "chm/decompiler.h"
#include "tests/unit/crafted_directory.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <ctime>

namespace {

void Run(const char* what, const QByteArray& chm) {
  QTemporaryDir dir;
  const QString path = dir.path() + "/bench.chm";
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly) || file.write(chm) != chm.size()) return;
  file.close();
  QElapsedTimer clock;
  clock.start();
  const std::clock_t cpuStart = std::clock();
  const orvex::DecompileResult result = orvex::DecompileChm(path, dir.path() + "/out");
  const double seconds = double(clock.elapsed()) / 1000;
  const double cpu = double(std::clock() - cpuStart) / CLOCKS_PER_SEC;
  const quint64 limit = orvex::DefaultOutputLimit(quint64(chm.size()), UINT64_MAX);
  std::printf(
      "%-28s %8lld bytes  %6.2f s (CPU %5.2f s)  %6lld files  %s  on disk %llu of %llu bytes allowed\n", what,
      qint64(chm.size()), seconds, cpu, qint64(result.written.size()), result.stopped ? "stopped" : "done   ",
      static_cast<unsigned long long>(orvex_test::DiskUse(dir.path() + "/out")),
      static_cast<unsigned long long>(limit));
}

}  // namespace

int main() {
  Run("1024 frames, alternating", orvex_test::FrameSeesawChm(1024, 10000));
  Run("1024 frames, reverse order", orvex_test::FrameSeesawChm(1024, 10000, true));
  Run("100,000 folders", orvex_test::FolderFloodChm(100000));
  return 0;
}
