// The viewer opens a compiled file where it was left: at the topic shown
// last, in the window's last place, per file.
#include <gtest/gtest.h>

#include <QPointer>

#include "settings/viewed_files.h"
#include "tests/unit/test_files.h"
#include "viewer/chm_pages.h"
#include "viewer/html_help_viewer.h"
#include "viewer_fixture.h"

using namespace viewer_test;

namespace {

class ViewerMemoryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    sample.Write();
    if (HasFatalFailure()) return;
    ASSERT_TRUE(sample.Compile());
    settingsFile = sample.dir.filePath("config/orvex.ini");
  }
  // A viewer as a new run of the program has it.
  ViewerWindow* Open(const QString& file) {
    help = std::make_unique<HtmlHelpViewer>();
    help->SetSettingsFile(settingsFile);
    ViewerWindow* viewer = help->ShowTopic(nullptr, file);
    EXPECT_NE(viewer, nullptr);
    return viewer;
  }
  void Close(ViewerWindow* viewer) {
    QPointer<ViewerWindow> gone(viewer);
    viewer->close();
    ASSERT_TRUE(WaitUntil([&] { return gone.isNull(); }));
  }
  void TearDown() override {
    if (help) help->CloseAll();
    help.reset();
  }

  SampleProject sample;
  QString settingsFile;
  std::unique_ptr<HtmlHelpViewer> help;
};

TEST_F(ViewerMemoryTest, AFileOpensAtItsLastTopicInItsLastPlace) {
  ViewerWindow* viewer = Open(sample.project.chmPath());
  ASSERT_NE(viewer, nullptr);
  ASSERT_TRUE(WaitForTopic(viewer, "/My_Guide01.htm"));
  viewer->ShowUrl(ChmEntryUrl("/My_Guide02.htm", "part"));
  ASSERT_TRUE(WaitForTopic(viewer, "/My_Guide02.htm"));
  viewer->setGeometry(70, 90, 430, 310);
  ASSERT_TRUE(WaitUntil([&] { return viewer->geometry() == QRect(70, 90, 430, 310); }));
  Close(viewer);

  // Opened again (by another name of the same file): there again.
  viewer = Open(sample.project.folder + "/../my help/My Guide.chm");
  ASSERT_NE(viewer, nullptr);
  EXPECT_TRUE(WaitForTopic(viewer, "/My_Guide02.htm"));
  EXPECT_EQ(viewer->CurrentUrl().fragment(), "part");
  EXPECT_EQ(viewer->geometry(), QRect(70, 90, 430, 310));
  Close(viewer);

  // A topic asked for wins over the one kept.
  viewer = Open(sample.project.chmPath() + "::/My_Guide03.htm");
  ASSERT_NE(viewer, nullptr);
  EXPECT_TRUE(WaitForTopic(viewer, "/My_Guide03.htm"));
  Close(viewer);

  // A kept page that the file no longer holds gives the default topic.
  ExpectWritten(RememberViewedFile(
      settingsFile, {QFileInfo(sample.project.chmPath()).canonicalFilePath(), "/Gone.htm", {}}));
  viewer = Open(sample.project.chmPath());
  ASSERT_NE(viewer, nullptr);
  EXPECT_TRUE(WaitForTopic(viewer, "/My_Guide01.htm"));
}

}  // namespace
