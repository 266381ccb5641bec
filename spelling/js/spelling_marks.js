// Spelling marks in the editor's page. The control's spelling asks for the
// page's text in runs (collect), checks their words itself and hands back
// where the misspelt ones are (show); this script underlines them with marks
// of its own laid over the page. The marks live outside the body and carry
// the editor's marker class, so a saved page never holds them. Runs in the
// editor's world of its own, beside editor.js.
window.__orvexSpelling = window.__orvexSpelling || (function () {
  'use strict';

  // Text in these is code or keys, never prose; help objects show as named boxes.
  const SKIP = new Set(['CODE', 'PRE', 'KBD', 'SAMP', 'TT', 'VAR', 'XMP', 'LISTING', 'PLAINTEXT',
    'SCRIPT', 'STYLE', 'TITLE', 'TEXTAREA', 'OBJECT', 'HEAD']);
  // Elements inside a run of text: they do not part the words around them.
  const INLINE = new Set(['A', 'ABBR', 'ACRONYM', 'B', 'BDO', 'BIG', 'CITE', 'DFN', 'EM', 'FONT', 'I',
    'Q', 'S', 'SMALL', 'SPAN', 'STRIKE', 'STRONG', 'SUB', 'SUP', 'U', 'INS', 'DEL', 'MARK', 'NOBR',
    'LABEL', 'WBR']);
  // What glues onto a word; an apostrophe or hyphen only joins two words.
  const WORD_CHAR = /[\p{L}\p{M}\p{N}_]/u;
  const MAX_MARKS = 3000;
  const WAVE = 'url("data:image/svg+xml,%3Csvg xmlns=%27http://www.w3.org/2000/svg%27 width=%274%27 ' +
    'height=%273%27%3E%3Cpath d=%27M0 2.5 1 .5 3 2.5 4 .5%27 stroke=%27%23e00000%27 fill=%27none%27/%3E%3C/svg%3E")';

  const state = {
    runs: [],        // per run: its text nodes, each with where it starts in the run
    collected: 0,    // which collect the runs are from
    marks: [],       // {range, word}
    layer: null,
    typedAt: null,   // the caret just after the last typing: {node, offset}
  };

  function skipped(el) {
    for (let e = el; e && e !== document.body; e = e.parentElement) {
      if (SKIP.has(e.tagName) || e.classList.contains('__orvex_marker') ||
          e.classList.contains('__orvex_object')) return true;
    }
    return false;
  }

  // The element that parts runs: the nearest one that is not inline.
  function blockOf(node) {
    let e = node.parentElement;
    while (e && e !== document.body && INLINE.has(e.tagName)) e = e.parentElement;
    return e;
  }

  // The page's text as runs, for the control to find the words in.
  function collect() {
    state.runs = [];
    state.collected++;
    const texts = [];
    if (document.body) {
      const walker = document.createTreeWalker(document.body, NodeFilter.SHOW_TEXT);
      let run = null;
      let block = null;
      let last = null;
      for (let t = walker.nextNode(); t; t = walker.nextNode()) {
        if (skipped(t.parentElement)) {
          run = null;
          continue;
        }
        const b = blockOf(t);
        // A run goes on only from the text node just before, in the same block.
        if (!run || b !== block || !adjacent(last, t)) {
          run = { nodes: [], text: '' };
          state.runs.push(run);
          block = b;
        }
        run.nodes.push({ node: t, start: run.text.length });
        run.text += t.data;
        last = t;
      }
    }
    for (const run of state.runs) texts.push(run.text);
    return { id: state.collected, runs: texts };
  }

  // Whether only inline elements stand between two text nodes.
  function adjacent(a, b) {
    const r = document.createRange();
    r.setStartAfter(a);
    r.setEndBefore(b);
    const between = r.cloneContents();
    return !between.querySelector || !Array.from(between.querySelectorAll('*')).some((e) => !INLINE.has(e.tagName));
  }

  // A range over run text from start to end.
  function rangeOf(run, start, end) {
    let from = null;
    let to = null;
    for (const part of run.nodes) {
      const len = part.node.data.length;
      if (!from && start < part.start + len) from = [part.node, start - part.start];
      if (end <= part.start + len) {
        to = [part.node, end - part.start];
        break;
      }
    }
    if (!from || !to) return null;
    const r = document.createRange();
    r.setStart(from[0], from[1]);
    r.setEnd(to[0], to[1]);
    return r;
  }

  // marks: [run, start, length, word] for the collect `id`; older answers are stale.
  function show(id, marks) {
    if (id !== state.collected) return false;
    state.marks = [];
    for (const [runIndex, start, length, word] of marks) {
      if (state.marks.length >= MAX_MARKS) break;
      const run = state.runs[runIndex];
      const range = run && rangeOf(run, start, start + length);
      if (range && range.toString() === word) state.marks.push({ range, word });
    }
    draw();
    return true;
  }

  function charAt(node, offset) {
    return node.nodeType === Node.TEXT_NODE && offset >= 0 && offset < node.data.length ? node.data[offset] : '';
  }

  // A mark still stands over its whole word: same text, no word letters glued on.
  function intact(mark) {
    const r = mark.range;
    if (r.collapsed || r.toString() !== mark.word) return false;
    const before = charAt(r.startContainer, r.startOffset - 1);
    const after = charAt(r.endContainer, r.endOffset);
    return !(before && WORD_CHAR.test(before)) && !(after && WORD_CHAR.test(after));
  }

  // The word being typed is left alone until the caret leaves it.
  function beingTyped(mark) {
    const t = state.typedAt;
    if (!t) return false;
    const sel = document.getSelection();
    if (!sel || sel.rangeCount === 0 || !sel.isCollapsed) return false;
    if (sel.anchorNode !== t.node || sel.anchorOffset !== t.offset) return false;
    try {
      return mark.range.isPointInRange(t.node, t.offset);
    } catch (e) {
      return false;
    }
  }

  function layer() {
    if (state.layer && state.layer.isConnected) return state.layer;
    const el = document.createElement('div');
    // The editor's marker class: the serializer never writes it.
    el.className = '__orvex_marker __orvex_spelling';
    el.contentEditable = 'false';
    el.setAttribute('style', 'position:absolute;left:0;top:0;width:0;height:0;margin:0;padding:0;' +
      'border:0;outline:none;pointer-events:none;user-select:none;z-index:2147483647;');
    document.documentElement.appendChild(el);
    state.layer = el;
    return el;
  }

  function draw() {
    state.marks = state.marks.filter(intact);
    const root = layer();
    const frag = document.createDocumentFragment();
    const sx = window.scrollX;
    const sy = window.scrollY;
    for (const mark of state.marks) {
      mark.shown = !beingTyped(mark);
      if (!mark.shown) continue;
      for (const rect of mark.range.getClientRects()) {
        if (rect.width <= 0) continue;
        const line = document.createElement('div');
        line.setAttribute('style', 'position:absolute;left:' + (rect.left + sx) + 'px;top:' +
          (rect.bottom + sy - 3) + 'px;width:' + rect.width + 'px;height:3px;background:' + WAVE +
          ' repeat-x;outline:none;pointer-events:none;');
        frag.appendChild(line);
      }
    }
    root.replaceChildren(frag);
  }

  function caret() {
    const sel = document.getSelection();
    return sel && sel.rangeCount > 0 && sel.isCollapsed ? { node: sel.anchorNode, offset: sel.anchorOffset } : null;
  }

  document.addEventListener('input', () => {
    state.typedAt = caret();
    if (state.marks.length) draw();
  }, true);
  document.addEventListener('selectionchange', () => {
    // Only the mark left alone while typing can change.
    if (state.marks.some((m) => m.shown !== !beingTyped(m))) draw();
  }, true);
  window.addEventListener('resize', () => {
    if (state.marks.length) draw();
  }, true);

  // The mark at a point of the view (CSS pixels), or with x < 0 the one at the caret.
  function wordAt(x, y) {
    for (let i = 0; i < state.marks.length; i++) {
      const mark = state.marks[i];
      if (!intact(mark)) continue;
      if (x < 0) {
        const c = caret();
        const sel = document.getSelection();
        let inside = false;
        try {
          inside = c ? mark.range.isPointInRange(c.node, c.offset)
            : sel && sel.rangeCount > 0 && sel.getRangeAt(0).toString() === mark.word &&
              mark.range.compareBoundaryPoints(Range.START_TO_START, sel.getRangeAt(0)) === 0;
        } catch (e) {
          inside = false;
        }
        if (inside) return { index: i, word: mark.word };
        continue;
      }
      for (const rect of mark.range.getClientRects()) {
        if (x >= rect.left && x <= rect.right && y >= rect.top && y <= rect.bottom) return { index: i, word: mark.word };
      }
    }
    return null;
  }

  // Replaces a marked word as typing would, so one undo takes it back.
  function replace(index, word, text) {
    const mark = state.marks[index];
    if (!mark || mark.word !== word || !intact(mark)) return false;
    const sel = document.getSelection();
    sel.removeAllRanges();
    sel.addRange(mark.range.cloneRange());
    const done = document.execCommand('insertText', false, text);
    state.marks.splice(index, 1);
    draw();
    return done;
  }

  // The words marked and shown, in the page's order (for a look from outside).
  function marked() {
    return state.marks.filter((m) => m.shown !== false && intact(m)).map((m) => m.word);
  }

  function clear() {
    state.marks = [];
    if (state.layer) state.layer.replaceChildren();
  }

  return { collect, show, wordAt, replace, marked, clear };
})();
