// The project-file reader on any file: the project file itself (options,
// language, sections) read from disk with the files named after it.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "fuzz_input.h"
#include "model/project_reader.h"
#include "platform/text_file.h"
#include "formats/project/page_template.h"
#include "formats/project/project_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QList<QByteArray> parts = orvex_fuzz::Parts(orvex_fuzz::Bytes(data, size), 3);
  static QTemporaryDir dir;
  const QString project = dir.filePath(QStringLiteral("p.hhp"));
  const QByteArray* sources[] = {&parts[0], &parts[1], &parts[2]};
  const char* names[] = {"p.hhp", "p.ali", "p.h"};
  for (int i = 0; i < 3; ++i) {
    QFile f(dir.filePath(QString::fromLatin1(names[i])));
    if (!f.open(QIODevice::WriteOnly)) return 0;
    f.write(*sources[i]);
  }
  const Result<ProjectFiles> files = ReadProjectFiles(project);
  if (!files) return 0;
  ProjectCodePage(files->projectLines);
  ProjectLanguage(files->projectLines);
  for (const QString& line : files->projectLines) LanguageLineLcid(line);
  UpdateProjectLines(files->projectLines, QStringLiteral("first.htm"), project);
  return 0;
}
