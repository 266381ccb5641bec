#include "viewer/search_marks.h"

#include <QJsonArray>
#include <QJsonDocument>

QString SearchMarkScript(const QStringList& words) {
  const QString list =
      QString::fromUtf8(QJsonDocument(QJsonArray::fromStringList(words)).toJson(QJsonDocument::Compact));
  return QStringLiteral(R"((function (words, hitClass) {
  words = words.filter(function (w) { return w.length > 0; });
  if (!words.length || !document.body) return 0;
  var escaped = words.map(function (w) { return w.replace(/[.*+?^${}()|[\]\\]/g, '\\$&'); });
  var pattern = new RegExp(escaped.join('|'), 'gi');
  var walker = document.createTreeWalker(document.body, NodeFilter.SHOW_TEXT, {
    acceptNode: function (node) {
      var parent = node.parentNode;
      if (!parent || /^(SCRIPT|STYLE|TEXTAREA|NOSCRIPT)$/i.test(parent.nodeName) ||
          (parent.classList && parent.classList.contains(hitClass)))
        return NodeFilter.FILTER_REJECT;
      return NodeFilter.FILTER_ACCEPT;
    }
  });
  var nodes = [];
  while (walker.nextNode()) nodes.push(walker.currentNode);
  var count = 0, first = null;
  nodes.forEach(function (node) {
    var text = node.nodeValue, at = 0, match;
    pattern.lastIndex = 0;
    var fragment = null;
    while ((match = pattern.exec(text)) !== null) {
      if (match[0].length === 0) { pattern.lastIndex++; continue; }
      fragment = fragment || document.createDocumentFragment();
      if (match.index > at) fragment.appendChild(document.createTextNode(text.slice(at, match.index)));
      var mark = document.createElement('span');
      mark.className = hitClass;
      mark.style.cssText = 'background: #ffe94d; color: #000';
      mark.textContent = match[0];
      fragment.appendChild(mark);
      if (!first) first = mark;
      ++count;
      at = match.index + match[0].length;
    }
    if (!fragment) return;
    if (at < text.length) fragment.appendChild(document.createTextNode(text.slice(at)));
    node.parentNode.replaceChild(fragment, node);
  });
  if (first) first.scrollIntoView({block: 'center'});
  return count;
})(%1, '%2'))")
      .arg(list, QLatin1String(kSearchHitClass));
}
