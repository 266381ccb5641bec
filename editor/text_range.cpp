// Ranges of the page in the editor: made from the selection, moved, read
// and replaced by scripts the page runs in order with everything else.
#include "editor/editing_control.h"
#include "editor/editing_control_impl.h"

TextRange EditingControl::SelectionRange() {
  TextRange range;
  // Nothing is inserted into a read-only page.
  if (d->readOnly || !d->loaded) return range;
  range.owner = this;
  range.id = d->nextRange++;
  range.generation = d->generation;
  d->Run(QStringLiteral("__orvex.createRange(%1)").arg(range.id));
  return range;
}

namespace {
// The owner when the range still names a range of its current page.
EditingControl* LiveOwner(const QPointer<EditingControl>& owner, int id) {
  return owner && id > 0 ? owner.data() : nullptr;
}
}  // namespace

void TextRange::moveStart(const QString& unit, int count) {
  EditingControl* o = LiveOwner(owner, id);
  if (!o || o->d->generation != generation) return;
  o->d->Run(QStringLiteral("__orvex.moveStart(%1, %2, %3)").arg(id).arg(JsLiteral(unit)).arg(count));
}

void TextRange::moveEnd(const QString& unit, int count) {
  EditingControl* o = LiveOwner(owner, id);
  if (!o || o->d->generation != generation) return;
  o->d->Run(QStringLiteral("__orvex.moveEnd(%1, %2, %3)").arg(id).arg(JsLiteral(unit)).arg(count));
}

void TextRange::Collapse(bool toStart) {
  EditingControl* o = LiveOwner(owner, id);
  if (!o || o->d->generation != generation) return;
  o->d->Run(QStringLiteral("__orvex.collapse(%1, %2)").arg(id).arg(Flag(toStart)));
}

void TextRange::pasteHTML(const QString& html) {
  EditingControl* o = LiveOwner(owner, id);
  if (!o || o->d->generation != generation) return;
  o->d->Run(QStringLiteral("__orvex.pasteHTML(%1, %2)").arg(id).arg(JsLiteral(html)));
}

void TextRange::Read(QObject* context, std::function<void(const RangeContents&)> then) const {
  QPointer<QObject> guard(context);
  EditingControl* o = LiveOwner(owner, id);
  if (!o || o->d->generation != generation) {
    if (guard && then) then({});
    return;
  }
  o->d->Run(QStringLiteral("__orvex.rangeContents(%1)").arg(id), [guard, then](const QVariant& v) {
    if (!guard || !then) return;
    const QVariantMap m = v.toMap();
    then({m.value(QStringLiteral("html")).toString(), m.value(QStringLiteral("text")).toString(),
          m.value(QStringLiteral("parentTag")).toString()});
  });
}
