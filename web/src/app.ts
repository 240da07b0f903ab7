// The page: the File menu, the scheme colour list at the left and the group
// pane at the right (group selector, Groups..., the group colour list and the
// tweak panel), joined as the window joins its panes.

import { ask, askText, dialogShown, tell } from './dialogs';
import { byId, element, yieldToBrowser } from './dom';
import { SchemeEditor, shownNameLength, type EditorChange } from './editor';
import {
  chooseSchemeFile,
  droppedSchemeFile,
  FileGone,
  readSchemeFile,
  savedName,
  sameSchemeFile,
  saveSchemeFile,
  schemeExtension,
  writesInPlace,
  type SchemeFile,
} from './files';
import { GroupListView } from './group-list';
import { showMenu } from './menu';
import { RecentFiles } from './recent-files';
import { SchemeListView } from './scheme-list';
import { TweakCatchUp } from './tweak-catch-up';
import { TweakPanelView } from './tweak-panel';

/** Group selector items added between two frames. */
const groupItemsPerSlice = 1000;

export class App {
  private readonly editor: SchemeEditor;
  private readonly schemeList: SchemeListView;
  private readonly recent = new RecentFiles<SchemeFile>(sameSchemeFile);
  private readonly groupSelector = byId<HTMLSelectElement>('group-selector');
  private readonly status = byId('status');
  private selectorFills = 0; // a newer fill of the selector ends an older one

  constructor(model: TintwrightModel) {
    this.editor = new SchemeEditor(model, new TweakCatchUp({ now: () => performance.now(), later: yieldToBrowser }));
    // The views show the editor as it is, and follow its changes from now on.
    this.schemeList = new SchemeListView(byId('scheme-list'), byId('drag-image'), this.editor, {
      dropped: (colours, x, y) => {
        if (byId('group-list').contains(document.elementFromPoint(x, y))) this.editor.addColours(colours);
      },
    });
    new GroupListView(byId('group-list'), this.editor);
    new TweakPanelView(byId('tweak-panel'), this.editor);
    this.editor.observe((change) => this.show(change));

    const fileButton = byId('file-menu-button');
    fileButton.addEventListener('click', () => this.fileMenu(fileButton));
    const groupsButton = byId('groups-button');
    groupsButton.addEventListener('click', () => this.groupMenu(groupsButton));
    this.groupSelector.addEventListener('change', () => this.editor.selectGroup(Number(this.groupSelector.value)));
    byId('add-to-group').addEventListener('click', () => this.editor.addColours(this.schemeList.selection.rows()));

    document.addEventListener('dragover', (e) => {
      if (e.dataTransfer?.types.includes('Files')) e.preventDefault();
    });
    document.addEventListener('drop', (e) => {
      if (e.dataTransfer === null || !e.dataTransfer.types.includes('Files')) return;
      e.preventDefault();
      // The page's questions are modal, as the window's: a file dropped while one is up is not opened.
      if (dialogShown()) return;
      droppedSchemeFile(e.dataTransfer).then((file) => {
        if (file !== null && !dialogShown()) this.open(file);
      });
    });
    window.addEventListener('beforeunload', (e) => {
      if (this.editor.changed) e.preventDefault();
    });
    document.documentElement.dataset.ready = 'true';
  }

  private fileMenu(opener: HTMLElement): void {
    const recent = this.recent.list.map((file) => ({ label: file.name, run: () => this.open(file) }));
    showMenu(opener, 'File', [
      { label: 'Open file...', run: () => this.open(null) },
      null,
      { label: 'Save file...', run: () => this.save() },
      { label: 'Save as new file...', run: () => this.saveAs() },
      null,
      ...recent,
    ]);
  }

  /**
   * Opens a file, the one given or one the user chooses; a refused file leaves
   * the scheme shown as it was. The question about changes is about the scheme
   * shown when Open began: if another was opened while the user was asked
   * (a drop), this Open gives up.
   */
  async open(given: SchemeFile | null): Promise<void> {
    const scheme = this.editor.scheme;
    let file: SchemeFile | null = given;
    try {
      if (!(await this.changesMayGo())) return;
      file ??= await chooseSchemeFile();
      if (file === null) return;
      const bytes = await readSchemeFile(file);
      if (this.editor.scheme !== scheme) throw new Error('Another scheme was opened meanwhile, so this one was not.');
      this.editor.open(bytes, file);
      this.status.textContent = '';
    } catch (error) {
      if (error instanceof FileGone && file !== null) await this.recent.remove(file);
      await tell('The file was not opened', `${file?.name ?? 'The file'}: ${(error as Error).message}`);
      return;
    }
    await this.recent.add(file);
  }

  /** Before a scheme with changes is replaced: Save, Discard changes or Cancel. */
  private async changesMayGo(): Promise<boolean> {
    if (this.editor.scheme === null || !this.editor.changed) return true;
    const answer = await ask('Closing document...', `Do you want to save the changes to "${this.editor.title}"?`, ['Save', 'Discard changes', 'Cancel'], 2);
    return answer === 0 ? this.save() : answer === 1;
  }

  /** Save: to the opened file where the browser allows, else as a download under its name. */
  async save(): Promise<boolean> {
    const scheme = this.editor.scheme;
    if (scheme === null) return false;
    return this.write(scheme, scheme.save(), this.editor.file, this.editor.file?.name ?? this.editor.title + schemeExtension);
  }

  /** Save as new file: the system's save picker, or a name for the download. */
  async saveAs(): Promise<boolean> {
    const scheme = this.editor.scheme;
    if (scheme === null) return false;
    let name: string | null = this.editor.title + schemeExtension;
    if (!writesInPlace) {
      name = await askText('Save as new file', 'Please enter a name for the new file.', 'File name', name, 'Save', 'Cancel', null);
      if (name === null || name.trim() === '') return false;
      // The scheme asked about may have been replaced (and closed) while the name was typed.
      if (this.editor.scheme !== scheme) {
        await tell('The scheme was not saved', `${savedName(name)}: another scheme was opened while the name was asked for, so nothing was saved.`);
        return false;
      }
    }
    return this.write(scheme, scheme.save(), null, name);
  }

  /**
   * Writes the bytes of `scheme`, taken when Save was chosen. Only if that
   * scheme is still the one shown when the write returns is it marked saved
   * under the file written.
   */
  private async write(scheme: Scheme, bytes: Uint8Array, target: SchemeFile | null, name: string): Promise<boolean> {
    let written: SchemeFile | null;
    try {
      written = await saveSchemeFile(bytes, target, name);
    } catch (error) {
      await tell('The scheme was not saved', `${savedName(name)}: ${(error as Error).message}`);
      return false;
    }
    if (written === null) return false;
    if (written.handle === undefined) {
      // A download: the recent entry reopens these bytes, and the user learns the name it was given.
      written.file = new File([bytes as Uint8Array<ArrayBuffer>], written.name);
      await this.recent.add(written);
      this.status.textContent = `Downloaded as ${written.name}`;
    } else if (written.handle !== target?.handle) {
      // A file chosen in the save picker is listed with the files opened, as the window lists it.
      await this.recent.add(written);
    }
    if (this.editor.scheme !== scheme) return false;
    this.editor.saved(written);
    return true;
  }

  /** The title and the group selector follow the editor. */
  private show(change: EditorChange): void {
    if (change.file) {
      const title = this.editor.title === '' ? 'Tintwright' : `${this.editor.title} – Tintwright`;
      document.title = title;
      byId('title').textContent = title;
    }
    const { scheme, group } = this.editor;
    if (change.groups) {
      // No empty item for a screen reader to offer: the hint only while the scheme has no group to choose.
      const noItems = scheme !== null && this.editor.nextNamedGroup(0) < 0;
      this.groupSelector.replaceChildren(
        ...(noItems ? [element('option', { value: '-1', disabled: '' }, 'Create a group using the button to the right...')] : []),
      );
      this.fillGroupSelector(scheme, 0, ++this.selectorFills);
    } else if (change.groupName) {
      const selected = this.groupSelector.value;
      const item = this.groupSelector.querySelector(`option[value="${group}"]`);
      if (item !== null) item.textContent = scheme!.groupName(group, shownNameLength);
      this.groupSelector.value = selected;
    }
    if (change.group) {
      this.groupSelector.value = String(group);
      if (group < 0 && this.groupSelector.value !== '-1') this.groupSelector.selectedIndex = -1;
    }
  }

  /** The items of a slice of groups, then the rest after the browser has drawn: a select of
      very many items takes a browser long to fill, and the page must go on drawing meanwhile. */
  private fillGroupSelector(scheme: Scheme | null, start: number, fill: number): void {
    if (scheme !== this.editor.scheme || fill !== this.selectorFills || scheme === null || start >= scheme.numGroups()) return;
    const end = start + groupItemsPerSlice;
    const items = this.editor.groupItems(start, end);
    this.groupSelector.append(...items.map(({ group, name }) => element('option', { value: String(group) }, name)));
    if (this.editor.group >= start && this.editor.group < end) this.groupSelector.value = String(this.editor.group);
    setTimeout(() => this.fillGroupSelector(scheme, end, fill), 0);
  }

  private groupMenu(opener: HTMLElement): void {
    if (this.editor.scheme === null) return;
    showMenu(opener, 'Groups', [
      { label: 'Add', run: () => this.addGroup() },
      { label: 'Delete', run: () => this.editor.deleteGroup() },
      null,
      { label: 'Rename', run: () => this.renameGroup() },
    ]);
  }

  /** Asks for a name until the edit takes it or is left: a name the model
      refuses (not valid Unicode) is asked for again, with its reason. */
  private async askGroupName(initial: string, edit: (name: string) => boolean): Promise<boolean> {
    let message = 'Please enter a name for this colour group.';
    let name = initial;
    for (;;) {
      name = (await askText('Name group', message, 'Name', name, 'Okay!', null, '')) ?? '';
      try {
        return edit(name);
      } catch (error) {
        message = `This name cannot be used: ${(error as Error).message}.`;
      }
    }
  }

  private async addGroup(): Promise<void> {
    const scheme = this.editor.scheme;
    await this.askGroupName('', (name) => this.editor.scheme === scheme && this.editor.addGroup(name));
  }

  private async renameGroup(): Promise<void> {
    const { scheme, group } = this.editor;
    if (scheme === null || group < 0) return;
    await this.askGroupName(this.editor.groupName(), (name) => this.editor.scheme === scheme && this.editor.group === group && this.editor.renameGroup(name));
  }
}
