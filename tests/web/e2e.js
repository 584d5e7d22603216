// End to end: the built page in headless Chromium.
//   node e2e.js SITE_DIR PAGE_FRAME_HASH
// Each check prints "ok NAME" or "FAILED NAME: why"; the exit code is the
// number of failures.
"use strict";
const { execFileSync } = require("child_process");
const path = require("path");
const { serve, launch } = require("./chromium.js");

const [site, hashHelper] = process.argv.slice(2).map((p) => path.resolve(p));

// Runs in the page: what the canvas shows, as lit counts of 49x44 cells.
function canvasFacts(cells) {
  const canvas = document.getElementById("show");
  const data = canvas.getContext("2d").getImageData(0, 0, canvas.width, canvas.height).data;
  const lit = (x, y) => (data[(y * canvas.width + x) * 4] | data[(y * canvas.width + x) * 4 + 1] |
                         data[(y * canvas.width + x) * 4 + 2]) !== 0;
  let any = 0;
  for (let i = 0; i < data.length; i += 4) any += (data[i] | data[i + 1] | data[i + 2]) !== 0;
  let hash = 2166136261;
  for (let i = 0; i < data.length; ++i) hash = Math.imul(hash ^ data[i], 16777619) >>> 0;
  const counts = cells.map(([x0, y0]) => {
    let n = 0;
    for (let y = y0; y < y0 + 44; ++y) for (let x = x0; x < x0 + 49; ++x) n += lit(x, y);
    return n;
  });
  const message = document.getElementById("message");
  const box = canvas.getBoundingClientRect();
  return { any, counts, corner: [data[0], data[1], data[2]].join(), hash: hash.toString(16).padStart(8, "0"), message: message.hidden ? "" : message.textContent,
           box: [box.left, box.top, box.width, box.height], size: [canvas.width, canvas.height] };
}

// This month's 640x480 page, worked out from the date: cells {x, y, lit}
// for the year, the month and the days in weekday columns; grid slots
// without a day stay background.
function thisMonthsCells() {
  const now = new Date();
  const month = now.getMonth() + 1, weekday = new Date(now.getFullYear(), now.getMonth(), 1).getDay();
  const days = new Date(now.getFullYear(), now.getMonth() + 1, 0).getDate();
  const cells = [[265, 30, 1]];
  if (month >= 10) cells.push([240, 30, 1]);
  for (let i = 0; i < 4; ++i) cells.push([120 + 25 * i, 30, 1]);
  for (let slot = 0; slot < 42; ++slot) {
    const day = slot - weekday + 1, x = 50 + 80 * (slot % 7), y = 100 + 60 * Math.floor(slot / 7);
    const inMonth = day >= 1 && day <= days;
    cells.push([x, y, inMonth ? 1 : 0]);
    if (inMonth && day >= 10) cells.push([x - 25, y, 1]);
  }
  return cells;
}

// Polls `probe` until `test` holds for its answer or `seconds` pass.
async function until(seconds, probe, test) {
  const end = Date.now() + seconds * 1000;
  let last;
  do {
    last = await probe();
    if (test(last)) return { ok: true, last };
    await new Promise((r) => setTimeout(r, 100));
  } while (Date.now() < end);
  return { ok: false, last };
}

const checks = {
  async "this month's page shows at 640x480, pixel for pixel"(page, url) {
    await page.goto(url + "?process=200&big-bang=0");
    const cells = thisMonthsCells();
    const r = await until(60, () => page.evaluate(canvasFacts, cells),
                          (f) => f.counts.every((n, i) => (cells[i][2] ? n >= 10 : n === 0)));
    if (!r.ok) {
      const i = r.last.counts.findIndex((n, i) => !(cells[i][2] ? n >= 10 : n === 0));
      return `the cell at ${cells[i][0]},${cells[i][1]} is not as expected`;
    }
    if (r.last.box.join() !== "0,0,640,480" || r.last.size.join() !== "640,480")
      return `the canvas is ${r.last.size} at ${r.last.box}, not 640x480 at 0,0`;
    await page.setViewportSize({ width: 1920, height: 1080 });
    const wide = await until(10, () => page.evaluate(canvasFacts, []), (f) => f.box.join() === "240,0,1440,1080");
    if (!wide.ok) return `at 1920x1080 the canvas is at ${wide.last.box}, not 240,0,1440,1080`;
  },

  async "a fixed date and seed give the native composer's frame"(page, url) {
    const query = "date=2026-12-07&seed=7&frames=300";
    const expected = execFileSync(hashHelper, [query]).toString().trim();
    await page.goto(url + "?" + query);
    const r = await until(30, () => page.evaluate(canvasFacts, []), (f) => f.hash === expected);
    if (!r.ok) return `the canvas hashes to ${r.last.hash}, the native frame to ${expected}`;
    await page.goto(url + "?background=%23102040&frames=1");
    const colour = await until(30, () => page.evaluate(canvasFacts, []), (f) => f.corner === "16,32,64");
    if (!colour.ok) return `the background #102040 shows as ${colour.last.corner}`;
  },

  async "a click empties the page within the finale, then the show begins again"(page, url) {
    await page.goto(url + "?process=200&big-bang=0");
    const lit = await until(30, () => page.evaluate(canvasFacts, []), (f) => f.any > 0);
    if (!lit.ok) return "no digits before the click";
    // Frame by frame, the time stamps the show runs on: of the first frame
    // after the click, of the first empty one and of the first lit one after.
    await page.evaluate(() => {
      const canvas = document.getElementById("show");
      const context = canvas.getContext("2d");
      window.watch = { clicked: false };
      window.addEventListener("pointerdown", () => { window.watch.clicked = true; });
      const look = (stamp) => {
        const w = window.watch;
        if (w.clicked) {
          const data = context.getImageData(0, 0, canvas.width, canvas.height).data;
          let any = false;
          for (let i = 0; i < data.length && !any; i += 4) any = (data[i] | data[i + 1] | data[i + 2]) !== 0;
          if (w.click === undefined) w.click = stamp;
          if (!any && w.empty === undefined) w.empty = stamp;
          if (any && w.empty !== undefined) { w.again = stamp; return; }
        }
        requestAnimationFrame(look);
      };
      requestAnimationFrame(look);
    });
    await page.mouse.click(320, 240);
    const r = await until(30, () => page.evaluate(() => window.watch), (w) => w.again !== undefined);
    if (r.last.empty === undefined) return "the page never emptied";
    // Two steps of 200 ms, and the frame in which the step falls.
    if (r.last.empty - r.last.click > 2 * 200 + 50) return `empty only ${r.last.empty - r.last.click} ms after the click`;
    if (!r.ok) return "the show did not begin again";
  },

  async "F toggles full screen, another key empties the page"(page, url) {
    await page.goto(url + "?process=200");
    await until(30, () => page.evaluate(canvasFacts, []), (f) => f.any > 0);
    await page.keyboard.press("f");
    const on = await until(10, () => page.evaluate(() => !!document.fullscreenElement), (x) => x);
    if (!on.ok) return "no full screen after F";
    await page.keyboard.press("F");
    const off = await until(10, () => page.evaluate(() => !!document.fullscreenElement), (x) => !x);
    if (!off.ok) return "still full screen after a second F";
    // F started no finale: 60 frames later (more than its two steps of
    // 200 ms), digits still show.
    await page.evaluate(() => new Promise((resolve) => {
      let n = 0;
      const count = () => (++n >= 60 ? resolve() : requestAnimationFrame(count));
      requestAnimationFrame(count);
    }));
    if (!(await page.evaluate(canvasFacts, [])).any) return "F emptied the page";
    await page.keyboard.press("Space");
    const empty = await until(10, () => page.evaluate(canvasFacts, []), (f) => f.any === 0);
    if (!empty.ok) return "the page did not empty after a key";
  },

  async "a bad option shows its message and the show runs with the defaults"(page, url) {
    for (const [query, words] of [["process=abc", ["process", "200", "1000", "abc"]],
                                  ["moving=99999", ["moving", "0", "500", "99999"]]]) {
      await page.goto(url + "?" + query);
      const r = await until(30, () => page.evaluate(canvasFacts, []), (f) => f.any > 0 && f.message);
      if (!r.ok) return `${query}: message '${r.last.message}', ${r.last.any} lit pixels`;
      if (!words.every((w) => r.last.message.includes(w))) return `${query}: the message is '${r.last.message}'`;
    }
  },
};

(async () => {
  const { server, url } = await serve(site);
  let failures = 0;
  for (const [name, check] of Object.entries(checks)) {
    const { context, close } = await launch({ width: 640, height: 480 });
    try {
      const page = context.pages()[0] || (await context.newPage());
      const errors = [];
      page.on("pageerror", (e) => errors.push(e.message));
      const why = (await check(page, url)) || errors.join("; ");
      if (why) ++failures;
      console.log(why ? `FAILED ${name}: ${why}` : `ok ${name}`);
    } catch (e) {
      ++failures;
      console.log(`FAILED ${name}: ${e.message}`);
    } finally {
      await close();
    }
  }
  server.close();
  process.exit(failures);
})();
