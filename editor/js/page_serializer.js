// How the editor's page is written back as stored HTML: tags in capitals,
// CR LF line ends, entities where the text needs them, the editor's own view
// style and markers left out. Runs before editor.js in the editor's world of
// its own, which takes serialize() and escText() from here.
window.__orvexSerializer = window.__orvexSerializer || (function () {
  'use strict';

  const VOID = new Set(['AREA', 'BASE', 'BASEFONT', 'BGSOUND', 'BR', 'COL', 'EMBED', 'FRAME',
    'HR', 'IMG', 'INPUT', 'ISINDEX', 'KEYGEN', 'LINK', 'META', 'PARAM', 'SOURCE', 'TRACK', 'WBR']);
  const RAW = new Set(['SCRIPT', 'STYLE', 'XMP', 'IFRAME', 'NOEMBED', 'NOFRAMES', 'PLAINTEXT']);
  const BOOLEAN_ATTRS = new Set(['nowrap', 'checked', 'selected', 'disabled', 'readonly',
    'multiple', 'noshade', 'compact', 'ismap', 'declare', 'defer', 'nohref', 'noresize']);

  function nl(s) { return s.replace(/\r\n|\r|\n/g, '\r\n'); }
  function escText(s) {
    return nl(s.replace(/&/g, '&amp;').replace(/</g, '&lt;').replace(/>/g, '&gt;')
      .replace(/\u00a0/g, '&nbsp;'));
  }
  function escAttr(s) {
    return nl(s.replace(/&/g, '&amp;').replace(/"/g, '&quot;').replace(/\u00a0/g, '&nbsp;'));
  }
  function attrText(a) {
    const name = a.name;
    const v = a.value;
    if (v === '' && BOOLEAN_ATTRS.has(name)) return ' ' + name;
    // type=button must stay unquoted: stored pages find card buttons by the
    // text TYPE=BUTTON. Every other value is quoted.
    if (name === 'type' && /^[A-Za-z0-9_-]+$/.test(v)) return ' ' + name + '=' + v;
    return ' ' + name + '="' + escAttr(v) + '"';
  }
  function startTag(el) {
    let s = '<' + el.tagName.toUpperCase();
    for (const a of el.attributes) s += attrText(a);
    return s + '>';
  }
  function serializeChildren(node, out) {
    for (let c = node.firstChild; c; c = c.nextSibling) serializeNode(c, out);
  }
  function serializeNode(node, out) {
    switch (node.nodeType) {
      case Node.ELEMENT_NODE: {
        // The editor's own view style and markers never belong to the page;
        // of the box an object is shown in (object_placeholders.js), only the
        // object does.
        if (node.id === '__orvex_view' || node.classList.contains('__orvex_marker')) return;
        if (node.classList.contains('__orvex_object')) {
          serializeChildren(node, out);
          return;
        }
        const tag = node.tagName.toUpperCase();
        out.push(startTag(node));
        if (VOID.has(tag)) return;
        if ((tag === 'PRE' || tag === 'TEXTAREA' || tag === 'LISTING') && node.firstChild &&
            node.firstChild.nodeType === Node.TEXT_NODE && node.firstChild.data.startsWith('\n')) {
          // The parser drops one line break right after the start tag.
          out.push('\r\n');
        }
        if (RAW.has(tag)) {
          out.push(nl(node.textContent));
        } else if (tag === 'TEMPLATE') {
          serializeChildren(node.content, out);
        } else {
          serializeChildren(node, out);
        }
        out.push('</' + tag + '>');
        return;
      }
      case Node.TEXT_NODE: {
        const p = node.parentNode;
        if (p && p.nodeType === Node.ELEMENT_NODE && RAW.has(p.tagName.toUpperCase())) {
          out.push(nl(node.data));
        } else {
          out.push(escText(node.data));
        }
        return;
      }
      case Node.COMMENT_NODE:
        out.push('<!--' + nl(node.data) + '-->');
        return;
      case Node.DOCUMENT_FRAGMENT_NODE:
        serializeChildren(node, out);
        return;
      default:
        return;
    }
  }
  function serialize(node) {
    const out = [];
    serializeNode(node, out);
    return out.join('');
  }

  return { serialize, escText };
})();
