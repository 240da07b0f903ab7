// What the logic tests share: the model's module as the page gets it, and the
// repository's sample scheme. The tests run bundled in build-web/web-tests.

/// <reference path="../model/tintwright-model.d.ts" />

import { readFileSync } from 'node:fs';
import { createRequire } from 'node:module';
import { largeSchemeText } from './large-scheme.mjs';

const built = new URL('../', import.meta.url);
const repo = new URL('../', built);

export async function loadModel(): Promise<TintwrightModel> {
  const factory = createRequire(import.meta.url)(process.env.TINTWRIGHT_MODEL ?? new URL('model/tintwright-model.js', built).pathname);
  return factory();
}

export const sampleBytes = (): Uint8Array => new Uint8Array(readFileSync(new URL('docs/sample.calvastrascheme', repo)));

export const largeScheme = (count: number): Uint8Array => new TextEncoder().encode(largeSchemeText(count));
