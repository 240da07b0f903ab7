// The page's modal questions, in the window's words: the question before
// unsaved changes are replaced, the group-name window, and failures. Built
// on <dialog>, which keeps the focus inside while it is open.

import { element } from './dom';

let dialogsShown = 0;

function modal(title: string, message: string, ...content: HTMLElement[]): HTMLDialogElement {
  const titleId = `dialog-title-${++dialogsShown}`;
  const messageId = `${titleId}-message`;
  const dialog = element(
    'dialog',
    { class: 'dialog', 'aria-labelledby': titleId, 'aria-describedby': messageId },
    element('h2', { id: titleId }, title),
    element('p', { id: messageId }, message),
    ...content,
  );
  document.body.append(dialog);
  dialog.addEventListener('close', () => dialog.remove());
  return dialog;
}

/** Whether one of the page's questions or messages is up. */
export function dialogShown(): boolean {
  return document.querySelector('dialog[open]') !== null;
}

/** Asks with buttons; gives the index of the one pressed, or `cancel` for Escape. */
export function ask(title: string, message: string, buttons: string[], cancel: number): Promise<number> {
  return new Promise((resolve) => {
    const row = element('div', { class: 'buttons' });
    const dialog = modal(title, message, row);
    buttons.forEach((text, i) => {
      const button = element('button', { type: 'button' }, text);
      button.addEventListener('click', () => {
        dialog.close();
        resolve(i);
      });
      row.append(button);
    });
    dialog.addEventListener('cancel', () => resolve(cancel));
    dialog.showModal();
  });
}

/** Tells of a failure, in the system's words. */
export async function tell(title: string, message: string): Promise<void> {
  await ask(title, message, ['OK'], 0);
}

/**
 * Asks for a text. Gives what was typed when `confirm` is pressed (or Return),
 * and `abandoned` otherwise (`cancel`, Escape).
 */
export function askText(
  title: string,
  message: string,
  fieldLabel: string,
  initial: string,
  confirm: string,
  cancel: string | null,
  abandoned: string | null,
): Promise<string | null> {
  return new Promise((resolve) => {
    const field = element('input', { type: 'text', name: 'text', autocomplete: 'off', spellcheck: 'false' });
    field.value = initial;
    const form = element(
      'form',
      { method: 'dialog' },
      element('label', {}, `${fieldLabel} `, field),
      element('div', { class: 'buttons' }, element('button', { type: 'submit', value: 'confirm' }, confirm)),
    );
    const dialog = modal(title, message, form);
    if (cancel !== null) {
      const cancelButton = element('button', { type: 'button' }, cancel);
      cancelButton.addEventListener('click', () => dialog.close());
      form.lastElementChild!.append(cancelButton);
    }
    dialog.addEventListener('close', () => resolve(dialog.returnValue === 'confirm' ? field.value : abandoned));
    dialog.showModal();
    field.select();
  });
}
