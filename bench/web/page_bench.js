#!/usr/bin/env node
// The figures of the page (make bench-web), in each engine of engines.js:
// the size of the module and the scripts, the time to the first ratio on
// screen for our page and for a bare page of the same look, cold and from
// the offline cache, and the time from a keystroke to the new ratio.
//
//     page_bench.js SITE_FOLDER [RUNS [ENGINE...]]
//
// The first ratio is in the page's HTML, so the moment it shows is the
// page's first contentful paint: the Paint Timing entry, which every engine
// here reports, in ms from the start of the navigation on the page's own
// clock. The bare page is our index.html with its scripts taken out, the
// same stylesheet, window and pictures. Each run is a
// fresh browser with a fresh profile, for our page and for the bare one in
// turn (which first alternates): its first opening is cold, its second (after
// a blank page) comes from the offline cache, for ours from the service
// worker, for the bare page from the browser's cache (both servers let it
// keep every file for an hour). A keystroke is timed in the page, from its
// keydown to the ratio written. Figures only: nothing here passes or fails
// on a time.
"use strict";

const fs = require("node:fs");
const os = require("node:os");
const path = require("node:path");
const zlib = require("node:zlib");
const {ENGINES, serve, wait_for} = require("../../tests/web/engines.js");

const [site, runs_given, ...chosen] = process.argv.slice(2);
const RUNS = Number(runs_given ?? 11);
const KEYS = 100;
const SIZE_LIMIT = 50_000;  // bytes of the module and the scripts, gzip -9
const GOAL = 1.1;           // ours against the bare page, as the maintainers ask
// A freshly started browser is busy with itself for a moment (its own pages,
// its profile); the first navigation waits until that is over.
const SETTLE = 1000;        // ms

const RATIO = "label_wandlerverhältnis";

const median = (values) => {
    const sorted = [...values].sort((a, b) => a - b);
    const middle = sorted.length >> 1;
    return sorted.length % 2 ? sorted[middle] : (sorted[middle - 1] + sorted[middle]) / 2;
};
const spread = (values) => `${Math.min(...values).toFixed(0)}–${Math.max(...values).toFixed(0)}`;
const pause = (ms) => new Promise((done) => setTimeout(done, ms));

function sizes() {
    const names = fs.readdirSync(site).filter((name) => /^(korvantelo|page)\.[0-9a-f]{12}\.(js|wasm)$/.test(name));
    const rows = names.map((name) => [name, zlib.gzipSync(fs.readFileSync(path.join(site, name)), {level: 9}).length]);
    const total = rows.reduce((sum, [, size]) => sum + size, 0);
    console.log("Size, gzip -9 (bytes)");
    for (const [name, size] of rows) console.log(`  ${name.padEnd(30)}${String(size).padStart(8)}`);
    console.log(`  ${"together".padEnd(30)}${String(total).padStart(8)}   limit ${SIZE_LIMIT}: ` +
        `${total <= SIZE_LIMIT ? "met" : "MISSED"}`);
}

// The bare page's folder: the site with our index.html less its scripts
// (which ask for the module and the page's script).
function bare_site(folder) {
    for (const name of fs.readdirSync(site)) fs.copyFileSync(path.join(site, name), path.join(folder, name));
    const page = fs.readFileSync(path.join(site, "index.html"), "utf8").replace(/<script\b[^>]*>[\s\S]*?<\/script>\n?/g, "");
    if (/<script/.test(page)) throw new Error("the bare page still asks for more than the window");
    fs.writeFileSync(path.join(folder, "index.html"), page);
    return folder;
}

const first_paint = (page) => wait_for("the first contentful paint", () => page.evaluate(() =>
    performance.getEntriesByName("first-contentful-paint")[0]?.startTime));

// One fresh browser: the page's first contentful paint cold, then again from
// the offline cache.
async function openings(Engine, url, ours) {
    const page = new Engine();
    try {
        await page.show({width: 800, height: 600, mobile: false, dark: false, forced: false, scale: 1});
        await pause(SETTLE);
        await page.navigate(url);
        const cold = await first_paint(page);
        if (ours) {
            await wait_for("the service worker", () => page.evaluate(() => navigator.serviceWorker.controller !== null));
        }
        await page.navigate("about:blank");
        await page.navigate(url);
        const cached = await first_paint(page);
        if (ours && !(await page.evaluate(() => navigator.serviceWorker.controller !== null))) {
            throw new Error("the second opening of our page has no service worker");
        }
        return [cold, cached];
    } finally {
        await page.close();
    }
}

// Per key, ms from its keydown in the page to the new ratio written: "0" and
// Backspace in turn after the current's "5", so that every key changes it.
async function keystrokes(Engine, url) {
    const page = new Engine();
    try {
        await page.open(url);
        await page.click("txt_stromwandler");
        await page.keys("End");
        const ratio = (text) => wait_for(`the ratio ${text}`, async () =>
            (await page.evaluate((r) => document.getElementById(r).textContent, RATIO)) === text);
        await page.keys("0");
        await ratio("10");
        await page.keys("Backspace");
        await ratio("1");
        await page.evaluate((ratio) => {
            window.korvantelo_keys = [];
            let pressed = 0;
            addEventListener("keydown", () => {
                pressed = performance.now();
            }, true);
            new MutationObserver(() => window.korvantelo_keys.push(performance.now() - pressed))
                .observe(document.getElementById(ratio), {subtree: true, childList: true, characterData: true});
        }, RATIO);
        for (let i = 0; i < KEYS; i++) await page.keys(i % 2 ? "Backspace" : "0");
        const times = await wait_for("a new ratio for every key", async () => {
            const seen = await page.evaluate(() => window.korvantelo_keys);
            return seen.length >= KEYS && seen;
        });
        return times;
    } finally {
        await page.close();
    }
}

async function main() {
    sizes();
    const bare_folder = fs.mkdtempSync(path.join(os.tmpdir(), "korvantelo-bare-"));
    const [ours, bare] = [await serve(site, {max_age: 3600}), await serve(bare_site(bare_folder), {max_age: 3600})];
    try {
        const names = chosen.length ? chosen : Object.keys(ENGINES);
        console.log(`\nFirst ratio on screen: first contentful paint, ms from the navigation's start; ` +
            `median [lowest–highest] of ${RUNS} fresh browsers each, ours and the bare page in turn`);
        console.log(`  ${"engine".padEnd(10)}${"ours cold".padStart(14)}${"bare cold".padStart(14)}${"ratio".padStart(7)}` +
            `${"ours cached".padStart(14)}${"bare cached".padStart(14)}${"ratio".padStart(7)}`);
        const keys = [];
        for (const name of names) {
            const Engine = ENGINES[name];
            const missing = Engine.missing();
            if (missing) {
                console.log(`  ${name.padEnd(10)}${missing} missing: not measured`);
                continue;
            }
            const [mine, theirs] = [[], []];
            for (let run = 0; run < RUNS; run++) {
                const turn = [[mine, ours, true], [theirs, bare, false]];
                for (const [into, server, is_ours] of run % 2 ? turn.reverse() : turn) {
                    into.push(await openings(Engine, server.url, is_ours));
                }
            }
            const cell = (values) => `${median(values).toFixed(0)} [${spread(values)}]`.padStart(14);
            const ratio = (a, b) => (median(a) / median(b)).toFixed(2).padStart(7);
            const [cold, cached] = [0, 1].map((at) => [mine.map((r) => r[at]), theirs.map((r) => r[at])]);
            console.log(`  ${name.padEnd(10)}${cell(cold[0])}${cell(cold[1])}${ratio(...cold)}` +
                `${cell(cached[0])}${cell(cached[1])}${ratio(...cached)}`);
            const goal = [cold, cached].every(([a, b]) => median(a) <= GOAL * median(b));
            console.log(`  ${"".padEnd(10)}goal: ours at most ${GOAL} × the bare page, cold and cached: ${goal ? "met" : "not met"}`);
            keys.push([name, await keystrokes(Engine, ours.url)]);
        }
        console.log(`\nKeystroke to the new ratio, from its keydown in the page to the ratio written, ` +
            `median [lowest–highest] of ${KEYS} keys (ms)`);
        for (const [name, times] of keys) {
            console.log(`  ${name.padEnd(10)}${median(times).toFixed(2).padStart(8)} [${Math.min(...times).toFixed(2)}–` +
                `${Math.max(...times).toFixed(2)}]`);
        }
    } finally {
        await ours.stop();
        await bare.stop();
        fs.rmSync(bare_folder, {recursive: true, force: true});
    }
}

main().catch((error) => {
    console.error(error);
    process.exit(1);
});
