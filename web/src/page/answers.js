// The answers to the limit questions in words, as the page and its printed report show
// them: the highest level and where, the verdict (in words, the colour only repeats it),
// the minimal distance, the largest height and width, the decisive height.

import {fixedText} from './numbers.js';

function metres(value) {
    return `${fixedText(value)} m`;
}

function kw(valueW) {
    return `${fixedText(valueW / 1000)} kW/m²`;
}

function oneLine(message) {
    return String(message || '')
        .replace(/\s*\n\s*/g, ' ')
        .trim();
}

function solutionText(solution, searchedTop) {
    if (!solution.ok || !solution.found) return oneLine(solution.message) || 'geen antwoord';
    if (solution.bound === 'lowest') return `elke afstand voldoet (vanaf ${metres(solution.value)})`;
    if (solution.bound === 'highest') return `≥ ${metres(solution.value)} (${searchedTop})`;
    return metres(solution.value);
}

// input: the page's input; answers: the worker's {check, distance, height, width}.
export function describeAnswers(input, answers) {
    const {check} = answers;
    let where;
    if (input.indoor) where = 'beoordelingspunt op halve gebouwhoogte';
    else if (check.point) where = `punt ${check.point}`;
    else where = 'tussen de punten';
    const limit = fixedText(input.limit).replace(/,00$/, '');
    const betweenPoints = check.compliesOnlyAtPoints;
    let verdict;
    if (betweenPoints)
        verdict =
            '⚠ De punten voldoen, maar tussen de punten niet: ' +
            `${kw(check.envelopeHighest)} op ${metres(check.envelopeHeight)}`;
    else if (check.complies) verdict = `✔ Voldoet: ten hoogste ${limit} kW/m²`;
    else verdict = `✘ Voldoet niet: meer dan ${limit} kW/m²`;
    const width = solutionText(answers.width, 'grootste onderzochte breedte');
    const middle =
        answers.width.ok && answers.width.found
            ? ` voor een punt midden voor de opslag (y = ${metres(answers.width.position)})`
            : '';
    return {
        highest: `${kw(check.highest)} (${where}, ${metres(check.height)})`,
        verdict,
        verdictKind: betweenPoints ? 'warning' : check.complies ? 'complies' : 'fails',
        distance: solutionText(answers.distance, 'verste onderzochte afstand'),
        height: solutionText(answers.height, 'hoogste onderzochte hoogte'),
        width: width + middle,
        decisiveHeight: metres(check.height),
        at: ` (bij x = ${metres(input.x)})`,
    };
}

export function refusalText(message) {
    return oneLine(message);
}
