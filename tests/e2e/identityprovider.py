"""The company's identity provider for a test: the real OpenID provider of
signin/provider.mjs (oidc-provider from npm, installed by scripts/test from
signin/package-lock.json) on loopback, with the browser client
(oidc-client-ts) that the test's pages load."""

import shutil
import subprocess

from harness import HERE

PACKAGES = HERE / "signin" / "node_modules"
BROWSER_CLIENT = PACKAGES / "oidc-client-ts" / "dist" / "browser" / "oidc-client-ts.js"


class IdentityProvider:
    """The provider with one client, "mird", sent back to redirect_uris, and
    one person, "ana"; by_hand leaves each step's form to the person."""

    def __init__(self, redirect_uris, by_hand=False):
        node = shutil.which("node")
        if not node or not PACKAGES.is_dir():
            raise AssertionError("Node.js or the sign-in test's npm packages are missing: "
                                 "scripts/test installs them (npm ci in tests/e2e/signin)")
        self.process = subprocess.Popen(
            [node, str(HERE / "signin" / "provider.mjs"), *(["--by-hand"] if by_hand else []),
             *redirect_uris],
            stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
        line = self.process.stdout.readline().split()
        if line[:1] != ["LISTENING"]:
            self.close()
            raise AssertionError("the identity provider did not start")
        self.origin = line[1]

    def close(self):
        self.process.terminate()
        self.process.wait(10)
        self.process.stdout.close()
