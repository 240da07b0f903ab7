// The page's linter: ESLint's and typescript-eslint's recommended rules over
// the page's TypeScript (web/src), its tests and benchmarks, and the build.
// Layout is prettier's (.prettierrc.json); `scripts/web.sh lint` runs both.

import js from '@eslint/js';
import { defineConfig } from 'eslint/config';
import globals from 'globals';
import tseslint from 'typescript-eslint';

export default defineConfig(
  { ignores: ['node_modules/'] },
  js.configs.recommended,
  tseslint.configs.recommended,
  // The page runs in browsers; tests, benchmarks and the build in Node, and
  // hand functions to the page (page.evaluate), so they see both.
  { files: ['src/**'], languageOptions: { globals: globals.browser } },
  {
    files: ['tests/**', 'bench/**', 'model/**', '*.mjs'],
    languageOptions: { globals: { ...globals.node, ...globals.browser, createTintwrightModel: 'readonly' } },
  },
  // The model's declaration is ambient (the module's classic script defines a
  // global factory): it is referenced by path, there is nothing to import.
  { rules: { '@typescript-eslint/triple-slash-reference': ['error', { path: 'always' }] } },
);
