// The address and the reason come from the query, as text: the address is
// whatever the settings or the web application named.
"use strict";
const parameters = new URLSearchParams(location.search);
const address = parameters.get("address") || "";
document.title = "Not reachable: " + address;
document.getElementById("address").textContent = address;
document.getElementById("reason").textContent = parameters.get("reason") || "";

const countdown = document.getElementById("countdown");
let seconds = Number(parameters.get("seconds")) || 0;
function showCountdown() {
    countdown.textContent = seconds > 0
        ? `Trying again in ${seconds} second${seconds === 1 ? "" : "s"}.`
        : "Trying again…";
    if (seconds-- > 0)
        setTimeout(showCountdown, 1000);
}
showCountdown();
document.querySelector("form").addEventListener("submit", () => {
    seconds = 0;
    countdown.textContent = "Trying again…";
});
