"""Browser tests of harnex-host --serve: a designer's session done on the page in headless
Chromium, with the page's texts, the project file on disk, and a recorded session replayed
headless to the same files.

    browser_test.py HARNEX_HOST SOURCE_DIR SCREENSHOT_DIR
"""
import filecmp
import os
import sys
import tempfile
import unittest

import page_driver
from page_driver import Page

HOST = SOURCE = SHOTS = None

PROJECT = os.path.join('プロジェクト', 'サンプルビル.tpr')


def tpr_text(folder):
    with open(os.path.join(folder, PROJECT), 'rb') as f:
        return f.read().decode('cp932')


class DesignerSession(unittest.TestCase):
    """Open the palette, load the sample project, tick rows, change a size, save, close."""

    def setUp(self):
        self.work = tempfile.TemporaryDirectory(prefix='harnex-browser-')
        self.folder = page_driver.system_folder(SOURCE, self.work.name)
        self.driver = page_driver.browser()

    def tearDown(self):
        page_driver.close_browser(self.driver)
        self.work.cleanup()

    def run_session(self, folder, record=None, save=None):
        args = []
        if record:
            args += ['--record', record]
        if save:
            args += ['--save', save]
        served = page_driver.ServedSession(HOST, folder, args)
        try:
            page = Page(self.driver, served.url)
            self.designer_steps(page)
            status, out, err = served.wait()
        finally:
            served.kill()
        self.assertEqual(status, 0, err)
        return page, out

    def designer_steps(self, page):
        # The palette, from the command line.
        page.command('RQ_HARNEX')
        self.assertIn('[window 200 複数配線情報設定]', page.transcript())
        self.assertEqual(page.control('200', 345).get_attribute('value'), '')
        # 読込み: the project list; its first row is the sample project.
        page.click('200', 201)
        self.assertEqual(page.find('[data-window="203"] .titlebar').text, 'プロジェクト一覧')
        self.assertEqual(page.find('[data-window="203"] [data-ctrl="360"] [data-row="0"] td').text,
                         'サンプルビル')
        page.row('203', 360, 0)
        self.assertIn('sel', page.find('[data-window="203"] [data-ctrl="360"] [data-row="0"]')
                      .get_attribute('class'))
        page.click('203', 1)
        self.assertFalse(page.finds('[data-window="203"]'))
        self.assertEqual(page.control('200', 345).get_attribute('value'), 'サンプルビル')
        self.assertEqual(page.control('200', 364).get_attribute('value'), 'CV22sq-3C E8')
        # The first row's wire size through its context menu and the size detail dialog.
        page.context_menu('200', 364)
        items = [e.text for e in page.finds('[data-window="menu"] [data-item]')]
        self.assertEqual(items[0], 'サイズ詳細(S)')
        self.assertIn('greyed', page.find('[data-window="menu"] [data-item="元に戻す"]')
                      .get_attribute('class'))
        page.menu_item('サイズ詳細')
        self.assertFalse(page.finds('[data-window="menu"]'))
        self.assertEqual(page.find('[data-window="206"] .titlebar').text, '配線サイズ詳細')
        self.assertEqual(page_driver.clipped_texts(self.driver), [])
        page.choose('206', 376, 'CVT')
        page.choose('206', 378, '60sq')
        page.choose('206', 380, 'E14')
        page.click('206', 1)
        self.assertEqual(page.control('200', 364).get_attribute('value'), 'CVT60sq E14')
        # Page 2, and two rows ticked there.
        page.click('200', 209)
        self.assertEqual(page.control('200', 357).text, 'Page:2')
        page.click('200', 238)
        page.click('200', 239)
        ticks = [page.control('200', 238 + i).find_element('css selector', 'input').is_selected()
                 for i in range(3)]
        self.assertEqual(ticks, [True, True, False])
        # 保存: the box that says so waits for its OK on the page.
        page.click('200', 207)
        self.assertEqual(page.box_text(), 'データが保存されました。')
        page.answer('ok')
        self.assertFalse(page.finds('[data-window="box"]'))
        # An edit left unsaved: closing the session asks, and No keeps the saved project.
        page.type('200', 308, '未保存のメモ')
        page.after(lambda: page.find('[data-role="close"]').click(), 'the close asks')
        self.assertEqual(page.box_text(), 'データが変更されています。保存しますか？')
        self.assertEqual(page_driver.clipped_texts(self.driver), [])
        self.assertEqual([b.text for b in page.finds('[data-window="box"] [data-answer]')],
                         ['はい(Y)', 'いいえ(N)', 'キャンセル'])
        page.answer('no')
        page.until(lambda d: d.find_element('tag name', 'body').get_attribute('data-ended') == 'yes',
                   'the session ends')

    def test_designer_session_and_its_replay(self):
        record = os.path.join(self.work.name, 'session.hxs')
        drawing = os.path.join(self.work.name, 'browser.dxf')
        page, out = self.run_session(self.folder, record=record, save=drawing)
        self.assertIn('[box question] データが変更されています。保存しますか？ → No', out)
        text = tpr_text(self.folder)
        self.assertIn('HSIZE1-001=CVT60sq E14\r\n', text)
        self.assertNotIn('未保存のメモ', text)
        self.assertIn('UPDATEDATE=2026/12/07 10:00:00\r\n', text)

        with open(record, encoding='utf-8') as f:
            lines = [line for line in f.read().splitlines() if line and not line.startswith('#')]
        self.assertEqual(lines[:4], ['command RQ_HARNEX', '@200 click 201', '@203 rows 360 0',
                                     '@203 click 1'])
        self.assertIn('@200 menu 364', lines)
        self.assertIn('@200 menu 364 サイズ詳細', lines)
        self.assertEqual(lines[-3:], ['@200 type 308 未保存のメモ', '@200 click 2', 'answer no'])

        # The record, replayed headless on a fresh copy, gives the same project and drawing.
        replay_dir = os.path.join(self.work.name, 'replay')
        os.mkdir(replay_dir)
        replay_folder = page_driver.system_folder(SOURCE, replay_dir)
        replay_drawing = os.path.join(self.work.name, 'replay.dxf')
        import subprocess
        result = subprocess.run([HOST, '--config', 'harnex.ini', '--save', replay_drawing, record],
                                cwd=replay_folder, env=page_driver.host_env(),
                                capture_output=True, text=True, encoding='utf-8', timeout=60)
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertTrue(filecmp.cmp(os.path.join(self.folder, PROJECT),
                                    os.path.join(replay_folder, PROJECT), shallow=False))
        self.assertTrue(filecmp.cmp(drawing, replay_drawing, shallow=False))


class Screenshots(unittest.TestCase):
    """The palette and the dialogs as the page draws them, for the README."""

    def setUp(self):
        self.work = tempfile.TemporaryDirectory(prefix='harnex-shots-')
        self.served = page_driver.ServedSession(HOST, page_driver.system_folder(SOURCE, self.work.name))
        self.driver = page_driver.browser(1000, 900)
        self.page = Page(self.driver, self.served.url)
        self.page.command('RQ_HARNEX')

    def tearDown(self):
        close_browser_safely(self.driver)
        self.served.kill()
        self.work.cleanup()

    def close_session(self):
        self.page.after(lambda: self.page.find('[data-role="close"]').click(), 'the close')
        self.assertEqual(self.served.wait()[0], 0)

    def test_palette_and_project_list(self):
        page, driver = self.page, self.driver
        page.click('200', 201)
        page.row('203', 360, 0)
        driver.save_screenshot(os.path.join(SHOTS, 'project-list.png'))
        self.assertEqual(page_driver.clipped_texts(driver), [])
        page.click('203', 1)
        page.click('200', 238)
        driver.save_screenshot(os.path.join(SHOTS, 'palette.png'))
        self.assertEqual(page_driver.clipped_texts(driver), [])
        # Japanese text is drawn with a Japanese font: the glyphs have width.
        width = driver.execute_script(
            "const s = document.createElement('span'); s.textContent = '複数配線';"
            "s.style.position = 'absolute';"
            "document.body.append(s); const w = s.getBoundingClientRect().width;"
            "s.remove(); return w;")
        self.assertEqual(width, 48)  # four full-width characters of 12 pixels
        self.close_session()

    def test_colour_dialog_of_the_check_settings(self):
        page, driver = self.page, self.driver
        page.click('200', 201)
        page.row('203', 360, 0)
        page.click('203', 1)
        page.click('200', 335)
        self.assertEqual(page.find('[data-window="209"] .titlebar').text, '設定確認')
        swatch = '[data-window="209"] [data-ctrl="217"]'
        centre = ("const c = document.querySelector(arguments[0]);"
                  "return Array.from(c.getContext('2d').getImageData("
                  "c.width / 2, c.height / 2, 1, 1).data.slice(0, 3));")
        self.assertEqual(driver.execute_script(centre, swatch), [255, 0, 0])
        page.click('209', 217)
        self.assertTrue(page.finds('[data-window="colour"]'))
        driver.save_screenshot(os.path.join(SHOTS, 'colour.png'))
        page.find('[data-window="colour"] [data-colour="3"]').click()
        page.after(lambda: page.find('[data-window="colour"] [data-answer="ok"]').click(),
                   'the colour is chosen')
        self.assertFalse(page.finds('[data-window="colour"]'))
        self.assertIn('[colour dialog] 3', page.transcript())
        # The swatch draws the chosen colour.
        self.assertEqual(driver.execute_script(centre, swatch), [0, 255, 0])
        page.key('209', 396, page_driver.Keys.ESCAPE)
        self.close_session()


def close_browser_safely(driver):
    try:
        page_driver.close_browser(driver)
    except Exception:  # the browser is gone already
        pass


if __name__ == '__main__':
    HOST, SOURCE, SHOTS = (os.path.abspath(a) for a in sys.argv[1:4])
    os.makedirs(SHOTS, exist_ok=True)
    unittest.main(argv=sys.argv[:1], verbosity=2)
