#include "generated_projects.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace {

constexpr int kProbeDeadlineMs = 30000;
constexpr int kGenerateDeadlineMs = 180000;

bool WriteFile(const QString& path, const QByteArray& content) {
  QDir().mkpath(QFileInfo(path).path());
  QFile file(path);
  return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(content) == content.size();
}

// Runs a program to its end within the deadline; the error text when it fails.
QString Run(const QString& program, const QStringList& arguments, const QString& workDir, int deadlineMs) {
  QProcess process;
  process.setWorkingDirectory(workDir);
  process.setProcessChannelMode(QProcess::MergedChannels);
  process.start(program, arguments);
  if (!process.waitForStarted(kProbeDeadlineMs)) return program + QStringLiteral(" did not start");
  if (!process.waitForFinished(deadlineMs)) {
    process.kill();
    process.waitForFinished(kProbeDeadlineMs);
    return program + QStringLiteral(" did not finish in time");
  }
  if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
    return program + QStringLiteral(" failed: ") + QString::fromLocal8Bit(process.readAll());
  }
  return {};
}

// A Python that has Sphinx with its HTML Help builder, or empty.
QString FindSphinxPython() {
  QStringList candidates{QStringLiteral("/usr/bin/python3")};
  const QString onPath = QStandardPaths::findExecutable(QStringLiteral("python3"));
  if (!onPath.isEmpty()) candidates.append(onPath);
  for (const QString& python : candidates) {
    if (!QFileInfo(python).isExecutable()) continue;
    const QString error =
        Run(python, {QStringLiteral("-c"), QStringLiteral("import sphinx, sphinxcontrib.htmlhelp")},
            QDir::tempPath(), kProbeDeadlineMs);
    if (error.isEmpty()) return python;
  }
  return {};
}

GeneratedProject Missing(const QString& why) {
  GeneratedProject project;
  project.generatorMissing = true;
  project.error = why;
  return project;
}

GeneratedProject Failed(const QString& why) {
  GeneratedProject project;
  project.error = why;
  return project;
}

}  // namespace

GeneratedProject GenerateDoxygenProject(const QString& folder, int extraClasses) {
  const QString doxygen = QStandardPaths::findExecutable(QStringLiteral("doxygen"));
  if (doxygen.isEmpty()) return Missing(QStringLiteral("doxygen is not installed"));

  const QDir dir(folder);
  QByteArray many = "/** @file many.h More classes. */\n";
  for (int i = 0; i < extraClasses; ++i) {
    const QByteArray n = QByteArray::number(i);
    many += "/** Class number " + n + ". */\nclass Part" + n + " {\n public:\n  /** Size of part " + n +
            ". */\n  int size() const;\n  /** Weight of part " + n + ". */\n  double weight() const;\n};\n";
  }
  const bool written = (extraClasses == 0 || WriteFile(dir.filePath("src/many.h"), many)) &&
                       WriteFile(dir.filePath("src/shapes.h"),
                                 "/** @file shapes.h Shapes & friends. */\n"
                                 "/** A shape. */\n"
                                 "class Shape {\n public:\n"
                                 "  /** Area of the shape. */\n  virtual double area() const = 0;\n"
                                 "  /** Name of the shape. */\n  virtual const char* name() const;\n};\n"
                                 "/** Compares two shapes. */\n"
                                 "bool operator<(const Shape& a, const Shape& b);\n") &&
                       WriteFile(dir.filePath("src/circle.h"),
                                 "/** @file circle.h */\n#include \"shapes.h\"\n"
                                 "/** A circle. */\n"
                                 "class Circle : public Shape {\n public:\n"
                                 "  /** Area of the circle. */\n  double area() const override;\n};\n") &&
                       WriteFile(dir.filePath("src/pages.h"),
                                 "/** @file pages.h */\n"
                                 "/** @page fish Fish & Chips\n * A page about \"fish\" & chips.\n */\n"
                                 "/** Adds two numbers. */\nint compute(int a, int b);\n") &&
                       WriteFile(dir.filePath("Doxyfile"),
                                 "PROJECT_NAME = \"Shapes & Co\"\n"
                                 "INPUT = src\n"
                                 "OUTPUT_DIRECTORY = out\n"
                                 "GENERATE_HTMLHELP = YES\n"
                                 "HHC_LOCATION =\n"
                                 "GENERATE_LATEX = NO\n"
                                 "HAVE_DOT = NO\n"
                                 "CLASS_GRAPH = NO\n"
                                 "SEARCHENGINE = NO\n"
                                 "HTML_DYNAMIC_MENUS = NO\n"
                                 "QUIET = YES\n"
                                 "WARNINGS = NO\n");
  if (!written) return Failed(QStringLiteral("cannot write the sources into ") + folder);

  const QString error = Run(doxygen, {QStringLiteral("Doxyfile")}, folder, kGenerateDeadlineMs);
  if (!error.isEmpty()) return Failed(error);
  const QString projectFile = dir.filePath("out/html/index.hhp");
  if (!QFileInfo::exists(projectFile)) return Failed(QStringLiteral("doxygen made no index.hhp"));
  GeneratedProject project;
  project.projectFile = projectFile;
  return project;
}

GeneratedProject GenerateSphinxProject(const QString& folder) {
  const QString python = FindSphinxPython();
  if (python.isEmpty()) return Missing(QStringLiteral("Sphinx with its htmlhelp builder is not installed"));

  const QDir dir(folder);
  const bool written =
      WriteFile(dir.filePath("src/conf.py"),
                "project = 'Tiny & Small'\n"
                "extensions = ['sphinxcontrib.htmlhelp']\n"
                "htmlhelp_basename = 'tiny'\n") &&
      WriteFile(dir.filePath("src/index.rst"),
                "Tiny & Small\n============\n\n"
                ".. toctree::\n\n   first\n   second\n\n"
                ".. index:: single: Apples & Pears\n") &&
      WriteFile(dir.filePath("src/first.rst"),
                "First <page>\n============\n\n"
                ".. index:: fruit; banana\n.. index:: cherry\n\nSome text.\n\n"
                "Sub section\n-----------\n\nText.\n") &&
      WriteFile(dir.filePath("src/second.rst"), "Second page\n===========\n\n.. index:: cherry\n\nText.\n");
  if (!written) return Failed(QStringLiteral("cannot write the sources into ") + folder);

  const QString error =
      Run(python,
          {QStringLiteral("-m"), QStringLiteral("sphinx"), QStringLiteral("-q"), QStringLiteral("-b"),
           QStringLiteral("htmlhelp"), QStringLiteral("src"), QStringLiteral("out")},
          folder, kGenerateDeadlineMs);
  if (!error.isEmpty()) return Failed(error);
  const QString projectFile = dir.filePath("out/tiny.hhp");
  if (!QFileInfo::exists(projectFile)) return Failed(QStringLiteral("Sphinx made no tiny.hhp"));
  GeneratedProject project;
  project.projectFile = projectFile;
  return project;
}
