// Drives the built page in Debian's headless Chromium and Firefox ESR with
// puppeteer-core: nothing is downloaded, the browsers are the system's.

import puppeteer from 'puppeteer-core';
import { createServer } from 'node:http';
import { mkdtempSync, readFileSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { extname, join, resolve } from 'node:path';

export const siteDir = resolve(process.env.TINTWRIGHT_SITE ?? new URL('../../../build-web/site', import.meta.url).pathname);
export const repoDir = resolve(new URL('../../..', import.meta.url).pathname);

/** Chromium as root needs --no-sandbox; the rest keeps it off a closed network. */
const chromiumArgs = [
  '--no-sandbox',
  '--disable-gpu',
  '--disable-quic',
  '--no-first-run',
  '--disable-background-networking',
  '--disable-component-update',
  '--disable-sync',
];

/**
 * Starts a browser ('chromium' or 'firefox') with a fresh profile; downloads
 * go to the folder given. Gives { browser, close }.
 */
export async function launch(name, { downloads } = {}) {
  const profile = mkdtempSync(join(tmpdir(), `tintwright-${name}-`));
  let browser;
  if (name === 'chromium') {
    browser = await puppeteer.launch({
      browser: 'chrome',
      executablePath: process.env.CHROMIUM ?? '/usr/bin/chromium',
      headless: true,
      args: chromiumArgs,
      userDataDir: profile,
      defaultViewport: { width: 800, height: 600 },
    });
  } else {
    browser = await puppeteer.launch({
      browser: 'firefox',
      executablePath: process.env.FIREFOX ?? '/usr/bin/firefox-esr',
      headless: true,
      userDataDir: profile,
      defaultViewport: { width: 800, height: 600 },
      extraPrefsFirefox: downloads === undefined ? {} : {
        'browser.download.dir': downloads,
        'browser.download.folderList': 2,
        'browser.download.useDownloadDir': true,
        'browser.download.always_ask_before_handling_new_types': false,
        'browser.download.start_downloads_in_tmp_dir': false,
      },
    });
  }
  return {
    browser,
    async close() {
      await browser.close();
      rmSync(profile, { recursive: true, force: true });
    },
  };
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

export async function openPage(browser, url) {
  const page = await browser.newPage();
  const errors = [];
  page.on('pageerror', (error) => errors.push(error.message));
  await page.goto(url);
  await page.waitForFunction(() => document.documentElement.dataset.ready === 'true', { timeout: 20000 });
  page.errors = errors;
  return page;
}

/** Picks an item of a menu the page shows (File, Groups...). */
export async function menuItem(page, opener, label) {
  await page.click(opener);
  const items = await page.$$('.menu [role="menuitem"]');
  for (const item of items) if ((await item.evaluate((e) => e.textContent)) === label) return item;
  throw new Error(`no menu item "${label}"`);
}

export async function chooseMenuItem(page, opener, label) {
  await (await menuItem(page, opener, label)).click();
}

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
  await page.evaluate(async (name, data) => {
    const handle = await (await navigator.storage.getDirectory()).getFileHandle(name, { create: true });
    const writable = await handle.createWritable();
    await writable.write(new Uint8Array(data));
    await writable.close();
    window.nextOpenName = name;
  }, name, Array.from(bytes));
}

export async function readPrivateFile(page, name) {
  const data = await page.evaluate(async (name) => {
    const handle = await (await navigator.storage.getDirectory()).getFileHandle(name);
    return Array.from(new Uint8Array(await (await handle.getFile()).arrayBuffer()));
  }, name);
  return Buffer.from(data);
}

/** Opens a file through File > Open file...: the file input's chooser (Firefox) or a private file's handle (Chromium). */
export async function openThroughMenu(page, browserName, path) {
  if (browserName === 'chromium') {
    await useOriginPrivateFiles(page);
    await writePrivateFile(page, path.split('/').pop(), readFileSync(path));
    await chooseMenuItem(page, '#file-menu-button', 'Open file...');
  } else {
    const [chooser] = await Promise.all([page.waitForFileChooser(), chooseMenuItem(page, '#file-menu-button', 'Open file...')]);
    await chooser.accept([path]);
  }
}

export function scratchDir(tag) {
  return mkdtempSync(join(tmpdir(), `tintwright-${tag}-`));
}
