#include "features/viewer_objects.h"

#include <QFile>

QString HelpObjectsScript() {
  QFile file(QStringLiteral(":/orvex/features/help_objects.js"));
  if (!file.open(QIODevice::ReadOnly)) return {};
  return QString::fromUtf8(file.readAll());
}
