#!/usr/bin/env python3
"""Whole-process benchmark: times, on the same file lists and in one run, the
catalog host driving the plug-ins, a floor program (per audio file: open, read
the first 16 KiB and the last 128 bytes, close; per RTF file: read it whole)
and a TagLib reader (tags and audio properties at TagLib's fast read style).

Each program runs once to warm the page cache, then --runs times in turn; the
table gives the median time, files/s and MB/s (the files' whole sizes over that
time), the peak resident memory, its growth over the same program run on an
empty list (what the files cost above the process's start), and each time as
a multiple of the floor's.

  bench/whole_process.py                      the bench preset's build, every list
  bench/whole_process.py --build build/release --list rtf
  bench/whole_process.py --syscalls           also system calls per file (strace -c)
  bench/whole_process.py --baseline DIR       another build's zavcat in the same turns
  bench/whole_process.py --doc docs/benchmarks.md   replace the results in the doc
  bench/whole_process.py --corpus DIR --list rtf,rtf-shapes --doc docs/benchmarks.md --section shapes

The host is `zavcat show --format null --files-from LIST`, which drives every
entry point for every file and prints nothing. The floor and TagLib programs
come from a build with benchmarks enabled (the bench preset); --tools names
one when --build has none.
The corpus is made by tools/make_bench_corpus.py when it is missing.
"""

import argparse
import datetime
import os
import pathlib
import platform
import re
import shlex
import statistics
import subprocess
import sys
import tempfile
import time

REPO = pathlib.Path(__file__).resolve().parent.parent
LISTS = ["mp3", "wav", "avi", "rtf"]
# The lists of one writer's RTF documents (rtf-word.list, ...); "rtf-shapes" names them all.
SHAPES = "rtf-shapes"
TAGLIB_LISTS = {"mp3", "wav"}  # TagLib reads no AVI and no RTF
BEGIN, END = "<!-- whole-process results: begin -->", "<!-- whole-process results: end -->"
MIB = 1 << 20


class Program:
    def __init__(self, name, command):
        self.name = name
        self.command = command  # argument list with "{list}" where the list path goes

    def arguments(self, list_path):
        return [list_path if part == "{list}" else part for part in self.command]


def fail(arguments, code, errors):
    sys.exit(f"whole_process: {shlex.join(arguments)} failed ({code}):\n{errors.decode(errors='replace')}")


def timed_run(arguments, env):
    """(wall seconds, CPU seconds) of one run, from start to exit; stops on
    failure. CPU time (user and system) moves less than wall time when other
    work shares the cores."""
    start = time.perf_counter()
    process = subprocess.Popen(arguments, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    errors = process.stderr.read()
    _, status, usage = os.wait4(process.pid, 0)
    elapsed = time.perf_counter() - start
    process.stderr.close()
    process.returncode = code = os.waitstatus_to_exitcode(status)
    if code != 0:
        fail(arguments, code, errors)
    return elapsed, usage.ru_utime + usage.ru_stime


def peak_memory(arguments, env, must_succeed=True):
    """Peak resident bytes of one run. GNU time forks and execs the program:
    a child forked from this Python process would count Python's own memory."""
    with tempfile.NamedTemporaryFile("r", suffix=".rss") as peak:
        command = ["/usr/bin/time", "-f", "%M", "-o", peak.name, *arguments]
        process = subprocess.run(command, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
        if process.returncode != 0 and must_succeed:
            fail(arguments, process.returncode, process.stderr)
        return int(peak.read().split()[-1]) * 1024


def syscall_counts(arguments, env, must_succeed=True):
    """System calls by name for one run under strace -c."""
    with tempfile.NamedTemporaryFile("r", suffix=".strace") as report:
        subprocess.run(["strace", "-f", "-c", "-o", report.name, *arguments], env=env, check=must_succeed,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        counts = {}
        for line in report.read().splitlines():
            fields = line.split()
            # % time, seconds, usecs/call, calls, [errors], syscall
            if len(fields) >= 5 and fields[0][0].isdigit() and fields[-1] != "total":
                counts[fields[-1]] = int(fields[3])
        return counts


def find_tools(build, tools):
    candidates = [tools] if tools else [build, REPO / "build" / "bench"]
    for folder in candidates:
        if (folder / "bin" / "zav_floor").exists():
            return folder / "bin"
    sys.exit("whole_process: no zav_floor found in " + ", ".join(map(str, candidates)) +
             "; build one with: bash tools/setup.sh --bench && cmake --workflow --preset bench")


def host_program(build_bin, env, name="zavcat"):
    zavcat = build_bin / "zavcat"
    usage = subprocess.run([str(zavcat), "show", "--help"], env=env, capture_output=True,
                           text=True).stdout if zavcat.exists() else ""
    if "--files-from" not in usage or "null" not in usage:
        sys.exit(f"whole_process: {zavcat} is missing or offers no show --format null --files-from")
    return Program(name, [str(zavcat), "show", "--format", "null", "--files-from", "{list}"])


def list_files(path):
    files = [line for line in path.read_text().splitlines() if line]
    return len(files), sum(os.stat(f).st_size for f in files)


def run_list(kind, list_path, programs, args, env, empty_list):
    files, size = list_files(list_path)
    chosen = [p for p in programs if p.name != "TagLib reader" or kind in TAGLIB_LISTS]
    listed = {p.name: p.arguments(str(list_path)) for p in chosen}
    # The first run of each warms the page cache and gives a peak.
    peaks = {p.name: peak_memory(listed[p.name], env) for p in chosen}
    times = {p.name: [] for p in chosen}
    cpu = {p.name: [] for p in chosen}
    started = time.perf_counter()
    rounds = 0
    # Short lists take more rounds, so that a stall of the shared cores moves no median.
    while rounds < args.runs or (time.perf_counter() - started < args.min_seconds and rounds < 200):
        for program in chosen:
            elapsed, used = timed_run(listed[program.name], env)
            times[program.name].append(elapsed)
            cpu[program.name].append(used)
        rounds += 1
    rows = []
    for program in chosen:
        peak = max(peaks[program.name], peak_memory(listed[program.name], env))
        # A host may refuse an empty list; its start is measured all the same.
        start_peak = peak_memory(program.arguments(empty_list), env, must_succeed=False)
        row = {"list": kind, "program": program.name, "files": files, "bytes": size,
               "time": statistics.median(times[program.name]), "cpu": statistics.median(cpu[program.name]),
               "runs": rounds,
               "peak": peak, "growth": peak - start_peak}
        if args.syscalls:
            counts = syscall_counts(listed[program.name], env)
            start = syscall_counts(program.arguments(empty_list), env, must_succeed=False)
            row["syscalls"] = {name: (n - start.get(name, 0)) / files for name, n in counts.items()}
        rows.append(row)
    return rows


def results_table(rows):
    floor = {r["list"]: r for r in rows if r["program"] == "floor"}
    taglib = {r["list"]: r["time"] for r in rows if r["program"] == "TagLib reader"}
    lines = ["| List | Program | Files | MB | Runs | Time (s) | CPU (s) | Files/s | MB/s | Peak RSS (MiB) | "
             "RSS growth (MiB) | × floor time | × floor CPU | Files/s ÷ TagLib |",
             "|---|---|--:|--:|--:|--:|--:|--:|--:|--:|--:|--:|--:|--:|"]
    for r in rows:
        versus_taglib = ""
        if r["program"] not in ("floor", "TagLib reader") and r["list"] in taglib:
            versus_taglib = f"{taglib[r['list']] / r['time']:.2f}"
        lines.append(
            f"| {r['list']} | {r['program']} | {r['files']} | {r['bytes'] / 1e6:.0f} | {r['runs']} | {r['time']:.3f} | "
            f"{r['cpu']:.3f} | "
            f"{r['files'] / r['time']:,.0f} | {r['bytes'] / 1e6 / r['time']:,.0f} | {r['peak'] / MIB:.1f} | "
            f"{max(r['growth'], 0) / MIB:.1f} | {r['time'] / floor[r['list']]['time']:.2f} | "
            f"{r['cpu'] / floor[r['list']]['cpu']:.2f} | {versus_taglib} |")
    return "\n".join(lines)


def syscall_table(rows):
    lines = ["| List | Program | System calls per file | The most frequent, per file |", "|---|---|--:|---|"]
    for r in rows:
        calls = {name: n for name, n in r["syscalls"].items() if n >= 0.05}
        top = sorted(calls.items(), key=lambda item: -item[1])[:6]
        lines.append(f"| {r['list']} | {r['program']} | {sum(calls.values()):.1f} | "
                     + ", ".join(f"{name} {n:.1f}" for name, n in top) + " |")
    return "\n".join(lines)


def first_line(arguments):
    try:
        out = subprocess.run(arguments, capture_output=True, text=True).stdout
        return out.splitlines()[0].strip() if out else "?"
    except OSError:
        return "?"


def cache_value(build, key):
    cache = build / "CMakeCache.txt"
    if not cache.exists():
        return "?"
    match = re.search(rf"^{key}:[A-Z]+=(.*)$", cache.read_text(), re.M)
    return match.group(1) if match else "?"


def machine_description(build):
    cpu = re.search(r"model name\s*:\s*(.*)", pathlib.Path("/proc/cpuinfo").read_text())
    memory = re.search(r"MemTotal:\s*(\d+)", pathlib.Path("/proc/meminfo").read_text())
    release = re.search(r'PRETTY_NAME="(.*)"', pathlib.Path("/etc/os-release").read_text())
    compiler = cache_value(build, "CMAKE_CXX_COMPILER")
    commit = first_line(["git", "-C", str(REPO), "rev-parse", "--short", "HEAD"])
    # Only changes to what is measured count; the results file changes with every run.
    changed = subprocess.run(["git", "-C", str(REPO), "diff", "--quiet", "HEAD", "--", ".",
                              ":(exclude)docs/benchmarks.md"]).returncode != 0
    commit += " with uncommitted changes" if changed else ""
    return (f"{cpu.group(1) if cpu else '?'}, {os.cpu_count()} cores, "
            f"{int(memory.group(1)) / MIB:.0f} GiB; {release.group(1) if release else '?'}, "
            f"Linux {platform.release()}; {first_line([compiler, '--version'])}, "
            f"{cache_value(build, 'CMAKE_BUILD_TYPE')}; TagLib {first_line(['pkg-config', '--modversion', 'taglib'])}; "
            f"commit {commit}")


def report(rows, args, command, build, load):
    today = datetime.datetime.now(datetime.timezone.utc).strftime("%Y-%m-%d %H:%M UTC")
    parts = [f"Measured {today} on {machine_description(build)}; load average {load:.1f} "
             "at the start (the cores are shared, so figures move from run to run).",
             "",
             "Time (wall) and CPU (user and system) are medians of the runs (the programs take turns, "
             "after one warm-up run of each: warm page cache, one process at a time). MB are 10⁶ bytes of "
             "the listed files' whole sizes; RSS growth is the peak over the same program's peak on "
             "an empty list.",
             "",
             results_table(rows)]
    if args.syscalls:
        parts += ["", "System calls per file (`strace -f -c`, less the same program on an empty list):",
                  "", syscall_table(rows)]
    parts += ["", "Reproduce:", "", "```sh", command, "```"]
    return "\n".join(parts) + "\n"


def update_doc(doc, section, name=None):
    """Replaces what lies between the results markers (those of `name`, when
    given: <!-- whole-process results NAME: begin --> ...)."""
    begin, end = (BEGIN, END) if name is None else (BEGIN.replace("results:", f"results {name}:"),
                                                    END.replace("results:", f"results {name}:"))
    text = doc.read_text() if doc.exists() else f"{begin}\n{end}\n"
    if begin not in text or end not in text:
        sys.exit(f"whole_process: {doc} has no {begin} ... {end} markers")
    head, rest = text.split(begin, 1)
    _, tail = rest.split(end, 1)
    doc.write_text(f"{head}{begin}\n{section}{end}{tail}")


def shape_lists(corpus):
    return sorted(path.stem for path in corpus.glob("rtf-*.list"))


def chosen_lists(corpus, wanted):
    """The names of the lists to run, in the order asked for: each a list the
    corpus has; rtf-shapes stands for every writer's list."""
    if wanted is None:
        return [k for k in LISTS if (corpus / f"{k}.list").exists()] + shape_lists(corpus)
    kinds = []
    for name in (k.strip() for k in wanted.split(",") if k.strip()):
        kinds += shape_lists(corpus) if name == SHAPES else [name]
    missing = [k for k in kinds if not (corpus / f"{k}.list").exists()]
    if not kinds or missing:
        sys.exit(f"whole_process: {corpus} has no list {', '.join(missing) or '(none asked for)'}; it has "
                 + ", ".join(sorted(p.stem for p in corpus.glob("*.list"))))
    return kinds


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0],
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--build", type=pathlib.Path, default=REPO / "build" / "bench",
                        help="build folder whose zavcat and plug-ins are timed (default: build/bench)")
    parser.add_argument("--tools", type=pathlib.Path,
                        help="build folder with zav_floor and zav_taglib_reader")
    parser.add_argument("--corpus", type=pathlib.Path,
                        help="corpus folder (default: $ZAV_BENCH_DIR, else bench-corpus beside the build folder)")
    parser.add_argument("--list", help="lists to run, e.g. mp3 or wav,avi, rtf-word or rtf-shapes (every "
                        "writer's list); default: every list the corpus has")
    parser.add_argument("--runs", type=int, default=5, help="timed runs of each program, at least")
    parser.add_argument("--min-seconds", type=float, default=3.0,
                        help="go on with more runs (up to 200) until this much time has passed on a list")
    parser.add_argument("--baseline", type=pathlib.Path,
                        help="another build folder whose zavcat takes turns with the others, as \"zavcat before\"")
    parser.add_argument("--syscalls", action="store_true", help="also count system calls per file")
    parser.add_argument("--doc", type=pathlib.Path, help="markdown file whose results section is replaced")
    parser.add_argument("--section", help="the results section of --doc with this name (its markers name it)")
    args = parser.parse_args()

    build = args.build.resolve()
    build_bin = build / "bin"
    corpus = (args.corpus or pathlib.Path(os.environ.get("ZAV_BENCH_DIR") or build.parent / "bench-corpus")).resolve()
    if not (corpus / "corpus.json").exists():
        subprocess.run([sys.executable, str(REPO / "tools" / "make_bench_corpus.py"), "--out", str(corpus)],
                       check=True)
    kinds = chosen_lists(corpus, args.list)

    # The plug-ins take their code page from the locale; fix it for every run.
    env = {**os.environ, "LC_ALL": "C.UTF-8"}
    tools_bin = find_tools(build, args.tools.resolve() if args.tools else None)
    host = host_program(build_bin, env)
    programs = [Program("floor", [str(tools_bin / "zav_floor"), "{list}"]), host,
                Program("TagLib reader", [str(tools_bin / "zav_taglib_reader"), "{list}"])]
    if args.baseline:
        programs.insert(2, host_program(args.baseline.resolve() / "bin", env, "zavcat before"))

    load = os.getloadavg()[0]
    rows = []
    with tempfile.NamedTemporaryFile("w", suffix=".list") as empty:
        for kind in kinds:
            print(f"whole_process: {kind} ...", file=sys.stderr)
            rows += run_list(kind, corpus / f"{kind}.list", programs, args, env, empty.name)

    command = "python3 bench/whole_process.py " + " ".join(shlex.quote(a) for a in sys.argv[1:])
    section = report(rows, args, command.strip(), build, load)
    print(section)
    if args.doc:
        update_doc(args.doc, section, args.section)


if __name__ == "__main__":
    main()
