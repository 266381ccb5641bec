#include "panes/caption_edit_delegate.h"

#include <QLineEdit>

CaptionEditDelegate::CaptionEditDelegate(OnEdited onEdited, QObject* parent, Accepts accepts,
                                         BeforeChange beforeChange)
    : QStyledItemDelegate(parent),
      Edited(std::move(onEdited)),
      CaptionAccepted(std::move(accepts)),
      AboutToChange(std::move(beforeChange)) {}

void CaptionEditDelegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                                       const QModelIndex& index) const {
  const QString before = index.data(Qt::EditRole).toString();
  if (const auto* line = qobject_cast<QLineEdit*>(editor)) {
    if (line->text() != before && CaptionAccepted && !CaptionAccepted(line->text())) return;
    if (line->text() != before && AboutToChange) AboutToChange();
  }
  QStyledItemDelegate::setModelData(editor, model, index);
  const QString after = index.data(Qt::EditRole).toString();
  if (after != before && Edited) Edited(index, after, before);
}
