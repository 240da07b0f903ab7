"""The scratch folder a monkey run works in: scheme files of every kind the
program may meet. The content is fixed (not drawn from the run's seed), so a
replayed event log meets the same files."""

import os
import random
import shutil

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.normpath(os.path.join(HERE, "..", ".."))

DECLARATION = '<?xml version="1.0" encoding="UTF-8"?>\r\n\r\n\r\n'


def escape(text):
    return (text.replace("&", "&amp;").replace('"', "&quot;").replace("<", "&lt;").replace(">", "&gt;"))


def written_form(colours, groups):
    """A file in the form the program writes: colours as (name, argb),
    groups as (name, [member names])."""
    lines = [DECLARATION + "<COLOURS>"]
    for name, argb in colours:
        lines.append(f'  <COLOUR name="{escape(name)}" colour="{argb:x}"/>')
    if groups:
        lines.append("  <COLOURGROUPS>")
        for name, members in groups:
            if members:
                lines.append(f'    <COLOURGROUP name="{escape(name)}">')
                lines += [f'      <COLOUR name="{escape(m)}"/>' for m in members]
                lines.append("    </COLOURGROUP>")
            else:
                lines.append(f'    <COLOURGROUP name="{escape(name)}"/>')
        lines.append("  </COLOURGROUPS>")
    else:
        lines.append("  <COLOURGROUPS/>")
    lines.append("</COLOURS>")
    return ("\r\n".join(lines) + "\r\n").encode("utf-8")


def large_scheme(count):
    rng = random.Random(17)
    colours = [(f"Colour {i:05d} {rng.choice(['Panel', 'Text', 'Meter', 'Knob'])}", rng.getrandbits(32))
               for i in range(count)]
    groups = [("Panels", [c[0] for c in colours[::7]]), ("Texts", [c[0] for c in colours[1:200:3]]),
              ("Empty", [])]
    return written_form(colours, groups)


HAND_EDITED = [
    # Groups before the colours, lower-case tags, single quotes, LF only, a comment.
    ("hand groups first.calvastrascheme",
     b"<?xml version='1.0'?>\n<!-- edited by hand -->\n<colours>\n"
     b"  <colourgroups><colourgroup name='Lost'><colour name='A'/></colourgroup></colourgroups>\n"
     b"  <colour name='A' colour='#FF102030'/>\n  <Colour NAME='B' COLOUR='0xff405060'>text</Colour>\n"
     b"  <COLOURGROUPS><COLOURGROUP name='Kept'><COLOUR name='B'/><COLOUR name='b'/><COLOUR name='none'/>"
     b"</COLOURGROUP></COLOURGROUPS>\n</colours>\n"),
    # Duplicate names, an empty name, transparent colours, a group without a name.
    ("duplicates.calvastrascheme",
     written_form([("Same", 0xff112233), ("Same", 0xff445566), ("", 0x7f808080), ("Clear", 0),
                   ("Faint", 0x0a0b0c0d)],
                  [("", ["Same", "Clear"]), ("Same group", ["Same", "Faint", ""]), ("Same group", [])])),
    # Entities and characters outside ASCII in names, a BOM.
    ("entities.calvastrascheme",
     b"\xef\xbb\xbf" + written_form([("Fish & <Chips> \"quoted\"", 0xffff8800), ("Gr\u00fcn \u2603", 0xff00ff00), ("Tab\there", 0xff0000ff), ("Line\nbreak", 0xff123456)],
                                    [("Caf\u00e9", ["Tab\there", "Line\nbreak"])])),
    # Another root: opens as an empty scheme.
    ("other root.calvastrascheme", b'<?xml version="1.0"?>\n<PALETTE><COLOUR name="x" colour="ff000000"/></PALETTE>\n'),
    # Only colours, no COLOURGROUPS element at all.
    ("no groups.calvastrascheme",
     DECLARATION.encode() + b'<COLOURS>\r\n  <COLOUR name="Only" colour="ffabcdef"/>\r\n</COLOURS>\r\n'),
]

HOSTILE = [
    ("empty.calvastrascheme", b""),
    ("not xml.calvastrascheme", b"this is not a scheme at all\n"),
    ("truncated.calvastrascheme", large_scheme(50)[:700]),
    ("deep.calvastrascheme", b"<COLOURS>" + b"<a>" * 5000 + b"</a>" * 5000 + b"</COLOURS>"),
    ("processing instruction.calvastrascheme", b"<COLOURS><a><?pi?>x</a></COLOURS>"),
    ("trailing reference.calvastrascheme", b"<COLOURS><COLOUR name=\"&#x"),
    ("binary.calvastrascheme", bytes(random.Random(3).getrandbits(8) for _ in range(4096))),
    ("huge name.calvastrascheme", written_form([("N" * 200000, 0xff000000), ("Short", 0xffffffff)],
                                               [("G", ["N" * 200000])])),
    ("utf16.calvastrascheme", "\ufeff<COLOURS><COLOUR name='W' colour='ff0000ff'/></COLOURS>".encode("utf-16-le")),
]


# Files that open as schemes with colours, for the open at each start.
GOOD = ["start.calvastrascheme", "sample.calvastrascheme", "large.calvastrascheme", "hand-edited.calvastrascheme",
        "duplicates.calvastrascheme", "entities.calvastrascheme", "hand groups first.calvastrascheme",
        "\u00fcnic\u00f6de \u2603.calvastrascheme", "huge name.calvastrascheme"]


def make_scratch(folder):
    """Fills an empty folder; returns the names (relative paths) worth typing."""
    os.makedirs(folder, exist_ok=True)
    files = {}
    for source, name in [("tests/e2e/data/start.calvastrascheme", "start.calvastrascheme"),
                         ("tests/data/hand-edited.calvastrascheme", "hand-edited.calvastrascheme"),
                         ("tests/data/written.calvastrascheme", "written.calvastrascheme"),
                         ("docs/sample.calvastrascheme", "sample.calvastrascheme")]:
        path = os.path.join(ROOT, source)
        if os.path.exists(path):
            with open(path, "rb") as f:
                files[name] = f.read()

    with open(os.path.join(ROOT, "tests/e2e/data/start.calvastrascheme"), "rb") as f:
        start = f.read()
    files["large.calvastrascheme"] = large_scheme(3000)
    files["with space & ampersand.calvastrascheme"] = start
    files["\u00fcnic\u00f6de \u2603.calvastrascheme"] = start
    files["-dash.calvastrascheme"] = start
    files[".hidden.calvastrascheme"] = start
    files["UPPER.CALVASTRASCHEME"] = start
    files["no extension"] = start
    files["x" * 180 + ".calvastrascheme"] = start
    files["sub/inner.calvastrascheme"] = large_scheme(20)
    for name, data in HAND_EDITED + HOSTILE:
        files[name] = data

    for name, data in files.items():
        path = os.path.join(folder, name)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as f:
            f.write(data)

    # A folder that looks like a scheme file, a link to a scheme, a dangling link.
    os.makedirs(os.path.join(folder, "folder.calvastrascheme"), exist_ok=True)
    os.symlink("start.calvastrascheme", os.path.join(folder, "link.calvastrascheme"))
    os.symlink("gone/nowhere.calvastrascheme", os.path.join(folder, "dangling.calvastrascheme"))

    names = sorted(files) + ["folder.calvastrascheme", "link.calvastrascheme", "dangling.calvastrascheme"]
    return names


def reset_scratch(folder):
    shutil.rmtree(folder, ignore_errors=True)
    return make_scratch(folder)
