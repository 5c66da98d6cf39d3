#!/usr/bin/env node
// The page with the worked example filled in, for the docs: the whole page
// in a desktop browser 800 CSS pixels wide and on a phone 360 × 740, under
// the light and the dark scheme, in each engine; on the desktop the result
// too wide for its box (Wh 1, Impulse 350000), its exponent in sight; on the
// phone the figures whole (Wh 1234567, and Impulse -1,79769313486232E+308
// for a result as wide as the widest), and the ratio pending while the
// module is held back (the box ticked, Spannung 20000).
//
//     screenshots.js SITE_FOLDER OUTPUT_FOLDER [ENGINE...]
//
// Each shot is the viewport, made as high as the page. Writes
// page-<engine>-<desktop|phone>[-dark].png, except for Chromium's light
// ones, which are page-desktop.png and page-phone.png (the README shows
// them), page-<engine>-exponent.png, page-<engine>-phone-long.png and
// page-<engine>-phone-pending.png. No test compares them: an engine's
// rendering is not the same byte for byte on every machine.
"use strict";

const path = require("node:path");
const {ENGINES, serve, wait_for} = require("./engines.js");

const [site, out, ...chosen] = process.argv.slice(2);

// The worked example, or the figures of `long` (exponent: the result too
// wide for its box; widest: the long kWh figure and a result as wide as any).
async function fill_in(page, url, view, long = null) {
    await page.open(url, view);
    await wait_for("the first ratio", () => page.evaluate(() => document.getElementById("label_wandlerverhältnis")?.textContent));
    const [texts, result] = {
        exponent: [[["txt_wh", "1"], ["txt_impulse", "350000"]], "2,85714285714286E-06"],
        widest: [[["txt_wh", "1234567"], ["txt_impulse", "-1,79769313486232E+308"]], "-6,86750689568915E-303"],
    }[long] ?? [[["txt_spannungswandler", "20000"], ["txt_stromwandler", "400"], ["txt_impulse", "1000"]], "16000"];
    if (!long) await page.click("chk_Spannungswandler");
    for (const [id, text] of texts) {
        await page.click(id);
        await page.keys("Control+a", ...text);
    }
    await page.click("cmd_berechnen");
    await wait_for("the result", async () => (await page.evaluate(() => document.getElementById("txt_ergebnis").value)) === result);
    await page.evaluate(() => document.activeElement.blur());
}

async function shoot(page, file) {
    await page.resize(page.view.width, await page.evaluate(() => document.documentElement.scrollHeight));
    await page.evaluate(() => window.scrollTo(0, 0));
    await page.screenshot(file);
    console.log(`wrote ${file}`);
}

// The box ticked and Spannung 20000 typed while the module is held back:
// the ratio pending.
async function pending(page, view, file) {
    const slow = await serve(site);
    try {
        slow.hold(/\.wasm$/);
        await page.open(slow.url, view);
        await page.click("chk_Spannungswandler");
        await page.click("txt_spannungswandler");
        await page.keys("Control+a", ..."20000");
        await page.evaluate(() => document.activeElement.blur());
        await shoot(page, file);
    } finally {
        await slow.stop();
    }
}

async function main() {
    const server = await serve(site);
    try {
        for (const name of chosen.length ? chosen : Object.keys(ENGINES)) {
            const page = new ENGINES[name]();
            try {
                for (const dark of [false, true]) {
                    const file = (form) => path.join(out, name === "chromium" && !dark ? `page-${form}.png`
                        : `page-${name}-${form}${dark ? "-dark" : ""}.png`);
                    for (const [form, width, height, mobile] of [["desktop", 800, 600, false], ["phone", 360, 740, true]]) {
                        await fill_in(page, server.url, {width, height, mobile: mobile && page.can.mobile, dark});
                        await shoot(page, file(form));
                    }
                }
                await fill_in(page, server.url, {width: 800, height: 600}, "exponent");
                await shoot(page, path.join(out, `page-${name}-exponent.png`));
                const phone = {width: 360, height: 740, mobile: page.can.mobile};
                await fill_in(page, server.url, phone, "widest");
                await shoot(page, path.join(out, `page-${name}-phone-long.png`));
                await pending(page, phone, path.join(out, `page-${name}-phone-pending.png`));
            } finally {
                await page.close();
            }
        }
    } finally {
        await server.stop();
    }
}

main().catch((error) => {
    console.error(error);
    process.exit(1);
});
