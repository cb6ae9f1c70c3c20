// The system's own windows on the page: message boxes with their icon and buttons, the colour
// dialog and popup menus, each sending the answer the session waits for.
'use strict';

window.Harnex = window.Harnex || {};

// `page`: {act(action), desktop, kMargin, kTitle}; `controls`: Harnex.makeControls(...).
Harnex.makeSystemWindows = function (page, controls) {
  const act = page.act;
  const desktop = page.desktop;
  const setLabel = controls.setLabel;
  const kMargin = page.kMargin;
  const kTitle = page.kTitle;
  const kBoxLabels = { ok: 'OK', cancel: 'キャンセル', yes: 'はい(Y)', no: 'いいえ(N)' };
  const kIcons = { stop: '×', question: '?', warning: '!', information: 'i' };

  // ---- The system's own windows.
  function systemWindow(name, title) {
    const win = document.createElement('div');
    win.classList.add('system-window');
    win.dataset.window = name;
    const bar = document.createElement('div');
    bar.classList.add('titlebar');
    bar.textContent = title;
    win.append(bar);
    return win;
  }

  function centre(win) {
    desktop.append(win);
    const left = Math.max(kMargin, (desktop.clientWidth - win.offsetWidth) / 2 + desktop.scrollLeft);
    const top = Math.max(kMargin, (desktop.clientHeight - win.offsetHeight) / 3 + desktop.scrollTop);
    win.style.left = left + 'px';
    win.style.top = top + 'px';
  }

  function messageBox(box) {
    const win = systemWindow('box', 'AutoCAD');
    const body = document.createElement('div');
    body.classList.add('box-body');
    if (kIcons[box.icon]) {
      const icon = document.createElement('div');
      icon.classList.add('box-icon', box.icon);
      icon.textContent = kIcons[box.icon];
      body.append(icon);
    }
    const text = document.createElement('div');
    text.classList.add('box-text');
    text.textContent = box.text;
    body.append(text);
    const buttons = document.createElement('div');
    buttons.classList.add('box-buttons');
    box.answers.forEach((answer) => {
      const b = document.createElement('button');
      b.type = 'button';
      b.dataset.answer = answer;
      b.textContent = kBoxLabels[answer] || answer;
      b.addEventListener('click', () => act({ action: 'answer', answer: answer }));
      buttons.append(b);
    });
    win.append(body, buttons);
    centre(win);
    const first = buttons.querySelector('button');
    if (first) first.focus();
  }

  function colourDialog(colour) {
    const win = systemWindow('colour', '色選択');
    let chosen = colour.colour;
    const cell = (index) => {
      const div = document.createElement('div');
      div.style.background = colour.table[index];
      div.dataset.colour = String(index);
      div.title = String(index);
      if (index === chosen) div.classList.add('sel');
      div.addEventListener('click', () => {
        chosen = index;
        win.querySelectorAll('[data-colour]').forEach((d) => d.classList.toggle('sel', Number(d.dataset.colour) === index));
      });
      div.addEventListener('dblclick', () => act({ action: 'colour', colour: index }));
      return div;
    };
    const grid = document.createElement('div');
    grid.classList.add('colour-grid');
    // The full palette as the dialog lays it out: ten rows of hues, columns of 10..249.
    for (let row = 0; row < 10; ++row) {
      for (let column = 0; column < 24; ++column) grid.append(cell(10 + column * 10 + row));
    }
    const standard = document.createElement('div');
    standard.classList.add('colour-row');
    for (let i = 1; i <= 9; ++i) standard.append(cell(i));
    const greys = document.createElement('div');
    greys.classList.add('colour-row');
    for (let i = 250; i <= 255; ++i) greys.append(cell(i));
    const buttons = document.createElement('div');
    buttons.classList.add('box-buttons');
    const ok = document.createElement('button');
    ok.type = 'button';
    ok.dataset.answer = 'ok';
    ok.textContent = 'OK';
    ok.addEventListener('click', () => act({ action: 'colour', colour: chosen }));
    const cancel = document.createElement('button');
    cancel.type = 'button';
    cancel.dataset.answer = 'cancel';
    cancel.textContent = 'キャンセル';
    cancel.addEventListener('click', () => act({ action: 'colour' }));
    buttons.append(ok, cancel);
    win.append(grid, standard, greys, buttons);
    centre(win);
  }

  function menu(m) {
    const div = document.createElement('div');
    div.classList.add('menu');
    div.dataset.window = 'menu';
    div.dataset.ctrl = String(m.ctrl);
    div.style.left = (m.x + kMargin) + 'px';
    div.style.top = (m.y + kMargin + kTitle) + 'px';
    m.items.forEach((item) => {
      const row = document.createElement('div');
      if (item.separator) {
        row.classList.add('separator');
      } else {
        row.classList.add('item');
        row.dataset.item = item.label;
        setLabel(row, item.text);
        if (item.greyed) row.classList.add('greyed');
        row.addEventListener('mousedown', (event) => {
          event.stopPropagation();
          if (!item.greyed) act({ action: 'menu', window: m.window, ctrl: m.ctrl, item: item.label });
        });
      }
      div.append(row);
    });
    desktop.append(div);
  }

  return { messageBox, colourDialog, menu };
};
