#!/usr/bin/python3
"""A large floor made by ezdxf, loaded and saved by harnex-host and by ezdxf, side by side.

    bench/dxf_vs_ezdxf.py make N FILE.dxf
        writes a drawing of N route elements with ezdxf: one INSERT of a two-point segment
        block per element with its ETAT and S001 attributes, RQ_LINK and RQ_ATTR XData as the
        route tools leave them, and one GROUP per row of 1,000 elements.
    bench/dxf_vs_ezdxf.py run [--host build/harnex-host] [--runs 3] [N ...]
        for each N (default 100000): makes the drawing, then times, as whole processes taking
        turns, harnex-host loading it (--drawing, empty script) and loading and saving it
        (--save), and ezdxf doing the same; prints the median wall time, peak resident size and
        the ratio ezdxf / harnex-host.

Needs python3-ezdxf for /usr/bin/python3 (the Debian package).
"""
import os
import statistics
import subprocess
import sys
import tempfile
import time

ROW = 1000
LENGTH = 1000.0


def make(n, path):
    import ezdxf

    doc = ezdxf.new("R2010")
    for app in ("RQ_LINK", "RQ_ATTR"):
        doc.appids.new(app)
    doc.layers.new("RQ_CONNECT")
    block = doc.blocks.new("RT1000")
    block.add_line((0, 0), (LENGTH, 0))
    block.add_point((0, 0), dxfattribs={"layer": "RQ_CONNECT"})
    block.add_point((LENGTH, 0), dxfattribs={"layer": "RQ_CONNECT"})
    height = LENGTH / 10
    for k, tag in enumerate(("ETAT", "S001")):
        block.add_attdef(tag, (0, -height * 1.5 * (k + 1)),
                         dxfattribs={"height": height, "prompt": tag, "flags": 1})
    msp = doc.modelspace()
    records = [(1000, tag + "||2|1|55|0|") for tag in ("S501", "S004", "S3B9", "S002")]
    rows = (n + ROW - 1) // ROW
    for row in range(rows):
        y = row * 2 * LENGTH
        members = []
        for i in range(min(ROW, n - row * ROW)):
            ref = msp.add_blockref("RT1000", (i * LENGTH, y))
            for k, tag in enumerate(("ETAT", "S001")):
                ref.add_attrib(tag, "", (i * LENGTH, y - height * 1.5 * (k + 1)),
                               dxfattribs={"height": height, "flags": 1})
            ref.set_xdata("RQ_LINK", [(1000, "3")])
            ref.set_xdata("RQ_ATTR", records)
            members.append(ref)
        doc.groups.new("ROUTE%d" % (row + 1), description="route").extend(members)
    doc.saveas(path)


def ezdxf_load(path, out=None):
    import ezdxf

    doc = ezdxf.readfile(path)
    if out:
        doc.saveas(out)


def timed(argv):
    """Wall seconds and peak resident MiB of one whole process."""
    start = time.perf_counter()
    proc = subprocess.Popen(argv, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    _, status, usage = os.wait4(proc.pid, 0)
    wall = time.perf_counter() - start
    err = proc.stderr.read().decode(errors="replace")
    proc.stderr.close()
    if os.waitstatus_to_exitcode(status) != 0:
        sys.exit("failed: %s\n%s" % (" ".join(argv), err))
    return wall, usage.ru_maxrss / 1024.0


def run(host, runs, sizes):
    work = tempfile.mkdtemp(prefix="dxf_vs_ezdxf_")
    script = os.path.join(work, "empty.txt")
    open(script, "w").close()
    me = os.path.abspath(__file__)
    print("%9s %-10s %12s %12s %10s %10s %8s" %
          ("elements", "task", "harnex s", "ezdxf s", "ratio", "harnex MB", "file MB"))
    for n in sizes:
        path = os.path.join(work, "floor%d.dxf" % n)
        # Made by a child process: a child forked from a parent that holds the drawing would
        # count the parent's pages in its own peak resident size.
        subprocess.run(["/usr/bin/python3", me, "make", str(n), path], check=True)
        size_mb = os.path.getsize(path) / 1048576.0
        saved = os.path.join(work, "saved.dxf")
        tasks = {
            "load": ([host, "--drawing", path, script],
                     ["/usr/bin/python3", me, "ezdxf-load", path]),
            "load+save": ([host, "--drawing", path, "--save", saved, script],
                          ["/usr/bin/python3", me, "ezdxf-load", path, saved]),
        }
        for task, (ours, theirs) in tasks.items():
            a, b, rss = [], [], []
            for _ in range(runs):  # taking turns, so that a drifting machine hits both alike
                wall, peak = timed(ours)
                a.append(wall)
                rss.append(peak)
                b.append(timed(theirs)[0])
            ma, mb = statistics.median(a), statistics.median(b)
            print("%9d %-10s %12.3f %12.3f %9.1fx %10.0f %8.1f" %
                  (n, task, ma, mb, mb / ma, statistics.median(rss), size_mb), flush=True)
        os.remove(path)


def main(argv):
    if len(argv) >= 3 and argv[0] == "make":
        make(int(argv[1]), argv[2])
    elif len(argv) >= 2 and argv[0] == "ezdxf-load":
        ezdxf_load(argv[1], argv[2] if len(argv) > 2 else None)
    elif argv and argv[0] == "run":
        host, runs, sizes = "build/harnex-host", 3, []
        rest = argv[1:]
        while rest:
            if rest[0] == "--host":
                host, rest = rest[1], rest[2:]
            elif rest[0] == "--runs":
                runs, rest = int(rest[1]), rest[2:]
            else:
                sizes.append(int(rest[0]))
                rest = rest[1:]
        run(os.path.abspath(host), runs, sizes or [100000])
    else:
        sys.exit(__doc__)


if __name__ == "__main__":
    main(sys.argv[1:])
