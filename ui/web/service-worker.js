// Keeps the whole site in a cache named after its contents and answers from
// it first, so that after the first visit the page opens and computes with
// no network. A new build has a new name: its worker fetches every file
// afresh, takes over at once and drops the caches of older builds.
"use strict";

const cache_name = "korvantelo-@SITE_VERSION@";
const site = [@SITE_FILES@];

self.addEventListener("install", (event) => {
    event.waitUntil(caches.open(cache_name)
        .then((cache) => cache.addAll(site.map((file) => new Request(file, {cache: "reload"}))))
        .then(() => self.skipWaiting()));
});

self.addEventListener("activate", (event) => {
    event.waitUntil(caches.keys()
        .then((names) => Promise.all(names.filter((name) => name !== cache_name).map((name) => caches.delete(name))))
        .then(() => self.clients.claim()));
});

self.addEventListener("fetch", (event) => {
    if (event.request.method !== "GET") return;
    event.respondWith(caches.open(cache_name)
        .then((cache) => cache.match(event.request, {ignoreSearch: true}))
        .then((cached) => cached || fetch(event.request)));
});
