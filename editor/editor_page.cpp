#include "editor/editor_page.h"

bool EditorPage::acceptNavigationRequest(const QUrl& url, NavigationType, bool isMainFrame) {
  if (!isMainFrame) return true;
  return url == allowed;
}
