// A person's paths through the page, in Debian's Chromium, Firefox ESR and
// WebKitGTK, with the same assertions in each. Chromium opens and saves
// through file handles (of the origin-private file system, handed to the
// page's own open and save code in place of the system's pickers) on a static
// host; Firefox and WebKit open through the file input and save by download,
// from file://. The hue strip runs from file:// in all three, on a dropped file.

import { describe, test } from 'node:test';
import assert from 'node:assert/strict';
import { readFileSync, writeFileSync } from 'node:fs';
import { join } from 'node:path';
import { largeSchemeText } from '../large-scheme.mjs';
import {
  chooseMenuItem,
  engineSession,
  engines,
  giveFileToOpen,
  hex,
  openPage,
  openThroughMenu,
  pageModel,
  repoDir,
  sampleBytes,
  samplePath,
  shotsDir,
  siteDir,
} from './harness.mjs';
import {
  addGroup,
  dialogText,
  dragColoursToGroup,
  dropFile,
  groupRows,
  moveSliderUp,
  pressDialogButton,
  saveAndRead,
  schemeRowColour,
  title,
  waitFor,
} from './page-driver.mjs';

const expectedSave = readFileSync(join(repoDir, 'tests', 'e2e', 'data', 'sample-saved.calvastrascheme'));

/** Where the save cycle's picture goes: build-web/screenshots, or docs/ for scripts/web.sh screenshot (Chromium's and WebKit's). */
const shotPath = (engine) => {
  const docs = process.env.TINTWRIGHT_WEB_SHOTS;
  if (docs !== undefined && engine !== 'firefox') return join(docs, engine === 'chromium' ? 'web.png' : `web-${engine}.png`);
  return join(shotsDir, `web-${engine}.png`);
};

for (const browserName of engines) {
  describe(browserName, () => {
    const session = engineSession(browserName, 'downloads', { scratch: true });
    const fileUrl = `file://${siteDir}/index.html`;
    // Chromium's handles need an origin of their own (the private file system is not there for file://).
    const fileAccessUrl = () => (browserName === 'chromium' ? session.server.url : fileUrl);

    test('open the sample, add a group, give it two colours, move Red, Apply, Save: the bytes the window saves', async () => {
      const page = await openPage(session.browser, fileAccessUrl());
      await page.setViewport(600, 450);
      await openThroughMenu(page, samplePath);
      await waitFor(page, () => document.title.startsWith('sample'));
      // Text (row 3) and Selection (row 8) go into "Highlights"; Red +170 clamps at ff.
      assert.deepEqual([await schemeRowColour(page, 3), await schemeRowColour(page, 8)], ['ffe6e8eb', 'ff3d7bd9']);

      await addGroup(page, 'Highlights');
      assert.equal(await page.$eval('#group-selector option:checked', (e) => e.textContent), 'Highlights');
      assert.deepEqual(await groupRows(page), []);

      await dragColoursToGroup(page, [3, 8]);
      await waitFor(page, () => document.querySelectorAll('#group-list .row:not([hidden])').length === 2);
      assert.deepEqual(await groupRows(page), [
        { name: 'Text', stored: 'ffe6e8eb', preview: 'ffe6e8eb' },
        { name: 'Selection', stored: 'ff3d7bd9', preview: 'ff3d7bd9' },
      ]);

      assert.equal(await moveSliderUp(page, 'red', 17, 0), 170);
      assert.deepEqual(
        (await groupRows(page)).map((r) => r.preview),
        ['ffffe8eb', 'ffe77bd9'],
      );
      await page.evaluate(() => document.activeElement.blur());
      await page.screenshot(shotPath(browserName));

      await page.click('.tweak-panel .apply');
      assert.deepEqual(
        (await groupRows(page)).map((r) => r.stored),
        ['ffffe8eb', 'ffe77bd9'],
      );
      assert.deepEqual([await schemeRowColour(page, 3), await schemeRowColour(page, 8)], ['ffffe8eb', 'ffe77bd9']);
      assert.equal(await page.$eval('#slider-red', (e) => e.getAttribute('aria-valuenow')), '0');

      const saved = await saveAndRead(page, 'sample.calvastrascheme', session.downloads);
      assert.ok(saved.equals(expectedSave), `the saved file differs from the window's:\n${saved}`);
      assert.deepEqual(await page.errors(), []);
      await page.close();
    });

    test('Open asks before changes are replaced; a refused file keeps the scheme on screen', async () => {
      const page = await openPage(session.browser, fileAccessUrl());
      await openThroughMenu(page, samplePath);
      await waitFor(page, () => document.title.startsWith('sample'));
      await addGroup(page, 'Kept');

      // Cancel: nothing is opened, the scheme and its new group stay.
      await chooseMenuItem(page, '#file-menu-button', 'Open file...');
      assert.deepEqual(await dialogText(page), { title: 'Closing document...', message: 'Do you want to save the changes to "sample"?' });
      await pressDialogButton(page, 'Cancel');
      assert.equal(await page.$eval('#group-selector option:checked', (e) => e.textContent), 'Kept');

      // Discard changes, then a file cut off in the middle: the model's refusal is shown, the scheme stays.
      const broken = sampleBytes.subarray(0, 400);
      const refusal = (() => {
        try {
          pageModel.openScheme(new Uint8Array(broken));
        } catch (error) {
          return error.message;
        }
        assert.fail('the model opened a broken file');
      })();
      const brokenPath = join(session.scratch, 'broken.calvastrascheme');
      writeFileSync(brokenPath, broken);
      await chooseMenuItem(page, '#file-menu-button', 'Open file...');
      await dialogText(page);
      await giveFileToOpen(page, brokenPath, () => pressDialogButton(page, 'Discard changes'));
      await waitFor(page, () => document.querySelector('dialog[open] h2')?.textContent === 'The file was not opened');
      assert.equal((await dialogText(page)).message, `broken.calvastrascheme: ${refusal}`);
      await pressDialogButton(page, 'OK');
      assert.equal(await title(page), 'sample – Tintwright');
      assert.equal(await page.$eval('#group-selector option:checked', (e) => e.textContent), 'Kept');
      assert.equal(await schemeRowColour(page, 3), 'ffe6e8eb');

      // The recent file reopens after Save is chosen in the question; the saved file holds the group.
      await chooseMenuItem(page, '#file-menu-button', 'sample.calvastrascheme');
      await dialogText(page);
      await pressDialogButton(page, 'Save');
      await waitFor(page, () => document.querySelector('#group-selector option:checked')?.textContent === 'Meters');
      assert.deepEqual(await page.errors(), []);
      await page.close();
    });

    test('with the keyboard alone: open, select colours, add them to the group, move Red, Apply; leaving asks', async () => {
      const page = await openPage(session.browser, fileAccessUrl());
      const focused = () =>
        page.evaluate(() => {
          const e = document.activeElement;
          const labelledBy = document.getElementById(e.getAttribute('aria-labelledby'));
          return e.getAttribute('aria-label') ?? labelledBy?.textContent ?? e.labels?.[0]?.textContent ?? e.textContent;
        });
      await page.keyboard.press('Tab');
      assert.equal(await focused(), 'File');
      await page.keyboard.press('Enter');
      assert.equal(await focused(), 'Open file...');
      await giveFileToOpen(page, samplePath, () => page.keyboard.press('Enter'));
      await waitFor(page, () => document.title.startsWith('sample'));

      // Rows 3 and 4 (Text, Text Dimmed) join the first group, Meters, through the add button.
      await page.keyboard.press('Tab');
      assert.equal(await focused(), 'Scheme Colours');
      for (let i = 0; i < 4; ++i) await page.keyboard.press('ArrowDown');
      await page.keyboard.down('Shift');
      await page.keyboard.press('ArrowDown');
      await page.keyboard.up('Shift');
      const order = [];
      for (let i = 0; i < 14; ++i) {
        await page.keyboard.press('Tab');
        order.push(await focused());
        if (i === 0) await page.keyboard.press('Enter');
      }
      assert.deepEqual(order, [
        'Add the selected colours to the group',
        'Group',
        'Groups...',
        'Colours to tweak',
        'Red',
        'Green',
        'Blue',
        'Hue',
        'Saturation',
        'Brightness',
        'Contrast',
        'Centre',
        'Reset',
        'Apply',
      ]);
      const members = await groupRows(page);
      assert.deepEqual(members.map((r) => r.name).slice(-2), ['Text', 'Text Dimmed']);

      await page.focus('#slider-red');
      for (let i = 0; i < 3; ++i) await page.keyboard.press('ArrowUp');
      await page.focus('.tweak-panel .apply');
      await page.keyboard.press('Enter');
      const applied = members.map((r) => hex(pageModel.tweakColour(parseInt(r.stored, 16), { red: 3 })));
      assert.deepEqual(
        (await groupRows(page)).map((r) => r.stored),
        applied,
      );
      assert.deepEqual([await schemeRowColour(page, 3), await schemeRowColour(page, 4)], applied.slice(-2));
      assert.deepEqual(await page.errors(), []);

      // Unsaved changes: closing the tab brings up the browser's leave-page question
      // (WebKit under WebDriver leaves without asking: there the page's own answer is read).
      assert.equal(await page.closeAsking(), true);
    });

    test('a million colours: End and Home in the lists reach the last and the first row', async () => {
      const page = await openPage(session.browser, fileUrl);
      await page.evaluate(`window.largeSchemeText = ${largeSchemeText.toString()}`);
      await page.evaluate(() => {
        const transfer = new DataTransfer();
        transfer.items.add(new File([largeSchemeText(1_000_000)], 'million.calvastrascheme'));
        document.body.dispatchEvent(new DragEvent('drop', { dataTransfer: transfer, bubbles: true, cancelable: true }));
      });
      await waitFor(page, () => document.title.startsWith('million'));
      // The row is drawn inside the list's box (Firefox lays out no list 22 million pixels high).
      const rowInView = (list, row) =>
        waitFor(
          page,
          (list, row) => {
            const box = document.querySelector(list).getBoundingClientRect();
            const shown = document.querySelector(`${list} .row[aria-posinset="${row + 1}"]:not([hidden])`)?.getBoundingClientRect();
            return shown !== undefined && shown.top >= box.top - 0.5 && shown.bottom <= box.bottom + 0.5;
          },
          list,
          row,
        );
      for (const list of ['#scheme-list', '#group-list']) {
        await page.focus(list);
        await page.keyboard.press('End');
        await rowInView(list, 999_999);
        await page.keyboard.press('Home');
        await rowInView(list, 0);
      }
      assert.equal(await schemeRowColour(page, 0), hex(parseInt(largeSchemeText(1).match(/colour="(\w+)"/)[1], 16)));
      assert.deepEqual(await page.errors(), []);
      await page.close();
    });

    test('from file://, a dropped scheme opens, the hue strip forces a hue on the group, a stored colour is picked', async () => {
      const page = await openPage(session.browser, fileUrl);
      await dropFile(page, 'sample.calvastrascheme', sampleBytes);
      await waitFor(page, () => document.title.startsWith('sample'));
      const before = await groupRows(page);
      assert.equal(before.length, 4, 'the first group, Meters, has four colours');

      await page.click('.tweak-panel .force-hue');
      await page.waitForSelector('.hue-strip');
      const strip = await page.boxOf('.hue-strip');
      // The strip runs over 184 rows, 8 pixels in: row 92 is hue 0.5.
      await page.mouse.move(strip.x + 25, strip.y + 8 + 92);
      await page.mouse.down();
      await page.mouse.up();
      await waitFor(page, () => document.querySelector('.hue-popup') === null);

      const after = await groupRows(page);
      assert.deepEqual(
        after.map((r) => r.preview),
        before.map((r) => hex(pageModel.withForcedHue(parseInt(r.stored, 16), 0.5))),
      );
      assert.deepEqual(
        after.map((r) => r.stored),
        before.map((r) => r.stored),
      );

      // A colour picked for a stored swatch goes into the scheme at once, its alpha kept:
      // Loop Region (row 15, 403d7bd9) joins the group and gets #123456 from the colour input.
      await dragColoursToGroup(page, [15]);
      await waitFor(page, () => document.querySelectorAll('#group-list .row:not([hidden])').length === 5);
      await page.$eval('#group-member-4 input[type="color"]', (input) => {
        input.value = '#123456';
        input.dispatchEvent(new Event('change', { bubbles: true }));
      });
      assert.equal((await groupRows(page))[4].stored, '40123456');
      assert.equal(await schemeRowColour(page, 15), '40123456');
      assert.deepEqual(await page.errors(), []);
      await page.close();
    });

    test("names as they are: a 3 MB name drawn cut short, a file's lone surrogate kept through Rename, a typed one refused with the reason", async () => {
      const page = await openPage(session.browser, fileUrl);
      await page.setViewport(600, 450);
      // Made in the page: three million characters are slow to hand over.
      await page.evaluate(() => {
        const long = 'Long'.padEnd(3e6, 'n');
        const text =
          `<?xml version="1.0" encoding="UTF-8"?>\n<COLOURS>\n  <COLOUR name="${long}" colour="ff112233"/>\n` +
          '  <COLOURGROUPS>\n    <COLOURGROUP name="Lone &#xD800; mark">\n' +
          `      <COLOUR name="${long}"/>\n    </COLOURGROUP>\n  </COLOURGROUPS>\n</COLOURS>\n`;
        const transfer = new DataTransfer();
        transfer.items.add(new File([text], 'hostile.calvastrascheme'));
        document.body.dispatchEvent(new DragEvent('drop', { dataTransfer: transfer, bubbles: true, cancelable: true }));
      });
      await waitFor(page, () => document.title.startsWith('hostile'));
      const drawn = (selector) => page.$eval(selector, (e) => [e.textContent.length, e.textContent.slice(0, 6)]);
      assert.deepEqual(await drawn('#scheme-colour-0 .name'), [256, 'Longnn']);
      await waitFor(page, () => document.querySelector('#group-member-0') !== null);
      assert.deepEqual(await drawn('#group-member-0 .name'), [256, 'Longnn']);
      // Text crosses as UTF-16 code units both ways: WebDriver's JSON need not keep a lone surrogate.
      const units = (text) => Array.from({ length: text.length }, (_, i) => text.charCodeAt(i));
      const unitsOf = (selector, property) =>
        page.$eval(selector, (e, property) => Array.from({ length: e[property].length }, (_, i) => e[property].charCodeAt(i)), property);
      const selected = () => unitsOf('#group-selector option:checked', 'textContent');
      assert.deepEqual(await selected(), units('Lone \uD800 mark'));

      // Rename offers the name exactly as the file has it; given back, it stays.
      await chooseMenuItem(page, '#groups-button', 'Rename');
      await page.waitForSelector('dialog[open] input');
      assert.deepEqual(await unitsOf('dialog[open] input', 'value'), units('Lone \uD800 mark'));
      await pressDialogButton(page, 'Okay!');
      await waitFor(page, () => document.querySelector('dialog') === null);
      assert.deepEqual(await selected(), units('Lone \uD800 mark'));

      // A lone surrogate typed in: asked again, saying why; then a name that is text.
      // No engine's driver types a lone surrogate as a key: the field is given it as a paste would.
      await chooseMenuItem(page, '#groups-button', 'Rename');
      await page.waitForSelector('dialog[open] input');
      const type = (value) =>
        page.$eval(
          'dialog[open] input',
          (e, value) => {
            e.value = String.fromCharCode(...value);
            e.dispatchEvent(new Event('input', { bubbles: true }));
          },
          units(value),
        );
      await type('a\uDC00b');
      await pressDialogButton(page, 'Okay!');
      await waitFor(page, () => document.querySelector('dialog[open] p')?.textContent.startsWith('This name cannot be used'));
      assert.match((await dialogText(page)).message, /lone surrogate \(U\+DC00\)/);
      await type('Fine \u{1F3A8}');
      await pressDialogButton(page, 'Okay!');
      await waitFor(page, () => document.querySelector('dialog') === null);
      assert.deepEqual(await selected(), units('Fine \u{1F3A8}'));
      assert.deepEqual(await page.errors(), []);
      await page.close();
    });
  });
}
