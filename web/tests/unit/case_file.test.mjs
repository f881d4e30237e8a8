// Case files as the page opens and saves them, through the case module in the engine
// module: what the page saves opens again to the same input and names, what it does not
// know (a site, later keys) stays in its place, a wrong file gets the module's one Dutch
// line, and a long file goes through the heap.
import assert from 'node:assert/strict';
import {before, test} from 'node:test';

import {caseFileName} from '../../src/page/case_file.js';
import {DEFAULT_INPUT} from '../../src/page/inputs.js';
import {loadEngine} from '../support.mjs';

let engine;
before(async () => {
    engine = await loadEngine();
});

const META = {
    title: 'Zagerij De Eik',
    establishment: 'De Eik b.v.',
    address: 'Dorpsstraat 1',
    author: 'J. Jansen',
    date: '2024-05-01',
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
    const saved = engine.writeCase(null, input, META);
    assert.ok(saved.ok, saved.message);
    const opened = engine.readCase(saved.text);
    assert.deepEqual(opened.input, input);
    assert.deepEqual(opened.meta, META);
    assert.equal(opened.hasSite, false);
});

test('what the page does not know is written back where it was', () => {
    const original = JSON.stringify({
        format: 'warmtegloed-case',
        version: 1,
        meta: {title: 'Oud', reviewer: 'K. Smit'},
        calculation: {B: 10, D: 10, H: 8, x: 5, y: 5, heights: [2.5, 5, 7.5, 10, 12.5], colour: 'rood'},
        site: {storages: [{name: 'Stapel A', corner: [0, 0], width: 20, depth: 8, height: 6}]},
        later: [1, 2],
    });
    const opened = engine.readCase(original);
    assert.ok(opened.hasSite);
    const saved = engine.writeCase(original, {...opened.input, B: 20}, {...opened.meta, title: 'Nieuw'});
    const file = JSON.parse(saved.text);
    assert.deepEqual(Object.keys(file), ['format', 'version', 'meta', 'calculation', 'site', 'later']);
    assert.equal(file.site.storages[0].name, 'Stapel A');
    assert.deepEqual(file.later, [1, 2]);
    assert.equal(file.meta.reviewer, 'K. Smit');
    assert.equal(file.meta.title, 'Nieuw');
    assert.equal(file.calculation.B, 20);
});

const REFUSED = [
    // name, file, how the message begins
    ['not JSON', '{"format": ', 'geen geldige JSON'],
    [
        'a width as text',
        '{"format": "warmtegloed-case", "version": 1, "calculation": {"B": "10"}}',
        'calculation.B: ',
    ],
];
for (const [name, text, begins] of REFUSED) {
    test(`refused with one Dutch line: ${name}`, () => {
        const opened = engine.readCase(text);
        assert.equal(opened.ok, false);
        assert.ok(opened.message.startsWith(begins) && !opened.message.includes('\n'), opened.message);
    });
}

test('a file of a megabyte is read through the heap', () => {
    const notes = 'x'.repeat(1024 * 1024);
    const saved = engine.writeCase(null, DEFAULT_INPUT, {...META, notes});
    assert.equal(engine.readCase(saved.text).meta.notes, notes);
});

test('the file name comes from the title', () => {
    assert.equal(caseFileName({title: 'Zagerij Één / 2024'}), 'Zagerij-Een-2024.warmtegloed');
    assert.equal(caseFileName({title: ' '}), 'zaak.warmtegloed');
});
