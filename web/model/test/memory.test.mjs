// Large schemes: a million colours open, tweak, apply and save within the
// module's memory; one too large for it is refused with a clear message and
// the module goes on working; a closed scheme gives its memory back.
import assert from 'node:assert/strict';
import { test } from 'node:test';
import { loadModel } from './support.mjs';

const colourOf = (i) => (0xff000000 | Math.imul(i, 2654435761)) >>> 0;

// Written as Save writes it.
function schemeBytes(numColours) {
  const lines = ['<?xml version="1.0" encoding="UTF-8"?>\r\n\r\n\r\n<COLOURS>\r\n'];
  for (let i = 0; i < numColours; ++i) lines.push(`  <COLOUR name="Colour ${i}" colour="${colourOf(i).toString(16)}"/>\r\n`);
  lines.push('  <COLOURGROUPS/>\r\n</COLOURS>\r\n');
  return Buffer.from(lines.join(''));
}

test('a scheme of a million colours opens, takes a tweak of all of them, applies it and saves', async () => {
  const model = await loadModel();
  const million = 1000000;
  const scheme = model.openScheme(schemeBytes(million));
  assert.equal(scheme.numColours(), million);

  const group = scheme.addGroup('All');
  assert.equal(
    scheme.addColoursToGroup(
      group,
      Int32Array.from({ length: million }, (_, i) => i),
    ),
    true,
  );
  scheme.setSlider(group, 'hue', 0.25);
  scheme.setSlider(group, 'red', -40);
  assert.equal(scheme.continueTweak(group, 1000), true, 'the rest of the group catches up later');
  assert.equal(scheme.applyTweak(group), true);

  const saved = scheme.save();
  scheme.delete();
  const reopened = model.openScheme(saved);
  assert.equal(reopened.numColours(), million);
  assert.equal(reopened.numMembers(0), million);
  const last = reopened.colourArgbs(million - 3, 10);
  assert.deepEqual(
    Array.from(last),
    [3, 2, 1].map((n) => model.tweakColour(colourOf(million - n), { hue: 0.25, red: -40 })),
  );
  reopened.delete();
});

test("a scheme too large for the module's memory is refused, and the module goes on working", async () => {
  // The module in a memory that may grow to 32 MB only: a scheme of 20 MB
  // needs more than that to open.
  const model = await loadModel({ wasmMemory: new WebAssembly.Memory({ initial: 256, maximum: 512 }) });
  const large = schemeBytes(400000);
  for (const call of [() => model.openScheme(large), () => model.formatScheme(large)])
    assert.throws(call, { name: 'Error', message: "is too large to open: the model's memory ran out" });

  const small = schemeBytes(1000);
  const scheme = model.openScheme(small);
  assert.equal(scheme.numColours(), 1000);
  assert.ok(Buffer.from(scheme.save()).equals(small));
  scheme.delete();
});

test('a closed scheme gives its memory back', async () => {
  const model = await loadModel();
  const bytes = schemeBytes(100000);
  model.openScheme(bytes).delete(); // the first opening sets up what the module keeps

  const before = model.allocatedBytes();
  const scheme = model.openScheme(bytes);
  scheme.addColoursToGroup(
    scheme.addGroup('All'),
    Int32Array.from({ length: 100000 }, (_, i) => i),
  );
  assert.ok(model.allocatedBytes() > before + 5000000, 'a scheme of 100,000 colours takes memory');
  scheme.delete();
  assert.equal(model.allocatedBytes(), before);
});
