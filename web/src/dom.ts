// Small helpers for building the page's elements.

export function byId<T extends HTMLElement = HTMLElement>(id: string): T {
  const found = document.getElementById(id);
  if (found === null) throw new Error(`The page has no element #${id}`);
  return found as T;
}

export function element<K extends keyof HTMLElementTagNameMap>(
  tag: K,
  attributes: Record<string, string> = {},
  ...children: Array<Node | string>
): HTMLElementTagNameMap[K] {
  const created = document.createElement(tag);
  for (const [name, value] of Object.entries(attributes)) created.setAttribute(name, value);
  created.append(...children);
  return created;
}

// A message to oneself is handled as a task of its own, without the minimum
// delay that nested timers get, so work done in slices lets the browser
// handle input and paint in between.
let channel: MessageChannel | null = null;
const queued: Array<() => void> = [];

/** Runs a task after the browser has had the chance to handle input and paint. */
export function yieldToBrowser(task: () => void): void {
  if (channel === null) {
    channel = new MessageChannel();
    channel.port1.onmessage = () => queued.shift()?.();
  }
  queued.push(task);
  channel.port2.postMessage(null);
}
