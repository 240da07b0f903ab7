// The model module's speed against the Linux build in the same run
// (scripts/bench.sh): both open, save and tweak the same scheme files.
//
//   node module.bench.mjs schemes FOLDER        writes the schemes both measure
//   node module.bench.mjs measure FOLDER OUT    the module's CPU-time medians (ms) as JSON
//
// The Linux side is bench/ModuleCounterpartBench.cpp, which reads the same
// files (TINTWRIGHT_BENCH_SCHEMES=FOLDER).
import { mkdirSync, readFileSync, writeFileSync } from 'node:fs';
import { createRequire } from 'node:module';
import { join } from 'node:path';
import { fileURLToPath } from 'node:url';

const sizes = [10000, 100000, 1000000];
const [, , command, folder, out] = process.argv;

// Names with something to escape now and then, random colours, and a hundred
// groups of a hundred members, as the Linux benchmarks' own schemes.
function schemeText(numColours) {
  let seed = 42;
  const random = () => (seed = (Math.imul(seed, 1103515245) + 12345) >>> 0) / 4294967296;
  const name = (i) => `Scheme colour number ${i}${i % 7 === 0 ? ' &amp; friends' : ''}`;
  const lines = ['<?xml version="1.0" encoding="UTF-8"?>', '', '', '<COLOURS>'];
  for (let i = 0; i < numColours; ++i) lines.push(`  <COLOUR name="${name(i)}" colour="${Math.floor(random() * 2 ** 32).toString(16)}"/>`);
  lines.push('  <COLOURGROUPS>');
  for (let g = 0; g < 100; ++g) {
    lines.push(`    <COLOURGROUP name="Group ${g}">`);
    for (let m = 0; m < 100; ++m) lines.push(`      <COLOUR name="${name(Math.floor(random() * numColours))}"/>`);
    lines.push('    </COLOURGROUP>');
  }
  lines.push('  </COLOURGROUPS>', '</COLOURS>', '');
  return lines.join('\r\n');
}

// CPU time of the whole process, so the measuring starts only after half a
// second of warming up: by then the engine has compiled the hot code again,
// optimised, on threads of its own.
function median(run, repetitions) {
  for (const start = Date.now(); Date.now() - start < 500;) run();
  const times = [];
  for (let i = 0; i < repetitions; ++i) {
    const start = process.cpuUsage();
    run(i);
    const used = process.cpuUsage(start);
    times.push((used.user + used.system) / 1000);
  }
  return times.sort((a, b) => a - b)[Math.floor(times.length / 2)];
}

async function measure() {
  const root = fileURLToPath(new URL('../../..', import.meta.url));
  const modulePath = process.env.TINTWRIGHT_MODEL ?? join(root, 'build-web/model/tintwright-model.js');
  const model = await createRequire(import.meta.url)(modulePath)();
  const bytes = (n) => readFileSync(join(folder, `${n}.calvastrascheme`));
  const results = {};

  for (const n of [10000, 100000]) {
    const file = bytes(n);
    results[`ModuleOpen/${n}`] = median(() => model.openScheme(file).delete(), n === 10000 ? 31 : 11);
  }

  const scheme = model.openScheme(bytes(10000));
  results['ModuleSave/10000'] = median(() => scheme.save(), 31);
  scheme.delete();

  // One slider step: the value queued, then every member brought up to date.
  const large = model.openScheme(bytes(1000000));
  const group = large.addGroup('All');
  large.addColoursToGroup(
    group,
    Int32Array.from({ length: large.numColours() }, (_, i) => i),
  );
  results['ModuleSliderStep/1000000'] = median((i = 0) => {
    large.setSlider(group, 'hue', i % 2 === 0 ? 0.1 : 0.2);
    large.finishTweak(group);
  }, 11);
  large.delete();

  writeFileSync(out, JSON.stringify(results, null, 2));
}

if (command === 'schemes') {
  mkdirSync(folder, { recursive: true });
  for (const n of sizes) writeFileSync(join(folder, `${n}.calvastrascheme`), schemeText(n));
} else if (command === 'measure') {
  await measure();
} else {
  console.error('usage: module.bench.mjs schemes FOLDER | measure FOLDER OUT.json');
  process.exit(2);
}
