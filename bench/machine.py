"""The machine a result was measured on, and the file the result goes to."""

import datetime
import os
import platform
import subprocess
from pathlib import Path


def load_average():
    """The 1-minute load average."""
    return float(Path("/proc/loadavg").read_text().split()[0])


def cpu_model(cpuinfo_text):
    for line in cpuinfo_text.splitlines():
        key, _, value = line.partition(":")
        if key.strip() == "model name":
            return value.strip()
    return "unknown CPU"


def package_version(name):
    result = subprocess.run(["dpkg-query", "-W", "-f", "${Version}", name],
                            capture_output=True, text=True)
    return result.stdout.strip() if result.returncode == 0 else "unknown"


def notes(seconds, pet_startup, oneko_startup, alone, load_before, load_after):
    now = datetime.datetime.now(datetime.timezone.utc).strftime("%Y-%m-%d %H:%M UTC")
    debian = Path("/etc/debian_version")
    system = f"Debian {debian.read_text().strip()}" if debian.exists() else platform.system()
    return [
        f"Measured {now} on {os.cpu_count()} × {cpu_model(Path('/proc/cpuinfo').read_text())}, "
        f"{system}, kernel {platform.release()}, Qt {package_version('libqt6core6')}.",
        f"Xvfb 1440×900 + openbox + picom (xrender) + tint2; {seconds:g} s per window; "
        "CPU is utime + stime from /proc/PID/stat over the window, RSS is VmHWM.",
        f"Start-up spread (ms): Glugmo {min(pet_startup):.0f}–{max(pet_startup):.0f}, "
        f"oneko {min(oneko_startup):.0f}–{max(oneko_startup):.0f}.",
        f"The desktop alone, with neither program: X server {alone[0]:.2f} % + "
        f"compositor {alone[1]:.2f} % of one core.",
        f"1-minute load average {load_before:.2f} before, {load_after:.2f} after.",
    ]


PREVIOUS = "\n## The run before\n"


def document(table, notes, previous=None):
    """The result; `previous` is the file it replaces, whose own results
    (without their earlier run) follow as the figures before."""
    text = "# Glugmo against oneko\n\n" + table + "\n\n" + "\n".join(f"- {n}" for n in notes) + "\n"
    if previous:
        body = previous.split(PREVIOUS)[0].split("\n", 2)[2]
        text += PREVIOUS + "\n" + body
    return text
