// A seeded random run of a person's input on the page, in each engine:
// clicks, drags, keys, sliders, the panel's buttons, the Groups menu with
// names of every kind (lone surrogates and NULs pasted in, very long ones),
// hostile files dropped, and saves, each save checked with `tintwright-cli
// check --strict`. The page must raise no error and every save must pass;
// frames over a second are counted and reported (a hostile file may take as
// long as the model's own open of it). TINTWRIGHT_PAGE_RANDOM_SECONDS (60)
// sets the length, TINTWRIGHT_SEED the seed; the log of actions is printed
// on a failure. Chromium saves through a handle of the origin-private file
// system (on a static host, as file:// has none); Firefox and WebKit save by
// download from file://. Names with lone surrogates and NULs cross to the
// page as UTF-16 code units: WebDriver's JSON need not keep a lone surrogate.

import { describe, test } from 'node:test';
import assert from 'node:assert/strict';
import { spawnSync } from 'node:child_process';
import { existsSync, readdirSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { join } from 'node:path';
import { chooseMenuItem, clickText, engineSession, engines, openPage, repoDir, sampleBytes, siteDir } from './harness.mjs';
import { dropFile, pressDialogButton } from './page-driver.mjs';

const seconds = Number(process.env.TINTWRIGHT_PAGE_RANDOM_SECONDS ?? 60);
const seed = Number(process.env.TINTWRIGHT_SEED ?? 4040) >>> 0;
const cliPath = process.env.TINTWRIGHT_CLI ?? join(repoDir, 'build', 'tintwright-cli');

function randomFrom(start) {
  let state = start;
  return () => {
    state = (state + 0x6d2b79f5) >>> 0;
    let x = Math.imul(state ^ (state >>> 15), state | 1);
    x ^= x + Math.imul(x ^ (x >>> 7), x | 61);
    return ((x ^ (x >>> 14)) >>> 0) / 4294967296;
  };
}

// Files a person may be handed: long names, line breaks and lone surrogates
// in them, names shared, many groups, broken XML.
function hostileFile(random) {
  const colour = (i) => `ff${(((i * 2654435761) >>> 8) & 0xffffff).toString(16).padStart(6, '0')}`;
  const kinds = [
    () =>
      `<COLOURS><COLOUR name="${'Long'.padEnd(200000 + Math.floor(random() * 300000), 'n')}" colour="ff112233"/><COLOUR name="b" colour="ff445566"/><COLOURGROUPS><COLOURGROUP name="G"><COLOUR name="b"/></COLOURGROUP></COLOURGROUPS></COLOURS>`,
    () =>
      `<COLOURS><COLOUR name="Lone &#xD800; mark" colour="ff112233"/><COLOUR name="a&#xDC00;b" colour="ff445566"/><COLOURGROUPS><COLOURGROUP name="Lone &#xD800; mark"><COLOUR name="a&#xDC00;b"/></COLOURGROUP></COLOURGROUPS></COLOURS>`,
    () =>
      `<COLOURS><COLOUR name="Same" colour="ff111111"/><COLOUR name="Same" colour="ff222222"/><COLOUR name="x&#13;&#10;y" colour="ff333333"/><COLOURGROUPS><COLOURGROUP name="G"><COLOUR name="Same"/></COLOURGROUP></COLOURGROUPS></COLOURS>`,
    () => {
      const groups = Array.from({ length: 5000 }, (_, g) => `<COLOURGROUP name="g${g}"><COLOUR name="c${g % 50}"/></COLOURGROUP>`);
      return `<COLOURS>${Array.from({ length: 50 }, (_, i) => `<COLOUR name="c${i}" colour="${colour(i)}"/>`).join('')}<COLOURGROUPS>${groups.join('')}</COLOURGROUPS></COLOURS>`;
    },
    () => `<COLOURS><COLOUR name="a" colour="ff112233"/><COLOURGROUPS><COLOURGROUP name="G"><COLOUR name="a"/>`,
  ];
  return Buffer.from(kinds[Math.floor(random() * kinds.length)]());
}

const names = ['New', 'Grüße & <b>', 'a\uDC00b', 'Lone \uD800 mark', 'a\0b', '\u{1F3A8}', '', 'x'.repeat(5000)];
const codeUnits = (text) => Array.from({ length: text.length }, (_, i) => text.charCodeAt(i));

/** Clicks the `index`th element matching the selector at its centre, scrolled into view, as a user clicks it. */
async function clickNth(page, selector, index) {
  const box = await page.evaluate(
    (selector, index) => {
      const element = document.querySelectorAll(selector)[index];
      if (element === undefined) return null;
      element.scrollIntoView({ block: 'nearest', inline: 'nearest' });
      const box = element.getBoundingClientRect();
      return { x: box.x + box.width / 2, y: box.y + box.height / 2 };
    },
    selector,
    index,
  );
  if (box === null) throw new Error(`no element ${index} of ${selector}`);
  await page.mouse.click(box.x, box.y);
}

const count = (page, selector) => page.evaluate((selector) => document.querySelectorAll(selector).length, selector);
const exists = (page, selector) => page.evaluate((selector) => document.querySelector(selector) !== null, selector);

for (const [engineIndex, browserName] of engines.entries()) {
  describe(`${browserName}: random input`, () => {
    const session = engineSession(browserName, 'random');

    test(`${seconds} s of seeded random input: no page error, every save passes check --strict`, async (t) => {
      const random = randomFrom(seed + engineIndex);
      const pick = (list) => list[Math.floor(random() * list.length)];
      // Chromium saves through a handle of the origin-private file system, which file:// has not.
      const page = await openPage(session.browser, browserName === 'chromium' ? session.server.url : `file://${siteDir}/index.html`);
      await page.setViewport(700, 500);
      // Frames over a second, counted in the page.
      await page.evaluate(() => {
        window.longFrames = 0;
        let last = performance.now();
        const tick = (now) => {
          if (now - last > 1000) ++window.longFrames;
          last = now;
          requestAnimationFrame(tick);
        };
        requestAnimationFrame(tick);
      });
      const log = [];
      let openedWarnings = [];
      // The file dropped last, until the page shows it (after the question about changes, perhaps).
      let pendingOpen = null;
      const noteOpened = async () => {
        if (pendingOpen === null || !(await page.evaluate(() => document.title)).startsWith(`${pendingOpen.name} `)) return false;
        openedWarnings = check(pendingOpen.bytes).warnings;
        pendingOpen = null;
        return true;
      };
      let checked = 0;
      // tintwright-cli check --strict of these bytes: its status, its warnings, whether they save to themselves.
      const check = (bytes) => {
        const file = join(session.downloads, `checked-${++checked}.calvastrascheme`);
        writeFileSync(file, bytes);
        const run = spawnSync(cliPath, ['check', '--strict', file], { encoding: 'utf8' });
        rmSync(file);
        const output = run.stdout + run.stderr;
        return {
          status: run.status,
          output,
          warnings: output
            .split('\n')
            .filter((line) => line.trim().startsWith('warning:'))
            .map((line) => line.trim()),
          roundTrips: output.includes('saving would write the same bytes'),
        };
      };
      const counts = { events: 0, saves: 0, opens: 0, refusedNames: 0, groupChanges: 0, driverErrors: 0 };
      const dialogOpen = () => exists(page, 'dialog[open]');
      const answerDialog = async () => {
        const buttons = await count(page, 'dialog[open] button');
        if (buttons > 0) await clickNth(page, 'dialog[open] button', Math.floor(random() * buttons));
      };
      /** A row in view of the list, by its id; null if the list shows none. */
      const rowIn = async (list) => {
        const rows = await page.$$eval(`#${list} .row:not([hidden])`, (rows) => rows.map((row) => row.id));
        return rows.length > 0 ? `#${pick(rows)}` : null;
      };
      const nameInDialog = (name) =>
        page.$eval(
          'dialog[open] input',
          (e, units) => {
            e.value = String.fromCharCode(...units);
          },
          codeUnits(name),
        );

      const actions = {
        async click() {
          const row = await rowIn(pick(['scheme-list', 'group-list']));
          const modifier = pick([null, null, 'Control', 'Shift']);
          if (modifier) await page.keyboard.down(modifier);
          try {
            if (row) await page.click(row);
          } finally {
            if (modifier) await page.keyboard.up(modifier);
          }
        },
        async drag() {
          const row = await rowIn('scheme-list');
          if (row === null) return;
          const from = await page.boxOf(row);
          const to = await page.boxOf('#group-list');
          const y = Math.min(from.y + 5, 490);
          await page.mouse.move(from.x + 10, y);
          await page.mouse.down();
          try {
            await page.mouse.move(from.x + 40, y, { steps: 3 });
            await page.mouse.move(to.x + to.width / 2, to.y + 20, { steps: 5 });
          } finally {
            await page.mouse.up();
          }
        },
        async keys() {
          await page.focus(pick(['#scheme-list', '#group-list'])).catch(() => {});
          for (let i = 0; i < 1 + Math.floor(random() * 4); ++i)
            await page.keyboard.press(pick(['ArrowUp', 'ArrowDown', 'PageDown', 'PageUp', 'Home', 'End', ' ']));
        },
        // The keys of a slider, or a press and a drag along it (past its ends at times).
        async slider() {
          const sliders = await page.$$eval('#tweak-panel [role="slider"]', (sliders) => sliders.map((s) => s.id));
          if (sliders.length === 0) return;
          const slider = `#${pick(sliders)}`;
          if (random() < 0.5) {
            await page.focus(slider);
            for (let i = 0; i < 1 + Math.floor(random() * 5); ++i) await page.keyboard.press(pick(['ArrowUp', 'ArrowDown', 'PageUp', 'PageDown']));
            return;
          }
          const box = await page.boxOf(slider);
          const at = () => ({ x: box.x + random() * box.width, y: box.y - 20 + random() * (box.height + 40) });
          const start = at();
          await page.mouse.move(start.x, start.y);
          await page.mouse.down();
          try {
            const end = at();
            await page.mouse.move(end.x, end.y, { steps: 1 + Math.floor(random() * 6) });
          } finally {
            await page.mouse.up();
          }
        },
        async panelButton() {
          const buttons = await count(page, '#tweak-panel button');
          if (buttons === 0) return;
          await clickNth(page, '#tweak-panel button', Math.floor(random() * buttons));
          if (await exists(page, '.hue-strip')) await page.keyboard.press('Escape');
        },
        async groups() {
          const item = pick(['Add', 'Rename', 'Delete']);
          // With no scheme open Groups... shows no menu: a short wait, not the driver's whole timeout.
          await page.click('#groups-button');
          for (let tries = 0; tries < 10 && !(await exists(page, '.menu [role="menuitem"]')); ++tries) await new Promise((done) => setTimeout(done, 50));
          if (!(await exists(page, '.menu [role="menuitem"]'))) return;
          await clickText(page, '.menu [role="menuitem"]', item);
          for (let tries = 0; tries < 3 && (await exists(page, 'dialog[open] input')); ++tries) {
            await nameInDialog(pick(names));
            await pressDialogButton(page, 'Okay!');
            await new Promise((done) => setTimeout(done, 50));
            if (await page.evaluate(() => document.querySelector('dialog[open] p')?.textContent.startsWith('This name cannot be used'))) ++counts.refusedNames;
          }
          if (await exists(page, 'dialog[open] input')) {
            await nameInDialog('');
            await pressDialogButton(page, 'Okay!');
          }
        },
        // With the keys of a closed selector, as in every engine: WebDriver cannot drive the browser's own list.
        async chooseGroup() {
          const before = await page.$eval('#group-selector', (e) => e.selectedIndex);
          await page.focus('#group-selector');
          await page.keyboard.press(pick(['ArrowDown', 'ArrowUp', 'Home', 'End']));
          if ((await page.$eval('#group-selector', (e) => e.selectedIndex)) !== before) ++counts.groupChanges;
        },
        async open() {
          const bytes = random() < 0.5 ? sampleBytes : hostileFile(random);
          const name = `random-${counts.opens++}`;
          pendingOpen = { name, bytes };
          await dropFile(page, `${name}.calvastrascheme`, bytes);
          const deadline = Date.now() + 5000;
          while (Date.now() < deadline && !(await dialogOpen()) && !(await noteOpened())) await new Promise((done) => setTimeout(done, 50));
        },
        async save() {
          await noteOpened();
          for (const file of readdirSync(session.downloads)) rmSync(join(session.downloads, file), { force: true });
          if (browserName === 'chromium') {
            await page.evaluate(() => {
              window.showSaveFilePicker = async () => (await navigator.storage.getDirectory()).getFileHandle('saved.calvastrascheme', { create: true });
            });
          }
          await chooseMenuItem(page, '#file-menu-button', 'Save file...').catch(() => {});
          const deadline = Date.now() + 5000;
          let bytes = null;
          while (bytes === null && Date.now() < deadline && !(await dialogOpen())) {
            if (browserName === 'chromium') {
              const data = await page.evaluate(async () => {
                try {
                  const handle = await (await navigator.storage.getDirectory()).getFileHandle('saved.calvastrascheme');
                  const file = await handle.getFile();
                  if (file.size === 0) return null;
                  const data = Array.from(new Uint8Array(await file.arrayBuffer()));
                  await (await navigator.storage.getDirectory()).removeEntry('saved.calvastrascheme');
                  return data;
                } catch {
                  return null;
                }
              });
              bytes = data && Buffer.from(data);
            } else {
              // Firefox writes into name.part, WebKit into name.wkdownload, then renames.
              const files = readdirSync(session.downloads);
              const partial = (f) => f.endsWith('.part') || f.endsWith('.wkdownload');
              // WebKit may show the file empty for a moment before it is written: a save is never empty.
              if (files.length > 0 && !files.some(partial)) {
                const read = readFileSync(join(session.downloads, files[0]));
                if (read.length > 0) bytes = read;
              }
            }
            if (bytes === null) await new Promise((done) => setTimeout(done, 100));
          }
          if (bytes === null) return;
          ++counts.saves;
          // What the file opened already had (names shared in it, say) is no fault of the page's.
          const saved = check(bytes);
          const newWarnings = saved.warnings.filter((w) => !openedWarnings.includes(w));
          assert.ok(
            saved.status === 0 || (newWarnings.length === 0 && saved.roundTrips),
            `save ${counts.saves} fails check --strict: ${saved.output
              .split('\n')
              .map((line) => (line.length > 300 ? `${line.slice(0, 300)}…` : line))
              .join('\n')}\n${log.slice(-30).join('\n')}`,
          );
        },
      };
      const weights = [
        ['click', 6],
        ['drag', 3],
        ['keys', 4],
        ['slider', 4],
        ['panelButton', 3],
        ['groups', 3],
        ['chooseGroup', 2],
        ['open', 1],
        ['save', 1],
      ];
      const total = weights.reduce((sum, [, w]) => sum + w, 0);

      assert.ok(existsSync(cliPath), `no ${cliPath}`);
      const end = Date.now() + seconds * 1000;
      while (Date.now() < end) {
        // WebKit's MiniBrowser lists each download in a bar of its window, above the page, which the
        // page's area shrinks for; the window is made taller again, as a person would make it.
        if (browserName === 'webkit' && (await page.evaluate(() => innerHeight)) !== 500) await page.setViewport(700, 500);
        if (await dialogOpen()) await answerDialog();
        await noteOpened();
        let r = random() * total;
        const [name] = weights.find(([, w]) => (r -= w) < 0);
        ++counts.events;
        const started = Date.now();
        let note = '';
        // A step that never ends (a driver waiting on a window of the browser's own) fails with the log, not at the run's timeout.
        let hung;
        const stuck = new Promise((resolve, reject) => {
          hung = setTimeout(() => reject(new assert.AssertionError({ message: `${name} did not end within 30 s: ${log.slice(-30).join(', ')}` })), 30000);
        });
        await Promise.race([actions[name](), stuck])
          .finally(() => clearTimeout(hung))
          // What the driver cannot do (a row scrolled away meanwhile) is the driver's, not the page's.
          .catch((error) => {
            if (error instanceof assert.AssertionError) throw error;
            ++counts.driverErrors;
            note = ` (driver: ${error.name} ${String(error.message).slice(0, 200)})`;
          });
        if (note !== '') await page.releaseInput().catch(() => {});
        // Slow steps noted with their time, so that a run with few events says where it waited.
        const took = Date.now() - started;
        log.push(`${name}${took > 1000 ? ` ${took} ms` : ''}${note}`);
        assert.deepEqual(await page.errors(), [], `page errors after: ${log.slice(-30).join(', ')}`);
      }
      counts.longFrames = await page.evaluate(() => window.longFrames);
      t.diagnostic(`${browserName}, seed ${seed + engineIndex}: ${JSON.stringify(counts)}`);
      assert.ok(counts.saves > 0 || seconds < 30, `no save in the run: ${log.slice(-30).join(', ')}`);
      await page.close();
    });
  });
}
