// Starts the page once the model's module is ready.

import { App } from './app';
import { loadModel } from './model';

loadModel().then(
  (model) => new App(model),
  (error: Error) => {
    document.getElementById('title')!.textContent = `Tintwright could not start: ${error.message}`;
  },
);
