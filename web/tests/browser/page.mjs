// One page in one browser engine, as the page tests drive it. An engine's
// back-end (puppeteer-engine.mjs: Chromium, Firefox; webdriver-engine.mjs:
// WebKit) gives a few primitives: script run in the page, pointer and key
// actions as real input, screenshots, the viewport, the file chooser.
// Everything a test does is built on them here, the same way in every engine.

const timeoutMs = 15000;

export class Page {
  /** `engine`: 'chromium', 'firefox' or 'webkit'; `backEnd`: that engine's primitives. */
  constructor(engine, backEnd) {
    this.engine = engine;
    this.backEnd = backEnd;
    this.pointer = { x: 0, y: 0 };
    this.mouse = {
      /** Moves the pointer in `steps` even moves from where it is, as a hand would. */
      move: async (x, y, { steps = 1 } = {}) => {
        const from = this.pointer;
        const moves = [];
        for (let i = 1; i <= steps; ++i) moves.push({ type: 'move', x: from.x + ((x - from.x) * i) / steps, y: from.y + ((y - from.y) * i) / steps });
        await this.pointerActions(moves);
      },
      down: () => this.pointerActions([{ type: 'down' }]),
      up: () => this.pointerActions([{ type: 'up' }]),
      click: (x, y) => this.pointerActions([{ type: 'move', x, y }, { type: 'down' }, { type: 'up' }]),
    };
    this.keyboard = {
      down: (key) => backEnd.keys([{ type: 'down', key }]),
      up: (key) => backEnd.keys([{ type: 'up', key }]),
      press: (key) =>
        backEnd.keys([
          { type: 'down', key },
          { type: 'up', key },
        ]),
      type: (text) =>
        backEnd.keys(
          [...text].flatMap((key) => [
            { type: 'down', key },
            { type: 'up', key },
          ]),
        ),
    };
  }

  /** WebDriver takes whole CSS pixels: every engine gets the same rounded positions. */
  async pointerActions(actions) {
    const rounded = actions.map((a) => (a.type === 'move' ? { ...a, x: Math.round(a.x), y: Math.round(a.y) } : a));
    for (const a of rounded) if (a.type === 'move') this.pointer = { x: a.x, y: a.y };
    await this.backEnd.pointer(rounded);
  }

  /** Lets go of every button and key the driver holds (after a step the driver failed half-way). */
  releaseInput() {
    return this.backEnd.releaseInput();
  }

  goto(url) {
    return this.backEnd.goto(url);
  }

  /** Runs a function (or an expression's text) in the page with JSON arguments; gives its (awaited) JSON result. */
  evaluate(fn, ...args) {
    return this.backEnd.evaluate(typeof fn === 'string' ? `() => (${fn})` : fn.toString(), args);
  }

  $eval(selector, fn, ...args) {
    return this.backEnd.evaluate(
      `(selector, ...args) => {
        const element = document.querySelector(selector);
        if (element === null) throw new Error('no element matches ' + selector);
        return (${fn})(element, ...args);
      }`,
      [selector, ...args],
    );
  }

  $$eval(selector, fn, ...args) {
    return this.backEnd.evaluate(`(selector, ...args) => (${fn})(Array.from(document.querySelectorAll(selector)), ...args)`, [selector, ...args]);
  }

  /** Waits until the function, run in the page, gives a truthy value; gives that value. */
  async waitFor(fn, ...args) {
    const deadline = Date.now() + timeoutMs;
    for (;;) {
      const value = await this.evaluate(fn, ...args);
      if (value) return value;
      if (Date.now() > deadline) throw new Error(`waited ${timeoutMs / 1000} s in ${this.engine} for ${fn.toString().slice(0, 200)}`);
      await new Promise((done) => setTimeout(done, 50));
    }
  }

  waitForSelector(selector) {
    return this.waitFor((selector) => document.querySelector(selector) !== null, selector);
  }

  /** The element's box in the viewport, scrolled into view first. */
  boxOf(selector) {
    return this.$eval(selector, (e) => {
      e.scrollIntoView({ block: 'nearest', inline: 'nearest' });
      const box = e.getBoundingClientRect();
      return { x: box.x, y: box.y, width: box.width, height: box.height };
    });
  }

  async centreOf(selector) {
    const box = await this.boxOf(selector);
    return { x: box.x + box.width / 2, y: box.y + box.height / 2 };
  }

  /** A real click (pointer moved, pressed, released) at the element's centre. */
  async click(selector) {
    const { x, y } = await this.centreOf(selector);
    await this.mouse.click(x, y);
  }

  focus(selector) {
    return this.$eval(selector, (e) => e.focus());
  }

  setViewport(width, height) {
    return this.backEnd.setViewport(width, height);
  }

  /** A PNG of the viewport, once the page has drawn what it was last given (WebKit's would show the frame before). */
  async screenshot(path) {
    await this.evaluate(() => new Promise((drawn) => requestAnimationFrame(() => requestAnimationFrame(drawn))));
    await this.backEnd.screenshot(path);
  }

  /** Runs `opening` (which makes the page open its file chooser) and gives the chooser these files. */
  chooseFiles(opening, paths) {
    return this.backEnd.chooseFiles(opening, paths);
  }

  /** What the page threw or left rejected. */
  errors() {
    return this.backEnd.errors();
  }

  /**
   * Closes the page as a user closes the tab: whether the browser asked before
   * leaving. WebDriver cannot close a page that asks; there the page's own
   * beforeunload answer is read (see webdriver-engine.mjs).
   */
  closeAsking() {
    return this.backEnd.closeAsking();
  }

  close() {
    return this.backEnd.close();
  }
}
