// Seeded random slider settings, forced hues and Invert give in the module
// the bits the Linux build gives (tintwright-cli tweak --dry-run prints each
// member's stored colour and preview): for a group's previews read as they
// are brought up to date one by one, after the batch of the whole group, and
// from the plain functions.
import assert from 'node:assert/strict';
import { writeFileSync } from 'node:fs';
import { join } from 'node:path';
import { test } from 'node:test';
import { cli, hex, loadModel, schemeText, scratchFolder, seededRandom } from './support.mjs';

const numColours = 67; // not a whole number of the batch's sets of four

test('tweaks, forced hues and inverts give the bits of the Linux build', async (t) => {
  const random = seededRandom(t, 31);
  const model = await loadModel();
  const ranges = model.sliderRanges();

  // Colours of every kind: random, greys, black, white, pure hues, low alpha.
  const edges = [0xff000000, 0xffffffff, 0xff808080, 0xff7f7f7f, 0xffff0000, 0xff00ff00, 0x0000ff, 0x80102030, 0];
  const colours = Array.from({ length: numColours }, (_, i) => ({
    name: `Colour ${i}`,
    argb: i < edges.length ? edges[i] : Math.floor(random() * 2 ** 32),
  }));
  const text = schemeText(colours, [{ name: 'All', members: colours.map((c) => c.name) }]);
  const file = join(scratchFolder(t), 'colours.calvastrascheme');
  writeFileSync(file, text);
  const scheme = model.openScheme(Buffer.from(text));
  t.after(() => scheme.delete());

  // A decimal as a slider's box would take it: the same double in JavaScript and in JUCE.
  const valueIn = (range) => {
    const value = range.minimum + random() * (range.maximum - range.minimum);
    return Number(range.step > 0 ? Math.round(value) : value.toFixed(6));
  };

  const expectLinuxBits = (args, label) => {
    const run = cli('tweak', file, '-g', 'All', '--dry-run', ...args);
    assert.equal(run.status, 0, run.stderr);
    const lines = run.stdout.trim().split('\n');
    assert.equal(lines.length, numColours);
    const stored = Array.from(scheme.storedColours(0, 0, numColours), hex);
    assert.deepEqual(
      lines.map((line) => line.split(' ')[0]),
      stored,
      `${label}: stored colours`,
    );
    return lines.map((line) => line.split(' ')[1]);
  };

  for (let setting = 0; setting < 40; ++setting) {
    const sliders = {};
    for (const name of ['red', 'green', 'blue', 'hue', 'saturation', 'brightness', 'contrast', 'contrastCentre'])
      if (random() < 0.5) sliders[name] = valueIn(ranges[name]);
    const options = { contrastCentre: 'contrast-centre' };
    const args = Object.entries(sliders).flatMap(([name, value]) => [`--${options[name] ?? name}`, `${value}`]);
    if (args.length === 0) continue;
    const label = args.join(' ');
    const expected = expectLinuxBits(args, label);

    scheme.resetTweak(0);
    for (const name of ['red', 'green', 'blue', 'hue', 'saturation', 'brightness']) if (name in sliders) scheme.setSlider(0, name, sliders[name]);
    if ('contrast' in sliders || 'contrastCentre' in sliders)
      scheme.setContrast(0, sliders.contrastCentre ?? ranges.contrastCentre.neutral, sliders.contrast ?? ranges.contrast.neutral);

    assert.deepEqual(Array.from(scheme.previewColours(0, 0, numColours), hex), expected, `${label}: members one by one`);
    while (scheme.continueTweak(0, 16));
    assert.deepEqual(Array.from(scheme.previewColours(0, 0, numColours), hex), expected, `${label}: the batch`);
    assert.deepEqual(
      colours.map((c) => hex(model.tweakColour(c.argb, sliders))),
      expected,
      `${label}: tweakColour`,
    );
  }

  for (let i = 0; i < 8; ++i) {
    const hue = i === 0 ? 1 : valueIn(ranges.forcedHue);
    const expected = expectLinuxBits(['--force-hue', `${hue}`], `forced hue ${hue}`);
    scheme.forceHue(0, hue);
    assert.deepEqual(Array.from(scheme.previewColours(0, 0, numColours), hex), expected, `forced hue ${hue}`);
    assert.deepEqual(
      colours.map((c) => hex(model.withForcedHue(c.argb, hue))),
      expected,
      `withForcedHue ${hue}`,
    );
  }

  const inverted = expectLinuxBits(['--invert'], 'invert');
  scheme.invertColours(0);
  assert.deepEqual(Array.from(scheme.previewColours(0, 0, numColours), hex), inverted, 'invert');
  assert.deepEqual(
    colours.map((c) => hex(model.invertedColour(c.argb))),
    inverted,
    'invertedColour',
  );
});

test("slider values the window's sliders cannot hold are refused, and the tweak stays as it was", async () => {
  const model = await loadModel();
  const scheme = model.openScheme(Buffer.from(schemeText([{ name: 'a', argb: 0xff336699 }], [{ name: 'g', members: ['a'] }])));
  scheme.setSlider(0, 'hue', 0.25);
  for (const [slider, value] of [
    ['red', 256],
    ['red', 1.5],
    ['hue', NaN],
    ['saturation', -0.1],
    ['alpha', 1],
  ])
    assert.throws(() => scheme.setSlider(0, slider, value), RangeError, `${slider} ${value}`);
  assert.throws(() => scheme.setContrast(0, 0.5, 2), RangeError);
  assert.throws(() => scheme.forceHue(0, 1.5), RangeError);
  assert.throws(() => model.tweakColour(0xff336699, { brightness: 3 }), RangeError);
  assert.deepEqual(Array.from(scheme.previewColours(0, 0, 1)), [model.tweakColour(0xff336699, { hue: 0.25 })]);
  scheme.delete();
});
