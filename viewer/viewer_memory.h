// A viewer window remembers, per compiled file, the topic it showed and its
// place when it closes (in the settings file, see settings/viewed_files.h),
// and the file opens there again next time.
#pragma once

#include <QString>
#include <QUrl>

class ViewerWindow;

// Gives a new viewer window the place kept for its file, and keeps its
// topic and place when it closes. Beside an owner the window is placed
// beside it afterwards, so only the size counts there.
void KeepViewerPlace(ViewerWindow* viewer, const QString& settingsFile);

// The topic the file's window showed when it closed last; invalid when none
// was kept or the file no longer holds that page.
QUrl KeptTopic(const ViewerWindow& viewer, const QString& settingsFile);
