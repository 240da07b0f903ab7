// The tweak panel's sliders and the page's pop-ups, taken by the pointer and
// the keyboard as a user takes them, with the same assertions in Chromium,
// Firefox ESR and WebKit: a press on the Hue track sets the value under it,
// one arrow key moves one step, and a click outside an open pop-up (the hue
// strip, the Groups... menu, the File menu) only closes it, as the window's
// modal pop-ups do.

import { after, before, describe, test } from 'node:test';
import assert from 'node:assert/strict';
import { engines, hex, launch, openPage, pageModel, sampleBytes, siteDir } from './harness.mjs';
import { dropFile, groupRows, moveSliderUp, schemeRowColour, sliderValue, waitFor } from './page-driver.mjs';

const ranges = pageModel.sliderRanges();
const previewsOf = (rows, sliders) => rows.map((r) => hex(pageModel.tweakColour(parseInt(r.stored, 16), sliders)));

/**
 * The window's vertical slider runs its track over 84 of its box's 100
 * pixels, 8 in from either end, the maximum at the top.
 */
async function verticalTrack(page, slider) {
  const box = await page.boxOf(`#slider-${slider}`);
  const inset = (box.height * 8) / 100;
  return { x: box.x + box.width / 2, top: box.y + inset, length: box.height - 2 * inset };
}

async function openSample(page) {
  await dropFile(page, 'sample.calvastrascheme', sampleBytes);
  await waitFor(page, () => document.title.startsWith('sample') && document.querySelectorAll('#group-list .row:not([hidden])').length === 4);
  return groupRows(page);
}

const popupOpen = (page) => page.evaluate(() => document.querySelector('.hue-popup, .menu') !== null);

/** Clicks the element where it shows, beside a pop-up that may cover its middle. */
async function clickWhereShown(page, selector) {
  const point = await page.$eval(selector, (e) => {
    e.scrollIntoView({ block: 'nearest' });
    const box = e.getBoundingClientRect();
    const y = box.top + box.height / 2;
    return [box.left + box.width / 2, box.left + 6, box.right - 6].map((x) => ({ x, y })).find(({ x, y }) => e.contains(document.elementFromPoint(x, y)));
  });
  assert.ok(point, `${selector} is covered`);
  await page.mouse.click(point.x, point.y);
}

for (const engine of engines) {
  describe(engine, () => {
    let browser;
    const fileUrl = `file://${siteDir}/index.html`;
    before(async () => {
      browser = await launch(engine);
    });
    after(async () => {
      await browser?.close();
    });

    test("a press a quarter of the way down the Hue track sets about +0.25; the previews are the model's", async () => {
      const page = await openPage(browser, fileUrl);
      const meters = await openSample(page);
      const track = await verticalTrack(page, 'hue');
      await page.mouse.click(track.x, track.top + track.length / 4);
      const hue = await sliderValue(page, 'hue');
      // Within two of the track's pixels.
      assert.ok(Math.abs(hue - 0.25) <= 2 / 84, `the hue is ${hue}, not about +0.25`);
      assert.deepEqual(
        (await groupRows(page)).map((r) => r.preview),
        previewsOf(meters, { hue }),
      );
      assert.deepEqual(await page.errors(), []);
      await page.close();
    });

    test("one Up arrow moves a focused slider one step: a hundredth of a continuous range, one of Red's", async () => {
      const page = await openPage(browser, fileUrl);
      const meters = await openSample(page);
      const hundredth = (key) => (ranges[key].maximum - ranges[key].minimum) / 100;
      assert.equal(ranges.hue.step, 0, 'Hue is continuous');
      assert.equal(ranges.red.step, 1);

      const hue = await moveSliderUp(page, 'hue', 0, 1);
      assert.ok(Math.abs(hue - (ranges.hue.neutral + hundredth('hue'))) < 1e-9, `one step of Hue gave ${hue}`);
      const saturation = await moveSliderUp(page, 'saturation', 0, 1);
      assert.ok(Math.abs(saturation - (ranges.saturation.neutral + hundredth('saturation'))) < 1e-9, `one step of Saturation gave ${saturation}`);
      assert.equal(await moveSliderUp(page, 'red', 0, 1), 1);
      assert.deepEqual(
        (await groupRows(page)).map((r) => r.preview),
        previewsOf(meters, { hue, saturation, red: 1 }),
      );

      // Down again: back at the neutral values, the previews the stored colours.
      await page.keyboard.press('ArrowDown');
      await page.focus('#slider-hue');
      await page.keyboard.press('ArrowDown');
      await page.focus('#slider-saturation');
      await page.keyboard.press('ArrowDown');
      assert.deepEqual(
        [await sliderValue(page, 'red'), await sliderValue(page, 'hue'), await sliderValue(page, 'saturation')].map((v) => Math.round(v * 1e9) / 1e9),
        [ranges.red.neutral, ranges.hue.neutral, ranges.saturation.neutral],
      );
      assert.deepEqual(
        (await groupRows(page)).map((r) => r.preview),
        meters.map((r) => r.stored),
      );
      assert.deepEqual(await page.errors(), []);
      await page.close();
    });

    test('a click outside an open pop-up only closes it: Apply, Reset, Invert and the rows under it are not touched', async () => {
      const page = await openPage(browser, fileUrl);
      const meters = await openSample(page);
      assert.equal(await moveSliderUp(page, 'red', 0, 5), 5);
      const pending = previewsOf(meters, { red: 5 });
      const unchanged = async (what) => {
        assert.equal(await popupOpen(page), false, `${what}: the pop-up is still open`);
        const rows = await groupRows(page);
        assert.deepEqual(
          rows.map((r) => r.stored),
          meters.map((r) => r.stored),
          `${what}: the stored colours changed`,
        );
        assert.deepEqual(
          rows.map((r) => r.preview),
          pending,
          `${what}: the previews changed`,
        );
        assert.equal(await sliderValue(page, 'red'), 5, `${what}: Red moved`);
      };

      // The hue strip, closed by a click on Apply, on Reset, on Invert.
      for (const button of ['apply', 'reset', 'invert']) {
        await page.click('.tweak-panel .force-hue');
        await page.waitForSelector('.hue-strip');
        await clickWhereShown(page, `.tweak-panel .${button}`);
        await unchanged(`the hue strip closed on ${button}`);
      }

      // The File menu, closed by a click on Invert; the Groups... menu by one on Apply.
      await page.click('#file-menu-button');
      await page.waitForSelector('.menu');
      await clickWhereShown(page, '.tweak-panel .invert');
      await unchanged('the File menu closed on Invert');
      await page.click('#groups-button');
      await page.waitForSelector('.menu');
      await clickWhereShown(page, '.tweak-panel .apply');
      await unchanged('the Groups... menu closed on Apply');

      // The Groups... menu, closed by a click on a scheme row: the row is not selected.
      const selected = () => page.$$eval('#scheme-list .row[aria-selected="true"]', (rows) => rows.map((r) => r.id));
      assert.deepEqual(await selected(), []);
      await page.click('#groups-button');
      await page.waitForSelector('.menu');
      await clickWhereShown(page, '#scheme-colour-5');
      assert.equal(await popupOpen(page), false);
      assert.deepEqual(await selected(), []);

      // With nothing open the same clicks act: the row is selected, Apply writes Red's +5.
      await page.click('#scheme-colour-5');
      assert.deepEqual(await selected(), ['scheme-colour-5']);
      await page.click('.tweak-panel .apply');
      assert.deepEqual(
        (await groupRows(page)).map((r) => r.stored),
        pending,
      );
      assert.equal(meters[0].name, 'Meter Low');
      assert.equal(await schemeRowColour(page, 18), pending[0]);
      assert.deepEqual(await page.errors(), []);
      await page.close();
    });
  });
}
