#!/usr/bin/python3
"""The figures of the page (make bench-web): the size of what the browser
fetches before the first ratio, the time to that ratio in a freshly started
headless Chromium, and the time from a keystroke to the new ratio.

    page_bench.py SITE_FOLDER

The times are taken in the page, on its own clock (performance.now(), from
the start of the navigation), by a script that Chromium runs before the
page's own: it watches the ratio label and notes when its first text is
written and when the frame that shows it begins. A page that only writes a
"1" into such a label, measured in turn with ours, shows what navigation
and the first frame cost by themselves on the machine at the time.
"""
import gzip
import pathlib
import statistics
import sys
import tempfile
import time

from selenium.webdriver.common.by import By

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parents[2] / "tests" / "web"))
from browser import chromium  # noqa: E402
from site_server import SiteServer  # noqa: E402

RUNS = 15
KEYS = 200
SIZE_LIMIT = 50_000      # bytes of .wasm and .js, gzip -9
START_LIMIT = 150.0      # ms from navigation to the frame that shows the first ratio
KEY_LIMIT = 1000.0       # µs from the key's arrival in the page to the new ratio written
# A new Chromium loads pages of its own interface for a second or so after it
# starts (the new-tab page, the address bar's pop-up), even headless; the
# navigation waits until they are done, so that their work is not counted
# as the page's.
SETTLE = 2.0             # s

WATCH_FIRST_RATIO = """
window.korvantelo_first_ratio = new Promise((resolve) => {
    new MutationObserver((records, observer) => {
        const label = document.getElementById("label_wandlerverhältnis");
        if (!label || !label.textContent) return;
        observer.disconnect();
        const written = performance.now();
        requestAnimationFrame(() => resolve([written, performance.now()]));
    }).observe(document, {subtree: true, childList: true, characterData: true});
});
"""

WATCH_KEYS = """
window.korvantelo_keys = [];
let pressed = 0, edited = 0;
window.addEventListener("keydown", () => { pressed = performance.now(); }, true);
window.addEventListener("input", () => { edited = performance.now(); }, true);
new MutationObserver(() => {
    const now = performance.now();
    korvantelo_keys.push([now - pressed, now - edited]);
}).observe(document.getElementById("label_wandlerverhältnis"), {subtree: true, childList: true, characterData: true});
"""

# One key as one event of the browser's input, down and up: "0" and
# Backspace in turn, so that "5" becomes "50" and "5" again and every key
# changes the ratio.
ZERO = {"key": "0", "code": "Digit0", "text": "0", "windowsVirtualKeyCode": 48}
BACKSPACE = {"key": "Backspace", "code": "Backspace", "windowsVirtualKeyCode": 8, "commands": ["deleteBackward"]}

# A page that shows a "1" in the label as soon as it is parsed: what
# navigation and the first frame cost in this Chromium on this machine.
FLOOR = """<!doctype html><html lang="de"><head><meta charset="utf-8"><title>Korvantelo berechnen</title></head>
<body><span id="label_wandlerverhältnis"></span>
<script>document.getElementById("label_wandlerverhältnis").textContent = "1";</script></body></html>
"""


def first_ratio(url):
    with chromium() as driver:
        time.sleep(SETTLE)
        driver.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument", {"source": WATCH_FIRST_RATIO})
        driver.get(url)
        return driver.execute_async_script("window.korvantelo_first_ratio.then(arguments[0])")


def keystrokes(url):
    """Per key: [key down to ratio written, input event to ratio written], in ms."""
    with chromium() as driver:
        driver.get(url)
        driver.find_element(By.ID, "txt_stromwandler").click()
        driver.execute_script("document.getElementById('txt_stromwandler').setSelectionRange(1, 1)")
        driver.execute_script(WATCH_KEYS)
        for i in range(KEYS):
            key = BACKSPACE if i % 2 else ZERO
            driver.execute_cdp_cmd("Input.dispatchKeyEvent", {"type": "keyDown", **key})
            driver.execute_cdp_cmd("Input.dispatchKeyEvent", {"type": "keyUp", **key, "text": ""})
        times = driver.execute_script("return korvantelo_keys")
        if len(times) != KEYS:
            raise RuntimeError(f"{len(times)} new ratios for {KEYS} keys")
        return times


def verdict(value, limit):
    return f"{limit:>9} {'met' if value <= limit else 'MISSED'}"


def main(site):
    sizes = {name: len(gzip.compress((site / name).read_bytes(), 9)) for name in ("korvantelo.wasm", "korvantelo.js")}
    print("Size, gzip -9 (bytes)                 size     limit")
    for name, size in sizes.items():
        print(f"  {name:<32}{size:>9}")
    total = sum(sizes.values())
    print(f"  {'together':<32}{total:>9} {verdict(total, SIZE_LIMIT)}")

    with SiteServer(site) as server, tempfile.TemporaryDirectory() as floor_site, \
            SiteServer(floor_site) as floor:
        (pathlib.Path(floor_site) / "index.html").write_text(FLOOR, encoding="utf-8")
        runs, floor_runs = [], []
        for _ in range(RUNS):  # in turn, so that both see the machine alike
            runs.append(first_ratio(server.url))
            floor_runs.append(first_ratio(floor.url))
        written = statistics.median(run[0] for run in runs)
        shown = statistics.median(run[1] for run in runs)
        print(f"First ratio after navigation, a fresh headless Chromium each, median of {RUNS} (ms)")
        print(f"  written into the label          {written:9.1f}")
        print(f"  its frame begins                {shown:9.1f} {verdict(round(shown, 1), START_LIMIT)}")
        print(f"    runs: {', '.join(f'{run[1]:.0f}' for run in runs)}")
        print(f"  a page that only writes the ratio {statistics.median(run[1] for run in floor_runs):7.1f}")
        print(f"    runs: {', '.join(f'{run[1]:.0f}' for run in floor_runs)}")
        times = keystrokes(server.url)
        key = 1000 * statistics.median(t[0] for t in times)
        handled = 1000 * statistics.median(t[1] for t in times)
        print(f"Keystroke to the new ratio in the page, median of {KEYS} (µs, in steps of 100)")
        print(f"  key down to ratio written       {key:9.0f} {verdict(round(key), KEY_LIMIT)}")
        print(f"  input event to ratio written    {handled:9.0f}")


if __name__ == "__main__":
    main(pathlib.Path(sys.argv[1]))
