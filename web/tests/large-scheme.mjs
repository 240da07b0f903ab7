// A large scheme for tests and benchmarks: `count` colours named c0, c1, ...
// and one group "All" holding every one. Self-contained, so that a page can
// run it too (puppeteer passes its source).
export function largeSchemeText(count) {
  const lines = ['<COLOURS>'];
  for (let i = 0; i < count; ++i) lines.push(`<COLOUR name="c${i}" colour="ff${(((i * 2654435761) >>> 8) & 0xffffff).toString(16).padStart(6, '0')}"/>`);
  lines.push('<COLOURGROUPS><COLOURGROUP name="All">');
  for (let i = 0; i < count; ++i) lines.push(`<COLOUR name="c${i}"/>`);
  lines.push('</COLOURGROUP></COLOURGROUPS></COLOURS>');
  return lines.join('\n');
}
