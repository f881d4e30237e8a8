// The numbers behind the views as a table, and the table as CSV: Dutch (semicolons, a
// decimal comma: what a Dutch spreadsheet reads) or with points and commas for scripts.
// Cells hold the shortest digits that give the same number back.

import {shortText} from './numbers.js';

function heightCaption(input, height, index) {
    return input.indoor
        ? 'niveau op halve gebouwhoogte (kW/m²)'
        : `punt ${index + 1} op ${shortText(height, 3)} m (kW/m²)`;
}

// kind: 'distance', 'height' or 'plan'; data: the page's state of the views.
export function tableFor(kind, input, data) {
    if (kind === 'distance' && data.distance) {
        const profile = data.distance;
        const headers = ['afstand x (m)', ...profile.heights.map((h, i) => heightCaption(input, h, i))];
        if (profile.envelope.length) headers.push('omhullende (kW/m²)');
        headers.push('hoogste (kW/m²)');
        const rows = profile.distances.map((x, d) => [
            x,
            ...profile.levels.map((series) => series[d]),
            ...(profile.envelope.length ? [profile.envelope[d]] : []),
            profile.highest[d],
        ]);
        return {headers, rows};
    }
    if (kind === 'height' && data.height) {
        const rows = data.height.heights.map((z, i) => [z, data.height.levels[i]]);
        return {headers: ['hoogte z (m)', 'niveau (kW/m²)'], rows};
    }
    if (kind === 'plan' && data.plan && data.plan.exact) {
        const {plan} = data;
        const rows = [];
        for (let j = 0; j < plan.rows; ++j) {
            for (let i = 0; i < plan.columns; ++i)
                rows.push([
                    plan.xFrom + i * plan.dx,
                    plan.yFrom + j * plan.dy,
                    plan.values[j * plan.columns + i],
                ]);
        }
        return {headers: ['x (m)', 'y (m)', 'hoogste niveau (kW/m²)'], rows};
    }
    return {headers: [], rows: []};
}

// The shortest text that reads back as the same double; no "-0", no "NaN".
export function cellText(value, decimalComma) {
    if (!Number.isFinite(value)) return '';
    const text = Object.is(value, -0) ? '0' : String(value);
    return decimalComma ? text.replace('.', ',') : text;
}

function quoted(text, separator) {
    return /["\n\r]/.test(text) || text.includes(separator) ? `"${text.replace(/"/g, '""')}"` : text;
}

export function tableCsv(table, dutch) {
    const separator = dutch ? ';' : ',';
    const lines = [table.headers.map((h) => quoted(h, separator)).join(separator)];
    for (const row of table.rows) lines.push(row.map((value) => cellText(value, dutch)).join(separator));
    return lines.join('\r\n') + '\r\n';
}
