"""How a served session ends without its page: SIGTERM and SIGHUP end it in order, keep unsaved
palette edits in a recovery project, and still write --save; a bad --record file is refused.

    serve_end_test.py HARNEX_HOST SOURCE_DIR
"""
import json
import os
import signal
import subprocess
import sys
import tempfile
import unittest
import urllib.request

import page_driver

HOST = SOURCE = None


def post(url, path, body):
    base, token = url.split('/?token=')
    request = urllib.request.Request(
        base + path, data=json.dumps(body).encode(), method='POST',
        headers={'Content-Type': 'application/json', 'X-Harnex-Token': token,
                 'Origin': base})
    with urllib.request.urlopen(request, timeout=20) as answer:
        return json.load(answer)


class EndOfAServedSession(unittest.TestCase):
    def test_signals_end_in_order_and_keep_unsaved_edits(self):
        for signal_number in (signal.SIGTERM, signal.SIGHUP):
            with self.subTest(signal=signal_number), tempfile.TemporaryDirectory() as work:
                folder = page_driver.system_folder(SOURCE, work)
                drawing = os.path.join(work, 'saved.dxf')
                served = page_driver.ServedSession(HOST, folder, ['--save', drawing])
                try:
                    self.assertTrue(post(served.url, '/line', {'line': 'RQ_HARNEX'})['ok'])
                    for action in ({'action': 'click', 'window': 200, 'ctrl': 201},
                                   {'action': 'rows', 'window': 203, 'ctrl': 360, 'rows': [0]},
                                   {'action': 'click', 'window': 203, 'ctrl': 1},
                                   {'action': 'type', 'window': 200, 'ctrl': 308,
                                    'text': '未保存'}):
                        self.assertTrue(post(served.url, '/action', action)['ok'], action)
                    served.process.send_signal(signal_number)
                    status, out, err = served.wait()
                finally:
                    served.kill()
                self.assertEqual(status, 0, err)
                recovery = os.path.join(folder, 'プロジェクト', 'サンプルビル.recovered.tpr')
                self.assertIn('unsaved palette edits written to', err)
                self.assertTrue(os.path.exists(recovery))
                with open(recovery, 'rb') as f:
                    self.assertIn('MEMO-001=未保存', f.read().decode('cp932'))
                with open(os.path.join(folder, 'プロジェクト', 'サンプルビル.tpr'), 'rb') as f:
                    self.assertNotIn('未保存', f.read().decode('cp932'))
                self.assertTrue(os.path.getsize(drawing) > 0)

    def test_a_record_file_that_cannot_be_written(self):
        with tempfile.TemporaryDirectory() as work:
            result = subprocess.run(
                [HOST, '--serve', '--record', os.path.join(work, 'no', 'such', 'r.hxs')],
                capture_output=True, text=True, timeout=20)
        self.assertEqual(result.returncode, 1)
        self.assertIn('cannot write the record file', result.stderr)


if __name__ == '__main__':
    HOST, SOURCE = (os.path.abspath(a) for a in sys.argv[1:3])
    unittest.main(argv=sys.argv[:1], verbosity=2)
