// The page's speed in headless Chromium, against the model's own work in the
// same browser and run: opening 100k colours (to the frame that shows them),
// a slider step on a 1,000,000-member group (to the rows in view), and Apply
// on that group. Writes the rows of scripts/bench.sh's table as JSON.
//
//   node page-bench.mjs OUT.json      (TINTWRIGHT_SITE: the built site)

import { writeFileSync } from 'node:fs';
import { launch, openPage, serveSite } from '../tests/browser/harness.mjs';
import { largeSchemeText } from '../tests/large-scheme.mjs';

const out = process.argv[2] ?? 'page-bench.json';
const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];
const rows = [];
const row = (label, page, model, goal, limit) =>
  rows.push([
    label,
    `${page.toFixed(2)} / ${model.toFixed(2)} ms`,
    `${(page / model).toFixed(2)}x`,
    goal,
    limit === null ? '-' : page <= limit ? 'ok' : 'MISSED',
  ]);

const browser = await launch('chromium');
const server = await serveSite();
try {
  // The page as a person has it, and in the same tab a module of its own
  // that works alone, for the baseline.
  const page = await openPage(browser, server.url);
  await page.setViewport(800, 600);
  const alone = page;
  await page.evaluate(`window.largeSchemeText = ${largeSchemeText.toString()}`);
  await page.evaluate(async () => {
    window.model = await createTintwrightModel();
  });

  const openOnPage = (count) =>
    page.evaluate(async (count) => {
      const file = new File([largeSchemeText(count)], `large-${count}.calvastrascheme`);
      const title = document.getElementById('title');
      const shown = new Promise((resolve) =>
        new MutationObserver((_, o) => o.disconnect() ?? resolve()).observe(title, { childList: true, subtree: true, characterData: true }),
      );
      const transfer = new DataTransfer();
      transfer.items.add(file);
      const start = performance.now();
      document.body.dispatchEvent(new DragEvent('drop', { dataTransfer: transfer, bubbles: true, cancelable: true }));
      await shown;
      await new Promise((frame) => requestAnimationFrame(frame));
      return performance.now() - start;
    }, count);
  const openAlone = (count) =>
    alone.evaluate((count) => {
      window.scheme?.delete();
      const bytes = new TextEncoder().encode(largeSchemeText(count));
      const start = performance.now();
      window.scheme = window.model.openScheme(bytes);
      return performance.now() - start;
    }, count);

  const pageOpens = [];
  const aloneOpens = [];
  // Taking turns at going first, so that a warmer second run favours neither.
  for (let i = 0; i < 6; ++i) {
    if (i % 2 === 0) aloneOpens.push(await openAlone(100_000));
    pageOpens.push(await openOnPage(100_000));
    if (i % 2 === 1) aloneOpens.push(await openAlone(100_000));
  }
  row("Page: open 100k colours, to the frame showing them, vs the module's openScheme", median(pageOpens), median(aloneOpens), '<= 2x', 2 * median(aloneOpens));

  // A million members: the page shows the group "All" on opening.
  const members = 1_000_000;
  await openAlone(members);
  await openOnPage(members);
  const drawn = await page.$$eval('#group-list .row:not([hidden])', (r) => r.length);

  const pageSteps = [];
  const aloneSteps = [];
  for (let i = 1; i <= 21; ++i) {
    const red = (i * 37) % 255;
    aloneSteps.push(
      await alone.evaluate(
        (red, drawn) => {
          const start = performance.now();
          window.scheme.setSlider(0, 'red', red);
          window.scheme.previewColours(0, 0, drawn);
          return performance.now() - start;
        },
        red,
        drawn,
      ),
    );
    const step = await page.evaluate(async (red) => {
      const slider = document.getElementById('slider-red');
      slider.value = String(red);
      const start = performance.now();
      slider.dispatchEvent(new Event('input', { bubbles: true }));
      const took = performance.now() - start;
      const label = document.querySelector('#group-list .row').getAttribute('aria-label');
      await new Promise((frame) => requestAnimationFrame(() => requestAnimationFrame(frame)));
      return { took, label };
    }, red);
    // The first row in view shows the step's preview at once.
    const [stored, preview] = step.label
      .split(', ')
      .slice(1)
      .map((t) => parseInt(t.split(' ')[1], 16));
    const expected = await alone.evaluate((stored, red) => window.model.tweakColour(stored, { red }), stored, red);
    if (preview !== expected) throw new Error(`row 0 shows ${preview.toString(16)} after red ${red}, not ${expected.toString(16)}`);
    pageSteps.push(step.took);
  }
  row(`Page: slider step, 1M-member group, to the ${drawn} rows drawn, vs setSlider + previewColours`, median(pageSteps), median(aloneSteps), '<= 16 ms', 16);

  const pageApplies = [];
  const aloneApplies = [];
  for (let i = 1; i <= 3; ++i) {
    aloneApplies.push(
      await alone.evaluate((red) => {
        window.scheme.setSlider(0, 'red', red);
        const start = performance.now();
        window.scheme.applyTweak(0);
        return performance.now() - start;
      }, i),
    );
    pageApplies.push(
      await page.evaluate((red) => {
        const slider = document.getElementById('slider-red');
        slider.value = String(red);
        slider.dispatchEvent(new Event('input', { bubbles: true }));
        const start = performance.now();
        document.querySelector('.tweak-panel .apply').click();
        return performance.now() - start;
      }, i),
    );
  }
  row(
    "Page: Apply right after a step, 1M members, vs the module's applyTweak",
    median(pageApplies),
    median(aloneApplies),
    '<= 1.2x',
    1.2 * median(aloneApplies),
  );
  if (page.errors.length > 0) throw new Error(`page errors: ${page.errors.join('; ')}`);
} finally {
  await browser.close();
  await server.close();
}

writeFileSync(out, JSON.stringify({ rows }, null, 1));
for (const r of rows) console.log(r.join('  '));
