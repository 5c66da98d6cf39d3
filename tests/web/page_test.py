#!/usr/bin/python3
"""The page in Debian's headless Chromium, used as a user uses it: real key
events, the dialog answered with the keyboard, the phone's width, a reload
with the server gone.

    page_test.py SITE_FOLDER SOURCE_ROOT

The site is served from a thread on a free port of 127.0.0.1. The control
names come from the control table in the sources (ui/controls.h), the names
and hints from the module's own tables, read in the page.
"""
import pathlib
import re
import sys
import time
import urllib.error
import urllib.request

from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent))
from browser import chromium, emulate_media, set_viewport  # noqa: E402
from site_server import SiteServer  # noqa: E402

TITLE = "Korvantelo berechnen"
RATIO = "label_wandlerverhältnis"
TIMEOUT = 10.0

# The element's text as the user sees it: a box's value, else its text.
SHOWN = """const e = document.getElementById(arguments[0]);
return e.localName === "input" ? e.value : e.textContent;"""

# The tables the page is built from, from a second instance of the module.
TABLES = """const done = arguments[arguments.length - 1];
createKorvantelo().then((m) => done(JSON.parse(m.UTF8ToString(m._korvantelo_tables(m._korvantelo_open())))));"""

# Every text on the page that shows, with its contrast against the ground it
# stands on (WCAG's relative luminance).
CONTRASTS = """
const channels = (text) => text.match(/[\\d.]+/g).map(Number);
const luminance = ([r, g, b]) => [r, g, b].map((c) => {
    c /= 255;
    return c <= 0.03928 ? c / 12.92 : ((c + 0.055) / 1.055) ** 2.4;
}).reduce((sum, c, i) => sum + c * [0.2126, 0.7152, 0.0722][i], 0);
const ground = (e) => {
    for (; e; e = e.parentElement) {
        const c = channels(getComputedStyle(e).backgroundColor);
        if (c.length < 4 || c[3] === 1) return c;
    }
    return [255, 255, 255];
};
const texts = [...document.querySelectorAll(".window .control, .window .control span")].filter((e) =>
    e.checkVisibility() && (e.localName === "input" ? e.type === "text" && e.value : e.childNodes[0]?.nodeType === 3));
return texts.map((e) => {
    const [a, b] = [luminance(channels(getComputedStyle(e).webkitTextFillColor)), luminance(ground(e))];
    return [e.id || e.textContent, (Math.max(a, b) + 0.05) / (Math.min(a, b) + 0.05)];
});
"""


def control_names(source_root):
    table = (source_root / "ui" / "controls.h").read_text(encoding="utf-8")
    return re.findall(r'\w+\(C::\w+, "([^"]+)"', table)


def wait_for(what, probe, timeout=TIMEOUT):
    deadline = time.monotonic() + timeout
    while True:
        result = probe()
        if result:
            return result
        if time.monotonic() > deadline:
            raise AssertionError(f"timed out waiting for {what}")
        time.sleep(0.02)


class Page:
    def __init__(self, driver):
        self.driver = driver

    def open(self, url):
        self.driver.get(url)
        wait_for("the first ratio", lambda: self.shown(RATIO))

    def shown(self, name):
        return self.driver.execute_script(SHOWN, name)

    def element(self, name):
        return self.driver.find_element(By.ID, name)

    def expect(self, name, text):
        wait_for(f"{name} to show {text!r} (shows {self.shown(name)!r})", lambda: self.shown(name) == text)

    def type_keys(self, name, keys, ratios, replace=True):
        """Types `keys` one by one into the box, after selecting its text when
        `replace`, and sees the ratio after each key."""
        box = self.element(name)
        if replace:
            box.send_keys(Keys.CONTROL, "a")
        for key, ratio in zip(keys, ratios, strict=True):
            box.send_keys(key)
            self.expect(RATIO, ratio)

    def dialog(self):
        return self.driver.execute_script("""const d = document.getElementById("message");
            return d.open && [d.querySelector("h1").textContent, d.querySelector("p").textContent,
                d.querySelectorAll("button").length, document.activeElement.textContent];""")

    def answer_dialog(self, title, text):
        """Sees the modal message with its one button focused and presses it
        with the keyboard."""
        shown = wait_for("the message", self.dialog)
        assert shown == [title, text, 1, "OK"], shown
        self.driver.switch_to.active_element.send_keys(Keys.ENTER)
        wait_for("the message to close", lambda: not self.dialog())


def check_contract(page, source_root, tables):
    """Title, ids, and what assistive technology reads for each control (the
    voltage row shown)."""
    assert page.driver.title == TITLE, page.driver.title
    page.element("chk_Spannungswandler").click()
    names = control_names(source_root)
    assert len(names) == 39 and RATIO in names, names
    missing = [n for n in names if not page.driver.find_elements(By.ID, n)]
    assert not missing, f"no element with the id {missing}"
    stops = [c["name"] for c in sorted(tables["controls"], key=lambda c: c["tab"]) if c["tab"]]
    page.element(stops[0]).click()
    focused = [page.driver.switch_to.active_element.get_attribute("id")]
    for _ in stops[1:]:
        page.driver.switch_to.active_element.send_keys(Keys.TAB)
        focused.append(page.driver.switch_to.active_element.get_attribute("id"))
    assert focused == stops, focused
    for control in tables["controls"]:
        if not (control["label"] or control["hint"]):
            continue
        node = page.driver.execute_cdp_cmd("Accessibility.getPartialAXTree", {
            "backendNodeId": page.driver.execute_cdp_cmd("DOM.describeNode", {"objectId": page.driver.execute_cdp_cmd(
                "Runtime.evaluate", {"expression": f"document.getElementById({control['name']!r})"})["result"]["objectId"]})[
                "node"]["backendNodeId"], "fetchRelatives": False})["nodes"][0]
        name = node.get("name", {}).get("value", "")
        description = node.get("description", {}).get("value", "")
        assert not control["label"] or name == control["label"], (control["name"], name)
        assert description == control["hint"], (control["name"], description)
        if control["kind"] == "text_box":
            assert page.element(control["name"]).get_attribute("inputmode") == "decimal", control["name"]


def check_worked_example(page, url):
    """The ratio after every key, the kWh figure, Berechnen; Enter and Escape
    in a box change nothing."""
    page.open(url)
    page.expect(RATIO, "1")
    assert page.driver.switch_to.active_element.get_attribute("id") == "txt_impulse"
    page.type_keys("txt_stromwandler", "4", ["0,8"])
    page.type_keys("txt_stromwandler", "00", ["8", "80"], replace=False)
    page.element("txt_stromwandler").send_keys(Keys.ENTER, Keys.ESCAPE)
    assert not page.dialog() and page.shown("txt_stromwandler") == "400" and page.shown(RATIO) == "80"
    assert not page.element("txt_spannungswandler").is_displayed()
    page.element("chk_Spannungswandler").click()
    assert page.element("txt_spannungswandler").is_displayed() and page.shown(RATIO) == "80"
    page.type_keys("txt_spannungswandler", "20000", ["1,6", "16", "160", "1600", "16000"])
    page.type_keys("txt_impulse", "1000", ["16000"] * 4)
    page.type_keys("txt_wh", "2", ["16000"])
    page.expect("txt_kwh", "0,002")
    page.type_keys("txt_wh", "1000", ["16000"] * 4)
    page.expect("txt_kwh", "1")
    page.element("cmd_berechnen").click()
    page.expect("txt_ergebnis", "16000")
    # A figure longer than its box shows from its first digit.
    page.type_keys("txt_impulse", "3", ["16000"])
    page.element("cmd_berechnen").click()
    page.expect("txt_ergebnis", "5333333,33333333")
    assert page.driver.execute_script("""const e = document.getElementById("txt_ergebnis");
        return [e.selectionStart, e.scrollLeft, e.scrollWidth > e.clientWidth];""") == [0, 0, True]


def check_input_error(page):
    """A letter: the message, modal, OK focused; the typed text kept, every
    output as it was. Cut, undo and paste are edits too."""
    page.element("txt_wh").send_keys("x")
    page.answer_dialog("Fehler!", "Eingabefehler!")
    assert page.shown("txt_wh") == "1000x" and page.shown("txt_kwh") == "1"
    assert page.driver.switch_to.active_element.get_attribute("id") == "txt_wh"
    page.element("txt_wh").send_keys(Keys.BACKSPACE)
    page.expect("txt_kwh", "1")
    box = page.element("txt_stromwandler")
    box.send_keys(Keys.CONTROL, "a")
    box.send_keys(Keys.CONTROL, "x")
    page.answer_dialog("Fehler!", "Eingabefehler!")
    assert page.shown("txt_stromwandler") == "" and page.shown(RATIO) == "16000"
    box.send_keys(Keys.CONTROL, "z")
    page.expect("txt_stromwandler", "400")
    page.expect(RATIO, "16000")
    box.send_keys(Keys.CONTROL, "a")
    box.send_keys(Keys.CONTROL, "c")
    impulse = page.element("txt_impulse")
    impulse.send_keys(Keys.CONTROL, "a")
    impulse.send_keys(Keys.CONTROL, "v")
    page.expect("txt_impulse", "400")
    page.element("cmd_berechnen").click()
    page.expect("txt_ergebnis", "40000")


def check_phone(page, url):
    """360 pixels: one column, no sideways scrolling, text of 16 pixels and
    targets of 44 at least, the controls in the desktop's reading order."""
    set_viewport(page.driver, 360, 800, mobile=True)
    page.open(url)
    measures = page.driver.execute_script("""
        const visible = [...document.querySelectorAll(".window .control")].filter((e) => e.checkVisibility());
        const target = (e) => e.localName === "input" && e.type === "checkbox" ? e.parentElement : e;
        return {
            width: document.documentElement.scrollWidth,
            small_text: visible.filter((e) => e.localName !== "img" && parseFloat(getComputedStyle(e).fontSize) < 16)
                .map((e) => e.id),
            small_targets: [...document.querySelectorAll("input, button")].filter((e) => e.checkVisibility())
                .map(target).filter((e) => e.getBoundingClientRect().height < 44 || e.getBoundingClientRect().width < 44)
                .map((e) => e.id || e.textContent),
            tops: visible.filter((e) => e.closest(".group")).map((e) => {
                const r = e.getBoundingClientRect();
                return [e.id, r.top, r.bottom];
            }),
        };""")
    assert measures["width"] <= 360, measures["width"]
    assert not measures["small_text"], measures["small_text"]
    assert not measures["small_targets"], measures["small_targets"]
    tops = measures["tops"]
    for (before, top, _), (after, after_top, after_bottom) in zip(tops, tops[1:]):
        assert (after_top + after_bottom) / 2 >= top, f"{after} stands above {before}"
    page.type_keys("txt_stromwandler", "4", ["0,8"])


def check_contrast(page, url):
    for scheme in ({}, {"prefers_color_scheme": "dark"}, {"forced_colors": "active"}):
        emulate_media(page.driver, **scheme)
        page.open(url)
        page.element("chk_Spannungswandler").click()
        low = [(text, round(ratio, 2)) for text, ratio in page.driver.execute_script(CONTRASTS) if ratio < 4.5]
        assert not low, f"contrast below 4.5:1 under {scheme or 'the light scheme'}: {low}"
    emulate_media(page.driver)


def check_fault(page, url):
    """A fault at the edge of the module (here an edit of the hidden box,
    which no user can make) is told, and the window takes no more input."""
    page.open(url)
    page.driver.execute_script(
        'document.getElementById("txt_spannungswandler").dispatchEvent(new Event("input"))')
    page.answer_dialog("Korvantelo", "Korvantelo kann nicht weiterlaufen:\ntxt_spannungswandler: hidden or disabled")
    assert page.driver.execute_script('return document.querySelector(".window").inert')


def check_offline(page, server):
    """After the first visit the service worker has the site: with the server
    gone, a reload opens the page from it, and it computes."""
    page.open(server.url)
    wait_for("the service worker", lambda: page.driver.execute_script(
        "return navigator.serviceWorker.controller !== null"))
    errors = page.driver.execute_cdp_cmd("Page.getInstallabilityErrors", {})["installabilityErrors"]
    assert not errors, errors
    server.stop()
    try:
        urllib.request.urlopen(server.url, timeout=2)
        raise AssertionError("the server still answers")
    except (urllib.error.URLError, ConnectionError):
        pass
    page.driver.refresh()
    wait_for("the first ratio offline", lambda: page.shown(RATIO) == "1")
    assert page.driver.execute_script("return navigator.serviceWorker.controller !== null")
    page.type_keys("txt_stromwandler", "400", ["0,8", "8", "80"])


def main(site, source_root):
    with SiteServer(site) as server, chromium() as driver:
        page = Page(driver)
        page.open(server.url)
        tables = driver.execute_async_script(TABLES)
        steps = [
            ("contract", lambda: check_contract(page, source_root, tables)),
            ("worked example", lambda: check_worked_example(page, server.url)),
            ("input error", lambda: check_input_error(page)),
            ("fault", lambda: check_fault(page, server.url)),
            ("contrast", lambda: check_contrast(page, server.url)),
            ("phone", lambda: check_phone(page, server.url)),
        ]
        for name, step in steps:
            step()
            print(f"ok: {name}", flush=True)
        set_viewport(driver, 800, 600)
        check_offline(page, server)
        print("ok: offline", flush=True)


if __name__ == "__main__":
    main(pathlib.Path(sys.argv[1]), pathlib.Path(sys.argv[2]))
