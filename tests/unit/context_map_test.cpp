// The project's context map: [ALIAS]/[MAP] lines, the files their includes
// name (as Windows writes them), and what a hostile include cannot do.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "platform/project_paths.h"
#include "platform/regular_file.h"
#include "formats/context/context_map.h"
#include "formats/project/project_sections.h"

namespace {

void Write(const QString& path, const QByteArray& bytes) {
  QDir().mkpath(QFileInfo(path).absolutePath());
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
  file.write(bytes);
}

QStringList Texts(const ExpandedSection& section) {
  QStringList out;
  for (const ContextLine& line : section.lines) out << line.text;
  return out;
}

}  // namespace

TEST(ProjectPaths, WindowsSpellingsFindTheFileOnDisk) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  Write(dir.filePath("Help/Pages/Intro.htm"), "x");
  Write(dir.filePath("common/helpid.h"), "x");
  const QString project = dir.filePath("Help");
  EXPECT_EQ(ResolveProjectPath(project, "Pages\\Intro.htm"), dir.filePath("Help/Pages/Intro.htm"));
  EXPECT_EQ(ResolveProjectPath(project, "PAGES\\intro.HTM"), dir.filePath("Help/Pages/Intro.htm"));
  EXPECT_EQ(ResolveProjectPath(project, "..\\Common\\HelpId.h"), dir.filePath("common/helpid.h"));
  EXPECT_EQ(ResolveProjectPath(project, "./pages/./intro.htm"), dir.filePath("Help/Pages/Intro.htm"));
  // A missing file keeps the rest of its name as written.
  EXPECT_EQ(ResolveProjectPath(project, "pages\\Missing\\X.htm"), dir.filePath("Help/Pages/Missing/X.htm"));
}

TEST(ProjectPaths, TheExactNameWinsOverOtherSpellings) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  Write(dir.filePath("index.hhk"), "lower");
  Write(dir.filePath("Index.hhk"), "upper");
  EXPECT_EQ(ResolveProjectPath(dir.path(), "Index.hhk"), dir.filePath("Index.hhk"));
  EXPECT_EQ(ResolveProjectPath(dir.path(), "index.hhk"), dir.filePath("index.hhk"));
  EXPECT_EQ(WithoutAnchor("a.htm#top"), "a.htm");
  EXPECT_EQ(WithoutAnchor("a.htm?x=1#top"), "a.htm");
}

TEST(ProjectSections, OptionsAndSectionsInAnyCase) {
  const QStringList lines{
      "[options]", "contents FILE = toc.hhc", "[Alias]", "A=a.htm", "[MAP]", "#define A 1", "[alias]",
      "B=b.htm"};
  EXPECT_EQ(HhpOption(lines, "Contents file").value_or(""), "toc.hhc");
  EXPECT_FALSE(HhpOption(lines, "Index file"));
  EXPECT_EQ(HhpSectionLines(lines, "ALIAS"), (QStringList{"A=a.htm", "B=b.htm"}));
  EXPECT_EQ(SplitHhpSections(lines).size(), 5);
}

TEST(ContextMap, IncludesAsWindowsWritesThemAndUtf8Headers) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString project = dir.filePath("proj/sub");
  QDir().mkpath(project);
  Write(dir.filePath("proj/common/HelpID.h"),
        "\xEF\xBB\xBF#define IDH_\xC3\xA9T\xC3\x89 0x10\r\n#include \"more.H\"\r\n");
  Write(dir.filePath("proj/common/more.h"), "#define IDH_MORE 17\n");
  Write(project + "/Aliases.ALI", "IDH_\x82\xA0=a.htm\r\n");  // CP932 hiragana "a"
  const ExpandedSection map = ExpandIncludes(project, {"#include ..\\common\\helpid.h"}, 932);
  EXPECT_TRUE(map.warnings.isEmpty()) << map.warnings.join('\n').toStdString();
  EXPECT_EQ(Texts(map), (QStringList{QString::fromUtf8("#define IDH_éTÉ 0x10"), "#define IDH_MORE 17"}));
  EXPECT_EQ(map.lines[1].source, "more.H");
  EXPECT_EQ(map.lines[1].lineNumber, 1);
  const ExpandedSection alias = ExpandIncludes(project, {"#include <aliases.ali>"}, 932);
  EXPECT_EQ(Texts(alias), (QStringList{QString::fromUtf8("IDH_あ=a.htm")}));
}

TEST(ContextMap, AProjectsOwnSectionsGiveEveryAlias) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  Write(dir.filePath("helpid.h"), "#define IDH_ONE 1\n#define IDH_TWO 2\n#define IDH_THREE 3\n");
  const ProjectContextMap map =
      ReadProjectContextMap(dir.path(),
                            {"[OPTIONS]", "Title=x", "[MAP]", "#include HELPID.H", "[ALIAS]",
                             "IDH_ONE=one.htm", "IDH_TWO=One.htm", "IDH_THREE=pages\\three.htm"},
                            1252);
  ASSERT_EQ(map.context.entries.size(), 3) << map.warnings.join('\n').toStdString();
  EXPECT_EQ(map.context.entries[1].name, "IDH_TWO");
  EXPECT_EQ(map.context.entries[1].number, 2u);
  EXPECT_EQ(map.context.entries[2].file, "pages/three.htm");
  EXPECT_TRUE(map.warnings.isEmpty()) << map.warnings.join('\n').toStdString();
  EXPECT_EQ(map.includedFiles, QStringList{dir.filePath("helpid.h")});
}

TEST(ContextMap, HostileIncludesAreRefusedWithAWarningNamingThem) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString fifo = dir.filePath("pipe.h");
  ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
  Write(dir.filePath("self.h"), "#define IDH_SELF 1\n#include self.h\n");
  Write(dir.filePath("big.h"), QByteArray(2048, 'x'));
  Write(dir.filePath("secret.h"), "root:x:0:0:hidden-password\n#define IDH_OK 5\n");
  QDir().mkpath(dir.filePath("folder.h"));
  IncludeLimits limits;
  limits.maxFileBytes = 1024;
  const ExpandedSection section =
      ExpandIncludes(dir.path(),
                     {"#include pipe.h", "#include /dev/zero", "#include folder.h", "#include self.h",
                      "#include big.h", "#include missing.h", "#include secret.h"},
                     1252, limits);
  const QString warnings = section.warnings.join('\n');
  for (const char* name : {"pipe.h", "/dev/zero", "folder.h", "self.h", "big.h", "missing.h"})
    EXPECT_TRUE(warnings.contains(name)) << name << "\n" << warnings.toStdString();
  EXPECT_EQ(section.warnings.size(), 6) << warnings.toStdString();
  EXPECT_EQ(Texts(section),
            (QStringList{"#define IDH_SELF 1", "root:x:0:0:hidden-password", "#define IDH_OK 5"}));
  // Pairing names the offending line of an included file, never quotes it.
  const ContextEntries pairs = PairContextEntries(section.lines, section.lines);
  EXPECT_FALSE(pairs.warnings.join('\n').contains("hidden-password"))
      << pairs.warnings.join('\n').toStdString();
  EXPECT_TRUE(pairs.warnings.join('\n').contains("secret.h line 1"))
      << pairs.warnings.join('\n').toStdString();
}

TEST(ContextMap, IncludeChainsStopAtTheDepthLimit) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  for (int i = 0; i < 12; ++i)
    Write(dir.filePath(QString("n%1.h").arg(i)),
          QString("#define IDH_%1 %1\n#include n%2.h\n").arg(i).arg(i + 1).toLatin1());
  const ExpandedSection section = ExpandIncludes(dir.path(), {"#include n0.h"}, 1252);
  EXPECT_EQ(section.lines.size(), IncludeLimits().maxDepth);
  ASSERT_EQ(section.warnings.size(), 1);
  EXPECT_TRUE(section.warnings[0].contains("n8.h")) << section.warnings[0].toStdString();
}

TEST(RegularFile, ReadsOnlyRegularFilesWithinTheLimit) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  Write(dir.filePath("a.txt"), "12345");
  EXPECT_EQ(ReadRegularFile(dir.filePath("a.txt"), 5).Value(), "12345");
  EXPECT_FALSE(ReadRegularFile(dir.filePath("a.txt"), 4));
  EXPECT_TRUE(ReadRegularFile("/dev/zero", 100).Message().contains("/dev/zero"));
  EXPECT_TRUE(ReadRegularFile(dir.filePath("none"), 100).Message().contains("none"));
  ASSERT_TRUE(QFile::link("/dev/zero", dir.filePath("link")));
  EXPECT_FALSE(ReadRegularFile(dir.filePath("link"), 100));
}
