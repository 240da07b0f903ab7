// The tweak panel's sliders on the model's own slider table, the file names
// the page shows for what it saves, and what it says of a file that is gone.

import { test } from 'node:test';
import assert from 'node:assert/strict';
import { SchemeEditor, type CatchUp } from '../src/editor';
import { FileGone, readFailure, readSchemeFile, savedName } from '../src/files';
import { RecentFiles } from '../src/recent-files';
import { keyStep, proportionOf, valueAt, valueForKey, valueText } from '../src/slider-values';
import { loadModel, sampleBytes } from './support';

const model = await loadModel();
const ranges = model.sliderRanges();

test('every slider of the model: a press along the track, the keys of a slider, and what a screen reader hears', () => {
  const keys = (name: keyof typeof ranges, from: number, ...pressed: string[]) => pressed.map((key) => valueForKey(ranges[name], from, key));

  // A quarter of the way down a vertical track (the maximum at the top) is three quarters up the range.
  assert.equal(valueAt(ranges.hue, 0.75), 0.25);
  assert.equal(valueAt(ranges.red, 0.75), 128, 'Red snaps to its whole steps');
  assert.deepEqual([valueAt(ranges.saturation, -0.2), valueAt(ranges.saturation, 1.3)], [0, 2], 'a drag past the ends holds at the ends');
  assert.equal(proportionOf(ranges.hue, ranges.hue.neutral), 0.5);

  // Arrows one step (a continuous slider: a hundredth of its range), Page Up/Down ten, Home/End the ends.
  assert.deepEqual(keys('red', 0, 'ArrowUp', 'ArrowRight', 'ArrowDown', 'PageUp', 'PageDown', 'Home', 'End', 'a'), [1, 1, -1, 10, -10, -255, 255, null]);
  assert.deepEqual(keys('hue', 0, 'ArrowUp', 'PageDown', 'End'), [0.01, -0.1, 0.5]);
  assert.deepEqual(keys('saturation', 1, 'ArrowUp', 'ArrowLeft'), [1.02, 0.98]);
  assert.deepEqual(keys('hue', 0.5, 'ArrowUp', 'PageUp'), [0.5, 0.5], 'the keys stop at the end');
  let hue = 0;
  for (let i = 0; i < 30; ++i) hue = valueForKey(ranges.hue, hue, 'ArrowUp')!;
  assert.equal(hue, 0.3, 'thirty steps land on 0.3 exactly, as the model accepts it');
  for (const name of ['hue', 'saturation', 'brightness', 'contrast', 'contrastCentre'] as const)
    assert.ok(keyStep(ranges[name]) > 0 && keyStep(ranges[name]) <= 0.02, name);

  assert.deepEqual(
    [valueText(ranges.red, 170), valueText(ranges.red, -3), valueText(ranges.hue, 0), valueText(ranges.hue, -0.25), valueText(ranges.contrast, 0.5)],
    ['plus 170', 'minus 3', '0.00', 'minus 0.25', '0.50'],
  );
});

test("the panel's moves reach the model: a single slider, and the contrast pair together", () => {
  const idle: CatchUp = { start() {}, stop() {} };
  const editor = new SchemeEditor(model, idle);
  editor.open(sampleBytes(), { name: 'sample.calvastrascheme' });
  const scheme = editor.scheme!;
  const stored = scheme.storedColours(editor.group, 0, scheme.numMembers(editor.group));
  assert.equal(editor.moveSlider({ slider: 'hue', value: valueAt(ranges.hue, 0.75) }), true);
  assert.equal(editor.moveSlider({ centre: 0.3, amount: valueForKey(ranges.contrast, 0, 'PageUp')! }), true);
  const previews = scheme.previewColours(editor.group, 0, stored.length);
  assert.deepEqual(
    Array.from(previews),
    Array.from(stored, (argb) => model.tweakColour(argb, { hue: 0.25, contrastCentre: 0.3, contrast: 0.1 })),
  );
  scheme.delete();
});

test('names and files: what a download is called, a file that is gone, and the recent list dropping it', async () => {
  assert.deepEqual(
    [savedName('my/theme:v2.calvastrascheme'), savedName('a*b?"c"<d>|e\\f'), savedName('Dark Blue.xml'), savedName('a\tb\u0000\u007f\u{1F3A8}\uD800.xml')],
    ['my_theme_v2.calvastrascheme', 'a_b__c__d__e_f.calvastrascheme', 'Dark Blue.calvastrascheme', 'a_b__\u{1F3A8}\uD800.calvastrascheme'],
  );

  // What the browsers throw when a file read before is gone: said plainly; other failures keep their words.
  const gone = readFailure(new DOMException('The operation was aborted.', 'AbortError'));
  assert.ok(gone instanceof FileGone);
  assert.match(gone.message, /can no longer be read: it was changed, moved or deleted/);
  assert.match(readFailure(new DOMException('A requested file or directory could not be found', 'NotFoundError')).message, /no longer there/);
  const other = new Error('disk on fire');
  assert.equal(readFailure(other), other);
  const vanished = {
    name: 'x.calvastrascheme',
    handle: { getFile: () => Promise.reject(new DOMException('gone', 'NotFoundError')) } as unknown as FileSystemFileHandle,
  };
  await assert.rejects(readSchemeFile(vanished), FileGone);

  const recent = new RecentFiles<string>(async (a, b) => a.toLowerCase() === b.toLowerCase());
  for (const name of ['a', 'b', 'c']) await recent.add(name);
  await recent.remove('B');
  assert.deepEqual(recent.list, ['c', 'a']);
});
