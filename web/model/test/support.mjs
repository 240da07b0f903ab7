// The module tests' kit: the module and tintwright-cli (scripts/web.sh test
// names both), scratch folders, seeded random numbers and scheme texts.
import { spawnSync } from 'node:child_process';
import { mkdtempSync, rmSync } from 'node:fs';
import { createRequire } from 'node:module';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { fileURLToPath } from 'node:url';

export const root = fileURLToPath(new URL('../../..', import.meta.url));
const modulePath = process.env.TINTWRIGHT_MODEL ?? join(root, 'build-web/model/tintwright-model.js');
const cliPath = process.env.TINTWRIGHT_CLI ?? join(root, 'build/tintwright-cli');

/** A fresh instance of the module (options as createTintwrightModel takes them). */
export function loadModel(options) {
  return createRequire(import.meta.url)(modulePath)(options);
}

/** tintwright-cli run to its end: { status, stdout, stderr }. */
export function cli(...args) {
  const run = spawnSync(cliPath, args, { encoding: 'utf8', maxBuffer: 1 << 28 });
  if (run.error) throw run.error;
  return run;
}

/** A scratch folder, removed when the test ends. */
export function scratchFolder(t) {
  const folder = mkdtempSync(join(tmpdir(), 'tintwright-model-'));
  t.after(() => rmSync(folder, { recursive: true, force: true }));
  return folder;
}

/** Seeded random numbers in [0, 1) (mulberry32); the seed is printed so a failure can be repeated. */
export function seededRandom(t, defaultSeed) {
  let seed = Number(process.env.TINTWRIGHT_SEED ?? defaultSeed) >>> 0;
  t.diagnostic(`seed ${seed} (TINTWRIGHT_SEED)`);
  return () => {
    seed = (seed + 0x6d2b79f5) >>> 0;
    let x = Math.imul(seed ^ (seed >>> 15), seed | 1);
    x ^= x + Math.imul(x ^ (x >>> 7), x | 61);
    return ((x ^ (x >>> 14)) >>> 0) / 4294967296;
  };
}

/** A scheme file's text: colours [{ name, argb }] and groups [{ name, members: [names] }]. */
export function schemeText(colours, groups = []) {
  const lines = ['<?xml version="1.0" encoding="UTF-8"?>', '<COLOURS>'];
  for (const { name, argb } of colours) lines.push(`  <COLOUR name="${name}" colour="${(argb >>> 0).toString(16)}"/>`);
  lines.push('  <COLOURGROUPS>');
  for (const group of groups) {
    lines.push(`    <COLOURGROUP name="${group.name}">`);
    for (const member of group.members) lines.push(`      <COLOUR name="${member}"/>`);
    lines.push('    </COLOURGROUP>');
  }
  lines.push('  </COLOURGROUPS>', '</COLOURS>', '');
  return lines.join('\n');
}

/** 0xAARRGGBB as tintwright-cli prints it. */
export const hex = (argb) => (argb >>> 0).toString(16).padStart(8, '0');
