// The HTML Help control objects of a compiled topic, made to work in the
// viewer: the pop-up object's textpopup method, splash screens and
// training-card buttons. Runs in every topic once its document is ready.
(function () {
  'use strict';
  if (window.__orvexHelpObjects) return;
  window.__orvexHelpObjects = true;

  const CLASS_ID = 'adb880a6-d8ff-11cf-9377-00aa003b7a11';
  const COMMAND_URL = 'orvex-chm:/$orvex/';
  const POPUP_ID = 'orvex-text-popup';
  const SPLASH_ID = 'orvex-splash';

  function isHelpObject(el) {
    return (el.getAttribute('classid') || '').toLowerCase().indexOf(CLASS_ID) >= 0;
  }

  // The object's PARAMs by lower-cased name; the first of a name wins.
  function paramsOf(el) {
    const params = {};
    for (const p of el.getElementsByTagName('param')) {
      const name = (p.getAttribute('name') || '').toLowerCase();
      if (name && !(name in params)) params[name] = p.getAttribute('value') || '';
    }
    return params;
  }

  // A colour as the control takes it (0x00BBGGRR); -1 or anything else
  // that is no number: the default.
  function cssColour(value, fallback) {
    const n = Number(value);
    if (!Number.isFinite(n) || n < 0) return fallback;
    const c = Math.floor(n) & 0xffffff;
    return 'rgb(' + (c & 0xff) + ',' + ((c >> 8) & 0xff) + ',' + ((c >> 16) & 0xff) + ')';
  }

  function margin(value) {
    const n = Number(value);
    return Number.isFinite(n) && n >= 0 ? Math.min(Math.floor(n), 200) : 10;
  }

  // "Face,size[,charset[,BOLD ITALIC UNDERLINE]]"
  function applyFont(box, font) {
    const parts = String(font === undefined || font === null ? '' : font).split(',');
    const face = (parts[0] || '').trim();
    if (face) box.style.fontFamily = '"' + face.replace(/["\\]/g, '') + '", monospace';
    const size = parseFloat(parts[1]);
    box.style.fontSize = (Number.isFinite(size) && size > 0 && size < 200 ? size : 10) + 'pt';
    const style = parts.slice(2).join(' ').toUpperCase();
    if (style.indexOf('BOLD') >= 0) box.style.fontWeight = 'bold';
    if (style.indexOf('ITALIC') >= 0) box.style.fontStyle = 'italic';
    if (style.indexOf('UNDERLINE') >= 0) box.style.textDecoration = 'underline';
  }

  // Where the reader pressed last: the pop-up opens there.
  let lastPoint = null;
  document.addEventListener('mousedown', function (e) {
    lastPoint = { x: e.clientX, y: e.clientY };
  }, true);

  function closePopup() {
    const old = document.getElementById(POPUP_ID);
    if (old) old.remove();
  }

  function anchorPoint() {
    if (lastPoint) return lastPoint;
    const active = document.activeElement;
    if (active && active !== document.body && active.getBoundingClientRect) {
      const r = active.getBoundingClientRect();
      return { x: r.left, y: r.bottom };
    }
    return { x: 20, y: 20 };
  }

  function textpopup(text, font, mx, my, fg, bg) {
    closePopup();
    const box = document.createElement('div');
    box.id = POPUP_ID;
    box.setAttribute('role', 'tooltip');
    box.textContent = text === undefined || text === null ? '' : String(text);
    const s = box.style;
    s.position = 'fixed';
    s.zIndex = '2147483647';
    s.boxSizing = 'border-box';
    s.maxWidth = Math.max(120, Math.floor(window.innerWidth * 0.6)) + 'px';
    s.padding = margin(my) + 'px ' + margin(mx) + 'px';
    s.whiteSpace = 'pre-wrap';
    s.border = '1px solid #000';
    s.boxShadow = '2px 2px 4px rgba(0,0,0,0.4)';
    s.color = cssColour(fg, '#000');
    s.background = cssColour(bg, '#ffffe1');
    s.textAlign = 'left';
    s.lineHeight = 'normal';
    applyFont(box, font);
    s.left = '0px';
    s.top = '0px';
    s.visibility = 'hidden';
    (document.body || document.documentElement).appendChild(box);
    // Below and to the right of the point, kept inside the window.
    const p = anchorPoint();
    const w = box.offsetWidth;
    const h = box.offsetHeight;
    const x = Math.max(0, Math.min(p.x + 8, window.innerWidth - w - 2));
    const y = p.y + 12 + h <= window.innerHeight ? p.y + 12 : Math.max(0, p.y - h - 4);
    s.left = x + 'px';
    s.top = y + 'px';
    s.visibility = 'visible';
    // The next press or key anywhere closes it.
    setTimeout(function () {
      const close = function () {
        document.removeEventListener('mousedown', close, true);
        document.removeEventListener('keydown', close, true);
        closePopup();
      };
      document.addEventListener('mousedown', close, true);
      document.addEventListener('keydown', close, true);
    }, 0);
    return true;
  }

  function showSplash(picture, milliseconds) {
    if (!picture || document.getElementById(SPLASH_ID)) return;
    let ms = Number(milliseconds);
    if (!Number.isFinite(ms) || ms <= 0) ms = 5000;
    ms = Math.min(ms, 10 * 60 * 1000);
    const cover = document.createElement('div');
    cover.id = SPLASH_ID;
    const s = cover.style;
    s.position = 'fixed';
    s.left = '0';
    s.top = '0';
    s.right = '0';
    s.bottom = '0';
    s.zIndex = '2147483646';
    s.display = 'flex';
    s.alignItems = 'center';
    s.justifyContent = 'center';
    s.background = 'transparent';
    const img = document.createElement('img');
    img.src = new URL(picture, location.href).href;
    img.alt = '';
    img.style.maxWidth = '90%';
    img.style.maxHeight = '90%';
    img.style.boxShadow = '3px 3px 8px rgba(0,0,0,0.5)';
    cover.appendChild(img);
    (document.body || document.documentElement).appendChild(cover);
    const close = function () { cover.remove(); };
    cover.addEventListener('mousedown', close);
    setTimeout(close, ms);
  }

  // "wParam, lParam": both trimmed; lParam may be any text.
  function sendCard(values) {
    const v = String(values || '');
    const comma = v.indexOf(',');
    const wParam = (comma < 0 ? v : v.slice(0, comma)).trim();
    const lParam = comma < 0 ? '' : v.slice(comma + 1).trim();
    location.href = COMMAND_URL + 'tcard?wParam=' + encodeURIComponent(wParam) +
      '&lParam=' + encodeURIComponent(lParam);
  }

  function cardButton(el, params) {
    const button = document.createElement('button');
    button.type = 'button';
    button.className = 'orvex-tcard';
    button.textContent = params.button || '';
    const values = params.item1 || '';
    button.addEventListener('click', function () { sendCard(values); });
    el.parentNode.insertBefore(button, el);
  }

  for (const el of Array.from(document.getElementsByTagName('object'))) {
    if (!isHelpObject(el)) continue;
    // The control draws nothing of its own here; what it shows is made below.
    el.style.display = 'none';
    el.textpopup = textpopup;
    // Links call the object by its id; two objects of one id would give a
    // collection there, so the first one answers.
    const named = el.id ? window[el.id] : undefined;
    if (el.id && named !== el && (named === undefined || named instanceof HTMLCollection)) {
      try { window[el.id] = el; } catch (e) { /* a name the page keeps */ }
    }
    const params = paramsOf(el);
    const command = (params.command || '').trim().toLowerCase();
    if (command === 'splash') showSplash(params.item1, params.item2);
    else if (command === 'tcard' && el.parentNode) cardButton(el, params);
  }
})();
