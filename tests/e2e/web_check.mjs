// Plays the browser's game, unpacked in DIR, in Debian's Chromium, headless, on WebGL over
// SwiftShader, and prints a line per check: its name, a tab, and what is wrong, empty when
// nothing is. Opened from disk and from a local web server: the page asks for nothing outside
// its folder and shows the wall, the timer and the paddle; the paddle follows the mouse, a click
// launches, P pauses, Escape ends the game and the page offers to play again. Screenshots go
// to OUT_DIR. With --pace WxH, only the pace at that size, for the bench.
// Usage: node web_check.mjs DIR OUT_DIR [--pace WxH]
import { chromium } from 'playwright-core';
import fs from 'node:fs';
import http from 'node:http';
import path from 'node:path';

const [dir, out] = process.argv.slice(2, 4).map((p) => path.resolve(p));
const paceOnly = process.argv[4] === '--pace' && process.argv[5];  // WxH: the bench's figure alone
const report = (name, problems) => console.log(`${name}\t${[...new Set(problems)].join('; ')}`);
const width = 1366, height = 768;

// The world's fit to a window of this size, as src/app/world.cpp makes it.
const fit = (w, h) => {
  const scale = Math.min(w / 1920, h / 1080);
  const area = { w: Math.round(1920 * scale), h: Math.round(1080 * scale) };
  return { ...area, x: Math.trunc((w - area.w) / 2), y: Math.trunc((h - area.h) / 2), width: w };
};
let area = fit(width, height);
const toPixel = (x, y) => [Math.floor(area.x + x * area.w / 1920), Math.floor(area.y + y * area.h / 1080)];

const types = { '.html': 'text/html; charset=utf-8', '.js': 'text/javascript' };
const server = http.createServer((req, res) => {
  const name = path.join(dir, path.normalize(decodeURIComponent(new URL(req.url, 'http://host').pathname)));
  fs.readFile(name, (err, body) => {
    res.writeHead(err ? 404 : 200, { 'Content-Type': types[path.extname(name)] || 'application/octet-stream' });
    res.end(err ? '' : body);
  });
});
await new Promise((ready) => server.listen(0, '127.0.0.1', ready));
const browser = await chromium.launch({
  executablePath: '/usr/bin/chromium',
  args: ['--headless', '--no-sandbox', '--use-angle=swiftshader', '--enable-unsafe-swiftshader',
    '--disable-background-networking', '--disable-component-update', '--disable-sync', '--no-first-run'],
});

// A screenshot's pixels, decoded by the browser in a page of its own.
const decoder = await (await browser.newContext()).newPage();
const look = async (page, name) => {
  const png = await page.screenshot(name ? { path: path.join(out, name) } : {});
  const rgba = await decoder.evaluate(async (b64) => {
    const image = new Image();
    image.src = `data:image/png;base64,${b64}`;
    await image.decode();
    const canvas = new OffscreenCanvas(image.width, image.height);
    const context = canvas.getContext('2d');
    context.drawImage(image, 0, 0);
    const bytes = context.getImageData(0, 0, image.width, image.height).data;
    let text = '';
    for (let i = 0; i < bytes.length; i += 0x8000) text += String.fromCharCode(...bytes.subarray(i, i + 0x8000));
    return btoa(text);
  }, png.toString('base64'));
  const data = Buffer.from(rgba, 'base64'), w = area.width;
  return {
    at: (x, y) => [...data.subarray((y * w + x) * 4, (y * w + x) * 4 + 3)],
    region: (x, y, rw, rh) => Buffer.concat([...Array(rh).keys()].map((r) => data.subarray(((y + r) * w + x) * 4, ((y + r) * w + x + rw) * 4))),
  };
};
const near = (got, want, slack = 12) => got.every((v, i) => Math.abs(v - want[i]) <= slack);
const timerBox = () => { const [x0, y0] = toPixel(0, 0), [x1, y1] = toPixel(300, 90); return [x0, y0, x1 - x0, y1 - y0]; };

// What a fresh game shows: every brick's body blue, the timer in white, the paddle red under
// the pointer with the white ball resting on it.
const firstFrame = (shot, pointerX) => {
  const problems = [], blue = [];
  for (let col = 0; col < 20; ++col)
    for (let row = 0; row < 15; ++row)
      if (!near(shot.at(...toPixel(col * 96 + 20, 100 + row * 30 + 15)), [0, 0, 150])) blue.push(`${col},${row}`);
  if (blue.length) problems.push(`${blue.length} bricks not blue (${blue.slice(0, 5).join(' ')})`);
  const timer = shot.region(...timerBox());
  let white = 0;
  for (let i = 0; i < timer.length; i += 4) white += timer[i] > 230 && timer[i + 1] > 230 && timer[i + 2] > 230;
  if (white < 200) problems.push(`only ${white} white pixels where the timer shows`);
  const worldX = Math.min(Math.max((pointerX - area.x) * 1920 / area.w, 85), 1920 - 85);
  if (!near(shot.at(...toPixel(worldX, 1000)), [255, 0, 0], 30)) problems.push(`no red paddle at ${toPixel(worldX, 1000)}: ${shot.at(...toPixel(worldX, 1000))}`);
  if (!near(shot.at(...toPixel(worldX, 980)), [255, 255, 255], 30)) problems.push('no white ball on the paddle');
  return problems;
};

// Steps of play and the browser's own frames over ten seconds: a timing, printed, never judged.
const pace = async (page) => {
  const { steps, frames } = await page.evaluate(async () => {
    let frames = 0;
    const count = () => { ++frames; requestAnimationFrame(count); };
    requestAnimationFrame(count);
    const steps = Module.steps, start = performance.now();
    await new Promise((done) => setTimeout(done, 10000));
    const seconds = (performance.now() - start) / 1000;
    return { steps: (Module.steps - steps) / seconds, frames: frames / seconds };
  });
  return `${steps.toFixed(2)} steps a second, ${frames.toFixed(2)} animation frames a second, ${(1000 / frames).toFixed(1)} ms a frame\n`;
};

const folder = fs.readdirSync(dir).find((name) => fs.existsSync(path.join(dir, name, 'index.html')));
const home = path.join(dir, folder);
const origins = { file: `file://${home}/`, http: `http://127.0.0.1:${server.address().port}/${folder}/` };
if (paceOnly) {
  const [w, h] = paceOnly.split('x').map(Number);
  const page = await (await browser.newContext({ viewport: { width: w, height: h } })).newPage();
  await page.goto(origins.http + 'index.html');
  await page.waitForSelector('#note', { state: 'hidden', timeout: 30000 });
  await page.mouse.click(w / 2, h / 2);  // the ball in flight
  process.stdout.write(await pace(page));
  await browser.close();
  server.close();
  process.exit(0);
}
for (const [how, origin] of Object.entries(origins)) {
  const context = await browser.newContext({ viewport: { width, height } });
  const page = await context.newPage();
  const problems = [], errors = [];
  page.on('request', (r) => r.url().startsWith(origin) || r.url().startsWith('data:') || problems.push(`asks for ${r.url()}`));
  page.on('console', (m) => m.type() === 'error' && errors.push(m.text()));
  page.on('pageerror', (e) => errors.push(e.message));
  // Pressed and released in one task, as xdotool's key does: the game acts on a stored key
  // press again each frame until another event replaces it, so a frame between the two would
  // pause and resume again.
  const key = (name) => page.evaluate((k) => ['keydown', 'keyup'].forEach((type) =>
    window.dispatchEvent(new KeyboardEvent(type, { key: k, bubbles: true }))), name);
  const started = async () => {
    await page.waitForSelector('#note', { state: 'hidden', timeout: 30000 });
    await page.waitForTimeout(1000);
  };
  await page.goto(origin + 'index.html');
  await started();
  problems.push(...firstFrame(await look(page, `web-${how}-${width}x${height}.png`), 0));
  report(`${how}.shows-the-wall-timer-and-paddle`, problems);

  const play = [];
  await page.mouse.move(width / 2, height / 2);
  await page.waitForTimeout(300);
  play.push(...firstFrame(await look(page), width / 2).map((p) => `after a move to the middle: ${p}`));
  await page.mouse.down();
  await page.mouse.up();
  const box = timerBox();
  const timer = async () => (await look(page)).region(...box);
  const launched = await timer();
  await page.waitForTimeout(500);
  if (launched.equals(await timer())) play.push('the timer stands still after a click');
  const ball = (await look(page)).at(...toPixel(Math.min(Math.max((width / 2 - area.x) * 1920 / area.w, 85), 1835), 980));
  if (near(ball, [255, 255, 255], 30)) play.push('the ball still rests on the paddle');
  await key('p');
  await page.waitForTimeout(200);
  const paused = await timer();
  await page.waitForTimeout(500);
  if (!paused.equals(await timer())) play.push('the timer runs on after P');
  await key('p');
  await page.waitForTimeout(200);
  const resumed = await timer();
  await page.waitForTimeout(500);
  if (resumed.equals(await timer())) play.push('the timer stands still after P again');
  await key('r');
  await page.waitForTimeout(300);
  play.push(...firstFrame(await look(page), width / 2).map((p) => `after R: ${p}`));
  report(`${how}.paddle-launch-pause-and-restart-answer-mouse-and-keys`, play);

  // The browser's window made smaller: the canvas and the world's fit follow it.
  await page.setViewportSize({ width: 800, height: 600 });
  area = fit(800, 600);
  await page.mouse.move(400, 300);
  await page.waitForTimeout(500);
  report(`${how}.follows-the-window-to-800x600`, firstFrame(await look(page, `web-${how}-800x600.png`), 400));
  await page.setViewportSize({ width, height });
  area = fit(width, height);

  const end = [];
  await page.keyboard.press('Escape');
  await page.waitForSelector('#again', { state: 'visible', timeout: 5000 }).catch(() => end.push('no offer to play again after Escape'));
  if (!/ended/.test(await page.textContent('#message'))) end.push(`the page says "${await page.textContent('#message')}"`);
  await look(page, `web-${how}-ended.png`);
  if (!end.length) {
    await page.click('#again');
    await started().catch(() => end.push('the game does not start again'));
    end.push(...firstFrame(await look(page), width / 2).map((p) => `played again: ${p}`));
  }
  report(`${how}.escape-ends-and-the-page-offers-to-play-again`, [...end, ...errors.map((e) => `page error: ${e}`)]);
  await context.close();
}
// A phone held upright, its screen at twice the page's pixels: the wall fitted between black
// bands, sharp at the device's pixels; a finger moved steers without launching, a tap launches.
{
  const context = await browser.newContext({ viewport: { width: 390, height: 844 }, deviceScaleFactor: 2, isMobile: true, hasTouch: true });
  const page = await context.newPage();
  const touch = await context.newCDPSession(page);
  const finger = (type, x, y) => touch.send('Input.dispatchTouchEvent', { type, touchPoints: type === 'touchEnd' ? [] : [{ x, y }] });
  area = fit(780, 1688);
  const phone = [];
  await page.goto(origins.http + 'index.html');
  await page.waitForSelector('#note', { state: 'hidden', timeout: 30000 });
  await page.waitForTimeout(1000);
  let shot = await look(page, 'web-phone-390x844.png');
  phone.push(...firstFrame(shot, 0));
  if (!near(shot.at(390, area.y / 2), [0, 0, 0], 4) || !near(shot.at(390, area.y + area.h + 10), [0, 0, 0], 4))
    phone.push('no black bands above and below the world');
  await finger('touchStart', 20, 422);
  for (const x of [100, 200, 300, 370]) await finger('touchMove', x, 422);
  await page.waitForTimeout(400);
  phone.push(...firstFrame(await look(page), 740).map((p) => `a finger moved to the right: ${p}`));
  await finger('touchEnd');
  await page.touchscreen.tap(195, 422);
  const box = timerBox();
  const before = (await look(page)).region(...box);
  await page.waitForTimeout(600);
  if (before.equals((await look(page, 'web-phone-tapped.png')).region(...box))) phone.push('the timer stands still after a tap');
  report('phone.fitted-steered-by-a-finger-launched-by-a-tap', phone);

  fs.writeFileSync(path.join(out, 'pace.txt'), await pace(page));
  await context.close();
}
await browser.close();
server.close();
