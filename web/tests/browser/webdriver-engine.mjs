// WebKit, Debian's WebKitGTK: its MiniBrowser started in automation mode by
// WebKitWebDriver and driven over W3C WebDriver with selenium-webdriver
// (pointer and keys as WebDriver Actions, real input). It needs an X display
// (Xvfb: scripts/web.sh starts one). Gives the page primitives of page.mjs.

import { execFileSync, spawn } from 'node:child_process';
import { existsSync, mkdirSync, mkdtempSync, readFileSync, readdirSync, rmSync, writeFileSync } from 'node:fs';
import { createServer } from 'node:net';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { Builder, Button, By, Key, Origin } from 'selenium-webdriver';
import { Page } from './page.mjs';

const driverPath = process.env.WEBKIT_WEBDRIVER ?? '/usr/bin/WebKitWebDriver';
/** libwebkit2gtk-4.1-0's MiniBrowser, in the multiarch folder of /usr/lib. */
const miniBrowser = () =>
  process.env.WEBKIT_MINIBROWSER ??
  readdirSync('/usr/lib')
    .map((folder) => join('/usr/lib', folder, 'webkit2gtk-4.1', 'MiniBrowser'))
    .find((path) => existsSync(path));
const viewport = { width: 800, height: 600 };

/** The keys the tests press, by their DOM names, as WebDriver's code points; characters stand for themselves. */
const keys = {
  ArrowUp: Key.ARROW_UP,
  ArrowDown: Key.ARROW_DOWN,
  ArrowLeft: Key.ARROW_LEFT,
  ArrowRight: Key.ARROW_RIGHT,
  PageUp: Key.PAGE_UP,
  PageDown: Key.PAGE_DOWN,
  Home: Key.HOME,
  End: Key.END,
  Enter: Key.ENTER,
  Tab: Key.TAB,
  Escape: Key.ESCAPE,
  Backspace: Key.BACK_SPACE,
  Delete: Key.DELETE,
  Control: Key.CONTROL,
  Shift: Key.SHIFT,
  Alt: Key.ALT,
  Meta: Key.META,
};
const webDriverKey = (key) => {
  if (key in keys) return keys[key];
  if ([...key].length !== 1) throw new Error(`no WebDriver key for "${key}"`);
  return key;
};

async function freePort() {
  const server = createServer();
  await new Promise((done) => server.listen(0, '127.0.0.1', done));
  const { port } = server.address();
  await new Promise((done) => server.close(done));
  return port;
}

async function waitForDriver(url, process) {
  const deadline = Date.now() + 20000;
  while (Date.now() < deadline) {
    if (process.exitCode !== null) throw new Error(`WebKitWebDriver ended (${process.exitCode})`);
    try {
      if ((await fetch(`${url}/status`)).ok) return;
    } catch {
      // not listening yet
    }
    await new Promise((done) => setTimeout(done, 100));
  }
  throw new Error('WebKitWebDriver did not answer within 20 s');
}

/**
 * Gives the browser's window the X input focus, as the window a user works
 * in has it: under Xvfb no window manager does, and WebKit then draws no
 * focus (:focus, :focus-visible) and the page is told it has none.
 */
/** The browsers WebKitWebDriver started. */
function browsersOf(driverProcess) {
  try {
    return readFileSync(`/proc/${driverProcess.pid}/task/${driverProcess.pid}/children`, 'utf8').split(/\s+/).filter(Boolean).map(Number);
  } catch {
    return []; // the driver has ended
  }
}

async function focusBrowserWindow(driverProcess, driver) {
  const browsers = browsersOf(driverProcess);
  // A window just resized or loaded may take the focus back from X a moment later: until the page has it.
  for (let tries = 0; tries < 50; ++tries) {
    for (const pid of browsers) {
      const windows = execFileSync('xdotool', ['search', '--sync', '--onlyvisible', '--pid', pid], { timeout: 20000, stdio: ['ignore', 'pipe', 'ignore'] });
      for (const window of windows.toString().split(/\s+/).filter(Boolean))
        execFileSync('xdotool', ['windowfocus', window], { timeout: 20000, stdio: 'ignore' });
    }
    await new Promise((done) => setTimeout(done, 20 * tries));
    if (await driver.executeScript('return document.hasFocus()')) return;
  }
  // Only what draws focus needs it, and the tests that check focus say so themselves.
  console.warn("WebKit's window did not take the X input focus");
}

/**
 * Starts WebKitWebDriver and one MiniBrowser session with a home of its own
 * (profile, caches); downloads go to the folder given. One page at a time:
 * a new page is the session's window loaded afresh.
 */
export async function launchWebKit({ downloads } = {}) {
  if (!process.env.DISPLAY) throw new Error('WebKit needs an X display: run the tests under Xvfb (scripts/web.sh does)');
  const home = mkdtempSync(join(tmpdir(), 'tintwright-webkit-'));
  const config = join(home, 'config');
  for (const folder of [config, join(home, 'data'), join(home, 'cache')]) mkdirSync(folder);
  // WebKitGTK saves a download into the user's download folder.
  if (downloads !== undefined) writeFileSync(join(config, 'user-dirs.dirs'), `XDG_DOWNLOAD_DIR="${downloads}"\n`);
  const port = await freePort();
  const env = { ...process.env, HOME: home, XDG_CONFIG_HOME: config, XDG_DATA_HOME: join(home, 'data'), XDG_CACHE_HOME: join(home, 'cache') };
  const driverProcess = spawn(driverPath, [`--port=${port}`], { env, stdio: 'ignore' });
  const stop = () => {
    for (const pid of browsersOf(driverProcess)) {
      try {
        process.kill(pid);
      } catch {
        // gone already
      }
    }
    driverProcess.kill();
  };
  // A test run that ends abruptly leaves no browser behind.
  process.once('exit', stop);
  const url = `http://127.0.0.1:${port}`;
  let driver;
  try {
    await waitForDriver(url, driverProcess);
    driver = await new Builder()
      .usingServer(url)
      .withCapabilities({
        browserName: 'MiniBrowser',
        'webkitgtk:browserOptions': { binary: miniBrowser(), args: ['--automation'] },
      })
      .build();
  } catch (error) {
    await driver?.quit().catch(() => {});
    stop();
    process.off('exit', stop);
    rmSync(home, { recursive: true, force: true });
    throw error;
  }
  return {
    engine: 'webkit',
    async newPage() {
      // One page at a time: one a failed test left open is replaced.
      await driver.get('about:blank');
      const page = new Page(
        'webkit',
        webDriverPage(driver, () => focusBrowserWindow(driverProcess, driver)),
      );
      await page.setViewport(viewport.width, viewport.height);
      return page;
    },
    async close() {
      await driver.quit().catch(() => {});
      stop();
      process.off('exit', stop);
      rmSync(home, { recursive: true, force: true });
    },
  };
}

function webDriverPage(driver, focusWindow) {
  const actions = () => driver.actions({ async: true });
  const evaluate = async (fnSource, args) => {
    // Run as an async script: every engine awaits the function's promise the same way.
    const answer = await driver.executeAsyncScript(
      `const done = arguments[arguments.length - 1];
       const args = Array.prototype.slice.call(arguments, 0, -1);
       Promise.resolve().then(() => (${fnSource})(...args)).then(
         (value) => done({ value: value === undefined ? null : value }),
         (error) => done({ error: String(error && error.message !== undefined ? error.message : error) }));`,
      ...args,
    );
    if ('error' in answer) throw new Error(`in WebKit's page: ${answer.error}`);
    return answer.value;
  };
  return {
    async goto(url) {
      await driver.get(url);
      await focusWindow();
      // Failures after the load, as puppeteer's page errors report them in the other engines.
      await driver.executeScript(`
        window.tintwrightErrors = [];
        addEventListener('error', (e) => tintwrightErrors.push(e.message));
        addEventListener('unhandledrejection', (e) => tintwrightErrors.push(String(e.reason && e.reason.message !== undefined ? e.reason.message : e.reason)));`);
    },
    evaluate,
    async pointer(list) {
      let sequence = actions();
      for (const a of list) {
        if (a.type === 'move') sequence = sequence.move({ x: a.x, y: a.y, origin: Origin.VIEWPORT, duration: 0 });
        else if (a.type === 'down') sequence = sequence.press(Button.LEFT);
        else sequence = sequence.release(Button.LEFT);
      }
      await sequence.perform();
    },
    async keys(list) {
      let sequence = actions();
      for (const a of list) sequence = a.type === 'down' ? sequence.keyDown(webDriverKey(a.key)) : sequence.keyUp(webDriverKey(a.key));
      await sequence.perform();
    },
    /** WebDriver's Release Actions: what the session holds pressed is let go. */
    releaseInput: () => actions().clear(),
    /** The window's size is set so that its page area gets the size asked for. */
    async setViewport(width, height) {
      // The X server resizes the window some time after WebDriver answers, so
      // the page area is read again (and the size asked again) until it fits.
      const deadline = Date.now() + 10000;
      let now;
      for (;;) {
        const [innerWidth, innerHeight, outerWidth, outerHeight] = await driver.executeScript('return [innerWidth, innerHeight, outerWidth, outerHeight]');
        now = [innerWidth, innerHeight];
        if (innerWidth === width && innerHeight === height) break;
        if (Date.now() > deadline) throw new Error(`WebKit's page area is ${now.join('x')}, not ${width}x${height}`);
        await driver
          .manage()
          .window()
          .setRect({ width: width + outerWidth - innerWidth, height: height + outerHeight - innerHeight });
        await new Promise((done) => setTimeout(done, 100));
      }
      // A resized window has lost the focus.
      await focusWindow();
    },
    async screenshot(path) {
      writeFileSync(path, Buffer.from(await driver.takeScreenshot(), 'base64'));
    },
    /** WebDriver hands files to a file input by sending their paths to it, whatever chooser the page opened. */
    async chooseFiles(opening, paths) {
      await opening();
      const deadline = Date.now() + 15000;
      while ((await driver.findElements(By.css('input[type="file"]'))).length === 0) {
        if (Date.now() > deadline) throw new Error('the page made no file input');
        await new Promise((done) => setTimeout(done, 50));
      }
      await driver.findElement(By.css('input[type="file"]')).sendKeys(paths.join('\n'));
    },
    errors: () => driver.executeScript('return window.tintwrightErrors ?? []'),
    /**
     * WebKit under automation leaves a page without asking, whatever it
     * answers: the page's own answer to a leave-page event is what is read.
     */
    async closeAsking() {
      const asks = await evaluate(
        `() => {
        const leaving = new Event('beforeunload', { cancelable: true });
        window.dispatchEvent(leaving);
        return leaving.defaultPrevented;
      }`,
        [],
      );
      await this.close();
      return asks;
    },
    async close() {
      await driver.get('about:blank');
    },
  };
}
