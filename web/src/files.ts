// Opening and saving scheme files. Where the browser has the File System
// Access API (Chromium), a file opened keeps its handle and Save writes that
// file (through browser-fs-access); elsewhere a file is read from the file
// input or a drop, and Save downloads the bytes under the file's name.

import { fileOpen, fileSave, supported, type FileSystemHandle } from 'browser-fs-access';

export const schemeExtension = '.calvastrascheme';

/** True where Save can write the opened file itself. */
export const writesInPlace = supported;

/** A scheme file as the page knows it: by its handle where the browser gives one, else by the File read. */
export interface SchemeFile {
  name: string;
  handle?: FileSystemFileHandle;
  file?: File;
}

/** The user cancelled a picker: not a failure, nothing to report. */
function cancelled(error: unknown): boolean {
  return error instanceof DOMException && error.name === 'AbortError';
}

/** Where the browser has no file pickers: one file input, whose latest request gets the file chosen. */
let inputWaiting: ((file: SchemeFile) => void) | null = null;

function chooseWithFileInput(): Promise<SchemeFile | null> {
  let input = document.getElementById('scheme-file-input') as HTMLInputElement | null;
  if (input === null) {
    input = Object.assign(document.createElement('input'), { type: 'file', id: 'scheme-file-input', accept: schemeExtension, hidden: true });
    input.addEventListener('change', () => {
      const file = input!.files?.[0];
      input!.value = '';
      if (file !== undefined) inputWaiting?.({ name: file.name, file });
    });
    document.body.append(input);
  }
  // A cancelled chooser leaves the request waiting: nothing is opened, and the next Open replaces it.
  const shown = input;
  return new Promise((resolve) => {
    inputWaiting = resolve;
    if ('showPicker' in shown) shown.showPicker();
    else (shown as HTMLInputElement).click();
  });
}

export async function chooseSchemeFile(): Promise<SchemeFile | null> {
  if (!supported) return chooseWithFileInput();
  try {
    const picked = await fileOpen({ extensions: [schemeExtension], description: 'Calvastra scheme files' });
    return { name: picked.name, handle: picked.handle as unknown as FileSystemFileHandle };
  } catch (error) {
    if (cancelled(error)) return null;
    throw error;
  }
}

/** A file dropped onto the page, with its handle where the browser gives one. */
export async function droppedSchemeFile(data: DataTransfer): Promise<SchemeFile | null> {
  const item = Array.from(data.items).find((i) => i.kind === 'file');
  if (item === undefined) return null;
  const withHandle = item as DataTransferItem & { getAsFileSystemHandle?: () => Promise<FileSystemHandle | null> };
  // Both asked for before the first await: the items are gone once the drop event ends.
  const file = item.getAsFile();
  const handle = withHandle.getAsFileSystemHandle?.().catch(() => null);
  const fromHandle = await handle;
  if (fromHandle?.kind === 'file') return { name: fromHandle.name, handle: fromHandle as unknown as FileSystemFileHandle };
  return file === null ? null : { name: file.name, file };
}

/** A file opened before that is no longer there as it was: moved, deleted or changed since. */
export class FileGone extends Error {}

/** What the browser's failure to read a file it had means, said plainly; other failures keep their own words. */
export function readFailure(error: unknown): Error {
  if (!(error instanceof DOMException)) return error as Error;
  if (error.name === 'NotFoundError') return new FileGone('The file is no longer there: it was moved, renamed or deleted.');
  // A file taken from the chooser or a drop is a snapshot: the browser refuses it once the file on disk changed or went.
  if (error.name === 'NotReadableError' || error.name === 'AbortError')
    return new FileGone('The file can no longer be read: it was changed, moved or deleted after it was opened.');
  return error;
}

export async function readSchemeFile(source: SchemeFile): Promise<Uint8Array> {
  try {
    const file = source.handle !== undefined ? await source.handle.getFile() : source.file;
    if (file === undefined) throw new FileGone('The file cannot be read again.');
    return new Uint8Array(await file.arrayBuffer());
  } catch (error) {
    throw readFailure(error);
  }
}

/** Whether two entries name the same file: the same handle's file, else the same name. */
export async function sameSchemeFile(a: SchemeFile, b: SchemeFile): Promise<boolean> {
  if (a.handle !== undefined && b.handle !== undefined) return a.handle.isSameEntry(b.handle);
  return a.name.toLowerCase() === b.name.toLowerCase();
}

/** The document's title: the file's name without its extension. */
export function titleOf(fileName: string): string {
  const dot = fileName.lastIndexOf('.');
  return dot > 0 ? fileName.slice(0, dot) : fileName;
}

/**
 * Save writes a scheme under its title with the scheme extension, whatever the
 * name had; characters no file name may hold become "_", as browsers change
 * them in a download's name, so that the page shows the name the file gets.
 */
export function savedName(fileName: string): string {
  return Array.from(titleOf(fileName), (c) => (unsafeInFileName(c) ? '_' : c)).join('') + schemeExtension;
}

/** The control characters and / \ : * ? " < > |. */
function unsafeInFileName(c: string): boolean {
  const code = c.charCodeAt(0);
  return code < 0x20 || code === 0x7f || '/\\:*?"<>|'.includes(c);
}

/**
 * Writes the bytes. A target with a handle and the scheme extension is written
 * in place; with no such target the system's save picker asks (Chromium), or the
 * bytes are downloaded under `name`. Gives the file written, or null when the
 * user cancelled the picker.
 */
export async function saveSchemeFile(bytes: Uint8Array, target: SchemeFile | null, name: string): Promise<SchemeFile | null> {
  const inPlace = target?.handle !== undefined && target.name.endsWith(schemeExtension) ? target.handle : null;
  try {
    const blob = new Blob([bytes as Uint8Array<ArrayBuffer>]);
    const options = { fileName: savedName(name), extensions: [schemeExtension], description: 'Calvastra scheme files' };
    const handle = await fileSave(blob, options, inPlace as never, inPlace !== null);
    if (handle === null) return { name: savedName(name) };
    const written = handle as unknown as FileSystemFileHandle;
    return { name: written.name, handle: written };
  } catch (error) {
    if (cancelled(error)) return null;
    throw error;
  }
}
