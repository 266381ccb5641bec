#include "panes/caption_edit_delegate.h"

#include <QLineEdit>

CaptionEditDelegate::CaptionEditDelegate(OnEdited onEdited, QObject* parent, Accepts accepts,
                                         BeforeChange beforeChange)
    : QStyledItemDelegate(parent),
      edited(std::move(onEdited)),
      captionAccepted(std::move(accepts)),
      aboutToChange(std::move(beforeChange)) {}

void CaptionEditDelegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                                       const QModelIndex& index) const {
  const QString before = index.data(Qt::EditRole).toString();
  if (const auto* line = qobject_cast<QLineEdit*>(editor)) {
    if (line->text() != before && captionAccepted && !captionAccepted(line->text())) return;
    if (line->text() != before && aboutToChange) aboutToChange();
  }
  QStyledItemDelegate::setModelData(editor, model, index);
  const QString after = index.data(Qt::EditRole).toString();
  if (after != before && edited) edited(index, after, before);
}
