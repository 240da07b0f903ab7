// The scheme model for web pages: build-web/model/tintwright-model.js, built by
// scripts/web.sh from the same C++ model sources as the window program. One
// file with the WebAssembly inside: in Node, require() gives the factory; in a
// page, a classic <script> defines the global createTintwrightModel. Nothing is
// fetched, so it works from file:// too.
//
// Colours are unsigned 32-bit 0xAARRGGBB numbers, never negative. Every call
// that fails throws, with nothing changed: an Error whose message is the
// reason (for a scheme, the same text tintwright-cli prints after "FILE: "); a
// TypeError naming the argument for one that is not what this file says (an
// index, a count or a colour that is not a whole number, a value that is not
// a number, bytes that are not a Uint8Array, a name that is not a string); a
// RangeError naming it for an index, a colour or a slider value outside what
// the call accepts. Running out of the module's memory (it grows up to 2 GB)
// throws an Error too. A call that fails gives back what it took, and the
// module keeps working, however many fail. Arguments are read before the
// module runs: a getter of one that calls the module sees it as it was.
//
// Names are strings of exactly their characters both ways: a name read from
// a file comes out as it is, a lone surrogate (&#xD800;) included, and given
// back unchanged it is the same name. A name typed in must be valid Unicode:
// a lone surrogate or a NUL (which no file can hold) is refused with an Error
// saying which, never changed.

declare function createTintwrightModel(options?: TintwrightModelOptions): Promise<TintwrightModel>;

interface TintwrightModelOptions {
  /** The memory the module runs in, instead of one it makes itself (initial at
      least 16 MB, 256 pages; a smaller maximum limits how large a scheme opens). */
  wasmMemory?: WebAssembly.Memory;
}

/** The panel's values, as the window's sliders deliver them. A slider left
    out is at its neutral position. */
interface SliderValues {
  red: number; // whole numbers -255..255
  green: number;
  blue: number;
  hue: number; // -0.5..0.5
  saturation: number; // 0..2
  brightness: number; // 0..2
  contrast: number; // 0..1 (the ContrastValue slider)
  contrastCentre: number; // 0..1
}

type SliderName = 'red' | 'green' | 'blue' | 'hue' | 'saturation' | 'brightness';

/** step 0: continuous. */
interface SliderRange {
  minimum: number;
  maximum: number;
  step: number;
  neutral: number;
}

interface TintwrightModel {
  // Plain functions for checks and tools.

  /** The bytes Save writes after opening these bytes; throws Error(the refusal). */
  formatScheme(bytes: Uint8Array): Uint8Array;
  tweakColour(argb: number, sliders: Partial<SliderValues>): number;
  /** hue 0..1, as the Force hue... strip gives it. */
  withForcedHue(argb: number, hue: number): number;
  invertedColour(argb: number): number;
  /** The ranges, steps and neutral values the window's sliders use (the
      model's one table), plus 'forcedHue' for the hue strip (0..1). */
  sliderRanges(): Record<keyof SliderValues | 'forcedHue', SliderRange>;

  /** Throws Error(message = the refusal text, the same text tintwright-cli
      gives after "FILE: "). */
  openScheme(bytes: Uint8Array): Scheme;

  /** The bytes the module's allocations hold now; a deleted scheme gives its back. */
  allocatedBytes(): number;
}

/** An embind object: call delete() when the scheme is closed. Indices count
    from 0: colours in file order, groups in list order, members in group
    order. A single colour or group outside its list throws a RangeError; a
    batch (start, count) gives the part of it that exists, as Array.slice. */
interface Scheme {
  /** Gives the scheme's memory back to the module. */
  delete(): void;
  /** Exactly the bytes the window's Save writes (pending previews are not
      saved, as in the window). */
  save(): Uint8Array;

  // Colours, in file order.
  numColours(): number;
  /** At most maxLength characters of it (a surrogate pair counts as one),
      so that a page drawing a long name cut short converts only that. */
  colourName(index: number, maxLength?: number): string;
  colourArgb(index: number): number;
  /** A batch, for large schemes. */
  colourArgbs(start: number, count: number): Uint32Array;

  // Groups, in list order, and their members.
  numGroups(): number;
  groupName(group: number, maxLength?: number): string;
  numMembers(group: number): number;
  /** Each member's colour, as an index into the colour list. */
  memberColourIndices(group: number, start: number, count: number): Int32Array;
  storedColours(group: number, start: number, count: number): Uint32Array;
  /** Brings exactly these members up to date with the queued tweak first. */
  previewColours(group: number, start: number, count: number): Uint32Array;

  // The edits a user makes; each says whether the scheme changed (whether a
  // save would now write something else), as the window's model decides.

  /** Index of the new group (after the others); -1 for an empty name; an
      Error for a name that is not valid Unicode. */
  addGroup(name: string): number;
  /** false when there is no such group. */
  deleteGroup(group: number): boolean;
  /** false, old name kept, for an empty or the same name (the one groupName
      gives, whatever its characters); an Error for another name that is not
      valid Unicode. */
  renameGroup(group: number, name: string): boolean;
  /** In colour-list order; colours the group has and indices outside the
      list (whole numbers) are skipped. */
  addColoursToGroup(group: number, colourIndices: Int32Array | number[]): boolean;
  /** The member's stored colour set directly, its preview following with the
      group's latest tweak; false for the same colour or a member outside the group. */
  pickColour(group: number, member: number, argb: number): boolean;

  // A group's tweak as the panel sets it.

  /** Queued: costs the same at any group size. */
  setSlider(group: number, slider: SliderName, value: number): void;
  /** Queued, both together. */
  setContrast(group: number, centre: number, amount: number): void;
  /** Brings up to maxMembers more members up to date; true while members are still behind. */
  continueTweak(group: number, maxMembers: number): boolean;
  finishTweak(group: number): void;
  resetTweak(group: number): void;
  invertColours(group: number): void;
  /** hue 0..1. */
  forceHue(group: number, hue: number): void;
  /** Every member's latest preview into the scheme; true when a stored colour changed. */
  applyTweak(group: number): boolean;
}

/** Node: require('tintwright-model') (the package scripts/web.sh package makes) gives the factory. */
declare module 'tintwright-model' {
  export = createTintwrightModel;
}
