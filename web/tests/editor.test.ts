// The window's rules for groups and changes, on the model's module.

import { test } from 'node:test';
import assert from 'node:assert/strict';
import { SchemeEditor, type CatchUp, type EditorChange } from '../src/editor';
import { loadModel, sampleBytes } from './support';

const model = await loadModel();
const idle: CatchUp = { start() {}, stop() {} };

function opened(bytes = sampleBytes()): SchemeEditor {
  const editor = new SchemeEditor(model, idle);
  editor.open(bytes, { name: 'Dark Blue.calvastrascheme' });
  return editor;
}

const names = (editor: SchemeEditor) => editor.groupItems().map((i) => i.name);

test('opening selects the first group that has a name; only edits that change the saved bytes count as changes', () => {
  const editor = opened();
  assert.equal(editor.title, 'Dark Blue');
  assert.equal(editor.groupName(), names(editor)[0]);
  assert.equal(editor.changed, false);

  assert.equal(editor.addGroup(''), false, 'an empty name abandons Add');
  assert.equal(editor.renameGroup(''), false);
  assert.equal(editor.renameGroup(editor.groupName()), false, 'the same name is no change');
  assert.equal(editor.groupAction('apply'), true);
  assert.equal(editor.changed, false, 'Apply with neutral sliders writes the same colours');

  editor.moveSlider({ slider: 'red', value: 170 });
  editor.groupAction('apply');
  assert.equal(editor.changed, true);
  editor.saved({ name: 'Other.calvastrascheme' });
  assert.deepEqual([editor.changed, editor.title], [false, 'Other']);

  assert.equal(editor.addColours(Int32Array.of(0, 1)), true);
  assert.equal(editor.addColours(Int32Array.of(0, 1)), false, 'colours already in the group are not added again');
});

test('Add selects the new group; Delete selects the group now in its place, or the new last one', () => {
  const editor = opened();
  const first = names(editor);
  assert.equal(editor.addGroup('B'), true);
  editor.addGroup('C');
  assert.deepEqual(names(editor), [...first, 'B', 'C']);
  assert.equal(editor.groupName(), 'C');

  editor.deleteGroup();
  assert.equal(editor.groupName(), 'B', 'the last one gone: the new last is selected');
  editor.selectGroup(0);
  editor.deleteGroup();
  assert.equal(editor.groupName(), names(editor)[0], 'the first one gone: the former second is selected');
  while (editor.group >= 0) editor.deleteGroup();
  assert.deepEqual(names(editor), []);
  assert.equal(editor.deleteGroup(), false, 'nothing selected: nothing to delete');
  assert.equal(editor.moveSlider({ slider: 'hue', value: 0.25 }), false, 'with no group the sliders change nothing');
});

test('a group without a name has no item; a refused file leaves the open scheme as it was', () => {
  const editor = opened(
    new TextEncoder().encode(
      '<COLOURS><COLOUR name="a" colour="ff000000"/><COLOURGROUPS><COLOURGROUP name=""/><COLOURGROUP name="x"/></COLOURGROUPS></COLOURS>',
    ),
  );
  assert.deepEqual(editor.groupItems(), [{ group: 1, name: 'x' }]);
  assert.equal(editor.group, 1);

  editor.addGroup('y');
  const scheme = editor.scheme;
  assert.throws(() => editor.open(new TextEncoder().encode('<COLOURS>'), { name: 'cut.calvastrascheme' }), Error);
  assert.deepEqual([editor.scheme, editor.title, editor.changed, editor.groupName()], [scheme, 'Dark Blue', true, 'y']);
});

test("each edit tells the views what it changed and no more: a slider step is no news to the scheme list, a rename none to the selector's items", () => {
  const editor = new SchemeEditor(model, idle);
  let told: string[] = [];
  editor.observe((change) =>
    told.push(
      Object.keys(change)
        .filter((k) => change[k as keyof EditorChange])
        .sort()
        .join(' '),
    ),
  );
  const edits: Array<[string, () => unknown, string]> = [
    ['another observer: shown the editor, the others not told', () => editor.observe(() => {}), ''],
    ['open', () => editor.open(sampleBytes(), { name: 'sample.calvastrascheme' }), 'file group groups scheme tweak'],
    ['slider step', () => editor.moveSlider({ slider: 'red', value: 10 }), 'members'],
    ['forced hue: the sliders stay', () => editor.groupAction({ hue: 0.5 }), 'members'],
    ['Apply: the first change to save', () => editor.groupAction('apply'), 'colours file members tweak'],
    ['Reset', () => editor.groupAction('reset'), 'members tweak'],
    ['picked colour', () => editor.pickColour(0, 0xff123456), 'colours members'],
    ['the same colour again', () => editor.pickColour(0, 0xff123456), ''],
    ['Rename', () => editor.renameGroup('Renamed'), 'groupName'],
    ['Add', () => editor.addGroup('New'), 'group groups tweak'],
    ['colours dropped', () => editor.addColours(Int32Array.of(0, 1)), 'members'],
    ['Delete', () => editor.deleteGroup(), 'group groups tweak'],
    ['saved', () => editor.saved({ name: 'other.calvastrascheme' }), 'file'],
    ['a refused file', () => assert.throws(() => editor.open(new TextEncoder().encode('<COLOURS>'), null)), ''],
  ];
  for (const [what, edit, expected] of edits) {
    told = [];
    edit();
    assert.equal(told.join(', '), expected, what);
  }
});
