// The model compiled to WebAssembly (web/model/tintwright-model.d.ts): the
// page's one source of scheme maths and file bytes. The module's script, put
// before the page's own in the one script file, defines the global factory.

/// <reference path="../model/tintwright-model.d.ts" />

export function loadModel(): Promise<TintwrightModel> {
  return createTintwrightModel();
}
