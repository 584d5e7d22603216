#!/usr/bin/env python3
"""Watches the real saver, tessary.scr /s, under Wine from the outside.

  saver_watch.py startup SCR PROBE [--runs=5] [--cpu-seconds=10] [--xvfb-pid=PID]
      Start-up time: from starting the saver to the first frame with digits
      on the X screen (read back with XGetImage), on a warm Wine: after one
      unmeasured run, and with the virtual desktop kept up meanwhile by
      PROBE (a Windows program) as a session's desktop is. Then the CPU time
      the saver's Wine process (and, for comparison, the wineserver and
      Xvfb) uses per second of show.
  saver_watch.py soak SCR PROBE --minutes=M
      Runs the saver for M minutes and samples once a minute its memory (RSS
      of its Wine process), its handles and its GDI objects (PROBE, a Windows
      program, reads them inside Wine); prints the samples and whether they
      stayed flat.

Runs in the environment of scripts/wine-env (WINEPREFIX, DISPLAY, Wine's
default virtual desktop). Ends every saver it starts: with mouse clicks, as
a user would, or by its process id when it does not react.
"""
import ctypes
import ctypes.util
import os
import statistics
import subprocess
import sys
import time

CLOCK_TICKS = os.sysconf("SC_CLK_TCK")
# The Wine loader this host runs (scripts/host-env).
WINE = os.environ.get("TESSARY_WINE", "wine")
# The saver's screen is the top-left 640 x 480 of the X screen (the virtual
# desktop shrinks to the saver's mode there).
AREA = (0, 0, 640, 480)
# A frame of the saver is black with digits on it: at least a few digits'
# worth of lit bytes, and at least half of the pixels black. Neither the
# saver's empty black window nor Wine's plain blue desktop passes.
LIT_BYTES = 500
BLACK_SHARE = 0.5


class Screen:
    """Reads pixels of the X screen through Xlib."""

    class XImage(ctypes.Structure):
        _fields_ = [("width", ctypes.c_int), ("height", ctypes.c_int),
                    ("xoffset", ctypes.c_int), ("format", ctypes.c_int),
                    ("data", ctypes.c_void_p), ("byte_order", ctypes.c_int),
                    ("bitmap_unit", ctypes.c_int), ("bitmap_bit_order", ctypes.c_int),
                    ("bitmap_pad", ctypes.c_int), ("depth", ctypes.c_int),
                    ("bytes_per_line", ctypes.c_int), ("bits_per_pixel", ctypes.c_int)]

    def __init__(self):
        self.x = ctypes.cdll.LoadLibrary(ctypes.util.find_library("X11") or "libX11.so.6")
        self.x.XOpenDisplay.restype = ctypes.c_void_p
        self.x.XOpenDisplay.argtypes = [ctypes.c_char_p]
        self.x.XDefaultRootWindow.restype = ctypes.c_ulong
        self.x.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
        self.x.XGetImage.restype = ctypes.POINTER(Screen.XImage)
        self.x.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int,
                                     ctypes.c_uint, ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]
        self.x.XDestroyImage.argtypes = [ctypes.POINTER(Screen.XImage)]
        self.display = self.x.XOpenDisplay(None)
        if not self.display:
            sys.exit("saver_watch: cannot open the X display")
        self.root = self.x.XDefaultRootWindow(self.display)

    def grab(self):
        """The pixels of the saver's area, and the bytes of one pixel."""
        left, top, width, height = AREA
        image = self.x.XGetImage(self.display, self.root, left, top, width, height,
                                 ctypes.c_ulong(-1).value, 2)  # all planes, ZPixmap
        if not image:
            return b"", 0
        size = image.contents.bytes_per_line * image.contents.height
        data = bytearray(ctypes.string_at(image.contents.data, size))
        pixel_bytes, depth = image.contents.bits_per_pixel // 8, image.contents.depth
        self.x.XDestroyImage(image)
        if pixel_bytes == 4 and depth == 24:
            # Only the colour bytes: 64-bit Wine fills the fourth one as well.
            data[3::4] = bytes(len(data) // 4)
        return bytes(data), pixel_bytes

    @staticmethod
    def is_frame(picture):
        """Whether a grabbed picture looks like a frame of the saver."""
        data, pixel_bytes = picture
        if not data or pixel_bytes == 0:
            return False
        lit = len(data) - data.count(0)
        black = data.count(bytes(pixel_bytes))
        return lit >= LIT_BYTES and black >= BLACK_SHARE * AREA[2] * AREA[3]


def cpu_seconds(pid):
    """User and system CPU time of a process so far, in seconds; None when gone."""
    try:
        with open(f"/proc/{pid}/stat") as f:
            fields = f.read().rsplit(")", 1)[1].split()
    except OSError:
        return None
    return (int(fields[11]) + int(fields[12])) / CLOCK_TICKS


def rss_mib(pid):
    try:
        with open(f"/proc/{pid}/status") as f:
            for line in f:
                if line.startswith("VmRSS:"):
                    return int(line.split()[1]) / 1024
    except OSError:
        pass
    return None


def wineserver_pid():
    """The wineserver of this WINEPREFIX."""
    prefix = ("WINEPREFIX=" + os.environ["WINEPREFIX"]).encode()
    for entry in os.listdir("/proc"):
        if not entry.isdigit():
            continue
        try:
            with open(f"/proc/{entry}/cmdline", "rb") as f:
                name = os.path.basename(f.read().split(b"\0")[0])
            with open(f"/proc/{entry}/environ", "rb") as f:
                env = f.read().split(b"\0")
        except OSError:
            continue
        if name.startswith(b"wineserver") and prefix in env:
            return int(entry)
    return None


class Saver:
    """One run of tessary.scr /s from its own folder."""

    def __init__(self, scr):
        self.started = time.monotonic()
        self.process = subprocess.Popen([WINE, os.path.basename(scr), "/s"],
                                        cwd=os.path.dirname(scr), stdin=subprocess.DEVNULL,
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        # The wine launcher execs the loader, which runs the program in this
        # same process.
        self.pid = self.process.pid

    def wait_first_frame(self, screen, before, timeout=15.0):
        """Seconds from the start to the first frame with digits; None if none
        came. `before` is the picture from before the start: the last frame
        of an earlier run can stay on the screen of a desktop that is kept
        up, and does not count."""
        while time.monotonic() - self.started < timeout:
            if self.process.poll() is not None:
                return None
            picture = screen.grab()
            if picture[0] != before[0] and Screen.is_frame(picture):
                return time.monotonic() - self.started
            time.sleep(0.02)  # a poll costs the X server and us a few ms
        return None

    def running(self):
        return self.process.poll() is None

    def end(self):
        """Clicks until the saver has gone (its black hole takes two timer
        ticks); ends its process when it does not react."""
        deadline = time.monotonic() + 15
        while self.running() and time.monotonic() < deadline:
            subprocess.run(["xdotool", "mousemove", "300", "300", "click", "1"],
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            try:
                self.process.wait(timeout=1.5)
            except subprocess.TimeoutExpired:
                pass
        if self.running():
            self.process.terminate()
            self.process.wait()
            print("  (the saver did not react to clicks; its process was ended)")


def hold_desktop(probe):
    """Starts PROBE hold, which keeps Wine's virtual desktop up; the process."""
    holder = subprocess.Popen([WINE, probe, "hold"], stdin=subprocess.DEVNULL,
                              stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
    holder.stdout.readline()  # "holding": it has joined the desktop
    return holder


def startup(scr, probe, runs, cpu_window, xvfb_pid):
    screen = Screen()
    holder = hold_desktop(probe)
    print("== start-up: 'tessary.scr /s' to its first frame on the screen (warm Wine,"
          " desktop up)")
    times = []
    for run in range(runs + 1):
        before = screen.grab()
        saver = Saver(scr)
        seconds = saver.wait_first_frame(screen, before)
        label = "warm-up run" if run == 0 else f"run {run}"
        if seconds is None:
            print(f"  {label}: no frame within 15 s")
        else:
            print(f"  {label}: first frame after {seconds:.3f} s")
            if run > 0:
                times.append(seconds)
        cpu = None
        if run == runs and seconds is not None:
            cpu = measure_cpu(saver, cpu_window, xvfb_pid)
        saver.end()
        time.sleep(1.0)  # the desktop back in its mode, Wine idle again
    holder.terminate()
    holder.wait()
    if times:
        print(f"  start-up: median {statistics.median(times):.3f} s, "
              f"slowest {max(times):.3f} s of {len(times)} runs (goal: under 1 s)")
    if cpu:
        print(f"== CPU time per second of show ({cpu_window:.0f} s of the last run)")
        print("\n".join(cpu))
    return 0 if len(times) == runs else 1


def measure_cpu(saver, seconds, xvfb_pid):
    """Lines of the CPU report: CPU seconds per second of show of the saver's
    Wine process, the wineserver and Xvfb."""
    time.sleep(1.0)  # past the first frames
    others = {"wineserver": wineserver_pid(), "Xvfb": xvfb_pid}
    names = {"tessary.scr (its Wine process)": saver.pid, **others}
    before = {name: cpu_seconds(pid) for name, pid in names.items() if pid}
    start = time.monotonic()
    time.sleep(seconds)
    elapsed = time.monotonic() - start
    lines = []
    for name, pid in names.items():
        after = cpu_seconds(pid) if pid else None
        if after is None or before.get(name) is None:
            lines.append(f"  {name:32s} not measured")
        else:
            share = (after - before[name]) / elapsed
            lines.append(f"  {name:32s} {share:5.2f} s per second")
    return lines


def probe_counts(probe):
    """handles, handle-count, gdi, user of the running saver, from PROBE."""
    out = subprocess.run([WINE, probe], capture_output=True, text=True, timeout=60).stdout
    values = dict(part.split("=") for part in out.split() if "=" in part)
    return {k: int(v) for k, v in values.items()}


def soak(scr, probe, minutes):
    screen = Screen()
    before = screen.grab()
    unit = "minute" if minutes == 1 else "minutes"
    print(f"== soak: 'tessary.scr /s' for {minutes} {unit}, one sample a minute")
    saver = Saver(scr)
    if saver.wait_first_frame(screen, before) is None:
        print("  the saver showed no frame")
        saver.end()
        return 1
    cpu_start, wall_start = cpu_seconds(saver.pid), time.monotonic()
    print(" minute  RSS (MiB)  handles  GDI objects  (GetProcessHandleCount, USER objects)")
    samples = []
    for minute in range(minutes + 1):
        if minute > 0:
            time.sleep(max(0.0, wall_start + 60 * minute - time.monotonic()))
        if not saver.running():
            print(f"  the saver ended before minute {minute}")
            break
        counts = probe_counts(probe)
        rss = rss_mib(saver.pid)
        samples.append((minute, rss, counts.get("handles", -1), counts.get("gdi", -1)))
        print(f" {minute:6d} {rss:10.1f} {counts.get('handles', -1):8d} {counts.get('gdi', -1):12d}"
              f"  ({counts.get('handle-count', -1)}, {counts.get('user', -1)})", flush=True)
    cpu_end, wall_end = cpu_seconds(saver.pid), time.monotonic()
    saver.end()
    if cpu_start is not None and cpu_end is not None:
        print(f"  CPU: {(cpu_end - cpu_start) / (wall_end - wall_start):.2f} s per second of show")
    if all(s[3] == 0 for s in samples):
        print("  GDI objects: Wine reports 0 (GetGuiResources answers 0 there, as does"
              " GetProcessHandleCount); handles come from the system handle list")
    return verdict(samples, minutes)


def verdict(samples, minutes):
    """Flat: from minute 1 on (minute 0 is start-up), the least-squares trend
    of the RSS grows by less than 2 MiB over the run, and the handles and GDI
    objects of the last sample are within 2 of minute 1's. A trend, not the
    last sample alone, because the RSS moves up and down by about a MiB from
    minute to minute."""
    if len(samples) < minutes + 1 or len(samples) < 2:
        print("  flat: no (the run did not last)")
        return 1
    window = samples[1:] if len(samples) > 2 else samples
    xs, ys = [s[0] for s in window], [s[1] for s in window]
    mean_x, mean_y = statistics.mean(xs), statistics.mean(ys)
    slope = (sum((x - mean_x) * (y - mean_y) for x, y in zip(xs, ys)) /
             sum((x - mean_x) ** 2 for x in xs))
    growth = slope * (xs[-1] - xs[0])
    base, last = window[0], window[-1]
    handles_growth, gdi_growth = last[2] - base[2], last[3] - base[3]
    flat = growth < 2.0 and handles_growth <= 2 and gdi_growth <= 2
    print(f"  minute {base[0]} to {last[0]}: RSS between {min(ys):.1f} and {max(ys):.1f} MiB,"
          f" trend {1024 * slope:+.0f} KiB a minute ({growth:+.2f} MiB over the run);"
          f" handles {handles_growth:+d}, GDI objects {gdi_growth:+d}")
    print("  flat (RSS trend under 2 MiB over the run, handles and GDI objects within 2):"
          f" {'yes' if flat else 'no'}")
    return 0 if flat else 1


def main(argv):
    options = {a.split("=", 1)[0]: a.split("=", 1)[1] for a in argv if a.startswith("--")}
    words = [a for a in argv if not a.startswith("--")]
    if len(words) >= 3 and words[0] == "startup":
        return startup(os.path.abspath(words[1]), words[2], int(options.get("--runs", 5)),
                       float(options.get("--cpu-seconds", 10)),
                       int(options["--xvfb-pid"]) if "--xvfb-pid" in options else None)
    if len(words) >= 3 and words[0] == "soak" and "--minutes" in options:
        return soak(os.path.abspath(words[1]), words[2], int(options["--minutes"]))
    print(__doc__, file=sys.stderr)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
