// What the window shows of itself: its caption, the font names it offers,
// and its size, position and splitter, which it keeps in the settings file
// (section "Window") from one run to the next.
#include <QComboBox>
#include <algorithm>
#include <optional>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QScreen>
#include <QSplitter>

#include "app/long_work.h"
#include "app/main_window.h"
#include "platform/profile.h"
#include "project/project_commands.h"
#include "formats/project/project_file.h"

namespace {

const QString kWindowSection = QStringLiteral("Window");

// "C059 [UKWN]" names one foundry's cut of "C059": the page knows it as "C059".
QString FamilyName(const QString& family) {
  const int foundry = family.indexOf(QLatin1String(" ["));
  return foundry > 0 ? family.left(foundry) : family;
}

}  // namespace

void MainWindow::UpdateWindowTitle() {
  QString title = QStringLiteral("Orvex");
  if (project.IsOpen()) {
    title = ProjectBaseName(project.ProjectFile()) + QStringLiteral(" \u2014 ") + title;
    if (project.IsModified()) title.prepend('*');
  }
  // A long run says what it does: "My Guide — Orvex - Compiling...".
  if (longWork && longWork->Running()) title += QStringLiteral(" - %1...").arg(longWork->What());
  setWindowTitle(title);
}

void MainWindow::FillFontNameBox() {
  QStringList families;
  for (const QString& family : QFontDatabase::families()) families << FamilyName(family);
  families.removeDuplicates();
  fontNameBox->addItems(families);
  // The box starts with the desktop's own font when it is offered.
  const QString general = FamilyName(QFontDatabase::systemFont(QFontDatabase::GeneralFont).family());
  if (families.contains(general))
    fontNameBox->setEditText(general);
  else if (!families.isEmpty())
    fontNameBox->setEditText(families.first());
}

void MainWindow::RestoreWindowState() {
  const QByteArray settings = ReadProfileFile(projectCommands->SettingsFile());
  const auto value = [&](const char* key) {
    bool ok = false;
    const int number = ProfileValue(settings, kWindowSection, key, QString()).toInt(&ok);
    return ok ? std::optional<int>(number) : std::nullopt;
  };
  const auto width = value("Width");
  const auto height = value("Height");
  if (!width || !height) return;
  resize(std::max(*width, minimumWidth()), std::max(*height, minimumHeight()));
  const auto left = value("Left");
  const auto top = value("Top");
  // A position off every screen (a monitor since unplugged) is not restored.
  if (left && top && QGuiApplication::screenAt(QPoint(*left, *top) + QPoint(40, 10))) move(*left, *top);
  if (const auto splitterLeft = value("Splitter"); splitterLeft && *splitterLeft > 0) {
    const int total = splitter->sizes().value(0) + splitter->sizes().value(1);
    splitter->setSizes({*splitterLeft, std::max(total - *splitterLeft, 1)});
    UpdateMinimumSize();
  }
  if (value("Maximized").value_or(0) == 1) showMaximized();
}

void MainWindow::StoreWindowState() {
  // Saved as a normal window, so a maximized one comes back to its size.
  const QRect frame = normalGeometry().isValid() ? normalGeometry() : geometry();
  QByteArray settings = ReadProfileFile(projectCommands->SettingsFile());
  const QPoint at = isMaximized() ? frame.topLeft() : pos();
  const QList<QPair<QString, int>> values = {{"Left", at.x()},
                                             {"Top", at.y()},
                                             {"Width", frame.width()},
                                             {"Height", frame.height()},
                                             {"Maximized", isMaximized() ? 1 : 0},
                                             {"Splitter", splitter->sizes().value(0)}};
  for (const auto& [key, number] : values)
    settings = SetProfileValue(settings, kWindowSection, key, QString::number(number));
  // Not worth stopping the program for: the next start uses the designed size.
  if (const Status written = WriteProfileFile(projectCommands->SettingsFile(), settings); !written)
    qWarning("%s", qPrintable(written.Message()));
}
