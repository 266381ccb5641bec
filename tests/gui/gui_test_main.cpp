// Runs the widget and editor tests inside one real QApplication.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>
#include <unistd.h>

#include "viewer/chm_scheme.h"
#include "editor/editing_control.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (::testing::GTEST_FLAG(list_tests)) return RUN_ALL_TESTS();
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  if (geteuid() == 0) qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
  RegisterUrlSchemes();
  RegisterChmUrlScheme();
  // The windows under test keep their settings apart from the user's.
  QTemporaryDir configHome;
  qputenv("XDG_CONFIG_HOME", configHome.path().toLocal8Bit());
  QApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
