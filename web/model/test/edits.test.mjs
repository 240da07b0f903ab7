// The edits a user makes give the file tintwright-cli group (and tweak, for
// Apply) writes after the same edits, and say whether the scheme changed.
import assert from 'node:assert/strict';
import { copyFileSync, readFileSync } from 'node:fs';
import { join } from 'node:path';
import { test } from 'node:test';
import { cli, loadModel, root, schemeText, scratchFolder } from './support.mjs';

test('group edits and Apply save the file tintwright-cli writes', async (t) => {
  const model = await loadModel();
  const folder = scratchFolder(t);
  const sample = join(root, 'docs/sample.calvastrascheme');
  let file = join(folder, 'start.calvastrascheme');
  copyFileSync(sample, file);
  const scheme = model.openScheme(readFileSync(sample));
  t.after(() => scheme.delete());

  const names = Array.from({ length: scheme.numColours() }, (_, i) => scheme.colourName(i));
  const indicesOf = (matches) => names.flatMap((name, i) => (matches(name) ? [i] : []));
  const groupNamed = (name) => Array.from({ length: scheme.numGroups() }, (_, g) => scheme.groupName(g)).indexOf(name);

  // Each step: the command on the file so far, the same edit in the module, the bytes compared.
  let step = 0;
  const expectSameFile = (args, edit, changed) => {
    const out = join(folder, `${++step}.calvastrascheme`);
    const run = cli(...args.slice(0, 1), file, ...args.slice(1), '-o', out);
    assert.equal(run.status, 0, run.stderr);
    assert.equal(edit(), changed, `${args.join(' ')}: changed`);
    assert.ok(Buffer.from(scheme.save()).equals(readFileSync(out)), `${args.join(' ')}: not the file tintwright-cli writes`);
    file = out;
  };

  const newName = 'Ünïcode & <Grüppe> "1"';
  expectSameFile(
    ['group', 'add', newName, '--colours', 'Text*', '--colours', 'Playhead'],
    () => {
      const group = scheme.addGroup(newName);
      assert.equal(group, 3);
      return scheme.addColoursToGroup(group, indicesOf((n) => n === 'Playhead' || n.startsWith('Text')).reverse());
    },
    true,
  );
  assert.deepEqual(
    Array.from(scheme.memberColourIndices(3, 0, 10)),
    indicesOf((n) => n === 'Playhead' || n.startsWith('Text')),
  );
  expectSameFile(
    ['group', 'add-colours', 'Meters', 'Meter*'],
    () => scheme.addColoursToGroup(0, new Int32Array(indicesOf((n) => n.startsWith('Meter')))),
    false,
  );
  expectSameFile(['group', 'add-colours', 'Clips', 'Marker'], () => scheme.addColoursToGroup(1, [names.indexOf('Marker'), -1, 999]), true);
  expectSameFile(['group', 'rename', 'Clips', 'Clips & Regions'], () => scheme.renameGroup(1, 'Clips & Regions'), true);
  expectSameFile(['group', 'rename', 'Clips & Regions', 'Clips & Regions'], () => scheme.renameGroup(1, 'Clips & Regions'), false);
  expectSameFile(['group', 'remove', 'Accents'], () => scheme.deleteGroup(groupNamed('Accents')), true);
  expectSameFile(
    ['tweak', '-g', 'Meters', '--hue', '0.25', '--brightness', '0.8'],
    () => {
      scheme.setSlider(0, 'hue', 0.25);
      scheme.setSlider(0, 'brightness', 0.8);
      return scheme.applyTweak(0);
    },
    true,
  );

  assert.equal(scheme.applyTweak(0), false, 'Apply with nothing to apply');
  assert.equal(scheme.addGroup(''), -1);
  assert.equal(scheme.renameGroup(0, ''), false);
  assert.equal(scheme.deleteGroup(scheme.numGroups()), false);
  assert.throws(() => scheme.renameGroup(scheme.numGroups(), 'x'), RangeError);
  assert.ok(Buffer.from(scheme.save()).equals(readFileSync(file)), 'edits that change nothing changed the file');
});

test("a picked colour is stored at once, its preview follows the group's tweak, and it is saved", async () => {
  const model = await loadModel();
  const text = schemeText(
    [
      { name: 'a', argb: 0xff336699 },
      { name: 'b', argb: 0x80102030 },
    ],
    [{ name: 'g', members: ['b', 'a'] }],
  );
  const scheme = model.openScheme(Buffer.from(text));
  scheme.setSlider(0, 'saturation', 0.5);

  assert.equal(scheme.pickColour(0, 1, 0xffc08040), true);
  assert.equal(scheme.pickColour(0, 1, 0xffc08040), false, 'the same colour again');
  assert.equal(scheme.pickColour(0, 2, 0xff000000), false, 'no such member');
  assert.equal(scheme.colourArgb(0), 0xffc08040);
  assert.deepEqual(Array.from(scheme.storedColours(0, 0, 2)), [0x80102030, 0xffc08040]);
  assert.equal(scheme.previewColours(0, 1, 1)[0], model.tweakColour(0xffc08040, { saturation: 0.5 }));

  const reopened = model.openScheme(scheme.save());
  assert.deepEqual(Array.from(reopened.colourArgbs(0, 5)), [0xffc08040, 0x80102030]);
  assert.deepEqual(Array.from(reopened.previewColours(0, 0, 2)), [0x80102030, 0xffc08040], 'a reopened scheme has no tweak');
  reopened.delete();
  scheme.delete();
});
