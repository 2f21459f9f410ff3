"""Puts each fault of scripts/mutants.txt into a copy of the sources, builds
the suites that should notice it, runs them, and says whether they did.

Run through scripts/mutants, which installs what is missing first.

The checkout itself is never changed: the tracked files (and new ones not yet
ignored), or with --source the files of a commit, are copied into
BUILD_DIR/src, and each fault is put into that copy
and taken out again after its suites have run. The copy is built in
BUILD_DIR/build (BUILD_DIR/build-asan for faults only the sanitizers see).

Every fault names its suites; a fault is caught when at least one of them
fails (a time-out counts as a failure). Before the first fault, each suite
involved is run once without any, and must pass, so that a suite which fails
anyway catches nothing. The results go to a tab-separated file; with
--compare, a fault that an earlier results file had caught and that is missed
now fails the run.
"""

import argparse
import io
import os
import re
import shutil
import signal
import subprocess
import sys
import tarfile
import time
from dataclasses import dataclass, field

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
CATALOGUE = os.path.join(ROOT, "scripts", "mutants.txt")
# Started by suites from their own folder; built with every fault so that
# none runs an old copy.
PROGRAMS = ["tavro-lens-controller", "tavro-lensctl", "lens-board-sim", "tavro-lensd"]
# Suites that are no build target of their own.
NOT_TARGETS = {"lensctl-example", "tst_webpage"}
FAIL_LINE = re.compile(r"^FAIL!  : \w+::(\S.*?\))\s")


@dataclass
class Hunk:
    path: str
    before: str
    after: str


@dataclass
class Mutation:
    id: str
    what: str = ""
    suites: list = field(default_factory=list)
    asan: bool = False
    # Why no suite catches it (yet), for a gap that is known.
    gap: str = ""
    hunks: list = field(default_factory=list)
    line: int = 0


def fail(message):
    print(f"mutants: {message}", file=sys.stderr)
    sys.exit(2)


def read_catalogue(path):
    """Entries open with "id:", then "what:", "suites:", optionally
    "build: asan", and one or more "file:" lines each followed by the text
    to find between <<< and ===, and its replacement between === and >>>."""
    mutations = []
    current = None
    block = None  # (hunk, "before" or "after", lines)
    with open(path, encoding="utf-8") as text:
        for number, raw in enumerate(text, 1):
            line = raw.rstrip("\n")
            if block is not None:
                hunk, part, lines = block
                if line == "===" and part == "before":
                    hunk.before = "".join(lines)
                    block = (hunk, "after", [])
                elif line == ">>>" and part == "after":
                    hunk.after = "".join(lines)
                    current.hunks.append(hunk)
                    block = None
                elif line.startswith("id: "):
                    # No source line starts so: the block before was not closed,
                    # and would swallow this entry unseen.
                    fail(f"{path}:{number}: a new entry inside {current.id}'s text: is its >>> missing?")
                else:
                    lines.append(raw if raw.endswith("\n") else raw + "\n")
                continue
            if not line.strip() or line.startswith("#"):
                continue
            key, _, value = line.partition(":")
            value = value.strip()
            if key == "id":
                current = Mutation(id=value, line=number)
                mutations.append(current)
            elif current is None:
                fail(f"{path}:{number}: an entry opens with id:")
            elif key == "what":
                current.what = value
            elif key == "suites":
                current.suites = value.split()
            elif key == "build":
                current.asan = value == "asan"
            elif key == "missed":
                current.gap = value
            elif key == "file":
                hunk = Hunk(value, "", "")
            elif line == "<<<":
                block = (hunk, "before", [])
            else:
                fail(f"{path}:{number}: cannot read: {line}")
    if block is not None:
        fail(f"{path}: the last replacement is not closed with >>>")
    seen = set()
    for mutation in mutations:
        if mutation.id in seen:
            fail(f"{path}:{mutation.line}: {mutation.id} twice")
        seen.add(mutation.id)
        if not mutation.suites or not mutation.hunks:
            fail(f"{path}:{mutation.line}: {mutation.id} needs suites: and at least one file:")
    return mutations


def tree_files(revision):
    """The files to copy, by path: the working tree's (tracked ones and new
    ones git does not ignore), or those of a commit."""
    if revision:
        archive = subprocess.run(["git", "archive", "--format=tar", revision], cwd=ROOT, check=True,
                                 capture_output=True).stdout
        with tarfile.open(fileobj=io.BytesIO(archive)) as tar:
            return {member.name: (tar.extractfile(member).read(), member.mode)
                    for member in tar.getmembers() if member.isfile()}
    listed = subprocess.run(["git", "ls-files", "-co", "--exclude-standard", "-z"], cwd=ROOT, check=True,
                            capture_output=True).stdout.decode().split("\0")
    files = {}
    for name in listed:
        path = os.path.join(ROOT, name)
        if name and os.path.isfile(path):
            with open(path, "rb") as f:
                files[name] = (f.read(), os.stat(path).st_mode)
    return files


def sync_sources(source_dir, revision):
    """Copies the files into source_dir, leaving those that did not change
    untouched, so that a rebuild compiles only what changed; removes what is
    gone."""
    wanted = tree_files(revision)
    for name, (content, mode) in wanted.items():
        copy = os.path.join(source_dir, name)
        if os.path.exists(copy):
            with open(copy, "rb") as f:
                if f.read() == content:
                    continue
        os.makedirs(os.path.dirname(copy), exist_ok=True)
        # A new time stamp, so the build takes the new content.
        with open(copy, "wb") as f:
            f.write(content)
        os.chmod(copy, mode & 0o777)
    for folder, _, files in os.walk(source_dir):
        for name in files:
            relative = os.path.relpath(os.path.join(folder, name), source_dir)
            if relative not in wanted:
                os.remove(os.path.join(folder, name))
    # The page's tests run on the packages scripts/common.sh installed here.
    modules = os.path.join("tests", "web", "node_modules")
    if os.path.isdir(os.path.join(ROOT, modules)) and not os.path.lexists(os.path.join(source_dir, modules)):
        os.symlink(os.path.join(ROOT, modules), os.path.join(source_dir, modules))


def check_hunks(mutations, source_dir):
    """Every text to find must be in its file exactly once, taking the
    earlier replacements of the same fault into account."""
    problems = []
    for mutation in mutations:
        texts = {}
        for hunk in mutation.hunks:
            path = os.path.join(source_dir, hunk.path)
            if hunk.path not in texts:
                if not os.path.isfile(path):
                    problems.append(f"{mutation.id}: no file {hunk.path}")
                    continue
                with open(path, encoding="utf-8") as f:
                    texts[hunk.path] = f.read()
            count = texts[hunk.path].count(hunk.before)
            if count != 1:
                where = "not found" if count == 0 else f"found {count} times"
                problems.append(f"{mutation.id}: text {where} in {hunk.path}:\n{hunk.before}")
                continue
            texts[hunk.path] = texts[hunk.path].replace(hunk.before, hunk.after, 1)
    return problems


class Builds:
    def __init__(self, base, source_dir, jobs):
        self.base = base
        self.source_dir = source_dir
        self.jobs = jobs
        self.configured = set()

    def dir(self, asan):
        return os.path.join(self.base, "build-asan" if asan else "build")

    def configure(self, asan):
        if asan in self.configured:
            return
        options = ["-DCMAKE_BUILD_TYPE=RelWithDebInfo"]
        if shutil.which("ccache"):
            options.append("-DCMAKE_CXX_COMPILER_LAUNCHER=ccache")
        if asan:
            options.append("-DTAVRO_SANITIZE=ON")
        subprocess.run(["cmake", "-S", self.source_dir, "-B", self.dir(asan)] + options, check=True,
                       stdout=subprocess.DEVNULL)
        self.configured.add(asan)

    def build(self, asan, suites):
        self.configure(asan)
        targets = [suite for suite in suites if suite not in NOT_TARGETS] + PROGRAMS
        result = subprocess.run(["cmake", "--build", self.dir(asan), "--parallel", str(self.jobs), "--target"]
                                + sorted(set(targets)), capture_output=True, text=True)
        if result.returncode != 0:
            errors = [line for line in result.stdout.splitlines() if "error" in line]
            return "\n".join(errors[:10]) or result.stdout[-2000:]
        return None


def run_suite(build_dir, suite, timeout, asan):
    """Runs one suite through ctest; returns (passed, failing rows)."""
    environment = dict(os.environ, QT_QPA_PLATFORM="offscreen")
    if asan:
        environment.update(ASAN_OPTIONS="detect_leaks=1:abort_on_error=1",
                           LSAN_OPTIONS=f"suppressions={ROOT}/scripts/lsan.supp:print_suppressions=0",
                           UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1")
    process = subprocess.Popen(["ctest", "-R", f"^{re.escape(suite)}$", "--output-on-failure"], cwd=build_dir,
                               env=environment, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True,
                               errors="replace", start_new_session=True)
    try:
        output, _ = process.communicate(timeout=timeout)
    except subprocess.TimeoutExpired:
        # ctest and the suite it started, and nothing else.
        os.killpg(process.pid, signal.SIGKILL)
        process.communicate()
        return False, ["(time-out)"]
    if "No tests were found" in output:
        fail(f"ctest knows no suite {suite}")
    rows = []
    for line in output.splitlines():
        match = FAIL_LINE.match(line)
        if match and match.group(1) not in rows:
            rows.append(match.group(1))
    passed = process.returncode == 0
    if not passed and not rows:
        rows.append("(crash or failure outside a test function)")
    return passed, rows


def main():
    # Stopped, it still takes its fault out of the copy.
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(143))
    parser = argparse.ArgumentParser(prog="scripts/mutants", description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("ids", nargs="*", help="faults to run, by id or id prefix (default: all)")
    parser.add_argument("--list", action="store_true", help="list the faults and their suites, and stop")
    parser.add_argument("--check", action="store_true",
                        help="only check that every fault's text is in the sources, and stop")
    parser.add_argument("--catalogue", default=CATALOGUE,
                        help="the faults (default: scripts/mutants.txt); suites renamed since a commit need "
                             "that commit's list, as with git show REVISION:scripts/mutants.txt")
    parser.add_argument("--source", metavar="REVISION",
                        help="the sources of this commit (default: the working tree as it is)")
    parser.add_argument("--build-dir", default=os.path.join(ROOT, "build-mutants"))
    parser.add_argument("--results", help="the results file (default: BUILD_DIR/results.tsv)")
    parser.add_argument("--compare", metavar="FILE",
                        help="fail when a fault that FILE has as caught is not caught now")
    parser.add_argument("--first", action="store_true",
                        help="stop at a fault's first failing suite (faster; fewer rows told)")
    parser.add_argument("--timeout", type=int, default=300, help="seconds a suite may take (default 300)")
    parser.add_argument("--jobs", type=int, default=os.cpu_count() or 2)
    parser.add_argument("--no-clean-run", action="store_true",
                        help="skip running the suites once without a fault")
    arguments = parser.parse_args()

    mutations = read_catalogue(arguments.catalogue)
    if arguments.ids:
        mutations = [m for m in mutations if any(m.id == i or m.id.startswith(i) for i in arguments.ids)]
        if not mutations:
            fail("no fault has such an id")
    if arguments.list:
        for m in mutations:
            print(f"{m.id}\t{' '.join(m.suites)}{'  (asan)' if m.asan else ''}\t{m.what}")
        return 0

    source_dir = os.path.join(arguments.build_dir, "src")
    os.makedirs(source_dir, exist_ok=True)
    sync_sources(source_dir, arguments.source)
    problems = check_hunks(mutations, source_dir)
    if problems:
        print("\n".join(problems), file=sys.stderr)
        fail(f"{len(problems)} fault(s) do not fit the sources; mend scripts/mutants.txt")
    if arguments.check:
        print(f"{len(mutations)} faults fit the sources")
        return 0

    builds = Builds(arguments.build_dir, source_dir, arguments.jobs)
    if not arguments.no_clean_run:
        for asan in sorted({m.asan for m in mutations}):
            suites = sorted({s for m in mutations if m.asan == asan for s in m.suites})
            error = builds.build(asan, suites)
            if error:
                fail(f"the sources without a fault do not build:\n{error}")
            for suite in suites:
                passed, rows = run_suite(builds.dir(asan), suite, arguments.timeout, asan)
                print(f"clean run of {suite}{' (asan)' if asan else ''}: {'passed' if passed else 'FAILED'}",
                      flush=True)
                if not passed:
                    fail(f"{suite} fails without a fault: {'; '.join(rows)}")

    results_path = arguments.results or os.path.join(arguments.build_dir, "results.tsv")
    caught_before = None
    if arguments.compare:
        with open(arguments.compare, encoding="utf-8") as f:
            caught_before = {line.split("\t")[0] for line in f if line.split("\t")[1:2] == ["caught"]}
    missed = []
    caught = 0
    gaps = 0
    lost = []
    with open(results_path, "w", encoding="utf-8") as results:
        results.write("id\tresult\tsuites that failed\trows that failed\tseconds\n")
        for number, mutation in enumerate(mutations, 1):
            started = time.monotonic()
            originals = {}
            try:
                for hunk in mutation.hunks:
                    path = os.path.join(source_dir, hunk.path)
                    if path not in originals:
                        with open(path, encoding="utf-8") as f:
                            originals[path] = f.read()
                        current = originals[path]
                    else:
                        with open(path, encoding="utf-8") as f:
                            current = f.read()
                    with open(path, "w", encoding="utf-8") as f:
                        f.write(current.replace(hunk.before, hunk.after, 1))
                error = builds.build(mutation.asan, mutation.suites)
                failed_suites, failed_rows = [], []
                if error:
                    result = "no-build"
                    failed_rows = [error.replace("\n", " | ")]
                else:
                    for suite in mutation.suites:
                        passed, rows = run_suite(builds.dir(mutation.asan), suite, arguments.timeout,
                                                 mutation.asan)
                        if not passed:
                            failed_suites.append(suite)
                            failed_rows += [f"{suite}:{row}" for row in rows]
                            if arguments.first:
                                break
                    result = "caught" if failed_suites else "missed"
            finally:
                for path, text in originals.items():
                    with open(path, "w", encoding="utf-8") as f:
                        f.write(text)
            seconds = time.monotonic() - started
            results.write(f"{mutation.id}\t{result}\t{' '.join(failed_suites)}\t{'; '.join(failed_rows)}\t"
                          f"{seconds:.0f}\n")
            results.flush()
            shown = ", ".join(failed_rows[:4]) + (f" and {len(failed_rows) - 4} more" if len(failed_rows) > 4 else "")
            if result == "missed" and mutation.gap:
                shown = "a known gap: " + mutation.gap
            elif result == "caught" and mutation.gap:
                shown = "caught although listed as missed: take its missed: line out. " + shown
            print(f"[{number}/{len(mutations)}] {mutation.id}: {result.upper()} ({seconds:.0f} s) {shown}",
                  flush=True)
            if result == "caught":
                caught += 1
            elif result == "missed" and mutation.gap:
                gaps += 1
            else:
                missed.append(mutation.id)
                if caught_before is not None and mutation.id in caught_before:
                    lost.append(mutation.id)
    print(f"{caught} of {len(mutations)} faults caught, {gaps} known gap(s) missed; "
          f"results in {results_path}")
    if missed:
        print("not caught: " + " ".join(missed))
    if caught_before is not None:
        if lost:
            print("caught before, not now: " + " ".join(lost))
            return 1
        print("every fault caught before is still caught")
        return 0
    return 1 if missed else 0


if __name__ == "__main__":
    sys.exit(main())
