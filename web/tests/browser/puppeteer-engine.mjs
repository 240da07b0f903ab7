// Chromium and Firefox ESR, Debian's, driven with puppeteer-core (DevTools
// protocol and WebDriver BiDi): nothing is downloaded, the browsers are the
// system's. Gives the page primitives of page.mjs.

import puppeteer from 'puppeteer-core';
import { mkdtempSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { Page } from './page.mjs';

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

const viewport = { width: 800, height: 600 };

/** Starts 'chromium' or 'firefox' with a fresh profile; Firefox's downloads go to the folder given. */
export async function launchPuppeteer(engine, { downloads } = {}) {
  const profile = mkdtempSync(join(tmpdir(), `tintwright-${engine}-`));
  const browser =
    engine === 'chromium'
      ? await puppeteer.launch({
          browser: 'chrome',
          executablePath: process.env.CHROMIUM ?? '/usr/bin/chromium',
          headless: true,
          args: chromiumArgs,
          userDataDir: profile,
          defaultViewport: viewport,
        })
      : await puppeteer.launch({
          browser: 'firefox',
          executablePath: process.env.FIREFOX ?? '/usr/bin/firefox-esr',
          headless: true,
          userDataDir: profile,
          defaultViewport: viewport,
          extraPrefsFirefox:
            downloads === undefined
              ? {}
              : {
                  'browser.download.dir': downloads,
                  'browser.download.folderList': 2,
                  'browser.download.useDownloadDir': true,
                  'browser.download.always_ask_before_handling_new_types': false,
                  'browser.download.start_downloads_in_tmp_dir': false,
                },
        });
  return {
    engine,
    async newPage() {
      return new Page(engine, puppeteerPage(await browser.newPage()));
    },
    async close() {
      await browser.close();
      rmSync(profile, { recursive: true, force: true });
    },
  };
}

function puppeteerPage(page) {
  const errors = [];
  page.on('pageerror', (error) => errors.push(error.message));
  return {
    async goto(url) {
      await page.goto(url);
    },
    evaluate(fnSource, args) {
      return page.evaluate(`(${fnSource})(...${JSON.stringify(args)})`);
    },
    async pointer(actions) {
      for (const a of actions) {
        if (a.type === 'move') await page.mouse.move(a.x, a.y);
        else if (a.type === 'down') await page.mouse.down();
        else await page.mouse.up();
      }
    },
    async keys(actions) {
      for (const a of actions) await (a.type === 'down' ? page.keyboard.down(a.key) : page.keyboard.up(a.key));
    },
    async releaseInput() {
      await page.mouse.reset();
      for (const key of ['Control', 'Shift', 'Alt', 'Meta']) await page.keyboard.up(key);
    },
    setViewport: (width, height) => page.setViewport({ width, height }),
    screenshot: (path) => page.screenshot({ path }),
    async chooseFiles(opening, paths) {
      const [chooser] = await Promise.all([page.waitForFileChooser(), opening()]);
      await chooser.accept(paths);
    },
    errors: async () => [...errors],
    async closeAsking() {
      const asked = new Promise((resolve) => page.once('dialog', (dialog) => dialog.dismiss().then(() => resolve(dialog.type() === 'beforeunload'))));
      await page.close({ runBeforeUnload: true });
      const answer = await Promise.race([asked, new Promise((resolve) => setTimeout(() => resolve(false), 5000))]);
      if (!page.isClosed()) await page.close();
      return answer;
    },
    close: () => page.close(),
  };
}
