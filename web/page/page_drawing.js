// The drawing on the page: the session's entities (one SVG group per handle, as the server draws
// them), kept up to date from the pushes' deltas; zoom and pan on the page alone; and the mouse
// turned into the session's actions: a click at an entity prompt is "pickat", at a point prompt
// or in a drag "point", the cursor in a drag "move" (only the newest sample is sent while one is
// on its way), a right click "enter", and a rectangle dragged at the command prompt "preselect
// window" (left to right) or "preselect crossing" (right to left). What a click picks is the
// session's decision, not the page's.
'use strict';

window.Harnex = window.Harnex || {};

Harnex.makeDrawing = function (env) {
  const { act, post, token } = env;
  const svgNs = 'http://www.w3.org/2000/svg';
  const pane = document.getElementById('drawing-pane');
  const svg = document.getElementById('drawing');
  const overlay = document.getElementById('overlay');
  const pointer = document.getElementById('pointer');
  const entities = svg.querySelector('[data-layer="entities"]');
  const points = svg.querySelector('[data-layer="points"]');
  const band = overlay.querySelector('[data-layer="band"]');
  const hoverLayer = overlay.querySelector('[data-layer="hover"]');
  const temporary = overlay.querySelector('[data-layer="temporary"]');
  const rubber = overlay.querySelector('[data-layer="rubber"]');
  const coords = document.getElementById('coords');
  const highlightInput = document.getElementById('highlight');
  const systemsList = document.getElementById('systems');
  const scratch = document.createElementNS(svgNs, 'g');

  const byHandle = new Map();      // handle → the entity's element
  const dotsByHandle = new Map();  // handle → its points' paths
  let revision = -1;      // the revision shown; -1: none yet
  let loading = false;
  let buffered = [];      // deltas that came while the whole drawing was on its way
  let bounds = null;      // the drawing's extent in picture coordinates, as the session says
  let wait = { kind: 'command' };
  let fitted = false;
  let moved = false;  // the user zoomed or panned: the view stays where the user put it
  // Below this many pixels a drawing unit, points are not drawn.
  const kFar = 0.002;
  // The view: the picture point at the pane's centre and pixels per drawing unit.
  const view = { cx: 0, cy: 0, scale: 1 };

  // ---- The view.
  function size() {
    const rect = pointer.getBoundingClientRect();
    return [Math.max(1, rect.width), Math.max(1, rect.height)];
  }
  // The view's centre is a whole pixel (the left or upper one of the middle two), so that a point
  // shown at the centre is under a pointer put at the element's centre.
  function origin() {
    const [w, h] = size();
    return [Math.floor(w / 2), Math.floor(h / 2)];
  }
  function applyView() {
    const [w, h] = size();
    const [ox, oy] = origin();
    const box = [view.cx - ox / view.scale, view.cy - oy / view.scale,
      w / view.scale, h / view.scale].join(' ');
    svg.setAttribute('viewBox', box);
    overlay.setAttribute('viewBox', box);
    // Seen from far (a whole floor), connection points would be a carpet of dots: they are
    // left out until the drawing is near enough for them to mean something.
    const far = view.scale < kFar;
    if (far !== svg.classList.contains('far')) svg.classList.toggle('far', far);
  }

  function fit() {
    const box = bounds && { x: bounds[0], y: bounds[1], width: bounds[2] - bounds[0], height: bounds[3] - bounds[1] };
    if (!box || (box.width === 0 && box.height === 0)) {
      view.cx = 0;
      view.cy = 0;
      view.scale = 1;
    } else {
      const [w, h] = size();
      view.cx = box.x + box.width / 2;
      view.cy = box.y + box.height / 2;
      view.scale = 0.95 * Math.min(w / Math.max(box.width, 1e-9), h / Math.max(box.height, 1e-9));
    }
    applyView();
  }

  // The picture point under a mouse event, and the drawing point (Y up) it stands for.
  function pictureAt(event) {
    const rect = pointer.getBoundingClientRect();
    const [ox, oy] = origin();
    return {
      x: view.cx + (event.clientX - rect.left - ox) / view.scale,
      y: view.cy + (event.clientY - rect.top - oy) / view.scale,
    };
  }
  function drawingAt(event) {
    const p = pictureAt(event);
    return { x: round(p.x), y: round(-p.y) };
  }
  // Drawing coordinates as a script writes them: no more digits than the screen resolves.
  function round(v) {
    const digits = Math.max(0, Math.min(6, Math.ceil(Math.log10(Math.max(view.scale, 1e-9))) + 1));
    const f = Math.pow(10, digits);
    const r = Math.round(v * f) / f;
    return Object.is(r, -0) ? 0 : r;
  }

  // ---- The session's drawing. Every element of an entity carries its handle: the entity's
  // element (or group) in the entities' layer, its points' paths in the points' layer.
  function indexMains(from) {
    for (let el = from; el; el = el.nextElementSibling) byHandle.set(el.getAttribute('data-handle'), el);
  }
  function indexDots(from) {
    for (let el = from; el; el = el.nextElementSibling) {
      const handle = el.getAttribute('data-handle');
      const list = dotsByHandle.get(handle);
      if (list) list.push(el); else dotsByHandle.set(handle, [el]);
    }
  }
  // Appends markup to a layer and indexes what it added.
  function append(layer, markup, index) {
    if (!markup) return;
    const last = layer.lastElementChild;
    layer.insertAdjacentHTML('beforeend', markup);
    index(last ? last.nextElementSibling : layer.firstElementChild);
  }
  function removeDots(handle) {
    for (const el of dotsByHandle.get(handle) || []) el.remove();
    dotsByHandle.delete(handle);
  }

  function load() {
    if (loading) return;
    loading = true;
    fetch('/drawing?token=' + encodeURIComponent(token))
      .then((response) => response.text())
      .then((text) => {
        loading = false;
        const headEnd = text.indexOf('\n');
        const pointsAt = text.indexOf('\0', headEnd);
        const whole = JSON.parse(text.slice(0, headEnd));
        byHandle.clear();
        dotsByHandle.clear();
        revision = whole.revision;
        bounds = whole.bounds;
        // The view first, so that the entities are styled and drawn once, at their place.
        if (!fitted) {
          fitted = true;
          fit();
        }
        entities.innerHTML = text.slice(headEnd + 1, pointsAt);
        points.innerHTML = text.slice(pointsAt + 1);
        indexMains(entities.firstElementChild);
        indexDots(points.firstElementChild);
        temporary.innerHTML = whole.temporary;
        band.innerHTML = whole.band;
        const later = buffered;
        buffered = [];
        later.forEach(applyDelta);
        svg.dataset.revision = String(revision);
        // Shown once the frame after it was drawn has begun.
        requestAnimationFrame(() => requestAnimationFrame(() => {
          svg.dataset.loadedAt = String(Math.round(performance.now()));
          svg.dataset.loaded = 'yes';
        }));
      })
      .catch(() => {
        loading = false;
      });
  }

  function piece(markup) {
    scratch.innerHTML = markup;
    return scratch.firstElementChild;
  }

  function applyDelta(delta) {
    if (delta.revision <= revision) return;
    if (delta.base !== revision) {
      load();
      return;
    }
    append(entities, delta.added.map((a) => a[1]).join(''), indexMains);
    append(points, delta.added.map((a) => a[2]).join(''), indexDots);
    for (const [handle, markup, dots] of delta.changed) {
      const old = byHandle.get(handle);
      const el = markup ? piece(markup) : null;
      if (old && el) {
        old.replaceWith(el);
      } else if (old) {
        old.remove();
      } else if (el) {
        entities.append(el);
      }
      if (el) byHandle.set(handle, el); else byHandle.delete(handle);
      removeDots(handle);
      append(points, dots, indexDots);
    }
    for (const handle of delta.erased) {
      const old = byHandle.get(handle);
      if (old) old.remove();
      byHandle.delete(handle);
      removeDots(handle);
    }
    if (delta.temporary !== undefined) temporary.innerHTML = delta.temporary;
    if (delta.band !== undefined) band.innerHTML = delta.band;
    if (delta.bounds !== undefined) bounds = delta.bounds;
    revision = delta.revision;
    svg.dataset.revision = String(revision);
    if (hovered && !hovered.isConnected) hover(null);
  }

  // A push: the deltas since the last one (or the word to load it all again).
  function onState(message) {
    const deltas = message.drawing;
    if (revision < 0 || loading) {
      if (Array.isArray(deltas)) buffered.push(...deltas);
      load();
    } else if (!Array.isArray(deltas)) {
      load();
    } else {
      deltas.forEach(applyDelta);
      if (message.drawing_revision > revision) load();
    }
    wait = message.view.wait;
    svg.dataset.wait = wait.kind === 'prompt' ? (wait.input || 'value') : wait.kind;
    pointer.dataset.wait = svg.dataset.wait;
    if (svg.dataset.wait !== 'entity' && svg.dataset.wait !== 'select') hover(null);
    if (wait.kind !== 'prompt') {
      pendingMove = null;
    }
  }

  // ---- What the mouse sends.
  let moveOut = false;     // a move is on its way
  let pendingMove = null;  // the newest sample not sent yet
  function sendMove(p) {
    if (moveOut) {
      pendingMove = p;
      return;
    }
    moveOut = true;
    post('/action', { action: 'move', x: p.x, y: p.y }, true).then(() => {
      moveOut = false;
      if (pendingMove) {
        const next = pendingMove;
        pendingMove = null;
        sendMove(next);
      }
    });
  }

  const pointed = () => wait.kind === 'prompt' &&
    ['entity', 'select', 'point', 'corner', 'drag'].includes(wait.input);

  // The entity under the cursor is drawn again over the drawing, highlighted.
  let hovered = null;
  function hover(el) {
    if (hovered === el) return;
    hovered = el;
    hoverLayer.innerHTML = el ? el.outerHTML : '';
    const copy = hoverLayer.firstElementChild;
    if (copy) {
      copy.dataset.hover = copy.dataset.handle;
      copy.removeAttribute('data-handle');
    }
  }
  // The entity under the cursor, within a few pixels of it.
  function entityNear(event) {
    pointer.classList.add('through');
    let found = null;
    for (const [dx, dy] of [[0, 0], [3, 0], [-3, 0], [0, 3], [0, -3], [5, 5], [-5, -5], [5, -5], [-5, 5]]) {
      const el = document.elementFromPoint(event.clientX + dx, event.clientY + dy);
      const hit = el && el.closest &&
        el.closest('[data-layer="entities"] > [data-handle], [data-layer="points"] > [data-handle]');
      found = hit && (byHandle.get(hit.getAttribute('data-handle')) || hit);
      if (found) break;
    }
    pointer.classList.remove('through');
    return found;
  }

  let pan = null;       // {x, y, cx, cy} while panning
  let box = null;       // {from: picture point, start: drawing point} while a rectangle is dragged
  let spaceDown = false;

  function showRubber(from, to) {
    const x = Math.min(from.x, to.x);
    const y = Math.min(from.y, to.y);
    rubber.innerHTML = '';
    const rect = document.createElementNS(svgNs, 'rect');
    rect.setAttribute('x', x);
    rect.setAttribute('y', y);
    rect.setAttribute('width', Math.abs(to.x - from.x));
    rect.setAttribute('height', Math.abs(to.y - from.y));
    rect.setAttribute('class', to.x >= from.x ? 'window-box' : 'crossing-box');
    rubber.append(rect);
  }

  pointer.addEventListener('mousedown', (event) => {
    event.preventDefault();
    pane.focus();
    if (event.button === 1 || (event.button === 0 && spaceDown)) {
      pan = { x: event.clientX, y: event.clientY, cx: view.cx, cy: view.cy };
      return;
    }
    if (event.button !== 0) return;
    if (pointed()) {
      pendingMove = null;
      const p = drawingAt(event);
      const kind = wait.input === 'entity' || wait.input === 'select' ? 'pickat' : 'point';
      act({ action: kind, x: p.x, y: p.y });
    } else if (wait.kind === 'command') {
      box = { from: pictureAt(event), start: drawingAt(event) };
    }
  });

  pointer.addEventListener('mousemove', (event) => {
    const p = drawingAt(event);
    coords.textContent = p.x + ', ' + p.y;
    if (pan) {
      moved = true;
      view.cx = pan.cx - (event.clientX - pan.x) / view.scale;
      view.cy = pan.cy - (event.clientY - pan.y) / view.scale;
      applyView();
      return;
    }
    if (box) {
      showRubber(box.from, pictureAt(event));
      return;
    }
    if (wait.kind === 'prompt' && wait.input === 'drag') sendMove(p);
    if (svg.dataset.wait === 'entity' || svg.dataset.wait === 'select') hover(entityNear(event));
  });

  window.addEventListener('mouseup', (event) => {
    if (pan) {
      pan = null;
      return;
    }
    if (!box) return;
    const end = drawingAt(event);
    const from = box.start;
    const moved = Math.abs(pictureAt(event).x - box.from.x) * view.scale > 3 ||
      Math.abs(pictureAt(event).y - box.from.y) * view.scale > 3;
    box = null;
    rubber.innerHTML = '';
    if (!moved || wait.kind !== 'command') return;
    act({ action: 'preselect', mode: end.x >= from.x ? 'window' : 'crossing',
      from: [from.x, from.y], to: [end.x, end.y] });
  });

  pointer.addEventListener('contextmenu', (event) => {
    event.preventDefault();
    // A right click is Enter, as in the CAD host.
    if (wait.kind === 'prompt') act({ action: 'enter' });
  });

  pointer.addEventListener('wheel', (event) => {
    event.preventDefault();
    const before = pictureAt(event);
    moved = true;
    view.scale *= Math.pow(1.0015, -event.deltaY);
    const after = pictureAt(event);
    view.cx += before.x - after.x;
    view.cy += before.y - after.y;
    applyView();
  }, { passive: false });

  document.addEventListener('keydown', (event) => {
    if (event.key === ' ' && !event.target.closest('input, textarea, button')) {
      spaceDown = true;
      event.preventDefault();
    }
  });
  document.addEventListener('keyup', (event) => {
    if (event.key === ' ') spaceDown = false;
  });
  pane.addEventListener('keydown', (event) => {
    if (event.key === 'f' || event.key === 'F' || event.key === 'Home') {
      moved = false;
      fit();
    }
  });
  document.getElementById('fit').addEventListener('click', () => {
    moved = false;
    fit();
  });

  // ---- One circuit's band.
  function highlight(system) {
    post('/highlight', { system: system }).then((answer) => {
      if (!answer || !answer.systems) return;
      systemsList.textContent = '';
      for (const s of answer.systems) {
        const option = document.createElement('option');
        option.value = s;
        systemsList.append(option);
      }
    });
  }
  highlightInput.addEventListener('change', () => highlight(highlightInput.value.trim()));
  // Enter commits the field (as "change"); it is no Enter of the session.
  highlightInput.addEventListener('keydown', (event) => {
    if (event.key === 'Enter' || event.key === 'Escape') event.stopPropagation();
  });
  document.getElementById('highlight-clear').addEventListener('click', () => {
    highlightInput.value = '';
    highlight('');
  });

  // Until the user moves the view, the drawing stays fitted to the pane (which narrows when the
  // palette opens beside it).
  new ResizeObserver(() => (fitted && !moved ? fit() : applyView())).observe(pane);
  applyView();

  // Shows the drawing point (x, y) at the centre at `scale` pixels per unit (tests and benchmarks
  // point at known places with it).
  function lookAt(x, y, scale) {
    moved = true;
    view.cx = x;
    view.cy = -y;
    view.scale = scale;
    applyView();
  }

  return { onState: onState, fit: fit, lookAt: lookAt, view: view };
};
