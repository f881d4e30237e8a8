// The case file: what the page saves opens again to the same input, keeps what it does
// not know (a site, later keys) in its place, and a wrong file gets one Dutch line that
// names the key.
import assert from 'node:assert/strict';
import {before, test} from 'node:test';

import {caseFileName, readCase, writeCase} from '../../src/page/case_file.js';
import {DEFAULT_INPUT} from '../../src/page/inputs.js';
import {loadEngine} from '../support.mjs';

let ranges;
before(async () => {
    ranges = (await loadEngine()).ranges();
});

const META = {
    title: 'Zagerij De Eik',
    establishment: 'De Eik b.v.',
    address: 'Dorpsstraat 1',
    author: 'J. Jansen',
    notes: 'Stapel langs de sloot',
};

test('a saved case opens again to the same input and names', () => {
    const input = {
        ...DEFAULT_INPUT,
        B: 12.5,
        x: 7.25,
        heights: [1, 2, 3, 4, 5],
        screen: true,
        hs: 4,
        xs: 2,
        K: 0.8,
        limit: 12.5,
        envelope: true,
    };
    const opened = readCase(writeCase(input, META), ranges);
    assert.deepEqual(opened.input, input);
    assert.deepEqual(opened.meta, META);
});

test('keys the page does not know are written back where they were', () => {
    const original = {
        format: 'warmtegloed-case',
        version: 1,
        meta: {title: 'Oud', reviewer: 'K. Smit'},
        calculation: {B: 10, colour: 'rood'},
        site: {storages: [{name: 'Stapel A'}]},
        later: [1, 2],
    };
    const opened = readCase(JSON.stringify(original), ranges);
    const saved = JSON.parse(
        writeCase({...opened.input, B: 20}, {...opened.meta, title: 'Nieuw'}, opened.original),
    );
    assert.deepEqual(Object.keys(saved), ['format', 'version', 'meta', 'calculation', 'site', 'later']);
    assert.deepEqual(saved.site, original.site);
    assert.deepEqual(saved.later, [1, 2]);
    assert.equal(saved.meta.reviewer, 'K. Smit');
    assert.equal(saved.meta.title, 'Nieuw');
    assert.equal(saved.calculation.colour, 'rood');
    assert.equal(saved.calculation.B, 20);
});

test("missing keys of the storage take the classic window's design values", () => {
    const opened = readCase('{"format": "warmtegloed-case", "version": 1, "calculation": {"B": 30}}', ranges);
    assert.deepEqual(opened.input, {...DEFAULT_INPUT, B: 30});
});

const case_ = (calculation, extra = {}) =>
    JSON.stringify({format: 'warmtegloed-case', version: 1, calculation, ...extra});
const REFUSED = [
    ['not JSON', '{"format": ', 'Dit bestand is geen zaakbestand: het is geen geldige JSON.'],
    ['a list', '[1, 2]', 'Dit bestand is geen zaakbestand: het bevat geen JSON-object.'],
    ['another format', '{"format": "geojson"}', 'format: moet "warmtegloed-case" zijn.'],
    [
        'a newer version',
        '{"format": "warmtegloed-case", "version": 2}',
        'version: versie 2 is nieuwer dan deze webversie kent (1); gebruik een nieuwere versie van Warmtegloedvracht.',
    ],
    [
        'only a site',
        case_(undefined, {site: {}}),
        'calculation: ontbreekt; deze webversie rekent met één opslag.',
    ],
    ['a width as text', case_({B: '10'}), 'calculation.B: moet een getal zijn.'],
    ['a negative depth', case_({D: -1}), 'calculation.D: moet van 0,01 m tot 10.000 m zijn.'],
    ['four heights', case_({heights: [1, 2, 3, 4]}), 'calculation.heights: moet vijf getallen bevatten.'],
    [
        'a height too high',
        case_({heights: [1, 2, 3, 4, 500]}),
        'calculation.heights[4]: moet van 0 m tot 100 m zijn.',
    ],
    ['an option as a word', case_({indoor: 'ja'}), 'calculation.indoor: moet true of false zijn.'],
    [
        'a screen beyond the point',
        case_({screen: true, x: 5, xs: 8}),
        'calculation.xs: het scherm staat verder weg dan het beoordelingspunt (xs groter dan x).',
    ],
    [
        'a title as a number',
        JSON.stringify({format: 'warmtegloed-case', version: 1, meta: {title: 5}}),
        'meta.title: moet tekst zijn.',
    ],
];
for (const [name, text, message] of REFUSED)
    test(`refused: ${name}`, () => assert.deepEqual(readCase(text, ranges), {error: message}));

test('the file name comes from the title', () => {
    assert.equal(caseFileName({title: 'Zagerij Één / 2024'}), 'Zagerij-Een-2024.warmtegloed');
    assert.equal(caseFileName({title: ' '}), 'zaak.warmtegloed');
});
