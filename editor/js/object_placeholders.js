// Objects of the HTML Help control (splash screens, training cards, the
// pop-up control) have nothing to show in the editor: the engine gives them
// an empty plug-in box the caret can get lost in. Each one is shown instead
// inside a box of the editor's own that names it ("Splash: logo.bmp") and
// that the caret passes over as one piece. The box belongs to the view: the
// serializer writes only the object inside it. Runs before editor.js in the
// editor's world of its own.
window.__orvexObjects = window.__orvexObjects || (function () {
  'use strict';

  const BOX = '__orvex_object';
  // Inline, not inline-block: the engine finds no place for the caret after
  // an inline block whose only content is its label, and typing there went
  // to the next paragraph or nowhere.
  const CSS = '.' + BOX + '{display:inline;margin:0 1px;padding:0 4px;' +
    'outline:1px solid #808080;background:#f0f0f0;color:#404040;font:11px sans-serif;' +
    'white-space:nowrap;cursor:default;}' +
    '.' + BOX + '::before{content:attr(data-orvex-label);}' +
    '.' + BOX + '>object{display:none;}';

  // The object's parameters by lower-case name (the first of each name).
  function paramsOf(object) {
    const params = new Map();
    for (const p of object.querySelectorAll('param')) {
      const name = (p.getAttribute('name') || '').toLowerCase();
      if (!params.has(name)) params.set(name, p.getAttribute('value') || '');
    }
    return params;
  }

  // What the box says: the kind of object and what it shows.
  function labelOf(object) {
    const params = paramsOf(object);
    const command = params.get('command') || '';
    switch (command.toLowerCase()) {
      case 'splash': return 'Splash: ' + (params.get('item1') || '');
      case 'tcard': return 'Training card: ' + (params.get('button') || '');
      case 'hh version': return 'Pop-up control';
      default: return command ? 'Object: ' + command : 'Object';
    }
  }

  // Puts every object under root (an element or a fragment) that has no box
  // yet into one; objects inside objects go with their outer one.
  function decorate(root) {
    if (!root || !root.querySelectorAll) return;
    for (const object of Array.from(root.querySelectorAll('object'))) {
      const parent = object.parentElement;
      if (parent && (parent.classList.contains(BOX) || parent.closest('object'))) continue;
      const box = object.ownerDocument.createElement('span');
      box.className = BOX;
      box.contentEditable = 'false';
      box.setAttribute('data-orvex-label', labelOf(object));
      object.replaceWith(box);
      box.appendChild(object);
    }
  }

  return { css: CSS, decorate };
})();
