// The CSV of a view: a Dutch spreadsheet (semicolons, decimal comma) and a script (points)
// read back the very numbers of the table, headers included.
import assert from 'node:assert/strict';
import {test} from 'node:test';

import {cellText, tableCsv, tableFor} from '../../src/page/table.js';

const VALUES = [3.0499999999999998, 22.11, 0.1 + 0.2, 1e-7, 12345.678, 0];

function readBack(csv, dutch) {
    const lines = csv.trimEnd().split('\r\n');
    const separator = dutch ? ';' : ',';
    return lines
        .slice(1)
        .map((line) => line.split(separator).map((cell) => Number(dutch ? cell.replace(',', '.') : cell)));
}

for (const dutch of [true, false]) {
    test(`${dutch ? 'Dutch' : 'point'} CSV reads back to the same doubles`, () => {
        const table = {headers: ['x (m)', 'niveau (kW/m²)'], rows: VALUES.map((v, i) => [i + 0.5, v])};
        const csv = tableCsv(table, dutch);
        assert.deepEqual(readBack(csv, dutch), table.rows);
        assert.equal(csv.split('\r\n')[0], dutch ? 'x (m);niveau (kW/m²)' : 'x (m),niveau (kW/m²)');
    });
}

test('cells carry no -0 and nothing for a gap', () => {
    assert.equal(cellText(-0, true), '0');
    assert.equal(cellText(NaN, true), '');
});

test('a header holding the separator is quoted', () => {
    const csv = tableCsv({headers: ['punt 1 op 2,5 m (kW/m²)'], rows: [[1]]}, false);
    assert.equal(csv.split('\r\n')[0], '"punt 1 op 2,5 m (kW/m²)"');
});

test('the distance table has a column per height, the envelope and the highest', () => {
    const input = {indoor: false};
    const data = {
        distance: {
            distances: [1, 2],
            heights: [2.5, 5],
            levels: [
                [10, 8],
                [12, 9],
            ],
            envelope: [13, 9.5],
            highest: [13, 9.5],
        },
    };
    const table = tableFor('distance', input, data);
    assert.deepEqual(table.headers, [
        'afstand x (m)',
        'punt 1 op 2,5 m (kW/m²)',
        'punt 2 op 5 m (kW/m²)',
        'omhullende (kW/m²)',
        'hoogste (kW/m²)',
    ]);
    assert.deepEqual(table.rows, [
        [1, 10, 12, 13, 13],
        [2, 8, 9, 9.5, 9.5],
    ]);
});

test('the plan has no table until its exact levels are there', () => {
    const plan = {exact: false, columns: 2, rows: 2, xFrom: 0, dx: 1, yFrom: 0, dy: 1, values: [1, 2, 3, 4]};
    assert.deepEqual(tableFor('plan', {}, {plan}).rows, []);
    const rows = tableFor('plan', {}, {plan: {...plan, exact: true}}).rows;
    assert.deepEqual(rows, [
        [0, 0, 1],
        [1, 0, 2],
        [0, 1, 3],
        [1, 1, 4],
    ]);
});
