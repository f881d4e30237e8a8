// The case file (.warmtegloed, JSON in UTF-8) as the page opens and saves it: the case's
// names ("meta") and the one storage of "calculation". Everything else a file holds (a
// site, keys of a later program) is kept as it was and written back when the case is
// saved again.

import {DEFAULT_INPUT, FIELDS, rangeText as limitText} from './inputs.js';

export const CASE_FORMAT = 'warmtegloed-case';
export const CASE_VERSION = 1;
export const META_KEYS = ['title', 'establishment', 'address', 'author', 'notes'];
const NUMBER_KEYS = ['B', 'D', 'H', 'x', 'y', 'hs', 'xs', 'K', 'limit'];
const FLAG_KEYS = ['indoor', 'compact', 'screen', 'envelope'];
const RANGE_OF = Object.fromEntries(FIELDS.map((field) => [field.key, field]));

function rangeText(value, unit) {
    return `${limitText(value)}${unit ? ' ' + unit : ''}`;
}

function between(minimum, maximum, unit) {
    return `van ${rangeText(minimum, unit)} tot ${rangeText(maximum, unit)}`;
}

function isObject(value) {
    return value !== null && typeof value === 'object' && !Array.isArray(value);
}

// {input, meta, original} from the file's text, or {error} with one Dutch line that
// names the key. Keys missing from "calculation" keep the classic window's design values.
export function readCase(text, ranges) {
    let parsed;
    try {
        parsed = JSON.parse(text);
    } catch (error) {
        return {error: 'Dit bestand is geen zaakbestand: het is geen geldige JSON.'};
    }
    if (!isObject(parsed)) return {error: 'Dit bestand is geen zaakbestand: het bevat geen JSON-object.'};
    if (parsed.format !== CASE_FORMAT) return {error: `format: moet "${CASE_FORMAT}" zijn.`};
    if (!Number.isInteger(parsed.version) || parsed.version < 1)
        return {error: 'version: moet een geheel getal van 1 of meer zijn.'};
    if (parsed.version > CASE_VERSION)
        return {
            error:
                `version: versie ${parsed.version} is nieuwer dan deze webversie kent (${CASE_VERSION}); ` +
                'gebruik een nieuwere versie van Warmtegloedvracht.',
        };
    if (parsed.meta !== undefined && !isObject(parsed.meta)) return {error: 'meta: moet een object zijn.'};
    const meta = {};
    for (const key of META_KEYS) {
        const value = parsed.meta?.[key];
        if (value !== undefined && typeof value !== 'string') return {error: `meta.${key}: moet tekst zijn.`};
        meta[key] = value ?? '';
    }
    const calculation = parsed.calculation;
    if (calculation === undefined)
        return {error: 'calculation: ontbreekt; deze webversie rekent met één opslag.'};
    if (!isObject(calculation)) return {error: 'calculation: moet een object zijn.'};
    const input = {...DEFAULT_INPUT, heights: [...DEFAULT_INPUT.heights]};
    for (const key of NUMBER_KEYS) {
        const value = calculation[key];
        if (value === undefined) continue;
        if (typeof value !== 'number' || !Number.isFinite(value))
            return {error: `calculation.${key}: moet een getal zijn.`};
        const field = RANGE_OF[key];
        const [minimum, maximum] = ranges[field.range].method;
        if (value < minimum || value > maximum)
            return {
                error: `calculation.${key}: moet ${between(minimum, maximum, field.unit)} zijn.`,
            };
        input[key] = value;
    }
    for (const key of FLAG_KEYS) {
        const value = calculation[key];
        if (value !== undefined && typeof value !== 'boolean')
            return {error: `calculation.${key}: moet true of false zijn.`};
        if (value !== undefined) input[key] = value;
    }
    if (calculation.heights !== undefined) {
        const heights = calculation.heights;
        if (!Array.isArray(heights) || heights.length !== 5)
            return {error: 'calculation.heights: moet vijf getallen bevatten.'};
        const [minimum, maximum] = ranges.z.method;
        for (let i = 0; i < 5; ++i) {
            if (typeof heights[i] !== 'number' || !Number.isFinite(heights[i]))
                return {error: `calculation.heights[${i}]: moet een getal zijn.`};
            if (heights[i] < minimum || heights[i] > maximum)
                return {
                    error: `calculation.heights[${i}]: moet ${between(minimum, maximum, 'm')} zijn.`,
                };
        }
        input.heights = [...heights];
    }
    if (input.screen && !input.indoor && input.xs > input.x)
        return {
            error: 'calculation.xs: het scherm staat verder weg dan het beoordelingspunt (xs groter dan x).',
        };
    return {input, meta, original: parsed};
}

// The text of the case file for `input` and `meta`, keeping what `original` (the file
// opened last, if any) holds beyond them, in its order.
export function writeCase(input, meta, original = null) {
    const base = isObject(original) ? original : {};
    const calculation = {
        B: input.B,
        D: input.D,
        H: input.H,
        x: input.x,
        y: input.y,
        heights: [...input.heights],
        indoor: input.indoor,
        compact: input.compact,
        screen: input.screen,
        hs: input.hs,
        xs: input.xs,
        K: input.K,
        limit: input.limit,
        envelope: input.envelope,
    };
    const metaOut = {...(isObject(base.meta) ? base.meta : {})};
    for (const key of META_KEYS) metaOut[key] = meta[key] ?? '';
    const file = {format: CASE_FORMAT, version: CASE_VERSION, ...base};
    file.format = CASE_FORMAT;
    file.version = CASE_VERSION;
    file.meta = metaOut;
    file.calculation = {...(isObject(base.calculation) ? base.calculation : {}), ...calculation};
    return JSON.stringify(file, null, 2) + '\n';
}

// A file name from the case's title: letters, digits, dashes; "zaak" without a title.
export function caseFileName(meta) {
    const stem = String(meta.title || '')
        .normalize('NFKD')
        .replace(/[\u0300-\u036f]/g, '')
        .replace(/[^A-Za-z0-9]+/g, '-')
        .replace(/^-+|-+$/g, '')
        .slice(0, 60);
    return `${stem || 'zaak'}.warmtegloed`;
}
