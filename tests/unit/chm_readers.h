#pragma once
// What the readers of compiled files give back: chmlib's extract_chmLib,
// libmspack's CHM decompressor and 7-Zip, each as entry name -> bytes.

#include <QByteArray>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QMap>
#include <QStandardPaths>
#include <QString>
#include <QTemporaryDir>

#include <mspack.h>

#include "hhc_fixture.h"

namespace orvex_test {

// Every file below folder, named "/relative/path".
inline QMap<QString, QByteArray> FilesBelow(const QString& folder) {
  QMap<QString, QByteArray> files;
  QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
  while (it.hasNext()) {
    const QString path = it.next();
    files.insert('/' + QDir(folder).relativeFilePath(path), readBytes(path));
  }
  return files;
}

// Runs an extracting program into a fresh folder; false when it failed.
inline bool ExtractWith(const QString& program, const QStringList& args, const QString& into,
                        QMap<QString, QByteArray>* files) {
  QByteArray output;
  if (runTool(program, args, QProcessEnvironment::systemEnvironment(), &output) != 0) {
    ADD_FAILURE() << program.toStdString() << " failed: " << output.toStdString();
    return false;
  }
  *files = FilesBelow(into);
  return true;
}

inline QMap<QString, QByteArray> ChmlibFiles(const QString& chm, const QString& into) {
  QMap<QString, QByteArray> files;
  ExtractWith(QStandardPaths::findExecutable("extract_chmLib"), {chm, into}, into, &files);
  return files;
}

inline QMap<QString, QByteArray> SevenZipFiles(const QString& chm, const QString& into) {
  QMap<QString, QByteArray> files;
  ExtractWith(QStandardPaths::findExecutable("7z"), {"x", "-y", "-o" + into, chm}, into, &files);
  return files;
}

// libmspack's files (the "/#..." and "/$..." ones included, "::" ones not).
inline QMap<QString, QByteArray> MspackFiles(const QString& chm, const QString& scratch) {
  QMap<QString, QByteArray> files;
  mschm_decompressor* decompressor = mspack_create_chm_decompressor(nullptr);
  if (!decompressor) {
    ADD_FAILURE() << "libmspack has no CHM decompressor";
    return files;
  }
  mschmd_header* header = decompressor->open(decompressor, QFile::encodeName(chm).constData());
  if (!header) {
    ADD_FAILURE() << "libmspack cannot open " << chm.toStdString() << ": error "
                  << decompressor->last_error(decompressor);
  } else {
    int n = 0;
    for (mschmd_file* file = header->files; file; file = file->next) {
      const QString out = scratch + "/mspack-" + QString::number(n++);
      if (decompressor->extract(decompressor, file, QFile::encodeName(out).data()) != MSPACK_ERR_OK) {
        ADD_FAILURE() << "libmspack cannot extract " << file->filename;
        continue;
      }
      files.insert(QString::fromLatin1(file->filename), readBytes(out));
      QFile::remove(out);
    }
    decompressor->close(decompressor, header);
  }
  mspack_destroy_chm_decompressor(decompressor);
  return files;
}

}  // namespace orvex_test
