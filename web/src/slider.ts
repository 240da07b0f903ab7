// The page's own slider, drawn and driven alike in every browser, as the
// window's sliders are: a track of the look's gradient along the middle of
// the box, 8 pixels in from each end, and a thumb 10 pixels long centred on
// the value; a vertical slider has its maximum at the top. A press anywhere
// on it moves the thumb there and a drag follows the pointer; the keys are
// the ARIA slider pattern's.

import { element } from './dom';
import { proportionOf, snapped, valueAt, valueForKey, valueText } from './slider-values';

export interface SliderBox {
  x: number;
  y: number;
  width: number;
  height: number;
  vertical: boolean;
}

/** The thumb's length along the track. */
const thumbLength = 10;

/** How far the track's ends stay from the box's ends: the window's slider keeps its thumb's radius free. */
function trackIndent(box: SliderBox): number {
  return Math.min(7, Math.floor(box.width / 2), Math.floor(box.height / 2)) + 1;
}

export class Slider {
  readonly element: HTMLElement;
  private readonly thumb: HTMLElement;
  private current: number;
  private readonly indent: number;
  private readonly length: number;

  constructor(
    id: string,
    labelId: string,
    private readonly range: SliderRange,
    private readonly box: SliderBox,
    private readonly changed: (value: number) => void,
  ) {
    this.indent = trackIndent(box);
    this.length = (box.vertical ? box.height : box.width) - 2 * this.indent;
    const along = box.vertical ? `top:${this.indent}px;height:${this.length}px` : `left:${this.indent}px;width:${this.length}px`;
    this.thumb = element('div', { class: 'slider-thumb' });
    this.element = element(
      'div',
      {
        id,
        class: box.vertical ? 'slider vertical' : 'slider horizontal',
        role: 'slider',
        tabindex: '0',
        'aria-labelledby': labelId,
        'aria-orientation': box.vertical ? 'vertical' : 'horizontal',
        'aria-valuemin': String(range.minimum),
        'aria-valuemax': String(range.maximum),
        style: `left:${box.x}px;top:${box.y}px;width:${box.width}px;height:${box.height}px`,
      },
      element('div', { class: 'slider-track', style: along }),
      this.thumb,
    );
    this.current = range.neutral;
    this.show();

    const at = (e: PointerEvent) => {
      const bounds = this.element.getBoundingClientRect();
      const offset = (box.vertical ? e.clientY - bounds.top : e.clientX - bounds.left) - this.indent;
      const proportion = this.length > 0 ? offset / this.length : 0;
      this.userSet(valueAt(range, box.vertical ? 1 - proportion : proportion));
    };
    this.element.addEventListener('pointerdown', (e) => {
      if (e.button !== 0) return;
      e.preventDefault();
      this.element.focus();
      this.element.setPointerCapture(e.pointerId);
      at(e);
    });
    this.element.addEventListener('pointermove', (e) => {
      if (this.element.hasPointerCapture(e.pointerId)) at(e);
    });
    this.element.addEventListener('keydown', (e) => {
      const moved = valueForKey(range, this.current, e.key);
      if (moved === null || e.altKey || e.ctrlKey || e.metaKey) return;
      e.preventDefault();
      this.userSet(moved);
    });
  }

  get value(): number {
    return this.current;
  }

  /** Sets the value without telling anyone, as the window's resetSliders does. */
  set(value: number): void {
    this.current = snapped(this.range, value);
    this.show();
  }

  reset(): void {
    this.set(this.range.neutral);
  }

  private userSet(value: number): void {
    if (value === this.current) return;
    this.set(value);
    this.changed(this.current);
  }

  private show(): void {
    const proportion = proportionOf(this.range, this.current);
    const centre = this.indent + (this.box.vertical ? 1 - proportion : proportion) * this.length;
    this.thumb.style.setProperty(this.box.vertical ? 'top' : 'left', `${centre - thumbLength / 2}px`);
    this.element.setAttribute('aria-valuenow', String(this.current));
    this.element.setAttribute('aria-valuetext', valueText(this.range, this.current));
  }
}
