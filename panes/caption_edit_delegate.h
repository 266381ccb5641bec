// The item delegate of a tree whose in-place caption edits are a command:
// after the edited caption has been put into the item, the callback hears
// which item got which caption. Edits that leave the caption as it was are
// not reported.
#pragma once

#include <QStyledItemDelegate>
#include <functional>

class CaptionEditDelegate : public QStyledItemDelegate {
 public:
  using OnEdited =
      std::function<void(const QModelIndex& index, const QString& caption, const QString& before)>;
  // Answers whether a caption may be taken; a refused one leaves the item as
  // it was (the check says why).
  using Accepts = std::function<bool(const QString& caption)>;
  // Hears of an accepted new caption just before the item takes it.
  using BeforeChange = std::function<void()>;
  CaptionEditDelegate(OnEdited onEdited, QObject* parent = nullptr, Accepts accepts = {},
                      BeforeChange beforeChange = {});
  void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;

 private:
  OnEdited edited;
  Accepts captionAccepted;
  BeforeChange aboutToChange;
};
