// The scheme colour list at the left: every colour of the scheme with its
// swatch and name, several of them selectable (Ctrl-click toggles one,
// Shift-click adds a run), and the source from which selected colours are
// dragged onto the group colour list.

import { cssColour, hexText } from './colours';
import { element } from './dom';
import { shownNameLength, type SchemeEditor } from './editor';
import { rowForKey } from './list-keys';
import { RowSelection } from './selection';
import { VirtualRows, type RowFiller } from './virtual-list';

/** How far the pointer moves with the button down before a press becomes a drag. */
const dragThreshold = 4;

export interface ColourDrop {
  /** The selected colours were let go at this point of the page. */
  dropped(colourIndices: Int32Array, clientX: number, clientY: number): void;
}

export class SchemeListView implements RowFiller {
  readonly selection = new RowSelection();
  private readonly rows: VirtualRows;
  private active = -1;
  private press: { x: number; y: number; row: number; selectOnRelease: boolean; dragging: boolean } | null = null;

  constructor(
    private readonly list: HTMLElement,
    private readonly dragImage: HTMLElement,
    private readonly editor: SchemeEditor,
    private readonly drop: ColourDrop,
  ) {
    this.rows = new VirtualRows(list, this);
    list.addEventListener('pointerdown', (e) => this.pointerDown(e));
    list.addEventListener('pointermove', (e) => this.pointerMove(e));
    list.addEventListener('pointerup', (e) => this.pointerUp(e));
    list.addEventListener('pointercancel', () => this.endPress());
    list.addEventListener('keydown', (e) => this.keyDown(e));
    editor.observe((change) => {
      if (change.scheme) this.reset();
      else if (change.colours) this.refresh();
    });
  }

  createRow(): HTMLElement {
    return element('div', { class: 'row', role: 'option' }, element('span', { class: 'swatch outlined' }), element('span', { class: 'name' }));
  }

  fillRows(first: number, rows: HTMLElement[]): void {
    const scheme = this.editor.scheme;
    if (scheme === null) return;
    const colours = scheme.colourArgbs(first, rows.length);
    const total = String(scheme.numColours());
    rows.forEach((row, i) => {
      const index = first + i;
      const name = scheme.colourName(index, shownNameLength);
      row.id = `scheme-colour-${index}`;
      row.setAttribute('aria-setsize', total);
      row.setAttribute('aria-posinset', String(index + 1));
      row.setAttribute('aria-selected', String(this.selection.contains(index)));
      row.setAttribute('aria-label', `${name}, ${hexText(colours[i])}`);
      row.classList.toggle('active', index === this.active);
      (row.firstChild as HTMLElement).style.backgroundColor = cssColour(colours[i]);
      (row.lastChild as HTMLElement).textContent = name;
    });
  }

  /** Shows the current scheme's colours again (after Apply or a picked colour). */
  private refresh(): void {
    const count = this.editor.scheme?.numColours() ?? 0;
    this.selection.limitTo(count);
    if (this.active >= count) this.setActive(-1);
    this.rows.setCount(count);
  }

  /** A new scheme: the list starts at its top with nothing selected. */
  private reset(): void {
    this.selection.clear();
    this.setActive(-1);
    this.list.scrollTop = 0;
    this.refresh();
  }

  private setActive(row: number): void {
    this.active = row;
    this.rows.showActive(row, 'scheme-colour-');
  }

  private pointerDown(e: PointerEvent): void {
    if (e.button !== 0) return;
    const row = this.rows.rowAt(e.clientY);
    if (row < 0) return;
    e.preventDefault();
    this.list.focus();
    // A press on a selected row keeps the selection until release, so that
    // several selected rows can be dragged together.
    let selectOnRelease = false;
    if (e.ctrlKey || e.metaKey) this.selection.toggle(row);
    else if (e.shiftKey) this.selection.extendTo(row);
    else if (this.selection.contains(row)) selectOnRelease = true;
    else this.selection.selectOnly(row);
    this.setActive(row);
    this.rows.draw();
    this.press = { x: e.clientX, y: e.clientY, row, selectOnRelease, dragging: false };
    this.list.setPointerCapture(e.pointerId);
  }

  private pointerMove(e: PointerEvent): void {
    const press = this.press;
    if (press === null) return;
    if (!press.dragging && Math.hypot(e.clientX - press.x, e.clientY - press.y) >= dragThreshold && !this.selection.isEmpty) {
      press.dragging = true;
      this.showDragImage();
    }
    if (press.dragging) {
      // Beside the pointer, but never past the page's edges.
      const page = document.documentElement;
      this.dragImage.style.left = `${Math.max(0, Math.min(e.clientX + 8, page.clientWidth - this.dragImage.offsetWidth))}px`;
      this.dragImage.style.top = `${Math.max(0, Math.min(e.clientY + 8, page.clientHeight - this.dragImage.offsetHeight))}px`;
    }
  }

  private pointerUp(e: PointerEvent): void {
    const press = this.press;
    if (press === null) return;
    this.endPress();
    if (press.dragging) this.drop.dropped(this.selection.rows(), e.clientX, e.clientY);
    else if (press.selectOnRelease) {
      this.selection.selectOnly(press.row);
      this.rows.draw();
    }
  }

  private endPress(): void {
    this.press = null;
    this.dragImage.hidden = true;
    this.dragImage.replaceChildren();
  }

  /** The drag shows the selected rows that are in view, as the window's drag does. */
  private showDragImage(): void {
    const shown = Array.from(this.list.querySelectorAll<HTMLElement>('.row[aria-selected="true"]:not([hidden])')).slice(0, 12);
    const copies = shown.map((row) => {
      const copy = row.cloneNode(true) as HTMLElement;
      copy.removeAttribute('id');
      return copy;
    });
    const count = this.selection.count();
    if (count > copies.length) copies.push(element('div', { class: 'row more' }, `${count.toLocaleString('en')} colours`));
    this.dragImage.replaceChildren(...copies);
    this.dragImage.hidden = false;
  }

  private keyDown(e: KeyboardEvent): void {
    const count = this.rows.count;
    if (e.key === ' ' && this.active >= 0) {
      this.selection.toggle(this.active);
    } else {
      const row = rowForKey(e.key, this.active, count, this.rows.rowsPerPage());
      if (row === null) return;
      // Ctrl (Cmd) moves without selecting, so that Space can then add rows apart from each other.
      if (e.shiftKey) this.selection.extendTo(row);
      else if (!(e.ctrlKey || e.metaKey)) this.selection.selectOnly(row);
      this.setActive(row);
    }
    e.preventDefault();
    this.rows.draw();
  }
}
