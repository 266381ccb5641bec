// The page's selection and what is styled in it, for the editor's script:
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

  return { selRange, elementOf, closest, select, bodyRange, styledElements, uniform, firstFamily, legacySize,
    blockFormat };
})();
