// The three browser engines of Debian behind one small driver each, for the
// page test, the screenshots and the benchmark: Chromium and Firefox through
// puppeteer-core (Chromium over its DevTools protocol, Firefox over WebDriver
// BiDi, neither with a driver program), WebKit through WebKitGTK's
// WebDriver, which starts its MiniBrowser, with selenium-webdriver. Every browser starts with a
// profile of its own, so that no cache, service worker or setting carries
// over from another run. serve() is the test's web server, which can make
// the network slow, a file broken or a new build arrive.
//
// A driver opens a page in a view ({width, height, mobile, dark, forced,
// scale}: CSS pixels, a phone's coarse pointer and touch, the dark scheme,
// forced colours, device pixels per CSS pixel), sends real key events to the
// focused element and clicks, evaluates a function in the page, takes a
// screenshot of the viewport and closes. What an engine cannot do is in its
// `can`; a view that asks for more, or that the page does not see as asked,
// fails rather than being shown otherwise.
"use strict";

const child_process = require("node:child_process");
const fs = require("node:fs");
const http = require("node:http");
const path = require("node:path");
const mime = require("mrmime");
const puppeteer = require("puppeteer-core");
const webdriver = require("selenium-webdriver");
const remote = require("selenium-webdriver/remote");
const sirv = require("sirv");

const CHROMIUM = "/usr/bin/chromium";
const FIREFOX = "/usr/bin/firefox-esr";
const WEBKIT_DRIVER = "/usr/bin/WebKitWebDriver";
// WebKitGTK keeps its MiniBrowser in the multiarch folder of its library.
const MINIBROWSER = (() => {
    const triplets = fs.readdirSync("/usr/lib").filter((name) => /-linux-gnu/.test(name));
    return triplets.map((t) => `/usr/lib/${t}/webkit2gtk-4.1/MiniBrowser`).find((f) => fs.existsSync(f))
        ?? "/usr/lib/<triplet>/webkit2gtk-4.1/MiniBrowser";
})();

const DESKTOP = {width: 800, height: 600, mobile: false, dark: false, forced: false, scale: 1};

// A key: one character, a key name as puppeteer spells it ("Enter", "Tab",
// "Escape", "Backspace"), or a chord such as "Control+a".
const chord = (key) => (key.length > 1 && key.includes("+") ? key.split("+") : [key]);

class Driver {
    constructor(name) {
        this.name = name;
        this.view = null;
    }

    // The page at `url` in `view` (DESKTOP where not given), loaded.
    async open(url, view = {}) {
        view = {...DESKTOP, ...view};
        for (const feature of ["mobile", "forced"]) {
            if (view[feature] && !this.can[feature]) throw new Error(`${this.name} cannot emulate ${feature}`);
        }
        await this.show(view);
        this.view = view;
        await this.navigate(url);
        await this.shows_view();
    }

    // The viewport's size at run time, in CSS pixels; the rest of the view stays.
    async resize(width, height) {
        this.view = {...this.view, width, height};
        await this.show(this.view);
        await this.shows_view();
    }

    // Fails unless the page sees the view as asked.
    async shows_view() {
        const {width, height, scale, dark, forced, mobile} = this.view;
        const seen = await this.evaluate(() => [innerWidth, innerHeight, devicePixelRatio,
            ...["(prefers-color-scheme: dark)", "(forced-colors: active)", "(pointer: coarse)"].map((q) => matchMedia(q).matches)]);
        const asked = [width, height, scale, dark, forced, mobile];
        if (JSON.stringify(seen) !== JSON.stringify(asked)) {
            throw new Error(`${this.name}: the page sees ${JSON.stringify(seen)} (width, height, density, dark, ` +
                `forced colours, coarse pointer), not ${JSON.stringify(asked)}`);
        }
    }

    async focused() {
        return this.evaluate(() => document.activeElement?.id ?? "");
    }

    // The viewport as a PNG. Every picture is decoded first: WebKit shows
    // none that is not.
    async screenshot(file) {
        await this.evaluate(() => Promise.all([...document.images].map((image) => image.decode())));
        fs.writeFileSync(file, await this.capture());
    }
}

// --------------------------------------------------- Chromium and Firefox ---

class PuppeteerDriver extends Driver {
    async close() {
        await this.browser?.close();
        [this.browser, this.launched] = [null, null];
    }

    async navigate(url) {
        await this.page.goto(url, {waitUntil: "load"});
    }

    async reload() {
        await this.page.reload({waitUntil: "load"});
    }

    async back() {
        await this.page.goBack({waitUntil: "load"});
    }

    async keys(...keys) {
        const keyboard = this.page.keyboard;
        for (const key of keys) {
            const held = chord(key);
            const last = held.pop();
            for (const k of held) await keyboard.down(k);
            await keyboard.press(last);
            for (const k of held.reverse()) await keyboard.up(k);
        }
    }

    async click(id) {
        const element = await this.page.evaluateHandle((i) => document.getElementById(i), id);
        await element.asElement().click();
    }

    async evaluate(fn, ...args) {
        return this.page.evaluate(fn, ...args);
    }

    async capture() {
        return this.page.screenshot({type: "png"});
    }

    async viewport(view) {
        await this.page.setViewport({
            width: view.width, height: view.height, deviceScaleFactor: view.scale,
            isMobile: view.mobile, hasTouch: view.mobile, isLandscape: view.width > view.height});
    }
}

class Chromium extends PuppeteerDriver {
    static missing() {
        return fs.existsSync(CHROMIUM) ? null : CHROMIUM;
    }

    constructor() {
        super("chromium");
        // The accessibility tree and the installability check are read over
        // the DevTools protocol, which only Chromium speaks.
        this.can = {accessibility: true, installability: true, mobile: true, forced: true, undo: true, narrowest: 0};
    }

    // As root Chromium needs --no-sandbox; its background services (updates,
    // sync, field trials) stay off, since this machine's closed network
    // refuses their connections.
    async start() {
        this.browser = await puppeteer.launch({
            executablePath: CHROMIUM, headless: true,
            args: ["--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run", "--hide-scrollbars",
                "--disable-background-networking", "--disable-component-update", "--disable-sync"]});
        this.page = (await this.browser.pages())[0] ?? await this.browser.newPage();
        this.devtools = await this.page.createCDPSession();
    }

    // Everything at run time: viewport, phone and media features (puppeteer
    // knows no forced colours, the protocol does).
    async show(view) {
        if (!this.browser) await this.start();
        await this.viewport(view);
        await this.devtools.send("Emulation.setEmulatedMedia", {features: [
            {name: "prefers-color-scheme", value: view.dark ? "dark" : "light"},
            {name: "forced-colors", value: view.forced ? "active" : "none"}]});
    }

    async accessible(id) {
        const element = await this.page.evaluateHandle((i) => document.getElementById(i), id);
        const node = await this.page.accessibility.snapshot({root: element.asElement(), interestingOnly: false});
        return {role: node?.role ?? "", name: node?.name ?? "", description: node?.description ?? ""};
    }

    // The names of the controls in each group of the accessibility tree.
    async accessible_groups(groups = {}, node = null, group = null) {
        node ??= await this.page.accessibility.snapshot({interestingOnly: false});
        if (node.role === "group") group = groups[node.name] = [];
        else if (group && ["textbox", "checkbox", "button", "status"].includes(node.role)) group.push(node.name);
        for (const child of node.children ?? []) await this.accessible_groups(groups, child, group);
        return groups;
    }

    async installability_errors() {
        return (await this.devtools.send("Page.getInstallabilityErrors")).installabilityErrors;
    }
}

class Firefox extends PuppeteerDriver {
    static missing() {
        return fs.existsSync(FIREFOX) ? null : FIREFOX;
    }

    constructor() {
        super("firefox");
        // WebDriver BiDi has no media emulation yet: the scheme, forced
        // colours and the phone's pointer are preferences of a new browser.
        this.can = {accessibility: false, installability: false, mobile: true, forced: true, undo: true, narrowest: 0};
    }

    async show(view) {
        const prefs = {
            // Each file its own origin, as in every Firefox but puppeteer's
            // profile, so that a page opened from a file fails as it does
            // for a user.
            "security.fileuri.strict_origin_policy": true,
            "ui.systemUsesDarkTheme": view.dark ? 1 : 0,
            // 2: the system's colours instead of the page's, which is what
            // forced-colors: active stands for.
            "browser.display.document_color_use": view.forced ? 2 : 0,
            // No page kept for Back: puppeteer loses one brought back from there.
            "browser.sessionhistory.max_total_viewers": 0,
        };
        if (view.mobile) {
            // A touch screen as the only pointer: coarse, without hover; and
            // a phone's scroll bars, which take no room from the page.
            Object.assign(prefs, {"ui.primaryPointerCapabilities": 1, "ui.allPointerCapabilities": 1,
                "ui.useOverlayScrollbars": 1});
        }
        const launch = JSON.stringify(prefs);
        if (launch !== this.launched) {
            await this.close();
            this.browser = await puppeteer.launch({
                browser: "firefox", executablePath: FIREFOX, headless: true, extraPrefsFirefox: prefs});
            this.page = (await this.browser.pages())[0] ?? await this.browser.newPage();
            this.launched = launch;
        }
        await this.viewport(view);
    }

    // Firefox's automation sends no click for Enter or Space on a focused
    // button or check box, which a user's key makes: there the driver clicks
    // the focused control instead.
    async keys(...keys) {
        for (const key of keys) {
            const focused = await this.page.evaluateHandle(() => document.activeElement);
            const activates = (key === "Enter" || key === " ")
                && await focused.evaluate((e) => e.matches("button, input[type=checkbox]"));
            await (activates ? focused.asElement().click() : super.keys(key));
        }
    }
}

// ----------------------------------------------------------------- WebKit ---

// WebKitGTK has no headless mode: each MiniBrowser gets an X server of its
// own, large enough for every view at twice the density, on a display
// number the server picks.
function start_xvfb() {
    return new Promise((resolve, reject) => {
        const server = child_process.spawn("Xvfb", ["-displayfd", "3", "-screen", "0", "2048x2048x24", "-nolisten", "tcp"],
            {stdio: ["ignore", "ignore", "pipe", "pipe"]});
        // What it says of the display numbers in use as it looks for a free
        // one is told only if it fails.
        let said = "";
        server.stderr.on("data", (data) => {
            said += data;
        });
        server.once("error", reject);
        server.once("exit", (code, signal) => reject(new Error(`Xvfb ended at its start (${code ?? signal}): ${said}`)));
        let number = "";
        server.stdio[3].on("data", (data) => {
            number += data;
            if (number.endsWith("\n")) resolve({server, display: `:${number.trim()}`});
        });
    });
}

const SELENIUM_KEYS = {Enter: webdriver.Key.ENTER, Escape: webdriver.Key.ESCAPE, Tab: webdriver.Key.TAB,
    Backspace: webdriver.Key.BACK_SPACE, End: webdriver.Key.END, Control: webdriver.Key.CONTROL,
    Shift: webdriver.Key.SHIFT};

class WebKit extends Driver {
    static missing() {
        return [WEBKIT_DRIVER, MINIBROWSER].find((f) => !fs.existsSync(f)) ?? null;
    }

    constructor() {
        super("webkit");
        // No forced colours in WebKit, no way to give the GTK port a touch
        // screen under Xvfb (its pointer stays fine), Control+Z in a box
        // that its automation types into undoes nothing, and the
        // MiniBrowser's window is 334 pixels wide at the least.
        this.can = {accessibility: false, installability: false, mobile: false, forced: false, undo: false,
            narrowest: 334};
    }

    // The dark scheme and the density are the MiniBrowser's and GTK's at
    // start; the size is its window's, which --full-screen gives over to the
    // page alone (no toolbar), so the viewport is exactly the window.
    async show(view) {
        const launch = JSON.stringify([view.dark, view.scale]);
        if (launch !== this.launched) {
            await this.close();
            this.x = await start_xvfb();
            this.service = new remote.DriverService.Builder(WEBKIT_DRIVER).setHostname("127.0.0.1")
                .setEnvironment({...process.env, DISPLAY: this.x.display, GDK_SCALE: String(view.scale)})
                .setStdio(["ignore", "ignore", "inherit"]).build();
            const args = ["--automation", "--full-screen", ...(view.dark ? ["--dark-mode"] : [])];
            this.driver = await new webdriver.Builder().usingServer(await this.service.start())
                .withCapabilities({browserName: "MiniBrowser", "webkitgtk:browserOptions": {binary: MINIBROWSER, args}})
                .build();
            this.launched = launch;
        }
        await this.driver.manage().window().setRect({x: 0, y: 0, width: view.width, height: view.height});
        // The new size reaches the page's layout a frame or two later.
        await this.next_frames();
    }

    async close() {
        try {
            await this.driver?.quit();
        } finally {
            await this.service?.kill();
            this.x?.server.kill();
            [this.driver, this.service, this.x, this.launched] = [null, null, null, null];
        }
    }

    async navigate(url) {
        await this.driver.get(url);
    }

    async reload() {
        await this.driver.navigate().refresh();
    }

    async back() {
        await this.driver.navigate().back();
    }

    async keys(...keys) {
        for (const key of keys) {
            const held = chord(key).map((k) => SELENIUM_KEYS[k] ?? k);
            const last = held.pop();
            let actions = this.driver.actions();
            for (const k of held) actions = actions.keyDown(k);
            actions = actions.sendKeys(last);
            for (const k of held.reverse()) actions = actions.keyUp(k);
            await actions.perform();
        }
    }

    async click(id) {
        await (await this.driver.findElement(webdriver.By.id(id))).click();
    }

    async evaluate(fn, ...args) {
        return this.driver.executeScript(`return (${fn}).apply(null, arguments);`, ...args);
    }

    // WebKit's screenshot is what it painted last: a change made just before
    // shows a frame or two later.
    async capture() {
        await this.next_frames();
        return Buffer.from(await this.driver.takeScreenshot(), "base64");
    }

    async next_frames() {
        await this.evaluate(() => new Promise((done) => requestAnimationFrame(() => requestAnimationFrame(done))));
    }
}

const ENGINES = {chromium: Chromium, firefox: Firefox, webkit: WebKit};

// --------------------------------------------------------- the site served ---

// A folder of the site on a free port of 127.0.0.1 under `base` ("/" or a
// folder such as "/korvantelo/"), with sirv. Every answer tells the browser
// to ask again before it uses a kept copy (a host that lets the browser keep
// files for a while: `max_age` in seconds). What a test does to the site:
//   serving(folder)    from now on answers from another folder (another build
//                      uploaded, or half of one);
//   hold(pattern)      keeps back the answers for paths that match until the
//                      function it returns is called (a slow network);
//   alter(pattern, f)  answers a path that matches with f(its bytes), or not
//                      at all where f gives null (a broken or missing file);
//   stop()             stops answering: a request from then on finds no server.
// `requests` counts the requests for each path, from the site's folder.
async function serve(folder, {base = "/", max_age = 0} = {}) {
    const folders = new Map();
    const answer = (from) => {
        if (!folders.has(from)) folders.set(from, sirv(from, {etag: true, maxAge: max_age, dotfiles: false}));
        return folders.get(from);
    };
    let current = folder;
    const held = [];
    const altered = [];
    const requests = new Map();
    const server = http.createServer(async (request, response) => {
        const file = new URL(request.url, "http://site").pathname;
        if (!file.startsWith(base)) return response.writeHead(404).end();
        const name = file.slice(base.length - 1).replace(/\/$/, "/index.html");
        requests.set(name, (requests.get(name) ?? 0) + 1);
        const hold = held.find((h) => h.pattern.test(name));
        if (hold) await hold.released;
        const alter = altered.find((a) => a.pattern.test(name));
        if (alter) {
            const body = alter.change(fs.readFileSync(path.join(current, name)));
            if (body === null) return response.writeHead(404).end();
            return response.writeHead(200, {"Content-Type": mime.lookup(name) ?? "", "Cache-Control": "no-store"}).end(body);
        }
        request.url = name + new URL(request.url, "http://site").search;
        answer(current)(request, response);
    });
    await new Promise((done, fail) => server.once("error", fail).listen(0, "127.0.0.1", done));
    return {
        url: `http://127.0.0.1:${server.address().port}${base}`,
        requests,
        serving(other) {
            current = other;
        },
        hold(pattern) {
            const hold = {pattern};
            hold.released = new Promise((done) => {
                hold.release = done;
            });
            held.push(hold);
            return () => {
                held.splice(held.indexOf(hold), 1);
                hold.release();
            };
        },
        alter(pattern, change) {
            altered.push({pattern, change});
        },
        stop() {
            held.splice(0).forEach((h) => h.release());
            server.closeAllConnections();
            return new Promise((done) => server.close(done));
        },
    };
}

// Waits until `probe` answers something true, and returns that.
async function wait_for(what, probe, timeout = 10000) {
    const deadline = Date.now() + timeout;
    for (;;) {
        const answer = await probe();
        if (answer) return answer;
        if (Date.now() > deadline) throw new Error(`timed out waiting for ${typeof what === "function" ? await what() : what}`);
        await new Promise((done) => setTimeout(done, 20));
    }
}

module.exports = {ENGINES, serve, wait_for};
