"""The applications of the matrix, each started fresh in a folder of its own, with the way
its text is read back: a web page puts its field into the window title, the terminals run
a reader that records every byte they deliver, FeatherPad is read through the
accessibility tree and LibreOffice Writer through its own UNO interface."""

import os
import signal
import subprocess

import accessible
import desktop


class AppError(Exception):
    """An application that could not be started or read; the message says which and why."""


class Application:
    multiline = True   # whether the field keeps line breaks

    def __init__(self, name):
        self.name = name
        self.process = None
        self.window = None

    def launch(self, command, work, env=None):
        """Starts the application with its output in work/app.log."""
        log = open(os.path.join(work, "app.log"), "w")
        # A session of its own, so that stopping it takes every process it started.
        self.process = subprocess.Popen(command, stdout=log, stderr=subprocess.STDOUT,
                                        env={**os.environ, **(env or {})},
                                        start_new_session=True)

    def alive(self):
        return self.process is not None and self.process.poll() is None

    def find_window(self, pattern, seconds=90):
        self.window = desktop.window_by_name(pattern, seconds=seconds)
        if not self.window:
            raise AppError("%s showed no window titled /%s/" % (self.name, pattern))

    def stop(self):
        if self.process is None:
            return
        try:
            os.killpg(self.process.pid, signal.SIGTERM)
            self.process.wait(timeout=10)
        except (ProcessLookupError, subprocess.TimeoutExpired):
            try:
                os.killpg(self.process.pid, signal.SIGKILL)
            except ProcessLookupError:
                pass
        self.process = None

    def focus(self):
        desktop.activate(self.window)

    def prepare(self):
        """Gives the field the focus and empties it; raises AppError when it stays full."""
        self.focus()
        self.empty()
        if desktop.settle(self.read, lambda text: text == "", quiet_seconds=1.0) != "":
            raise AppError("%s did not empty the field" % self.emptying)

    emptying = "Ctrl+A, BackSpace"

    def empty(self):
        desktop.keys("ctrl+a", "BackSpace")


# The page's field reports its value in the title: "V:" value ":E", with backslash, line
# break, tab and space escaped, because browsers fold white space in titles.
PAGE = r"""<!doctype html><meta charset="utf-8"><title>V::E</title>
<style>html,body{margin:0;height:100%} textarea,input{box-sizing:border-box;width:100%;
height:100%;font-size:16px}</style><body><script>
const field = document.createElement(location.hash.slice(1) || "textarea");
document.body.appendChild(field);
field.addEventListener("input", () => {
  document.title = "V:" + field.value.replace(/\\/g, "\\\\").replace(/\n/g, "\\n")
    .replace(/\t/g, "\\t").replace(/ /g, "\\s") + ":E";
});
field.focus();
</script>
"""


def title_value(title):
    """The field's value from the page's window title, or None when the title is not one."""
    if not title or not title.startswith("V:") or ":E" not in title:
        return None
    escaped = title[2:title.rindex(":E")]
    out, i = [], 0
    while i < len(escaped):
        if escaped[i] == "\\" and i + 1 < len(escaped):
            out.append({"n": "\n", "t": "\t", "s": " "}.get(escaped[i + 1], escaped[i + 1]))
            i += 2
        else:
            out.append(escaped[i])
            i += 1
    return "".join(out)


class Browser(Application):
    """Chromium, which puts the whole title of a page into its window's title."""

    def __init__(self, name, field):
        super().__init__(name)
        self.field = field
        self.multiline = field == "textarea"

    def start(self, work):
        page = os.path.join(work, "page.html")
        with open(page, "w", encoding="utf-8") as out:
            out.write(PAGE)
        profile = os.path.join(work, "profile")
        os.makedirs(profile, exist_ok=True)
        self.launch(self.command(profile, "file://%s#%s" % (page, self.field)), work,
                    self.environment)
        self.find_window("^V:")

    environment = {}

    @staticmethod
    def command(profile, url):
        return ["chromium", "--no-sandbox", "--user-data-dir=" + profile, "--no-first-run",
                "--no-default-browser-check", "--disable-gpu", "--password-store=basic",
                "--disable-features=Translate", "--window-size=1000,700", url]

    def focus(self):
        super().focus()
        # The field fills the page: a click in the window's middle lands in it.
        desktop.click_centre(self.window)

    def read(self):
        return title_value(desktop.xdotool("getwindowname", self.window))


class Firefox(Browser):
    """Firefox ESR, which shortens long window titles: the field is read through the
    accessibility tree, which Firefox builds when the desktop asks for it."""

    environment = {"GNOME_ACCESSIBILITY": "1"}

    def __init__(self, name, field):
        super().__init__(name, field)
        self.text = None

    @staticmethod
    def command(profile, url):
        with open(os.path.join(profile, "user.js"), "w") as prefs:
            prefs.write(FIREFOX_PREFS)
        return ["firefox-esr", "-profile", profile, "-no-remote", "-new-instance", url]

    def start(self, work):
        super().start(work)
        self.text = desktop.poll(lambda: accessible.editable_text("firefox"), seconds=30)
        if self.text is None:
            raise AppError("Firefox's field is not in the accessibility tree")

    def read(self):
        return accessible.without_fillers(accessible.text_of(self.text))


# A fresh profile that goes straight to the page: no welcome tab, no questions.
FIREFOX_PREFS = "".join('user_pref("%s", %s);\n' % pref for pref in [
    ("browser.shell.checkDefaultBrowser", "false"),
    ("browser.startup.homepage_override.mstone", '"ignore"'),
    ("browser.aboutwelcome.enabled", "false"),
    ("datareporting.policy.dataSubmissionEnabled", "false"),
    ("datareporting.policy.firstRunURL", '""'),
    ("toolkit.telemetry.reportingpolicy.firstRun", "false"),
    ("browser.tabs.warnOnClose", "false"),
    ("browser.sessionstore.resume_from_crash", "false"),
])


def delivered_text(data):
    """The text a terminal delivered to a program in raw mode, after its Backspaces (DEL or
    ^H) took back the characters before them; a carriage return is a line break."""
    out = []
    for char in data.decode("utf-8", errors="replace"):
        if char in "\x7f\x08":
            if out:
                out.pop()
        elif char == "\r":
            out.append("\n")
        else:
            out.append(char)
    return "".join(out)


class Terminal(Application):
    def __init__(self, name, command, title_option):
        super().__init__(name)
        self.command = command
        self.title_option = title_option
        self.record = None
        self.offset = 0

    def start(self, work):
        self.record = os.path.join(work, "delivered.bin")
        open(self.record, "wb").close()
        title = "matrix-" + self.command
        # Raw mode: every byte reaches the reader as the terminal sends it, with no line
        # editing of the tty in between.
        reader = "stty raw -echo; exec cat >> '%s'" % self.record
        self.launch([self.command, self.title_option, title, "-e", "sh", "-c", reader], work)
        self.find_window("^%s$" % title)

    def empty(self):
        self.offset = os.path.getsize(self.record)

    def read(self):
        with open(self.record, "rb") as record:
            record.seek(self.offset)
            return delivered_text(record.read())


class FeatherPad(Application):
    def __init__(self):
        super().__init__("FeatherPad")
        self.text = None

    def start(self, work):
        document = os.path.join(work, "matrix.txt")
        open(document, "w").close()
        self.launch(["featherpad", document], work,
                    env={"QT_LINUX_ACCESSIBILITY_ALWAYS_ON": "1",
                         "XDG_CONFIG_HOME": os.path.join(work, "config")})
        self.find_window("matrix.txt")
        self.text = desktop.poll(lambda: accessible.editable_text("featherpad"), seconds=30)
        if self.text is None:
            raise AppError("FeatherPad's text field is not in the accessibility tree")

    def read(self):
        return accessible.text_of(self.text)


# LibreOffice's own corrections while typing would rewrite the typed text; a fresh profile
# with them off, and without the first start's dialogs.
WRITER_PROFILE = """<?xml version="1.0" encoding="UTF-8"?>
<oor:items xmlns:oor="http://openoffice.org/2001/registry"
 xmlns:xs="http://www.w3.org/2001/XMLSchema"
 xmlns:xsi="http://www.w3.org/2001/XMLSchema-instance">
%s</oor:items>
""" % "".join(
    '<item oor:path="%s"><prop oor:name="%s" oor:op="fuse"><value>%s</value></prop></item>\n'
    % item for item in [
        ("/org.openoffice.Setup/Office", "FirstStartWizardCompleted", "true"),
        ("/org.openoffice.Office.Common/Misc", "ShowTipOfTheDay", "false"),
        ("/org.openoffice.Office.Common/Misc", "FirstRun", "false"),
        ("/org.openoffice.Office.Writer/AutoFunction/Completion", "Enable", "false"),
        ("/org.openoffice.Office.Writer/AutoFunction/Format/ByInput", "Enable", "false"),
        ("/org.openoffice.Office.Common/AutoCorrect", "CapitalAtStartSentence", "false"),
        ("/org.openoffice.Office.Common/AutoCorrect", "TwoCapitalsAtStart", "false"),
        ("/org.openoffice.Office.Common/AutoCorrect", "UseReplacementTable", "false"),
        ("/org.openoffice.Office.Common/AutoCorrect", "ChangeDash", "false"),
        ("/org.openoffice.Office.Common/AutoCorrect", "ChangeOrdinalNumber", "false"),
        ("/org.openoffice.Office.Common/AutoCorrect", "SetINetAttribute", "false"),
        ("/org.openoffice.Office.Common/AutoCorrect", "AddNonBreakingSpace", "false"),
        ("/org.openoffice.Office.Common/AutoCorrect/DoubleQuote", "Replace", "false"),
        ("/org.openoffice.Office.Common/AutoCorrect/SingleQuote", "Replace", "false"),
    ])


class Writer(Application):
    def __init__(self, look):
        super().__init__("LibreOffice Writer (%s)" % look)
        self.look = look
        self.document = None

    def start(self, work):
        profile = os.path.join(work, "profile")
        os.makedirs(os.path.join(profile, "user"), exist_ok=True)
        with open(os.path.join(profile, "user", "registrymodifications.xcu"), "w") as out:
            out.write(WRITER_PROFILE)
        pipe = "tolvanmatrix%d" % os.getpid()
        self.launch(["soffice", "--writer", "--norestore", "--nologo",
                     "-env:UserInstallation=file://" + profile,
                     "--accept=pipe,name=%s;urp;" % pipe], work,
                    env={"SAL_USE_VCLPLUGIN": self.look})
        self.document = desktop.poll(lambda: self.connect(pipe), seconds=90, interval=0.5,
                                     alive=self.alive)
        if self.document is None:
            raise AppError("%s: no text document over UNO" % self.name)
        self.find_window("LibreOffice Writer")

    @staticmethod
    def connect(pipe):
        import uno
        from com.sun.star.connection import NoConnectException
        local = uno.getComponentContext()
        resolver = local.ServiceManager.createInstanceWithContext(
            "com.sun.star.bridge.UnoUrlResolver", local)
        try:
            remote = resolver.resolve("uno:pipe,name=%s;urp;StarOffice.ComponentContext" % pipe)
        except NoConnectException:
            return None
        office = remote.ServiceManager.createInstanceWithContext("com.sun.star.frame.Desktop",
                                                                 remote)
        document = office.getCurrentComponent()
        return document if document is not None and hasattr(document, "getText") else None

    emptying = "UNO's setString"

    def empty(self):
        # Through UNO, not keys: the document is emptied without a selection.
        self.document.getText().setString("")

    def read(self):
        try:
            # Writer separates paragraphs with the platform's line end.
            return self.document.getText().getString().replace("\r\n", "\n")
        except Exception:  # the bridge goes away with the office
            return None


def subset():
    return [
        Browser("Chromium textarea", "textarea"),
        Browser("Chromium input", "input"),
        FeatherPad(),
        Terminal("xterm", "xterm", "-T"),
        Terminal("rxvt-unicode", "urxvt", "-title"),
    ]


def full():
    return subset() + [
        Firefox("Firefox ESR textarea", "textarea"),
        Firefox("Firefox ESR input", "input"),
        Writer("gtk3"),
        Writer("gen"),
    ]
