#include "app/program_help.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QKeyEvent>
#include <QMenu>
#include <QWidget>
#include <algorithm>

#include "features/help_objects.h"
#include "viewer/html_help_viewer.h"

namespace {

// Dialogs made before their own help contexts were set, known by name.
int ContextByName(const QString& objectName) {
  if (objectName == u"trainingCardDialog") return 10019;
  if (objectName == u"tableDialog") return 10007;
  if (objectName == u"linkDialog") return 10008;
  if (objectName == u"newProjectDialog") return 10004;
  if (objectName == u"mainWindow") return 10001;
  return 0;
}

int ContextProperty(const QObject* object) {
  const QVariant value = object->property("HelpContext");
  bool ok = false;
  const int context = value.isValid() ? value.toInt(&ok) : 0;
  return ok && context > 0 ? context : 0;
}

}  // namespace

ProgramHelp::ProgramHelp(QWidget* window, HtmlHelpViewer* helpViewer)
    : QObject(window),
      appWindow(window),
      viewer(helpViewer),
      helpFolder(QCoreApplication::applicationDirPath()) {
  SetHelpFile(QString());
  if (viewer) connect(viewer, &HtmlHelpViewer::PageCommand, this, &ProgramHelp::HandlePageCommand);
  qApp->installEventFilter(this);
}

ProgramHelp::~ProgramHelp() {
  if (qApp) qApp->removeEventFilter(this);
  // Every help window closes with the program's help.
  if (viewer) viewer->CloseAll();
}

void ProgramHelp::SetHelpFile(const QString& name) {
  helpFileName = name;
  helpPath = name.isEmpty() ? QString() : QDir(helpFolder).filePath(name);
}

void ProgramHelp::SetHelpFolder(const QString& folder) {
  helpFolder = folder;
  SetHelpFile(helpFileName);
}

QWidget* ProgramHelp::HelpOwner() const {
  // While a modal dialog is up, a window of the main window would be
  // blocked with it: the help then belongs to the dialog.
  if (QWidget* modal = QApplication::activeModalWidget()) return modal;
  return appWindow.data();
}

void ProgramHelp::ShowContents() {
  if (!viewer || helpPath.isEmpty()) return;
  viewer->ShowTopic(HelpOwner(), helpPath);
}

void ProgramHelp::ShowContextHelp(quint32 context) {
  if (!helpFileName.isEmpty() && viewer) viewer->ShowContext(HelpOwner(), helpPath, context);
}

void ProgramHelp::HandlePageCommand(const QString& name, const QUrlQuery& arguments) {
  if (name != u"tcard") return;
  const QString lParam = arguments.queryItemValue(QStringLiteral("lParam"), QUrl::FullyDecoded);
  emit TrainingCardMessageArrived(
      ReadTrainingCardMessage(arguments.queryItemValue(QStringLiteral("wParam"), QUrl::FullyDecoded), lParam)
          .wParam,
      lParam);
}

int ProgramHelp::HelpContextOf(const QWidget* widget) {
  for (const QWidget* w = widget; w; w = w->parentWidget()) {
    if (const int context = ContextProperty(w)) return context;
    if (const int context = ContextByName(w->objectName())) return context;
  }
  return 0;
}

int ProgramHelp::HelpContextOfMenu(const QMenu* menu) {
  if (!menu) return 0;
  if (const QAction* item = menu->activeAction())
    if (const int context = ContextProperty(item)) return context;
  if (const int context = ContextProperty(menu->menuAction())) return context;
  return HelpContextOf(menu);
}

namespace {

// The live widget a key press is on its way through, or null: the filter
// also sees windows of other kinds and objects being torn down, which are
// only compared, never called.
QWidget* KeyPressWidget(const QObject* watched) {
  const QWidgetList widgets = QApplication::allWidgets();
  const auto found = std::find(widgets.cbegin(), widgets.cend(), watched);
  return found == widgets.cend() ? nullptr : *found;
}

}  // namespace

bool ProgramHelp::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress) return QObject::eventFilter(watched, event);
  const auto* key = static_cast<QKeyEvent*>(event);
  if (key->key() != Qt::Key_F1 || (key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
    return QObject::eventFilter(watched, event);
  QWidget* widget = KeyPressWidget(watched);
  if (!widget) return QObject::eventFilter(watched, event);
  if (f1TakenElsewhere && f1TakenElsewhere()) return false;
  int context = 0;
  if (auto* menu = qobject_cast<QMenu*>(widget)) {
    context = HelpContextOfMenu(menu);
  } else {
    QWidget* focus = QApplication::focusWidget();
    context = HelpContextOf(focus && (focus == widget || widget->isAncestorOf(focus)) ? focus : widget);
  }
  if (context == 0) return false;
  emit HelpRequested(context);
  ShowContextHelp(static_cast<quint32>(context));
  return true;
}
