#include "app/window_dialogs.h"

#include "app/main_window.h"
#include "app/about_box.h"
#include "app/compiler_messages.h"
#include "editor/link_dialog.h"
#include "editor/table_dialog.h"
#include "features/text_edit_dialog.h"
#include "features/splash_dialog.h"
#include "features/training_card_dialog.h"
#include "project/new_project_dialog.h"

void CreateWindowDialogs(QWidget* owner, StartupDialogs& dialogs) {
  dialogs.tableDialog = new TableDialog(owner);
  dialogs.linkDialog = new LinkDialog(owner);
  dialogs.aboutBox = new AboutBox(owner);
  dialogs.compilerMessagesWindow = new CompilerMessagesWindow(owner);
  dialogs.textEditDialog = new TextEditDialog(owner);
  dialogs.newProjectDialog = new NewProjectDialog(owner);
  dialogs.splashDialog = new SplashDialog(owner);
  dialogs.trainingCardDialog = new TrainingCardDialog(owner);
}
