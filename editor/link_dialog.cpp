#include "editor/link_dialog.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "model/tree_nodes.h"

namespace {

// The copied node keeps the page file name of its topic (empty for a node
// without a page).
constexpr int kFileRole = Qt::UserRole + 1;

void CopyChildren(const QTreeWidgetItem* from, QTreeWidgetItem* to) {
  for (int i = 0; i < from->childCount(); ++i) {
    QTreeWidgetItem* child = from->child(i);
    auto* copy = new QTreeWidgetItem(to, QStringList(child->text(0)));
    const TopicData* record = ContentsRecord(child);
    copy->setData(0, kFileRole, record ? record->FileName : QString());
    CopyChildren(child, copy);
  }
}

}  // namespace

LinkDialog::LinkDialog(QWidget* parent) : ValidatingDialog(parent) {
  setObjectName("linkDialog");
  setWindowTitle("Select topic");
  setProperty("HelpContext", 10008);
  setFixedSize(314, 272);

  TreeView1 = new QTreeWidget(this);
  TreeView1->setObjectName("TreeView1");
  TreeView1->setHeaderHidden(true);
  OKBtn = new QPushButton("OK", this);
  OKBtn->setObjectName("OKBtn");
  OKBtn->setDefault(true);
  CancelBtn = new QPushButton("Cancel", this);
  CancelBtn->setObjectName("CancelBtn");

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(OKBtn);
  buttons->addWidget(CancelBtn);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(TreeView1, 1);
  layout->addLayout(buttons);

  connect(OKBtn, &QPushButton::clicked, this, &LinkDialog::OKBtnClick);
  connect(CancelBtn, &QPushButton::clicked, this, &LinkDialog::CancelBtnClick);
  connect(TreeView1, &QTreeWidget::itemDoubleClicked, this, [this] { OKBtnClick(); });
}

void LinkDialog::FormShow() {
  ChosenFile.clear();
  ChosenCaption.clear();
  TreeView1->clear();
  if (Contents) {
    // A copy of captions, nesting and page names; the main tree keeps its records.
    CopyChildren(Contents->invisibleRootItem(), TreeView1->invisibleRootItem());
    TreeView1->expandAll();
  }
  AllowClose = false;
  TreeView1->setFocus();
}

void LinkDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  FormShow();
}

void LinkDialog::OKBtnClick() {
  QTreeWidgetItem* node = TreeView1->currentItem();
  // A heading without a page can't be linked to; the dialog stays open.
  if (!node || node->data(0, kFileRole).toString().isEmpty()) return;
  ChosenFile = node->data(0, kFileRole).toString();
  ChosenCaption = node->text(0);
  AllowClose = true;
  accept();
}

void LinkDialog::SetContentsTree(QTreeWidget* tree) { Contents = tree; }
