// How a colour of the model (0xAARRGGBB, unsigned) shows on the page.

/** A CSS colour with the alpha kept, so a translucent colour shows what lies beneath. */
export function cssColour(argb: number): string {
  const a = (argb >>> 24) & 0xff;
  return `rgb(${(argb >>> 16) & 0xff} ${(argb >>> 8) & 0xff} ${argb & 0xff} / ${(a / 255).toFixed(3)})`;
}

/** The colour as the scheme file writes it, eight digits, for screen readers. */
export function hexText(argb: number): string {
  return (argb >>> 0).toString(16).padStart(8, '0');
}

/** #rrggbb for the browser's colour input, which has no alpha. */
export function rgbInputValue(argb: number): string {
  return '#' + (argb & 0xffffff).toString(16).padStart(6, '0');
}

/** A colour picked in the browser's colour input, keeping the stored colour's alpha. */
export function withPickedRgb(storedArgb: number, inputValue: string): number {
  return ((storedArgb & 0xff000000) | (parseInt(inputValue.slice(1), 16) & 0xffffff)) >>> 0;
}
