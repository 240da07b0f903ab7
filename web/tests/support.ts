// What the logic tests share: the model's module as the page gets it, and the
// repository's sample scheme. The tests run bundled in build-web/web-tests.

/// <reference path="../model/tintwright-model.d.ts" />

import { readFileSync } from 'node:fs';
import { createRequire } from 'node:module';

const built = new URL('../', import.meta.url);
const repo = new URL('../', built);

export async function loadModel(): Promise<TintwrightModel> {
  const factory = createRequire(import.meta.url)(process.env.TINTWRIGHT_MODEL ?? new URL('model/tintwright-model.js', built).pathname);
  return factory();
}

export const sampleBytes = (): Uint8Array => new Uint8Array(readFileSync(new URL('docs/sample.calvastrascheme', repo)));

/** A scheme of `count` colours named c0, c1, ... and one group "All" holding every one. */
export function largeScheme(count: number): Uint8Array {
  const lines = ['<COLOURS>'];
  for (let i = 0; i < count; ++i) lines.push(`<COLOUR name="c${i}" colour="ff${(i * 2654435761 >>> 8).toString(16).padStart(6, '0').slice(-6)}"/>`);
  lines.push('<COLOURGROUPS><COLOURGROUP name="All">');
  for (let i = 0; i < count; ++i) lines.push(`<COLOUR name="c${i}"/>`);
  lines.push('</COLOURGROUP></COLOURGROUPS></COLOURS>');
  return new TextEncoder().encode(lines.join('\n'));
}
