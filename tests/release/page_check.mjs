// Opens the download page of RELEASE_DIR in Debian's Chromium and prints a line per check:
// its name, a tab, and what is wrong, empty when nothing is. Screenshots go to OUT_DIR.
// Usage: node page_check.mjs RELEASE_DIR OUT_DIR
import { chromium } from 'playwright-core';
import { HtmlValidate } from 'html-validate';
import { createHash } from 'node:crypto';
import fs from 'node:fs';
import http from 'node:http';
import path from 'node:path';

const [rel, out] = process.argv.slice(2);
const report = (name, problems) => console.log(`${name}\t${[...new Set(problems)].join('; ')}`);
const sha256 = (bytes) => createHash('sha256').update(bytes).digest('hex');
const sums = new Map(fs.readFileSync(path.join(rel, 'SHA256SUMS'), 'utf8').trim().split('\n')
  .map((line) => [line.slice(66), line.slice(0, 64)]));

// A static host that has the release folder and nothing else.
const types = { '.html': 'text/html; charset=utf-8', '.js': 'text/javascript', '.png': 'image/png', '.webp': 'image/webp', '.txt': 'text/plain' };
const server = http.createServer((req, res) => {
  const name = decodeURIComponent(new URL(req.url, 'http://host').pathname).slice(1);
  fs.readFile(path.join(rel, path.normalize('/' + name)), (err, body) => {
    res.writeHead(err ? 404 : 200, { 'Content-Type': types[path.extname(name)] || 'application/octet-stream' });
    res.end(err ? '' : body);
  });
});
await new Promise((ready) => server.listen(0, '127.0.0.1', ready));
const origin = `http://127.0.0.1:${server.address().port}/`;
const browser = await chromium.launch({ executablePath: '/usr/bin/chromium',
  args: ['--no-sandbox', '--use-angle=swiftshader', '--enable-unsafe-swiftshader'] });
const context = await browser.newContext();
const outside = [], errors = [];
await context.route('**/*', (route) => {
  const url = route.request().url();
  if (url.startsWith(origin)) return route.continue();
  outside.push(url);
  return route.abort();
});
context.on('console', (m) => m.type() === 'error' && errors.push(m.text()));
const open = async (setup) => {
  const page = await context.newPage();
  page.on('pageerror', (e) => errors.push(e.message));
  if (setup) await (await context.newCDPSession(page)).send('Emulation.setUserAgentOverride', setup);
  await page.goto(origin + 'index.html');
  await page.waitForSelector('#yours:not([hidden])');
  return page;
};

// Every link fetched, its bytes as SHA256SUMS and the page say, the game in the browser opened
// among them; every file of the release on the page, or in a folder whose index.html is.
const page = await open();
const problems = [...sums.keys()].some((name) => /-web\.zip$/.test(name)) ? [] : ['SHA256SUMS lists no web zip'];
for (const href of await page.$$eval('a.play', (as) => [...new Set(as.map((a) => a.href))])) {
  const game = await context.newPage();
  game.on('pageerror', (e) => errors.push(e.message));
  await game.goto(href);
  await game.waitForFunction(() => window.Module?.calledRun).catch(() => problems.push(`${href} does not start the game`));
  await game.close();
}
for (const [href, size, sum] of await page.$$eval('a[href]', (as) => as.map((a) =>
  [a.href, a.closest('li')?.dataset.size, a.closest('li')?.dataset.sha256]))) {
  if (href.startsWith(origin + 'index.html#')) continue;
  const name = href.slice(origin.length), got = href.startsWith(origin) && await fetch(href);
  if (!got || !got.ok) { problems.push(`${href} does not open`); continue; }
  const bytes = Buffer.from(await got.arrayBuffer());
  if (name !== 'SHA256SUMS' && sha256(bytes) !== sums.get(decodeURIComponent(name))) problems.push(`${name} is not as SHA256SUMS says`);
  if (size && (Number(size) !== bytes.length || sum !== sha256(bytes))) problems.push(`the page gives ${name} a wrong size or sha256`);
}
if (outside.length) problems.push(`requests outside the release: ${outside.join(' ')}`);
if (errors.length) problems.push(`console errors: ${errors.join(' ')}`);
const bare = await browser.newPage({ javaScriptEnabled: false });
await bare.goto('file://' + path.join(rel, 'index.html'));
const shown = await bare.$$eval('a[href], img[src]', (es) => es.map((e) => decodeURIComponent(e.getAttribute('href') || e.getAttribute('src'))));
const missing = [...new Set([...sums.keys()].map((name) => name.replace(/\/.*/, '/index.html')))]
  .filter((name) => name !== 'index.html' && !shown.includes(name));
if (missing.length) problems.push(`without JavaScript from file:// the page lacks ${missing.join(' ')}`);
report('links-match-sha256sums-and-nothing-from-outside', problems);

// The download offered first, for each browser as it introduces itself, and the game in the
// browser beside it; first where there is no download.
const chrome = 'AppleWebKit/537.36 (KHTML, like Gecko) Chrome/131.0.0.0 Safari/537.36';
const hints = (platform, architecture, bitness, mobile = false) => ({
  platform, platformVersion: '15.0.0', architecture, bitness, model: '', mobile,
  brands: [{ brand: 'Chromium', version: '131' }], fullVersionList: [{ brand: 'Chromium', version: '131.0.6778.85' }] });
const browsers = [
  ['Windows 11 x64 Chrome', `Mozilla/5.0 (Windows NT 10.0; Win64; x64) ${chrome}`, 'Win32', hints('Windows', 'x86', '64'), /windows-x64\.zip$/],
  ['Windows 11 on ARM Edge', `Mozilla/5.0 (Windows NT 10.0; Win64; x64) ${chrome} Edg/131.0.0.0`, 'Win32', hints('Windows', 'arm', '64'), /windows-x64\.zip$/, /x64/],
  ['Ubuntu x86-64 Chrome', `Mozilla/5.0 (X11; Linux x86_64) ${chrome}`, 'Linux x86_64', hints('Linux', 'x86', '64'), /linux-x86_64\.tar\.gz$/],
  ['Fedora x86-64 Firefox', 'Mozilla/5.0 (X11; Fedora; Linux x86_64; rv:133.0) Gecko/20100101 Firefox/133.0', 'Linux x86_64', null, /linux-x86_64\.tar\.gz$/],
  ['Raspberry Pi OS Chromium', `Mozilla/5.0 (X11; Linux aarch64) ${chrome}`, 'Linux aarch64', hints('Linux', 'arm', '64'), /linux-aarch64\.tar\.gz$/],
  ['iPhone Safari', 'Mozilla/5.0 (iPhone; CPU iPhone OS 18_1 like Mac OS X) AppleWebKit/605.1.15 (KHTML, like Gecko) Version/18.1 Mobile/15E148 Safari/604.1', 'iPhone', null, null],
  ['macOS Safari', 'Mozilla/5.0 (Macintosh; Intel Mac OS X 10_15_7) AppleWebKit/605.1.15 (KHTML, like Gecko) Version/18.1 Safari/605.1.15', 'MacIntel', null, null],
  ['macOS Chrome', `Mozilla/5.0 (Macintosh; Intel Mac OS X 10_15_7) ${chrome}`, 'MacIntel', hints('macOS', 'arm', '64'), null],
  ['Android Chrome', `Mozilla/5.0 (Linux; Android 10; K) ${chrome.replace('Safari', 'Mobile Safari')}`, 'Linux armv8l', hints('Android', '', '', true), null],
  ['Android Firefox', 'Mozilla/5.0 (Android 14; Mobile; rv:133.0) Gecko/133.0 Firefox/133.0', 'Linux aarch64', null, null],
  ['ChromeOS Chrome', `Mozilla/5.0 (X11; CrOS x86_64 14541.0.0) ${chrome}`, 'Linux x86_64', hints('Chrome OS', 'x86', '64'), null],
];
const wrong = [];
for (const [name, userAgent, platform, userAgentMetadata, want, says] of browsers) {
  const p = await open({ userAgent, platform, ...(userAgentMetadata && { userAgentMetadata }) });
  const href = await p.$eval('#yours', (y) => y.querySelector('a')?.href || ''), text = await p.textContent('#yours');
  if (!(want || /\/play\/index\.html$/).test(href) || !/Play in your browser/.test(text) || (says && !says.test(text))) wrong.push(`${name}: ${text}`);
  await p.close();
}
report('recommends-each-system-its-download', wrong);

// Accessibility and valid HTML; no sideways scrolling on a phone; how it looks, kept.
await page.addScriptTag({ path: 'node_modules/axe-core/axe.min.js' });
const axe = await page.evaluate(() => window.axe.run().then((r) => r.violations.map((v) => `${v.id}: ${v.nodes.length}`)));
const html = fs.readFileSync(path.join(rel, 'index.html'), 'utf8');
const validated = await new HtmlValidate({ extends: ['html-validate:recommended'] }).validateString(html);
const invalid = validated.results.flatMap((r) => r.messages).filter((m) => m.severity === 2).map((m) => `line ${m.line}: ${m.message}`).slice(0, 5);
const sideways = [];
for (const [width, height] of [[1366, 768], [390, 844]]) {
  await page.setViewportSize({ width, height });
  await page.screenshot({ path: path.join(out, `page-${width}x${height}.png`), fullPage: true });
  const scroll = await page.evaluate(() => document.documentElement.scrollWidth);
  if (scroll > width) sideways.push(`${scroll} px wide at ${width}`);
}
report('accessible-valid-and-fits-a-phone', [...axe, ...invalid, ...sideways]);
await browser.close();
server.close();
