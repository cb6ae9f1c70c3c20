"""How fast the drawing on the page of harnex-host --serve follows the user, in headless Chromium.

    page_drawing_bench.py HARNEX_HOST SOURCE_DIR [FLOOR.dxf] [SAMPLES]

On the example drawing and, when given, on a large floor (bench/dxf_vs_ezdxf.py make 100000
FLOOR.dxf writes the 100,000-element one), reports:
  - whole drawing: from the page's request to the frame after the whole drawing was drawn;
  - drag sample: from a mouse move over the drawing while a list table's rectangle is dragged to
    the frame after the table's outline was drawn at the new place (median and worst of SAMPLES,
    default 200);
  - pick: from a click on a route segment at the manual assignment's prompt to the frame after
    the page showed the prompt's answer (median and worst of 20).
Targets on a 2-core machine: the 100,000-element floor shown <= 3 s; a drag sample <= 16 ms
median on the example and <= 30 ms on the floor; a pick <= 50 ms on the floor.
"""
import os
import shutil
import statistics
import sys
import tempfile
import json
import time
import urllib.request

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'tests', 'web'))
import page_driver  # noqa: E402
from page_driver import By, Page  # noqa: E402

# The palette on the sample project with one row ticked, and a list table's rectangle begun at
# (0, 0): the session drags the rectangle's far corner.
DRAG = """command RQ_HARNEX
@200 click 201
@203 rows 360 0
@203 click 1
@200 choose 203 1F照明・コンセント
@200 click 238
@200 click 344
enter
point 0,0
"""

# The milliseconds from navigation to the frame after the whole drawing was drawn.
SHOWN = """
const done = arguments[arguments.length - 1];
const svg = document.querySelector('[data-role="drawing"]');
const check = () => {
  if (svg.dataset.loaded !== 'yes') return setTimeout(check, 5);
  requestAnimationFrame(() => requestAnimationFrame(() => done(Number(svg.dataset.loadedAt))));
};
check();
"""

# One mouse move at (arguments[0], arguments[1]) client pixels over the drawing, timed to the
# frame after the temporary entities changed.
SAMPLE = """
const done = arguments[arguments.length - 1];
const svg = document.querySelector('[data-role="pointer"]');
const layer = document.querySelector('[data-layer="temporary"]');
const start = performance.now();
const watch = new MutationObserver(() => {
  watch.disconnect();
  requestAnimationFrame(() => done(performance.now() - start));
});
watch.observe(layer, {childList: true, subtree: true, characterData: true});
svg.dispatchEvent(new MouseEvent('mousemove', {clientX: arguments[0], clientY: arguments[1], bubbles: true}));
"""

# One click at (arguments[0], arguments[1]), timed to the frame after the session's answer.
PICK = """
const done = arguments[arguments.length - 1];
const svg = document.querySelector('[data-role="pointer"]');
const before = document.body.dataset.version;
const start = performance.now();
const watch = new MutationObserver(() => {
  if (document.body.dataset.version === before) return;
  watch.disconnect();
  requestAnimationFrame(() => done(performance.now() - start));
});
watch.observe(document.body, {attributes: true, attributeFilter: ['data-version']});
const at = {clientX: arguments[0], clientY: arguments[1], button: 0, bubbles: true};
svg.dispatchEvent(new MouseEvent('mousedown', at));
svg.dispatchEvent(new MouseEvent('mouseup', at));
"""


def centre(driver):
    return driver.execute_script(
        "const r = document.querySelector('[data-role=\"drawing\"]').getBoundingClientRect();"
        "return [r.left + Math.floor(r.width / 2), r.top + Math.floor(r.height / 2)];")


def report(name, times):
    print('  %-34s median %7.1f ms   worst %7.1f ms   (%d)'
          % (name, statistics.median(times), max(times), len(times)))


def bench(host, source, drawing, segment, samples):
    print(os.path.basename(drawing))
    with tempfile.TemporaryDirectory(prefix='harnex-drawing-bench-') as work:
        folder = page_driver.system_folder(source, work)
        script = os.path.join(work, 'drag.hxs')
        with open(script, 'w', encoding='utf-8') as f:
            f.write(DRAG)
        copy = os.path.join(work, os.path.basename(drawing))
        shutil.copy(drawing, copy)
        served = page_driver.ServedSession(host, folder, ['--drawing', copy, script])
        # The session reads the drawing after it has printed its address: the page is asked for
        # once the session has it (reading the file is timed by the DXF benchmarks).
        drawing_url = served.url.replace('/?token=', '/drawing?token=')
        while json.loads(urllib.request.urlopen(drawing_url).read().split(b'\n', 1)[0])['bounds'] is None:
            time.sleep(0.1)
        driver = page_driver.browser()
        driver.set_script_timeout(120)
        try:
            page = Page(driver, served.url, timeout=120)
            print('  %-34s %7.0f ms' % ('whole drawing shown', driver.execute_async_script(SHOWN)))
            page.look_at(0, 0, 0.01)
            x, y = centre(driver)
            times = []
            for i in range(samples):
                # A circle of samples around the rectangle's corner, each a new place.
                dx, dy = 40 + (i * 7) % 200, 30 + (i * 13) % 150
                times.append(driver.execute_async_script(SAMPLE, x + dx, y - dy))
            report('drag sample', times)
            page.after(lambda: page.drawing_pane_key(page_driver.Keys.ESCAPE), 'Esc')
            # Picks: the manual assignment on the given segment, again and again.
            page.look_at(segment[0], segment[1], 0.05)
            x, y = centre(driver)
            times = []
            for _ in range(20):
                page.click('200', 336)
                times.append(driver.execute_async_script(PICK, x, y))
                page.until(lambda d: page.find('[data-role="drawing"]').get_attribute('data-wait')
                           == 'command', 'the pick was answered')
            report('pick at the entity prompt', times)
        finally:
            page_driver.close_browser(driver)
            served.kill()


def main():
    host, source = (os.path.abspath(a) for a in sys.argv[1:3])
    floor = sys.argv[3] if len(sys.argv) > 3 else None
    samples = int(sys.argv[4]) if len(sys.argv) > 4 else 200
    # The lighting branch of the example; a segment in the middle of the floor's first row.
    bench(host, source, os.path.join(source, 'examples', 'drawings', 'office_1f.dxf'),
          (3300, 8000), samples)
    if floor:
        bench(host, source, floor, (500500, 0), samples)


if __name__ == '__main__':
    main()
