// Doxygen's HTML Help project of the ICU headers (about 700 pages), the
// largest generated project the benchmarks run on.
#pragma once

#include <QFile>
#include <QProcess>
#include <QString>

// Runs Doxygen over the ICU headers into `folder`; the folder of the pages
// (with index.hhp, index.hhc and index.hhk), or empty when that failed.
inline QString GenerateIcuPages(const QString& folder) {
  QFile doxyfile(folder + "/Doxyfile");
  if (!doxyfile.open(QIODevice::WriteOnly)) return {};
  doxyfile.write(
      "INPUT = /usr/include/unicode\nOUTPUT_DIRECTORY = out\nGENERATE_HTMLHELP = YES\n"
      "GENERATE_LATEX = NO\nQUIET = YES\nWARNINGS = NO\nEXTRACT_ALL = YES\n");
  doxyfile.close();
  QProcess doxygen;
  doxygen.setWorkingDirectory(folder);
  doxygen.start("doxygen", {"Doxyfile"});
  if (!doxygen.waitForFinished(600000) || doxygen.exitCode() != 0) return {};
  return folder + "/out/html";
}
