// The viewer's Index with a keyword that leads to several topics: one line,
// and a small list of its topics to choose from when it is displayed.
#include <QDialog>
#include <QDialogButtonBox>
#include <QListWidget>
#include <QPushButton>
#include <QTreeWidget>

#include "viewer/html_help_viewer.h"
#include "viewer_fixture.h"

using namespace viewer_test;

namespace {

TEST(ViewerIndexTopicsTest, AKeywordWithSeveralTopicsIsOneLineThatOffersThem) {
  SampleProject sample;
  sample.Write();
  ASSERT_FALSE(::testing::Test::HasFatalFailure());
  // One item with two pairs and another item of the same keyword.
  const auto pair = [](const char* name, const char* file) {
    return QByteArray("<param name=\"Name\" value=\"") + name + "\">\r\n<param name=\"Local\" value=\"" +
           file + "\">\r\n";
  };
  orvex_test::writeBytes(sample.project.folder + "/My Guide.hhk",
                         "<HTML><BODY>\r\n<UL>\r\n<LI> <OBJECT type=\"text/sitemap\">\r\n"
                         "<param name=\"Keyword\" value=\"printing\">\r\n" +
                             pair("One", "My_Guide01.htm") + pair("Two", "My_Guide02.htm") +
                             "</OBJECT>\r\n<LI> <OBJECT type=\"text/sitemap\">\r\n"
                             "<param name=\"Keyword\" value=\"printing\">\r\n" +
                             pair("Three", "My_Guide03.htm") + "</OBJECT>\r\n</UL>\r\n</BODY></HTML>\r\n");
  ASSERT_TRUE(sample.Compile());
  HtmlHelpViewer help;
  ASSERT_NE(help.ShowTopic(nullptr, sample.project.chmPath()), nullptr);
  ViewerWindow* viewer = help.Viewers().value(0);
  ASSERT_NE(viewer, nullptr);
  ASSERT_TRUE(WaitForTopic(viewer, "/My_Guide01.htm"));

  ASSERT_EQ(viewer->indexTree->topLevelItemCount(), 1);
  QTreeWidgetItem* printing = viewer->indexTree->topLevelItem(0);
  EXPECT_EQ(printing->text(0), "printing");
  EXPECT_EQ(printing->childCount(), 0);
  EXPECT_EQ(printing->toolTip(0), "One\nTwo\nThree");

  viewer->indexTree->setCurrentItem(printing);
  viewer->indexDisplay->click();
  QDialog* chooser = nullptr;
  ASSERT_TRUE(WaitUntil([&] {
    chooser = viewer->findChild<QDialog*>("topicsFoundDialog");
    return chooser && chooser->isVisible();
  }));
  auto* list = chooser->findChild<QListWidget*>("topicsFoundList");
  ASSERT_NE(list, nullptr);
  ASSERT_EQ(list->count(), 3);
  EXPECT_EQ(list->item(2)->text(), "Three");
  list->setCurrentRow(2);
  for (QAbstractButton* button : chooser->findChild<QDialogButtonBox*>()->buttons())
    if (button->text() == "Display") button->click();
  EXPECT_TRUE(WaitForTopic(viewer, "/My_Guide03.htm"));
  help.CloseAll();
}

}  // namespace
