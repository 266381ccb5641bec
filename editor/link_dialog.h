// "Select topic": a copy of the Contents tree to pick the target of a link.
#pragma once

#include "app/validating_dialog.h"
#include <QPointer>

class QPushButton;
class QTreeWidget;

class LinkDialog : public ValidatingDialog {
  Q_OBJECT
 public:
  explicit LinkDialog(QWidget* parent = nullptr);

  QTreeWidget* topicTree = nullptr;
  QPushButton* okButton = nullptr;
  QPushButton* cancelButton = nullptr;

  QString ChosenFile;     // page file of the chosen topic
  QString ChosenCaption;  // its title

  // The Contents tree copied in when the dialog shows.
  void SetContentsTree(QTreeWidget* tree);

  void OKBtnClick();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void FormShow();
  QPointer<QTreeWidget> Contents;
};
