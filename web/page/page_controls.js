// The controls of a window as the page draws them, each from its node of the session's view
// (web/window_view.h), and what each input on them sends: a click, the text of an edit when it is
// committed, a combo box item, list view rows and headers, a context menu.
'use strict';

window.Harnex = window.Harnex || {};

// `page`: {act(action), render(), state: {dropped, anchors}}.
Harnex.makeControls = function (page) {
  const act = page.act;
  const render = page.render;
  const state = page.state;
  const anchors = state.anchors;

  // ---- Text of controls: "読込み(&O)" shows "読込み(O)" with the O underlined.
  function setLabel(element, text) {
    element.textContent = '';
    for (let i = 0; i < text.length; ++i) {
      if (text[i] === '&' && i + 1 < text.length) {
        ++i;
        if (text[i] === '&') {
          element.append('&');
        } else {
          const u = document.createElement('u');
          u.textContent = text[i];
          element.append(u);
        }
      } else {
        element.append(text[i]);
      }
    }
  }

  // The template id that window actions name for a node's window.
  function windowOf(element) {
    const w = element.closest('[data-template]');
    return w ? Number(w.dataset.template) : 0;
  }

  function place(element, node) {
    element.style.left = node.x + 'px';
    element.style.top = node.y + 'px';
    element.style.width = node.w + 'px';
    element.style.height = node.h + 'px';
  }

  // A closed combo box shows its selection field only; the rest of its rectangle is the height
  // its list drops to.
  const kComboField = 20;

  function common(element, node) {
    element.classList.add('ctrl');
    element.dataset.ctrl = String(node.ctrl);
    if (!node.visible) element.classList.add('hidden');
    if (!node.enabled) element.classList.add('disabled');
    if (node.focus) element.classList.add('focus');
    if (node.color) element.style.color = node.color;
    if (node.background) element.style.background = node.background;
    place(element, node);
    if (node.kind === 'combo') element.style.height = Math.min(node.h, kComboField) + 'px';
  }

  // ---- Controls.
  function button(node) {
    const b = document.createElement('button');
    b.type = 'button';
    if (node.kind === 'default') b.classList.add('default');
    setLabel(b, node.text);
    b.disabled = !node.enabled;
    b.addEventListener('click', () => act({ action: 'click', window: windowOf(b), ctrl: node.ctrl }));
    return b;
  }

  function checkBox(node) {
    const label = document.createElement('label');
    const box = document.createElement('input');
    box.type = node.kind === 'radio' ? 'radio' : 'checkbox';
    box.checked = node.check === 1;
    box.indeterminate = node.check === 2;
    box.disabled = !node.enabled;
    const text = document.createElement('span');
    setLabel(text, node.text);
    label.append(box, text);
    label.addEventListener('click', (event) => {
      event.preventDefault();
      if (node.enabled) act({ action: 'click', window: windowOf(label), ctrl: node.ctrl });
    });
    return label;
  }

  function groupBox(node) {
    const group = document.createElement('fieldset');
    const legend = document.createElement('legend');
    setLabel(legend, node.text);
    if (node.text) group.append(legend);
    return group;
  }

  // An edit's text goes to the session when the user commits it: Enter, Tab or leaving it.
  function commitEdit(input, node) {
    if (input.dataset.sent || input.value === node.text) return;
    input.dataset.sent = '1';
    act({ action: 'type', window: windowOf(input), ctrl: node.ctrl, text: input.value });
  }

  function edit(node) {
    const input = document.createElement('input');
    input.type = node.password ? 'password' : 'text';
    input.value = node.text;
    input.readOnly = node.readonly;
    input.disabled = !node.enabled;
    input.style.textAlign = node.align;
    input.addEventListener('keydown', (event) => {
      if (event.key === 'Enter' || event.key === 'Tab') {
        if (input.value !== node.text) {
          event.stopPropagation();
          if (event.key === 'Enter') event.preventDefault();
          commitEdit(input, node);
        }
      }
    });
    input.addEventListener('blur', () => commitEdit(input, node));
    input.addEventListener('contextmenu', (event) => {
      event.preventDefault();
      commitEdit(input, node);
      act({ action: 'menu', window: windowOf(input), ctrl: node.ctrl });
    });
    return input;
  }

  function staticText(node) {
    const div = document.createElement('div');
    div.classList.add('static');
    if (node.frame) div.classList.add('frame');
    setLabel(div, node.text);
    div.style.textAlign = node.align;
    // Static text wraps at its control's width, as a static control wraps it.
    div.style.whiteSpace = 'pre-wrap';
    return div;
  }

  function combo(node) {
    const box = document.createElement('div');
    box.classList.add('combo');
    if (node.list) box.classList.add('list-only');
    const text = node.list ? document.createElement('div') : document.createElement('input');
    text.classList.add('combo-text');
    const shown = node.list ? (node.sel >= 0 ? node.items[node.sel] : '') : node.text;
    if (node.list) {
      text.textContent = shown;
    } else {
      text.value = shown;
      text.disabled = !node.enabled;
      text.addEventListener('keydown', (event) => {
        if ((event.key === 'Enter' || event.key === 'Tab') && text.value !== node.text) {
          event.stopPropagation();
          if (event.key === 'Enter') event.preventDefault();
          commitEdit(text, node);
        }
      });
      text.addEventListener('blur', () => commitEdit(text, node));
    }
    const arrow = document.createElement('div');
    arrow.classList.add('combo-arrow');
    arrow.textContent = '▼';
    box.append(text, arrow);
    const toggle = (event) => {
      event.stopPropagation();
      if (!node.enabled) return;
      const key = windowOf(box) + ':' + node.ctrl;
      state.dropped = state.dropped === key ? null : key;
      render();
    };
    arrow.addEventListener('mousedown', toggle);
    if (node.list) text.addEventListener('mousedown', toggle);
    return box;
  }

  // The dropped list is a popup over every window, under its box.
  function dropList(node, box) {
    const list = document.createElement('div');
    list.classList.add('drop-list');
    list.dataset.dropList = String(node.ctrl);
    list.dataset.window = box.closest('[data-window]').dataset.window;
    list.dataset.template = String(windowOf(box));
    const desktop = page.desktop;
    const at = box.getBoundingClientRect();
    const origin = desktop.getBoundingClientRect();
    list.style.left = (at.left - origin.left + desktop.scrollLeft) + 'px';
    list.style.top = (at.bottom - origin.top + desktop.scrollTop) + 'px';
    list.style.minWidth = at.width + 'px';
    node.items.forEach((item, i) => {
      const row = document.createElement('div');
      row.textContent = item;
      row.dataset.item = String(i);
      if (i === node.sel) row.classList.add('sel');
      row.addEventListener('mousedown', (event) => {
        event.stopPropagation();
        state.dropped = null;
        act({ action: 'choose', window: Number(list.dataset.template), ctrl: node.ctrl, text: item });
      });
      list.append(row);
    });
    return list;
  }

  function listBox(node) {
    const list = document.createElement('div');
    list.classList.add('list-box');
    node.items.forEach((item, i) => {
      const row = document.createElement('div');
      row.textContent = item;
      row.dataset.row = String(i);
      if (i === node.sel) row.classList.add('sel');
      row.addEventListener('click', () => act({ action: 'choose', window: windowOf(list), ctrl: node.ctrl, text: item }));
      list.append(row);
    });
    return list;
  }

  // A list view's rows: a click selects one row, Ctrl-click adds or removes one, Shift-click
  // selects the rows from the last clicked one.
  function listView(node) {
    const box = document.createElement('div');
    box.classList.add('listview');
    const table = document.createElement('table');
    const head = document.createElement('tr');
    let width = 0;
    node.columns.forEach((column, c) => {
      const th = document.createElement('th');
      th.textContent = column.text;
      th.style.width = column.width + 'px';
      th.style.maxWidth = column.width + 'px';
      th.dataset.column = String(c);
      width += column.width;
      th.addEventListener('click', () => act({ action: 'header', window: windowOf(box), ctrl: node.ctrl, column: c }));
      head.append(th);
    });
    table.style.width = width + 'px';
    const thead = document.createElement('thead');
    thead.append(head);
    const body = document.createElement('tbody');
    const key = () => windowOf(box) + ':' + node.ctrl;
    node.rows.forEach((row, i) => {
      const tr = document.createElement('tr');
      tr.dataset.row = String(i);
      if (row.selected) tr.classList.add('sel');
      row.cells.forEach((cell, c) => {
        const td = document.createElement('td');
        td.textContent = cell;
        if (node.columns[c]) td.style.maxWidth = node.columns[c].width + 'px';
        tr.append(td);
      });
      tr.addEventListener('click', (event) => {
        if (!node.enabled) return;
        const selected = node.rows.map((r, j) => (r.selected ? j : -1)).filter((j) => j >= 0);
        let rows;
        if (event.shiftKey && anchors[key()] !== undefined) {
          const from = Math.min(anchors[key()], i);
          const to = Math.max(anchors[key()], i);
          rows = [];
          for (let j = from; j <= to; ++j) rows.push(j);
        } else if (event.ctrlKey || event.metaKey) {
          rows = selected.includes(i) ? selected.filter((j) => j !== i) : selected.concat([i]).sort((a, b) => a - b);
          anchors[key()] = i;
        } else {
          rows = [i];
          anchors[key()] = i;
        }
        act({ action: 'rows', window: windowOf(box), ctrl: node.ctrl, rows: rows });
      });
      body.append(tr);
    });
    table.append(thead, body);
    box.append(table);
    return box;
  }

  function cssColour(colourRef) {
    const c = Number(colourRef);
    return 'rgb(' + (c & 255) + ',' + ((c >> 8) & 255) + ',' + ((c >> 16) & 255) + ')';
  }

  // An owner-drawn button: what its owner drew, on a canvas; a click is the button's click.
  function ownerDrawn(node) {
    const canvas = document.createElement('canvas');
    canvas.width = node.w;
    canvas.height = node.h;
    const g = canvas.getContext('2d');
    g.lineWidth = 1;
    let at = [0, 0];
    for (const d of node.draw) {
      const a = d.args;
      if (d.op === 'Rectangle') {
        g.fillStyle = cssColour(a[5]);
        g.fillRect(a[0], a[1], a[2] - a[0], a[3] - a[1]);
        g.strokeStyle = cssColour(a[4]);
        g.strokeRect(a[0] + 0.5, a[1] + 0.5, a[2] - a[0] - 1, a[3] - a[1] - 1);
      } else if (d.op === 'FillSolidRect' || d.op === 'FillRect') {
        g.fillStyle = cssColour(a[4]);
        g.fillRect(a[0], a[1], a[2] - a[0], a[3] - a[1]);
      } else if (d.op === 'MoveTo') {
        at = [a[0], a[1]];
      } else if (d.op === 'LineTo') {
        g.strokeStyle = cssColour(a[2]);
        g.setLineDash(a[3] === 2 ? [1, 1] : []);  // PS_DOT
        g.beginPath();
        g.moveTo(at[0] + 0.5, at[1] + 0.5);
        g.lineTo(a[0] + 0.5, a[1] + 0.5);
        g.stroke();
        at = [a[0], a[1]];
      } else if (d.op === 'TextOut' || d.op === 'DrawText') {
        g.fillStyle = d.op === 'TextOut' ? cssColour(a[2]) : '#000';
        g.font = '12px IPAGothic';
        g.textBaseline = 'top';
        g.fillText(d.text, a[0], a[1]);
      }
    }
    canvas.addEventListener('click', () => {
      if (node.enabled) act({ action: 'click', window: windowOf(canvas), ctrl: node.ctrl });
    });
    return canvas;
  }

  function makeControl(node) {
    switch (node.kind) {
      case 'owner':
        return ownerDrawn(node);
      case 'push':
      case 'default':
        return button(node);
      case 'check':
      case 'radio':
        return checkBox(node);
      case 'group':
        return groupBox(node);
      case 'edit':
        return edit(node);
      case 'static':
        return staticText(node);
      case 'combo':
        return combo(node);
      case 'list':
        return listBox(node);
      case 'listview':
        return listView(node);
      default:
        return null;
    }
  }

  return { makeControl, dropList, windowOf, setLabel, place, common };
};
