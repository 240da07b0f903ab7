// What a person does on the page, step by step, for the browser tests: the
// same steps in every engine (Page of page.mjs).

import { chooseMenuItem, clickText, finishedDownload, opensWithHandles, readPrivateFile } from './harness.mjs';

export function waitFor(page, predicate, ...args) {
  return page.waitFor(predicate, ...args);
}

export const title = (page) => page.$eval('#title', (e) => e.textContent);

/** The colour of a scheme row and of a group row's swatches, as their labels tell a screen reader. */
export async function schemeRowColour(page, row) {
  return page.$eval(`#scheme-colour-${row}`, (e) => e.getAttribute('aria-label').split(', ').pop());
}

export async function groupRows(page) {
  return page.$$eval('#group-list .row:not([hidden])', (rows) =>
    rows.map((row) => {
      const [name, stored, preview] = row.getAttribute('aria-label').split(', ');
      return { name, stored: stored.replace('stored ', ''), preview: preview.replace('preview ', '') };
    }),
  );
}

export function centreOf(page, selector) {
  return page.centreOf(selector);
}

/** Groups... > Add, with the name typed into the "Name group" window. */
export async function addGroup(page, name) {
  await chooseMenuItem(page, '#groups-button', 'Add');
  await page.waitForSelector('dialog[open] input');
  await page.keyboard.type(name);
  await page.keyboard.press('Enter');
  await waitFor(page, () => document.querySelector('dialog') === null);
}

/** Clicks the first row, Ctrl-clicks the others, then drags them onto the group's list. */
export async function dragColoursToGroup(page, rows) {
  const [first, ...more] = rows;
  await page.click(`#scheme-colour-${first}`);
  for (const row of more) {
    await page.keyboard.down('Control');
    await page.click(`#scheme-colour-${row}`);
    await page.keyboard.up('Control');
  }
  const from = await centreOf(page, `#scheme-colour-${rows.at(-1)}`);
  const to = await centreOf(page, '#group-list');
  await page.mouse.move(from.x, from.y);
  await page.mouse.down();
  await page.mouse.move(from.x + 20, from.y, { steps: 4 });
  await page.mouse.move(to.x, to.y, { steps: 8 });
  await page.mouse.up();
}

/** A slider's value, as it tells a screen reader. */
export function sliderValue(page, slider) {
  return page.$eval(`#slider-${slider}`, (e) => Number(e.getAttribute('aria-valuenow')));
}

/** Moves a slider with the keyboard: Page Up jumps ten steps, the arrows one; gives the value it shows. */
export async function moveSliderUp(page, slider, pages, steps) {
  await page.focus(`#slider-${slider}`);
  for (let i = 0; i < pages; ++i) await page.keyboard.press('PageUp');
  for (let i = 0; i < steps; ++i) await page.keyboard.press('ArrowUp');
  return sliderValue(page, slider);
}

export async function dialogText(page) {
  await page.waitForSelector('dialog[open]');
  return page.$eval('dialog[open]', (e) => ({ title: e.querySelector('h2').textContent, message: e.querySelector('p').textContent }));
}

export function pressDialogButton(page, label) {
  return clickText(page, 'dialog[open] button', label);
}

/** Saves with File > Save file... and gives the bytes written: the handle's file, or the download. */
export async function saveAndRead(page, fileName, downloads) {
  const before = opensWithHandles(page) ? await readPrivateFile(page, fileName) : null;
  await chooseMenuItem(page, '#file-menu-button', 'Save file...');
  const deadline = Date.now() + 15000;
  while (Date.now() < deadline) {
    if (opensWithHandles(page)) {
      // Read while the page writes, the file may not be readable for a moment.
      const now = await readPrivateFile(page, fileName).catch(() => before);
      if (!now.equals(before)) return now;
    } else {
      const downloaded = finishedDownload(downloads, fileName);
      if (downloaded !== null) return downloaded;
    }
    await new Promise((done) => setTimeout(done, 100));
  }
  throw new Error(`nothing was saved as ${fileName} within 15 s`);
}

/** Drops a file onto the page, as from a file manager. */
export async function dropFile(page, name, bytes) {
  await page.evaluate(
    (name, data) => {
      const transfer = new DataTransfer();
      transfer.items.add(new File([new Uint8Array(data)], name));
      document.body.dispatchEvent(new DragEvent('drop', { dataTransfer: transfer, bubbles: true, cancelable: true }));
    },
    name,
    Array.from(bytes),
  );
}
