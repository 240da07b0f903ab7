// The open scheme and the rules the window follows for it, apart from any
// element on the page: which group the tweak works on, what the group menu's
// Add, Delete and Rename do, and whether the scheme has changed since it was
// opened or saved. The model decides what counts as a change: each edit says
// whether a save would now write something else. The views show the editor:
// each edit tells them what it changed, so that each redraws only its part.

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

/** What an edit changed: each view redraws only what it shows of it. */
export interface EditorChange {
  scheme?: boolean; // another scheme was opened: every view starts afresh
  file?: boolean; // the file, its title, or whether the scheme has changes to save
  groups?: boolean; // groups were added or deleted
  groupName?: boolean; // the selected group was renamed
  group?: boolean; // another group (or none) is selected: its list starts at the top
  tweak?: boolean; // the sliders' tweak starts afresh (another group, Reset, Invert, Apply): they show neutral again
  members?: boolean; // the selected group's members: who they are, their stored colours or their previews
  colours?: boolean; // the scheme's stored colours
}

export class SchemeEditor {
  #scheme: Scheme | null = null;
  #file: SchemeFile | null = null;
  #changed = false;
  #group = -1;
  private readonly observers: Array<(change: EditorChange) => void> = [];

  constructor(
    readonly model: TintwrightModel,
    private readonly catchUp: CatchUp,
  ) {}

  get scheme(): Scheme | null {
    return this.#scheme;
  }

  get file(): SchemeFile | null {
    return this.#file;
  }

  get title(): string {
    return this.#file === null ? '' : titleOf(this.#file.name);
  }

  get changed(): boolean {
    return this.#changed;
  }

  /** The group the selector shows and the tweak works on; -1 for none. */
  get group(): number {
    return this.#group;
  }

  /** The observer is shown the editor as it is, then told of each change once the edit is done. */
  observe(observer: (change: EditorChange) => void): void {
    this.observers.push(observer);
    observer({ scheme: true, file: true, groups: true, group: true, tweak: this.#group >= 0 });
  }

  /** Tells the observers; an edit that `changed` what a save writes leaves the scheme with changes to save. */
  private tell(change: EditorChange, changed = false): true {
    if (changed && !this.#changed) {
      this.#changed = true;
      change.file = true;
    }
    for (const observer of this.observers) observer(change);
    return true;
  }

  /** Opens the bytes as the new scheme; throws the model's refusal and keeps the current scheme then. */
  open(bytes: Uint8Array, file: SchemeFile | null): void {
    const opened = this.model.openScheme(bytes);
    this.catchUp.stop();
    const previous = this.#scheme;
    this.#scheme = opened;
    this.#group = -1;
    // The selector's first item: the first group that has a name.
    const change = this.choose(this.nextNamedGroup(0));
    previous?.delete();
    this.#file = file;
    this.#changed = false;
    this.tell({ ...change, scheme: true, groups: true, file: true });
  }

  saved(file: SchemeFile): void {
    this.#file = file;
    this.#changed = false;
    this.tell({ file: true });
  }

  /** The selector's items (of the groups [start, end)): a group without a name has none. */
  groupItems(start = 0, end = Infinity): GroupItem[] {
    const items: GroupItem[] = [];
    const scheme = this.#scheme;
    if (scheme === null) return items;
    for (let group = start; group < Math.min(end, scheme.numGroups()); ++group) {
      const name = scheme.groupName(group, shownNameLength);
      if (name !== '') items.push({ group, name });
    }
    return items;
  }

  /** The first group from this one on that has a name (and so an item), or -1. */
  nextNamedGroup(start: number): number {
    const scheme = this.#scheme;
    for (let group = start; scheme !== null && group < scheme.numGroups(); ++group) if (scheme.groupName(group, 1) !== '') return group;
    return -1;
  }

  numMembers(): number {
    return this.#scheme !== null && this.#group >= 0 ? this.#scheme.numMembers(this.#group) : 0;
  }

  /** Choosing a group starts it afresh: its pending tweak is reset. */
  selectGroup(group: number): void {
    this.tell(this.choose(group));
  }

  private choose(group: number): EditorChange {
    const scheme = this.#scheme;
    if (scheme !== null && this.#group >= 0) {
      this.catchUp.stop();
      scheme.finishTweak(this.#group);
    }
    this.#group = scheme !== null && group >= 0 && group < scheme.numGroups() ? group : -1;
    if (scheme !== null && this.#group >= 0) scheme.resetTweak(this.#group);
    return { group: true, tweak: this.#group >= 0 };
  }

  /** Add: an empty name abandons it; otherwise the new group is appended and selected. */
  addGroup(name: string): boolean {
    if (this.#scheme === null || name === '') return false;
    const group = this.#scheme.addGroup(name);
    return group >= 0 && this.tell({ ...this.choose(group), groups: true }, true);
  }

  /** Delete: the selected group goes; the one now at its place (or the new last one) is selected. */
  deleteGroup(): boolean {
    const scheme = this.#scheme;
    let k = this.#group;
    if (scheme === null || k < 0) return false;
    this.choose(-1);
    const deleted = scheme.deleteGroup(k);
    if (k === scheme.numGroups()) --k;
    return this.tell({ ...this.choose(k >= 0 && scheme.groupName(k, 1) !== '' ? k : -1), groups: true }, deleted);
  }

  /** Rename: an empty or unchanged name keeps the old one. */
  renameGroup(name: string): boolean {
    return this.#scheme !== null && this.#group >= 0 && this.#scheme.renameGroup(this.#group, name) && this.tell({ groupName: true }, true);
  }

  groupName(): string {
    return this.#scheme !== null && this.#group >= 0 ? this.#scheme.groupName(this.#group) : '';
  }

  /** Colours dropped on the group list join the group, each once, in ascending order. */
  addColours(colourIndices: Int32Array): boolean {
    if (this.#scheme === null || this.#group < 0 || colourIndices.length === 0) return false;
    return this.#scheme.addColoursToGroup(this.#group, colourIndices) && this.tell({ members: true }, true);
  }

  /** A colour picked for a member's stored swatch goes straight into the scheme. */
  pickColour(member: number, argb: number): boolean {
    if (this.#scheme === null || this.#group < 0) return false;
    return this.#scheme.pickColour(this.#group, member, argb) && this.tell({ members: true, colours: true }, true);
  }

  /** A slider moved (the contrast pair moves together): queued on the group; the members catch up between frames. */
  moveSlider(move: SliderMove): boolean {
    if (this.#scheme === null || this.#group < 0) return false;
    if ('slider' in move) this.#scheme.setSlider(this.#group, move.slider, move.value);
    else this.#scheme.setContrast(this.#group, move.centre, move.amount);
    this.catchUp.start(this.#scheme, this.#group);
    return this.tell({ members: true });
  }

  /** Reset, Invert, Apply and a forced hue act on the whole group at once; all but the forced hue leave the sliders neutral. */
  groupAction(action: 'reset' | 'invert' | 'apply' | { hue: number }): boolean {
    const scheme = this.#scheme;
    const group = this.#group;
    if (scheme === null || group < 0) return false;
    this.catchUp.stop();
    if (typeof action === 'object') {
      scheme.forceHue(group, action.hue);
      return this.tell({ members: true });
    }
    if (action === 'reset') scheme.resetTweak(group);
    else if (action === 'invert') scheme.invertColours(group);
    const applied = action === 'apply' && scheme.applyTweak(group);
    return this.tell({ members: true, tweak: true, colours: action === 'apply' }, applied);
  }
}
