#include "viewer/new_help_viewer.h"

#include <QCoreApplication>
#include <QFile>

#include "platform/settings_file.h"
#include "settings/recent_projects.h"
#include "viewer/html_help_viewer.h"

QString HelpObjectsScript() {
  QFile file(QStringLiteral(":/orvex/features/help_objects.js"));
  if (!file.open(QIODevice::ReadOnly)) return {};
  return QString::fromUtf8(file.readAll());
}

HtmlHelpViewer* NewHelpViewer(QObject* parent) {
  auto* viewer = new HtmlHelpViewer(parent);
  viewer->AddPageScript(QString::fromLatin1(kHelpObjectsScriptName), HelpObjectsScript());
  viewer->SetSettingsFile(UserSettingsFile());
  return viewer;
}
