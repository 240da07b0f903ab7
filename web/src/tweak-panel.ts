// The tweak panel: six vertical sliders on their pads (Red, Green, Blue; Hue,
// Saturation, Brightness), the two contrast sliders, Reset, Apply, Force
// hue... and Invert, placed as in the window. Ranges, steps and neutral
// values come from the model's table.

import { element } from './dom';

type SliderKey = keyof SliderValues;

interface SliderPlace {
  key: SliderKey;
  label: string;
  x: number;
  y: number;
  vertical: boolean;
}

const sliderPlaces: SliderPlace[] = [
  { key: 'red', label: 'Red', x: 15, y: 0, vertical: true },
  { key: 'green', label: 'Green', x: 60, y: 0, vertical: true },
  { key: 'blue', label: 'Blue', x: 105, y: 0, vertical: true },
  { key: 'hue', label: 'Hue', x: 15, y: 105, vertical: true },
  { key: 'saturation', label: 'Saturation', x: 60, y: 105, vertical: true },
  { key: 'brightness', label: 'Brightness', x: 105, y: 105, vertical: true },
  { key: 'contrast', label: 'Contrast', x: 55, y: 261, vertical: false },
  { key: 'contrastCentre', label: 'Centre', x: 55, y: 278, vertical: false },
];

export type PanelAction = 'reset' | 'apply' | 'invert' | 'forceHue';

export interface TweakPanelEvents {
  slider(key: SliderName, value: number): void;
  contrast(centre: number, amount: number): void;
  button(action: PanelAction, button: HTMLButtonElement): void;
}

export class TweakPanelView {
  private readonly sliders = new Map<SliderKey, HTMLInputElement>();

  constructor(
    panel: HTMLElement,
    private readonly ranges: Record<SliderKey, SliderRange>,
    events: TweakPanelEvents,
  ) {
    for (const place of sliderPlaces) {
      const range = ranges[place.key];
      const id = `slider-${place.key}`;
      const input = element('input', {
        type: 'range',
        id,
        class: place.vertical ? 'slider vertical' : 'slider horizontal',
        min: String(range.minimum),
        max: String(range.maximum),
        step: range.step === 0 ? 'any' : String(range.step),
        style: `left:${place.x}px;top:${place.y}px`,
      });
      const label = element('label', { for: id, class: place.vertical ? 'pad-label' : 'row-label', style: `left:${place.x}px;top:${place.y}px` }, place.label);
      if (place.vertical) panel.append(element('div', { class: 'pad', style: `left:${place.x - 15}px;top:${place.y}px` }));
      panel.append(label, input);
      this.sliders.set(place.key, input);
      input.addEventListener('input', () => {
        if (place.key === 'contrast' || place.key === 'contrastCentre') events.contrast(this.value('contrastCentre'), this.value('contrast'));
        else events.slider(place.key, this.value(place.key));
      });
    }
    this.resetSliders();

    const buttons: Array<[PanelAction, string, string, string]> = [
      ['reset', 'Reset', 'Click to reset the sliders.', 'tweak-button reset'],
      ['apply', 'Apply', 'Click to apply the current tweak', 'tweak-button apply'],
      ['forceHue', 'Force hue...', 'Click to set a hue for this group.', 'tweak-button force-hue'],
      ['invert', 'Invert', 'Click to invert all the colours.', 'invert'],
    ];
    for (const [action, text, tip, className] of buttons) {
      const button = element('button', { type: 'button', class: className, title: tip }, text);
      if (action === 'forceHue') button.setAttribute('aria-haspopup', 'dialog');
      button.addEventListener('click', () => events.button(action, button));
      panel.append(button);
    }
  }

  /** The slider's value as the model takes it: red, green and blue whole numbers. */
  value(key: SliderKey): number {
    const value = Number(this.sliders.get(key)!.value);
    return this.ranges[key].step === 1 ? Math.trunc(value) : value;
  }

  /** Every slider back to its neutral value; nothing is told. */
  resetSliders(): void {
    for (const [key, input] of this.sliders) input.value = String(this.ranges[key].neutral);
  }
}
