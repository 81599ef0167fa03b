// Every text comes from the query, as text, in the person's language: the
// address is whatever the settings or the web application named.
"use strict";
const parameters = new URLSearchParams(location.search);
const text = name => parameters.get(name) || "";
document.documentElement.lang = text("language");
document.title = text("title");
document.getElementById("heading").textContent = text("heading");
document.getElementById("address").textContent = text("address");
document.getElementById("reason").textContent = text("reason");
document.querySelector("button").textContent = text("tryAgain");

const countdown = document.getElementById("countdown");
let seconds = Number(parameters.get("seconds")) || 0;
function showCountdown() {
    if (seconds > 1)
        countdown.textContent = text("inSeconds").split("%1").join(String(seconds));
    else
        countdown.textContent = seconds === 1 ? text("inOneSecond") : text("trying");
    if (seconds-- > 0)
        setTimeout(showCountdown, 1000);
}
showCountdown();
document.querySelector("form").addEventListener("submit", () => {
    seconds = 0;
    countdown.textContent = text("trying");
});
