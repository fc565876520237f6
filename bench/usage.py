"""What the kernel has counted for a process: CPU time (utime + stime, all
threads) and peak resident memory (VmHWM), read from /proc."""

import os
from dataclasses import dataclass
from pathlib import Path

TICKS_PER_SECOND = os.sysconf("SC_CLK_TCK")


def parse_stat(text):
    """(command, parent pid, CPU seconds) from the text of /proc/PID/stat.

    The command sits in parentheses and may itself hold spaces and
    parentheses, so the fields are counted from the last ')'."""
    open_paren, close_paren = text.index("("), text.rindex(")")
    command = text[open_paren + 1:close_paren]
    fields = text[close_paren + 2:].split()
    # fields[0] is field 3 (state): ppid is field 4, utime 14, stime 15.
    parent = int(fields[1])
    ticks = int(fields[11]) + int(fields[12])
    return command, parent, ticks / TICKS_PER_SECOND


def parse_status_bytes(status_text, field):
    """A kB field (VmHWM, VmRSS) of the text of /proc/PID/status, in bytes."""
    for line in status_text.splitlines():
        if line.startswith(field + ":"):
            value, unit = line.split()[1:3]
            if unit != "kB":
                raise ValueError(f"unexpected {field} unit {unit}")
            return int(value) * 1024
    raise ValueError(f"no {field} line")


def cpu_seconds(pid):
    return parse_stat(Path(f"/proc/{pid}/stat").read_text())[2]


def peak_rss(pid):
    return parse_status_bytes(Path(f"/proc/{pid}/status").read_text(), "VmHWM")


def resident(pid):
    return parse_status_bytes(Path(f"/proc/{pid}/status").read_text(), "VmRSS")


def children_by_command(parent):
    """{command: pid} of the running children of a process."""
    found = {}
    for entry in Path("/proc").iterdir():
        if not entry.name.isdigit():
            continue
        try:
            command, ppid, _ = parse_stat((entry / "stat").read_text())
        except (OSError, ValueError):
            continue  # gone while we looked
        if ppid == parent:
            found[command] = int(entry.name)
    return found


@dataclass
class Spent:
    """CPU seconds each watched process spent over one stretch of wall time."""
    seconds: float
    cpu: dict

    def percent_of_core(self, name):
        return 100.0 * self.cpu[name] / self.seconds


class CpuMeter:
    """Takes CPU readings of named processes at the start and end of a window."""

    def __init__(self, pids, clock):
        self._pids = dict(pids)
        self._clock = clock
        self._start = None

    def start(self):
        self._start = (self._clock(), {n: cpu_seconds(p) for n, p in self._pids.items()})

    def stop(self):
        started, before = self._start
        after = {n: cpu_seconds(p) for n, p in self._pids.items()}
        return Spent(self._clock() - started, {n: after[n] - before[n] for n in after})
