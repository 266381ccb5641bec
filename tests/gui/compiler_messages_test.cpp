// The "Compiler messages" window: its layout and how it reads the log.
#include <gtest/gtest.h>

#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

#include "app/compiler_messages.h"
#include "gui_helpers.h"
#include "tests/unit/hhc_fixture.h"

namespace {

QStringList Items(const CompilerMessagesWindow& view) {
  QStringList items;
  for (int i = 0; i < view.messageList->count(); ++i) items << view.messageList->item(i)->text();
  return items;
}

TEST(CompilerMessagesView, HasTheDesignedLayout) {
  CompilerMessagesWindow view;
  EXPECT_EQ(view.windowTitle(), "Compiler messages");
  EXPECT_TRUE(view.isModal());
  EXPECT_EQ(view.size(), QSize(552, 291));
  EXPECT_EQ(view.messageList->geometry(), QRect(0, 0, 552, 221));
  EXPECT_EQ(view.okButton->text(), "OK");
  EXPECT_TRUE(view.okButton->isDefault());
  view.messageList->addItem("x");
  EXPECT_EQ(view.messageList->sizeHintForRow(0), 16);
}

TEST(CompilerMessagesView, ControlCharactersBecomeTwoBlanksOtherBytesStay) {
  QTemporaryDir dir;
  CompilerMessagesWindow view;
  view.logFile = dir.filePath("Demo.log");
  orvex_test::writeBytes(view.logFile,
                         "a\tb\r\n\r\nc\x01"
                         "d \xe9t\xe9\r\n");
  view.ReloadMessages();
  EXPECT_EQ(Items(view), (QStringList{"a  b", "", QString::fromUtf8("c  d été")}));
}

TEST(CompilerMessagesView, EmptyOrMissingLogGivesAnEmptyList) {
  QTemporaryDir dir;
  CompilerMessagesWindow view;
  view.messageList->addItem("stale");
  view.logFile = dir.filePath("Demo.log");
  orvex_test::writeBytes(view.logFile, "");
  view.ReloadMessages();
  EXPECT_EQ(view.messageList->count(), 0);
  view.messageList->addItem("stale");
  view.logFile = dir.filePath("none.log");
  view.ReloadMessages();
  EXPECT_EQ(view.messageList->count(), 0);
}

TEST(CompilerMessagesView, EveryShowingReadsTheLogAgainAndOkCloses) {
  QTemporaryDir dir;
  CompilerMessagesWindow view;
  view.logFile = dir.filePath("Demo.log");
  orvex_test::writeBytes(view.logFile, "old\r\n");
  QStringList seen;
  OnNextDialog<CompilerMessagesWindow>([&](CompilerMessagesWindow* shown) {
    seen = Items(*shown);
    shown->okButton->click();
  });
  EXPECT_EQ(view.exec(), QDialog::Accepted);
  EXPECT_EQ(seen, QStringList{"old"});
  orvex_test::writeBytes(view.logFile, "new 1\r\nnew 2\r\n");
  OnNextDialog<CompilerMessagesWindow>([&](CompilerMessagesWindow* shown) {
    seen = Items(*shown);
    shown->okButton->click();
  });
  view.exec();
  EXPECT_EQ(seen, (QStringList{"new 1", "new 2"}));
}

TEST(CompilerMessagesView, LongLinesScrollToTheirEnd) {
  // The long line is not the first: every line counts for the width.
  const QString longLine = "Error: missing page " + QString(300, 'x') + ".htm";
  CompilerMessagesWindow view;
  view.output = ("short\r\n" + longLine + "\r\n").toLatin1();
  view.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
  EXPECT_EQ(Items(view), (QStringList{"short", longLine}));
  QScrollBar* sideways = view.messageList->horizontalScrollBar();
  const int hidden =
      view.messageList->fontMetrics().horizontalAdvance(longLine) - view.messageList->viewport()->width();
  EXPECT_TRUE(QTest::qWaitFor([&] { return sideways->maximum() >= hidden; }))
      << sideways->maximum() << " < " << hidden;
  view.close();
}

}  // namespace
