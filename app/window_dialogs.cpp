#include "app/window_dialogs.h"

#include "app/main_window.h"
#include "app/about_box.h"
#include "app/compiler_messages.h"
#include "editor/link_dialog.h"
#include "editor/table_dialog.h"
#include "features/edit_dial.h"
#include "features/splash_dialog.h"
#include "features/training_card_dialog.h"
#include "project/name_dialog.h"

void CreateWindowDialogs(QWidget* owner, TDialogs& dialogs) {
  dialogs.TableInsDlg = new TTableInsDlg(owner);
  dialogs.LinkDialog = new TLinkDialog(owner);
  dialogs.AboutBox = new TAboutBox(owner);
  dialogs.CMView = new TCMView(owner);
  dialogs.EditDial = new TEditDial(owner);
  dialogs.NameDialog = new TNameDialog(owner);
  dialogs.SplashDlg = new TSplashDlg(owner);
  dialogs.TrCardDlg = new TTrCardDlg(owner);
}
