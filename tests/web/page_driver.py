"""Drives a served harnex-host session through its page in headless Chromium (Selenium).

The browser tests and the page benchmark share it: a session on a fresh copy of the bundled
system folder, a browser on its page, and the page's actions done as a user does them (clicks,
keys), each waited for until the page shows the session's answer.
"""
import os
import shutil
import subprocess
import tempfile
import time

from selenium import webdriver
from selenium.webdriver.chrome.options import Options
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys
from selenium.webdriver.support.ui import WebDriverWait

CHROMIUM = '/usr/bin/chromium'
CHROMEDRIVER = '/usr/bin/chromedriver'
# A fixed clock, so that a replay writes the same project files.
CLOCK = '2026-12-07 10:00:00'


def system_folder(source_dir, where):
    """A copy of the bundled system folder in `where`; its harnex.ini names the folder itself."""
    folder = os.path.join(where, 'system')
    shutil.copytree(os.path.join(source_dir, 'examples', 'system'), folder)
    return folder


def host_env():
    env = dict(os.environ)
    env['HARNEX_CLOCK'] = CLOCK
    return env


class ServedSession:
    """harnex-host --serve on a system folder; the URL is read from its standard error."""

    def __init__(self, host, folder, extra_args=()):
        self.folder = folder
        self.process = subprocess.Popen(
            [host, '--serve', '--config', 'harnex.ini'] + list(extra_args),
            cwd=folder, env=host_env(), stdout=subprocess.PIPE, stderr=subprocess.PIPE,
            text=True, encoding='utf-8')
        self.url = self.process.stderr.readline().strip()
        if not self.url.startswith('http://127.0.0.1:'):
            self.process.kill()
            raise RuntimeError('harnex-host printed no URL: ' + self.url)

    def wait(self, timeout=20):
        out, err = self.process.communicate(timeout=timeout)
        return self.process.returncode, out, err

    def kill(self):
        if self.process.poll() is None:
            self.process.kill()
            self.process.communicate()


def browser(width=1400, height=1000):
    options = Options()
    options.binary_location = CHROMIUM
    profile = tempfile.mkdtemp(prefix='harnex-chromium-')
    for argument in ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic',
                     '--no-first-run', '--disable-background-networking',
                     '--disable-component-update', '--disable-sync',
                     '--disable-dev-shm-usage', '--user-data-dir=' + profile,
                     '--window-size=%d,%d' % (width, height), '--lang=ja']:
        options.add_argument(argument)
    driver = webdriver.Chrome(service=Service(CHROMEDRIVER), options=options)
    driver.profile_dir = profile
    return driver


def close_browser(driver):
    profile = getattr(driver, 'profile_dir', None)
    driver.quit()
    if profile:
        shutil.rmtree(profile, ignore_errors=True)


class Page:
    """The page of one session, used with the mouse and the keyboard."""

    def __init__(self, driver, url, timeout=10):
        self.driver = driver
        self.timeout = timeout
        driver.get(url)
        self.until(lambda d: self.version() > 0, 'the page shows no state')

    def until(self, condition, what):
        return WebDriverWait(self.driver, self.timeout).until(condition, what)

    def version(self):
        value = self.driver.find_element(By.TAG_NAME, 'body').get_attribute('data-version')
        return int(value) if value else 0

    def find(self, css):
        return self.driver.find_element(By.CSS_SELECTOR, css)

    def finds(self, css):
        return self.driver.find_elements(By.CSS_SELECTOR, css)

    def control(self, window, ctrl):
        return self.find('[data-window="%s"] [data-ctrl="%s"]' % (window, ctrl))

    def after(self, action, what='the session answers'):
        """Does `action`, then waits until the page shows the session's next state."""
        before = self.version()
        action()
        self.until(lambda d: self.version() > before, what)

    def click(self, window, ctrl):
        self.after(lambda: self.control(window, ctrl).click(), 'click %s %s' % (window, ctrl))

    def command(self, line):
        self.after(lambda: self.find('[data-role="command-line"]').send_keys(line + Keys.ENTER),
                   'the command line takes ' + line)

    def key(self, window, ctrl, key):
        """A key pressed with the focus in a control: Enter and Esc are the window's IDOK and
        IDCANCEL."""
        self.after(lambda: self.control(window, ctrl).send_keys(key), 'a key in %s' % window)

    def type(self, window, ctrl, text):
        def act():
            field = self.control(window, ctrl)
            field.clear()
            field.send_keys(text + Keys.TAB)
        self.after(act, 'type %s %s' % (window, ctrl))

    def choose(self, window, ctrl, text):
        box = self.control(window, ctrl)
        box.find_element(By.CSS_SELECTOR, '.combo-arrow').click()
        items = self.finds('[data-window="%s"][data-drop-list="%s"] [data-item]' % (window, ctrl))
        item = next(i for i in items if i.text == text)
        self.after(lambda: item.click(), 'choose %s %s' % (ctrl, text))

    def row(self, window, ctrl, row, key=None):
        element = self.find('[data-window="%s"] [data-ctrl="%s"] [data-row="%d"]'
                            % (window, ctrl, row))
        def act():
            chain = ActionChains(self.driver)
            if key:
                chain.key_down(key)
            chain.click(element)
            if key:
                chain.key_up(key)
            chain.perform()
        self.after(act, 'row %d' % row)

    def context_menu(self, window, ctrl):
        self.after(lambda: ActionChains(self.driver).context_click(self.control(window, ctrl)).perform(),
                   'the context menu opens')

    def menu_item(self, label):
        self.after(lambda: self.find('[data-window="menu"] [data-item="%s"]' % label).click(),
                   'the menu item ' + label)

    def answer(self, answer):
        self.after(lambda: self.find('[data-window="box"] [data-answer="%s"]' % answer).click(),
                   'the box answered ' + answer)

    # ---- The drawing.
    def drawing(self):
        return self.find('[data-role="drawing"]')

    def wait_drawing(self):
        self.until(lambda d: self.drawing().get_attribute('data-loaded') == 'yes',
                   'the page shows the drawing')

    def look_at(self, x, y, scale):
        """Shows the drawing point (x, y) at the drawing's centre, `scale` pixels a unit."""
        self.driver.execute_script('Harnex.drawing.lookAt(arguments[0], arguments[1], arguments[2])',
                                   x, y, scale)
        self.view = (x, y, scale)

    def _offset(self, x, y):
        cx, cy, scale = self.view
        dx, dy = (x - cx) * scale, -(y - cy) * scale
        if abs(dx - round(dx)) > 1e-6 or abs(dy - round(dy)) > 1e-6:
            raise ValueError('(%g, %g) is not on a whole pixel of the view' % (x, y))
        return int(round(dx)), int(round(dy))

    def pointer_to(self, x, y):
        """An action chain with the pointer over the drawing point (x, y)."""
        dx, dy = self._offset(x, y)
        return ActionChains(self.driver).move_to_element_with_offset(
            self.find('[data-role="pointer"]'), dx, dy)

    def click_drawing(self, x, y, what='the click on the drawing'):
        self.after(lambda: self.pointer_to(x, y).click().perform(), what)

    def right_click_drawing(self, x, y):
        self.after(lambda: self.pointer_to(x, y).context_click().perform(), 'the right click')

    def move_drawing(self, x, y):
        """The pointer moved over (x, y) while a drag waits: one cursor sample."""
        self.after(lambda: self.pointer_to(x, y).perform(), 'the sample %g,%g' % (x, y))

    def drag_box(self, x1, y1, x2, y2):
        """A rectangle dragged with the left button from (x1, y1) to (x2, y2)."""
        def act():
            chain = self.pointer_to(x1, y1).click_and_hold()
            dx, dy = self._offset(x2, y2)
            fx, fy = self._offset(x1, y1)
            chain.move_by_offset(dx - fx, dy - fy).release().perform()
        self.after(act, 'the rectangle')

    def drawing_pane_key(self, key):
        """A key pressed with the focus on the drawing (Enter and Esc go to what waits)."""
        self.find('[data-role="drawing-pane"]').send_keys(key)

    def temporary(self):
        """The drag's temporary entities on the page: their markup, in order."""
        return [e.get_attribute('innerHTML') for e in self.finds('[data-temporary]')]

    def entity(self, handle):
        return self.find('[data-layer="entities"] > [data-handle="%s"]' % handle)

    def wait_transcript(self, text):
        """Waits until the command line shows `text`."""
        self.until(lambda d: text in self.transcript(), 'the command line shows ' + text)

    def transcript(self):
        return self.find('[data-role="transcript"]').get_attribute('textContent')

    def box_text(self):
        return self.find('[data-window="box"] .box-text').text


# The texts of the page's controls that do not fit their control: "window ctrl text" for each.
CLIPPED_TEXTS = """
const clipped = [];
for (const el of document.querySelectorAll('#desktop .ctrl')) {
  if (el.offsetParent === null || el.matches('input, .listview, .list-box, fieldset')) continue;
  const text = el.matches('label') ? el.querySelector('span') : el;
  const box = el.getBoundingClientRect();
  const inner = text.getBoundingClientRect();
  const overflow = text.scrollWidth > text.clientWidth + 1 || inner.right > box.right + 1 ||
      text.scrollHeight > text.clientHeight + 1;
  if (overflow) {
    clipped.push(el.closest('[data-window]').dataset.window + ' ' + el.dataset.ctrl + ' ' + el.textContent);
  }
}
for (const legend of document.querySelectorAll('#desktop fieldset legend')) {
  const box = legend.parentElement.getBoundingClientRect();
  if (legend.getBoundingClientRect().right > box.right + 1) {
    clipped.push(legend.closest('[data-window]').dataset.window + ' ' + legend.parentElement.dataset.ctrl + ' ' + legend.textContent);
  }
}
return clipped;
"""


def clipped_texts(driver):
    return driver.execute_script(CLIPPED_TEXTS)
