// The page: builds the window from the tables of the WebAssembly module,
// hands every edit, tick and press to the model and shows what the model
// changed, and its messages in a modal dialog. What the window presents
// (names, hints, places, fonts, colour pairs, pictures) comes from the
// module; this script only puts it on the page. The answers of the module's
// C interface are described in app/web/page.h.
"use strict";

createKorvantelo().then(open_window);

function open_window(module) {
    const page = module._korvantelo_open();
    if (!page) throw new Error("korvantelo: no memory for the window");
    const tables = JSON.parse(module.UTF8ToString(module._korvantelo_tables(page)));
    const window_element = document.querySelector(".window");
    const controls = build_window(window_element, tables);

    // The user's actions: every edit of a box (typing, paste, cut, undo,
    // drop) arrives as one input event with the box's whole new text.
    controls.forEach(({element, kind}, index) => {
        if (kind === "text_box") {
            element.addEventListener("input", () => {
                const text = module.allocateUTF8(element.value);
                try {
                    act(module._korvantelo_replace_text(page, index, text));
                } finally {
                    module._free(text);
                }
            });
        } else if (kind === "check_box") {
            element.addEventListener("change", () => act(module._korvantelo_toggle(page, index)));
        } else if (kind === "command_button") {
            element.addEventListener("click", () => act(module._korvantelo_press(page, index)));
        }
    });

    function act(answer_pointer) {
        const text = module.UTF8ToString(answer_pointer);
        // An empty answer: not even the answer could be written.
        const answer = text ? JSON.parse(text) : {shown: [], messages: [tables.fault], ended: true};
        for (const [index, field, value] of answer.shown) show(controls[index], field, value);
        tell(answer.messages, answer.ended);
    }

    // The messages one after another, each modal; after a fault the window
    // takes no more input, from before its message, so that no key pressed
    // as the message closes reaches a box. WebKit leaves the caret in the
    // box that had the focus, and keys typed then still edit that box, inert
    // or not: the caret goes too.
    function tell(messages, ended) {
        if (ended) {
            window_element.inert = true;
            document.getSelection().removeAllRanges();
        }
        if (messages.length === 0) return;
        const dialog = document.getElementById("message");
        const [title, prompt] = messages[0];
        document.getElementById("message-title").textContent = title;
        document.getElementById("message-text").textContent = prompt;
        dialog.addEventListener("close", () => tell(messages.slice(1), ended), {once: true});
        dialog.showModal();
    }

    act(module._korvantelo_load(page));
    const first = controls.find((control) => control.tab === 1);
    if (first) first.element.focus();
    // The offline copy is made once the page has loaded, not in the way of
    // its first frame.
    if ("serviceWorker" in navigator) {
        const keep_offline = () => navigator.serviceWorker.register("service-worker.js");
        if (document.readyState === "complete") keep_offline();
        else window.addEventListener("load", keep_offline, {once: true});
    }
}

// A change the program made. A text the program writes into a box shows
// from its first character.
function show({element, box, caption}, field, value) {
    if (field === "visible") {
        box.hidden = !value;
    } else if (field === "value") {
        element.checked = value === 1;
    } else if (field === "text") {
        element.value = value;
        element.setSelectionRange(0, 0);
        element.scrollLeft = 0;
    } else {
        caption.textContent = value;
    }
}

// The window's controls from the tables: each inside the box its lines draw
// (a group named by the box's first control), in reading order, in rows (see
// rows_of). Returns, in the order of the tables, each control's element (its
// id the control's name), the box that places it, and the node that shows
// its caption.
function build_window(window_element, tables) {
    document.documentElement.style.setProperty("--face", JSON.stringify(tables.face));
    window_element.id = tables.name;
    window_element.style.setProperty("--width", tables.size[0] + "px");
    window_element.style.setProperty("--height", tables.size[1] + "px");

    const controls = tables.controls.map(build_control);
    window_element.append(...controls.flatMap((control) => control.hint || []));
    const boxes = boxes_of(tables.controls);
    const inside = (rect, b) => rect[0] >= b[0] && rect[0] < b[0] + b[2] && rect[1] >= b[1] && rect[1] < b[1] + b[3];
    const place_in = (index, origin) => {
        const {rect} = tables.controls[index];
        place(controls[index].box, [rect[0] - origin[0], rect[1] - origin[1], rect[2], rect[3]]);
        return controls[index].box;
    };
    for (const b of boxes) {
        const group = document.createElement("div");
        group.className = "group";
        group.setAttribute("role", "group");
        place(group, b);
        const members = tables.reading.filter((index) => inside(tables.controls[index].rect, b));
        for (const row of rows_of(members.map((index) => tables.controls[index].rect))) {
            const row_element = document.createElement("div");
            row_element.className = "row";
            row_element.append(...row.map((at) => place_in(members[at], b)));
            group.append(row_element);
        }
        tables.controls.forEach((control, index) => {
            if (control.kind === "line" && inside(control.rect, b)) group.append(place_in(index, b));
        });
        group.setAttribute("aria-labelledby", controls[members[0]].element.id);
        window_element.append(group);
    }
    for (const index of tables.reading) {
        if (!boxes.some((b) => inside(tables.controls[index].rect, b))) window_element.append(place_in(index, [0, 0]));
    }
    return controls;
}

// The rows of a box for the one column of a phone, as positions in `rects`
// (the box's controls in reading order). A row goes on while the next
// control stands beside the last one on the desktop: further right, and
// overlapping it in height. Anything else (a box under its caption, the
// next column) starts a new row.
function rows_of(rects) {
    const rows = [];
    rects.forEach((rect, at) => {
        const last = at > 0 ? rects[at - 1] : null;
        const beside = last && rect[0] >= last[0] && rect[1] < last[1] + last[3] && last[1] < rect[1] + rect[3];
        if (!beside) rows.push([]);
        rows[rows.length - 1].push(at);
    });
    return rows;
}

// The window's boxes, each from one line across to the next below it, as
// [left, top, width, height].
function boxes_of(controls) {
    const across = controls.filter((c) => c.kind === "line" && c.rect[2] > c.rect[3])
        .map((c) => c.rect).sort((a, b) => a[1] - b[1]);
    const boxes = [];
    for (let i = 0; i + 1 < across.length; i += 2) {
        const [top, bottom] = [across[i], across[i + 1]];
        const left = Math.min(top[0], bottom[0]);
        const right = Math.max(top[0] + top[2], bottom[0] + bottom[2]);
        boxes.push([left, top[1], right - left, bottom[1] + bottom[3] - top[1]]);
    }
    return boxes;
}

function place(element, [left, top, width, height]) {
    element.style.setProperty("--x", left + "px");
    element.style.setProperty("--y", top + "px");
    element.style.setProperty("--w", width + "px");
    element.style.setProperty("--h", height + "px");
}

const makers = {
    text_box(c) {
        const input = document.createElement("input");
        input.type = "text";
        input.inputMode = "decimal";
        input.autocomplete = "off";
        input.spellcheck = false;
        input.setAttribute("autocapitalize", "off");
        input.value = c.text;
        input.disabled = !c.enabled;
        return {element: input, box: input};
    },
    label(c) {
        const span = document.createElement("span");
        span.textContent = c.text;
        return {element: span, box: span, caption: span};
    },
    check_box(c) {
        const box = document.createElement("label");
        const input = document.createElement("input");
        input.type = "checkbox";
        input.checked = c.value === 1;
        const caption = document.createElement("span");
        caption.textContent = c.text;
        box.append(input, caption);
        return {element: input, box, caption};
    },
    command_button(c) {
        const button = document.createElement("button");
        button.type = "button";
        button.textContent = c.text;
        return {element: button, box: button, caption: button};
    },
    image_box(c) {
        const image = document.createElement("img");
        image.alt = "";
        if (c.picture) image.src = c.picture;
        [image.width, image.height] = [c.rect[2], c.rect[3]];
        return {element: image, box: image};
    },
    line() {
        const line = document.createElement("div");
        line.setAttribute("aria-hidden", "true");
        return {element: line, box: line};
    },
};

function build_control(c) {
    const made = makers[c.kind](c);
    const {element, box} = made;
    element.id = c.name;
    box.classList.add("control", c.kind);
    box.hidden = !c.visible;
    box.style.setProperty("--z", c.z);
    if (c.font) {
        box.style.setProperty("--size", c.font[0] + "px");
        box.style.setProperty("--weight", c.font[1] ? "bold" : "normal");
    }
    if (c.tab) element.tabIndex = c.tab;
    if (c.label) element.setAttribute("aria-label", c.label);
    if (c.hint) {
        const hint = document.createElement("span");
        hint.id = c.name + "-hint";
        hint.hidden = true;
        hint.textContent = c.hint;
        made.hint = hint;
        element.setAttribute("aria-describedby", hint.id);
        if (c.tooltip) box.title = c.hint;
    }
    if (c.colours) {
        box.classList.add("paired");
        box.style.setProperty("--pair-text", c.colours[0]);
        box.style.setProperty("--pair-ground", c.colours[1]);
    }
    return {...made, kind: c.kind, tab: c.tab};
}
