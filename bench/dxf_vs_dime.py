#!/usr/bin/python3
"""A large floor loaded and saved by harnex-host, by the dime DXF library and by ezdxf, side by side.

    bench/dxf_vs_dime.py [--host build/harnex-host] [--runs 5] [--no-ezdxf] [N ...]

For each N (default 100000) makes the floor of N route elements with ezdxf
(bench/dxf_vs_ezdxf.py make), then times, as whole processes taking turns (harnex-host, dime,
ezdxf, harnex-host, dime, ...), each of them loading the floor and loading and saving it:

    harnex-host --drawing FLOOR EMPTY_SCRIPT [--save OUT]
    dime_load FLOOR [OUT]                        (bench/dime_load.cpp: dimeModel::read, ::write)
    bench/dxf_vs_ezdxf.py ezdxf-load FLOOR [OUT] (ezdxf.readfile, saveas)

and prints per task the median wall seconds of each, harnex-host's user and system seconds, the
peak resident MiB of harnex-host and of dime, the file's MiB and the ratios dime / harnex-host
and ezdxf / harnex-host. --no-ezdxf leaves ezdxf out (a load of 100,000 elements takes it over
half a minute); the floor is still made by ezdxf.

Before the timings it checks that the comparison holds: dime must have read the floor's N
INSERTs, and the files harnex-host and dime saved must hold as many INSERTs, ATTRIBs, GROUPs and
RQ_LINK / RQ_ATTR XData as the floor.

Needs g++, python3-ezdxf for /usr/bin/python3 and Debian's libdime-dev, which it installs
(apt-get, as root) when its headers are missing. dime_load is compiled into a temporary folder,
removed at the end with the floors.
"""
import argparse
import collections
import os
import re
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

BENCH = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(BENCH)
MAKER = os.path.join(BENCH, "dxf_vs_ezdxf.py")
DIME_HEADER = "/usr/include/dime/Model.h"


def ensure_dime():
    """Installs libdime-dev when its headers are missing, or ends saying how to."""
    if os.path.exists(DIME_HEADER):
        return
    if os.geteuid() != 0:
        sys.exit("%s is missing: install Debian's libdime-dev first, as root:\n"
                 "    apt-get install -y libdime-dev" % DIME_HEADER)
    env = dict(os.environ, DEBIAN_FRONTEND="noninteractive")
    install = ["apt-get", "install", "-y", "libdime-dev"]
    print("# installing libdime-dev", flush=True)
    if subprocess.run(install, env=env).returncode != 0:
        # The package lists may be missing or stale.
        subprocess.run(["apt-get", "update"], env=env, check=True)
        subprocess.run(install, env=env, check=True)
    if not os.path.exists(DIME_HEADER):
        sys.exit("libdime-dev is installed but %s is still missing" % DIME_HEADER)


def build_dime(work):
    exe = os.path.join(work, "dime_load")
    subprocess.run(["g++", "-std=c++20", "-O2", os.path.join(BENCH, "dime_load.cpp"),
                    "-o", exe, "-ldime"], check=True)
    return exe


def timed(argv, log):
    """Wall, user and system seconds and peak resident MiB of one whole process."""
    with open(log, "w+b") as err:
        start = time.perf_counter()
        proc = subprocess.Popen(argv, stdout=subprocess.DEVNULL, stderr=err)
        _, status, usage = os.wait4(proc.pid, 0)
        wall = time.perf_counter() - start
        proc.returncode = os.waitstatus_to_exitcode(status)
        if proc.returncode != 0:
            err.seek(0)
            sys.exit("failed (%d): %s\n%s" % (proc.returncode, " ".join(argv),
                                               err.read().decode(errors="replace")))
    return wall, usage.ru_utime, usage.ru_stime, usage.ru_maxrss / 1024.0


def contents(path):
    """The entities and XData of a DXF file that the comparison rests on, counted."""
    wanted = {("0", "INSERT"), ("0", "ATTRIB"), ("0", "GROUP"),
              ("1001", "RQ_LINK"), ("1001", "RQ_ATTR")}
    found = collections.Counter()
    with open(path, encoding="utf-8", errors="replace") as f:
        while True:
            code = f.readline()
            value = f.readline()
            if not value:
                break
            group = (code.strip(), value.strip())
            if group in wanted:
                found[group] += 1
    return {"%s %s" % k: found[k] for k in sorted(wanted)}


def check_dime_reads(dime, path, n, log):
    """dime's own count of what it read: all N INSERTs of the ENTITIES section."""
    with open(log, "w+") as err:
        subprocess.run([dime, "--count", path], stderr=err, check=True)
        err.seek(0)
        text = err.read()
    m = re.search(r"(\d+) INSERT\b", text)
    if not m or int(m.group(1)) != n:
        sys.exit("dime did not read the floor's %d INSERTs: %s" % (n, text.strip()))
    return text.strip()


def check_saved(expected, saved):
    for who, path in saved.items():
        got = contents(path)
        if got != expected:
            sys.exit("%s's saved file differs from the floor: %s, not %s" % (who, got, expected))


def cell(value, form):
    return "-" if value is None else form % value


def run(host, runs, sizes, with_ezdxf):
    ensure_dime()
    work = tempfile.mkdtemp(prefix="dxf_vs_dime_")
    try:
        dime = build_dime(work)
        script = os.path.join(work, "empty.txt")
        open(script, "w").close()
        log = os.path.join(work, "stderr.txt")
        head = ("%9s %-10s %9s %7s %7s %9s %9s %8s %9s %10s %9s %8s" %
                ("elements", "task", "harnex s", "user s", "sys s", "dime s", "ezdxf s",
                 "dime/hx", "ezdxf/hx", "harnex MiB", "dime MiB", "file MiB"))
        print(head, flush=True)
        for n in sizes:
            path = os.path.join(work, "floor%d.dxf" % n)
            # Made by a child process, as dxf_vs_ezdxf.py run makes it.
            subprocess.run(["/usr/bin/python3", MAKER, "make", str(n), path], check=True)
            size = os.path.getsize(path) / 1048576.0
            read = check_dime_reads(dime, path, n, log)
            out = {who: os.path.join(work, "saved_%s.dxf" % who)
                   for who in ("harnex", "dime", "ezdxf")}
            tasks = {
                "load": {
                    "harnex": [host, "--drawing", path, script],
                    "dime": [dime, path],
                    "ezdxf": ["/usr/bin/python3", MAKER, "ezdxf-load", path],
                },
                "load+save": {
                    "harnex": [host, "--drawing", path, "--save", out["harnex"], script],
                    "dime": [dime, path, out["dime"]],
                    "ezdxf": ["/usr/bin/python3", MAKER, "ezdxf-load", path, out["ezdxf"]],
                },
            }
            for task, argvs in tasks.items():
                if not with_ezdxf:
                    del argvs["ezdxf"]
                times = {who: [] for who in argvs}
                for _ in range(runs):  # taking turns, so that a drifting machine hits all alike
                    for who, argv in argvs.items():
                        times[who].append(timed(argv, log))

                def median(who, k):
                    return statistics.median(t[k] for t in times[who]) if who in times else None

                hx, dm, ez = median("harnex", 0), median("dime", 0), median("ezdxf", 0)
                print("%9d %-10s %9.3f %7.3f %7.3f %9.3f %9s %7.1fx %9s %10.0f %9.0f %8.1f" %
                      (n, task, hx, median("harnex", 1), median("harnex", 2), dm,
                       cell(ez, "%.3f"), dm / hx, cell(ez and ez / hx, "%.1fx"),
                       median("harnex", 3), median("dime", 3), size), flush=True)
            expected = contents(path)
            check_saved(expected, {"harnex-host": out["harnex"], "dime": out["dime"]})
            print("# %d: %s; saved by harnex-host and dime alike: %s" %
                  (n, read, ", ".join("%d %s" % (v, k.split()[1]) for k, v in expected.items())),
                  flush=True)
            for f in [path] + list(out.values()):
                if os.path.exists(f):
                    os.remove(f)
    finally:
        shutil.rmtree(work, ignore_errors=True)


def main(argv):
    parser = argparse.ArgumentParser(
        description="harnex-host, dime and ezdxf loading and saving a large floor.")
    parser.add_argument("--host", default=os.path.join(ROOT, "build", "harnex-host"),
                        help="the harnex-host program (default: build/harnex-host)")
    parser.add_argument("--runs", type=int, default=5, help="timed runs of each (default 5)")
    parser.add_argument("--no-ezdxf", action="store_true", help="leave ezdxf out")
    parser.add_argument("sizes", nargs="*", type=int, metavar="N",
                        help="elements of the floor (default 100000)")
    args = parser.parse_args(argv)
    if args.runs < 1 or any(n < 1 for n in args.sizes):
        parser.error("--runs and N must be at least 1")
    host = os.path.abspath(args.host)
    if not os.access(host, os.X_OK):
        parser.error("no harnex-host at %s (build it, or give --host)" % host)
    run(host, args.runs, args.sizes or [100000], not args.no_ezdxf)


if __name__ == "__main__":
    main(sys.argv[1:])
