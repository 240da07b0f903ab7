// What a slider's position and keys mean for its value, apart from any
// element: a position along the track maps onto the range as the window's
// slider maps it (the maximum at the top of a vertical slider), snapped to
// the step; the keys are the ARIA slider pattern's.

/** A continuous slider's keyboard step: this part of its range. */
const continuousKeySteps = 100;
const pageSteps = 10;

/** Rounds onto the range's steps (none when continuous) and keeps the value inside the range. */
export function snapped(range: SliderRange, value: number): number {
  const stepped = range.step > 0 ? range.minimum + range.step * Math.round((value - range.minimum) / range.step) : value;
  return Math.min(range.maximum, Math.max(range.minimum, stepped));
}

/** The value at `proportion` (0 to 1) of the track from the minimum's end. */
export function valueAt(range: SliderRange, proportion: number): number {
  return snapped(range, range.minimum + (range.maximum - range.minimum) * Math.min(1, Math.max(0, proportion)));
}

/** Where the value sits along the track, 0 at the minimum's end, 1 at the maximum's. */
export function proportionOf(range: SliderRange, value: number): number {
  const span = range.maximum - range.minimum;
  return span > 0 ? (value - range.minimum) / span : 0;
}

export function keyStep(range: SliderRange): number {
  return range.step > 0 ? range.step : (range.maximum - range.minimum) / continuousKeySteps;
}

/** The value a key moves to, or null for a key the slider does not take. */
export function valueForKey(range: SliderRange, value: number, key: string): number | null {
  const step = keyStep(range);
  const moves: Record<string, number> = {
    ArrowUp: value + step,
    ArrowRight: value + step,
    ArrowDown: value - step,
    ArrowLeft: value - step,
    PageUp: value + pageSteps * step,
    PageDown: value - pageSteps * step,
    Home: range.minimum,
    End: range.maximum,
  };
  if (!(key in moves)) return null;
  // Steps of a hundredth keep to their decimals, without a float's crumbs.
  const moved = range.step > 0 ? moves[key] : Number(moves[key].toPrecision(12));
  return snapped(range, moved);
}

/** The value as a screen reader says it: whole steps as whole numbers, the rest to two places; a sign where the range has both. */
export function valueText(range: SliderRange, value: number): string {
  const digits = range.step >= 1 ? 0 : 2;
  const text = Math.abs(value).toFixed(digits);
  if (Number(text) === 0) return (0).toFixed(digits);
  if (value < 0) return `minus ${text}`;
  return range.minimum < 0 ? `plus ${text}` : text;
}
