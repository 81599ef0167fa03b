// A console for the native object: every slot with inputs for its arguments,
// a button to call it and its answer, so a person can try the whole interface.
"use strict";

const parameters = new URLSearchParams(location.search);
// "?report=<address>" names the report the download slots offer by default.
const report = parameters.get("report") || "http://127.0.0.1:8000/report.pdf";

const slots = [
    { name: "isConnected", args: [] },
    { name: "Connected", args: [] },
    { name: "Disconnect", args: [] },
    { name: "getDeviceID", args: [] },
    { name: "getDeviceInfo", args: [] },
    { name: "getOption", args: [{ label: "key", type: "text", value: "SerialNumber" }] },
    { name: "getIni", args: [{ label: "key", type: "text", value: "Hello" }] },
    { name: "setIni", args: [{ label: "key", type: "text", value: "Hello" },
                             { label: "value", type: "text", value: "World" }] },
    { name: "doCalibrate", args: [] },
    { name: "doCalibrateNow", args: [] },
    { name: "doOneScan", args: [] },
    { name: "doOneScanNow", args: [] },
    { name: "doOpen", args: [{ label: "url", type: "text", value: report }] },
    { name: "doDownloadReport", args: [{ label: "url", type: "text", value: report },
                                       { label: "openWhenDone", type: "checkbox", value: false }] },
    { name: "doDownloadSaveReport", args: [{ label: "url", type: "text", value: report },
                                           { label: "fileName", type: "text", value: "report.pdf" },
                                           { label: "openWhenDone", type: "checkbox", value: false }] },
];

function log(text) {
    const item = document.createElement("li");
    item.textContent = new Date().toLocaleTimeString() + "  " + text;
    document.getElementById("log").prepend(item);
}

// Texts are shown as they are, line feeds included; booleans stand out.
function showAnswer(cell, answer) {
    cell.classList.remove("pending");
    cell.classList.toggle("boolean", typeof answer === "boolean");
    cell.classList.toggle("empty", answer === "");
    cell.textContent = answer === "" ? "(empty text)" : String(answer);
}

function addRow(bridge, slot) {
    const row = document.createElement("tr");
    row.id = "slot-" + slot.name;
    row.innerHTML = '<td class="slot"></td><td class="arguments"></td>'
                  + '<td><button type="button">Call</button></td><td class="answer"></td>';
    row.querySelector(".slot").textContent = slot.name;

    const inputs = slot.args.map(arg => {
        const label = document.createElement("label");
        const input = document.createElement("input");
        input.type = arg.type;
        input.name = arg.label;
        if (arg.type === "checkbox")
            input.checked = arg.value;
        else
            input.value = arg.value;
        label.append(arg.label + " ", input);
        row.querySelector(".arguments").append(label);
        return input;
    });

    const answerCell = row.querySelector(".answer");
    row.querySelector("button").addEventListener("click", () => {
        const values = inputs.map(input => input.type === "checkbox" ? input.checked : input.value);
        answerCell.textContent = "…";
        answerCell.classList.add("pending");
        log(slot.name + "(" + values.map(v => JSON.stringify(v)).join(", ") + ")");
        bridge[slot.name](...values, answer => {
            showAnswer(answerCell, answer);
            log(slot.name + " answered " + JSON.stringify(answer));
        });
    });
    document.querySelector("#slots tbody").append(row);
}

// "?autorun=slot,slot" calls those slots once, with their default arguments.
function autorun() {
    const names = parameters.get("autorun");
    for (const name of names ? names.split(",") : []) {
        const button = document.querySelector("#slot-" + name + " button");
        if (button)
            button.click();
    }
}

window.addEventListener("load", () => {
    const status = document.getElementById("status");
    if (typeof qt === "undefined" || !qt.webChannelTransport) {
        status.textContent = "No native channel: open this page in the application's window.";
        return;
    }
    new QWebChannel(qt.webChannelTransport, channel => {
        const bridge = channel.objects.vizEveDivuzaviz;
        for (const slot of slots)
            addRow(bridge, slot);
        status.textContent = "Connected to vizEveDivuzaviz.";
        console.log(status.textContent);
        status.classList.add("ready");
        autorun();
    });
});
