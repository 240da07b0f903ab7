// Every scheme file the sources hold (docs/, tests/, the fuzz corpus
// included) opens in the module and saves to the bytes tintwright-cli format
// writes, or is refused with the reason tintwright-cli gives.
import assert from 'node:assert/strict';
import { copyFileSync, readdirSync, readFileSync } from 'node:fs';
import { join, relative } from 'node:path';
import { test } from 'node:test';
import { cli, loadModel, root, scratchFolder } from './support.mjs';

function schemeFiles(folder) {
  return readdirSync(folder, { withFileTypes: true }).flatMap((entry) => {
    const path = join(folder, entry.name);
    if (entry.isDirectory()) return schemeFiles(path);
    return path.endsWith('.calvastrascheme') || folder.endsWith(join('fuzz', 'corpus')) ? [path] : [];
  });
}

test('every scheme file of the sources saves or is refused as tintwright-cli format does', async (t) => {
  const model = await loadModel();
  const files = [...schemeFiles(join(root, 'docs')), ...schemeFiles(join(root, 'tests'))];
  assert.ok(files.length > 500, `only ${files.length} scheme files found`);

  // One run of format over copies of all of them: each copy is rewritten as
  // Save writes it, left alone when it is that already, or refused on stderr.
  const folder = scratchFolder(t);
  const copies = files.map((file, i) => join(folder, `${i}`));
  files.forEach((file, i) => copyFileSync(file, copies[i]));
  const run = cli('format', ...copies);
  const refusals = new Map(
    run.stderr
      .split('\n')
      .filter(Boolean)
      .map((line) => {
        const [, path, reason] = line.match(/^tintwright-cli: (.*?): (.*)$/);
        return [path, reason];
      }),
  );

  let saved = 0;
  files.forEach((file, i) => {
    const name = relative(root, file);
    const bytes = readFileSync(file);
    let result;
    try {
      result = { saved: model.formatScheme(bytes) };
    } catch (error) {
      result = { refused: error.message };
    }
    if (refusals.has(copies[i])) {
      assert.deepEqual(result, { refused: refusals.get(copies[i]) }, name);
    } else {
      assert.ok(result.saved, `${name}: ${result.refused}`);
      assert.ok(Buffer.from(result.saved).equals(readFileSync(copies[i])), `${name}: not the bytes tintwright-cli writes`);
      ++saved;
    }
  });
  t.diagnostic(`${saved} saved, ${refusals.size} refused, of ${files.length}`);
  assert.ok(saved > 0 && refusals.size > 0);
});

test('the colours, groups and members read back as tintwright-cli list gives them', async () => {
  const model = await loadModel();
  const named = [...schemeFiles(join(root, 'docs')), ...schemeFiles(join(root, 'tests'))].filter((f) => f.endsWith('.calvastrascheme'));
  let read = 0;

  for (const file of named) {
    const run = cli('list', file, '--groups', '--json');
    if (run.status !== 0) continue; // refused: the test above holds the refusals
    const expected = JSON.parse(run.stdout);
    const scheme = model.openScheme(readFileSync(file));
    const names = Array.from({ length: scheme.numColours() }, (_, i) => scheme.colourName(i));
    const argbs = Array.from(scheme.colourArgbs(0, scheme.numColours()), (argb) => argb.toString(16).padStart(8, '0'));
    const actual = {
      colours: names.map((name, i) => ({ name, colour: argbs[i] })),
      groups: Array.from({ length: scheme.numGroups() }, (_, g) => ({
        name: scheme.groupName(g),
        members: Array.from(scheme.memberColourIndices(g, 0, scheme.numMembers(g)), (i) => names[i]),
      })),
    };
    assert.deepEqual(actual, expected, relative(root, file));
    scheme.delete();
    ++read;
  }
  assert.ok(read > 20, `only ${read} schemes read`);
});
