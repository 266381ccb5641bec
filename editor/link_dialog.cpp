#include "editor/link_dialog.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "model/contents_model.h"

namespace {

// The copied node keeps the page file name of its topic (empty for a node
// without a page).
constexpr int kFileRole = Qt::UserRole + 1;

void CopyChildren(const ContentsModel& contents, const QModelIndex& from, QTreeWidgetItem* to) {
  for (int row = 0; row < contents.rowCount(from); ++row) {
    const QModelIndex child = contents.index(row, 0, from);
    auto* copy = new QTreeWidgetItem(to, QStringList(contents.CaptionAt(child)));
    const TopicData* record = contents.RecordAt(child);
    copy->setData(0, kFileRole, record ? record->fileName : QString());
    CopyChildren(contents, child, copy);
  }
}

}  // namespace

LinkDialog::LinkDialog(QWidget* parent) : ValidatingDialog(parent) {
  setObjectName("linkDialog");
  setWindowTitle("Select topic");
  setProperty("HelpContext", 10008);
  setFixedSize(314, 272);

  topicTree = new QTreeWidget(this);
  topicTree->setObjectName("topicTree");
  topicTree->setHeaderHidden(true);
  okButton = new QPushButton("OK", this);
  okButton->setObjectName("okButton");
  okButton->setDefault(true);
  cancelButton = new QPushButton("Cancel", this);
  cancelButton->setObjectName("cancelButton");

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(okButton);
  buttons->addWidget(cancelButton);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(topicTree, 1);
  layout->addLayout(buttons);

  connect(okButton, &QPushButton::clicked, this, &LinkDialog::Confirm);
  connect(cancelButton, &QPushButton::clicked, this, &LinkDialog::Cancel);
  connect(topicTree, &QTreeWidget::itemDoubleClicked, this, [this] { Confirm(); });
}

void LinkDialog::ResetForShowing() {
  chosenFile.clear();
  chosenCaption.clear();
  topicTree->clear();
  if (contents) {
    // A copy of captions, nesting and page names; the main tree keeps its records.
    CopyChildren(*contents, QModelIndex(), topicTree->invisibleRootItem());
    topicTree->expandAll();
  }
  allowClose = false;
  topicTree->setFocus();
}

void LinkDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  ResetForShowing();
}

void LinkDialog::Confirm() {
  QTreeWidgetItem* node = topicTree->currentItem();
  // Without a topic, or on a heading without a page, the dialog stays open and says why.
  if (!node || node->data(0, kFileRole).toString().isEmpty()) {
    QMessageBox::information(this, "Select topic",
                             node ? node->text(0) + " has no page to link to: choose a topic with a page."
                                  : "Choose the topic the link leads to.");
    topicTree->setFocus();
    return;
  }
  chosenFile = node->data(0, kFileRole).toString();
  chosenCaption = node->text(0);
  allowClose = true;
  accept();
}

void LinkDialog::SetContents(const ContentsModel* model) { contents = model; }
