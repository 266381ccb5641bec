// The page's selection, what is styled in it and the blanks around inserted
// HTML, for the editor's script:
// plain functions over the document, with no state of their own.
window.__orvexSelection = window.__orvexSelection || (function () {
  'use strict';

  // Font sizes 1..7 in pixels, as the engine renders <FONT size=n>.
  const LEGACY_PX = [10, 13, 16, 18, 24, 32, 48];


  function selRange() {
    const sel = document.getSelection();
    if (!sel || sel.rangeCount === 0) return null;
    const r = sel.getRangeAt(0);
    if (!document.body || !document.body.contains(r.commonAncestorContainer)) return null;
    return r;
  }
  function elementOf(node) {
    return node && node.nodeType !== Node.ELEMENT_NODE ? node.parentElement : node;
  }
  function closest(node, selector) {
    const el = elementOf(node);
    return el ? el.closest(selector) : null;
  }
  function select(range) {
    const sel = document.getSelection();
    sel.removeAllRanges();
    sel.addRange(range);
  }
  function bodyRange(atEnd) {
    const r = document.createRange();
    r.selectNodeContents(document.body);
    r.collapse(!atEnd);
    return r;
  }
  // Elements whose style the text of the range carries, one per text node
  // (the caret's element for an empty range).
  function styledElements(r) {
    const out = [];
    if (r.collapsed) {
      const el = elementOf(r.startContainer);
      if (el) out.push(el);
      return out;
    }
    const root = r.commonAncestorContainer;
    if (root.nodeType === Node.TEXT_NODE) {
      out.push(root.parentElement);
      return out;
    }
    const walker = document.createTreeWalker(root, NodeFilter.SHOW_TEXT);
    for (let t = walker.nextNode(); t; t = walker.nextNode()) {
      if (!t.data.trim() || !r.intersectsNode(t)) continue;
      if (t === r.endContainer && r.endOffset === 0) continue;
      if (t === r.startContainer && r.startOffset >= t.data.length) continue;
      out.push(t.parentElement);
    }
    if (!out.length) {
      const el = elementOf(r.startContainer);
      if (el) out.push(el);
    }
    return out;
  }
  function uniform(values) {
    if (!values.length) return null;
    for (const v of values) if (v !== values[0]) return null;
    return values[0];
  }
  function firstFamily(list) {
    const first = list.split(',')[0].trim();
    return first.replace(/^["']|["']$/g, '');
  }
  function legacySize(px) {
    let best = 1;
    for (let i = 0; i < LEGACY_PX.length; i++) {
      if (Math.abs(LEGACY_PX[i] - px) < Math.abs(LEGACY_PX[best - 1] - px)) best = i + 1;
    }
    return best;
  }

  // The block format of the range ('P', 'H1', ..., 'PRE'): the tag of the
  // nearest block around both of its ends; '' when they differ.
  const BLOCKS = 'p,h1,h2,h3,h4,h5,h6,pre,li,td,th,div,blockquote,address,dd,dt,caption';
  function blockFormat(r) {
    if (!r) return '';
    const tag = (n) => { const b = closest(n, BLOCKS); return b ? b.tagName.toUpperCase() : ''; };
    const start = tag(r.startContainer);
    return start === tag(r.endContainer) ? start : '';
  }

  // To keep the blanks around inserted HTML visible the engine turns them
  // into no-break spaces. Between a word and the inserted element a plain
  // blank shows the same, so it gets its plain blank back (same length, so
  // the engine's undo keeps its places).
  function relaxSpacesAround(html) {
    const t = document.createElement('template');
    t.innerHTML = html;
    const count = t.content.childNodes.length;
    const lastInserted = t.content.lastChild;
    // Only around inserted HTML that ends in an element.
    if (!lastInserted || lastInserted.nodeType !== Node.ELEMENT_NODE) return;
    const sel = document.getSelection();
    if (!sel || sel.rangeCount === 0) return;
    const r = sel.getRangeAt(0);
    // The last inserted node: just before the caret, or the inline element
    // whose text the caret ends (where the engine leaves it after a link).
    let last = null;
    const at = r.startContainer;
    if (at.nodeType === Node.TEXT_NODE) {
      if (r.startOffset === 0) {
        last = at.previousSibling;
      } else if (r.startOffset === at.data.length) {
        let x = at;
        while (!x.nextSibling && x.parentNode && x.parentNode !== document.body &&
               getComputedStyle(x.parentNode).display === 'inline') x = x.parentNode;
        if (x !== at) last = x;
      }
    } else {
      last = at.childNodes[r.startOffset - 1] || null;
    }
    if (!last || last.nodeType !== Node.ELEMENT_NODE || last.nodeName !== lastInserted.nodeName) return;
    let first = last;
    for (let i = 1; i < count && first.previousSibling; ++i) first = first.previousSibling;
    const before = first.previousSibling;
    if (before && before.nodeType === Node.TEXT_NODE) {
      const d = before.data;
      if (d.length >= 2 && d.endsWith('\u00a0') && !/\s/.test(d[d.length - 2]))
        before.data = d.slice(0, -1) + ' ';
    }
    const after = last.nextSibling;
    if (after && after.nodeType === Node.TEXT_NODE) {
      const d = after.data;
      if (d.length >= 2 && d.startsWith('\u00a0') && !/\s/.test(d[1])) after.data = ' ' + d.slice(1);
    }
  }

  return { selRange, elementOf, closest, select, bodyRange, styledElements, uniform, firstFamily, legacySize,
    blockFormat, relaxSpacesAround };
})();
