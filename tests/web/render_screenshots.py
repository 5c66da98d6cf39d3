#!/usr/bin/python3
"""Renders the page with the worked example filled in, in headless Chromium:
the desktop window (page-desktop.png, the window alone) and the one column
of a phone 360 CSS pixels wide (page-phone.png, the whole page).

    render_screenshots.py SITE_FOLDER OUTPUT_FOLDER [dark]

With `dark`, under the dark colour scheme, as page-desktop-dark.png and
page-phone-dark.png.
"""
import base64
import pathlib
import sys

from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent))
from browser import chromium, emulate_media, set_viewport  # noqa: E402
from site_server import SiteServer  # noqa: E402
from page_test import Page  # noqa: E402


def fill_in(page):
    page.element("chk_Spannungswandler").click()
    for name, text in (("txt_spannungswandler", "20000"), ("txt_stromwandler", "400"), ("txt_impulse", "1000")):
        page.element(name).send_keys(Keys.CONTROL, "a")
        page.element(name).send_keys(text)
    page.element("cmd_berechnen").click()
    page.expect("txt_ergebnis", "16000")
    page.driver.execute_script("document.activeElement.blur()")


def capture(driver, path, clip=None):
    shot = driver.execute_cdp_cmd("Page.captureScreenshot", {"format": "png", "captureBeyondViewport": True,
                                                            **({"clip": {**clip, "scale": 1}} if clip else {})})
    path.write_bytes(base64.b64decode(shot["data"]))
    print(f"wrote {path}")


def main(site, out, dark):
    suffix = "-dark" if dark else ""
    with SiteServer(site) as server, chromium() as driver:
        if dark:
            emulate_media(driver, prefers_color_scheme="dark")
        page = Page(driver)
        page.open(server.url)
        fill_in(page)
        window = driver.find_element(By.CSS_SELECTOR, ".window").rect
        capture(driver, out / f"page-desktop{suffix}.png",
                {"x": window["x"], "y": window["y"], "width": window["width"], "height": window["height"]})

        set_viewport(driver, 360, 640, mobile=True)
        page.open(server.url)
        fill_in(page)
        height = driver.execute_script("return document.documentElement.scrollHeight")
        set_viewport(driver, 360, height, mobile=True)
        capture(driver, out / f"page-phone{suffix}.png")


if __name__ == "__main__":
    main(pathlib.Path(sys.argv[1]), pathlib.Path(sys.argv[2]), sys.argv[3:] == ["dark"])
