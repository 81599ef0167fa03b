// A real OpenID provider (oidc-provider) on loopback for the sign-in tests.
//
//   node provider.mjs [--by-hand] <redirect address>...
//
// Listens on 127.0.0.1 and a port of its own and prints "LISTENING <issuer>"
// once it does. One public client, "mird", with PKCE and the given redirect
// addresses, and one person, "ana", who is never asked anything: the sign-in
// and consent pages are documents of the provider's own origin that say on
// the console whether they found a transport, as any document of the
// provider could look for one, and then post their form at once, as the
// person would; each post finishes its step through the provider's
// interaction API. --by-hand leaves the posting to the person (Return on
// the focused button) and logs "PROVIDER PAGE <step> SHOWN" once the page
// can take it.
import http from 'node:http';

import Provider from 'oidc-provider';

const byHand = process.argv[2] === '--by-hand';
const redirectUris = process.argv.slice(byHand ? 3 : 2);
const person = 'ana';

function page(uid, step) {
    const next = byHand
        ? `requestAnimationFrame(() => requestAnimationFrame(() => console.log("PROVIDER PAGE ${step} SHOWN")))`
        : 'document.forms[0].submit()';
    return `<!DOCTYPE html>
<html><head><meta charset="utf-8"><title>Vantrel Lab sign-in: ${step}</title>
<script>
console.log("PROVIDER PAGE ${step} " + (typeof qt === "undefined" ? "without transport" : "with transport"));
window.addEventListener("load", () => ${next});
</script></head>
<body><h1>Signing in as ${person}</h1>
<form method="post" action="/interaction/${uid}/${step}"><button autofocus>Continue</button></form>
</body></html>`;
}

async function consent(provider, details) {
    const grant = new provider.Grant({accountId: details.session.accountId,
                                      clientId: details.params.client_id});
    const missing = details.prompt.details;
    if (missing.missingOIDCScope)
        grant.addOIDCScope(missing.missingOIDCScope.join(' '));
    if (missing.missingOIDCClaims)
        grant.addOIDCClaims(missing.missingOIDCClaims);
    for (const [indicator, scopes] of Object.entries(missing.missingResourceScopes || {}))
        grant.addResourceScope(indicator, scopes.join(' '));
    return {consent: {grantId: await grant.save()}};
}

// GET /interaction/<uid> shows the step's page; POST /interaction/<uid>/<step> finishes it.
async function interact(provider, request, response) {
    const details = await provider.interactionDetails(request, response);
    if (request.method === 'GET') {
        response.writeHead(200, {'Content-Type': 'text/html; charset=utf-8',
                                 'Cache-Control': 'no-store'});
        response.end(page(details.uid, details.prompt.name));
        return;
    }
    const result = details.prompt.name === 'login' ? {login: {accountId: person}}
                                                   : await consent(provider, details);
    await provider.interactionFinished(request, response, result, {mergeWithLastSubmission: true});
}

const server = http.createServer();
server.listen(0, '127.0.0.1', () => {
    const issuer = `http://127.0.0.1:${server.address().port}`;
    const provider = new Provider(issuer, {
        clients: [{
            client_id: 'mird',
            token_endpoint_auth_method: 'none',
            redirect_uris: redirectUris,
            response_types: ['code'],
            grant_types: ['authorization_code'],
        }],
        interactions: {url: (context, interaction) => `/interaction/${interaction.uid}`},
        features: {devInteractions: {enabled: false}},
        responseTypes: ['code'],
        // The client's own page fetches the token.
        clientBasedCORS: () => true,
        cookies: {keys: ['vantrelnut-e2e-signin']},
        claims: {openid: ['sub'], profile: ['name']},
        findAccount: async (context, id) => ({
            accountId: id,
            claims: async () => ({sub: id, name: 'Ana'}),
        }),
    });
    const handle = provider.callback();
    server.on('request', (request, response) => {
        if (!request.url.startsWith('/interaction/'))
            return handle(request, response);
        interact(provider, request, response).catch(error => {
            response.writeHead(500, {'Content-Type': 'text/plain'});
            response.end(String(error));
        });
    });
    console.log(`LISTENING ${issuer}`);
});
