// The page's own logic: the list selection, the keys of a list, the recent
// files, file names, and a large group catching up with a slider in slices.

import { test } from 'node:test';
import assert from 'node:assert/strict';
import { savedName, titleOf } from '../src/files';
import { rowForKey } from '../src/list-keys';
import { RecentFiles, maxRecentFiles } from '../src/recent-files';
import { RowSelection } from '../src/selection';
import { TweakCatchUp } from '../src/tweak-catch-up';
import { largeScheme, loadModel } from './support';

test('clicks select as the window list does: plain, Ctrl toggles, Shift adds a run from the last row clicked', () => {
  const selection = new RowSelection();
  selection.selectOnly(5);
  selection.toggle(9);
  selection.extendTo(12);
  assert.deepEqual(Array.from(selection.rows()), [5, 9, 10, 11, 12]);
  selection.toggle(10);
  selection.extendTo(3);
  assert.deepEqual(Array.from(selection.rows()), [3, 4, 5, 6, 7, 8, 9, 10, 11, 12]);
  selection.limitTo(7);
  assert.deepEqual([Array.from(selection.rows()), selection.anchor], [[3, 4, 5, 6], 3]);
  selection.selectOnly(0);
  selection.extendTo(999_999);
  assert.deepEqual([selection.count(), selection.contains(500_000), selection.contains(1_000_000)], [1_000_000, true, false]);
});

test('list keys stay inside the list', () => {
  assert.deepEqual(
    ['ArrowDown', 'ArrowUp', 'Home', 'End', 'PageDown', 'PageUp', 'a'].map((key) => rowForKey(key, 3, 10, 8)),
    [4, 2, 0, 9, 9, 0, null],
  );
  assert.equal(rowForKey('ArrowDown', -1, 10, 8), 0);
  assert.equal(rowForKey('ArrowDown', -1, 0, 8), null);
});

test('recent files: most recent first, each file once, at most ten; titles and saved names', async () => {
  const recent = new RecentFiles<string>(async (a, b) => a === b);
  for (let i = 0; i < 12; ++i) await recent.add(`f${i}`);
  await recent.add('f5');
  assert.equal(recent.list.length, maxRecentFiles);
  assert.deepEqual(recent.list.slice(0, 3), ['f5', 'f11', 'f10']);
  assert.ok(!recent.list.includes('f1'));
  assert.deepEqual(
    [titleOf('Dark Blue.calvastrascheme'), savedName('theme.xml'), savedName('plain')],
    ['Dark Blue', 'theme.calvastrascheme', 'plain.calvastrascheme'],
  );
});

test('after a slider step, a large group catches up in slices of bounded time, to the tweak of every member', async () => {
  const model = await loadModel();
  const members = 200_000;
  const scheme = model.openScheme(largeScheme(members));
  const tasks: Array<() => void> = [];
  let clock = 0;
  let calls = 0;
  const caughtUp: string[] = [];
  const catchUp = new TweakCatchUp(
    {
      now: () => clock,
      later: (task) => tasks.push(task),
    },
    () => caughtUp.push('done'),
  );
  // Each call to the model "takes" 1 ms per 4096 members, so slices end by the budget.
  const continueTweak = scheme.continueTweak.bind(scheme);
  scheme.continueTweak = (group, max) => {
    calls++;
    clock += max / 4096;
    return continueTweak(group, max);
  };

  scheme.setSlider(0, 'hue', 0.25);
  catchUp.start(scheme, 0);
  let slices = 0;
  while (tasks.length > 0) {
    tasks.shift()!();
    slices++;
  }
  assert.deepEqual(caughtUp, ['done']);
  assert.ok(slices > 5 && calls > slices, `${slices} slices, ${calls} calls`);
  assert.equal(catchUp.running, false);
  const stored = scheme.storedColours(0, 0, members);
  const previews = scheme.previewColours(0, 0, members);
  for (let i = 0; i < members; i += 997) assert.equal(previews[i], model.tweakColour(stored[i], { hue: 0.25 }), `member ${i}`);

  scheme.setSlider(0, 'red', 10);
  catchUp.start(scheme, 0);
  catchUp.stop();
  tasks.shift()!();
  assert.equal(scheme.continueTweak(0, 1), true, 'stopped: the members are still behind');
  scheme.delete();
});
