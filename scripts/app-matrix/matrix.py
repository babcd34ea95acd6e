"""Types the same expansions into real applications with both output methods and prints
which arrived intact: one row per application, one column per method, and the details of
every failure. Runs on the X display in DISPLAY (scripts/app-matrix.sh provides one).

usage: matrix.py [--full] [--only NAME] [--out DIR] TOLVAN_CLI
Exits 1 when any cell fails."""

import argparse
import os
import signal
import subprocess
import sys
import tempfile
import time

import apps
import desktop
from cases import CASES, library_xml
from report import Outcome, cell, details, problems, table

METHODS = {
    "typing": {"output_method": "0"},
    "clipboard": {"output_method": "1", "clipboard_restore": "1"},
}
RESTORE_SECONDS = 3


class Expander:
    """`tolvan-cli run` on the matrix's library, with its debug log kept for the details."""

    def __init__(self, cli, work, prefs):
        self.cli, self.work = cli, work
        config = os.path.join(work, "config")
        for name, value in prefs.items():
            subprocess.run([cli, "--config-dir", config, "prefs", "set", name, value],
                           check=True, stdout=subprocess.DEVNULL)
        library = os.path.join(work, "library.tlv")
        with open(library, "w", encoding="utf-8") as out:
            out.write(library_xml())
        # GLib writes the debug log to standard output, after the "ready" line.
        self.log = os.path.join(work, "tolvan.log")
        self.process = subprocess.Popen(
            [cli, "--config-dir", config, "run", "--library", library],
            stdout=open(self.log, "w"), stderr=subprocess.STDOUT,
            env={**os.environ, "G_MESSAGES_DEBUG": "Tolvan"})
        if not desktop.poll(self.ready, seconds=15, alive=lambda: self.process.poll() is None):
            self.stop()
            raise apps.AppError("tolvan-cli run did not get ready (log: %s)" % self.log)

    def ready(self):
        with open(self.log) as out:
            return "ready" in out.read().splitlines()

    def stop(self):
        """Ends the run as a user would; a non-empty answer says how it went wrong."""
        self.process.send_signal(signal.SIGTERM)
        try:
            status = self.process.wait(timeout=15)
        except subprocess.TimeoutExpired:
            self.process.kill()
            return "tolvan-cli run did not end on SIGTERM"
        return "" if status == 0 else "tolvan-cli run ended with status %d" % status


def run_case(app, case, number):
    user_clipboard = "user clipboard %d ✂" % number
    user_primary = "user primary %d ✂" % number
    try:
        app.prepare()
    except apps.AppError as error:
        return Outcome(case.name, case.expected, None, (user_clipboard, None),
                       (user_primary, None), str(error))
    # After the field was emptied: selecting its text made the application PRIMARY's owner.
    desktop.set_selection("clipboard", user_clipboard)
    desktop.set_selection("primary", user_primary)
    desktop.type_text(case.leading)
    desktop.settle(app.read, lambda text: text == case.leading, quiet_seconds=1.0)
    desktop.type_text(case.typed)
    # The expansion lands before the user goes on typing.
    desktop.settle(app.read, lambda text: text == case.leading + case.expansion)
    desktop.type_text(case.trailing)
    got = desktop.settle(app.read, lambda text: text == case.expected)
    return Outcome(case.name, case.expected, got,
                   (user_clipboard, selection_after("clipboard", user_clipboard)),
                   (user_primary, selection_after("primary", user_primary)))


def selection_after(selection, user_text):
    """The selection's text once it is the user's again, or once it has stopped changing
    (an expansion left behind, a restore that never came)."""
    return desktop.settle(lambda: desktop.selection_text(selection),
                          lambda text: text == user_text, quiet_seconds=RESTORE_SECONDS)


def run_application(app, cli, work, log):
    """{method: (outcomes, error)} for one application."""
    results = {}
    app_work = os.path.join(work, app.name.replace(" ", "-").replace("(", "").replace(")", ""))
    os.makedirs(app_work, exist_ok=True)
    try:
        app.start(app_work)
    except apps.AppError as error:
        app.stop()
        return {method: ([], str(error)) for method in METHODS}
    try:
        for method, prefs in METHODS.items():
            method_work = os.path.join(app_work, method)
            os.makedirs(method_work, exist_ok=True)
            started = time.monotonic()
            try:
                expander = Expander(cli, method_work, prefs)
            except (apps.AppError, subprocess.CalledProcessError) as error:
                results[method] = ([], str(error))
                continue
            outcomes = []
            for number, case in enumerate(CASES, 1):
                if case.multiline and not app.multiline:
                    continue
                outcome = run_case(app, case, number)
                outcomes.append(outcome)
                if not outcome.passed:
                    # The screen as the failure left it, for the details.
                    subprocess.run(["import", "-window", "root", os.path.join(
                        method_work, case.name.replace(" ", "-") + ".png")], check=False)
                log("  %-9s %-16s %s" % (method, case.name,
                                         "ok" if outcome.passed else "; ".join(problems(outcome))))
            results[method] = (outcomes, expander.stop())
            log("  %s: %.0f s, Tolvan's log %s" % (method, time.monotonic() - started,
                                                  expander.log))
    finally:
        app.stop()
    return results


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--full", action="store_true",
                        help="add Firefox ESR and LibreOffice Writer")
    parser.add_argument("--only", action="append", default=[],
                        help="run only the applications whose names contain this text")
    parser.add_argument("--out", help="keep the logs here (default: a new temporary folder)")
    parser.add_argument("cli", help="the tolvan-cli to test")
    args = parser.parse_args()
    work = args.out or tempfile.mkdtemp(prefix="app-matrix.")
    os.makedirs(work, exist_ok=True)
    log = lambda line: print(line, file=sys.stderr, flush=True)

    applications = apps.full() if args.full else apps.subset()
    if args.only:
        applications = [app for app in applications
                        if any(part.lower() in app.name.lower() for part in args.only)]
    rows, failures = [], []
    for app in applications:
        log("%s:" % app.name)
        results = run_application(app, os.path.abspath(args.cli), work, log)
        cells = {}
        for method, (outcomes, error) in results.items():
            cells[method] = cell(outcomes, error)
            failures += [(app.name, method, outcome) for outcome in outcomes
                         if not outcome.passed]
            if error:
                failures.append((app.name, method, error))
        rows.append((app.name, cells))

    lines = [table(rows, list(METHODS))]
    if failures:
        lines.append("\nDetails:")
        for name, method, failure in failures:
            if isinstance(failure, str):
                lines.append("%s, %s: %s" % (name, method, failure))
            else:
                lines.append("%s, %s, %s:" % (name, method, failure.case))
                lines += details(failure)
    lines.append("\nLogs and screenshots of failures: %s" % work)
    with open(os.path.join(work, "report.txt"), "w", encoding="utf-8") as out:
        out.write("\n".join(lines) + "\n")
    print("\n".join(lines), flush=True)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
