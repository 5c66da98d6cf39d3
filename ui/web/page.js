// The page's view of the program, the part in the browser. The build wrote
// the first window into index.html (ui/web/static_page.cpp); this script
// starts the WebAssembly module, whose view (ui/web/page_view.cpp) takes the
// window's elements over by their ids and calls the functions of `page` to
// show what the program changes and asks; every edit, tick and press goes to
// the program through the module's C interface (app/web/entry.cpp). What the
// user did before the module was ready is handed on first, in order.
"use strict";

const controls = [];  // by index in the control table: the element, its box, caption and fitted figure
const messages = [];  // waiting to be shown, one after another
const measure = document.createElement("canvas").getContext("2d");
const window_element = document.querySelector(".window");
const start = window.korvantelo_start;

const page = {
    adopt(index, name) {
        const element = document.getElementById(name);
        const box = element.closest(".control");
        const caption = box.classList.contains("check_box") ? box.querySelector("span") : element;
        const fitted = box.classList.contains("figure") ? box.nextElementSibling : null;
        controls[index] = {element, box, caption, fitted};
    },
    // A text the program writes shows from its first character; a figure
    // in a box is announced (the ratio, a status, announces itself).
    show_text(index, text) {
        const {element, box} = controls[index];
        element.value = text;
        element.setSelectionRange(0, 0);
        element.scrollLeft = 0;
        if (box.classList.contains("figure")) {
            document.getElementById("announce").textContent = element.getAttribute("aria-label") + " " + text;
        }
    },
    show_caption(index, text) {
        controls[index].caption.textContent = text;
    },
    show_value(index, value) {
        controls[index].element.checked = value === 1;
    },
    // The control and its hint.
    show_visible(index, visible) {
        start.shown(controls[index].element, visible);
    },
    // The figure shortened, over the box, which keeps the whole figure and
    // offers it on hovering; null: the box shows it whole.
    show_fitted(index, shown) {
        const {element, box, fitted} = controls[index];
        box.classList.toggle("elided", shown !== null);
        fitted.hidden = shown === null;
        fitted.textContent = shown ?? "";
        if (shown === null) element.removeAttribute("title");
        else element.title = element.value ?? element.textContent;
    },
    // The model's state, where the control shows another: a text or a tick
    // that a browser put back, a figure that showed pending.
    show_state(index, text, value, visible) {
        const {element, caption} = controls[index];
        if (element.type === "text") {
            if (element.value !== text) element.value = text;
        } else if (caption.textContent !== text) {
            caption.textContent = text;
        }
        if (element.type === "checkbox") element.checked = value === 1;
        element.removeAttribute("aria-busy");
        start.shown(element, visible);
    },
    // The width inside the box's padding. Not from clientWidth, which
    // Firefox gives for a text box without its padding, and every engine in
    // whole pixels.
    room(index) {
        const {box} = controls[index];
        const style = getComputedStyle(box);
        const edges = ["paddingLeft", "paddingRight", "borderLeftWidth", "borderRightWidth"]
            .reduce((sum, edge) => sum + parseFloat(style[edge]), 0);
        return box.getBoundingClientRect().width - edges;
    },
    // Whether the control has the focus while the page has the system's (:focus).
    focused(index) {
        return controls[index].element.matches(":focus");
    },
    text_width(index, text) {
        const style = getComputedStyle(controls[index].box);
        measure.font = `${style.fontWeight} ${style.fontSize} ${style.fontFamily}`;
        return measure.measureText(text).width;
    },
    show_message(title, prompt) {
        messages.push([title, prompt]);
        if (messages.length === 1) tell();
    },
    // The focus into the first control, unless the user has put it somewhere already.
    show(first) {
        if (!window_element.contains(document.activeElement)) controls[first].element.focus();
    },
    // After a fault the window takes no more input. WebKit leaves the caret
    // in the box that had the focus, and keys typed then still edit that
    // box, inert or not: the caret goes too.
    end() {
        window_element.inert = true;
        document.getSelection().removeAllRanges();
    },
};

// The messages one after another, each modal.
function tell() {
    const dialog = document.getElementById("message");
    const [title, prompt] = messages[0];
    document.getElementById("message-title").textContent = title;
    document.getElementById("message-text").textContent = prompt;
    dialog.addEventListener("close", () => {
        messages.shift();
        if (messages.length > 0) tell();
    }, {once: true});
    dialog.showModal();
}

// A failure whose text for the user is ours, `told`; any other error is the
// browser's or the module's, and what it says goes to the console.
const failure = (told) => Object.assign(new Error(told), {told});

async function open() {
    const module = await createKorvantelo({page, wasmBinary: await start.module});
    const program = module._korvantelo_open();
    if (!program) throw failure("Für das Fenster fehlt der Speicher. Bitte die Seite neu laden.");
    const edited = (index, text) => {
        const pointer = module.allocateUTF8(text);
        try {
            module._korvantelo_edited(program, index, pointer);
        } finally {
            module._free(pointer);
        }
    };
    const index_of = new Map(controls.map(({element}, index) => [element.id, index]));
    for (const [action, id, text] of start.take_over()) {
        const index = index_of.get(id);
        if (action === "edited") edited(index, text);
        else if (action === "toggled") module._korvantelo_toggled(program, index);
        else module._korvantelo_pressed(program, index);
    }
    // Whatever showed otherwise meanwhile now shows what the program holds;
    // so again whenever the page is shown anew, back from the browser's
    // cache included.
    const show_state = () => module._korvantelo_show_state(program);
    show_state();
    addEventListener("pageshow", show_state);
    // Every edit of a box (typing, paste, cut, undo, drop) is one input
    // event with the box's whole new text.
    controls.forEach(({element}, index) => {
        if (element.type === "text") element.addEventListener("input", () => edited(index, element.value));
        else if (element.type === "checkbox") {
            element.addEventListener("change", () => module._korvantelo_toggled(program, index));
        } else if (element.localName === "button") {
            element.addEventListener("click", () => module._korvantelo_pressed(program, index));
        }
    });
    // A figure shows whole while its box has the focus: the figures are
    // fitted anew whenever a figure's box takes or leaves the focus, and
    // when the page does (a Tab between other controls changes none).
    const refit = () => module._korvantelo_refit(program);
    addEventListener("resize", () => requestAnimationFrame(refit));
    document.fonts.ready.then(refit);
    const refocused = (event) => {
        if (event.target === window || event.target.classList?.contains("figure")) refit();
    };
    for (const type of ["focus", "blur"]) addEventListener(type, refocused, true);
}

open().then(() => {
    // The offline copy is made once the page has loaded, not in the way of
    // its first frame.
    if ("serviceWorker" in navigator) {
        // Where the browser keeps no offline copy (a private window, a page
        // it let run from a file), the page runs all the same.
        const keep_offline = () => navigator.serviceWorker.register("service-worker.js").catch(() => null);
        if (document.readyState === "complete") keep_offline();
        else addEventListener("load", keep_offline, {once: true});
    }
}, (error) => {
    console.error(error);
    start.failed(error.told ?? (typeof WebAssembly !== "object"
        ? "Dieser Browser kennt kein WebAssembly. Bitte einen anderen Browser nehmen."
        : "Das Rechenmodul ließ sich nicht starten. Bitte die Seite neu laden oder einen anderen Browser nehmen."));
});
