// Check project over a project with one of each problem, through
// `orvex --check`, and over projects made by real generators.
#include <gtest/gtest.h>

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

#include "checks/project_check.h"
#include "tests/unit/check_project_sample.h"
#include "tests/unit/generated_projects.h"

namespace {

struct CheckRun {
  int exitCode = -1;
  QStringList lines;
  QString errors;
};

CheckRun RunCheck(const QString& project) {
  QProcess orvex;
  orvex.start(QStringLiteral(ORVEX_BIN_DIR "/orvex"), {"--check", project});
  CheckRun run;
  if (!orvex.waitForFinished(60000)) return run;
  run.exitCode = orvex.exitCode();
  run.lines = QString::fromUtf8(orvex.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
  run.errors = QString::fromUtf8(orvex.readAllStandardError());
  return run;
}

TEST(CheckProjectCommand, ListsEveryProblemAtItsLineAndFailsOnErrors) {
  QTemporaryDir dir;
  QTemporaryDir outside;
  const CheckRun run = RunCheck(MakeProjectWithEveryProblem(dir.path(), outside.path()));
  EXPECT_EQ(run.lines, EveryProblemLines()) << run.lines.join('\n').toStdString();
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_TRUE(run.errors.contains("10 errors, 5 warnings, 2 notes")) << run.errors.toStdString();
}

TEST(CheckProjectCommand, WarningsAndNotesAloneDoNotFail) {
  QTemporaryDir dir;
  PutText(dir.filePath("Small.hhp"), "[OPTIONS]\r\nContents file=Small.hhc\r\n\r\n[FILES]\r\none.htm\r\n",
          1252);
  PutText(dir.filePath("Small.hhc"),
          "<UL><LI> <OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"One\">"
          "<param name=\"Local\" value=\"ONE.HTM\"></OBJECT></UL>\r\n",
          1252);
  PutText(dir.filePath("one.htm"),
          "<P><A HREF=\"Two.htm#Top\">two</A> <A HREF=\"mailto:a@b.c\">mail</A></P>\r\n", 1252);
  ASSERT_TRUE(QDir(dir.path()).mkpath("sub"));
  PutText(dir.filePath("sub/two.htm"), "<P><A NAME=\"top\"></A><A HREF=\"../one.htm\">back</A></P>\r\n",
          1252);
  PutText(dir.filePath("two.htm"), "<P ID=\"TOP\">top</P>\r\n", 1252);
  const CheckRun run = RunCheck(dir.filePath("Small.hhp"));
  EXPECT_EQ(run.lines, QStringList({"one.htm:1: no-keyword: topic \"One\" has no keyword in the Index",
                                    "one.htm:1: external-link: external link: mailto:a@b.c",
                                    "sub/two.htm:1: orphan-page: no Contents item leads to this page",
                                    "two.htm:1: orphan-page: no Contents item leads to this page"}))
      << run.lines.join('\n').toStdString();
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(RunCheck(dir.filePath("None.hhp")).exitCode, 2);
}

// The program's own projects keep aliases and numbers in included files.
TEST(CheckProjectCommand, IncludedAliasAndMapFilesAreNamedByTheirLines) {
  QTemporaryDir dir;
  PutText(
      dir.filePath("G.hhp"),
      "[OPTIONS]\r\nContents file=G.hhc\r\n\r\n[FILES]\r\nG01.htm\r\n\r\n[ALIAS]\r\n#include G.ali\r\n\r\n"
      "[MAP]\r\n#include \"G.h\"\r\n",
      1252);
  PutText(dir.filePath("G.ali"), "IDH_G01=G01.htm\r\nIDH_G02=G02.htm\r\n", 1252);
  PutText(dir.filePath("G.h"), "#define IDH_G01 101\r\n#define IDH_g02 101\r\n#define IDH_G03 103\r\n", 1252);
  PutText(dir.filePath("G.hhc"),
          "<UL><LI> <OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"One\">"
          "<param name=\"Local\" value=\"G01.htm\"></OBJECT></UL>\r\n",
          1252);
  PutText(dir.filePath("G01.htm"), "<P>one</P>\r\n", 1252);
  const CheckRun run = RunCheck(dir.filePath("G.hhp"));
  EXPECT_EQ(
      run.lines,
      QStringList({"G.ali:2: alias-missing-page: alias IDH_G02 leads to a page that does not exist: G02.htm",
                   "G.h:2: duplicate-number: context number 101 of IDH_g02 is already given to IDH_G01 (G.h, "
                   "line 1)",
                   "G.h:3: number-without-alias: context number IDH_G03 (103) has no alias in [ALIAS]",
                   "G01.htm:1: no-keyword: topic \"One\" has no keyword in the Index"}))
      << run.lines.join('\n').toStdString();
  EXPECT_EQ(run.exitCode, 1);
}

// Pages made by real generators link only what they write; Sphinx's HTML
// Help builder alone links the sources ("Show Source") it does not copy.
TEST(CheckProject, GeneratedProjectsHaveNoBrokenLinks) {
  for (const ProjectGenerator generate : kProjectGenerators) {
    QTemporaryDir dir;
    const GeneratedProject project = generate(dir.path());
    if (project.generatorMissing) continue;
    ASSERT_FALSE(project.projectFile.isEmpty()) << project.error.toStdString();
    const Result<ProjectCheckInput> input = ReadProjectCheckInput(project.projectFile);
    ASSERT_TRUE(input.Ok()) << input.Message().toStdString();
    for (const CheckProblem& problem : CheckProject(*input)) {
      const bool sphinxSource =
          problem.kind == CheckKind::MissingFile && problem.text.contains(": _sources/");
      EXPECT_TRUE(SeverityOf(problem.kind) != CheckSeverity::Error || sphinxSource)
          << ProblemLine(problem).toStdString();
    }
  }
}

}  // namespace
