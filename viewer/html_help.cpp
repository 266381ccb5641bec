#include "viewer/html_help.h"

#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QWidget>

#include <memory>

#include "features/help_objects.h"
#include "viewer/chm_document.h"
#include "viewer/chm_pages.h"
#include "viewer/viewer_window.h"

namespace {

// The cookie handed out by HH_INITIALIZE: any value that is not 0.
constexpr quintptr kCookie = 0x4F52;

struct HelpFileName {
  QString File;   // the compiled file
  QString Topic;  // the part after "::", empty when none
};

HelpFileName SplitHelpFileName(QString name) {
  HelpFileName parts;
  // "file.chm>window": the window name is not used.
  const qsizetype window = name.lastIndexOf(u'>');
  if (window > 0 && name.indexOf(QLatin1String("::"), window) < 0) name.truncate(window);
  const qsizetype sep = name.indexOf(QLatin1String("::"));
  if (sep >= 0) {
    parts.Topic = name.mid(sep + 2);
    name.truncate(sep);
  }
  parts.File = name.trimmed().isEmpty() ? QString() : QFileInfo(name.trimmed()).absoluteFilePath();
  return parts;
}

}  // namespace

HtmlHelpViewer::HtmlHelpViewer(QObject* parent) : QObject(parent) {}

HtmlHelpViewer::~HtmlHelpViewer() { CloseAll(); }

QList<ViewerWindow*> HtmlHelpViewer::Viewers() const {
  QList<ViewerWindow*> open;
  for (const QPointer<ViewerWindow>& w : Windows)
    if (w) open.append(w.data());
  return open;
}

void HtmlHelpViewer::AddPageScript(const QString& name, const QString& source) {
  PageScripts.append({name, source});
  for (ViewerWindow* w : Viewers()) w->AddPageScript(name, source);
}

void HtmlHelpViewer::CloseAll() {
  const QList<QPointer<ViewerWindow>> windows = Windows;
  Windows.clear();
  for (const QPointer<ViewerWindow>& w : windows) {
    if (!w) continue;
    w->close();  // deletes itself
  }
}

ViewerWindow* HtmlHelpViewer::ViewerFor(QWidget* owner, const QString& chmPath) {
  const QString canonical = QFileInfo(chmPath).canonicalFilePath();
  for (ViewerWindow* w : Viewers())
    if (QFileInfo(w->FilePath()).canonicalFilePath() == canonical) return w;
  auto document = std::make_shared<ChmDocument>();
  if (const Status opened = document->Open(chmPath); !opened) {
    LastFailure = opened.Message();
    return nullptr;
  }
  auto* viewer = new ViewerWindow(document, PageScripts, owner);
  if (!SettingsFile.isEmpty()) viewer->RememberSizeIn(SettingsFile);
  viewer->PlaceBeside(owner);
  connect(viewer, &ViewerWindow::CommandRequested, this, &HtmlHelpViewer::HandlePageCommand);
  connect(viewer, &ViewerWindow::OpenRequested, this, [this, viewer](const QString& file) {
    if (HtmlHelpA(viewer->parentWidget(), file, HH_DISPLAY_TOPIC, 0) != 0) return;
    QMessageBox::warning(viewer, QStringLiteral("Warning"),
                         LastFailure.isEmpty()
                             ? QStringLiteral(" Cannot show %1 ").arg(QDir::toNativeSeparators(file))
                             : LastFailure);
  });
  Windows.removeAll(nullptr);
  Windows.append(viewer);
  return viewer;
}

void HtmlHelpViewer::HandlePageCommand(const QString& name, const QUrlQuery& arguments) {
  if (name == u"tcard") {
    const TrainingCardValues message =
        ReadTrainingCardMessage(arguments.queryItemValue("wParam", QUrl::FullyDecoded),
                                arguments.queryItemValue("lParam", QUrl::FullyDecoded));
    emit TrainingCardMessage(message.wParam, message.lParam);
  }
  emit PageCommand(name, arguments);
}

quintptr HtmlHelpViewer::HtmlHelpA(QWidget* owner, const QString& file, int command, quintptr data) {
  switch (command) {
    case HH_INITIALIZE:
      Uninitialized = false;
      if (data != 0) *reinterpret_cast<quintptr*>(data) = kCookie;
      return kCookie;
    case HH_UNINITIALIZE:
      Uninitialized = true;
      CloseAll();
      return 0;
    case HH_CLOSE_ALL:
      CloseAll();
      return 0;
    case HH_DISPLAY_TOPIC:
    case HH_HELP_CONTEXT:
      break;
    default:
      return 0;
  }
  if (Uninitialized) return 0;
  LastFailure.clear();
  const HelpFileName name = SplitHelpFileName(file);
  if (name.File.isEmpty() || !QFileInfo(name.File).isFile()) return 0;

  ViewerWindow* viewer = ViewerFor(owner, name.File);
  if (!viewer) return 0;
  QUrl topic;
  if (command == HH_HELP_CONTEXT) {
    topic = viewer->Document().ContextTopicUrl(static_cast<quint32>(data));
    if (!topic.isValid()) {
      // A context the file does not map shows nothing; a window made just
      // for it goes again.
      if (viewer->CurrentUrl().isEmpty()) viewer->close();
      return 0;
    }
  } else if (!name.Topic.isEmpty()) {
    topic = ChmLinkUrl(QStringLiteral("/"), name.Topic);
  }
  if (!topic.isValid()) topic = viewer->Document().DefaultTopicUrl();
  viewer->ShowUrl(topic);
  viewer->show();
  viewer->raise();
  viewer->activateWindow();
  return reinterpret_cast<quintptr>(viewer);
}
