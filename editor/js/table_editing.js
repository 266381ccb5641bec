// Rows and columns of the page's tables, edited on the DOM. Each edit takes
// the cell the caret is in and answers the cell the caret goes to next
// (null when the table went with its last row or column).
window.__orvexTables = window.__orvexTables || (function () {
  'use strict';

  function columnIndex(cell) {
    let idx = 0;
    for (let c = cell.parentElement.firstElementChild; c && c !== cell; c = c.nextElementSibling) {
      idx += c.colSpan || 1;
    }
    return idx;
  }
  function cellAtColumn(row, col) {
    let idx = 0;
    for (let c = row.firstElementChild; c; c = c.nextElementSibling) {
      if (!/^(TD|TH)$/.test(c.tagName)) continue;
      const span = c.colSpan || 1;
      if (col < idx + span) return c;
      idx += span;
    }
    return null;
  }
  function emptyCellLike(cell) {
    const c = document.createElement(cell ? cell.tagName : 'TD');
    if (cell) for (const a of cell.attributes) if (a.name !== 'colspan' && a.name !== 'rowspan' && a.name !== 'id') c.setAttribute(a.name, a.value);
    c.innerHTML = '&nbsp;';
    return c;
  }

  // The cells of the cell's own table in reading order (not those of tables inside it).
  function cellsOf(table) {
    return Array.from(table.querySelectorAll('td,th')).filter((c) => c.closest('table') === table);
  }

  const api = {
    // The cell Tab (back: Shift+Tab) goes to from cell: the next one, or in
    // the last cell the first of a new row added below (added is then true);
    // null before the first cell.
    stepFrom(cell, back) {
      const cells = cellsOf(cell.closest('table'));
      const next = cells[cells.indexOf(cell) + (back ? -1 : 1)];
      if (next || back) return { cell: next || null, added: false };
      return { cell: api.insertRowBelow(cells[cells.length - 1]), added: true };
    },
    // The first cell of the table, or null.
    firstCell(table) { return cellsOf(table)[0] || null; },
    // A row below the cell's row, with an empty cell for each of its cells.
    insertRowBelow(cell) {
      const row = cell.parentElement;
      const nr = document.createElement('TR');
      for (const a of row.attributes) if (a.name !== 'id') nr.setAttribute(a.name, a.value);
      for (let c = row.firstElementChild; c; c = c.nextElementSibling) {
        const nc = emptyCellLike(c);
        if (c.colSpan > 1) nc.colSpan = c.colSpan;
        nr.appendChild(nc);
      }
      row.after(nr);
      return nr.firstElementChild;
    },
    // A column right of the cell's column.
    insertColumnRight(cell) {
      const col = columnIndex(cell);
      for (const tr of cell.closest('table').rows) {
        const c = cellAtColumn(tr, col);
        const nc = emptyCellLike(c);
        if (c) c.after(nc); else tr.appendChild(nc);
      }
      return cell.nextElementSibling;
    },
    deleteRow(cell) {
      const row = cell.parentElement;
      const table = cell.closest('table');
      const next = row.nextElementSibling || row.previousElementSibling;
      row.remove();
      if (!table.rows.length) { table.remove(); return null; }
      return next && next.firstElementChild;
    },
    deleteColumn(cell) {
      const table = cell.closest('table');
      const col = columnIndex(cell);
      for (const tr of Array.from(table.rows)) {
        const c = cellAtColumn(tr, col);
        if (!c) continue;
        if (c.colSpan > 1) c.colSpan -= 1; else c.remove();
        if (!tr.cells.length) tr.remove();
      }
      if (!table.rows.length) { table.remove(); return null; }
      return table.rows[0].cells[0];
    },
  };
  return api;
})();
