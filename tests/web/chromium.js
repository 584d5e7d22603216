// Serves a built site on 127.0.0.1 and opens it in Debian's headless
// Chromium through playwright-core (found through NODE_PATH).
"use strict";
const fs = require("fs");
const http = require("http");
const os = require("os");
const path = require("path");
const { chromium } = require("playwright-core");

const kTypes = { ".html": "text/html", ".js": "text/javascript", ".wasm": "application/wasm" };

// Resolves to the server and its address, e.g. http://127.0.0.1:41234/.
function serve(site) {
  const server = http.createServer((request, response) => {
    const name = decodeURIComponent(new URL(request.url, "http://x").pathname);
    const file = path.join(site, name === "/" ? "index.html" : name);
    if (!file.startsWith(site + path.sep)) return response.writeHead(403).end();
    fs.readFile(file, (error, data) => {
      if (error) return response.writeHead(404).end();
      response.writeHead(200, { "Content-Type": kTypes[path.extname(file)] || "application/octet-stream" });
      response.end(data);
    });
  });
  return new Promise((resolve) => server.listen(0, "127.0.0.1", () =>
    resolve({ server, url: `http://127.0.0.1:${server.address().port}/` })));
}

// A browser with a new empty profile; close() removes it again.
async function launch(viewport) {
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), "tessary-chromium-"));
  const context = await chromium.launchPersistentContext(profile, {
    executablePath: "/usr/bin/chromium",
    headless: true,
    viewport,
    deviceScaleFactor: 1,
    args: ["--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
           "--disable-background-networking", "--disable-component-update", "--disable-sync"],
  });
  const close = async () => {
    await context.close();
    fs.rmSync(profile, { recursive: true, force: true });
  };
  return { context, close };
}

module.exports = { serve, launch };
