#include "panes/caption_edit_delegate.h"

CaptionEditDelegate::CaptionEditDelegate(OnEdited onEdited, QObject* parent)
    : QStyledItemDelegate(parent), Edited(std::move(onEdited)) {}

void CaptionEditDelegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                                       const QModelIndex& index) const {
  const QString before = index.data(Qt::EditRole).toString();
  QStyledItemDelegate::setModelData(editor, model, index);
  const QString after = index.data(Qt::EditRole).toString();
  if (after != before && Edited) Edited(index, after);
}
