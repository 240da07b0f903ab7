// The tweak panel: six vertical sliders on their pads (Red, Green, Blue; Hue,
// Saturation, Brightness), the two contrast sliders, Reset, Apply, Force
// hue... and Invert, placed as in the window. Ranges, steps and neutral
// values come from the model's table.

import { element } from './dom';
import type { SchemeEditor } from './editor';
import { showHueStrip } from './hue-strip';
import { Slider, type SliderBox } from './slider';

/** The colour whose hue is forced to show a hue at full saturation and brightness. */
const pureRed = 0xffff0000;

/** Where the panel puts each of the model's sliders, and what it calls it. */
const places: Partial<Record<string, SliderBox & { label: string }>> = {
  red: { label: 'Red', x: 15, y: 0, width: 20, height: 100, vertical: true },
  green: { label: 'Green', x: 60, y: 0, width: 20, height: 100, vertical: true },
  blue: { label: 'Blue', x: 105, y: 0, width: 20, height: 100, vertical: true },
  hue: { label: 'Hue', x: 15, y: 105, width: 20, height: 100, vertical: true },
  saturation: { label: 'Saturation', x: 60, y: 105, width: 20, height: 100, vertical: true },
  brightness: { label: 'Brightness', x: 105, y: 105, width: 20, height: 100, vertical: true },
  contrast: { label: 'Contrast', x: 55, y: 261, width: 75, height: 16, vertical: false },
  contrastCentre: { label: 'Centre', x: 55, y: 278, width: 75, height: 16, vertical: false },
};

/** The two contrast sliders reach the model together, as either of them moves. */
const contrastPair = ['contrastCentre', 'contrast'];

type PanelAction = 'reset' | 'apply' | 'invert' | 'forceHue';

export class TweakPanelView {
  private readonly sliders = new Map<string, Slider>();

  /** The sliders are the model's, in its order; a range the panel has no place for (the hue strip's) is not a slider here. */
  constructor(panel: HTMLElement, editor: SchemeEditor) {
    for (const [name, range] of Object.entries(editor.model.sliderRanges())) {
      const place = places[name];
      if (place === undefined) continue;
      const id = `slider-${name}`;
      const label = element(
        'span',
        { id: `${id}-label`, class: place.vertical ? 'pad-label' : 'row-label', style: `left:${place.x}px;top:${place.y}px` },
        place.label,
      );
      const slider = new Slider(id, label.id, range, place, (value) => {
        const [centre, amount] = contrastPair;
        if (contrastPair.includes(name)) editor.moveSlider({ centre: this.value(centre), amount: this.value(amount) });
        else editor.moveSlider({ slider: name as SliderName, value });
      });
      if (place.vertical) panel.append(element('div', { class: 'pad', style: `left:${place.x - 15}px;top:${place.y}px` }));
      panel.append(label, slider.element);
      this.sliders.set(name, slider);
    }

    const forcedHueColour = (hue: number) => editor.model.withForcedHue(pureRed, hue);
    const buttons: Array<[PanelAction, string, string, string]> = [
      ['reset', 'Reset', 'Click to reset the sliders.', 'tweak-button reset'],
      ['apply', 'Apply', 'Click to apply the current tweak', 'tweak-button apply'],
      ['forceHue', 'Force hue...', 'Click to set a hue for this group.', 'tweak-button force-hue'],
      ['invert', 'Invert', 'Click to invert all the colours.', 'invert'],
    ];
    for (const [action, text, tip, className] of buttons) {
      const button = element('button', { type: 'button', class: className, title: tip }, text);
      if (action === 'forceHue') button.setAttribute('aria-haspopup', 'dialog');
      button.addEventListener('click', () =>
        action === 'forceHue' ? showHueStrip(button, forcedHueColour, (hue) => editor.groupAction({ hue })) : editor.groupAction(action),
      );
      panel.append(button);
    }
    editor.observe((change) => {
      if (change.tweak) this.resetSliders();
    });
  }

  private value(name: string): number {
    return this.sliders.get(name)?.value ?? 0;
  }

  /** Every slider back to its neutral value; the editor is not told. */
  private resetSliders(): void {
    for (const slider of this.sliders.values()) slider.reset();
  }
}
