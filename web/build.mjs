// Builds the page into one folder: index.html, tintwright.css and
// tintwright.js, one classic script holding the model's module (with its
// wasm inside) and the page's own code, so that the page opens from file://
// as well as from a static host. `node build.mjs tests` bundles the logic
// tests for Node instead.
//
// TINTWRIGHT_MODEL_JS: the module (default ../build-web/model/tintwright-model.js)
// TINTWRIGHT_WEB_OUT:  where to build (default ../build-web)

import { build } from 'esbuild';
import { copyFileSync, mkdirSync, readFileSync, readdirSync, writeFileSync } from 'node:fs';
import { dirname, join, resolve } from 'node:path';
import { fileURLToPath } from 'node:url';

const here = dirname(fileURLToPath(import.meta.url));
const out = resolve(process.env.TINTWRIGHT_WEB_OUT ?? join(here, '..', 'build-web'));
const modelJs = resolve(process.env.TINTWRIGHT_MODEL_JS ?? join(out, 'model', 'tintwright-model.js'));

async function buildSite() {
  const site = join(out, 'site');
  mkdirSync(site, { recursive: true });
  const page = await build({
    entryPoints: [join(here, 'src', 'main.ts')],
    bundle: true,
    format: 'iife',
    target: ['chrome110', 'firefox115'],
    minify: true,
    legalComments: 'inline',
    define: { 'process.env.NODE_ENV': '"production"' },
    write: false,
  });
  // The module first: its classic script defines the global factory the page calls.
  const script = `${readFileSync(modelJs, 'utf8')}\n${page.outputFiles[0].text}`;
  writeFileSync(join(site, 'tintwright.js'), script);
  copyFileSync(join(here, 'src', 'index.html'), join(site, 'index.html'));
  copyFileSync(join(here, 'src', 'style.css'), join(site, 'tintwright.css'));
  console.log(`site: ${site} (script ${(script.length / 1e6).toFixed(2)} MB)`);
}

async function buildTests() {
  const tests = join(out, 'web-tests');
  const entries = readdirSync(join(here, 'tests')).filter((f) => f.endsWith('.test.ts'));
  await build({
    entryPoints: entries.map((f) => join(here, 'tests', f)),
    bundle: true,
    platform: 'node',
    format: 'esm',
    target: 'node20',
    outdir: tests,
    outExtension: { '.js': '.mjs' },
    define: { 'process.env.NODE_ENV': '"production"' },
    logLevel: 'warning',
  });
  console.log(`logic tests: ${tests}`);
}

await (process.argv[2] === 'tests' ? buildTests() : buildSite());
