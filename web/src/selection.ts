// The rows picked in the scheme colour list, kept as sorted, disjoint,
// half-open ranges: a Shift-click over a million rows costs two numbers.
// Clicks follow the list box the window uses: a plain click picks one row,
// Ctrl (or Cmd) toggles one, Shift adds the rows from the last one clicked.

export class RowSelection {
  private ranges: Array<[number, number]> = [];
  private last = -1;

  /** The row that a Shift-click or Shift-arrow extends from; -1 for none. */
  get anchor(): number {
    return this.last;
  }

  get isEmpty(): boolean {
    return this.ranges.length === 0;
  }

  count(): number {
    return this.ranges.reduce((sum, [a, b]) => sum + b - a, 0);
  }

  contains(row: number): boolean {
    let lo = 0;
    let hi = this.ranges.length;
    while (lo < hi) {
      const mid = (lo + hi) >> 1;
      const [a, b] = this.ranges[mid];
      if (row < a) hi = mid;
      else if (row >= b) lo = mid + 1;
      else return true;
    }
    return false;
  }

  clear(): void {
    this.ranges = [];
    this.last = -1;
  }

  selectOnly(row: number): void {
    this.ranges = [[row, row + 1]];
    this.last = row;
  }

  toggle(row: number): void {
    if (this.contains(row)) this.remove(row, row + 1);
    else this.add(row, row + 1);
    this.last = row;
  }

  /** Adds the rows from the anchor to this one (both included). */
  extendTo(row: number): void {
    if (this.last < 0) {
      this.selectOnly(row);
      return;
    }
    this.add(Math.min(this.last, row), Math.max(this.last, row) + 1);
    this.last = row;
  }

  /** Drops the rows at or past the end of a list that now has fewer rows. */
  limitTo(numRows: number): void {
    this.remove(numRows, Number.MAX_SAFE_INTEGER);
    if (this.last >= numRows) this.last = -1;
  }

  /** The picked rows in ascending order. */
  rows(): Int32Array {
    const result = new Int32Array(this.count());
    let i = 0;
    for (const [a, b] of this.ranges) for (let row = a; row < b; ++row) result[i++] = row;
    return result;
  }

  private add(start: number, end: number): void {
    const kept: Array<[number, number]> = [];
    for (const [a, b] of this.ranges) {
      if (b < start || a > end) kept.push([a, b]);
      else {
        start = Math.min(start, a);
        end = Math.max(end, b);
      }
    }
    kept.push([start, end]);
    this.ranges = kept.sort((x, y) => x[0] - y[0]);
  }

  private remove(start: number, end: number): void {
    const kept: Array<[number, number]> = [];
    for (const [a, b] of this.ranges) {
      if (a < start) kept.push([a, Math.min(b, start)]);
      if (b > end) kept.push([Math.max(a, end), b]);
    }
    this.ranges = kept;
  }
}
