// The module's functions take only what the declaration file says: anything
// else is a TypeError or RangeError naming the argument, with nothing
// changed; a call that fails frees what it took; running out of memory is an
// Error the module survives; and no number of failing calls, and no argument
// whose getters call the module, leaves it unusable.
import assert from 'node:assert/strict';
import { readFileSync, writeFileSync } from 'node:fs';
import { join } from 'node:path';
import { test } from 'node:test';
import { cli, loadModel, root, schemeText, scratchFolder, seededRandom } from './support.mjs';

const text = schemeText(
  [
    { name: 'a', argb: 0xff336699 },
    { name: 'b', argb: 0x80102030 },
    { name: 'c', argb: 0xff000000 },
  ],
  [
    { name: 'g', members: ['a', 'b'] },
    { name: 'h', members: ['c'] },
  ],
);

// The scheme works as before: every list and a save that opens again.
function assertWorks(model, scheme) {
  assert.equal(scheme.numColours(), 3);
  assert.deepEqual(Array.from(scheme.colourArgbs(0, 9)), [0xff336699, 0x80102030, 0xff000000]);
  assert.equal(scheme.groupName(0), 'g');
  assert.deepEqual(Array.from(scheme.memberColourIndices(0, 0, 9)), [0, 1]);
  const reopened = model.openScheme(scheme.save());
  assert.equal(reopened.numGroups(), scheme.numGroups());
  reopened.delete();
}

test('arguments of the wrong type or out of range are refused by name, and nothing changes', async () => {
  const model = await loadModel();
  const scheme = model.openScheme(Buffer.from(text));
  const saved = Buffer.from(scheme.save());

  const refused = [
    // [call, error type, the argument the message names]
    [() => scheme.deleteGroup(NaN), TypeError, 'group'],
    [() => scheme.deleteGroup(null), TypeError, 'group'],
    [() => scheme.deleteGroup({}), TypeError, 'group'],
    [() => scheme.deleteGroup([]), TypeError, 'group'],
    [() => scheme.deleteGroup(0.5), TypeError, 'group'],
    [() => scheme.deleteGroup('0'), TypeError, 'group'],
    [() => scheme.renameGroup(2 ** 32, 'x'), RangeError, 'group 4294967296'],
    [() => scheme.renameGroup(-1, 'x'), RangeError, 'group -1'],
    [() => scheme.renameGroup(0, 42), TypeError, 'name'],
    [() => scheme.addGroup(undefined), TypeError, 'name'],
    [() => scheme.colourName(2 ** 32), RangeError, 'colour 4294967296'],
    [() => scheme.colourName(Infinity), TypeError, 'index'],
    [() => scheme.colourName(0, -1), RangeError, 'maxLength'],
    [() => scheme.colourArgb(1n), TypeError, 'index'],
    [() => scheme.colourArgbs(0, NaN), TypeError, 'count'],
    [() => scheme.memberColourIndices(0, '0', 1), TypeError, 'start'],
    [() => scheme.pickColour(0, 0, NaN), TypeError, 'argb'],
    [() => scheme.pickColour(0, 0, 2 ** 32), RangeError, 'argb'],
    [() => scheme.pickColour(0, 0, -1), RangeError, 'argb'],
    [() => scheme.pickColour(0, 0, 0.5), TypeError, 'argb'],
    [() => scheme.pickColour(0, null, 0), TypeError, 'member'],
    [() => scheme.setSlider(0, 'hue', '0.1'), TypeError, 'value'],
    [() => scheme.setSlider(0, 'red', null), TypeError, 'value'],
    [() => scheme.setSlider(0, 'red', true), TypeError, 'value'],
    [() => scheme.setSlider(0, 'red', NaN), RangeError, 'red'],
    [() => scheme.setSlider(0, 'red', Infinity), RangeError, 'red'],
    [() => scheme.setSlider(0, 'reddish', 1), RangeError, 'reddish'],
    [() => scheme.setSlider(0, 7, 1), TypeError, 'slider'],
    [() => scheme.setContrast(0, 0.5, '1'), TypeError, 'amount'],
    [() => scheme.forceHue(0, undefined), TypeError, 'hue'],
    [() => scheme.continueTweak(0, 1.5), TypeError, 'maxMembers'],
    [() => scheme.addColoursToGroup(0, [2, 0.5]), TypeError, 'colourIndices[1]'],
    [() => scheme.addColoursToGroup(0, [NaN]), TypeError, 'colourIndices[0]'],
    [() => scheme.addColoursToGroup(0, new Float64Array([2])), TypeError, 'colourIndices'],
    [() => scheme.addColoursToGroup(0, new Uint32Array([2])), TypeError, 'colourIndices'],
    [() => scheme.addColoursToGroup(0, { length: 1, 0: 2 }), TypeError, 'colourIndices'],
    [() => scheme.addColoursToGroup(0, 2), TypeError, 'colourIndices'],
    [() => model.openScheme(new Float64Array(Buffer.from(text))), TypeError, 'bytes'],
    [() => model.openScheme(Array.from(Buffer.from(text))), TypeError, 'bytes'],
    [() => model.openScheme(Buffer.from(text).buffer), TypeError, 'bytes'],
    [() => model.formatScheme('<COLOURS/>'), TypeError, 'bytes'],
    [() => model.tweakColour(0xff000000, { hue: '0.1' }), TypeError, 'sliders.hue'],
    [() => model.tweakColour(0xff000000, null), TypeError, 'sliders'],
    [() => model.tweakColour(2 ** 32, {}), RangeError, 'argb'],
    [() => model.withForcedHue(0xff000000, NaN), RangeError, 'forcedHue'],
    [() => model.invertedColour('0xff000000'), TypeError, 'argb'],
    [() => model.invertedColour(-1), RangeError, 'argb'],
  ];

  for (const [call, type, argument] of refused) {
    assert.throws(call, (error) => error.constructor === type && error.message.includes(argument), `${call}: a ${type.name} naming ${argument}`);
  }

  // Whole numbers outside the list, where the declaration says so, are no error.
  assert.equal(scheme.deleteGroup(2 ** 32), false);
  assert.equal(scheme.deleteGroup(-1), false);
  assert.equal(scheme.pickColour(0, 2 ** 32, 0xff000000), false);
  assert.equal(scheme.addColoursToGroup(1, [2 ** 32 + 0, 2 ** 32 + 1, -1, 3]), false, '2^32 + k is not k');
  assert.deepEqual(Array.from(scheme.colourArgbs(-5, 2 ** 40)), [0xff336699, 0x80102030, 0xff000000]);

  assert.ok(Buffer.from(scheme.save()).equals(saved), 'a refused call changed the scheme');
  assertWorks(model, scheme);
  scheme.delete();
});

test("names cross into the module as they are: a file's lone surrogate survives a rename to itself, a typed one is refused", async (t) => {
  const model = await loadModel();
  const bytes = Buffer.from(schemeText([{ name: 'Lone &#xD800; mark', argb: 0xff112233 }], [{ name: 'Lone &#xD800; mark', members: ['Lone &#xD800; mark'] }]));
  const scheme = model.openScheme(bytes);
  t.after(() => scheme.delete());
  const saved = Buffer.from(scheme.save());

  const shown = scheme.groupName(0);
  assert.equal(shown, 'Lone \uD800 mark');
  assert.equal(scheme.colourName(0), 'Lone \uD800 mark');
  assert.equal(scheme.renameGroup(0, shown), false, 'the name it has is no change');
  assert.ok(Buffer.from(scheme.save()).equals(saved), 'the name changed on its way through the module');

  for (const [name, reason] of [
    ['Lone \uD800 marks', 'U+D800'],
    ['a\uDC00b', 'U+DC00'],
    ['end \uD83C', 'U+D83C'],
    ['a\0b', 'NUL'],
  ]) {
    const refusal = (error) => error.constructor === Error && error.message.includes(reason);
    assert.throws(() => scheme.renameGroup(0, name), refusal, JSON.stringify(name));
    assert.throws(() => scheme.addGroup(name), refusal, JSON.stringify(name));
  }
  assert.equal(scheme.numGroups(), 1);
  assert.ok(Buffer.from(scheme.save()).equals(saved), 'a refused name changed the scheme');

  // Pairs are characters; the name reaches the file and tintwright-cli as typed.
  assert.equal(scheme.renameGroup(0, 'Paint \u{1F3A8} & <b>'), true);
  assert.equal(scheme.groupName(0), 'Paint \u{1F3A8} & <b>');
  const file = join(scratchFolder(t), 'named.calvastrascheme');
  writeFileSync(file, scheme.save());
  const listed = cli('list', file, '--groups');
  assert.equal(listed.status, 0, listed.stderr);
  assert.match(listed.stdout, /Paint \u{1F3A8} & <b>/u);

  // Cut short: at most maxLength characters, a pair counted as one.
  assert.equal(scheme.groupName(0, 7), 'Paint \u{1F3A8}');
  assert.equal(scheme.colourName(0, 6), 'Lone \uD800');
  assert.equal(scheme.colourName(0, 0), '');
});

test('a call that fails frees what it took, and no number of failing calls wears the module out', async () => {
  const model = await loadModel();
  const scheme = model.openScheme(Buffer.from(text));
  const megabyte = 'x'.repeat(1 << 20);
  assert.throws(() => scheme.renameGroup(5, megabyte), RangeError); // whatever a first call sets up
  const before = model.allocatedBytes();
  for (let i = 0; i < 100; ++i) {
    assert.throws(() => scheme.renameGroup(5, megabyte), RangeError);
    assert.throws(() => scheme.addGroup(megabyte + '\uD800'), /U\+D800/);
    assert.throws(() => scheme.setSlider(0, megabyte, 1), RangeError);
  }
  assert.equal(model.allocatedBytes(), before, 'failing calls kept memory');

  // Far more calls failing inside the module than its stack could hold, were
  // any of their frames left on it (errors without stacks, to take less time).
  const stackTraceLimit = Error.stackTraceLimit;
  Error.stackTraceLimit = 0;
  let failed = 0;
  for (let i = 0; i < 350000; ++i) {
    try {
      scheme.colourArgb(99);
    } catch (error) {
      failed += error instanceof RangeError ? 1 : 0;
    }
  }
  Error.stackTraceLimit = stackTraceLimit;
  assert.equal(failed, 350000);
  assertWorks(model, scheme);
  assert.equal(model.allocatedBytes(), before);
  scheme.delete();
});

test('running out of memory in any call is an Error the module survives', async () => {
  // A module that may grow to 32 MB only, filled with schemes.
  const model = await loadModel({ wasmMemory: new WebAssembly.Memory({ initial: 256, maximum: 512 }) });
  const large = Buffer.from(schemeText(Array.from({ length: 2000 }, (_, i) => ({ name: `Colour ${i}`, argb: 0xff000000 + i }))));
  const schemes = [];
  assert.throws(
    () => {
      for (;;) schemes.push(model.openScheme(large));
    },
    { name: 'Error', message: "is too large to open: the model's memory ran out" },
  );
  assert.ok(schemes.length > 10);

  const full = schemes[0];
  assert.throws(() => full.addGroup('n'.repeat(4 << 20)), { name: 'Error', message: "the model's memory ran out" });
  assert.throws(() => full.renameGroup(0, 'n'.repeat(4 << 20)), /memory ran out|no group 0/);
  for (const scheme of schemes.splice(0)) scheme.delete();

  const scheme = model.openScheme(Buffer.from(text));
  assertWorks(model, scheme);
  scheme.delete();

  // Twenty million characters in a module with room to grow: taken, or
  // refused with a message; either way its memory is given back.
  const roomy = await loadModel();
  const other = roomy.openScheme(Buffer.from(text));
  const before = roomy.allocatedBytes();
  const huge = 'z'.repeat(20e6);
  let group = -1;
  try {
    group = other.addGroup(huge);
  } catch (error) {
    assert.match(error.message, /memory ran out/);
  }
  if (group >= 0) {
    assert.equal(other.groupName(group, 3), 'zzz');
    assert.equal(other.renameGroup(group, huge), false);
    assert.equal(other.deleteGroup(group), true);
  }
  assert.ok(roomy.allocatedBytes() < before + 65536, `kept ${roomy.allocatedBytes() - before} bytes`);
  assertWorks(roomy, other);
  other.delete();
});

test('an argument whose getters call the module cannot make a call work on what they took away', async () => {
  const model = await loadModel();
  const scheme = model.openScheme(Buffer.from(text));

  // The getter deletes the group the call is about: the call sees the groups as they are after.
  const indices = [2];
  Object.defineProperty(indices, 0, { get: () => (scheme.deleteGroup(1), scheme.deleteGroup(0), 2) });
  assert.throws(() => scheme.addColoursToGroup(0, indices), { name: 'RangeError', message: 'no group 0 (the scheme has 0)' });
  assert.equal(scheme.numGroups(), 0);

  // The getter closes the scheme itself.
  const doomed = model.openScheme(Buffer.from(text));
  const closing = [0];
  Object.defineProperty(closing, 0, { get: () => (doomed.delete(), 0) });
  assert.throws(() => doomed.addColoursToGroup(0, closing), /deleted/);

  // Slider values are read once, before the module runs.
  let reads = 0;
  const sliders = {
    get hue() {
      ++reads;
      scheme.addGroup('from a getter');
      return 0.25;
    },
  };
  assert.equal(model.tweakColour(0xffff0000, sliders), model.tweakColour(0xffff0000, { hue: 0.25 }));
  assert.equal(reads, 1);
  assert.equal(scheme.numGroups(), 1);
  scheme.delete();
});

test("a seeded random run of the module's calls with wrong and right arguments leaves it working", async (t) => {
  const model = await loadModel();
  const random = seededRandom(t, 40);
  const pick = (list) => list[Math.floor(random() * list.length)];
  const sample = readFileSync(join(root, 'docs/sample.calvastrascheme'));
  const schemes = [model.openScheme(sample), model.openScheme(Buffer.from(text))];
  model.openScheme(sample).delete();
  const baseline = model.allocatedBytes();

  const getterArray = () => {
    const array = [0, 1];
    Object.defineProperty(array, 1, { get: () => (pick(schemes).deleteGroup(0), 1) });
    return array;
  };
  const values = () =>
    pick([
      0,
      1,
      2,
      3,
      -1,
      0.5,
      NaN,
      Infinity,
      -Infinity,
      2 ** 31,
      2 ** 32,
      2 ** 32 + 1,
      -(2 ** 31) - 1,
      0xffffffff,
      0xff336699,
      null,
      undefined,
      true,
      '1',
      '',
      'hue',
      'red',
      'name',
      'a\uD800b',
      'a\0b',
      '\u{1F3A8}',
      'x'.repeat(1 << 16),
      {},
      [],
      [0, 1, 2],
      [0.5],
      [2 ** 32],
      new Int32Array([2, 0, -1]),
      new Float64Array([1]),
      new Uint8Array([60]),
      Buffer.from(text),
      sample,
      { hue: 0.1 },
      { red: '1' },
      getterArray(),
      Symbol('s'),
      10n,
      () => 0,
    ]);
  const methods = [
    'save',
    'numColours',
    'colourName',
    'colourArgb',
    'colourArgbs',
    'numGroups',
    'groupName',
    'numMembers',
    'memberColourIndices',
    'storedColours',
    'previewColours',
    'addGroup',
    'deleteGroup',
    'renameGroup',
    'addColoursToGroup',
    'pickColour',
    'setSlider',
    'setContrast',
    'continueTweak',
    'finishTweak',
    'resetTweak',
    'invertColours',
    'forceHue',
    'applyTweak',
  ];
  const functions = ['formatScheme', 'tweakColour', 'withForcedHue', 'invertedColour', 'sliderRanges', 'openScheme'];

  const counts = { calls: 0, answered: 0, TypeError: 0, RangeError: 0, Error: 0 };
  for (let i = 0; i < 20000; ++i) {
    const args = Array.from({ length: Math.floor(random() * 4) }, values);
    const onScheme = random() < 0.8;
    const scheme = pick(schemes);
    const name = pick(onScheme ? methods : functions);
    ++counts.calls;
    try {
      const result = onScheme ? scheme[name](...args) : model[name](...args);
      if (name === 'openScheme') result.delete();
      ++counts.answered;
    } catch (error) {
      assert.ok(error instanceof Error && error.message !== '', `${name}(${args.map(String)}): ${error}`);
      assert.ok(!/memory access|unreachable|call stack|deleted/.test(error.message), `${name}: ${error.message}`);
      ++counts[error.constructor.name];
    }
  }
  t.diagnostic(JSON.stringify(counts));
  assert.ok(counts.answered > 1000 && counts.TypeError > 1000 && counts.RangeError > 100, JSON.stringify(counts));

  // Still working: each scheme saves to a file tintwright-cli finds nothing wrong with.
  const folder = scratchFolder(t);
  for (const [i, scheme] of schemes.entries()) {
    const file = join(folder, `${i}.calvastrascheme`);
    writeFileSync(file, scheme.save());
    const check = cli('check', '--strict', file);
    assert.equal(check.status, 0, check.stdout + check.stderr);
    scheme.delete();
  }
  assert.ok(Buffer.from(model.formatScheme(sample)).length > 0);
  assert.equal(model.allocatedBytes() <= baseline, true, `${model.allocatedBytes() - baseline} bytes more after the run`);
});
