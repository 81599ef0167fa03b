// In every document of the page, frames included, before the document's own
// scripts: navigator.clipboard.writeText() writes as execCommand("copy")
// does, which the engine's clipboard switch allows without asking, where the
// engine would ask for the one permission that lets reading through too.
(function () {
    if (typeof Clipboard !== "function")
        return;
    const writeText = function (text) {
        const data = String(text);
        return new Promise((resolve, reject) => {
            const copy = event => {
                event.clipboardData.setData("text/plain", data);
                event.preventDefault();
                event.stopImmediatePropagation();
            };
            window.addEventListener("copy", copy, {capture: true});
            const written = document.execCommand("copy");
            window.removeEventListener("copy", copy, {capture: true});
            if (written)
                resolve();
            else
                reject(new DOMException("Writing the clipboard failed.", "NotAllowedError"));
        });
    };
    Object.defineProperty(Clipboard.prototype, "writeText",
            {value: writeText, writable: false, configurable: false});
})();
