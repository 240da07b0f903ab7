// The hue strip of Force hue...: a pop-up 50 by 200 pixels whose strip runs
// from red at the top through the hues back towards red at the bottom. The
// arrow follows the pointer, the margin shows the hue under it, and a click
// forces that hue on the group. From the keyboard it is a slider: the arrow
// keys move the hue, Enter or Space picks it, Escape closes.

import { cssColour } from './colours';
import { element } from './dom';
import { closeOnPressOutside, placeInPage } from './popup';

const width = 50;
const height = 200;
const edge = 8;
const stripRows = height - 2 * edge;

/** The colour of a hue at full saturation and brightness, from the model. */
export type HueColour = (hue: number) => number;

export function showHueStrip(opener: HTMLElement, hueColour: HueColour, chosen: (hue: number) => void): void {
  let hue = 1; // each strip starts with the arrow at the bottom
  const canvas = element('canvas', { width: String(width - 2 * edge), height: String(stripRows), 'aria-hidden': 'true' });
  const context = canvas.getContext('2d')!;
  for (let row = 0; row < stripRows; ++row) {
    context.fillStyle = cssColour(hueColour(row / stripRows));
    context.fillRect(0, row, width - 2 * edge, 1);
  }
  const arrow = element('div', { class: 'hue-arrow', 'aria-hidden': 'true' });
  arrow.innerHTML =
    `<svg width="${width}" height="16" viewBox="0 0 ${width} 16"><path d="M1 1L${0.3 * width} 8L1 15ZM${width - 1} 1L${0.7 * width} 8L${width - 1} 15Z" ` +
    'fill="rgb(255 255 255 / 0.75)" stroke="rgb(0 0 0 / 0.75)" stroke-width="1.2" stroke-linejoin="miter"/></svg>';
  const strip = element(
    'div',
    {
      class: 'hue-strip',
      role: 'slider',
      tabindex: '0',
      'aria-label': 'Hue to force on the group',
      'aria-orientation': 'vertical',
      'aria-valuemin': '0',
      'aria-valuemax': '1',
    },
    canvas,
    arrow,
  );
  const popup = element('div', { class: 'hue-popup' }, strip);

  const show = (newHue: number) => {
    hue = Math.min(1, Math.max(0, newHue));
    arrow.style.top = `${Math.round(stripRows * hue)}px`;
    strip.style.backgroundColor = cssColour(hueColour(hue));
    strip.setAttribute('aria-valuenow', hue.toFixed(3));
    strip.setAttribute('aria-valuetext', `${Math.round(hue * 360)} degrees`);
  };
  // By whole pixel rows, as the strip is drawn.
  const hueAt = (clientY: number) => (Math.floor(clientY - strip.getBoundingClientRect().top) - edge) / stripRows;
  let unwatch = () => {};
  const close = () => {
    unwatch();
    popup.remove();
    opener.focus();
  };
  const pick = () => {
    close();
    chosen(hue);
  };

  strip.addEventListener('pointermove', (e) => show(hueAt(e.clientY)));
  strip.addEventListener('pointerdown', (e) => {
    e.preventDefault();
    show(hueAt(e.clientY));
    pick();
  });
  strip.addEventListener('keydown', (e) => {
    const steps: Record<string, number> = { ArrowUp: -1, ArrowLeft: -1, ArrowDown: 1, ArrowRight: 1, PageUp: -stripRows / 10, PageDown: stripRows / 10 };
    if (e.key in steps) show(hue + steps[e.key] / stripRows);
    else if (e.key === 'Home') show(0);
    else if (e.key === 'End') show(1);
    else if (e.key === 'Enter' || e.key === ' ') pick();
    else if (e.key === 'Escape' || e.key === 'Tab') close();
    else return;
    e.preventDefault();
  });

  show(hue);
  const box = opener.getBoundingClientRect();
  document.body.append(popup);
  // At the button's left edge, below it or above, as the window shows a menu attached to a button.
  placeInPage(popup, box);
  unwatch = closeOnPressOutside(popup, close);
  strip.focus();
}
