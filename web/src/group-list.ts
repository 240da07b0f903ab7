// The group colour list: one row per member of the current group, the stored
// colour at the left (a click picks a new one with the browser's colour
// input, straight into the scheme), the colour's name, and the preview at the
// right, which follows the sliders.

import { cssColour, hexText, rgbInputValue, withPickedRgb } from './colours';
import { element } from './dom';
import { shownNameLength, type SchemeEditor } from './editor';
import { rowForKey } from './list-keys';
import { VirtualRows, type RowFiller } from './virtual-list';

export class GroupListView implements RowFiller {
  private readonly rows: VirtualRows;
  private active = -1;

  constructor(
    private readonly list: HTMLElement,
    private readonly editor: SchemeEditor,
  ) {
    this.rows = new VirtualRows(list, this);
    list.addEventListener('pointerdown', (e) => this.pointerDown(e));
    list.addEventListener('keydown', (e) => this.keyDown(e));
    editor.observe((change) => {
      if (change.group) this.reset();
      else if (change.members) this.refresh();
    });
  }

  createRow(): HTMLElement {
    const input = element('input', { type: 'color', tabindex: '-1' });
    input.addEventListener('input', () => ((input.parentElement as HTMLElement).style.backgroundColor = input.value));
    input.addEventListener('change', () => this.pick(input));
    return element(
      'div',
      { class: 'row', role: 'option', 'aria-selected': 'false' },
      element('span', { class: 'swatch outlined stored' }, input),
      element('span', { class: 'name' }),
      element('span', { class: 'preview' }),
    );
  }

  fillRows(first: number, rows: HTMLElement[]): void {
    const scheme = this.editor.scheme;
    const group = this.editor.group;
    if (scheme === null || group < 0) return;
    const count = rows.length;
    const colourIndices = scheme.memberColourIndices(group, first, count);
    const stored = scheme.storedColours(group, first, count);
    // Brings exactly these members up to date with a queued tweak first.
    const previews = scheme.previewColours(group, first, count);
    const total = String(scheme.numMembers(group));
    rows.forEach((row, i) => {
      const member = first + i;
      const name = scheme.colourName(colourIndices[i], shownNameLength);
      const [storedSwatch, nameText, previewSwatch] = Array.from(row.children) as HTMLElement[];
      const input = storedSwatch.firstChild as HTMLInputElement;
      row.id = `group-member-${member}`;
      row.dataset.member = String(member);
      row.setAttribute('aria-setsize', total);
      row.setAttribute('aria-posinset', String(member + 1));
      row.setAttribute('aria-label', `${name}, stored ${hexText(stored[i])}, preview ${hexText(previews[i])}`);
      row.classList.toggle('active', member === this.active);
      storedSwatch.style.backgroundColor = cssColour(stored[i]);
      storedSwatch.dataset.argb = String(stored[i]);
      input.value = rgbInputValue(stored[i]);
      input.setAttribute('aria-label', `Stored colour of ${name}`);
      nameText.textContent = name;
      previewSwatch.style.backgroundColor = cssColour(previews[i]);
    });
  }

  /** Shows the current group's members again (slider step, drop, Apply...). */
  private refresh(): void {
    const count = this.editor.numMembers();
    if (this.active >= count) this.setActive(-1);
    this.rows.setCount(count);
  }

  /** Another group: the list starts at its top. */
  private reset(): void {
    this.setActive(-1);
    this.list.scrollTop = 0;
    this.refresh();
  }

  private pick(input: HTMLInputElement): void {
    const row = input.closest('.row') as HTMLElement;
    const stored = Number((input.parentElement as HTMLElement).dataset.argb);
    // A colour the scheme did not take: the swatch the input coloured shows the stored colour again.
    if (!this.editor.pickColour(Number(row.dataset.member), withPickedRgb(stored, input.value))) this.rows.draw();
  }

  private setActive(row: number): void {
    this.active = row;
    this.rows.showActive(row, 'group-member-');
  }

  private pointerDown(e: PointerEvent): void {
    const row = this.rows.rowAt(e.clientY);
    if (e.button !== 0 || row < 0) return;
    this.setActive(row);
    this.rows.draw();
  }

  private keyDown(e: KeyboardEvent): void {
    if ((e.key === 'Enter' || e.key === ' ') && this.active >= 0) {
      // The keyboard's way to the stored swatch's colour input.
      const input = this.list.querySelector<HTMLInputElement>(`#group-member-${this.active} input`);
      if (input !== null) {
        e.preventDefault();
        if ('showPicker' in input) input.showPicker();
        else (input as HTMLInputElement).click();
      }
      return;
    }
    const row = rowForKey(e.key, this.active, this.rows.count, this.rows.rowsPerPage());
    if (row === null) return;
    e.preventDefault();
    this.setActive(row);
    this.rows.draw();
  }
}
