#include "viewer/viewer_memory.h"

#include <QEvent>
#include <QFileInfo>
#include <QPointer>

#include "settings/viewed_files.h"
#include "viewer/chm_document.h"
#include "viewer/viewer_window.h"

namespace {

// The same file under another name (a link, "..") is the same file.
QString KeyOf(const ViewerWindow& viewer) {
  const QString canonical = QFileInfo(viewer.FilePath()).canonicalFilePath();
  return canonical.isEmpty() ? viewer.FilePath() : canonical;
}

// Writes the window's topic and place when it closes.
class PlaceKeeper : public QObject {
 public:
  PlaceKeeper(ViewerWindow* viewer, const QString& settingsFile)
      : QObject(viewer), viewer(viewer), settingsFile(settingsFile) {
    viewer->installEventFilter(this);
  }

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Close && watched == viewer && viewer->isVisible()) Keep();
    return false;
  }

 private:
  void Keep() {
    const QUrl shown = viewer->CurrentUrl();
    QString topic = viewer->CurrentEntry();
    if (!topic.isEmpty() && shown.hasFragment()) topic += u'#' + shown.fragment(QUrl::FullyDecoded);
    // The window closes all the same; its place is only a convenience.
    if (const Status kept = RememberViewedFile(settingsFile, {KeyOf(*viewer), topic, viewer->saveGeometry()});
        !kept)
      qWarning("Orvex: %s", qPrintable(kept.Message()));
  }

  QPointer<ViewerWindow> viewer;
  QString settingsFile;
};

}  // namespace

void KeepViewerPlace(ViewerWindow* viewer, const QString& settingsFile) {
  if (!viewer || settingsFile.isEmpty()) return;
  new PlaceKeeper(viewer, settingsFile);
  const std::optional<ViewedFile> viewed = ReadViewedFile(settingsFile, KeyOf(*viewer));
  if (viewed && !viewed->window.isEmpty()) viewer->restoreGeometry(viewed->window);
}

QUrl KeptTopic(const ViewerWindow& viewer, const QString& settingsFile) {
  if (settingsFile.isEmpty()) return {};
  const std::optional<ViewedFile> viewed = ReadViewedFile(settingsFile, KeyOf(viewer));
  if (!viewed || viewed->topic.isEmpty()) return {};
  const qsizetype hash = viewed->topic.indexOf(u'#');
  const QString entry = viewer.Document().FindEntry(viewed->topic.left(hash));
  if (entry.isEmpty()) return {};
  return ChmEntryUrl(entry, hash < 0 ? QString() : viewed->topic.mid(hash + 1));
}
