// The open scheme and the rules the window follows for it, apart from any
// element on the page: which group the tweak works on, what the group menu's
// Add, Delete and Rename do, and whether the scheme has changed since it was
// opened or saved. The model decides what counts as a change: each edit says
// whether a save would now write something else.

import { titleOf, type SchemeFile } from './files';

/** Names are fetched and drawn cut short to this many characters: a row shows
    far fewer, and a name of millions is then neither converted nor laid out whole. */
export const shownNameLength = 256;

export interface GroupItem {
  group: number;
  name: string;
}

/** One slider's new value, or the contrast pair's, as the model takes them. */
export type SliderMove = { slider: SliderName; value: number } | { centre: number; amount: number };

/** Keeps the members of a group catching up with a queued tweak; see TweakCatchUp. */
export interface CatchUp {
  start(scheme: Scheme, group: number): void;
  stop(): void;
}

export class SchemeEditor {
  scheme: Scheme | null = null;
  file: SchemeFile | null = null;
  title = '';
  changed = false;
  /** The group the selector shows and the tweak works on; -1 for none. */
  group = -1;

  constructor(
    readonly model: TintwrightModel,
    private readonly catchUp: CatchUp,
  ) {}

  /** Opens the bytes as the new scheme; throws the model's refusal and keeps the current scheme then. */
  open(bytes: Uint8Array, file: SchemeFile | null): void {
    const opened = this.model.openScheme(bytes);
    this.catchUp.stop();
    const previous = this.scheme;
    this.scheme = opened;
    this.file = file;
    this.title = file === null ? '' : titleOf(file.name);
    this.changed = false;
    this.group = -1;
    // The selector's first item: the first group that has a name.
    this.selectGroup(this.nextNamedGroup(0));
    previous?.delete();
  }

  saved(file: SchemeFile): void {
    this.file = file;
    this.title = titleOf(file.name);
    this.changed = false;
  }

  /** The selector's items (of the groups [start, end)): a group without a name has none. */
  groupItems(start = 0, end = Infinity): GroupItem[] {
    const items: GroupItem[] = [];
    const scheme = this.scheme;
    if (scheme === null) return items;
    for (let group = start; group < Math.min(end, scheme.numGroups()); ++group) {
      const name = scheme.groupName(group, shownNameLength);
      if (name !== '') items.push({ group, name });
    }
    return items;
  }

  /** The first group from this one on that has a name (and so an item), or -1. */
  nextNamedGroup(start: number): number {
    const scheme = this.scheme;
    for (let group = start; scheme !== null && group < scheme.numGroups(); ++group) if (scheme.groupName(group, 1) !== '') return group;
    return -1;
  }

  numMembers(): number {
    return this.scheme !== null && this.group >= 0 ? this.scheme.numMembers(this.group) : 0;
  }

  /** Choosing a group starts it afresh: its pending tweak is reset. */
  selectGroup(group: number): void {
    if (this.scheme !== null && this.group >= 0) {
      this.catchUp.stop();
      this.scheme.finishTweak(this.group);
    }
    this.group = this.scheme !== null && group >= 0 && group < this.scheme.numGroups() ? group : -1;
    if (this.scheme !== null && this.group >= 0) this.scheme.resetTweak(this.group);
  }

  /** Add: an empty name abandons it; otherwise the new group is appended and selected. */
  addGroup(name: string): boolean {
    if (this.scheme === null || name === '') return false;
    const group = this.scheme.addGroup(name);
    if (group < 0) return false;
    this.changed = true;
    this.selectGroup(group);
    return true;
  }

  /** Delete: the selected group goes; the one now at its place (or the new last one) is selected. */
  deleteGroup(): boolean {
    const scheme = this.scheme;
    let k = this.group;
    if (scheme === null || k < 0) return false;
    this.selectGroup(-1);
    if (scheme.deleteGroup(k)) this.changed = true;
    if (k === scheme.numGroups()) --k;
    this.selectGroup(k >= 0 && scheme.groupName(k, 1) !== '' ? k : -1);
    return true;
  }

  /** Rename: an empty or unchanged name keeps the old one. */
  renameGroup(name: string): boolean {
    if (this.scheme === null || this.group < 0 || !this.scheme.renameGroup(this.group, name)) return false;
    this.changed = true;
    return true;
  }

  groupName(): string {
    return this.scheme !== null && this.group >= 0 ? this.scheme.groupName(this.group) : '';
  }

  /** Colours dropped on the group list join the group, each once, in ascending order. */
  addColours(colourIndices: Int32Array): boolean {
    if (this.scheme === null || this.group < 0 || colourIndices.length === 0) return false;
    const added = this.scheme.addColoursToGroup(this.group, colourIndices);
    if (added) this.changed = true;
    return added;
  }

  /** A colour picked for a member's stored swatch goes straight into the scheme. */
  pickColour(member: number, argb: number): boolean {
    if (this.scheme === null || this.group < 0) return false;
    const picked = this.scheme.pickColour(this.group, member, argb);
    if (picked) this.changed = true;
    return picked;
  }

  /** A slider moved (the contrast pair moves together): queued on the group; the members catch up between frames. */
  moveSlider(move: SliderMove): boolean {
    if (this.scheme === null || this.group < 0) return false;
    if ('slider' in move) this.scheme.setSlider(this.group, move.slider, move.value);
    else this.scheme.setContrast(this.group, move.centre, move.amount);
    this.catchUp.start(this.scheme, this.group);
    return true;
  }

  /** Reset, Invert, Apply and a forced hue act on the whole group at once. */
  groupAction(action: 'reset' | 'invert' | 'apply' | { hue: number }): boolean {
    const scheme = this.scheme;
    const group = this.group;
    if (scheme === null || group < 0) return false;
    this.catchUp.stop();
    if (action === 'reset') scheme.resetTweak(group);
    else if (action === 'invert') scheme.invertColours(group);
    else if (action === 'apply') {
      if (scheme.applyTweak(group)) this.changed = true;
    } else scheme.forceHue(group, action.hue);
    return true;
  }
}
