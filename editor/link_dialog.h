// "Select topic": a copy of the Contents tree to pick the target of a link.
#pragma once

#include <QDialog>
#include <QPointer>

class QPushButton;
class QTreeWidget;

class TLinkDialog : public QDialog {
  Q_OBJECT
 public:
  explicit TLinkDialog(QWidget* parent = nullptr);

  QTreeWidget* TreeView1 = nullptr;
  QPushButton* OKBtn = nullptr;
  QPushButton* CancelBtn = nullptr;

  QString ChosenFile;     // page file of the chosen topic
  QString ChosenCaption;  // its title
  // Answer to the close query: set by OK when a topic is chosen, by Cancel to true.
  bool AllowClose = false;

  // The Contents tree copied in when the dialog shows.
  void SetContentsTree(QTreeWidget* tree);

  void OKBtnClick();
  void CancelBtnClick();

 public slots:
  void reject() override;

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void FormShow();
  QPointer<QTreeWidget> Contents;
};
