#!/usr/bin/env node
// The page with the worked example filled in, for the docs: the whole page
// in a desktop browser 800 CSS pixels wide and on a phone 360 × 740, under
// the light and the dark scheme, in each engine.
//
//     screenshots.js SITE_FOLDER OUTPUT_FOLDER [ENGINE...]
//
// Each shot is the viewport, made as high as the page. Writes page-<engine>-<desktop|phone>[-dark].png, except for Chromium's
// light ones, which are page-desktop.png and page-phone.png (the README
// shows them). No test compares them: an engine's rendering is not the same
// byte for byte on every machine.
"use strict";

const path = require("node:path");
const {ENGINES, serve, wait_for} = require("./engines.js");

const [site, out, ...chosen] = process.argv.slice(2);

async function fill_in(page, url, view) {
    await page.open(url, view);
    await wait_for("the first ratio", () => page.evaluate(() => document.getElementById("label_wandlerverhältnis")?.textContent));
    await page.click("chk_Spannungswandler");
    for (const [id, text] of [["txt_spannungswandler", "20000"], ["txt_stromwandler", "400"], ["txt_impulse", "1000"]]) {
        await page.click(id);
        await page.keys("Control+a", ...text);
    }
    await page.click("cmd_berechnen");
    await wait_for("the result", async () => (await page.evaluate(() => document.getElementById("txt_ergebnis").value)) === "16000");
    await page.evaluate(() => document.activeElement.blur());
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
                        await page.resize(width, await page.evaluate(() => document.documentElement.scrollHeight));
                        await page.evaluate(() => window.scrollTo(0, 0));
                        await page.screenshot(file(form));
                        console.log(`wrote ${file(form)}`);
                    }
                }
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
