#!/usr/bin/env python3
"""Start-up and slot calls of the application against the bare toolkit.

Both programs run in turn (application, bare, application, bare, ...) on one
Xvfb with openbox, each with a home of its own kept across its runs (a warm
browser profile, as a person's is), and load bench/channel.html. The page
logs the wall-clock time its first getDeviceID answer came in; start-up is
that time less the moment the process was started. Alternating pairs cancel
most of a loaded machine's drift, so every goal is checked on the median of
the pairwise ratios.

Usage: channelbench.py startup|slots <application> <bare> <pairs> <header>
"""
import json
import math
import shutil
import statistics
import sys
import tempfile
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent.parent / "tests" / "e2e"))
from harness import App, Display  # noqa: E402

PAGE = Path(__file__).resolve().parent / "channel.html"
WARM_UP_PAIRS = 2
CALLS = 2000
GOAL = 1.10


def percentile(values, fraction):
    """Nearest rank."""
    ordered = sorted(values)
    return ordered[max(math.ceil(fraction * len(ordered)), 1) - 1]


def peak_resident_mib(pid):
    for line in Path(f"/proc/{pid}/status").read_text().splitlines():
        if line.startswith("VmHWM:"):
            return int(line.split()[1]) / 1024
    raise AssertionError("no VmHWM")


def processor_ns(pid):
    """Time on a processor so far of the process's main thread and of all its threads."""
    main = total = 0
    for task in Path(f"/proc/{pid}/task").iterdir():
        try:
            spent = int((task / "schedstat").read_text().split()[0])
        except FileNotFoundError:  # a thread that has just ended
            continue
        total += spent
        main += spent if task.name == str(pid) else 0
    return main, total


def load_average():
    return Path("/proc/loadavg").read_text().split()[0]


class Program:
    def __init__(self, name, executable, folder, display, slots):
        self.name, self.executable, self.display = name, executable, display
        self.home = folder / name
        self.slots = slots
        self.runs = []

    def run(self, calls):
        """One process until the page has reported; its figures."""
        # Without calls, both programs load the very same address.
        query = f"calls={calls}&slots={','.join(self.slots)}" if calls else "calls=0"
        url = PAGE.as_uri() + "?" + query
        if self.name == "application":
            # The simulator's trace is a test aid that writes a line per call.
            # Quoted: the store would read the address's commas as a list.
            app = App(self.display, self.home, {"Server": f'"{url}"'}, {"I1SIM_TRACE": ""},
                      self.executable)
        else:
            app = App(self.display, self.home, None, {"I1SIM_TRACE": ""}, self.executable,
                      [url])
        try:
            answered = float(app.wait_for_line("js: BENCH answered ", 60)) / 1000
            figures = {"startup_ms": (answered - app.started_at) * 1000,
                       "peak_mib": peak_resident_mib(app.process.pid)}
            if calls:
                figures["processor_us"] = {slot: self.processor_per_call(app, slot, calls)
                                           for slot in self.slots}
                figures["calls"] = json.loads(app.wait_for_line("js: BENCH calls ", 120))
            app.close_window()
            if app.process.wait(30) != 0:
                raise AssertionError(f"{self.name} ended with {app.process.returncode}")
        finally:
            app.stop()
        return figures

    @staticmethod
    def processor_per_call(app, slot, calls):
        """The browser process's processor time per call of slot, awaited or not, of
        its main thread (where the slot runs) and of all its threads: it does not
        wait for the renderer, so it shows what the program itself adds."""
        app.wait_for_line(f"js: BENCH begin {slot}", 60)
        before = processor_ns(app.process.pid)
        app.wait_for_line(f"js: BENCH end {slot}", 120)
        after = processor_ns(app.process.pid)
        return [(end - start) / 1000 / (2 * calls) for start, end in zip(before, after)]


def alternate(programs, pairs, calls):
    for _ in range(WARM_UP_PAIRS):
        for program in programs:
            program.run(calls)
    for _ in range(pairs):
        for program in programs:
            program.runs.append(program.run(calls))


def verdict(ratio, goal=GOAL):
    return f"(goal: at most {goal:.2f}) {'met' if ratio <= goal else 'MISSED'}"


def pairwise(application, bare, figure):
    return statistics.median(figure(a) / figure(b) for a, b in zip(application.runs, bare.runs))


def report_startup(application, bare):
    print(f"{'':14} {'median':>9} {'min':>9} {'max':>9} {'peak RSS':>10}")
    for program in (application, bare):
        times = [run["startup_ms"] for run in program.runs]
        peak = statistics.median(run["peak_mib"] for run in program.runs)
        print(f"{program.name:14} {statistics.median(times):6.1f} ms {min(times):6.1f} ms "
              f"{max(times):6.1f} ms {peak:6.1f} MiB")
    ratio = pairwise(application, bare, lambda run: run["startup_ms"])
    print(f"start-up ratio, median of the pairwise application/bare ratios: {ratio:.3f} "
          + verdict(ratio))
    growth = statistics.median(a["peak_mib"] - b["peak_mib"]
                               for a, b in zip(application.runs, bare.runs))
    print(f"peak memory of the main process (VmHWM at the answer), median pairwise "
          f"difference: {growth:+.1f} MiB (no goal)")


def slot_figures(program, slot):
    """All awaited call times pooled, and each process's figures."""
    figures = [run["calls"][slot] for run in program.runs]
    pooled = [time for figure in figures for time in figure["awaited"]]
    return pooled, figures


def report_slots(application, bare):
    print(f"{CALLS} calls per process; awaited: each call waits for its answer, times of all "
          f"processes pooled; unawaited: {CALLS} calls fired at once, median total")
    # The page's clock may be coarse (100 us in newer engines); the mean stays exact.
    print(f"{'':26} {'median':>9} {'p99':>9} {'mean':>9} {'unawaited':>10}")
    rows = ((application, "getDeviceID"), (bare, "getDeviceID"), (application, "getIni"))
    for program, slot in rows:
        pooled, figures = slot_figures(program, slot)
        unawaited = statistics.median(figure["unawaited"] for figure in figures)
        print(f"{program.name + ' ' + slot:26} {statistics.median(pooled) * 1000:6.0f} us "
              f"{percentile(pooled, 0.99) * 1000:6.0f} us {statistics.mean(pooled) * 1000:6.0f} us "
              f"{unawaited:7.1f} ms")

    def median_call(slot):
        return lambda run: statistics.median(run["calls"][slot]["awaited"])

    def p99_call(run):
        return percentile(run["calls"]["getDeviceID"]["awaited"], 0.99)

    def mean_call(run):
        return statistics.mean(run["calls"]["getDeviceID"]["awaited"])

    step = max(run["calls"]["clockStep"] for run in application.runs + bare.runs) * 1000
    median = pairwise(application, bare, median_call("getDeviceID"))
    mean = pairwise(application, bare, mean_call)
    # A clock coarser than a tenth of a call rounds the medians; the means stay exact.
    fine = step <= 10
    print(f"the page's clock steps by {step:.0f} us"
          + ("" if fine else ", too coarse for medians: the goal holds for the means"))
    print(f"awaited getDeviceID, median of the pairwise ratios of the process medians: "
          f"{median:.3f} " + (verdict(median) if fine else "(no goal)"))
    print(f"  of the means: {mean:.3f} " + ("(no goal)" if fine else verdict(mean)))
    print(f"  of the 99th percentiles: {pairwise(application, bare, p99_call):.3f} (no goal)")
    unawaited = pairwise(application, bare, lambda run: run["calls"]["getDeviceID"]["unawaited"])
    print(f"  of the unawaited totals: {unawaited:.3f} (no goal)")
    def processor(slot, part):
        return lambda run: run["processor_us"][slot][part]

    for part, name in enumerate(("main thread", "all its threads")):
        figure = processor("getDeviceID", part)
        print(f"processor time of the browser process per getDeviceID call, {name}, medians: "
              f"application {statistics.median(map(figure, application.runs)):.1f} us, bare "
              f"{statistics.median(map(figure, bare.runs)):.1f} us, pairwise ratio "
              f"{pairwise(application, bare, figure):.3f} (no goal)")
    ini_cost = statistics.median(median_call("getIni")(run) - median_call("getDeviceID")(run)
                                 for run in application.runs)
    print(f"getIni, a fresh settings store per call: {ini_cost * 1000:.0f} us per call more than "
          f"getDeviceID (median of the per-process differences; no goal); processor time "
          f"{statistics.median(map(processor('getIni', 1), application.runs)):.1f} us per call")


def main():
    mode, application_executable, bare_executable, pairs, header = sys.argv[1:6]
    pairs = int(pairs)
    folder = Path(tempfile.mkdtemp(prefix="vantrelnut-bench-"))
    display = Display()
    try:
        # getIni exists in the application only; timed after getDeviceID, in
        # the same processes.
        application = Program("application", application_executable, folder, display,
                              ("getDeviceID", "getIni"))
        bare = Program("bare", bare_executable, folder, display, ("getDeviceID",))
        if mode == "startup":
            title = "Start-up, process start to the page's first slot answer"
            alternate((application, bare), pairs, 0)
        else:
            title = "Slot round trip from the page"
            alternate((application, bare), pairs, CALLS)
        print(f"{title}: {pairs} pairs after {WARM_UP_PAIRS} warm-up pairs, alternating "
              f"application and bare; {header}, {load_average()} at the end")
        (report_startup if mode == "startup" else report_slots)(application, bare)
    finally:
        display.close()
        shutil.rmtree(folder, ignore_errors=True)


if __name__ == "__main__":
    main()
