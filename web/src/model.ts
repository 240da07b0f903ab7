// The model compiled to WebAssembly: the page's one source of scheme maths and
// file bytes. The module's script (put before the page's own in the one
// script file) defines the global factory.

export interface SliderValues {
  red: number;
  green: number;
  blue: number;
  hue: number;
  saturation: number;
  brightness: number;
  contrast: number;
  contrastCentre: number;
}

export interface SliderRange {
  minimum: number;
  maximum: number;
  step: number;
  neutral: number;
}

export type SliderName = 'red' | 'green' | 'blue' | 'hue' | 'saturation' | 'brightness';

export interface Scheme {
  delete(): void;
  save(): Uint8Array;
  numColours(): number;
  colourName(index: number): string;
  colourArgb(index: number): number;
  colourArgbs(start: number, count: number): Uint32Array;
  numGroups(): number;
  groupName(group: number): string;
  numMembers(group: number): number;
  memberColourIndices(group: number, start: number, count: number): Int32Array;
  storedColours(group: number, start: number, count: number): Uint32Array;
  previewColours(group: number, start: number, count: number): Uint32Array;
  addGroup(name: string): number;
  deleteGroup(group: number): boolean;
  renameGroup(group: number, name: string): boolean;
  addColoursToGroup(group: number, colourIndices: Int32Array | number[]): boolean;
  pickColour(group: number, member: number, argb: number): boolean;
  setSlider(group: number, slider: SliderName, value: number): void;
  setContrast(group: number, centre: number, amount: number): void;
  continueTweak(group: number, maxMembers: number): boolean;
  finishTweak(group: number): void;
  resetTweak(group: number): void;
  invertColours(group: number): void;
  forceHue(group: number, hue: number): void;
  applyTweak(group: number): boolean;
}

export interface TintwrightModel {
  formatScheme(bytes: Uint8Array): Uint8Array;
  tweakColour(argb: number, sliders: SliderValues): number;
  withForcedHue(argb: number, hue: number): number;
  invertedColour(argb: number): number;
  sliderRanges(): Record<keyof SliderValues | 'forcedHue', SliderRange>;
  openScheme(bytes: Uint8Array): Scheme;
}

declare const createTintwrightModel: () => Promise<TintwrightModel>;

export function loadModel(): Promise<TintwrightModel> {
  return createTintwrightModel();
}
