// The page's inputs against the engine's ranges: a wrong value gets its Dutch message
// beside the field and no input goes to the engine; a value outside the classic
// window's range gets a note; disabled fields do not count.
import assert from 'node:assert/strict';
import {before, test} from 'node:test';

import {checkAll, DEFAULT_INPUT, FIELDS, fieldText, steppedValue, valueOf} from '../../src/page/inputs.js';
import {loadEngine} from '../support.mjs';

let ranges;
before(async () => {
    ranges = (await loadEngine()).ranges();
});

function defaults() {
    return Object.fromEntries(FIELDS.map((f) => [f.key, fieldText(valueOf(DEFAULT_INPUT, f.key))]));
}

const NO_OPTIONS = {indoor: false, compact: false, screen: false, envelope: false};

const ROWS = [
    // name, edits, options, field with a message, message
    ['empty width', {B: ''}, {}, 'B', 'Vul een getal in.'],
    ['a distance beyond the method', {x: '20000'}, {}, 'x', 'Kies een waarde van 0,01 tot 10.000 m.'],
    [
        'an efficiency above 1 reads without a unit',
        {K: '1,5'},
        {screen: true},
        'K',
        'Kies een waarde van 0 tot 1.',
    ],
    [
        'a screen beyond the point',
        {xs: '6'},
        {screen: true},
        'xs',
        'Het scherm staat verder weg dan het beoordelingspunt: xs mag niet groter zijn dan x.',
    ],
    ['a limit of nothing', {limit: '0'}, {}, 'limit', 'Kies een waarde van 0,1 tot 100 kW/m².'],
];
for (const [name, edits, options, key, message] of ROWS) {
    test(`refused: ${name}`, () => {
        const checked = checkAll({...defaults(), ...edits}, {...NO_OPTIONS, ...options}, ranges);
        assert.equal(checked.input, null);
        assert.equal(checked.messages[key], message);
        assert.equal(Object.keys(checked.messages).length, 1);
    });
}

test('a point typed like a comma gives the number typed, not a part of it', () => {
    const checked = checkAll({...defaults(), B: '12.5', H: '7,25'}, NO_OPTIONS, ranges);
    assert.equal(checked.input.B, 12.5);
    assert.equal(checked.input.H, 7.25);
});

test('disabled fields keep their last value whatever they hold', () => {
    const screenOff = checkAll({...defaults(), xs: 'x', K: '7'}, NO_OPTIONS, ranges);
    assert.deepEqual(screenOff.messages, {});
    assert.equal(screenOff.input.K, 1);
    const indoor = checkAll({...defaults(), z2: '', z5: '500'}, {...NO_OPTIONS, indoor: true}, ranges);
    assert.deepEqual(indoor.messages, {});
    assert.deepEqual(indoor.input.heights, DEFAULT_INPUT.heights);
});

test('a value the method takes but the classic window does not gets a note, not a refusal', () => {
    const checked = checkAll({...defaults(), x: '2'}, NO_OPTIONS, ranges);
    assert.equal(checked.input.x, 2);
    assert.equal(checked.notes.x, 'Buiten het bereik van het klassieke venster (5 tot 10.000 m).');
    assert.equal(checked.notes.B, undefined);
});

test("arrow keys step by the range's step and stop at its ends", () => {
    const field = (key) => FIELDS.find((f) => f.key === key);
    assert.equal(steppedValue(field('K'), 0.7, 1, ranges), 0.8);
    assert.equal(steppedValue(field('K'), 0.95, 5, ranges), 1);
    assert.equal(steppedValue(field('H'), 14.5, 1, ranges), 15);
    assert.equal(steppedValue(field('H'), 0.5, -5, ranges), 0);
});
