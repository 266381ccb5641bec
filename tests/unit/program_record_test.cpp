// The version record, the training-card notice and orvex --view.
#include <gtest/gtest.h>

#include <QProcess>

#include "app/training_card_message.h"
#include "app/version_record.h"

TEST(AboutRecord, ProgramRecordIsVersionOneOne) {
  const VersionRecord record = ProgramVersionRecord();
  EXPECT_EQ(record.productName, "Orvex");
  EXPECT_EQ(record.productVersion, "1.1");
  EXPECT_EQ(record.fileVersion, "1.1");
  EXPECT_EQ(record.major, 1);
  EXPECT_EQ(record.minor, 1);
  EXPECT_EQ(record.patch, 0);
  EXPECT_FALSE(record.legalCopyright.isEmpty());
}

TEST(AboutRecord, TextsOnlyFromACompleteRecord) {
  AboutTexts texts{"Version 1.0", "Orvex", "old"};
  VersionRecord partial = ProgramVersionRecord();
  partial.legalCopyright.clear();
  EXPECT_FALSE(AboutTextsFrom(partial, texts));
  EXPECT_EQ(texts.version, "Version 1.0");
  EXPECT_EQ(texts.copyright, "old");
  ASSERT_TRUE(AboutTextsFrom(ProgramVersionRecord(), texts));
  EXPECT_EQ(texts.version, "Version 1.1");
  VersionRecord longVersion = ProgramVersionRecord();
  longVersion.productVersion = QString(300, '9');
  ASSERT_TRUE(AboutTextsFrom(longVersion, texts));
  EXPECT_EQ(texts.version.size(), 255);
}

TEST(TCardText, ThreeLines) {
  EXPECT_EQ(TrainingCardMessageText(5, "0"), " TCard message: \r\nwParam=5\r\nlParam=0");
  EXPECT_EQ(TrainingCardMessageText(-7, "abc"), " TCard message: \r\nwParam=-7\r\nlParam=abc");
}

TEST(TCardText, LParamAsNumberOrText) {
  EXPECT_EQ(TrainingCardLParamText(""), "0");
  EXPECT_EQ(TrainingCardLParamText(" 42 "), "42");
  EXPECT_EQ(TrainingCardLParamText("-0012"), "-12");
  EXPECT_EQ(TrainingCardLParamText("99999999999"), "99999999999");  // past 32 bits: a text
  EXPECT_EQ(TrainingCardLParamText(QString(300, 'a')).size(), 256);
}

// orvex --view: refuses a wrong command line and a file it cannot show.

namespace {
int RunOrvex(const QStringList& arguments) {
  QProcess orvex;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("QT_QPA_PLATFORM", "offscreen");
  env.insert("QTWEBENGINE_DISABLE_SANDBOX", "1");
  orvex.setProcessEnvironment(env);
  orvex.start(QStringLiteral(ORVEX_BIN_DIR "/orvex"), arguments);
  if (!orvex.waitForFinished(30000)) {
    orvex.kill();
    orvex.waitForFinished(2000);
    return -1;
  }
  return orvex.exitStatus() == QProcess::NormalExit ? orvex.exitCode() : -1;
}
}  // namespace

TEST(AboutViewCommand, RefusesWhatItCannotShow) {
  EXPECT_EQ(RunOrvex({"--view"}), 2);
  EXPECT_EQ(RunOrvex({"--view", "/no/such/file.chm"}), 1);
}
