// The answers to the limit questions in words, as the page and its printed report show
// them, worded as the exploration window words them: the highest level and where, the
// verdict (in words; the colour only repeats it) with the level between the points when
// only the points comply, the minimal distance, the largest height and width (an answer
// at the edge of its search said as a bound), the decisive height.

import {fixedText} from './numbers.js';

function metres(value) {
    return `${fixedText(value)} m`;
}

function kw(value) {
    return `${fixedText(value)} kW/m²`;
}

function oneLine(message) {
    return String(message || '')
        .replace(/\s*\n\s*/g, ' ')
        .trim();
}

function solutionText(solution, quantity, input) {
    if (!solution.ok || !solution.found) return oneLine(solution.message) || 'geen antwoord';
    if (solution.bound === 'lowest')
        return input.screen && !input.indoor
            ? 'elke afstand achter het scherm voldoet'
            : 'elke afstand voldoet';
    const atTop = solution.bound === 'highest';
    const at = `bij x = ${metres(input.x)}`;
    const value = metres(solution.value);
    if (quantity === 'height')
        return atTop ? `≥ ${value} (hoogste onderzochte hoogte, ${at})` : `${value} (${at})`;
    if (quantity === 'width') {
        // The width is judged for a point in front of the middle of the face.
        const point = `punt midden voor de zijde: y = ${metres(solution.position)}`;
        return atTop
            ? `≥ ${value} (grootste onderzochte breedte, ${at}, ${point})`
            : `${value} (${at}, ${point})`;
    }
    return value;
}

// input: the page's input; answers: the worker's {check, distance, height, width}.
export function describeAnswers(input, answers) {
    const {check} = answers;
    let where;
    if (input.indoor) where = 'halve gebouwhoogte';
    else if (check.point) where = `punt ${check.point}`;
    else where = 'tussen de punten';
    const limit = kw(input.limit);
    const highest = `${kw(check.highest / 1000)} (${where}, ${metres(check.height)})`;
    const over =
        input.envelope && !input.indoor
            ? 'over elke hoogte van 0 m tot het hoogste beoordelingspunt'
            : input.indoor
              ? 'op halve gebouwhoogte'
              : 'op de vijf beoordelingspunten';
    let verdict;
    let sentence;
    let verdictKind;
    if (check.compliesOnlyAtPoints) {
        const between = kw(check.envelopeHighest / 1000);
        verdictKind = 'warning';
        verdict = `⚠ Voldoet alleen op de vijf punten: ertussen ${between} op ${metres(check.envelopeHeight)}`;
        sentence =
            `Voldoet alleen op de vijf beoordelingspunten. Daar is het hoogste warmtestralingsniveau ${highest} ` +
            `(${over}), maar tussen de punten bereikt het ${between} op ${metres(check.envelopeHeight)} hoogte, ` +
            `meer dan de grenswaarde van ${limit}. Toets met de omhullende over alle hoogtes.`;
    } else if (check.complies) {
        verdictKind = 'complies';
        verdict = `✔ Voldoet: ten hoogste ${limit}`;
        sentence =
            `Voldoet: het hoogste warmtestralingsniveau ${over} is ${highest}, ` +
            `niet meer dan de grenswaarde van ${limit}.`;
    } else {
        verdictKind = 'fails';
        verdict = `✘ Voldoet niet: meer dan ${limit}`;
        sentence =
            `Voldoet niet: het hoogste warmtestralingsniveau ${over} is ${highest}, ` +
            `meer dan de grenswaarde van ${limit}.`;
    }
    return {
        highest,
        verdict,
        sentence,
        verdictKind,
        distance: solutionText(answers.distance, 'distance', input),
        height: solutionText(answers.height, 'height', input),
        width: solutionText(answers.width, 'width', input),
        decisiveHeight: metres(check.height),
    };
}

export function refusalText(message) {
    return oneLine(message);
}
