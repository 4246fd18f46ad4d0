#!/usr/bin/env python3
"""Start-up benchmark: time from launching the program to its main window shown on a
real X server, with and without the splash window.

    bench/startup.py [--program build/orvalis] [--display :16] [--runs 11]

Starts Xvfb on the display unless one already answers there. Each run launches the
program with ORVALIS_STARTUP_PROBE set: the program notes the monotonic clock when the
main window is first exposed and again once that first paint is done, writes both to
a file and quits. The clock read just before the launch is the start. Every run uses
throw-away settings (the user's stay untouched) and a fresh empty start, and one
discarded run warms the file cache first. Prints the median and the spread of each
figure for both starts, and the processor time the program used until painted (the
steadier figure on a loaded machine)."""
import argparse, os, shutil, statistics, subprocess, sys, tempfile, time


def display_answers(display):
    return subprocess.run(["xdpyinfo", "-display", display], stdout=subprocess.DEVNULL,
                          stderr=subprocess.DEVNULL).returncode == 0


def one_run(program, args, env, work):
    probe = os.path.join(work, "probe.txt")
    if os.path.exists(probe):
        os.remove(probe)
    shutil.rmtree(os.path.join(work, "config"), ignore_errors=True)
    run_env = dict(env, ORVALIS_STARTUP_PROBE=probe)
    launched = time.clock_gettime_ns(time.CLOCK_MONOTONIC)
    proc = subprocess.Popen([program, *args], env=run_env, cwd=work,
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        proc.wait(timeout=30)
    except subprocess.TimeoutExpired:
        proc.kill()
        proc.wait()
        sys.exit("the program did not show its main window within 30 s")
    with open(probe) as f:
        started, exposed, painted, cpu = (int(v) for v in f.read().split())
    ms = lambda ns: (ns - launched) / 1e6
    return ms(started), ms(exposed), ms(painted), cpu / 1e6


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--program", default="build/orvalis")
    parser.add_argument("--display", default=":16")
    parser.add_argument("--runs", type=int, default=11)
    opts = parser.parse_args()
    program = os.path.realpath(opts.program)

    xvfb = None
    if not display_answers(opts.display):
        xvfb = subprocess.Popen(["Xvfb", opts.display, "-screen", "0", "1280x900x24",
                                 "-nolisten", "tcp"], stderr=subprocess.DEVNULL)
        for _ in range(50):
            if display_answers(opts.display):
                break
            time.sleep(0.1)
    work = tempfile.mkdtemp(prefix="orvalis-startup-")
    env = dict(os.environ, DISPLAY=opts.display, XDG_CONFIG_HOME=os.path.join(work, "config"))
    env.pop("QT_QPA_PLATFORM", None)
    try:
        one_run(program, ["--no-splash"], env, work)  # warms the file cache
        starts = {"with splash": [], "--no-splash": []}
        # Alternate the two starts, so a change in the machine's load hits both alike.
        for _ in range(opts.runs):
            starts["with splash"].append(one_run(program, [], env, work))
            starts["--no-splash"].append(one_run(program, ["--no-splash"], env, work))
        print("%d runs each, ms after launch: median (min..max)" % opts.runs)
        for name, runs in starts.items():
            cols = []
            for i, what in enumerate(("Qt up", "exposed", "painted", "CPU")):
                values = [r[i] for r in runs]
                cols.append("%s %.1f (%.1f..%.1f)" % (what, statistics.median(values),
                                                      min(values), max(values)))
            print("%-12s %s" % (name + ":", "  ".join(cols)))
    finally:
        shutil.rmtree(work, ignore_errors=True)
        if xvfb:
            xvfb.terminate()
            xvfb.wait()


if __name__ == "__main__":
    main()
