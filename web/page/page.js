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
  let lastView = '';
  let transcript = '';
  let control = true;
  let ended = false;
  // Page-only state: the combo box whose list is dropped, the anchor row of each list view
  // (for Shift-click), the command line's history.
  const state = { dropped: null, anchors: {} };
  let droppedBox = null;  // [node, element] of that box, found while the windows are drawn
  const history = [];
  let historyAt = 0;

  // Space above a top-level window for its title bar.
  const kTitle = 21;
  const kMargin = 8;

  function showStatus(text, info) {
    statusEl.textContent = text || '';
    statusEl.className = info ? 'info' : '';
  }

  // `quiet`: a refusal is not shown (a cursor sample that came too late says nothing).
  function post(path, body, quiet) {
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
        if (!quiet || answer.ok) showStatus(answer.ok ? '' : (answer.message || ('HTTP ' + response.status)));
        return answer;
      }))
      .catch((error) => showStatus(String(error)));
  }

  function act(action) {
    return post('/action', action);
  }

  const controls = Harnex.makeControls({ act: act, render: () => render(), state: state, desktop: desktop });
  const { makeControl, dropList, windowOf, place, common } = controls;
  const system = Harnex.makeSystemWindows(
    { act: act, desktop: desktop, kMargin: kMargin, kTitle: kTitle }, controls);
  const { messageBox, colourDialog, menu } = system;
  const drawing = Harnex.makeDrawing({ act: act, post: post, token: token });
  Harnex.drawing = drawing;
  const drawingPane = document.getElementById('drawing-pane');

  // The drawing starts beside the palette when it is shown.
  function placeDrawing() {
    const palette = desktop.querySelector('[data-window="palette"]:not(.hidden)');
    const left = palette ? palette.offsetLeft + palette.offsetWidth + kMargin : 0;
    if (drawingPane.style.left !== left + 'px') drawingPane.style.left = left + 'px';
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
      if (child.kind === 'combo' && state.dropped === windowOf(win) + ':' + child.ctrl) {
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
    placeDrawing();
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

  // Ctrl+Z and Ctrl+Y at the command prompt are the host's U and REDO, as in the CAD host; in a
  // text field (the command line with text in it, the palette's edits) they stay the field's.
  document.addEventListener('keydown', (event) => {
    if (ended || !(event.ctrlKey || event.metaKey) || event.altKey) return;
    const key = event.key.toLowerCase();
    if (key !== 'z' && key !== 'y') return;
    const field = event.target.closest && event.target.closest('input, textarea, select');
    if (field && !(field === commandLine && commandLine.value === '')) return;
    if (!view || view.wait.kind !== 'command') return;
    event.preventDefault();
    post('/line', { line: key === 'z' ? 'U' : 'REDO' });
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
    if (state.dropped && esc) {
      state.dropped = null;
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
    } else if (event.target.closest && event.target.closest('#drawing-pane') && view && view.wait.kind === 'prompt') {
      // Enter on the drawing ends what the prompt waits for, as at the command line.
      event.preventDefault();
      act({ action: 'enter' });
    }
  });

  // A click beside an open menu closes it, as in Windows; beside a dropped list, the list.
  document.addEventListener('mousedown', (event) => {
    if (view && view.menu && !event.target.closest('.menu')) act({ action: 'esc' });
    if (state.dropped && !event.target.closest('.drop-list') && !event.target.closest('.combo')) {
      state.dropped = null;
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
      // A state that shows the same windows and prompt (a drag's cursor sample) leaves the
      // windows as they are: only the drawing changes.
      const seen = JSON.stringify(message.view);
      view = message.view;
      if (seen !== lastView || part.text !== '') render();
      lastView = seen;
      drawing.onState(message);
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
