// A list that draws only the rows in view (and a few either side), on
// @tanstack/virtual-core. Rows are all one height; the elements are reused as
// the list scrolls, and the owner fills a whole run of them at once, so it can
// fetch their colours from the model in one call.
//
// Browsers lay out no element past some height (Firefox about 17.9 million
// pixels, 800,000 rows): a longer list scrolls at a scale. The virtualizer
// then works in scrolled pixels (rows and view both divided by the scale), and
// the rows are placed in list pixels under the view.

import { Virtualizer, elementScroll, observeElementOffset, observeElementRect } from '@tanstack/virtual-core';

export interface RowFiller {
  createRow(): HTMLElement;
  /** Shows rows first, first + 1, ... in the elements given, in order. */
  fillRows(first: number, rows: HTMLElement[]): void;
}

export const rowHeight = 22;

/** The tallest the scrolled content gets, well under every browser's limit. */
export const tallestList = 8_000_000;

export class VirtualRows {
  private virtualizer!: Virtualizer<HTMLElement, HTMLElement>;
  private unmount: () => void = () => {};
  /** List pixels per scrolled pixel: 1 until the list is taller than tallestList. */
  private scale = 1;
  private readonly spacer: HTMLElement;
  private readonly holder: HTMLElement;
  private readonly elements: HTMLElement[] = [];
  private firstStart = 0;

  constructor(
    private readonly scroller: HTMLElement,
    private readonly filler: RowFiller,
  ) {
    this.spacer = scroller.querySelector('.spacer') as HTMLElement;
    this.holder = scroller.querySelector('.rows') as HTMLElement;
    this.mount(0);
    scroller.addEventListener('scroll', () => this.place(), { passive: true });
  }

  private mount(count: number): void {
    this.unmount();
    this.virtualizer = new Virtualizer<HTMLElement, HTMLElement>({
      count,
      getScrollElement: () => this.scroller,
      estimateSize: () => rowHeight / this.scale,
      overscan: 2,
      observeElementRect: (instance, report) => observeElementRect(instance, (r) => report({ width: r.width, height: r.height / this.scale })),
      observeElementOffset,
      scrollToFn: elementScroll,
      onChange: () => this.draw(),
    });
    this.unmount = this.virtualizer._didMount();
    this.virtualizer._willUpdate();
  }

  get count(): number {
    return this.virtualizer.options.count;
  }

  setCount(count: number): void {
    const scale = Math.max(1, (count * rowHeight) / tallestList);
    if (scale !== this.scale) {
      this.scale = scale;
      this.mount(count);
    } else if (count !== this.count) this.virtualizer.setOptions({ ...this.virtualizer.options, count });
    this.draw();
  }

  /** Fills the drawn rows again, after their content changed. */
  draw(): void {
    const items = this.virtualizer.getVirtualItems();
    const count = items.length;
    // At a scale the content reaches one view further than the rows, so the last rows can be scrolled to.
    const view = this.scroller.clientHeight;
    this.spacer.style.height = `${this.virtualizer.getTotalSize() + view - view / this.scale}px`;
    while (this.elements.length < count) {
      const row = this.filler.createRow();
      this.elements.push(row);
      this.holder.append(row);
    }
    this.firstStart = count > 0 ? items[0].start : 0;
    this.place();
    const shown = this.elements.slice(0, count);
    this.elements.forEach((row, i) => (row.hidden = i >= count));
    if (count > 0) this.filler.fillRows(items[0].index, shown);
  }

  /** Puts the drawn rows where the scroll position shows them. */
  private place(): void {
    const top = this.scroller.scrollTop;
    this.holder.style.transform = `translateY(${top + (this.firstStart - top) * this.scale}px)`;
  }

  scrollToRow(row: number): void {
    this.virtualizer.scrollToIndex(row, { align: 'auto' });
    this.draw();
  }

  /** Marks a row as the list's active one for screen readers (the row's id
      is `idPrefix` and its number) and scrolls it into view; -1 for none. */
  showActive(row: number, idPrefix: string): void {
    if (row < 0) this.scroller.removeAttribute('aria-activedescendant');
    else {
      this.scrollToRow(row);
      this.scroller.setAttribute('aria-activedescendant', `${idPrefix}${row}`);
    }
  }

  /** The row under a point of the page, or -1 past the last row. */
  rowAt(clientY: number): number {
    const y = clientY - this.scroller.getBoundingClientRect().top;
    const row = Math.floor((this.scroller.scrollTop * this.scale + y) / rowHeight);
    return row >= 0 && row < this.count ? row : -1;
  }

  /** Rows that fit in the list's height, for Page Up and Page Down. */
  rowsPerPage(): number {
    return Math.max(1, Math.floor(this.scroller.clientHeight / rowHeight));
  }
}
