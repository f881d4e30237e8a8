// Typed numbers and shown numbers: both separators read, nothing half-read; answers with
// a decimal comma and grouped thousands; no "-0", "NaN" or "Infinity" shown.
import assert from 'node:assert/strict';
import {test} from 'node:test';

import {fixedText, parseNumber, shortText} from '../../src/page/numbers.js';
import {loadEngine} from '../support.mjs';

const PARSED = [
    ['decimal comma', '12,5', 12.5],
    ['decimal point from a keypad', '12.5', 12.5],
    ['blanks around', '  20 ', 20],
    ['no leading digit', ',5', 0.5],
    ['negative', '-3,25', -3.25],
    ['empty', '', null],
    ['two separators', '1,2,3', null],
    ['a unit typed along', '12 m', null],
    ['an exponent', '1e3', null],
    ['a lone separator', ',', null],
];
for (const [name, text, expected] of PARSED)
    test(`parseNumber: ${name}`, () => assert.equal(parseNumber(text), expected));

const FIXED = [
    ['two decimals', 12.9, '12,90'],
    ['millions grouped', 1234567.891, '1.234.567,89'],
    ['a tiny negative is no -0', -0.001, '0,00'],
    ['negative grouped', -12345.5, '-12.345,50'],
    ['not a number', NaN, '–'],
];
for (const [name, value, expected] of FIXED)
    test(`fixedText: ${name}`, () => assert.equal(fixedText(value), expected));

const SHORT = [
    ['trailing zeros dropped', 2.5, '2,5'],
    ['whole number', 10, '10'],
    ['negative zero', -0, '0'],
    ['rounded to two decimals', 0.125001, '0,13'],
];
for (const [name, value, expected] of SHORT)
    test(`shortText: ${name}`, () => assert.equal(shortText(value), expected));

test('the engine writes the number-to-text rule with the separator asked', async () => {
    const engine = await loadEngine();
    const rows = [
        [24.4, ',', '24,4'],
        [0.125, '.', '0.12'],
        [-0.001, ',', '0'],
    ];
    for (const [value, separator, expected] of rows)
        assert.equal(engine.numberText(value, separator), expected, `${value}`);
});
