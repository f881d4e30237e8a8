// The answers in words: where the highest level lies, the verdict with the level between
// the points when only the points comply, and answers at the edge of their search said
// as bounds, never as plain answers.
import assert from 'node:assert/strict';
import {test} from 'node:test';

import {describeAnswers} from '../../src/page/answers.js';
import {DEFAULT_INPUT} from '../../src/page/inputs.js';

const ANSWER = {ok: true, found: true, value: 12.88, bound: 'none', position: 5, message: ''};
const CHECK = {
    ok: true,
    highest: 14970.2,
    point: 3,
    height: 7.5,
    complies: true,
    envelopeHighest: 14970.2,
    envelopeHeight: 7.5,
    compliesOnlyAtPoints: false,
};

function describe(check = {}, answers = {}, input = {}) {
    return describeAnswers(
        {...DEFAULT_INPUT, ...input},
        {check: {...CHECK, ...check}, distance: ANSWER, height: ANSWER, width: ANSWER, ...answers},
    );
}

const ROWS = [
    ['fails', {complies: false, highest: 44760.8}, {}, {}, 'verdict', '✘ Voldoet niet: meer dan 15,00 kW/m²'],
    ['a limit of its own', {}, {}, {limit: 12.5}, 'verdict', '✔ Voldoet: ten hoogste 12,50 kW/m²'],
    [
        'only the points comply',
        {envelopeHighest: 15012.4, envelopeHeight: 8.25, compliesOnlyAtPoints: true},
        {},
        {},
        'verdict',
        '⚠ Voldoet alleen op de vijf punten: ertussen 15,01 kW/m² op 8,25 m',
    ],
    [
        'the sentence names the level and where',
        {complies: false, highest: 44760.8},
        {},
        {},
        'sentence',
        'Voldoet niet: het hoogste warmtestralingsniveau op de vijf beoordelingspunten is 44,76 kW/m² ' +
            '(punt 3, 7,50 m), meer dan de grenswaarde van 15,00 kW/m².',
    ],
    [
        'the sentence over the envelope',
        {},
        {},
        {envelope: true},
        'sentence',
        'Voldoet: het hoogste warmtestralingsniveau over elke hoogte van 0 m tot het hoogste beoordelingspunt is ' +
            '14,97 kW/m² (punt 3, 7,50 m), niet meer dan de grenswaarde van 15,00 kW/m².',
    ],
    [
        'the highest between the points',
        {point: null, height: 6.56, highest: 45044.6},
        {},
        {},
        'highest',
        '45,04 kW/m² (tussen de punten, 6,56 m)',
    ],
    [
        'indoors',
        {point: 1, height: 4},
        {},
        {indoor: true},
        'highest',
        '14,97 kW/m² (halve gebouwhoogte, 4,00 m)',
    ],
    [
        'every distance complies',
        {},
        {distance: {...ANSWER, value: 0.1, bound: 'lowest'}},
        {},
        'distance',
        'elke afstand voldoet',
    ],
    [
        'every distance behind the screen complies',
        {},
        {distance: {...ANSWER, value: 2.05, bound: 'lowest'}},
        {screen: true},
        'distance',
        'elke afstand achter het scherm voldoet',
    ],
    [
        'the top of the heights',
        {},
        {height: {...ANSWER, value: 15, bound: 'highest'}},
        {},
        'height',
        '≥ 15,00 m (hoogste onderzochte hoogte, bij x = 5,00 m)',
    ],
    [
        'the top of the widths',
        {},
        {width: {...ANSWER, value: 10000, bound: 'highest', position: 5000}},
        {},
        'width',
        '≥ 10.000,00 m (grootste onderzochte breedte, bij x = 5,00 m, punt midden voor de zijde: y = 5.000,00 m)',
    ],
    [
        'an ordinary width names its point',
        {},
        {width: {...ANSWER, value: 3.92, position: 1.96}},
        {},
        'width',
        '3,92 m (bij x = 5,00 m, punt midden voor de zijde: y = 1,96 m)',
    ],
    [
        'no height complies',
        {},
        {height: {ok: true, found: false, message: 'Geen hoogte\nvoldoet.'}},
        {},
        'height',
        'Geen hoogte voldoet.',
    ],
    ['an ordinary distance', {}, {}, {}, 'distance', '12,88 m'],
];
for (const [name, check, answers, input, key, expected] of ROWS)
    test(`answers: ${name}`, () => assert.equal(describe(check, answers, input)[key], expected));

test("the verdict's kind follows its words", () => {
    assert.equal(describe().verdictKind, 'complies');
    assert.equal(describe({complies: false}).verdictKind, 'fails');
    assert.equal(describe({compliesOnlyAtPoints: true}).verdictKind, 'warning');
});
