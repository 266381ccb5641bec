// Find and replace in the editor's page. Both read the page's text as the
// reader sees it, line by line: a match may run across inline elements
// (bold, links) but not across paragraphs, line breaks or pictures, and a
// whole word is judged by the letters around it on the line, whatever
// elements they stand in. Replacing changes text only: the elements around
// a match stay as they are, also when a match runs across them (the
// replacement goes where the match starts). "Replace" and "Replace all"
// change the text nodes directly and keep what they changed: Undo takes
// each press back whole, newest first, as long as nothing else was edited
// since; after such an edit they stay as changes of the page.
(function () {
  'use strict';
  if (window.__orvexFindReplace) return;

  // Never searched: what the page doesn't show as its text, and the
  // editor's own markers.
  const SKIPPED = /^(SCRIPT|STYLE|TITLE|OBJECT|NOSCRIPT|TEXTAREA|SELECT)$/;
  const SKIPPED_WITHIN = 'script,style,title,object,noscript,textarea,select,[contenteditable=false]';
  // Elements that end a line of text, however they are styled.
  const BREAKS = /^(BR|IMG|HR|INPUT|BUTTON|IFRAME|EMBED)$/;
  // Changes made on the text nodes, newest last, and those undone, newest
  // last: each {changes: [{node, before, after}]}.
  const done = [];
  const undone = [];

  const isWord = (c) => !!c && /[\p{L}\p{N}_]/u.test(c);
  const plain = (s) => s.replace(/\u00a0/g, ' ');

  // The page's text as lines: runs of text nodes that no block, line break,
  // picture or object interrupts. Each: {text, nodes: [{node, start, length}]}.
  function textRuns() {
    const runs = [];
    const blocks = new Map();
    const blockOf = (node) => {
      let el = node.parentElement;
      while (el && el !== document.body) {
        if (!blocks.has(el)) blocks.set(el, !getComputedStyle(el).display.startsWith('inline'));
        if (blocks.get(el)) return el;
        el = el.parentElement;
      }
      return document.body;
    };
    const walker = document.createTreeWalker(document.body, NodeFilter.SHOW_ELEMENT | NodeFilter.SHOW_TEXT, {
      acceptNode: (n) => n.nodeType === Node.ELEMENT_NODE &&
        (SKIPPED.test(n.tagName) || n.getAttribute('contenteditable') === 'false')
        ? NodeFilter.FILTER_REJECT : NodeFilter.FILTER_ACCEPT,
    });
    let run = null;
    for (let n = walker.nextNode(); n; n = walker.nextNode()) {
      if (n.nodeType === Node.ELEMENT_NODE) {
        if (BREAKS.test(n.tagName) || !getComputedStyle(n).display.startsWith('inline')) run = null;
        continue;
      }
      const block = blockOf(n);
      if (!run || run.block !== block) {
        run = { block: block, text: '', nodes: [] };
        runs.push(run);
      }
      run.nodes.push({ node: n, start: run.text.length, length: n.data.length });
      run.text += n.data;
    }
    return runs;
  }

  function escapePattern(s) { return s.replace(/[.*+?^${}()|[\]\\]/g, '\\$&'); }

  // Where text is found in a line: [start, end] pairs, in order.
  function matchesIn(line, text, matchCase, wholeWord) {
    const pattern = new RegExp(escapePattern(plain(text)), matchCase ? 'gu' : 'giu');
    const found = [];
    for (let m = pattern.exec(line); m; m = pattern.exec(line)) {
      const end = m.index + m[0].length;
      if (!m[0].length) break;
      if (wholeWord && (isWord(line[m.index - 1]) || isWord(line[end]))) {
        pattern.lastIndex = m.index + 1;
        continue;
      }
      found.push([m.index, end]);
    }
    return found;
  }

  // Every match in the page as a DOM range, in the page's order.
  function matchRanges(text, matchCase, wholeWord) {
    const ranges = [];
    for (const run of textRuns()) {
      const point = (offset, isEnd) => {
        for (const n of run.nodes) {
          if (isEnd ? offset <= n.start + n.length : offset < n.start + n.length) return [n.node, offset - n.start];
        }
        const tail = run.nodes[run.nodes.length - 1];
        return [tail.node, tail.length];
      };
      for (const [start, end] of matchesIn(plain(run.text), text, matchCase, wholeWord)) {
        const r = document.createRange();
        r.setStart(...point(start, false));
        r.setEnd(...point(end, true));
        ranges.push(r);
      }
    }
    return ranges;
  }

  // Selects the next match after the selection (before it, backwards),
  // wrapping round the page; false, with the selection as it was, when
  // there is none.
  function find(text, matchCase, backwards, wholeWord) {
    if (!text || !document.body) return false;
    const found = matchRanges(text, matchCase, wholeWord);
    if (!found.length) return false;
    const sel = getSelection();
    const edge = sel.rangeCount ? sel.getRangeAt(0).cloneRange() : null;
    let pick = null;
    if (edge) {
      edge.collapse(backwards);
      pick = backwards ? found.filter((r) => edge.comparePoint(r.endContainer, r.endOffset) <= 0).pop()
        : found.find((r) => edge.comparePoint(r.startContainer, r.startOffset) >= 0);
    }
    if (!pick) pick = backwards ? found[found.length - 1] : found[0];
    sel.removeAllRanges();
    sel.addRange(pick);
    const shown = pick.startContainer.parentElement;
    if (shown) shown.scrollIntoView({ block: 'nearest' });
    return true;
  }

  // The selection is exactly one of the matches.
  function selectionMatches(text, matchCase, wholeWord) {
    const sel = getSelection();
    if (!sel.rangeCount || sel.getRangeAt(0).collapsed) return false;
    const cur = sel.getRangeAt(0);
    return matchRanges(text, matchCase, wholeWord).some((r) =>
      r.compareBoundaryPoints(Range.START_TO_START, cur) === 0 &&
      r.compareBoundaryPoints(Range.END_TO_END, cur) === 0);
  }

  // Keeps the text nodes' changes as one step of undo.
  function keep(before) {
    if (!before.size) return;
    done.push({ changes: Array.from(before, ([node, data]) => ({ node, before: data, after: node.data })) });
    undone.length = 0;
  }

  // Replaces the selection when it is a match, then finds the next one.
  function replace(text, replacement, matchCase, backwards, wholeWord) {
    let replaced = false;
    if (selectionMatches(text, matchCase, wholeWord)) {
      // A match starts and ends in text (see matchRanges).
      const r = getSelection().getRangeAt(0);
      const root = r.commonAncestorContainer;
      const nodes = [];
      if (root.nodeType === Node.TEXT_NODE) {
        nodes.push(root);
      } else {
        const walker = document.createTreeWalker(root, NodeFilter.SHOW_TEXT);
        for (let t = walker.nextNode(); t; t = walker.nextNode()) {
          if (r.intersectsNode(t) && !t.parentElement.closest(SKIPPED_WITHIN)) nodes.push(t);
        }
      }
      const before = new Map();
      const [first, start, last, end] = [r.startContainer, r.startOffset, r.endContainer, r.endOffset];
      nodes.forEach((t, i) => {
        before.set(t, t.data);
        const from = t === first ? start : 0;
        const to = t === last ? end : t.data.length;
        t.data = t.data.slice(0, from) + (i === 0 ? replacement : '') + t.data.slice(to);
      });
      getSelection().collapse(first, start + replacement.length);
      keep(before);
      replaced = true;
    }
    return { replaced: replaced, found: find(text, matchCase, backwards, wholeWord) };
  }

  // Replaces every match in the page; answers how many.
  function replaceAll(text, replacement, matchCase, wholeWord) {
    if (!text || !document.body) return 0;
    const before = new Map();
    let count = 0;
    for (const run of textRuns()) {
      // From the last match back, so the offsets of those before stay right.
      for (const [start, end] of matchesIn(plain(run.text), text, matchCase, wholeWord).reverse()) {
        let placed = false;
        for (const { node, start: at, length } of run.nodes) {
          if (at + length <= start || at >= end) continue;
          if (!before.has(node)) before.set(node, node.data);
          const from = Math.max(start - at, 0);
          const to = Math.min(end - at, length);
          node.data = node.data.slice(0, from) + (placed ? '' : replacement) + node.data.slice(to);
          placed = true;
        }
        count++;
      }
    }
    keep(before);
    return count;
  }

  function step(from, to, undo) {
    const change = from.pop();
    if (!change) return false;
    for (const c of change.changes) c.node.data = undo ? c.before : c.after;
    to.push(change);
    return true;
  }

  window.__orvexFindReplace = {
    find: find,
    replace: replace,
    replaceAll: replaceAll,
    canUndo: () => done.length > 0,
    canRedo: () => undone.length > 0,
    undo: () => step(done, undone, true),
    redo: () => step(undone, done, false),
    // The engine edited the page: the changes kept here can't be taken back
    // any more. Answers whether any still stands as a change of the page.
    forget() {
      const stands = done.length > 0;
      done.length = 0;
      undone.length = 0;
      return stands;
    },
  };
})();
