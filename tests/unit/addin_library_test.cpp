// Add-in libraries called through the helper program and in process.
#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include "app/addin_library.h"

namespace {

QString Case(const QString& folder, const QString& file = QString()) {
  const QString dir = QStringLiteral(ORVEX_TEST_ADDINS_DIR "/") + folder;
  return file.isEmpty() ? dir : dir + "/" + file;
}

QString Probe() { return AddinProbeProgram(QStringLiteral(ORVEX_BIN_DIR)); }

}  // namespace

TEST(AddinLibrary, CandidatesAreTheSharedLibrariesSortedByName) {
  QTemporaryDir dir;
  for (const char* name : {"zeta.so", "Alpha.so", "mid.so", "notes.txt", "lib.so.1"}) {
    QFile f(dir.filePath(name));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  }
  QDir().mkdir(dir.filePath("folder.so"));
  const QStringList found = AddinCandidates(dir.path());
  ASSERT_EQ(found.size(), 3);
  EXPECT_TRUE(found[0].endsWith("/Alpha.so"));
  EXPECT_TRUE(found[1].endsWith("/mid.so"));
  EXPECT_TRUE(found[2].endsWith("/zeta.so"));
  EXPECT_TRUE(AddinCandidates(QString()).isEmpty());
  EXPECT_TRUE(AddinCandidates(dir.filePath("missing")).isEmpty());
}

TEST(AddinLibrary, TopicStreamRoundTripsAndDropsAnIncompleteRecord) {
  QByteArray stream = EncodeAddinTopic({"One", "<p>1</p>"}) + EncodeAddinTopic({"Zw\u00f6lf", ""});
  const QList<AddinTopic> topics = DecodeAddinTopics(stream + QByteArray("Three\0<p>cut", 12));
  ASSERT_EQ(topics.size(), 2);
  EXPECT_EQ(topics[0].title, "One");
  EXPECT_EQ(topics[0].html, "<p>1</p>");
  EXPECT_EQ(topics[1].title, QString::fromUtf8("Zw\u00f6lf"));
  EXPECT_TRUE(topics[1].html.isEmpty());
  EXPECT_TRUE(DecodeAddinTopics(QByteArray()).isEmpty());
}

TEST(AddinLibrary, HelperProgramIsBuiltBesideTheProgram) { EXPECT_FALSE(Probe().isEmpty()); }

TEST(AddinLibrary, NameThroughTheHelperAndInProcess) {
  EXPECT_EQ(ReadAddinName(Probe(), Case("two", "alpha.so")), std::optional<QString>("Alpha tools"));
  EXPECT_EQ(ReadAddinName(QString(), Case("two", "beta.so")), std::optional<QString>("Beta tools"));
}

TEST(AddinLibrary, LibraryWithoutNameOrNotLoadableIsNoAddin) {
  EXPECT_FALSE(ReadAddinName(Probe(), Case("faulty", "noname.so")).has_value());
  EXPECT_FALSE(ReadAddinName(Probe(), Case("faulty", "broken.so")).has_value());
  EXPECT_EQ(CallAddinName(Case("faulty", "noname.so")).status, AddinStatus::NotAnAddin);
  EXPECT_EQ(CallAddinName(Case("faulty", "broken.so")).status, AddinStatus::NotLoadable);
  EXPECT_EQ(CallAddinName(Case("faulty", "missing.so")).status, AddinStatus::NotLoadable);
}

TEST(AddinLibrary, CrashingNameEndsOnlyTheHelper) {
  EXPECT_FALSE(ReadAddinName(Probe(), Case("faulty", "crash.so")).has_value());
}

TEST(AddinLibrary, HangingNameIsStoppedAtTheDeadline) {
  QElapsedTimer clock;
  clock.start();
  EXPECT_FALSE(ReadAddinName(Probe(), Case("hang", "hang.so"), 500).has_value());
  EXPECT_LT(clock.elapsed(), 5000);
}

TEST(AddinLibrary, CaptionWithoutZeroByteStopsAtTheBuffer) {
  const std::optional<QString> caption = ReadAddinName(Probe(), Case("odd", "long.so"));
  ASSERT_TRUE(caption.has_value());
  EXPECT_TRUE(caption->startsWith("R&D xxx"));
  EXPECT_EQ(caption->size(), 255);
  const AddinNameResult inProcess = CallAddinName(Case("odd", "long.so"));
  EXPECT_EQ(inProcess.caption.size(), 256);  // the whole buffer, never past it
}

TEST(AddinLibrary, ThreeTitlesWithTheirTexts) {
  const auto topics = ReadAddinTopics(Probe(), Case("three", "three.so"));
  ASSERT_TRUE(topics.has_value());
  ASSERT_EQ(topics->size(), 3);
  EXPECT_EQ((*topics)[0].title, "First from add-in");
  EXPECT_EQ((*topics)[0].html, "<p>Paragraph from the add-in</p>");
  EXPECT_EQ((*topics)[1].html, "");
  EXPECT_EQ((*topics)[2].title, "Third from add-in");
  EXPECT_EQ((*topics)[2].html, "Zq");
}

TEST(AddinLibrary, TopicsBeforeACrashAreKept) {
  const auto topics = ReadAddinTopics(Probe(), Case("odd", "crashmid.so"));
  ASSERT_TRUE(topics.has_value());
  ASSERT_EQ(topics->size(), 1);
  EXPECT_EQ(topics->first().title, "Before the crash");
}

TEST(AddinLibrary, MissingTopicExportsGiveNothingToRun) {
  EXPECT_FALSE(ReadAddinTopics(Probe(), Case("odd", "notopics.so")).has_value());
  EXPECT_FALSE(ReadAddinTopics(Probe(), Case("faulty", "broken.so")).has_value());
  EXPECT_FALSE(ReadAddinTopics(QString(), Case("odd", "notopics.so")).has_value());
}

TEST(AddinLibrary, AnAddinWithoutAFolderPromptAsksForNoFolder) {
  EXPECT_EQ(ReadAddinFolderPrompt(Probe(), Case("three", "three.so")), std::optional<QString>(""));
  EXPECT_EQ(CallAddinFolderPrompt(Case("three", "three.so")).status, AddinStatus::Ok);
  EXPECT_FALSE(ReadAddinFolderPrompt(Probe(), Case("faulty", "broken.so")).has_value());
}

TEST(AddinLibrary, HelperRefusesBadArguments) {
  EXPECT_EQ(RunAddinProbe({}), 2);
  EXPECT_EQ(RunAddinProbe({"run", "x.so"}), 2);
  EXPECT_EQ(RunAddinProbe({"name", Case("faulty", "broken.so")}), 4);
}
