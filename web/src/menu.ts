// A pop-up menu in the look of the window's menus, for File and Groups...:
// the arrow keys move through the items, Enter picks, Escape or a click
// elsewhere closes it (that click does nothing else) and gives the focus back
// to the button that opened it.

import { element } from './dom';
import { closeOnPressOutside, placeInPage } from './popup';

export interface MenuEntry {
  label: string;
  run: () => void;
}

/** null stands for a separator, an empty row as in the window's menus. */
export type MenuItems = Array<MenuEntry | null>;

let openMenu: { opener: HTMLElement; close: () => void } | null = null;

/** Shows the menu under its button; a second click on the button closes it. */
export function showMenu(opener: HTMLElement, label: string, items: MenuItems): void {
  const wasOpen = openMenu?.opener === opener;
  openMenu?.close();
  if (wasOpen) return;
  const menu = element('div', { class: 'menu', role: 'menu', 'aria-label': label });
  const buttons: HTMLButtonElement[] = [];
  for (const item of items) {
    if (item === null) {
      menu.append(element('div', { class: 'separator', role: 'separator' }));
      continue;
    }
    const button = element('button', { type: 'button', role: 'menuitem', tabindex: '-1' }, item.label);
    button.addEventListener('click', () => {
      close();
      item.run();
    });
    button.addEventListener('pointermove', () => button.focus());
    buttons.push(button);
    menu.append(button);
  }

  let unwatch = () => {};
  const close = () => {
    openMenu = null;
    unwatch();
    menu.remove();
    opener.setAttribute('aria-expanded', 'false');
    opener.focus();
  };
  menu.addEventListener('keydown', (e) => {
    const at = buttons.indexOf(document.activeElement as HTMLButtonElement);
    const moves: Record<string, number> = { ArrowDown: at + 1, ArrowUp: at - 1, Home: 0, End: buttons.length - 1 };
    if (e.key in moves) buttons[(moves[e.key] + buttons.length) % buttons.length]?.focus();
    else if (e.key === 'Escape' || e.key === 'Tab') close();
    else return;
    e.preventDefault();
  });

  document.body.append(menu);
  placeInPage(menu, opener.getBoundingClientRect());
  opener.setAttribute('aria-expanded', 'true');
  // A press on the button itself is left to its click, which closes the menu.
  unwatch = closeOnPressOutside(menu, close, opener);
  openMenu = { opener, close };
  buttons[0]?.focus();
}
