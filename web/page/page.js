// The page of a served Harnex session: it draws what the session reports (its windows, what
// waits, the command line) and sends every input as the session action a script would write.
// It decides nothing itself: what a click does is what the session does with the action.
'use strict';

(function () {
  const token = new URLSearchParams(location.search).get('token') || '';
  // Which page this is, so that the server can tell the page that sends actions from pages
  // that only watch.
  const client = Math.random().toString(36).slice(2) + Date.now().toString(36);

  const desktop = document.getElementById('desktop');
  const transcriptEl = document.getElementById('transcript');
  const promptEl = document.getElementById('prompt');
  const commandLine = document.getElementById('command-line');
  const statusEl = document.getElementById('status');
  const closeButton = document.getElementById('close-session');

  let view = null;
  let transcript = '';
  let control = true;
  let ended = false;
  // Page-only state: the combo box whose list is dropped, the anchor row of each list view
  // (for Shift-click), the command line's history.
  let dropped = null;
  let droppedBox = null;  // [node, element] of that box, found while the windows are drawn
  const anchors = {};
  const history = [];
  let historyAt = 0;

  const kBoxLabels = { ok: 'OK', cancel: 'キャンセル', yes: 'はい(Y)', no: 'いいえ(N)' };
  const kIcons = { stop: '×', question: '?', warning: '!', information: 'i' };
  // Space above a top-level window for its title bar.
  const kTitle = 21;
  const kMargin = 8;

  function showStatus(text, info) {
    statusEl.textContent = text || '';
    statusEl.className = info ? 'info' : '';
  }

  function post(path, body) {
    if (ended) return Promise.resolve(null);
    return fetch(path, {
      method: 'POST',
      headers: {
        'Content-Type': 'application/json',
        'X-Harnex-Token': token,
        'X-Harnex-Client': client,
      },
      body: JSON.stringify(body),
    })
      .then((response) => response.json().then((answer) => {
        showStatus(answer.ok ? '' : (answer.message || ('HTTP ' + response.status)));
        return answer;
      }))
      .catch((error) => showStatus(String(error)));
  }

  function act(action) {
    return post('/action', action);
  }

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
      dropped = dropped === key ? null : key;
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
        dropped = null;
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

  function makeControl(node) {
    switch (node.kind) {
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

  // ---- Windows.
  function windowName(node, topLevel) {
    if (topLevel && node.class === 'AdUiPaletteSet') return 'palette';
    if (node.template) return String(node.template);
    return node.kind;
  }

  // A palette set sizes itself to what it hosts.
  function fitToChildren(node) {
    if (node.w > 0 && node.h > 0) return node;
    let w = 0;
    let h = 0;
    for (const child of node.children) {
      if (!child.visible) continue;
      w = Math.max(w, child.x + child.w);
      h = Math.max(h, child.y + child.h);
    }
    return Object.assign({}, node, { w: w, h: h });
  }

  function windowElement(node, topLevel) {
    node = fitToChildren(node);
    const win = document.createElement('div');
    win.classList.add('window');
    if (!topLevel) win.classList.add('child');
    win.dataset.window = windowName(node, topLevel);
    if (node.template) win.dataset.template = String(node.template);
    place(win, node);
    if (topLevel) {
      win.style.left = (node.x + kMargin) + 'px';
      win.style.top = (node.y + kMargin + kTitle) + 'px';
    }
    if (!node.visible) win.classList.add('hidden');
    if (topLevel && (node.caption || node.class === 'AdUiPaletteSet')) {
      const title = document.createElement('div');
      title.classList.add('titlebar');
      title.textContent = node.text;
      win.append(title);
    }
    const client = document.createElement('div');
    client.classList.add('client');
    win.append(client);
    for (const child of node.children) {
      if (child.kind === 'dialog' || child.kind === 'window') {
        if (child.visible) client.append(windowElement(child, false));
        continue;
      }
      const element = makeControl(child);
      if (!element) continue;
      common(element, child);
      client.append(element);
      if (child.kind === 'combo' && dropped === windowOf(win) + ':' + child.ctrl) {
        droppedBox = [child, element];
      }
    }
    return win;
  }

  function tooltip(node) {
    const tip = document.createElement('div');
    tip.classList.add('tooltip-window');
    tip.dataset.window = 'tooltip';
    tip.style.position = 'absolute';
    tip.style.left = (node.x + kMargin) + 'px';
    tip.style.top = (node.y + kMargin + kTitle) + 'px';
    tip.textContent = node.text;
    if (node.color) tip.style.color = node.color;
    if (node.background) tip.style.background = node.background;
    return tip;
  }

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

  // ---- The whole view.
  function render() {
    if (!view) return;
    // An edit the user is typing in keeps what was typed and the caret.
    const active = document.activeElement;
    let typing = null;
    if (active && active.matches && active.matches('input') && desktop.contains(active) && !active.dataset.sent) {
      const holder = active.closest('[data-ctrl]');
      if (holder) typing = { window: windowOf(holder), ctrl: holder.dataset.ctrl, value: active.value, at: active.selectionStart };
    }
    const scroll = [desktop.scrollLeft, desktop.scrollTop];
    desktop.textContent = '';
    const wait = view.wait.kind;
    const windows = view.windows.filter((w) => w.kind !== 'tooltip');
    windows.forEach((node, i) => {
      const win = windowElement(node, true);
      // While a modal dialog waits, the windows below it take nothing.
      if (wait === 'dialog' && i !== windows.length - 1) win.classList.add('inactive');
      desktop.append(win);
    });
    if (droppedBox) desktop.append(dropList(droppedBox[0], droppedBox[1]));
    droppedBox = null;
    view.windows.filter((w) => w.kind === 'tooltip').forEach((node) => desktop.append(tooltip(node)));
    if (view.box || view.colour) {
      const shade = document.createElement('div');
      shade.classList.add('modal-shade');
      shade.style.height = desktop.scrollHeight + 'px';
      desktop.append(shade);
    }
    if (view.box) messageBox(view.box);
    if (view.colour) colourDialog(view.colour);
    if (view.menu) menu(view.menu);
    desktop.scrollLeft = scroll[0];
    desktop.scrollTop = scroll[1];
    if (typing) {
      const holder = desktop.querySelector('[data-template="' + typing.window + '"] [data-ctrl="' + typing.ctrl + '"]');
      const input = holder && (holder.matches('input') ? holder : holder.querySelector('input'));
      if (input) {
        input.value = typing.value;
        input.focus();
        if (typing.at !== null) input.setSelectionRange(typing.at, typing.at);
      }
    }
    renderCommandLine();
  }

  function renderCommandLine() {
    const wait = view.wait.kind;
    // At a prompt the command line's last line is the prompt, and the answer is typed after it.
    let shown = transcript;
    let prompt = '';
    if (wait === 'command') {
      prompt = 'コマンド: ';
    } else if (wait === 'prompt') {
      const newline = transcript.lastIndexOf('\n');
      shown = transcript.slice(0, newline + 1);
      prompt = transcript.slice(newline + 1);
    } else {
      prompt = wait + '> ';
    }
    const atBottom = transcriptEl.scrollTop + transcriptEl.clientHeight >= transcriptEl.scrollHeight - 4;
    transcriptEl.textContent = shown.replace(/\n$/, '');
    if (atBottom) transcriptEl.scrollTop = transcriptEl.scrollHeight;
    promptEl.textContent = prompt;
  }

  // ---- Keys.
  commandLine.addEventListener('keydown', (event) => {
    if (event.key === 'Enter') {
      event.preventDefault();
      const line = commandLine.value;
      commandLine.value = '';
      if (line.trim() !== '' && history[history.length - 1] !== line) history.push(line);
      historyAt = history.length;
      post('/line', { line: line });
    } else if (event.key === 'Escape') {
      event.preventDefault();
      commandLine.value = '';
      act({ action: 'esc' });
    } else if (event.key === 'ArrowUp') {
      event.preventDefault();
      if (historyAt > 0) commandLine.value = history[--historyAt];
    } else if (event.key === 'ArrowDown') {
      event.preventDefault();
      if (historyAt < history.length) ++historyAt;
      commandLine.value = historyAt < history.length ? history[historyAt] : '';
    }
  });

  document.addEventListener('keydown', (event) => {
    if (event.target === commandLine || ended) return;
    if (event.key !== 'Enter' && event.key !== 'Escape') return;
    const esc = event.key === 'Escape';
    if (view && view.menu && esc) {
      event.preventDefault();
      act({ action: 'esc' });
      return;
    }
    if (dropped && esc) {
      dropped = null;
      render();
      return;
    }
    if (view && (view.box || view.colour)) return;  // their buttons take the keys
    const win = event.target.closest && event.target.closest('[data-template]');
    if (win) {
      // Enter and Esc in a window are its IDOK and IDCANCEL.
      event.preventDefault();
      act({ action: 'click', window: Number(win.dataset.template), ctrl: esc ? 2 : 1 });
    } else if (esc) {
      act({ action: 'esc' });
    }
  });

  // A click beside an open menu closes it, as in Windows; beside a dropped list, the list.
  document.addEventListener('mousedown', (event) => {
    if (view && view.menu && !event.target.closest('.menu')) act({ action: 'esc' });
    if (dropped && !event.target.closest('.drop-list') && !event.target.closest('.combo')) {
      dropped = null;
      render();
    }
  });

  closeButton.addEventListener('click', () => post('/close', {}));

  // ---- The push channel.
  function connect() {
    const events = new EventSource('/events?token=' + encodeURIComponent(token) + '&client=' + encodeURIComponent(client));
    events.addEventListener('state', (event) => {
      const message = JSON.parse(event.data);
      const part = message.transcript;
      const bytes = new TextEncoder().encode(transcript);
      if (part.from === 0) {
        transcript = part.text;
      } else if (part.from === bytes.length) {
        transcript += part.text;
      } else {
        transcript = new TextDecoder().decode(bytes.slice(0, part.from)) + part.text;
      }
      control = message.control;
      view = message.view;
      render();
      document.body.dataset.version = String(message.version);
      document.body.dataset.control = control ? 'yes' : 'no';
      if (!control) showStatus('別のページがこのセッションを操作しています（このページは表示だけです）');
      if (message.ended) {
        ended = true;
        events.close();
        document.body.dataset.ended = 'yes';
        commandLine.disabled = true;
        const note = document.createElement('div');
        note.id = 'ended';
        note.textContent = 'セッションは終了しました。';
        document.body.append(note);
      }
    });
    events.onerror = () => {
      if (!ended) showStatus('サーバーに接続できません。再接続しています…');
    };
  }

  connect();
  commandLine.focus();
})();
