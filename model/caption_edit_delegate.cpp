#include "model/caption_edit_delegate.h"

TCaptionEditDelegate::TCaptionEditDelegate(OnEdited onEdited, QObject* parent)
    : QStyledItemDelegate(parent), Edited(std::move(onEdited)) {}

void TCaptionEditDelegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                                        const QModelIndex& index) const {
  const QString before = index.data(Qt::EditRole).toString();
  QStyledItemDelegate::setModelData(editor, model, index);
  const QString after = index.data(Qt::EditRole).toString();
  if (after != before && Edited) Edited(index, after);
}
