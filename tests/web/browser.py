"""Debian's Chromium, headless, driven through Debian's chromedriver: for the
web benchmark (the page test and the screenshots drive the three engines
from node, engines.js).

Every browser starts with a profile of its own in a fresh folder, so that no
cache, service worker or setting carries over from another run. As root
Chromium needs --no-sandbox; the background services (updates, sync, field
trials) stay off, since this machine's closed network refuses their
connections.
"""
import contextlib
import shutil
import tempfile

from selenium import webdriver
from selenium.webdriver.chrome.service import Service

CHROMIUM = "/usr/bin/chromium"
CHROMEDRIVER = "/usr/bin/chromedriver"
FLAGS = ["--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
         "--disable-background-networking", "--disable-component-update", "--disable-sync",
         "--hide-scrollbars"]


@contextlib.contextmanager
def chromium(width=800, height=600):
    """A fresh headless Chromium whose page is `width` × `height` CSS pixels."""
    profile = tempfile.mkdtemp(prefix="korvantelo-chromium-")
    options = webdriver.ChromeOptions()
    options.binary_location = CHROMIUM
    for flag in FLAGS + [f"--user-data-dir={profile}", f"--window-size={width},{height}"]:
        options.add_argument(flag)
    driver = webdriver.Chrome(service=Service(CHROMEDRIVER), options=options)
    try:
        set_viewport(driver, width, height)
        yield driver
    finally:
        driver.quit()
        shutil.rmtree(profile, ignore_errors=True)


def set_viewport(driver, width, height, mobile=False):
    """The page's viewport, in CSS pixels at one device pixel each; `mobile`
    as a phone lays out (the viewport meta tag counts)."""
    driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride",
                           {"width": width, "height": height, "deviceScaleFactor": 1, "mobile": mobile})


def emulate_media(driver, **features):
    """Media features such as prefers_color_scheme="dark" or forced_colors="active";
    none given: the system's again."""
    driver.execute_cdp_cmd("Emulation.setEmulatedMedia", {"features": [
        {"name": name.replace("_", "-"), "value": value} for name, value in features.items()]})
