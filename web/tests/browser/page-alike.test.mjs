// The page alike in every browser, as a new user meets it at 600 by 450: the
// page's own sliders (a press on the track, a drag, the keys, the thumbs at
// their values), pop-ups that are modal as the window's, the keyboard's add
// button and multi-select, and Save as and the recent files when the files
// move under the page.

import { describe, test } from 'node:test';
import assert from 'node:assert/strict';
import { copyFileSync, existsSync, readFileSync, readdirSync, rmSync, statSync } from 'node:fs';
import { join } from 'node:path';
import { largeSchemeText } from '../large-scheme.mjs';
import {
  chooseMenuItem,
  engineSession,
  engines,
  hex,
  openPage,
  openThroughMenu,
  opensWithHandles,
  pageModel,
  sampleBytes,
  samplePath,
  shotsDir,
  siteDir,
  useOriginPrivateFiles,
} from './harness.mjs';
import { addGroup, centreOf, dialogText, dropFile, groupRows, pressDialogButton, title, waitFor } from './page-driver.mjs';

const other = Buffer.from(
  '<COLOURS><COLOUR name="Only" colour="ff102030"/><COLOURGROUPS><COLOURGROUP name="Other"><COLOUR name="Only"/></COLOURGROUP></COLOURGROUPS></COLOURS>',
);

const tweaked = (rows, sliders) => rows.map((r) => hex(pageModel.tweakColour(parseInt(r.stored, 16), sliders)));

const sliderValue = (page, name) => page.$eval(`#slider-${name}`, (e) => Number(e.getAttribute('aria-valuenow')));
const shown = (page, selector) => page.evaluate((s) => document.querySelector(s) !== null, selector);

/** Every pop-up and the page itself inside the window: nothing cut off, no scroll bars. */
async function insidePage(page, selector) {
  return page.$eval(selector, (e) => {
    const box = e.getBoundingClientRect();
    const view = document.documentElement;
    return box.left >= 0 && box.top >= 0 && box.right <= view.clientWidth && box.bottom <= view.clientHeight;
  });
}

async function openSample(page) {
  await page.setViewport(600, 450);
  await dropFile(page, 'sample.calvastrascheme', sampleBytes);
  await waitFor(page, () => document.title.startsWith('sample'));
}

for (const browserName of engines) {
  describe(browserName, () => {
    const session = engineSession(browserName, 'alike');
    const fileUrl = `file://${siteDir}/index.html`;

    test('the sliders: a press a quarter down the Hue track, a drag, the keys; the thumbs at their values, drawn as the window draws them', async () => {
      const page = await openPage(session.browser, fileUrl);
      await openSample(page);
      const members = await groupRows(page);

      const track = await page.boxOf('#slider-hue .slider-track');
      await page.mouse.click(track.x + track.width / 2, track.y + track.height / 4);
      const hue = await sliderValue(page, 'hue');
      assert.ok(Math.abs(hue - 0.25) < 0.015, `a quarter down the track gives ${hue}`);
      assert.deepEqual(
        (await groupRows(page)).map((r) => r.preview),
        tweaked(members, { hue }),
      );
      await page.keyboard.press('ArrowUp');
      assert.ok(Math.abs((await sliderValue(page, 'hue')) - (hue + 0.01)) < 1e-9, 'one Up arrow is one step');

      // A drag follows the pointer past the track's end (the pointer is captured): the minimum at the bottom.
      const thumb = await centreOf(page, '#slider-hue .slider-thumb');
      await page.mouse.move(thumb.x, thumb.y);
      await page.mouse.down();
      await page.mouse.move(thumb.x + 30, thumb.y + 40, { steps: 4 });
      assert.ok(Math.abs((await sliderValue(page, 'hue')) - (hue + 0.01 - 40 / 84)) < 0.02);
      await page.mouse.move(thumb.x + 30, 449, { steps: 4 });
      await page.mouse.up();
      assert.equal(await sliderValue(page, 'hue'), -0.5);

      await page.focus('#slider-red');
      const red = [];
      for (const key of ['ArrowUp', 'PageUp', 'End', 'ArrowRight', 'Home', 'ArrowDown']) {
        await page.keyboard.press(key);
        red.push(await sliderValue(page, 'red'));
      }
      assert.deepEqual(red, [1, 11, 255, 255, -255, -255]);
      await page.focus('#slider-contrast');
      await page.keyboard.press('PageUp');
      assert.deepEqual(
        (await groupRows(page)).map((r) => r.preview),
        tweaked(members, { hue: -0.5, red: -255, contrast: 0.1 }),
      );
      assert.deepEqual(
        await page.$eval('#slider-red', (e) => [
          e.getAttribute('role'),
          e.getAttribute('aria-orientation'),
          e.getAttribute('aria-valuemin'),
          e.getAttribute('aria-valuemax'),
          e.getAttribute('aria-valuetext'),
        ]),
        ['slider', 'vertical', '-255', '255', 'minus 255'],
      );

      // Each thumb is centred on its value along the track (the maximum at the top), in the window's sizes.
      const thumbs = await page.$$eval('.tweak-panel [role="slider"]', (sliders) =>
        sliders.map((slider) => {
          const vertical = slider.getAttribute('aria-orientation') === 'vertical';
          const [min, max, now] = ['aria-valuemin', 'aria-valuemax', 'aria-valuenow'].map((a) => Number(slider.getAttribute(a)));
          const box = slider.getBoundingClientRect();
          const track = slider.querySelector('.slider-track').getBoundingClientRect();
          const thumb = slider.querySelector('.slider-thumb').getBoundingClientRect();
          const along = (now - min) / (max - min);
          const expected = vertical ? track.bottom - along * track.height : track.left + along * track.width;
          const centre = vertical ? (thumb.top + thumb.bottom) / 2 : (thumb.left + thumb.right) / 2;
          return {
            off: Math.abs(centre - expected) < 0.6,
            sizes: [box.width, box.height, track.width, track.height, thumb.width, thumb.height],
          };
        }),
      );
      assert.deepEqual(
        thumbs.map((t) => t.off),
        Array(8).fill(true),
        'every thumb at its value',
      );
      assert.deepEqual(thumbs[0].sizes, [20, 100, 10, 84, 16, 10]);
      assert.deepEqual(thumbs[7].sizes, [75, 16, 59, 6, 10, 12]);

      await page.click('.tweak-panel .reset');
      assert.deepEqual(await page.$$eval('.tweak-panel [role="slider"]', (s) => s.map((e) => e.getAttribute('aria-valuetext'))), [
        '0',
        '0',
        '0',
        '0.00',
        '1.00',
        '1.00',
        '0.00',
        '0.50',
      ]);
      await page.focus('#slider-brightness');
      await page.keyboard.press('PageDown');
      await page.evaluate(() => document.activeElement.blur());
      await page.screenshot(join(shotsDir, `sliders-${browserName}.png`));
      assert.deepEqual(await page.errors(), []);
      await page.close();
    });

    test('a click outside an open pop-up only closes it, and every pop-up opens inside the page', async () => {
      const page = await openPage(session.browser, fileUrl);
      await openSample(page);
      await page.focus('#slider-red');
      for (let i = 0; i < 10; ++i) await page.keyboard.press('PageUp');
      const before = await groupRows(page);
      assert.deepEqual(
        before.map((r) => r.preview),
        tweaked(before, { red: 100 }),
      );

      // Force hue..., the strip closed by a click on Apply: nothing applied, Meter Low stays ff39c46a.
      await page.click('.tweak-panel .force-hue');
      await page.waitForSelector('.hue-strip');
      assert.equal(await insidePage(page, '.hue-popup'), true, 'the hue strip inside the page');
      assert.equal(await page.$eval('.hue-strip', (e) => e.getAttribute('aria-orientation')), 'vertical');
      await page.click('.tweak-panel .apply');
      await waitFor(page, () => document.querySelector('.hue-popup') === null);
      assert.deepEqual(await groupRows(page), before);
      assert.equal(before.find((r) => r.name === 'Meter Low').stored, 'ff39c46a');

      // The Groups... menu at 600 and 900 pixels wide, closed by a click on a scheme row: the row is not selected.
      for (const width of [600, 900]) {
        await page.setViewport(width, 450);
        await page.click('#groups-button');
        await page.waitForSelector('.menu');
        assert.equal(await insidePage(page, '.menu'), true, `the Groups menu inside the page at ${width} pixels`);
        await page.click('#scheme-colour-1');
        assert.equal(await shown(page, '.menu'), false);
        assert.equal(await page.$eval('#scheme-colour-1', (e) => e.getAttribute('aria-selected')), 'false');
      }
      await page.click('.tweak-panel .apply');
      assert.deepEqual(
        (await groupRows(page)).map((r) => r.stored),
        tweaked(before, { red: 100 }),
        'a click with no pop-up open still applies',
      );
      assert.deepEqual(await page.errors(), []);
      await page.close();
    });

    test('the keyboard alone selects rows apart and adds them with the add button, on one line; screen readers hear the counts and the groups', async () => {
      const page = await openPage(session.browser, fileUrl);
      await openSample(page);
      const members = await groupRows(page);
      await page.focus('#scheme-list');
      await page.keyboard.press('ArrowDown');
      await page.keyboard.down('Control');
      await page.keyboard.press('ArrowDown');
      await page.keyboard.press('ArrowDown');
      await page.keyboard.up('Control');
      await page.keyboard.press(' ');
      const selected = () => page.$$eval('#scheme-list .row[aria-selected="true"]', (rows) => rows.map((r) => r.getAttribute('aria-posinset')));
      assert.deepEqual(await selected(), ['1', '3']);

      await page.keyboard.press('Tab');
      const button = await page.$eval('#add-to-group', (e) => ({
        focused: document.activeElement === e,
        // :focus is what shows the button: checked, so that the look below is the focused one.
        shown: e.matches(':focus') ? { oneLine: e.scrollHeight <= e.clientHeight, fontSize: getComputedStyle(e).fontSize } : 'not focused',
        page: [document.documentElement.scrollWidth, document.documentElement.scrollHeight],
      }));
      assert.deepEqual(button, { focused: true, shown: { oneLine: true, fontSize: '11px' }, page: [600, 450] });
      await page.keyboard.press('Enter');
      const names = await page.$$eval('#scheme-list .row[aria-selected="true"]', (rows) => rows.map((r) => r.querySelector('.name').textContent));
      assert.deepEqual(
        (await groupRows(page)).map((r) => r.name),
        [...members.map((r) => r.name), ...names],
      );
      // The next click, on Invert, lands (nothing scrolled).
      await page.click('.tweak-panel .invert');
      const now = await groupRows(page);
      assert.deepEqual(
        now.map((r) => r.preview),
        now.map((r) => hex(pageModel.invertedColour(parseInt(r.stored, 16)))),
      );

      assert.deepEqual(await page.$$eval('#group-selector option', (options) => options.filter((o) => o.textContent.trim() === '').length), 0, 'no empty item');

      // A drag of 1,500 colours is labelled with the count's separator, and its label stays inside the page.
      await dropFile(page, 'many.calvastrascheme', Buffer.from(largeSchemeText(1500)));
      await dialogText(page);
      await pressDialogButton(page, 'Discard changes');
      await waitFor(page, () => document.title.startsWith('many'));
      await page.focus('#scheme-list');
      await page.keyboard.press('Home');
      await page.keyboard.down('Shift');
      await page.keyboard.press('End');
      await page.keyboard.up('Shift');
      // A selected row in the list's view, once the list has drawn the rows at its end.
      const from = await page.waitFor(() => {
        const list = document.querySelector('#scheme-list').getBoundingClientRect();
        const inView = Array.from(document.querySelectorAll('#scheme-list .row[aria-selected="true"]:not([hidden])'), (r) => r.getBoundingClientRect());
        const row = inView.find((box) => box.top >= list.top && box.bottom <= list.bottom);
        return row === undefined ? null : { x: row.left + 50, y: (row.top + row.bottom) / 2 };
      });
      await page.mouse.move(from.x, from.y);
      await page.mouse.down();
      await page.mouse.move(598, 440, { steps: 6 });
      assert.equal(await page.$eval('#drag-image .more', (e) => e.textContent), '1,500 colours');
      assert.equal(await insidePage(page, '#drag-image'), true, 'the drag label inside the page');
      await page.mouse.up();
      assert.deepEqual(await page.errors(), []);
      await page.close();
    });

    test('Save as: the name the file really got, a drop while the name is asked, the download named, the recent entry reopening what was saved', async () => {
      const page = await openPage(session.browser, browserName === 'chromium' ? session.server.url : fileUrl);
      await openSample(page);
      await addGroup(page, 'Kept');
      const recentItems = async () => {
        await page.click('#file-menu-button');
        const labels = await page.$$eval('.menu [role="menuitem"]', (items) => items.slice(3).map((i) => i.textContent));
        await page.keyboard.press('Escape');
        return labels;
      };

      if (opensWithHandles(page)) {
        // The save picker stays up until the test answers; a file dropped meanwhile opens, and is not marked saved under the picked name.
        await useOriginPrivateFiles(page);
        await page.evaluate(() => {
          const picker = window.showSaveFilePicker;
          window.showSaveFilePicker = (options) => new Promise((resolve) => (window.answerPicker = () => resolve(picker(options))));
        });
        await chooseMenuItem(page, '#file-menu-button', 'Save as new file...');
        await waitFor(page, () => window.answerPicker !== undefined);
        await dropFile(page, 'other.calvastrascheme', other);
        await dialogText(page);
        await pressDialogButton(page, 'Discard changes');
        await waitFor(page, () => document.title.startsWith('other'));
        await page.evaluate(() => window.answerPicker());
        const written = () =>
          page.evaluate(async () => {
            const directory = await navigator.storage.getDirectory();
            return directory.getFileHandle('sample.calvastrascheme').then(
              async (h) => (await h.getFile()).text(),
              () => '',
            );
          });
        const deadline = Date.now() + 15000;
        while ((await written()) === '' && Date.now() < deadline) await new Promise((done) => setTimeout(done, 100));
        assert.match(await written(), /<COLOURGROUP name="Kept"/, 'the file holds the scheme Save as began with');
        assert.equal(await title(page), 'other – Tintwright');
        assert.deepEqual(await recentItems(), ['sample.calvastrascheme', 'other.calvastrascheme']);
      } else {
        // A file dropped while the name is asked is not opened; a name holding / and : is saved as the browser names the download.
        await chooseMenuItem(page, '#file-menu-button', 'Save as new file...');
        await page.waitForSelector('dialog[open] input');
        await dropFile(page, 'other.calvastrascheme', other);
        await page.$eval('dialog[open] input', (e) => (e.value = ''));
        await page.keyboard.type('my/theme:v2');
        await page.keyboard.press('Enter');
        await waitFor(page, () => document.title.startsWith('my_theme_v2'));
        assert.equal(await title(page), 'my_theme_v2 – Tintwright');
        assert.equal(await page.$eval('#status', (e) => e.textContent), 'Downloaded as my_theme_v2.calvastrascheme');
        await downloaded(session.downloads, 'my_theme_v2', /<COLOURGROUP name="Kept"/);
        assert.deepEqual(await recentItems(), ['my_theme_v2.calvastrascheme', 'sample.calvastrascheme']);

        // Saved again with a new group, another file opened, the recent entry brings back the last save.
        await addGroup(page, 'Later');
        await chooseMenuItem(page, '#file-menu-button', 'Save file...');
        await downloaded(session.downloads, 'my_theme_v2', /<COLOURGROUP name="Later"/);
        await dropFile(page, 'other.calvastrascheme', other);
        await waitFor(page, () => document.title.startsWith('other'));
        await chooseMenuItem(page, '#file-menu-button', 'my_theme_v2.calvastrascheme');
        await waitFor(page, () => document.title.startsWith('my_theme_v2'));
        assert.deepEqual(await page.$$eval('#group-selector option', (o) => o.map((e) => e.textContent)).then((n) => n.slice(-2)), ['Kept', 'Later']);
      }
      assert.deepEqual(await page.errors(), []);
      await page.close();
    });

    test('a recent file that is gone says so plainly and leaves the list', async () => {
      const page = await openPage(session.browser, browserName === 'chromium' ? session.server.url : fileUrl);
      const copy = join(session.downloads, 'gone.calvastrascheme');
      copyFileSync(samplePath, copy);
      await openThroughMenu(page, copy);
      await waitFor(page, () => document.title.startsWith('gone'));
      await dropFile(page, 'other.calvastrascheme', other);
      await waitFor(page, () => document.title.startsWith('other'));
      if (opensWithHandles(page)) await page.evaluate(async () => (await navigator.storage.getDirectory()).removeEntry('gone.calvastrascheme'));
      else rmSync(copy);

      await chooseMenuItem(page, '#file-menu-button', 'gone.calvastrascheme');
      await waitFor(page, () => document.querySelector('dialog[open] h2')?.textContent === 'The file was not opened');
      assert.match((await dialogText(page)).message, /^gone\.calvastrascheme: The file (is no longer there|can no longer be read)/);
      await pressDialogButton(page, 'OK');
      assert.equal(await title(page), 'other – Tintwright');
      await page.click('#file-menu-button');
      await page.waitForSelector('.menu');
      assert.deepEqual(await page.$$eval('.menu [role="menuitem"]', (items) => items.map((i) => i.textContent)), [
        'Open file...',
        'Save file...',
        'Save as new file...',
        'other.calvastrascheme',
      ]);
      assert.deepEqual(await page.errors(), []);
      await page.close();
    });
  });
}

/** Waits for the newest finished download whose name starts so to hold the pattern (a browser may number a second download of a name, or replace the first). */
async function downloaded(folder, start, pattern) {
  const deadline = Date.now() + 15000;
  let newest = null;
  while (Date.now() < deadline) {
    const partial = readdirSync(folder).some((f) => f.endsWith('.part') || f.endsWith('.wkdownload'));
    const files = readdirSync(folder).filter((f) => f.startsWith(start) && !f.endsWith('.part') && !f.endsWith('.wkdownload'));
    if (files.length > 0 && !partial) {
      newest = files.map((f) => join(folder, f)).sort((a, b) => statSync(b).mtimeMs - statSync(a).mtimeMs)[0];
      if (existsSync(newest) && pattern.test(readFileSync(newest, 'utf8'))) return;
    }
    await new Promise((done) => setTimeout(done, 100));
  }
  throw new Error(`no download ${start}... holding ${pattern} within 15 s (newest: ${newest})`);
}
