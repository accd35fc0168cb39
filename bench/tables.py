#!/usr/bin/env python3
"""Writes the tables of bench/RESULTS.md from the results files bench/run.sh saved under bench/results/.

Each generated table sits between a line `<!-- table KIND FILE... -->` and `<!-- end table -->`; the files are
results files (key: value lines), read in order, later ones overriding earlier ones.
  python3 bench/tables.py           rewrites the tables in place
  python3 bench/tables.py --check   fails, showing the difference, when a table is not what its files give
"""
import difflib
import re
import sys
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
RESULTS = ROOT / "bench" / "RESULTS.md"
BLOCK = re.compile(r"^<!-- table (\S+) (.+?) -->\n.*?^<!-- end table -->\n", re.M | re.S)
EVENTS = ("destroyed", "created", "activated", "retitled")


def figures(files):
    out = {}
    for name in files:
        for line in (ROOT / name).read_text().splitlines():
            key, sep, value = line.partition(": ")
            if sep and not key.startswith(" "):
                out[key.strip()] = value.strip()
    return out


def num(f, key):
    return float(f[key])


def ms(us):
    return f"{us / 1000:.2f} ms"


def row(*cells):
    return "| " + " | ".join(str(c) for c in cells) + " |"


def sizes(f):
    return sorted({int(k.split(".")[1]) for k in f if re.match(r"events\.\d+\.per_event_us$", k)})


def source(f):
    return f"Run of {f.get('date', '?')} at commit {f.get('commit', '?')}; {f.get('machine', '?')}; load {f.get('load', '?')}."


def spread(f, key, show):
    """The figure, with the least and the most of its repetitions where the file has them."""
    if key + "_min" not in f:
        return show(num(f, key))
    bare = (lambda us: f"{us / 1000:.2f}") if show is ms else show
    return f"{show(num(f, key))} ({bare(num(f, key + '_min'))} – {bare(num(f, key + '_max'))})"


def two(x):
    return f"{x:.2f}"


def repeated(f):
    n = f.get("events.repetitions")
    return [f"Medians of {n} repetitions, the least and the most in brackets; the lengths were interleaved, all "
            f"{f.get('events.windows_existing')} windows existed throughout.", ""] if n else []


def events(f):
    lines = [source(f), ""] + repeated(f)
    lines += [row("Tracked windows", "per event", "round trip", "ratio", *EVENTS), "|---" * 8 + "|"]
    for n in sizes(f):
        p = f"events.{n}."
        lines.append(row(n, spread(f, p + "per_event_us", ms), spread(f, p + "round_trip_us", ms),
                         spread(f, p + "ratio", two), *(ms(num(f, p + e + "_us")) for e in EVENTS)))
    return lines


def work(f):
    lines = [row("Tracked windows", "event", "tool tip messages", "buttons painted", "entries visited",
                 "share painting"), "|---" * 6 + "|"]
    for n in sizes(f):
        for e in EVENTS:
            counts = re.findall(r"[\d.]+", f[f"events.{n}.{e}_work"])
            share = num(f, f"events.{n}.{e}_paint_share")
            lines.append(row(n, e, *counts, f"{100 * share:.0f} %"))
    return lines


def split(f):
    """Where an event's time goes: the bar's handling, the bar's paint, and the rest (the forced repaint's
    round trip and what the system does around it)."""
    lines = [row("Tracked windows", "event", "whole", "handling", "bar's paint", "rest"), "|---" * 6 + "|"]
    for n in sizes(f):
        for e in ("activated", "retitled"):
            p = f"events.{n}.{e}_"
            whole, handling, paint = num(f, p + "us"), num(f, p + "handling_us"), num(f, p + "bar_paint_us")
            lines.append(row(n, e, ms(whole), ms(handling), ms(paint), ms(whole - handling - paint)))
    return lines


def within(f, key, limit, strict=False):
    each = [float(x) for x in f.get(key + "_each", "").split()]
    met = sum(x < limit if strict else x <= limit for x in each)
    return f"{met} of {len(each)}" if each else ""


def flatness(f):
    if "events.flat.activated.ratio" not in f:
        lines = [row("Event", "at 10 windows", "at 1000 windows", "1000 / 10"), "|---" * 4 + "|"]
        for e in ("activated", "retitled"):
            a, b = num(f, f"events.10.{e}_us"), num(f, f"events.1000.{e}_us")
            lines.append(row(e, ms(a), ms(b), f"{b / a:.2f}"))
        return lines
    lines = [row("Event", "at 10 windows", "at 1000 windows", "1000 / 10", "in round trips",
                 "repetitions within 1.25 (in round trips)", "the bar's own"), "|---" * 7 + "|"]
    for e in ("activated", "retitled"):
        p = f"events.flat.{e}."
        lines.append(row(e, ms(num(f, f"events.10.{e}_us")), ms(num(f, f"events.1000.{e}_us")),
                         spread(f, p + "ratio", two), spread(f, p + "ratio_round_trips", two),
                         within(f, p + "ratio_round_trips", 1.25), spread(f, p + "ratio_bar", two)))
    return lines


def startup(f):
    b, m, a = num(f, "startup.bar_ms"), num(f, "startup.minimal_ms"), num(f, "startup.appbar_ms")
    return [source(f), "", row("Program", "start to shown (median)", "bar / this"), "|---" * 3 + "|",
            row("minimal window program", f"{m:.0f} ms", f"{b / m:.2f}"),
            row("minimal appbar program", f"{a:.0f} ms", f"{b / a:.2f}"),
            row("bar, docked", f"{b:.0f} ms", "")]


def memory(f):
    lines = [source(f), "", row("", "working set", "private bytes", "vs window program", "vs appbar program"),
             "|---" * 5 + "|"]
    base = {"minimal": "minimal window program", "appbar": "minimal appbar program"}
    for k, label in base.items():
        lines.append(row(label, f"{int(f[f'memory.{k}.working_set_kb']):,} KB",
                         f"{int(f[f'memory.{k}.private_kb']):,} KB", "", ""))
    for n in (0, 200):
        p = f"memory.bar_{n}_windows."
        lines.append(row(f"bar, {n} windows", f"{int(f[p + 'working_set_kb']):,} KB", f"{int(f[p + 'private_kb']):,} KB",
                         f"{num(f, p + 'ratio_working_set'):.2f} × / {num(f, p + 'ratio_private'):.2f} ×",
                         f"{num(f, p + 'ratio_appbar_working_set'):.2f} × / {num(f, p + 'ratio_appbar_private'):.2f} ×"))
    return lines


def repetitions(f, key, limit, strict=False):
    """How many repetitions met the goal, where the file has each."""
    n = within(f, key, limit, strict)
    return f"; median of {n.split()[-1]} repetitions, {n.split()[0]} within the goal" if n else ""


def yes(ok):
    return "yes" if ok else "no"


def summary(f):
    lines = [row("Benchmark", "Goal", "Measured", "Met"), "|---" * 4 + "|"]
    if "events.200.ratio" in f:
        r = num(f, "events.200.ratio")
        lines.append(row("Event cost at 200 windows", "under 4 round trips per event",
                         f"{ms(num(f, 'events.200.per_event_us'))} per event, "
                         f"{spread(f, 'events.200.ratio', two)} round trips{repetitions(f, 'events.200.ratio', 4, True)}",
                         yes(r < 4)))
    if "events.flat.activated.ratio" in f:
        # Judged by the bar's own part (its handling and the paint it timed): the rest of an event, the round trips
        # and Wine's repaint, is the same at both lengths and carries the noise of a loaded machine.
        worst = max(("activated", "retitled"), key=lambda e: num(f, f"events.flat.{e}.ratio_bar"))
        key = f"events.flat.{worst}.ratio_bar"
        whole = max(num(f, f"events.flat.{e}.ratio_round_trips") for e in ("activated", "retitled"))
        lines.append(row("Activation and retitling, 1000 against 10 windows", "at most 1.25 ×",
                         f"the bar's own part {spread(f, key, two)} × ({worst}, the dearer of the two)"
                         f"{repetitions(f, key, 1.25)}; the whole event {whole:.2f} × in round trips",
                         yes(num(f, key) <= 1.25)))
    elif "events.1000.activated_us" in f:
        worst = max(num(f, f"events.1000.{e}_us") / num(f, f"events.10.{e}_us") for e in ("activated", "retitled"))
        lines.append(row("Activation and retitling, 1000 against 10 windows", "at most 1.25 ×",
                         f"{worst:.2f} × (the dearer of the two)", yes(worst <= 1.25)))
    if "idle.timer_messages" in f:
        counts = [int(f[f"idle.{k}_messages"]) for k in ("timer", "posted", "sent")]
        worker = int(f.get("idle.worker_messages", 0))
        own = (f"; {worker} of them caused by a window of the bar's own server-message worker "
               f"({f['idle.message_list']})") if worker else ""
        lines.append(row(f"Idle, {f['idle.seconds']} s, {f['idle.tracked_windows']} windows",
                         "no timers, no CPU beyond noise",
                         f"{counts[0]} timer, {counts[1]} posted, {counts[2]} sent messages{own}; "
                         f"{num(f, 'idle.cpu_ms'):.0f} ms CPU against "
                         f"{num(f, 'idle.minimal_cpu_ms'):.0f} ms of the idle minimal program",
                         yes(sum(counts) - worker == 0)))
    if "memory.bar_200_windows.ratio_working_set" in f:
        for what, key in (("working set", "working_set"), ("private bytes", "private")):
            r = max(num(f, f"memory.bar_{n}_windows.ratio_{key}") for n in (0, 200))
            a = max(num(f, f"memory.bar_{n}_windows.ratio_appbar_{key}") for n in (0, 200))
            lines.append(row(f"Memory, {what}", "at most 1.5 × the minimal window program",
                             f"{r:.2f} × ({a:.2f} × the minimal appbar program)", yes(r <= 1.5)))
    if "startup.ratio_appbar" in f:
        a, m = num(f, "startup.ratio_appbar"), num(f, "startup.ratio")
        lines.append(row("Start-up to docked", "at most 1.25 × the minimal appbar program",
                         f"{num(f, 'startup.bar_ms'):.0f} ms: {a:.2f} × ({m:.2f} × the minimal window program)",
                         yes(a <= 1.25)))
    if "monitors.events.200.ratio" in f:
        r = num(f, "monitors.events.200.ratio")
        lines.append(row("Event cost at 200 windows over two monitors, a bar on each", "under 4 round trips per event",
                         f"{ms(num(f, 'monitors.events.200.per_event_us'))} per event, "
                         f"{spread(f, 'monitors.events.200.ratio', two)} round trips"
                         f"{repetitions(f, 'monitors.events.200.ratio', 4, True)}", yes(r < 4)))
    if "size.i686.total_kb" in f:
        kb = int(f["size.i686.total_kb"])
        lines.append(row("Size, i686, all four files", "under 600 KB", f"{kb} KB", yes(kb < 600)))
    return lines


def desktop(f):
    lines = [row("Event", "1000 windows on the desktop / 10", "the same in round trips"), "|---" * 3 + "|"]
    for e in ("activated", "retitled", "round_trip"):
        p = f"events.desktop.{e}."
        label = "bare round trip" if e == "round_trip" else e
        lines.append(row(label, spread(f, p + "ratio", two),
                         spread(f, p + "ratio_round_trips", two) if p + "ratio_round_trips" in f else ""))
    return lines


def monitors(f):
    p = "monitors.events.200."
    lines = [source(f), "", row("at 200 windows", "per event", "round trip", "ratio", *EVENTS), "|---" * 8 + "|"]
    lines.append(row("two bars", spread(f, p + "per_event_us", ms), spread(f, p + "round_trip_us", ms),
                     spread(f, p + "ratio", two), *(ms(num(f, f"{p}{e}_us")) for e in EVENTS)))
    lines.append(row("the bars' handling", "", "", "", *(ms(num(f, f"{p}{e}_handling_us")) for e in EVENTS)))
    lines.append(row("work", "", "", "", *(f[f"{p}{e}_work"] for e in EVENTS)))
    if "monitors.startup.ratio" in f:
        lines += ["", f"Start-up to docked: one bar {num(f, 'monitors.startup.one_bar_ms'):.0f} ms, two bars "
                      f"{num(f, 'monitors.startup.two_bars_ms'):.0f} ms ({num(f, 'monitors.startup.ratio'):.2f} ×), "
                      f"medians of {f.get('monitors.startup.runs', '?')} runs."]
    return lines


TABLES = {"summary": summary, "events": events, "work": work, "split": split, "flatness": flatness, "desktop": desktop,
          "startup": startup, "memory": memory,
          "monitors": monitors}


def generate(text):
    def replace(m):
        kind, files = m.group(1), m.group(2).split()
        body = TABLES[kind](figures(files))
        return m.group(0).split("\n", 1)[0] + "\n" + "\n".join(body) + "\n<!-- end table -->\n"
    return BLOCK.sub(replace, text)


def main():
    text = RESULTS.read_text()
    made = generate(text)
    if "--check" in sys.argv:
        if made != text:
            sys.stdout.writelines(difflib.unified_diff(text.splitlines(True), made.splitlines(True),
                                                       "bench/RESULTS.md", "from bench/results/"))
            print("bench/RESULTS.md differs from the tables its results files give (python3 bench/tables.py)")
            return 1
        return 0
    RESULTS.write_text(made)
    return 0


if __name__ == "__main__":
    sys.exit(main())
