#include "chm_readers.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <chm_lib.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <mspack.h>

namespace orvex_test {

namespace {

int CollectName(struct chmFile*, struct chmUnitInfo* ui, void* context) {
  const QByteArray name(ui->path);
  if (!name.endsWith('/')) static_cast<QList<QByteArray>*>(context)->append(name);
  return CHM_ENUMERATOR_CONTINUE;
}

}  // namespace

ChmFiles ReadWithChmlib(const QString& chmPath) {
  ChmFiles files;
  chmFile* handle = chm_open(QFile::encodeName(chmPath).constData());
  if (!handle) {
    ADD_FAILURE() << "chmlib cannot open " << chmPath.toStdString();
    return files;
  }
  QList<QByteArray> names;
  chm_enumerate(handle, CHM_ENUMERATE_ALL, CollectName, &names);
  for (const QByteArray& name : names) {
    chmUnitInfo ui;
    if (chm_resolve_object(handle, name.constData(), &ui) != CHM_RESOLVE_SUCCESS) {
      ADD_FAILURE() << "chmlib cannot find " << name.toStdString();
      continue;
    }
    QByteArray content(qsizetype(ui.length), '\0');
    const LONGINT64 got =
        ui.length ? chm_retrieve_object(handle, &ui, reinterpret_cast<unsigned char*>(content.data()), 0,
                                        LONGINT64(ui.length))
                  : 0;
    if (got != LONGINT64(ui.length)) ADD_FAILURE() << "chmlib cannot read " << name.toStdString();
    files.insert(name, content);
  }
  chm_close(handle);
  return files;
}

ChmFiles ReadWithMspack(const QString& chmPath) {
  ChmFiles files;
  mschm_decompressor* decompressor = mspack_create_chm_decompressor(nullptr);
  const QByteArray chmName = QFile::encodeName(chmPath);  // libmspack keeps the pointer
  mschmd_header* header = decompressor->open(decompressor, chmName.constData());
  if (!header) {
    ADD_FAILURE() << "libmspack cannot open " << chmPath.toStdString() << " (error "
                  << decompressor->last_error(decompressor) << ")";
    mspack_destroy_chm_decompressor(decompressor);
    return files;
  }
  // Extracting thousands of files into one scratch file: keep it in memory.
  QTemporaryDir scratch((QDir("/dev/shm").exists() ? QStringLiteral("/dev/shm") : QDir::tempPath()) +
                        "/orvex-XXXXXX");
  const QByteArray outPath = QFile::encodeName(scratch.filePath("out"));
  for (mschmd_file* list : {header->files, header->sysfiles}) {
    for (mschmd_file* file = list; file; file = file->next) {
      const QByteArray name(file->filename);
      mschmd_file found{};
      if (decompressor->fast_find(decompressor, header, file->filename, &found, sizeof found) !=
              MSPACK_ERR_OK ||
          !found.section || found.offset != file->offset || found.length != file->length)
        ADD_FAILURE() << "libmspack's lookup misses " << name.toStdString();
      if (decompressor->extract(decompressor, file, outPath.constData()) != MSPACK_ERR_OK) {
        ADD_FAILURE() << "libmspack cannot extract " << name.toStdString() << " (error "
                      << decompressor->last_error(decompressor) << ")";
        continue;
      }
      QFile out(QFile::decodeName(outPath));
      EXPECT_TRUE(out.open(QIODevice::ReadOnly));
      files.insert(name, out.readAll());
    }
  }
  decompressor->close(decompressor, header);
  mspack_destroy_chm_decompressor(decompressor);
  return files;
}

ChmFiles ReadWithProgram(const QString& program, const QString& chmPath) {
  ChmFiles files;
  QTemporaryDir outDir;
  const QStringList arguments = program == "7z" ? QStringList{"x", "-y", "-o" + outDir.path(), chmPath}
                                                : QStringList{chmPath, outDir.path()};
  QProcess process;
  process.start(program, arguments);
  if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit ||
      process.exitCode() != 0) {
    ADD_FAILURE() << program.toStdString() << " failed on " << chmPath.toStdString() << ": "
                  << process.readAllStandardOutput().toStdString()
                  << process.readAllStandardError().toStdString();
    return files;
  }
  // The names as raw bytes: they need not be valid in the locale's encoding.
  const std::filesystem::path root(QFile::encodeName(outDir.path()).toStdString());
  for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
    if (!entry.is_regular_file()) continue;
    std::ifstream in(entry.path(), std::ios::binary);
    const std::string content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::string relative = entry.path().string().substr(root.string().size());
    files.insert(QByteArray::fromStdString(relative), QByteArray::fromStdString(content));
  }
  return files;
}

ChmFiles SlashFiles(const ChmFiles& files) {
  ChmFiles slash;
  for (auto it = files.cbegin(); it != files.cend(); ++it)
    if (it.key().startsWith('/')) slash.insert(it.key(), it.value());
  return slash;
}

}  // namespace orvex_test
