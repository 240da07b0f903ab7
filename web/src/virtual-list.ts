// A list that draws only the rows in view (and a few either side), on
// @tanstack/virtual-core. Rows are all one height; the elements are reused as
// the list scrolls, and the owner fills a whole run of them at once, so it can
// fetch their colours from the model in one call.

import { Virtualizer, elementScroll, observeElementOffset, observeElementRect } from '@tanstack/virtual-core';

export interface RowFiller {
  createRow(): HTMLElement;
  /** Shows rows first, first + 1, ... in the elements given, in order. */
  fillRows(first: number, rows: HTMLElement[]): void;
}

export const rowHeight = 22;

export class VirtualRows {
  private readonly virtualizer: Virtualizer<HTMLElement, HTMLElement>;
  private readonly spacer: HTMLElement;
  private readonly holder: HTMLElement;
  private readonly elements: HTMLElement[] = [];
  private first = 0;

  constructor(
    private readonly scroller: HTMLElement,
    private readonly filler: RowFiller,
  ) {
    this.spacer = scroller.querySelector('.spacer') as HTMLElement;
    this.holder = scroller.querySelector('.rows') as HTMLElement;
    this.virtualizer = new Virtualizer<HTMLElement, HTMLElement>({
      count: 0,
      getScrollElement: () => scroller,
      estimateSize: () => rowHeight,
      overscan: 2,
      observeElementRect,
      observeElementOffset,
      scrollToFn: elementScroll,
      onChange: () => this.draw(),
    });
    this.virtualizer._didMount();
    this.virtualizer._willUpdate();
  }

  get count(): number {
    return this.virtualizer.options.count;
  }

  setCount(count: number): void {
    if (count !== this.count) this.virtualizer.setOptions({ ...this.virtualizer.options, count });
    this.draw();
  }

  /** The rows drawn now (those in view and a few either side). */
  drawnRange(): { first: number; count: number } {
    return { first: this.first, count: this.elements.filter((e) => !e.hidden).length };
  }

  /** Fills the drawn rows again, after their content changed. */
  draw(): void {
    const items = this.virtualizer.getVirtualItems();
    const count = items.length;
    this.spacer.style.height = `${this.virtualizer.getTotalSize()}px`;
    while (this.elements.length < count) {
      const row = this.filler.createRow();
      this.elements.push(row);
      this.holder.append(row);
    }
    this.first = count > 0 ? items[0].index : 0;
    this.holder.style.transform = `translateY(${count > 0 ? items[0].start : 0}px)`;
    const shown = this.elements.slice(0, count);
    this.elements.forEach((row, i) => (row.hidden = i >= count));
    if (count > 0) this.filler.fillRows(this.first, shown);
  }

  scrollToRow(row: number): void {
    this.virtualizer.scrollToIndex(row, { align: 'auto' });
    this.draw();
  }

  /** The row under a point of the page, or -1 past the last row. */
  rowAt(clientY: number): number {
    const top = this.scroller.getBoundingClientRect().top;
    const row = Math.floor((clientY - top + this.scroller.scrollTop) / rowHeight);
    return row >= 0 && row < this.count ? row : -1;
  }

  /** Rows that fit in the list's height, for Page Up and Page Down. */
  rowsPerPage(): number {
    return Math.max(1, Math.floor(this.scroller.clientHeight / rowHeight));
  }
}
