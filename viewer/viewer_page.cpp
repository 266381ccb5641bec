#include "viewer/viewer_page.h"

#include <QDesktopServices>

#include "viewer/chm_pages.h"
#include "viewer/chm_scheme.h"

namespace {

bool IsItsLink(const QUrl& url) {
  const QString scheme = url.scheme().toLower();
  return scheme == u"ms-its" || scheme == u"its" || scheme == u"mk";
}

}  // namespace

ViewerPage::ViewerPage(QWebEngineProfile* profile, QObject* parent) : QWebEnginePage(profile, parent) {}

bool ViewerPage::acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) {
  QString name;
  QUrlQuery arguments;
  if (IsViewerCommand(url, &name, &arguments)) {
    emit CommandRequested(name, arguments);
    return false;
  }
  if (IsItsLink(url)) {
    const QUrl target = ChmLinkUrl(ChmEntryPath(this->url()), url.toString());
    if (target.isValid() && IsItsLink(target) == false) emit RedirectRequested(target);
    return false;
  }
  // The pages stay inside their file: a clicked link to the web or to mail
  // goes to the desktop's programs, anything else outside goes nowhere.
  if (!IsOwnFileUrl(url)) {
    // A script's navigation counts as a link too: only one right after the
    // user's click or key goes to the desktop.
    constexpr qint64 kUserInputMs = 1000;
    const bool byUser = sinceUserInput.isValid() && sinceUserInput.elapsed() < kUserInputMs;
    if (type == NavigationTypeLinkClicked && byUser && IsDesktopLink(url)) {
      sinceUserInput.invalidate();
      QDesktopServices::openUrl(url);
    }
    return false;
  }
  return QWebEnginePage::acceptNavigationRequest(url, type, isMainFrame);
}

QWebEnginePage* ViewerPage::createWindow(WebWindowType) { return this; }
