// Starts the browser engines the page tests run in, serves the built site and
// opens it. Chromium and Firefox ESR (headless) are driven with puppeteer-core,
// WebKit (WebKitGTK's MiniBrowser under Xvfb) over W3C WebDriver; every test
// sees the same Page (page.mjs) whichever engine it runs in. Nothing is
// downloaded: the browsers are Debian's.

import { after, before } from 'node:test';
import { createServer } from 'node:http';
import { createRequire } from 'node:module';
import { existsSync, mkdirSync, mkdtempSync, readFileSync, readdirSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { extname, join, resolve } from 'node:path';
import { launchPuppeteer } from './puppeteer-engine.mjs';
import { launchWebKit } from './webdriver-engine.mjs';

export const siteDir = resolve(process.env.TINTWRIGHT_SITE ?? new URL('../../../build-web/site', import.meta.url).pathname);
export const repoDir = resolve(new URL('../../..', import.meta.url).pathname);

/** The shipped sample scheme, as a user opens it. */
export const samplePath = join(repoDir, 'docs', 'sample.calvastrascheme');
export const sampleBytes = readFileSync(samplePath);

/** Where the tests' pictures go. */
export const shotsDir = join(siteDir, '..', 'screenshots');
mkdirSync(shotsDir, { recursive: true });

/** The model module the page runs, for what the tests expect of it. */
export const pageModel = await createRequire(import.meta.url)(join(siteDir, '..', 'model', 'tintwright-model.js'))();
export const hex = (argb) => (argb >>> 0).toString(16).padStart(8, '0');

/** The engines every page test runs in; TINTWRIGHT_ENGINES=webkit (or a comma list) runs fewer. */
export const engines = (process.env.TINTWRIGHT_ENGINES ?? 'chromium,firefox,webkit').split(',');

/**
 * Starts an engine ('chromium', 'firefox' or 'webkit') with a fresh profile;
 * downloads go to the folder given. Gives { engine, newPage(), close() }.
 */
export function launch(engine, { downloads } = {}) {
  return engine === 'webkit' ? launchWebKit({ downloads }) : launchPuppeteer(engine, { downloads });
}

/** A plain static host for the site on the loopback address. */
export async function serveSite(dir = siteDir) {
  const types = { '.html': 'text/html', '.js': 'text/javascript', '.css': 'text/css' };
  const server = createServer((request, response) => {
    const path = new URL(request.url, 'http://localhost').pathname;
    try {
      const body = readFileSync(join(dir, path === '/' ? 'index.html' : path.slice(1)));
      response.writeHead(200, { 'content-type': types[extname(path || '.html')] ?? 'text/html' });
      response.end(body);
    } catch {
      response.writeHead(404).end();
    }
  });
  await new Promise((done) => server.listen(0, '127.0.0.1', done));
  return { url: `http://127.0.0.1:${server.address().port}/`, close: () => new Promise((done) => server.close(done)) };
}

/** A new page of the browser at the address, once the page says it is ready. */
export async function openPage(browser, url) {
  const page = await browser.newPage();
  await page.goto(url);
  await page.waitFor(() => document.documentElement.dataset.ready === 'true');
  return page;
}

/** Clicks the element of those matching the selector whose text is the label, as a user clicks it. */
export async function clickText(page, selector, label) {
  const box = await page.evaluate(
    (selector, label) => {
      const found = Array.from(document.querySelectorAll(selector)).find((e) => e.textContent === label);
      if (found === undefined) return null;
      found.scrollIntoView({ block: 'nearest' });
      const box = found.getBoundingClientRect();
      return { x: box.x + box.width / 2, y: box.y + box.height / 2 };
    },
    selector,
    label,
  );
  if (box === null) throw new Error(`no "${label}" among ${selector}`);
  await page.mouse.click(box.x, box.y);
}

/** Picks an item of a menu the page shows (File, Groups...), with the pointer. */
export async function chooseMenuItem(page, opener, label) {
  await page.click(opener);
  await page.waitForSelector('.menu [role="menuitem"]');
  await clickText(page, '.menu [role="menuitem"]', label);
}

/**
 * Chromium opens and saves through file handles; Firefox and WebKit (as
 * Safari) have no file pickers of the File System Access API: they open
 * through the file input and save by download.
 */
export const opensWithHandles = (page) => page.engine === 'chromium';

/**
 * Chromium: the system's file pickers cannot be driven, so the page's own
 * picker functions are given files of the origin-private file system; the
 * page's code then reads and writes through those handles as through any.
 */
export async function useOriginPrivateFiles(page) {
  await page.evaluate(() => {
    const file = async (name) => (await navigator.storage.getDirectory()).getFileHandle(name, { create: true });
    window.showOpenFilePicker = async () => [await file(window.nextOpenName)];
    window.showSaveFilePicker = async (options) => file(window.nextSaveName ?? options.suggestedName);
  });
}

export async function writePrivateFile(page, name, bytes) {
  await page.evaluate(
    async (name, data) => {
      const handle = await (await navigator.storage.getDirectory()).getFileHandle(name, { create: true });
      const writable = await handle.createWritable();
      await writable.write(new Uint8Array(data));
      await writable.close();
      window.nextOpenName = name;
    },
    name,
    Array.from(bytes),
  );
}

export async function readPrivateFile(page, name) {
  const data = await page.evaluate(async (name) => {
    const handle = await (await navigator.storage.getDirectory()).getFileHandle(name);
    return Array.from(new Uint8Array(await (await handle.getFile()).arrayBuffer()));
  }, name);
  return Buffer.from(data);
}

/**
 * Runs `opening` (a menu pick, a key, a button of the question before it)
 * that makes the page ask for a file, and gives it the file at `path`: a
 * private file's handle (Chromium) or the file input's chooser.
 */
export async function giveFileToOpen(page, path, opening) {
  if (opensWithHandles(page)) {
    await useOriginPrivateFiles(page);
    await writePrivateFile(page, path.split('/').pop(), readFileSync(path));
    await opening();
  } else {
    await page.chooseFiles(opening, [path]);
  }
}

/** Opens a file through File > Open file.... */
export function openThroughMenu(page, path) {
  return giveFileToOpen(page, path, () => chooseMenuItem(page, '#file-menu-button', 'Open file...'));
}

/** The download named, once the browser has written all of it; null while it has not. */
export function finishedDownload(downloads, name) {
  const path = join(downloads, name);
  // Firefox writes into name.part, WebKit into name.wkdownload, then renames.
  const partial = readdirSync(downloads).some((f) => f.endsWith('.part') || f.endsWith('.wkdownload'));
  return existsSync(path) && !partial ? readFileSync(path) : null;
}

export function scratchDir(tag) {
  return mkdtempSync(join(tmpdir(), `tintwright-${tag}-`));
}

/**
 * For a describe block: the engine started with a downloads folder of its
 * own, and the site served, before its tests; both ended and the folders
 * removed after. The fields are filled in once the tests run.
 */
export function engineSession(engine, tag, { scratch = false } = {}) {
  const session = { browser: null, server: null, downloads: '', scratch: '' };
  before(async () => {
    session.downloads = scratchDir(`${engine}-${tag}`);
    if (scratch) session.scratch = scratchDir(`${engine}-${tag}-files`);
    session.browser = await launch(engine, { downloads: session.downloads });
    session.server = await serveSite();
  });
  after(async () => {
    await session.browser?.close();
    await session.server?.close();
    for (const dir of [session.downloads, session.scratch]) if (dir !== '') rmSync(dir, { recursive: true, force: true });
  });
  return session;
}
