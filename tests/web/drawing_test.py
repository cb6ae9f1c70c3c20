"""Browser tests of the drawing on the page of harnex-host --serve: route elements picked by
clicking them, notes and list tables placed by moving the mouse and clicking, a rectangle
selection for the check, in headless Chromium on the example drawing. The saved drawing is read
back with ezdxf.

    drawing_test.py HARNEX_HOST SOURCE_DIR SCREENSHOT_DIR
"""
import os
import re
import shutil
import sys
import tempfile
import unittest

import ezdxf
from selenium.webdriver.common.keys import Keys

import page_driver
from page_driver import Page

HOST = SOURCE = SHOTS = None

# The palette on the sample project's general pattern of the first floor, as a designer leaves it
# before turning to the drawing (the palette itself has browser tests of its own).
PALETTE = """command RQ_HARNEX
@200 click 201
@203 rows 360 0
@203 click 1
@200 choose 203 1F照明・コンセント
"""


def xdata_texts(entity, app='RQ_ATTR'):
    """The 1000 strings of `app`'s XData on `entity`, in order."""
    if not entity.has_xdata(app):
        return []
    return [value for code, value in entity.get_xdata(app) if code == 1000]


class DrawingSession(unittest.TestCase):
    def setUp(self):
        self.work = tempfile.TemporaryDirectory(prefix='harnex-drawing-')
        self.folder = page_driver.system_folder(SOURCE, self.work.name)
        self.drawing = os.path.join(self.work.name, 'office_1f.dxf')
        shutil.copy(os.path.join(SOURCE, 'examples', 'drawings', 'office_1f.dxf'), self.drawing)
        self.saved = os.path.join(self.work.name, 'saved.dxf')
        self.driver = page_driver.browser()
        self.served = None

    def tearDown(self):
        try:
            page_driver.close_browser(self.driver)
        except Exception:  # the browser is gone already
            pass
        if self.served:
            self.served.kill()
        self.work.cleanup()

    def start(self, preamble=PALETTE):
        script = os.path.join(self.work.name, 'preamble.hxs')
        with open(script, 'w', encoding='utf-8') as f:
            f.write(preamble)
        self.record = os.path.join(self.work.name, 'record.hxs')
        args = ['--drawing', self.drawing, '--save', self.saved, '--record', self.record]
        self.served = page_driver.ServedSession(HOST, self.folder, args + [script])
        self.page = Page(self.driver, self.served.url)
        self.page.wait_drawing()
        return self.page

    def finish(self):
        """Ends the session on the page and reads the drawing it saved."""
        page = self.page
        page.after(lambda: page.find('[data-role="close"]').click(), 'the close')
        if page.finds('[data-window="box"]'):
            page.answer('no')
        status, out, err = self.served.wait()
        self.assertEqual(status, 0, err)
        return ezdxf.readfile(self.saved), out

    def recorded(self):
        with open(self.record, encoding='utf-8') as f:
            return f.read().splitlines()

    def prompt(self):
        return self.page.find('[data-role="prompt"]').text

    def wait_prompt(self, text):
        """Waits until the prompt shows `text` (the page redraws it after the answer comes)."""
        self.page.until(lambda _: text in self.prompt(), 'the prompt %r' % text)
        return self.prompt()

    def test_manual_assignment_by_clicking_the_route_segment(self):
        page = self.start()
        page.click('200', 238)
        page.click('200', 239)
        page.click('200', 336)
        self.assertEqual(page.drawing().get_attribute('data-wait'), 'entity')
        # The pull box's cable is no wiring element: asked again; then the lighting branch.
        page.look_at(5000, 9000, 0.1)
        page.click_drawing(7500, 10700)
        self.assertIn('ERROR:配線ではありません。', page.transcript())
        page.click_drawing(3300, 8000)
        self.assertIn('配線情報設定中...設定が終了しました。', page.transcript())
        # One circuit on the drawing: the band along the elements that now carry 1L-2, as
        # --highlight draws it; the field offers the drawing's system numbers.
        band = '[data-layer="band"] path'
        self.assertEqual(page.finds(band), [])
        field = page.find('[data-role="highlight"]')
        field.send_keys('1L-2' + page_driver.Keys.ENTER)
        page.until(lambda d: page.finds(band), 'the band is drawn')
        page.look_at(8000, 6000, 0.05)
        self.driver.save_screenshot(os.path.join(SHOTS, 'drawing.png'))
        bands = len(page.finds(band))
        options = [o.get_attribute('value') for o in page.finds('#systems option')]
        self.assertIn('1L-2', options)
        self.assertIn('1L-3', options)
        page.find('[data-role="highlight-clear"]').click()
        page.until(lambda d: not page.finds(band), 'the band is cleared')
        doc, out = self.finish()
        self.assertIn('pickat 7500,10700', self.recorded())
        self.assertIn('pickat 3300,8000', self.recorded())
        branch = xdata_texts(doc.entitydb['126'])
        # Row 1 of the pattern is the branch's trunk; row 2 (HSIZE1-002=VVF2.0-3C E2.0 in the
        # sample project, in PF22) follows it as a further wire.
        self.assertIn('S004|1L-2|2|1|55|0|', branch)
        self.assertIn('S3B9|L-1|2|1|55|0|', branch)
        self.assertIn('PX02|1L-3!VVF2.0-3C E2.0 (PF22)!L-2!E2!|2|1|55|0|', branch)
        # The band ran along every element that carries the system, and only those.
        carrying = [e for e in doc.modelspace().query('INSERT')
                    if any(t.startswith('S004|1L-2|') or t.startswith('PX02|1L-2!')
                           for t in xdata_texts(e))]
        self.assertEqual(bands, len(carrying))
        # Nothing was written where the refused click pointed.
        self.assertIn('S004||2|1|55|0|', xdata_texts(doc.entitydb['93']))

    def test_automatic_assignment_by_clicking_the_terminal_segment(self):
        page = self.start()
        page.click('200', 333)
        for row in (238, 239, 240):
            page.click('200', row)
        page.click('200', 387)
        page.look_at(8000, 4800, 0.5)
        page.click_drawing(8000, 4400)
        self.assertIn('ERROR:経路ではありません。', page.transcript())
        page.click_drawing(8000, 5000)
        self.assertIn('配線情報設定中...設定が終了しました。', page.transcript())
        doc, _ = self.finish()
        shared = xdata_texts(doc.entitydb['126'])
        self.assertIn('S004|1L-3|2|1|55|0|', shared)
        self.assertIn('PX02|1L-2!VVF1.6-3C (PF16)!L-1!E1!|2|1|55|0|', shared)
        self.assertEqual(xdata_texts(doc.entitydb['BA'], 'RQPX_BANLINK'), ['空調室外機 AC-1'])

    def test_note_follows_the_mouse_and_esc_during_a_drag_leaves_nothing(self):
        page = self.start(PALETTE + """@200 click 333
@200 click 240
@200 click 336
pick 105
@200 click 340
@208 click 1
""")
        page.look_at(15500, 5500, 0.2)
        page.click_drawing(15000, 5050)
        page.until(lambda d: '注記記入' in self.prompt(), 'the note is dragged')
        # Three samples: the leader and the box follow each one, snapped to 45 degrees.
        shown = []
        for x, y in ((15300, 5400), (15600, 5700), (15800, 5900)):
            page.move_drawing(x, y)
            shown.append(page.temporary())
        self.assertTrue(all(shown), 'no temporary entities during the drag')
        self.assertNotEqual(shown[0], shown[1])
        self.assertNotEqual(shown[1], shown[2])
        # The leader's far end, in picture coordinates (Y down), at each sample.
        ends = [leader_end(markup) for markup in shown]
        for end in ends:
            self.assertAlmostEqual(end[0] - 15000, -end[1] - 5100, delta=1e-6,
                                   msg='the leader is not at 45 degrees: %r' % (end,))
        self.assertLess(ends[0][0], ends[1][0])
        self.assertLess(ends[1][0], ends[2][0])
        # A burst of moves faster than the session answers: only the newest is sent while one is
        # on its way, and the drag ends at the last.
        burst = [(15800 + 5 * i, 5900 + 5 * i) for i in range(1, 21)]
        page.driver.execute_script("""
const pointer = document.querySelector('[data-role="pointer"]');
const r = pointer.getBoundingClientRect();
for (const [dx, dy] of arguments[0]) {
  pointer.dispatchEvent(new MouseEvent('mousemove', {bubbles: true,
    clientX: r.left + Math.floor(r.width / 2) + dx, clientY: r.top + Math.floor(r.height / 2) + dy}));
}""", [list(page._offset(x, y)) for x, y in burst])
        last = burst[-1]
        page.until(lambda d: 'move %d,%d' % last in self.recorded(), 'the last sample is sent')
        sent = [line for line in self.recorded() if line.startswith('move ')
                and tuple(int(v) for v in line[5:].split(',')) in burst]
        self.assertLess(len(sent), len(burst) // 2, sent)
        self.assertEqual(sent[-1], 'move %d,%d' % last)
        page.click_drawing(15800, 5900)
        page.move_drawing(16500, 6000)
        page.click_drawing(16500, 6000)
        # The next note, on the next segment: Esc in the middle of its drag takes everything
        # temporary away.
        page.look_at(20000, 5500, 0.2)
        page.click_drawing(20000, 5050)
        page.move_drawing(20400, 5500)
        self.assertTrue(page.temporary())
        page.after(lambda: page.drawing_pane_key(page_driver.Keys.ESCAPE), 'Esc')
        self.assertEqual(page.temporary(), [])
        self.assertIn('*キャンセル*', page.transcript())
        # A second Esc at the next pick ends the note tool.
        page.after(lambda: page.drawing_pane_key(page_driver.Keys.ESCAPE), 'Esc')
        page.until(lambda d: page.drawing().get_attribute('data-wait') == 'command',
                   'the note tool ends')
        doc, _ = self.finish()
        notes = [e for e in doc.modelspace().query('INSERT') if e.dxf.name.startswith('PXNT')]
        self.assertEqual([n.dxf.name for n in notes], ['PXNT0001'])
        note = notes[0]
        self.assertEqual(tuple(note.dxf.insert), (15000, 5000, 0))
        self.assertEqual((note.dxf.xscale, note.dxf.yscale), (1, 1))
        leader = [e for e in doc.blocks['PXNT0001'] if e.dxftype() == 'LINE'
                  and tuple(e.dxf.start)[:2] == (0, 100) and e.dxf.end[0] != 0]
        # Snapped: the click at (15800, 5900) is 800 right of and 900 above the foot; the leader
        # goes up at 45 degrees to the height of the click.
        self.assertEqual([tuple(e.dxf.end)[:2] for e in leader], [(800, 900)])

    def test_list_table_fitted_into_a_rectangle_of_two_clicks(self):
        page = self.start(PALETTE + '@200 click 240\n@200 click 344\n')
        self.assertIn('配置点を指示 または Enterで矩形配置', self.prompt())
        page.look_at(33000, 2500, 0.05)
        page.right_click_drawing(33000, 2500)
        self.assertIn('矩形の始点:', self.wait_prompt('矩形の始点:'))
        page.click_drawing(38000, 1000)
        page.move_drawing(30000, 3000)
        outline = page.temporary()
        self.assertTrue(outline, 'the table outline does not follow the cursor')
        page.click_drawing(28000, 4000)
        doc, _ = self.finish()
        tables = [e for e in doc.modelspace().query('INSERT') if e.dxf.name.startswith('PXNT')]
        self.assertEqual(len(tables), 1)
        table = tables[0]
        self.assertEqual(tuple(table.dxf.insert)[:2], (38000, 1000))
        # The table's own width, from its block: the rectangle's 10000 over it is the scale.
        width = max(max(e.dxf.start[0], e.dxf.end[0]) for e in doc.blocks[table.dxf.name]
                    if e.dxftype() == 'LINE')
        self.assertAlmostEqual(table.dxf.xscale, 10000 / width, places=9)
        self.assertAlmostEqual(table.dxf.yscale, 10000 / width, places=9)

    def test_window_selection_then_the_check_and_colour_recovery(self):
        page = self.start('')
        page.look_at(12000, 3000, 0.1)
        # Left to right: a window round the pump's and the fan's runs (E1, D5, ED), which leaves
        # the vertical run at x 11600 (C9, C3) out.
        page.drag_box(11700, 500, 14300, 4300)
        page.command('RQ_HARNEX_CHECKATT')
        self.assertIn('幹線番号が設定されていない要素が見つかりました.', page.transcript())
        for handle in ('E1', 'D5', 'ED'):
            self.assertEqual(line_colours(page.entity(handle)), {'#ff0000'}, handle)
        for handle in ('C9', 'C3'):
            self.assertNotIn('#ff0000', line_colours(page.entity(handle)), handle)
        # Ctrl+Z on the drawing is U: the check is taken back on the page; Ctrl+Y gives it back.
        page.drawing_pane_key(Keys.CONTROL + 'z')
        page.wait_transcript('コマンド: U')
        page.until(lambda d: '#ff0000' not in line_colours(page.entity('E1')), 'E1 not red')
        for handle in ('E1', 'D5', 'ED'):
            self.assertNotIn('#ff0000', line_colours(page.entity(handle)), handle)
        self.assertIn('RQ_HARNEX_CHECKATT', page.transcript().split('コマンド: U')[-1])
        page.drawing_pane_key(Keys.CONTROL + 'y')
        page.wait_transcript('コマンド: REDO')
        page.until(lambda d: line_colours(page.entity('E1')) == {'#ff0000'}, 'E1 red again')
        # Right to left: a crossing that the runs cross; the colours come back.
        page.drag_box(14300, 4300, 11700, 500)
        page.command('RQ_HARNEX_RECOVERCOLOR')
        for handle in ('E1', 'D5', 'ED'):
            self.assertNotIn('#ff0000', line_colours(page.entity(handle)), handle)
        doc, _ = self.finish()
        self.assertEqual(self.recorded(), [
            'preselect window 11700,500 14300,4300', 'command RQ_HARNEX_CHECKATT', 'command U',
            'command REDO', 'preselect crossing 14300,4300 11700,500',
            'command RQ_HARNEX_RECOVERCOLOR'])
        for handle in ('E1', 'D5', 'ED', 'C3'):
            self.assertEqual(doc.entitydb[handle].dxf.get('color', 256), 256, handle)


def line_colours(element):
    """The stroke colours of the lines of an entity on the page (its connection points left out)."""
    return set(re.findall(r'<line [^>]*stroke="(#[0-9a-f]{6})"', element.get_attribute('outerHTML')))


def leader_end(markups):
    """The far end of the leader among a note drag's temporary entities, in picture coordinates:
    the line from the tick's upper end (15000, 5100 in the drawing) that is not the tick."""
    for markup in markups:
        for found in re.finditer(r'<line x1="([-\d.]+)" y1="([-\d.]+)" x2="([-\d.]+)" y2="([-\d.]+)"',
                                 markup):
            x1, y1, x2, y2 = (float(v) for v in found.groups())
            if (x1, y1) == (15000, -5100) and x2 != 15000:
                return x2, y2
    raise AssertionError('no leader among the temporary entities: %r' % (markups,))


if __name__ == '__main__':
    HOST, SOURCE, SHOTS = (os.path.abspath(a) for a in sys.argv[1:4])
    os.makedirs(SHOTS, exist_ok=True)
    unittest.main(argv=sys.argv[:1], verbosity=2)
