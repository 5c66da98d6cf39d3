// Keeps one build of the site in a cache named after the build and answers
// from it first, so that after the first visit the page opens and computes
// with no network. A new build takes every file anew and the browser checks
// each against the digest the build wrote here: should one differ (a file of
// another build, an upload not yet complete), the new build is not kept and
// the old one stays in use. The build before is kept until the next one, for
// a page of it that is still open.
"use strict";

const build = "korvantelo-@BUILD@";
const files = @FILES@;
const installed = "korvantelo-installed";  // when a build was kept, in each build's cache

self.addEventListener("install", (event) => {
    event.waitUntil((async () => {
        // A file whose name carries its digest comes from the browser's
        // cache where the page fetched it already and it is whole there (not
        // a failure kept from a half upload); every other from the site.
        const responses = await Promise.all(files.map(async ([file, integrity, named_by_digest]) => {
            const cached = named_by_digest
                ? await fetch(new Request(file, {cache: "force-cache", integrity})).catch(() => null) : null;
            return cached?.ok ? cached : fetch(new Request(file, {cache: "reload", integrity}));
        }));
        const missing = responses.findIndex((response) => !response.ok);
        if (missing >= 0) throw new Error(`${files[missing][0]} is missing from the site`);
        const cache = await caches.open(build);
        await Promise.all(responses.map((response, at) => cache.put(files[at][0], response)));
        await cache.put(installed, new Response(String(Date.now())));
        await self.skipWaiting();
    })());
});

self.addEventListener("activate", (event) => {
    event.waitUntil((async () => {
        const others = (await caches.keys()).filter((name) => name.startsWith("korvantelo-") && name !== build);
        const times = await Promise.all(others.map(async (name) =>
            Number(await (await (await caches.open(name)).match(installed))?.text() ?? 0)));
        const previous = others[times.indexOf(Math.max(...times))];
        await Promise.all(others.filter((name) => name !== previous).map((name) => caches.delete(name)));
        await self.clients.claim();
    })());
});

// Opened once for all the requests of a page, while the worker runs.
let kept = null;
// The page is kept as its folder ("./"), and answers for the folder and for
// its index.html (a bookmark, a shared link), with any query; any other
// address in the folder is asked of the network.
const page = new URL("./", location).href;

self.addEventListener("fetch", (event) => {
    if (event.request.method !== "GET") return;
    kept ??= caches.open(build);
    const address = new URL(event.request.url);
    address.search = "";
    const request = address.href === `${page}index.html` ? page : event.request;
    event.respondWith((async () =>
        await (await kept).match(request, {ignoreSearch: true}) ??
        await caches.match(request, {ignoreSearch: true}) ??
        fetch(event.request))());
});
