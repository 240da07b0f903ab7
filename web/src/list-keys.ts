// The keys that move through a list box, as browsers' own list boxes take them.

/** The row a key moves to from `active`, or null for a key the list does not take. */
export function rowForKey(key: string, active: number, numRows: number, perPage: number): number | null {
  if (numRows === 0) return null;
  const from = active < 0 ? -1 : active;
  const target: Record<string, number> = {
    ArrowDown: from + 1,
    ArrowUp: from < 0 ? 0 : from - 1,
    Home: 0,
    End: numRows - 1,
    PageDown: from + perPage,
    PageUp: from - perPage,
  };
  if (!(key in target)) return null;
  return Math.min(numRows - 1, Math.max(0, target[key]));
}
