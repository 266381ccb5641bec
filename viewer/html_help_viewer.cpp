#include "viewer/html_help_viewer.h"

#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QWidget>

#include <memory>

#include "features/help_objects.h"
#include "viewer/chm_document.h"
#include "viewer/chm_pages.h"
#include "viewer/viewer_memory.h"
#include "viewer/viewer_window.h"

namespace {

// The session BeginSession hands out: any number that is not 0.
constexpr quint32 kSessionId = 0x4F52;

struct HelpFileName {
  QString file;   // the compiled file
  QString topic;  // the part after "::", empty when none
};

HelpFileName SplitHelpFileName(QString name) {
  HelpFileName parts;
  // "file.chm>window": the window name is not used.
  const qsizetype window = name.lastIndexOf(u'>');
  if (window > 0 && name.indexOf(QLatin1String("::"), window) < 0) name.truncate(window);
  const qsizetype sep = name.indexOf(QLatin1String("::"));
  if (sep >= 0) {
    parts.topic = name.mid(sep + 2);
    name.truncate(sep);
  }
  parts.file = name.trimmed().isEmpty() ? QString() : QFileInfo(name.trimmed()).absoluteFilePath();
  return parts;
}

}  // namespace

HtmlHelpViewer::HtmlHelpViewer(QObject* parent) : QObject(parent) {}

HtmlHelpViewer::~HtmlHelpViewer() { CloseAll(); }

QList<ViewerWindow*> HtmlHelpViewer::Viewers() const {
  QList<ViewerWindow*> open;
  for (const QPointer<ViewerWindow>& w : windows)
    if (w) open.append(w.data());
  return open;
}

void HtmlHelpViewer::AddPageScript(const QString& name, const QString& source) {
  pageScripts.append({name, source});
  for (ViewerWindow* w : Viewers()) w->AddPageScript(name, source);
}

void HtmlHelpViewer::CloseAll() {
  const QList<QPointer<ViewerWindow>> open = windows;
  windows.clear();
  for (const QPointer<ViewerWindow>& w : open) {
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
    lastFailure = opened.Message();
    return nullptr;
  }
  auto* viewer = new ViewerWindow(document, pageScripts, owner);
  if (!settingsFile.isEmpty()) viewer->RememberSizeIn(settingsFile);
  KeepViewerPlace(viewer, settingsFile);
  viewer->PlaceBeside(owner);
  connect(viewer, &ViewerWindow::CommandRequested, this, &HtmlHelpViewer::HandlePageCommand);
  connect(viewer, &ViewerWindow::OpenRequested, this, [this, viewer](const QString& file) {
    if (ShowTopic(viewer->parentWidget(), file)) return;
    QMessageBox::warning(viewer, QStringLiteral("Warning"),
                         lastFailure.isEmpty()
                             ? QStringLiteral(" Cannot show %1 ").arg(QDir::toNativeSeparators(file))
                             : lastFailure);
  });
  windows.removeAll(nullptr);
  windows.append(viewer);
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

HelpViewerSession HtmlHelpViewer::BeginSession() {
  sessionEnded = false;
  return HelpViewerSession{kSessionId};
}

void HtmlHelpViewer::EndSession(HelpViewerSession) {
  sessionEnded = true;
  CloseAll();
}

ViewerWindow* HtmlHelpViewer::ShowTopic(QWidget* owner, const QString& file) {
  return Show(owner, file, std::nullopt);
}

ViewerWindow* HtmlHelpViewer::ShowContext(QWidget* owner, const QString& file, quint32 context) {
  return Show(owner, file, context);
}

ViewerWindow* HtmlHelpViewer::Show(QWidget* owner, const QString& file, std::optional<quint32> context) {
  if (sessionEnded) return nullptr;
  lastFailure.clear();
  const HelpFileName name = SplitHelpFileName(file);
  if (name.file.isEmpty() || !QFileInfo(name.file).isFile()) return nullptr;

  ViewerWindow* viewer = ViewerFor(owner, name.file);
  if (!viewer) return nullptr;
  QUrl topic;
  if (context) {
    topic = viewer->Document().ContextTopicUrl(*context);
    if (!topic.isValid()) {
      // A context the file does not map shows nothing; a window made just
      // for it goes again.
      if (viewer->CurrentUrl().isEmpty()) viewer->close();
      return nullptr;
    }
  } else if (!name.topic.isEmpty()) {
    topic = ChmLinkUrl(QStringLiteral("/"), name.topic);
  } else if (viewer->CurrentUrl().isEmpty()) {
    // A file opened anew shows the topic it was left at.
    topic = KeptTopic(*viewer, settingsFile);
  }
  if (!topic.isValid()) topic = viewer->Document().DefaultTopicUrl();
  viewer->ShowUrl(topic);
  viewer->show();
  viewer->raise();
  viewer->activateWindow();
  return viewer;
}
