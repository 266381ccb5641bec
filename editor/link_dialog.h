// "Select topic": a copy of the Contents tree to pick the target of a link.
#pragma once

#include "widgets/validating_dialog.h"
#include <QPointer>

class ContentsModel;
class QPushButton;
class QTreeWidget;

class LinkDialog : public ValidatingDialog {
  Q_OBJECT
 public:
  explicit LinkDialog(QWidget* parent = nullptr);

  QTreeWidget* topicTree = nullptr;
  QPushButton* okButton = nullptr;
  QPushButton* cancelButton = nullptr;

  QString chosenFile;     // page file of the chosen topic
  QString chosenCaption;  // its title

  // The project's Contents, copied in when the dialog shows.
  void SetContents(const ContentsModel* model);

  void Confirm();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void ResetForShowing();
  QPointer<const ContentsModel> contents;
};
