#!/usr/bin/env node
// The page as a user uses it, in one browser engine: the scenarios that
// every front-end runs (tests/scenarios.json), and what only the page has:
// its contract with outside tools, contrast, phones, touch and screen
// readers, the module arriving late, offline use and updates, and how it
// fails.
//
//     page_test.js SITE_FOLDER SOURCE_ROOT chromium|firefox|webkit [SCENARIO...]
//
// With scenarios named (as in SCENARIOS below, or a name of the table), only
// those run. engines.js has a driver for each engine and the test's web
// server. The page is read by its control names, which are its elements'
// ids (the control table's, as the build wrote them beside the site), by
// what it tells assistive technology (its ARIA attributes, and in Chromium
// the accessibility tree) and by what it shows. The one step that reaches behind that is
// reach_into_page(). Where an engine cannot make a check, the run says
// "not in <engine>: ..." and does the rest. Exits 77 (skipped) when the
// engine or the npm packages are missing; `make test-web` installs both.
"use strict";

const child_process = require("node:child_process");
const fs = require("node:fs");
const os = require("node:os");
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

// The build's folder of the page beside the site, and what it wrote there
// of the window (app/web/write_page.cpp): its id, caption and control names.
const BUILD = path.join(path.dirname(site), "app", "web");
const {window: WINDOW, caption: TITLE, controls: NAMES} =
    JSON.parse(fs.readFileSync(path.join(BUILD, "window.json"), "utf8"));
const TABLE = JSON.parse(fs.readFileSync(path.join(source_root, "tests", "scenarios.json"), "utf8")).scenarios;
const RATIO = "label_wandlerverhältnis";
const PHONE = {width: 360, height: 740, scale: 2};
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

// Answers every input-error message that is open; how many there were.
async function answer_input_errors(page) {
    let answered = 0;
    while (await message(page)) {
        await answer(page, "Fehler!", "Eingabefehler!");
        answered += 1;
    }
    return answered;
}

// The failure text in the window's place, once it shows.
async function failure(page) {
    await wait_for("the failure text", () => page.evaluate(() => document.getElementById("failure").checkVisibility()));
    const [text, window_shows] = await page.evaluate((w) =>
        [document.getElementById("failure").textContent, document.getElementById(w).checkVisibility()], WINDOW);
    assert(!window_shows, "the window shows beside the failure text");
    return text;
}

function assert(condition, what) {
    if (!condition) throw new Error(what);
}

function assert_equal(actual, expected, what) {
    assert(JSON.stringify(actual) === JSON.stringify(expected),
        `${what}: ${JSON.stringify(actual)}, expected ${JSON.stringify(expected)}`);
}

// ------------------------------------------------- the scenarios' table ---
// tests/scenarios.json, whose "about" says what each step does and checks.
// The step's control is clicked (a text box, the check box, the button) or,
// for Tab, focused; keys are the drivers' real key events.

// How a figure shows, as a page function: whether its box holds it whole;
// the overlay after the element (where the element paints none of it), its
// text, and whether that fits the overlay.
const SHOWS_FITTED = (id) => {
    const e = document.getElementById(id);
    const fitted = e.nextElementSibling;
    return {
        figure: e.value ?? e.textContent,
        whole: e.scrollWidth <= e.clientWidth,
        title: e.title,
        painted: getComputedStyle(e).getPropertyValue("-webkit-text-fill-color"),
        focused: document.activeElement === e,
        shows: fitted.classList.contains("fitted") && fitted.checkVisibility(),
        text: fitted.textContent,
        fits: fitted.scrollWidth <= fitted.clientWidth,
    };
};
const TRANSPARENT = /rgba\(0, 0, 0, 0\)|transparent/;

// In one column a figure's box holds it whole; in the desktop window one too
// wide shows its first characters and `end` (or `end` alone), whole on hovering.
async function readable(page, id, end) {
    const seen = await page.evaluate(SHOWS_FITTED, id);
    const shortened = seen.shows && seen.text.endsWith(end) && seen.figure.startsWith(seen.text.slice(0, -end.length)) &&
        (seen.fits ? seen.text.length > end.length : seen.text === end) && TRANSPARENT.test(seen.painted) &&
        seen.title === seen.figure;
    const [whole, column] = [seen.whole && !seen.shows && !TRANSPARENT.test(seen.painted) && !seen.title, page.view.width < 600];
    assert(column || page.view.mobile ? whole : !seen.focused && shortened, `${id} shows its figure ` +
        `${JSON.stringify(seen.figure)} as ${JSON.stringify(seen)}, not whole in one column, nor shortened to ${end}`);
}

async function run_step(page, step) {
    const {do: action, in: id, keys = "", each = {}} = step;
    let messages = 0;
    const typed = async (at) => {
        messages += await answer_input_errors(page);
        for (const [other, texts] of Object.entries(each)) await expect(page, other, texts[at]);
    };
    if (action === "retype" || action === "type" || action === "erase") {
        await page.click(id);
        await page.keys(action === "type" ? "End" : "Control+a");
        if (action === "erase") await page.keys("Backspace");
        for (const [at, key] of [...keys].entries()) {
            await page.keys(key);
            await typed(at);
        }
    } else if (action === "tick" || action === "press") {
        await page.click(id);
    } else if (action === "enter_escape") {
        await page.click(id);
        await page.keys("Enter", "Escape");
    } else if (action === "tab" || action === "backtab") {
        // Past the last control (or before the first) the focus leaves the
        // page for the browser's own controls, as on every page (the window
        // on the desktop keeps it), and comes back to the page's first (or
        // last) stop. A headless browser has no controls of its own and puts
        // it anywhere: there it is checked that `next` is that stop, and the
        // focus put there.
        const key = action === "tab" ? "Tab" : "Shift+Tab";
        const stops = await page.evaluate(() => [...document.querySelectorAll(".window :is(input, button)")]
            .filter((e) => !e.disabled && e.checkVisibility()).map((e) => e.id));
        if (action === "backtab") stops.reverse();
        await page.evaluate((i) => document.getElementById(i).focus(), id);
        let from = id;
        for (const next of step.order) {
            await page.keys(key);
            if (stops.indexOf(next) < stops.indexOf(from) && (await page.focused()) !== next) {
                assert_equal(next, stops[0], `the page's first stop for ${key}`);
                await page.evaluate((i) => document.getElementById(i).focus(), next);
            }
            assert_equal(await page.focused(), next, `the focus after ${key}`);
            from = next;
        }
    }
    messages += await answer_input_errors(page);
    for (const [other, text] of Object.entries(step.see ?? {})) await expect(page, other, text);
    messages += await answer_input_errors(page);
    assert_equal(messages, step.messages ?? 0, "the input-error messages");
    for (const other of step.shown ?? []) assert(await visible(page, other), `${other} does not show`);
    for (const other of step.hidden ?? []) assert(!(await visible(page, other)), `${other} shows`);
    for (const [other, end] of Object.entries(step.ends ?? {})) await readable(page, other, end);
}

// One scenario of the table on a window of its own, in the view `view(page)`.
const from_table = (scenario, view = () => ({})) => async (page, {url}) => {
    await open(page, url, view(page));
    for (const [at, step] of scenario.steps.entries()) {
        try {
            await run_step(page, step);
        } catch (error) {
            error.message = `step ${at + 1} (${step.do ?? "none"} in ${step.in ?? "-"}): ${error.message}`;
            throw error;
        }
    }
};

// ---------------------------------------------------- the page's own ---

// Title, ids, the focus at the start, and what assistive technology is told
// of each control (the voltage row shown). The tab stops, names and hints are
// what the page gives: the document's order (no tabindex of a control's own),
// aria-label, <label> and aria-describedby.
async function contract(page, {url}) {
    await open(page, url);
    assert_equal(await page.evaluate(() => document.title), TITLE, "the title");
    assert(NAMES.length === 39 && NAMES.includes(RATIO), `the control table's names: ${NAMES}`);
    const missing = await page.evaluate((names) => names.filter((n) => !document.getElementById(n)), [WINDOW, ...NAMES]);
    assert_equal(missing, [], "no element with the id");
    assert_equal(await page.focused(), "txt_impulse", "the focus at the start");
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
    assert_equal(told.filter((c) => (c.can_focus ? c.tab !== 0 : c.tab > 0)).map((c) => c.id), [],
        "controls out of the document's focus order (a tabindex of their own)");
    for (const c of told) {
        assert(c.hint !== null, `${c.id}: aria-describedby names no element`);
        assert(c.inputmode === "decimal", `${c.id}: inputmode ${c.inputmode}`);
        if (c.can_focus) assert(c.name, `${c.id}: no accessible name`);
    }
    const unnamed_groups = await page.evaluate(() => [...document.querySelectorAll("[role=group]")]
        .filter((g) => !document.getElementById(g.getAttribute("aria-labelledby"))?.textContent).length);
    assert_equal(unnamed_groups, 0, "groups without a name");
    // Narrowed to one column, the controls stand in their rows again (the focus's order).
    await page.resize(Math.max(360, page.can.narrowest), 600);
    assert_equal((await page.evaluate(LOOK, NAMES)).units_apart, [], "one column: boxes without their unit beside them");
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
    // Each box holds its controls, wherever the focus order puts them.
    assert_equal(await page.accessible_groups(), {"Korvantelo Zähler": ["Impulse", "Energie in Wh", "Energie in kWh"],
        "Wandler": ["Spannungswandler", "Stromwandler primär in A", "Spannungswandler primär in V", "Wandlerverhältnis"],
        "Ergebnis": ["Ergebnis in Wh pro Impuls", "Berechnen"]}, "the boxes in the accessibility tree");
}

// Every edit is the user's change, not only a typed key: cut (an input
// error, the box then empty), undo, paste.
async function edits(page, {url}) {
    await open(page, url);
    await type(page, "txt_stromwandler", "400", ["0,8", "8", "80"]);
    await page.keys("Control+a", "Control+x");
    await answer(page, "Fehler!", "Eingabefehler!");
    assert_equal([await shown(page, "txt_stromwandler"), await shown(page, RATIO)], ["", "80"], "after the cut");
    if (page.can.undo) {
        await page.keys("Control+z");
    } else {
        console.log(`not in ${page.name}: Control+Z (its automation's keys leave nothing to undo); typed anew`);
        await page.keys("4", "0", "0");
    }
    await expect(page, "txt_stromwandler", "400");
    await expect(page, RATIO, "80");
    await page.keys("Control+a", "Control+c");
    await page.click("txt_wh");
    await page.keys("Control+a", "Control+v");
    await expect(page, "txt_kwh", "0,4");
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

// What a user can do in the first window before the module is there: the
// current, the tick, the voltage, Berechnen, and a letter after Wh (an input
// error). What shows then: ratio, kWh, result, and the message.
async function first_actions(page) {
    await page.click("txt_stromwandler");
    await page.keys("Control+a", ..."400");
    await page.click("chk_Spannungswandler");
    await page.click("txt_spannungswandler");
    await page.keys("Control+a", ..."20000");
    await page.click("cmd_berechnen");
    await page.click("txt_wh");
    await page.keys("End", "x");
}

const outcome = async (page) => [...await page.evaluate((ids) => ids.map((i) => {
    const e = document.getElementById(i);
    return e.localName === "input" ? e.value : e.textContent;
}), [RATIO, "txt_kwh", "txt_ergebnis"]), await message(page)];

// The module arrives late (the server holds the .wasm back): what the user
// did in the first window meanwhile comes out once it is there exactly as
// with the module there from the start, at most 1.5 s after it arrived;
// until then each figure it will change shows it pending. The module and
// the scripts are asked of the site once: the service worker keeps the
// browser's copies (WebKit's cache hands it the module's, not the scripts').
async function late_module(page, {url}) {
    await open(page, url);
    await first_actions(page);
    const expected = await wait_for("the message", async () => (await message(page)) && outcome(page));
    await answer(page, "Fehler!", "Eingabefehler!");

    const slow = await serve(site);
    try {
        const release = slow.hold(/\.wasm$/);
        await open(page, slow.url);
        await first_actions(page);
        const figures = [RATIO, "txt_kwh", "txt_ergebnis"];  // busy, and what shows over each:
        const PENDING = (ids) => ids.map((id) => document.getElementById(id)).map((e) =>
            [e.ariaBusy, e.nextElementSibling.checkVisibility() && e.nextElementSibling.textContent]);
        assert_equal([await page.evaluate(PENDING, figures), await message(page)], [figures.map(() => ["true", "…"]), null],
            "the figures and the message before the module is there");
        const released = Date.now();
        release();
        await wait_for(async () => `${JSON.stringify(await outcome(page))} to be ${JSON.stringify(expected)}`,
            async () => JSON.stringify(await outcome(page)) === JSON.stringify(expected));
        const lag = Date.now() - released;
        assert_equal(await page.evaluate(PENDING, figures), figures.map(() => [null, false]), "the figures once it is there");
        await answer(page, "Fehler!", "Eingabefehler!");
        await worker_settled(page);
        const requests = digested(site).map((name) => `${name} ${slow.requests.get(`/${name}`)}`);
        console.log(`${page.name}: the page computes ${lag} ms after the module; requests: ${requests.join(", ")}`);
        const asked = (name) => (page.name === "webkit" && name.endsWith(".js") ? 2 : 1);
        assert_equal([lag <= 1500, requests], [true, digested(site).map((name) => `${name} ${asked(name)}`)],
            "computing at most 1.5 s after the module; one request for each file");
    } finally {
        await slow.stop();
    }
}

// Build B of the site: app/web/site.py run again on this build's inputs,
// with a page.js that differs by a line.
function second_build(folder) {
    const web = path.join(source_root, "ui", "web");
    const script = path.join(folder, "page.js");
    fs.writeFileSync(script, fs.readFileSync(path.join(web, "page.js"), "utf8") + "// build B\n");
    const others = fs.readdirSync(site).filter((name) =>
        !["index.html", "manifest.webmanifest", "service-worker.js"].includes(name) && !/\.[0-9a-f]{12}\./.test(name));
    const out = path.join(folder, "b");
    child_process.execFileSync("/usr/bin/python3", [path.join(source_root, "app", "web", "site.py"), "--site", out,
        "--page", path.join(web, "index.html"), "--style", path.join(BUILD, "window.css"), path.join(web, "korvantelo.css"),
        "--window", path.join(BUILD, "window.html"), "--facts", path.join(BUILD, "window.json"),
        "--module", path.join(BUILD, "korvantelo.js"), "--wasm", path.join(BUILD, "korvantelo.wasm"),
        "--script", script, "--manifest", path.join(web, "manifest.webmanifest"),
        "--worker", path.join(web, "service-worker.js"),
        ...others.map((name) => path.join(site, name))]);
    return out;
}

// The files whose names carry their digest, those of a build.
const digested = (folder) => fs.readdirSync(folder).filter((name) => /\.[0-9a-f]{12}\./.test(name));
const cache_name = (folder) => fs.readFileSync(path.join(folder, "service-worker.js"), "utf8").match(/"(korvantelo-\w+)"/)[1];

// Opens the page, sees it run (the ratio follows a key), and tells of which
// build it is: every script and module it names or loaded must be of one.
async function opening(page, url, builds) {
    await open(page, url);
    await type(page, "txt_stromwandler", "4", ["0,8"]);
    const loaded = await page.evaluate(() => [...document.scripts].map((s) => s.src).filter(Boolean)
        .concat(performance.getEntriesByType("resource").map((e) => e.name))
        .filter((name) => /\.(js|wasm)$/.test(name) && !name.endsWith("service-worker.js"))
        .map((name) => name.split("/").pop()));
    const of = Object.entries(builds).filter(([, files]) => loaded.every((name) => files.includes(name)));
    assert(of.length > 0, `a page with files of two builds: ${loaded}`);
    return of.map(([name]) => name).join();
}

// Asks for the service worker anew, as a browser does now and then, and
// waits until it has done what it does then: it controls the page, and no
// new one is installing or waiting. Its caches' names.
async function worker_settled(page) {
    await page.evaluate(() => navigator.serviceWorker.getRegistration().then((r) => r?.update()).catch(() => null));
    return wait_for("the service worker to settle", () => page.evaluate(async () => {
        const registration = await navigator.serviceWorker.getRegistration();
        return navigator.serviceWorker.controller !== null && !registration.installing && !registration.waiting
            && (await caches.keys());
    }), 20000);
}

// Updates, at /korvantelo/ of the server: after build A, half an upload of
// B (its index.html and worker, A's other files) leaves the user on A; all
// of B reaches a returning user at the latest on the second opening, and
// offline the page runs what it had. Never a page of one build with a
// script or module of the other.
async function updates(page) {
    const folder = fs.mkdtempSync(path.join(os.tmpdir(), "korvantelo-updates-"));
    const [a, b, half] = [site, second_build(folder), path.join(folder, "half")];
    fs.mkdirSync(half);
    for (const name of fs.readdirSync(a)) fs.copyFileSync(path.join(a, name), path.join(half, name));
    for (const name of ["index.html", "service-worker.js"]) fs.copyFileSync(path.join(b, name), path.join(half, name));
    const builds = {A: digested(a), B: digested(b)};
    assert(builds.A.join() !== builds.B.join(), "build B has the files of A");
    const server = await serve(a, {base: "/korvantelo/"});
    const seen = [];
    try {
        seen.push(await opening(page, server.url, builds));
        await worker_settled(page);
        server.serving(half);
        seen.push(await opening(page, server.url, builds));
        assert(!(await worker_settled(page)).includes(cache_name(b)), "half of build B kept");
        seen.push(await opening(page, server.url, builds));
        server.serving(b);
        seen.push(await opening(page, server.url, builds));
        assert((await worker_settled(page)).includes(cache_name(b)), "build B not kept");
        seen.push(await opening(page, server.url, builds));
        await server.stop();
        seen.push(await opening(page, server.url, builds));
        // The first opening after the upload: A still, or B already.
        if (["A", "B"].includes(seen[3])) seen[3] = "A or B";
        assert_equal(seen, ["A", "A", "A", "A or B", "B", "B"],
            "the builds the user gets: A, half of B uploaded twice, B twice, then offline");
    } finally {
        await server.stop();
        fs.rmSync(folder, {recursive: true, force: true});
    }
}

// Where the page cannot run, the window's place says why, in our German words
// alone: opened from a file, in a browser without WebAssembly (a script put
// first into the page takes it away), the module missing, not one, or failing.
async function failures(page) {
    await page.open(`file://${path.resolve(site, "index.html")}`);
    const from_file = await failure(page);
    assert(from_file.startsWith("Korvantelo läuft nicht aus einer Datei") && from_file.includes("make serve-web"),
        `opened from a file: ${from_file}`);
    const head = (script) => (html) => String(html).replace("<head>", `<head><script>${script}</script>`);
    const wasm = digested(site).find((name) => name.endsWith(".wasm"));
    const damaged = `Korvantelo kann nicht starten: Eine Datei der Seite fehlt oder ist beschädigt (${wasm}). ` +
        "Bitte die Seite neu laden; hilft das nicht, die Seite vollständig neu auf den Webserver laden.";
    const cases = [
        [/^\/index\.html$/, head("delete window.WebAssembly;"),
            "Korvantelo kann nicht starten: Dieser Browser kennt kein WebAssembly. Bitte einen anderen Browser nehmen."],
        [/\.wasm$/, () => null, damaged],
        [/\.wasm$/, () => "garbage", damaged],
        [/^\/index\.html$/, head("WebAssembly.instantiate = () => Promise.reject(new Error('CompileError'));"),
            "Korvantelo kann nicht starten: Das Rechenmodul ließ sich nicht starten. Bitte die Seite neu laden oder " +
            "einen anderen Browser nehmen."],
    ];
    for (const [file, change, told] of cases) {
        const server = await serve(site);
        try {
            server.alter(file, change);
            await page.open(server.url);
            assert_equal(await failure(page), told, `the failure text with ${file} altered`);
        } finally {
            await server.stop();
        }
    }
}

// On a phone: the hints that the desktop shows as tooltips show under their
// boxes, and go with the voltage row; what Berechnen writes is announced; the
// ratio is a status named by its title.
async function touch_and_screen_readers(page, {url}) {
    if (!page.can.mobile) console.log(`not in ${page.name}: touch (a window ${PHONE.width} wide, its pointer fine)`);
    await open(page, url, {...PHONE, mobile: page.can.mobile});
    const hints = () => page.evaluate(() => [...document.querySelectorAll(".hint")].map((hint) => {
        const control = document.querySelector(`[aria-describedby="${hint.id}"]`);
        const box = control.closest(".control");
        return [control.id, hint.checkVisibility() && hint.getBoundingClientRect().top >= box.getBoundingClientRect().bottom];
    }));
    const under = (voltage) => [["txt_impulse", true], ["txt_wh", true], ["txt_stromwandler", true],
        ["txt_spannungswandler", voltage], ["chk_Spannungswandler", true]];
    for (const voltage of [false, true, false]) {
        assert_equal((await hints()).sort(), under(voltage).sort(), "the hints that show under their boxes");
        await page.click("chk_Spannungswandler");
    }
    await page.click("cmd_berechnen");
    await expect(page, "txt_ergebnis", "1000");
    const told = await page.evaluate(() => {
        const announce = document.getElementById("announce");
        return [announce.getAttribute("aria-live"), announce.textContent.endsWith(" 1000")];
    });
    assert_equal(told, ["polite", true], "the result announced");
    const ratio = await page.evaluate((i) => {
        const e = document.getElementById(i);
        return [e.getAttribute("role"), document.getElementById(e.getAttribute("aria-labelledby")).textContent];
    }, RATIO);
    assert_equal(ratio, ["status", "Wandlerverhältnis"], "the ratio's role and name");
    if (page.can.accessibility) {
        const node = await page.accessible(RATIO);
        assert_equal([node.role, node.name], ["status", "Wandlerverhältnis"], "the ratio in the accessibility tree");
    } else {
        console.log(`not in ${page.name}: the ratio in the accessibility tree (its ARIA attributes are checked)`);
    }
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
            return e.type === "text" && !(unit && !unit.matches("input, button")
                && middle(unit) > rect(e).top && middle(unit) < rect(e).bottom && rect(unit).left >= rect(e).right);
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
// gone, the page opens from it at each of its addresses (a reload of
// index.html, as bookmarked; with a query; its folder), and it computes.
async function offline(page, {url, server}) {
    await open(page, `${url}index.html`);
    await wait_for("the service worker", () => page.evaluate(() => navigator.serviceWorker.controller !== null));
    if (page.can.installability) {
        assert_equal(await page.installability_errors(), [], "Chromium's installability errors");
    } else {
        console.log(`not in ${page.name}: the installability check (Chromium's DevTools protocol only)`);
    }
    await server.stop();
    const refused = await fetch(url).then(() => false, () => true);
    assert(refused, "the server still answers");
    for (const address of [null, "index.html?von=lesezeichen", "?von=lesezeichen"]) {
        await (address === null ? page.reload() : page.navigate(url + address));
        await wait_for(`the first ratio offline at ${address ?? "index.html"}`, async () => (await shown(page, RATIO)) === "1");
        assert(await page.evaluate(() => navigator.serviceWorker.controller !== null), "no service worker offline");
    }
    await type(page, "txt_stromwandler", "400", ["0,8", "8", "80"]);
}

// After a reload and after a return to the page, what shows is what the
// program holds: the voltage row shows with the tick, and Berechnen
// computes from the texts that show.
async function reload_and_return(page, {url}) {
    await open(page, url);
    const away = () => page.navigate("about:blank").then(() => page.back());
    for (const [how, leave] of [["reload", () => page.reload()], ["return", away]]) {
        await page.click("chk_Spannungswandler");
        await type(page, "txt_spannungswandler", "20000", ["0,02", "0,2", "2", "20", "200"]);
        await type(page, "txt_stromwandler", "400", ["160", "1600", "16000"]);
        await leave();
        await wait_for("the first ratio", () => shown(page, RATIO));
        const ticked = await page.evaluate(() => document.getElementById("chk_Spannungswandler").checked);
        assert_equal(await visible(page, "txt_spannungswandler"), ticked, `after the ${how}: the voltage row with the tick`);
        const [current, voltage] = [await shown(page, "txt_stromwandler"), await shown(page, "txt_spannungswandler")];
        await page.click("cmd_berechnen");
        await expect(page, RATIO, String((current / 5) * (ticked ? voltage / 100 : 1)));
    }
}

// Every figure can be read whole in both layouts: the kWh of Wh 1234567, then figures
// as wide as the widest written, each text pasted from the pulse count (which computes nothing).
async function long_figures(page, {url}) {
    const widest = {[RATIO]: "-1,79769313486232E+307", txt_kwh: "-1,79769313486232E+305", txt_ergebnis: "-1,79769313486232E+307"};
    for (const view of [{}, {...PHONE, mobile: page.can.mobile}]) {
        await open(page, url, view);
        for (const [id, text, figures] of [["txt_wh", "1234567", {txt_kwh: "1234,567"}],
            ["txt_stromwandler", "-8,98846567431158E+307", {}], ["txt_wh", "-1,79769313486232E+308", widest]]) {
            await page.click("txt_impulse");
            await page.keys("Control+a", ...text, "Control+a", "Control+c");
            await page.click(id);
            await page.keys("Control+a", "Control+v");
            await page.click("cmd_berechnen");
            for (const [other, figure] of Object.entries(figures)) {
                await expect(page, other, figure);
                await readable(page, other, figure.includes("E") ? `…${figure.slice(-5)}` : "…");
            }
        }
    }
}

// In this order: those in one view together (Firefox starts anew for
// another), and offline, which stops the server, last.
const SCENARIOS = [
    ["contract", contract],
    ...TABLE.map((scenario) => [scenario.name, from_table(scenario)]),
    ["edits", edits],
    ["fault", fault],
    ["late module", late_module],
    ["reload and return", reload_and_return],
    ["failures", failures],
    ["updates", updates],
    ["contrast", contrast],
    ["phone", phone],
    ...TABLE.filter((scenario) => scenario.steps.some((step) => step.ends)).map((scenario) =>
        [`${scenario.name} on a phone`, from_table(scenario, (page) => ({...PHONE, mobile: page.can.mobile}))]),
    ["touch and screen readers", touch_and_screen_readers],
    ["long figures", long_figures],
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
