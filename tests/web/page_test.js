#!/usr/bin/env node
// The page as a user uses it, in one browser engine: real key events, the
// dialog answered with the keyboard, phones upright and sideways, a reload
// with the server gone.
//
//     page_test.js SITE_FOLDER SOURCE_ROOT chromium|firefox|webkit [SCENARIO...]
//
// With scenarios named (as in SCENARIOS below), only those run.
// One table of scenarios for every engine; engines.js has the drivers. The
// page is read by its control names, which are its elements' ids (from the
// control table, ui/controls.h), by what it tells assistive technology (its
// ARIA attributes, and in Chromium the accessibility tree) and by what it
// shows. The one step that reaches behind that is reach_into_page(). Where an
// engine cannot make a check, the run says "not in <engine>: ..." and does
// the rest. Exits 77 (skipped) when the engine or the npm packages are
// missing; `make test-web` installs both.
"use strict";

const fs = require("node:fs");
const path = require("node:path");

const [site, source_root, engine_name, ...chosen] = process.argv.slice(2);
let engines;
try {
    engines = require("./engines.js");
} catch (error) {
    if (error.code !== "MODULE_NOT_FOUND" || error.message.includes("engines.js")) throw error;
    console.log(`${error.message.split("\n")[0]}: skipped (make test-web installs the npm packages)`);
    process.exit(77);
}
const {ENGINES, serve, wait_for} = engines;

const controls_h = fs.readFileSync(path.join(source_root, "ui", "controls.h"), "utf8");
const NAMES = [...controls_h.matchAll(/X\(\w+, \w+, "([^"]+)"/g)].map((m) => m[1]);
const WINDOW = controls_h.match(/window_name = "([^"]+)"/)[1];
const TITLE = controls_h.match(/window_caption = "([^"]+)"/)[1];
const RATIO = "label_wandlerverhältnis";
const PHONES = [[320, 568], [360, 740], [740, 360], [915, 412]];

// ------------------------------------------- the one reach behind the page ---
// Everything else here uses the page from outside. A fault at the edge of
// the module cannot be made by a user: here it is an edit of the hidden box,
// sent as the input event that the page hands to the module for every edit.
// Rewire this when the page changes underneath.
function reach_into_page(page) {
    return page.evaluate(() => document.getElementById("txt_spannungswandler").dispatchEvent(new Event("input")));
}

// ------------------------------------------------------ what the user sees ---

// A box's text, or an element's; null while there is no such element.
const shown = (page, id) => page.evaluate((i) => {
    const e = document.getElementById(i);
    return e && (e.localName === "input" ? e.value : e.textContent);
}, id);

const visible = (page, id) => page.evaluate((i) => document.getElementById(i).checkVisibility(), id);

async function expect(page, id, text) {
    await wait_for(async () => `${id} to show ${JSON.stringify(text)} (shows ${JSON.stringify(await shown(page, id))})`,
        async () => (await shown(page, id)) === text);
}

async function open(page, url, view) {
    await page.open(url, view);
    await wait_for("the first ratio", () => shown(page, RATIO));
}

// Clicks into the box (the caret lands after its short text), selects its
// text when `replace`, and types `keys` one by one, seeing the ratio after each.
async function type(page, id, keys, ratios, replace = true) {
    await page.click(id);
    if (replace) await page.keys("Control+a");
    for (const [at, key] of [...keys].entries()) {
        await page.keys(key);
        await expect(page, RATIO, ratios[at]);
    }
}

// The open message: title, text, number of buttons and the focused one's
// text, read through the dialog's own labelling; null while none is open.
const message = (page) => page.evaluate(() => {
    const dialog = document.querySelector("dialog[open]");
    const text = (attribute) => document.getElementById(dialog.getAttribute(attribute)).textContent;
    return dialog && [text("aria-labelledby"), text("aria-describedby"), dialog.querySelectorAll("button").length,
        document.activeElement.textContent];
});

// Sees the modal message with its one button focused and presses Enter.
async function answer(page, title, text) {
    const seen = await wait_for("the message", () => message(page));
    assert_equal(seen, [title, text, 1, "OK"], "the message");
    await page.keys("Enter");
    await wait_for("the message to close", async () => !(await message(page)));
}

function assert(condition, what) {
    if (!condition) throw new Error(what);
}

function assert_equal(actual, expected, what) {
    assert(JSON.stringify(actual) === JSON.stringify(expected),
        `${what}: ${JSON.stringify(actual)}, expected ${JSON.stringify(expected)}`);
}

// ---------------------------------------------------------------- scenarios ---

// Title, ids, Tab order, and what assistive technology is told of each
// control (the voltage row shown). The tab stops, names and hints are what
// the page gives: its tabindex, aria-label, <label> and aria-describedby.
async function contract(page, {url}) {
    await open(page, url);
    assert_equal(await page.evaluate(() => document.title), TITLE, "the title");
    assert(NAMES.length === 39 && NAMES.includes(RATIO), `the control table's names: ${NAMES}`);
    const missing = await page.evaluate((names) => names.filter((n) => !document.getElementById(n)), [WINDOW, ...NAMES]);
    assert_equal(missing, [], "no element with the id");
    await page.click("chk_Spannungswandler");

    const told = await page.evaluate((names) => names.map((n) => document.getElementById(n)).map((e) => ({
        id: e.id,
        tab: e.tabIndex,
        can_focus: e.matches("input:enabled, button:enabled") && e.checkVisibility(),
        name: e.getAttribute("aria-label") ?? ([...(e.labels ?? [])].map((l) => l.textContent).join(" ")
            || (e.localName === "button" ? e.textContent : "")),
        hint: e.hasAttribute("aria-describedby")
            ? document.getElementById(e.getAttribute("aria-describedby"))?.textContent ?? null : "",
        inputmode: e.type === "text" ? e.inputMode : "decimal",
    })), NAMES);
    const stops = told.filter((c) => c.tab > 0).sort((a, b) => a.tab - b.tab).map((c) => c.id);
    assert_equal([...stops].sort(), told.filter((c) => c.can_focus).map((c) => c.id).sort(),
        "the tab stops against every control that takes input");
    await page.click(stops[0]);
    const focused = [await page.focused()];
    for (const _ of stops.slice(1)) {
        await page.keys("Tab");
        focused.push(await page.focused());
    }
    assert_equal(focused, stops, "Tab");

    for (const c of told) {
        assert(c.hint !== null, `${c.id}: aria-describedby names no element`);
        assert(c.inputmode === "decimal", `${c.id}: inputmode ${c.inputmode}`);
        if (c.can_focus) assert(c.name, `${c.id}: no accessible name`);
    }
    const unnamed_groups = await page.evaluate(() => [...document.querySelectorAll("[role=group]")]
        .filter((g) => !document.getElementById(g.getAttribute("aria-labelledby"))?.textContent).length);
    assert_equal(unnamed_groups, 0, "groups without a name");
    if (!page.can.accessibility) {
        console.log(`not in ${page.name}: the accessibility tree (read over Chromium's DevTools protocol only); ` +
            "the ARIA attributes are checked");
        return;
    }
    for (const c of told.filter((t) => t.name || t.hint)) {
        const node = await page.accessible(c.id);
        assert(!c.name || node.name === c.name, `${c.id}: named ${JSON.stringify(node.name)}, not ${JSON.stringify(c.name)}`);
        assert_equal(node.description, c.hint, `${c.id}'s description`);
    }
}

// The ratio after every key, the kWh figure, Berechnen; Enter and Escape in a
// box change nothing; a figure longer than its box shows from its first digit.
async function worked_example(page, {url}) {
    await open(page, url);
    await expect(page, RATIO, "1");
    assert_equal(await page.focused(), "txt_impulse", "the focus at the start");
    await type(page, "txt_stromwandler", "4", ["0,8"]);
    await type(page, "txt_stromwandler", "00", ["8", "80"], false);
    await page.keys("Enter", "Escape");
    assert_equal([await message(page), await shown(page, "txt_stromwandler"), await shown(page, RATIO)],
        [null, "400", "80"], "after Enter and Escape");
    assert(!(await visible(page, "txt_spannungswandler")), "the voltage box shows before the tick");
    await page.click("chk_Spannungswandler");
    assert(await visible(page, "txt_spannungswandler"), "the voltage box does not show after the tick");
    await expect(page, RATIO, "80");
    await type(page, "txt_spannungswandler", "20000", ["1,6", "16", "160", "1600", "16000"]);
    await type(page, "txt_impulse", "1000", Array(4).fill("16000"));
    await type(page, "txt_wh", "2", ["16000"]);
    await expect(page, "txt_kwh", "0,002");
    await type(page, "txt_wh", "1000", Array(4).fill("16000"));
    await expect(page, "txt_kwh", "1");
    await page.click("cmd_berechnen");
    await expect(page, "txt_ergebnis", "16000");
    await type(page, "txt_impulse", "3", ["16000"]);
    await page.click("cmd_berechnen");
    await expect(page, "txt_ergebnis", "5333333,33333333");
    assert_equal(await page.evaluate(() => {
        const e = document.getElementById("txt_ergebnis");
        return [e.selectionStart, e.scrollLeft, e.scrollWidth > e.clientWidth];
    }), [0, 0, true], "the long result's caret, scroll and overflow");
}

// Goes on from the worked example. A letter: the message, modal, OK focused;
// the typed text kept, every output as it was. Cut, undo and paste are edits too.
async function input_error(page) {
    await page.click("txt_wh");
    await page.keys("x");
    await answer(page, "Fehler!", "Eingabefehler!");
    assert_equal([await shown(page, "txt_wh"), await shown(page, "txt_kwh"), await page.focused()],
        ["1000x", "1", "txt_wh"], "after the message");
    await page.keys("Backspace");
    await expect(page, "txt_kwh", "1");
    await page.click("txt_stromwandler");
    await page.keys("Control+a", "Control+x");
    await answer(page, "Fehler!", "Eingabefehler!");
    assert_equal([await shown(page, "txt_stromwandler"), await shown(page, RATIO)], ["", "16000"], "after the cut");
    if (page.can.undo) {
        await page.keys("Control+z");
    } else {
        console.log(`not in ${page.name}: Control+Z (its automation's keys leave nothing to undo); typed anew`);
        await page.keys("4", "0", "0");
    }
    await expect(page, "txt_stromwandler", "400");
    await expect(page, RATIO, "16000");
    await page.keys("Control+a", "Control+c");
    await page.click("txt_impulse");
    await page.keys("Control+a", "Control+v");
    await expect(page, "txt_impulse", "400");
    await page.click("cmd_berechnen");
    await expect(page, "txt_ergebnis", "40000");
}

// A fault at the edge of the module is told, and the window takes no more
// input: Tab reaches no control, a key changes nothing.
async function fault(page, {url}) {
    await open(page, url);
    await reach_into_page(page);
    await answer(page, "Korvantelo", "Korvantelo kann nicht weiterlaufen:\ntxt_spannungswandler: hidden or disabled");
    await page.keys("Tab", "4");
    assert_equal([NAMES.includes(await page.focused()), await shown(page, "txt_impulse"), await shown(page, RATIO)],
        [false, "1", "1"], "the focus and the texts after the fault");
}

// What shows, as a page function: every text with its contrast against the
// ground it stands on (WCAG's relative luminance) and its size; the page's
// width; the controls (by name) too small to touch, standing above the one
// before them in reading order, or a box whose unit is not on its line.
const LOOK = (names) => {
    const channels = (colour) => colour.match(/[\d.]+/g).map(Number);
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
    const texts = [...document.querySelectorAll("input[type=text]")].filter((e) => e.value).map((e) => [e, e.value]);
    const walker = document.createTreeWalker(document.body, NodeFilter.SHOW_TEXT);
    while (walker.nextNode()) {
        if (walker.currentNode.data.trim()) texts.push([walker.currentNode.parentElement, walker.currentNode.data]);
    }
    const shown = texts.filter(([e]) => e.checkVisibility()).map(([e, text]) => [e, e.id || text]);
    const controls = names.map((n) => document.getElementById(n))
        .filter((e) => e.checkVisibility() && e.getAttribute("aria-hidden") !== "true")
        .sort((a, b) => (a.compareDocumentPosition(b) & Node.DOCUMENT_POSITION_FOLLOWING ? -1 : 1));
    const rect = (e) => e.getBoundingClientRect();
    const middle = (e) => (rect(e).top + rect(e).bottom) / 2;
    const targets = controls.filter((e) => e.matches("input, button"))
        .map((e) => (e.type === "checkbox" && e.labels.length ? e.labels[0] : e));
    return {
        contrasts: shown.map(([e, what]) => {
            const [a, b] = [luminance(channels(getComputedStyle(e).getPropertyValue("-webkit-text-fill-color"))),
                luminance(ground(e))];
            return [what, Math.round((Math.max(a, b) + 0.05) / (Math.min(a, b) + 0.05) * 100) / 100];
        }),
        width: document.documentElement.scrollWidth,
        small_text: shown.filter(([e]) => parseFloat(getComputedStyle(e).fontSize) < 16).map(([, what]) => what),
        small_targets: targets.filter((e) => rect(e).height < 44 || rect(e).width < 44).map((e) => e.id || e.textContent),
        above: controls.filter((e, at) => at > 0 && middle(e) < rect(controls[at - 1]).top).map((e) => e.id),
        units_apart: controls.filter((e, at) => {
            const unit = controls[at + 1];
            return e.type === "text" && unit && !unit.matches("input, button")
                && !(middle(unit) > rect(e).top && middle(unit) < rect(e).bottom && rect(unit).left >= rect(e).right);
        }).map((e) => e.id),
    };
};

// Every text that shows, with the message open over the window (the voltage
// row shown), keeps 4.5:1 against its ground, under the light and the dark
// scheme and forced colours.
async function contrast(page, {url}) {
    const schemes = [["light", {}], ["dark", {dark: true}], ["forced colours", {forced: true}]];
    const [lowest, findings] = [[], []];
    for (const [scheme, view] of schemes) {
        if (view.forced && !page.can.forced) {
            console.log(`not in ${page.name}: forced colours (no such mode to emulate)`);
            continue;
        }
        await open(page, url, view);
        await page.click("chk_Spannungswandler");
        await page.click("txt_wh");
        await page.keys("x");
        await wait_for("the message", () => message(page));
        const ratios = (await page.evaluate(LOOK, NAMES)).contrasts;
        const low = ratios.filter(([, ratio]) => ratio < 4.5);
        if (low.length) findings.push(`under ${scheme}: ${low.map(([text, ratio]) => `${text} ${ratio}:1`).join(", ")}`);
        const least = ratios.reduce((a, b) => (b[1] < a[1] ? b : a));
        lowest.push(`${scheme} ${least[1]}:1 (${least[0]})`);
        await answer(page, "Fehler!", "Eingabefehler!");
    }
    console.log(`lowest contrast in ${page.name}: ${lowest.join(", ")}`);
    assert(!findings.length, `contrast below 4.5:1 ${findings.join("; ")}`);
}

// Phones upright and sideways, at twice the density: one column, no sideways
// scrolling, text of 16 pixels and targets of 44 at least, the controls in
// the desktop's reading order, each box's unit on the box's line.
async function phone(page, {url}) {
    const mobile = page.can.mobile;
    if (!mobile) console.log(`not in ${page.name}: touch, a coarse pointer (its pointer stays fine)`);
    const findings = [];
    const measure = async (size, checks) => {
        const measures = await page.evaluate(LOOK, NAMES);
        if (measures.width > page.view.width) findings.push(`${size}: the page is ${measures.width} wide`);
        for (const [finding, what] of checks) {
            if (measures[finding].length) findings.push(`${size}: ${what}: ${measures[finding].join(", ")}`);
        }
    };
    for (const [asked, height] of PHONES) {
        const width = Math.max(asked, page.can.narrowest);
        const size = `${width} × ${height}`;
        if (width > height && !mobile) {
            console.log(`not in ${page.name}: ${size} (a window this wide with a fine pointer is the desktop's)`);
            continue;
        }
        if (width !== asked) console.log(`not in ${page.name}: ${asked} wide (its narrowest is ${width}, checked instead)`);
        await open(page, url, {width, height, mobile, scale: 2});
        await measure(size, [["small_text", "text below 16 px"], ["small_targets", "targets below 44 px"],
            ["above", "stands above the control before it"], ["units_apart", "unit not beside its box"]]);
        await type(page, "txt_stromwandler", "4", ["0,8"]);
    }
    // Every width in between, each box's unit on its line: where the pointer
    // is coarse up to past the column's widest (40em), else up to the
    // desktop window's.
    await open(page, url, {width: Math.max(320, page.can.narrowest), height: 740, mobile});
    for (let width = page.view.width; width <= (mobile ? 700 : 599); width += 5) {
        await page.resize(width, 740);
        await measure(`${width} wide`, [["units_apart", "unit not beside its box"]]);
    }
    assert(!findings.length, findings.join("\n"));
}

// After the first visit the service worker has the site: with the server
// gone, a reload opens the page from it, and it computes.
async function offline(page, {url, server}) {
    await open(page, url);
    await wait_for("the service worker", () => page.evaluate(() => navigator.serviceWorker.controller !== null));
    if (page.can.installability) {
        assert_equal(await page.installability_errors(), [], "Chromium's installability errors");
    } else {
        console.log(`not in ${page.name}: the installability check (Chromium's DevTools protocol only)`);
    }
    await server.stop();
    const refused = await fetch(url).then(() => false, () => true);
    assert(refused, "the server still answers");
    await page.reload();
    await wait_for("the first ratio offline", async () => (await shown(page, RATIO)) === "1");
    assert(await page.evaluate(() => navigator.serviceWorker.controller !== null), "no service worker after the reload");
    await type(page, "txt_stromwandler", "400", ["0,8", "8", "80"]);
}

// In this order: the input error goes on from the worked example, and offline
// stops the server.
const SCENARIOS = [
    ["contract", contract],
    ["worked example", worked_example],
    ["input error", input_error],
    ["fault", fault],
    ["contrast", contrast],
    ["phone", phone],
    ["offline", offline],
];

async function main() {
    const Engine = ENGINES[engine_name];
    if (!Engine) throw new Error(`no engine ${engine_name}: one of ${Object.keys(ENGINES)}`);
    const missing = Engine.missing();
    if (missing) {
        console.log(`${missing} missing: skipped (make test-web installs it)`);
        process.exit(77);
    }
    const scenarios = SCENARIOS.filter(([name]) => !chosen.length || chosen.includes(name));
    const server = await serve(site);
    const page = new Engine();
    let passed = 0;
    try {
        for (const [name, scenario] of scenarios) {
            const started = Date.now();
            await scenario(page, {url: server.url, server});
            passed += 1;
            console.log(`ok: ${name} (${((Date.now() - started) / 1000).toFixed(1)} s)`);
        }
    } finally {
        console.log(`${engine_name}: ${passed} passed, ${scenarios.length - passed} failed`);
        await page.close();
        await server.stop();
    }
}

main().catch((error) => {
    console.error(error);
    process.exit(1);
});
