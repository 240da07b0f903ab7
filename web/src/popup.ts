// What the page's pop-ups (the menus and the hue strip) share: they are
// modal as the window's are, so a press outside one only closes it and
// reaches nothing under it, and they are placed inside the page.

/** The events of one press of the pointer, up to its click. */
const pressEvents = ['pointerup', 'mousedown', 'mouseup', 'click', 'auxclick', 'dblclick', 'contextmenu'];

/** Keeps the rest of a press (its release and click) from the page. */
function swallowPress(press: PointerEvent): void {
  press.preventDefault();
  press.stopImmediatePropagation();
  const stop = (e: Event) => {
    e.preventDefault();
    e.stopImmediatePropagation();
  };
  const release = () => {
    for (const type of pressEvents) window.removeEventListener(type, stop, true);
    window.removeEventListener('pointerup', end, true);
    window.removeEventListener('pointercancel', end, true);
    window.removeEventListener('pointerdown', release, true);
  };
  // The click follows the release in the same task; it is over by the next one.
  const end = () => setTimeout(release);
  window.addEventListener('pointerup', end, true);
  window.addEventListener('pointercancel', end, true);
  // A new press is a gesture of its own, whether or not this one's release was seen.
  window.addEventListener('pointerdown', release, true);
  for (const type of pressEvents) window.addEventListener(type, stop, true);
}

/**
 * Closes the pop-up on a press outside it and lets the press go no further.
 * A press on `passes` (the button that opened a menu) is left to that
 * button, whose click closes the menu. Gives the function that stops watching.
 */
export function closeOnPressOutside(popup: HTMLElement, close: () => void, passes: HTMLElement | null = null): () => void {
  const pressed = (e: PointerEvent) => {
    const target = e.target as Node;
    if (popup.contains(target) || passes?.contains(target)) return;
    swallowPress(e);
    close();
  };
  window.addEventListener('pointerdown', pressed, true);
  return () => window.removeEventListener('pointerdown', pressed, true);
}

/**
 * Places a pop-up (already in the page) below its opener, or above it where
 * there is no room below, and keeps it inside the page's width and height.
 */
export function placeInPage(popup: HTMLElement, opener: DOMRect, left: number = opener.left): void {
  const width = popup.offsetWidth;
  const height = popup.offsetHeight;
  const page = document.documentElement;
  const fitsBelow = opener.bottom + height <= page.clientHeight;
  const top = fitsBelow ? opener.bottom : opener.top - height;
  popup.style.left = `${Math.round(Math.max(0, Math.min(left, page.clientWidth - width)))}px`;
  popup.style.top = `${Math.round(Math.max(0, Math.min(top, page.clientHeight - height)))}px`;
}
