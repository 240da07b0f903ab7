// The files opened (and saved under a new name) during this visit, most recent
// first, at most ten, as the window's File menu lists them. Nothing is kept
// after the page closes.

export const maxRecentFiles = 10;

export class RecentFiles<T> {
  private entries: T[] = [];

  constructor(private readonly same: (a: T, b: T) => Promise<boolean>) {}

  get list(): readonly T[] {
    return this.entries;
  }

  /** Puts the file first; an earlier entry for the same file goes. */
  async add(file: T): Promise<void> {
    const kept: T[] = [];
    for (const entry of this.entries) if (!(await this.same(entry, file))) kept.push(entry);
    this.entries = [file, ...kept].slice(0, maxRecentFiles);
  }

  /** Drops the file, as the window drops a file that is gone. */
  async remove(file: T): Promise<void> {
    const kept: T[] = [];
    for (const entry of this.entries) if (!(await this.same(entry, file))) kept.push(entry);
    this.entries = kept;
  }
}
