// The editor's side inside the page. Runs in an isolated world of its own,
// so the topic's scripts (which never run in the editor) can't reach it.
// The control calls window.__orvex.* by command name; what the window shows
// of the page (formatting at the caret, commands that apply, changed or not)
// is pushed to the control through the web channel's "host" object as it
// changes, so the control never has to ask.
(function () {
  'use strict';
  if (window.__orvex) return;

  // Command names, from the control's one table.
  const C = __orvexCommandTable.commands;
  // How a command applies at the selection.
  const S = { Disabled: 0, Enabled: 1, On: 2 };
  // Pages as stored: page_serializer.js, loaded before this script.
  const { serialize, escText } = window.__orvexSerializer;
  // Find and replace: find_replace.js, loaded before this script.
  const textEdits = window.__orvexFindReplace;
  // Rows and columns of tables: table_editing.js, loaded before this script.
  const tables = window.__orvexTables;
  // Help objects shown as named boxes: object_placeholders.js, loaded before.
  const { css: OBJECT_CSS, decorate: boxObjects } = window.__orvexObjects;

  const state = {
    host: null,
    edits: 0,          // edits the engine's undo can take back
    domDirty: false,   // changes made outside the engine's undo
    ranges: new Map(),
    nextRange: 1,
    snap: false,
    version: 0,        // counts the page's changes since it was loaded
    generation: 0,     // the control's load this page belongs to
    pushQueued: false,
    cache: null,       // {version, whole, html}: the page last serialized
  };

  // The selection and what is styled in it: selection_helpers.js, loaded before.
  const { selRange, elementOf, closest, select, bodyRange, styledElements, uniform, firstFamily, legacySize,
    blockFormat, relaxSpacesAround } = window.__orvexSelection;

  // ---- undo tracking and events --------------------------------------------

  // The selection's text when it is a short phrase within one block (what
  // "Find" starts with), else ''.
  function selectedPhrase() {
    const r = selRange();
    if (!r || r.collapsed) return '';
    const text = r.toString();
    if (text.length > 200) return '';
    const blocks = 'p,div,br,li,tr,td,th,h1,h2,h3,h4,h5,h6,table,ul,ol';
    const frag = r.cloneContents();
    return frag.querySelector && frag.querySelector(blocks) ? '' : text;
  }

  // What the window shows of the page, in one object.
  function currentState() {
    const enabled = [];
    const on = [];
    for (const name of Object.keys(C)) {
      const s = queryStatus(name);
      if (s >= S.Enabled) enabled.push(name);
      if (s === S.On) on.push(name);
    }
    const fontEnabled = queryStatus(C.GetFontSize) >= S.Enabled;
    return {
      phrase: selectedPhrase(),
      generation: state.generation,
      version: state.version,
      enabled: enabled,
      on: on,
      modified: queryStatus(C.Undo) >= S.Enabled,
      fontEnabled: fontEnabled,
      fontSize: fontEnabled ? fontSize() : null,
      fontName: fontEnabled ? fontName() : null,
      blockFormat: blockFormat(selRange()),
    };
  }
  // Timers don't run in this world (the page's scripting is off); a burst
  // of changes within one event is pushed once, when the event is done.
  function pushState() {
    if (state.pushQueued || !state.host) return;
    state.pushQueued = true;
    Promise.resolve().then(() => {
      state.pushQueued = false;
      if (state.host) state.host.stateChanged(currentState());
    });
  }
  // The page changed.
  function notify() {
    state.version++;
    pushState();
  }
  function markDomEdit() {
    state.domDirty = true;
    notify();
  }
  function snapToGrid(target) {
    if (!state.snap) return;
    for (let el = elementOf(target); el && el !== document.body; el = el.parentElement) {
      if (el.style.position !== 'absolute') continue;
      for (const side of ['left', 'top']) {
        const v = parseFloat(el.style[side]);
        if (!isNaN(v) && v % 8 !== 0) el.style[side] = Math.round(v / 8) * 8 + 'px';
      }
    }
  }
  document.addEventListener('input', (e) => {
    state.edits++;
    if (textEdits.forget()) state.domDirty = true;
    snapToGrid(e.target === document.body ? (selRange() || {}).startContainer : e.target);
    notify();
  }, true);
  document.addEventListener('selectionchange', pushState, true);

  // Tab in a table cell moves to the next cell (Shift+Tab to the one
  // before) and selects its contents, so typing replaces them; Tab in the
  // last cell adds a row. Elsewhere Tab is typed as a tab.
  document.addEventListener('keydown', (e) => {
    if (e.key !== 'Tab' || e.ctrlKey || e.altKey || e.metaKey) return;
    const r = selRange();
    const cell = r && closest(r.startContainer, 'td,th');
    if (!cell) return;
    e.preventDefault();
    const step = tables.stepFrom(cell, e.shiftKey);
    if (step.cell) selectCell(step.cell);
    if (step.added) markDomEdit();
  }, true);
  function selectCell(cell) {
    const range = document.createRange();
    range.selectNodeContents(cell);
    select(range);
  }

  // ---- view options --------------------------------------------------------

  const VIEW_CSS = {
    details: 'object{display:inline-block;min-width:24px;min-height:16px;outline:1px dashed #808080;}' +
      'body script,body style{display:inline;white-space:pre;font:11px monospace;color:#808080;' +
      'outline:1px dashed #c0c0c0;}',
    borders: 'table:not([border]) td,table:not([border]) th,table[border="0"] td,' +
      'table[border="0"] th,table:not([border]),table[border="0"]{outline:1px dashed #a0a0a0;}',
  };
  function applyView(opts) {
    let el = document.getElementById('__orvex_view');
    if (!el) {
      el = document.createElement('style');
      el.id = '__orvex_view';
      (document.head || document.documentElement).appendChild(el);
    }
    el.textContent = (opts.details ? VIEW_CSS.details : '') + (opts.borders ? VIEW_CSS.borders : '') +
      '.__orvex_marker{font:11px monospace;color:#808080;outline:1px dashed #c0c0c0;}' + OBJECT_CSS;
    state.snap = !!opts.snap;
    markComments(!!opts.details);
    // A read-only page takes no typing, pasting or dropping.
    const mode = opts.editable === false ? 'off' : 'on';
    if (document.designMode !== mode) document.designMode = mode;
  }

  // Comments don't render: with details shown, a marker stands before each.
  // Markers belong to the view, never to the page (the serializer skips them).
  function markComments(on) {
    if (!document.body) return;
    for (const m of Array.from(document.body.querySelectorAll('.__orvex_marker'))) m.remove();
    if (!on) return;
    const walker = document.createTreeWalker(document.body, NodeFilter.SHOW_COMMENT);
    const comments = [];
    for (let c = walker.nextNode(); c; c = walker.nextNode()) comments.push(c);
    for (const c of comments) {
      const marker = document.createElement('span');
      marker.className = '__orvex_marker';
      marker.contentEditable = 'false';
      marker.textContent = '<!--' + (c.data.length > 20 ? c.data.slice(0, 20) + '\u2026' : c.data) + '-->';
      c.parentNode.insertBefore(marker, c);
    }
  }

  // ---- commands ------------------------------------------------------------

  const SIMPLE = {
    [C.Bold]: 'bold', [C.Italic]: 'italic', [C.Underline]: 'underline',
    [C.JustifyLeft]: 'justifyLeft', [C.JustifyCenter]: 'justifyCenter',
    [C.JustifyRight]: 'justifyRight',
    [C.OrderList]: 'insertOrderedList', [C.UnorderList]: 'insertUnorderedList',
    [C.Indent]: 'indent', [C.Outdent]: 'outdent', [C.RemoveFormat]: 'removeFormat',
  };
  const LATCHING = new Set([C.Bold, C.Italic, C.Underline, C.JustifyLeft, C.JustifyCenter,
    C.JustifyRight, C.OrderList, C.UnorderList]);
  const TABLE_CMDS = new Set([C.InsertRow, C.InsertCol, C.DeleteRows, C.DeleteCols]);
  const NEEDS_SELECTION = new Set([C.SetFontName, C.SetFontSize, C.SetForeColor, C.SetBackColor,
    C.GetFontName, C.GetFontSize, C.Hyperlink, C.Image, C.InsertTable, C.FindText, C.Font,
    C.Delete, C.SelectAll, C.GetBlockFmt, C.SetBlockFmt]);

  function queryStatus(cmd) {
    if (!document.body) return S.Disabled;
    const r = selRange();
    if (SIMPLE[cmd]) {
      if (!r) return S.Disabled;
      const name = SIMPLE[cmd];
      if (!document.queryCommandEnabled(name)) return S.Disabled;
      if (LATCHING.has(cmd) && document.queryCommandState(name)) return S.On;
      return S.Enabled;
    }
    if (cmd === C.Undo) {
      if (state.domDirty || textEdits.canUndo()) return S.Enabled;
      return state.edits > 0 && document.queryCommandEnabled('undo') ? S.Enabled : S.Disabled;
    }
    if (cmd === C.Redo && textEdits.canRedo()) return S.Enabled;
    if (cmd === C.Redo) return state.edits > 0 && document.queryCommandEnabled('redo') ? S.Enabled : S.Disabled;
    if (cmd === C.Copy || cmd === C.Cut) return r && !r.collapsed ? S.Enabled : S.Disabled;
    if (cmd === C.Paste) return S.Enabled;
    if (cmd === C.Unlink) {
      if (!r) return S.Disabled;
      if (closest(r.startContainer, 'a[href]') || closest(r.endContainer, 'a[href]')) return S.Enabled;
      const frag = r.cloneContents();
      return frag.querySelector && frag.querySelector('a[href]') ? S.Enabled : S.Disabled;
    }
    if (TABLE_CMDS.has(cmd)) return r && closest(r.startContainer, 'td,th') ? S.Enabled : S.Disabled;
    if (NEEDS_SELECTION.has(cmd)) return r || cmd === C.SelectAll || cmd === C.FindText ? S.Enabled : S.Disabled;
    return S.Disabled;
  }

  function ensureSelection() {
    if (!selRange()) select(bodyRange(false));
  }

  function fontName() {
    const r = selRange();
    if (!r) return null;
    return uniform(styledElements(r).map((el) => firstFamily(getComputedStyle(el).fontFamily)));
  }
  function fontSize() {
    const r = selRange();
    if (!r) return null;
    return uniform(styledElements(r).map((el) => legacySize(parseFloat(getComputedStyle(el).fontSize))));
  }

  // Table rows and columns, done on the DOM and marked as a change.
  function cellAt() {
    const r = selRange();
    return r ? closest(r.startContainer, 'td,th') : null;
  }
  function placeCaret(node) {
    if (!node || !node.isConnected) return;
    const r = document.createRange();
    r.selectNodeContents(node);
    r.collapse(true);
    select(r);
  }
  const TABLE_EDITS = {
    [C.InsertRow]: 'insertRowBelow',
    [C.InsertCol]: 'insertColumnRight',
    [C.DeleteRows]: 'deleteRow',
    [C.DeleteCols]: 'deleteColumn',
  };
  function tableCommand(cmd) {
    const cell = cellAt();
    if (!cell || !TABLE_EDITS[cmd]) return false;
    placeCaret(tables[TABLE_EDITS[cmd]](cell));
    markDomEdit();
    return true;
  }

  function insertTable(p) {
    ensureSelection();
    const rows = Math.max(1, Math.min(1000, p.NumRows | 0));
    const cols = Math.max(1, Math.min(100, p.NumCols | 0));
    const tableAttrs = (p.TableAttrs || '').trim();
    const cellAttrs = (p.CellAttrs || '').trim();
    let html = '<table' + (tableAttrs ? ' ' + tableAttrs : '') + '>';
    if (p.Caption) html += '<caption>' + escText(p.Caption) + '</caption>';
    html += '<tbody>';
    for (let i = 0; i < rows; i++) {
      html += '<tr>';
      for (let j = 0; j < cols; j++) html += '<td' + (cellAttrs ? ' ' + cellAttrs : '') + '>&nbsp;</td>';
      html += '</tr>';
    }
    html += '</tbody></table>';
    const before = new Set(document.querySelectorAll('table'));
    document.execCommand('insertHTML', false, html);
    // Typing goes into the first cell of the new table.
    const added = Array.from(document.querySelectorAll('table')).find((t) => !before.has(t));
    const first = added && tables.firstCell(added);
    if (first) selectCell(first);
    return true;
  }

  function toColor(v) {
    if (typeof v === 'number') {
      const n = v & 0xffffff;  // red in the lowest byte
      const hex = (x) => ('0' + x.toString(16).toUpperCase()).slice(-2);
      return '#' + hex(n & 0xff) + hex((n >> 8) & 0xff) + hex((n >> 16) & 0xff);
    }
    return String(v);
  }

  // The HTML and the text of the selection, for the clipboard.
  function selectionData() {
    const r = selRange();
    if (!r || r.collapsed) return null;
    return { html: serialize(r.cloneContents()), text: document.getSelection().toString() };
  }

  // Inserts page HTML at the range, keeping it as written: the engine's own
  // insertHTML drops script links (href="javascript:...") and event
  // attributes, which pop-up links need. Undoable when the engine can take
  // it as is; otherwise done on the DOM and marked as a change.
  function insertHtmlAt(range, html) {
    select(range);
    const risky = /javascript:|<script|\son[a-z]+\s*=|<object|<param|<embed/i.test(html);
    if (!risky && html !== '') {
      if (document.execCommand('insertHTML', false, html)) {
        relaxSpacesAround(html);
        return;
      }
    }
    range.deleteContents();
    if (html !== '') {
      const frag = range.createContextualFragment(html);
      boxObjects(frag);
      const last = frag.lastChild;
      range.insertNode(frag);
      if (last) {
        const after = document.createRange();
        after.setStartAfter(last);
        after.collapse(true);
        select(after);
      }
    }
    markDomEdit();
  }

  // With only a caret in a link the whole link goes; its text stays, and
  // so does the caret. A selection loses the links in it.
  function unlink() {
    const r = selRange();
    const link = r && r.collapsed ? closest(r.startContainer, 'a[href]') : null;
    if (!link) { document.execCommand('unlink'); return; }
    const parent = link.parentNode;
    const before = document.createRange();
    before.setStart(parent, 0);
    before.setEnd(r.startContainer, r.startOffset);
    let offset = before.toString().length;
    const whole = document.createRange();
    whole.selectNodeContents(link);
    select(whole);
    document.execCommand('unlink');
    const walker = document.createTreeWalker(parent, NodeFilter.SHOW_TEXT);
    for (let t = walker.nextNode(); t; offset -= t.data.length, t = walker.nextNode()) {
      if (offset <= t.data.length) { getSelection().collapse(t, offset); return; }
    }
  }

  function exec(cmd, arg) {
    if (!document.body) return null;
    if (SIMPLE[cmd]) {
      ensureSelection();
      document.execCommand(SIMPLE[cmd], false, null);
      return null;
    }
    switch (cmd) {
      case C.Undo: if (textEdits.undo()) notify(); else document.execCommand('undo'); return null;
      case C.Redo: if (textEdits.redo()) notify(); else document.execCommand('redo'); return null;
      case C.Delete: {
        const r = selRange();
        document.execCommand(r && r.collapsed ? 'forwardDelete' : 'delete');
        return null;
      }
      case C.SelectAll: document.execCommand('selectAll'); return null;
      case C.SetFontName: ensureSelection(); document.execCommand('fontName', false, String(arg)); return null;
      case C.SetFontSize: ensureSelection(); document.execCommand('fontSize', false, String(arg)); return null;
      case C.SetForeColor: ensureSelection(); document.execCommand('foreColor', false, toColor(arg)); return null;
      case C.SetBackColor: ensureSelection(); document.execCommand('hiliteColor', false, toColor(arg)); return null;
      case C.Unlink: unlink(); return null;
      case C.Hyperlink: ensureSelection(); document.execCommand('createLink', false, String(arg)); return null;
      case C.Image: ensureSelection(); document.execCommand('insertImage', false, String(arg)); return null;
      case C.GetFontName: return fontName();
      case C.GetFontSize: return fontSize();
      case C.GetBlockFmt: return blockFormat(selRange());
      // The block at the caret becomes a paragraph, a heading, preformatted text.
      case C.SetBlockFmt:
        ensureSelection();
        document.execCommand('formatBlock', false, String(arg).toLowerCase());
        return null;
      case C.InsertTable: return insertTable(arg || {});
      default:
        if (TABLE_CMDS.has(cmd)) return tableCommand(cmd);
        return null;
    }
  }

  // ---- text ranges ---------------------------------------------------------

  function rangeOf(id) { return state.ranges.get(id) || null; }

  // Moves one end of the range by count units with the engine's own caret
  // movement; a count beyond the text's end stops there. The user's
  // selection is put back afterwards.
  function moveEdge(id, atStart, unit, count) {
    const r = rangeOf(id);
    if (!r || !count) return 0;
    const saved = selRange();
    const sel = document.getSelection();
    const dir = count < 0 ? 'backward' : 'forward';
    const granularity = unit === 'word' ? 'word' : 'character';
    let moved = 0;
    let node = atStart ? r.startContainer : r.endContainer;
    let offset = atStart ? r.startOffset : r.endOffset;
    if (Math.abs(count) > 1000) {
      // "As far as it goes": the body's start or end.
      const edge = bodyRange(count > 0);
      node = edge.startContainer;
      offset = edge.startOffset;
      moved = count;
    } else {
      sel.collapse(node, offset);
      for (let i = 0; i < Math.abs(count); i++) {
        const before = [sel.focusNode, sel.focusOffset];
        sel.modify('move', dir, granularity);
        if (sel.focusNode === before[0] && sel.focusOffset === before[1]) break;
        moved += count < 0 ? -1 : 1;
      }
      node = sel.focusNode;
      offset = sel.focusOffset;
    }
    if (atStart) {
      r.setStart(node, offset);  // an end before the new start follows it
    } else {
      r.setEnd(node, offset);
    }
    sel.removeAllRanges();
    if (saved) sel.addRange(saved);
    return moved;
  }

  // The page as stored (the whole document, or the body's content), kept
  // until the page changes again.
  function serializedPage(whole) {
    const c = state.cache;
    if (c && c.version === state.version && c.whole === whole) return c.html;
    const root = whole ? document.documentElement : document.body;
    const html = root ? serialize(root) : '';
    state.cache = { version: state.version, whole: whole, html: html };
    return html;
  }

  window.__orvex = {
    serializeBody() { return serializedPage(false); },
    serializeDocument() { return serializedPage(true); },
    // The state as it stands, and the page's HTML when the control's copy
    // (of version known) is out of date and the page is changed or the
    // control wants it anyway.
    snapshot(known, wantHtml, whole) {
      const s = currentState();
      const answer = { state: s };
      if (s.version !== known && (wantHtml || s.modified)) answer.html = serializedPage(!!whole);
      return answer;
    },
    serializeFragment(html) {
      const t = document.createElement('template');
      t.innerHTML = html;
      return serialize(t.content);
    },
    init(opts) {
      state.edits = 0;
      state.domDirty = !!opts.dirty;
      state.ranges.clear();
      state.version = 0;
      state.cache = null;
      state.generation = opts.generation | 0;
      boxObjects(document.body);
      applyView(opts);
      pushState();
      return true;
    },
    setView(opts) { applyView(opts); return true; },
    // Puts the caret after the last link to href: a page shown anew has
    // forgotten where the caret was.
    caretAfterLink(href) {
      const links = Array.from(document.querySelectorAll('a[href]')).filter((a) => a.getAttribute('href') === href);
      if (!links.length) return false;
      const r = document.createRange();
      r.setStartAfter(links[links.length - 1]);
      select(r);
      return true;
    },
    // Puts the caret where something dropped at (x, y) of the window lands.
    caretAt(x, y) {
      const r = document.caretRangeFromPoint(x, y);
      if (!r || !document.body || !document.body.contains(r.startContainer)) return false;
      select(r);
      return true;
    },
    exec(cmd, arg) {
      const result = exec(cmd, arg);
      notify();
      return result;
    },
    find(text, matchCase, backwards, wholeWord) {
      const found = textEdits.find(text, matchCase, backwards, wholeWord);
      pushState();
      return found;
    },
    replace(text, replacement, matchCase, backwards, wholeWord) {
      const answer = textEdits.replace(text, replacement, matchCase, backwards, wholeWord);
      notify();
      return answer;
    },
    replaceAll(text, replacement, matchCase, wholeWord) {
      const count = textEdits.replaceAll(text, replacement, matchCase, wholeWord);
      if (count) notify();
      return count;
    },
    selectionData() { return selectionData(); },
    deleteSelection() { document.execCommand('delete'); notify(); return true; },
    // HTML copied in the editor comes back as it was written.
    pasteClipboard(data, isHtml, asWritten) {
      ensureSelection();
      if (isHtml && asWritten) insertHtmlAt(selRange(), data);
      else document.execCommand(isHtml ? 'insertHTML' : 'insertText', false, data);
      notify();
      return true;
    },
    setBodyBgColor(color) {
      if (!document.body) return false;
      document.body.setAttribute('bgcolor', color);
      markDomEdit();
      return true;
    },
    // The selection as a range named id (the control's number for it).
    createRange(id) {
      const r = selRange() || bodyRange(false);
      state.ranges.set(id, r.cloneRange());
      return id;
    },
    // What a range holds: its HTML, its text and the tag of the element
    // that holds it whole.
    rangeContents(id) {
      const r = rangeOf(id);
      const el = r ? elementOf(r.commonAncestorContainer) : null;
      return {
        html: r ? serialize(r.cloneContents()) : '',
        text: r ? r.toString() : '',
        parentTag: el ? el.tagName.toUpperCase() : '',
      };
    },
    moveStart(id, unit, count) { return moveEdge(id, true, unit, count); },
    moveEnd(id, unit, count) { return moveEdge(id, false, unit, count); },
    collapse(id, toStart) { const r = rangeOf(id); if (r) r.collapse(!!toStart); return true; },
    pasteHTML(id, html) {
      const r = rangeOf(id);
      if (!r) return false;
      insertHtmlAt(r, html);
      const now = selRange();
      if (now) state.ranges.set(id, now.cloneRange());
      notify();
      return true;
    },
  };

  // The host object arrives once the channel has talked to the control.
  if (typeof QWebChannel !== 'undefined' && window.qt && qt.webChannelTransport) {
    new QWebChannel(qt.webChannelTransport, (channel) => {
      state.host = channel.objects.host;
      pushState();
    });
  }
})();
