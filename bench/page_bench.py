"""How fast the page of harnex-host --serve answers, in headless Chromium.

    page_bench.py HARNEX_HOST SOURCE_DIR [CLICKS]

Reports the time from a click in the page to the page showing the session's answer (the click
is made in the page and timed there, up to the frame after the page drew the new state), as the
median and the worst of CLICKS clicks (default 100) on the palette's check boxes and page
buttons, and the time to open the palette with the sample project (the command typed at the
page's command line, until the palette shows the project). Targets on a 2-core machine: median
<= 50 ms, worst <= 200 ms, palette open <= 300 ms.
"""
import os
import statistics
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'tests', 'web'))
import page_driver  # noqa: E402
from page_driver import Page  # noqa: E402

# Does one input in the page (a click on the element arguments[1] names, or the line arguments[1]
# typed at the command line, as arguments[0] says) and answers with the milliseconds until the
# page showed the session's next state (the next animation frame after it was drawn).
TIMED_INPUT = """
const done = arguments[arguments.length - 1];
const before = document.body.dataset.version;
const start = performance.now();
const watch = new MutationObserver(() => {
  if (document.body.dataset.version === before) return;
  watch.disconnect();
  requestAnimationFrame(() => done(performance.now() - start));
});
watch.observe(document.body, {attributes: true, attributeFilter: ['data-version']});
if (arguments[0] === 'click') {
  document.querySelector(arguments[1]).click();
} else {
  const line = document.querySelector('[data-role="command-line"]');
  line.value = arguments[1];
  line.dispatchEvent(new KeyboardEvent('keydown', {key: 'Enter', bubbles: true}));
}
"""

def main():
    host, source = (os.path.abspath(a) for a in sys.argv[1:3])
    clicks = int(sys.argv[3]) if len(sys.argv) > 3 else 100
    with tempfile.TemporaryDirectory(prefix='harnex-page-bench-') as work:
        folder = page_driver.system_folder(source, work)
        served = page_driver.ServedSession(host, folder)
        driver = page_driver.browser()
        driver.set_script_timeout(30)
        try:
            page = Page(driver, served.url)
            # The sample project once, so that the palette opens with it from now on.
            page.command('RQ_HARNEX')
            page.click('200', 201)
            page.row('203', 360, 0)
            page.click('203', 1)
            page.key('200', 345, page_driver.Keys.ESCAPE)
            opens = []
            for _ in range(10):
                opens.append(driver.execute_async_script(TIMED_INPUT, 'line', 'RQ_HARNEX'))
                if page.control('200', 345).get_attribute('value') != 'サンプルビル':
                    raise RuntimeError('the palette opened without the sample project')
                page.key('200', 345, page_driver.Keys.ESCAPE)
            page.command('RQ_HARNEX')
            # Check boxes of the rows, then the page buttons, in turn.
            targets = ['[data-window="200"] [data-ctrl="%d"]' % (238 + i) for i in range(10)]
            targets += ['[data-window="200"] [data-ctrl="209"]', '[data-window="200"] [data-ctrl="208"]']
            times = [driver.execute_async_script(TIMED_INPUT, 'click', targets[i % len(targets)])
                     for i in range(clicks)]
            page.key('200', 345, page_driver.Keys.ESCAPE)
            page.after(lambda: page.find('[data-role="close"]').click(), 'the close')
            served.wait()
        finally:
            page_driver.close_browser(driver)
            served.kill()
    print('click to page: median %.1f ms, worst %.1f ms over %d clicks (targets 50 ms, 200 ms)'
          % (statistics.median(times), max(times), len(times)))
    print('palette open with the sample project: median %.1f ms, worst %.1f ms over %d opens '
          '(target 300 ms)' % (statistics.median(opens), max(opens), len(opens)))


if __name__ == '__main__':
    main()
