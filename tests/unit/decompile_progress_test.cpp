// How far decompiling is: told source by source, and printed by hh for the
// window to read.

#include "chm/compiler.h"
#include "chm/decompile_command.h"
#include "chm/decompiler.h"
#include "hhc_fixture.h"

using namespace orvex;
using namespace orvex_test;

namespace {

TEST(DecompileProgress, EverySourceIsCountedUpToAllOfThemAndHhPrintsIt) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  HelpProject project;
  project.write(dir.path() + "/src");
  const CompileResult compiled = CompileProject(project.projectPath());
  ASSERT_TRUE(compiled.success) << compiled.messages.join('\n').toStdString();

  QList<QPair<qsizetype, qsizetype>> told;
  DecompileOptions options;
  options.progress = [&](qsizetype done, qsizetype total) { told.append({done, total}); };
  const DecompileResult result = DecompileChm(project.chmPath(), dir.path() + "/out", options);
  ASSERT_TRUE(result.problems.isEmpty()) << result.problems.join('\n').toStdString();
  ASSERT_EQ(told.size(), result.written.size());
  for (qsizetype i = 0; i < told.size(); ++i) {
    EXPECT_EQ(told[i].first, i + 1);
    EXPECT_EQ(told[i].second, result.written.size());
  }

  // hh prints the same counts as lines of its own, which read back.
  QByteArray output;
  ASSERT_EQ(runTool(tool("hh"), {"-decompile", dir.path() + "/again", project.chmPath(), "--progress"},
                    QProcessEnvironment::systemEnvironment(), &output),
            0)
      << output.toStdString();
  qsizetype done = 0;
  qsizetype total = 0;
  qsizetype lines = 0;
  for (const QByteArray& line : output.split('\n')) {
    if (!ReadDecompileProgress(line, &done, &total)) continue;
    ++lines;
    EXPECT_LE(done, total);
  }
  EXPECT_EQ(lines, result.written.size());
  EXPECT_EQ(done, result.written.size());
  EXPECT_EQ(total, result.written.size());
  for (const char* other : {"Progress: 3", "Progress: x/4", "Progress: 5/4", "File not found: Progress: 1/2"})
    EXPECT_FALSE(ReadDecompileProgress(other, &done, &total)) << other;
}

}  // namespace
