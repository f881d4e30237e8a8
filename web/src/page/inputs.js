// The inputs of the page: the classic window's quantities and options, the limit and the
// envelope, each checked as it is typed against the method's range (which the engine
// owns and the build hands over), with a Dutch message beside a wrong value.

import {parseNumber, shortText} from './numbers.js';

// key: the case file's key; range: the engine's symbol of the quantity.
export const FIELDS = [
    {
        key: 'B',
        range: 'B',
        group: 'storage',
        caption: 'Breedte opslag (B)',
        unit: 'm',
        tip: 'Breedte van de opslag (binnenopslag: van het gebouw), de zijde naar het beoordelingspunt.',
    },
    {
        key: 'D',
        range: 'D',
        group: 'storage',
        caption: 'Diepte opslag (D)',
        unit: 'm',
        tip: 'Diepte van de opslag, loodrecht op de zijde naar het beoordelingspunt.',
    },
    {
        key: 'H',
        range: 'H',
        group: 'storage',
        caption: 'Hoogte opslag (H)',
        unit: 'm',
        tip: 'Hoogte van de opslag (binnenopslag: van het gebouw).',
    },
    {
        key: 'x',
        range: 'x',
        group: 'storage',
        caption: 'Afstand tot beoordelingspunt (x)',
        unit: 'm',
        tip: 'Afstand tussen de opslag en het beoordelingspunt, bijvoorbeeld de perceelsgrens.',
    },
    {
        key: 'y',
        range: 'y',
        group: 'storage',
        caption: 'Positie beoordelingspunt (y)',
        unit: 'm',
        tip:
            'Positie langs de zijde van de opslag, gemeten vanaf één hoek. ' +
            'Volgt B / 2 zolang het punt midden voor de opslag ligt.',
    },
    {
        key: 'hs',
        range: 'hs',
        group: 'screen',
        caption: 'Hoogte scherm (hs)',
        unit: 'm',
        tip: 'Hoogte van het scherm.',
    },
    {
        key: 'xs',
        range: 'xs',
        group: 'screen',
        caption: 'Afstand scherm tot opslag (xs)',
        unit: 'm',
        tip: 'Afstand tussen het scherm en de opslag; ten hoogste de afstand x.',
    },
    {
        key: 'K',
        range: 'K',
        group: 'screen',
        caption: 'Efficiency scherm (K)',
        unit: '',
        tip: 'Deel van de straling dat het scherm tegenhoudt: 0 (niets) tot 1 (alles).',
    },
    ...[1, 2, 3, 4, 5].map((n) => ({
        key: `z${n}`,
        range: 'z',
        group: 'points',
        caption: `Punt ${n}`,
        unit: 'm',
        tip: `Hoogte van beoordelingspunt ${n} boven de onderkant van de opslag.`,
    })),
    {
        key: 'limit',
        range: 'L',
        group: 'limit',
        caption: 'Grenswaarde (L)',
        unit: 'kW/m²',
        tip: 'Het hoogste toegestane warmtestralingsniveau.',
    },
];

export const OPTIONS = [
    {
        key: 'indoor',
        caption: 'Binnenopslag',
        tip:
            'Een brandend gebouw met houtopslag: de hele gevel straalt (45 kW/m²); ' +
            'één beoordelingspunt op halve gebouwhoogte.',
    },
    {
        key: 'compact',
        caption: 'Compact gestapeld hout',
        tip: 'Lagere vlamtemperatuur (950 K in plaats van 1085 K).',
    },
    {
        key: 'screen',
        caption: 'Afscherming aanwezig',
        tip: 'Een scherm tussen de opslag en het beoordelingspunt.',
    },
    {
        key: 'envelope',
        caption: 'Omhullende: alle hoogtes tot het hoogste punt',
        tip:
            'Toets het hoogste niveau over elke hoogte van 0 m tot het hoogste beoordelingspunt, ' +
            'niet alleen over de vijf punten.',
    },
];

export const LIMIT_PRESETS = [
    {value: 15, caption: '15 kW/m² (houtopslag buiten, 60 minuten)'},
    {value: 12.5, caption: '12,5 kW/m²'},
    {value: 10, caption: '10 kW/m²'},
];

// The classic window's design values.
export const DEFAULT_INPUT = Object.freeze({
    B: 10,
    D: 10,
    H: 8,
    x: 5,
    y: 5,
    hs: 0,
    xs: 0,
    K: 1,
    heights: [2.5, 5, 7.5, 10, 12.5],
    indoor: false,
    compact: false,
    screen: false,
    limit: 15,
    envelope: false,
});

export function valueOf(input, key) {
    return key.startsWith('z') ? input.heights[Number(key.slice(1)) - 1] : input[key];
}

function withValue(input, key, value) {
    if (!key.startsWith('z')) return {...input, [key]: value};
    const heights = [...input.heights];
    heights[Number(key.slice(1)) - 1] = value;
    return {...input, heights};
}

// A range's end as messages write it: "0,01", "10.000".
export function rangeText(value) {
    return shortText(value).replace(/^(-?\d+)(\d{3})(?=,|$)/, '$1.$2');
}

function unitSuffix(unit) {
    return unit ? ` ${unit}` : '';
}

// Whether a field takes part with these options: the screen's three only with a screen
// outdoors, points 2 to 5 only outdoors.
export function fieldEnabled(key, options) {
    if (['hs', 'xs', 'K'].includes(key)) return options.screen && !options.indoor;
    if (['z2', 'z3', 'z4', 'z5'].includes(key)) return !options.indoor;
    return true;
}

export function optionEnabled(key, options) {
    return key === 'indoor' || !options.indoor;
}

// The problem of one typed text, or '' with the value.
export function checkField(field, text, ranges) {
    const typed = String(text).trim();
    if (typed === '') return {message: 'Vul een getal in.'};
    const value = parseNumber(typed);
    if (value === null) return {message: `„${typed}” is geen getal; schrijf bijvoorbeeld 12,5.`};
    const [minimum, maximum] = ranges[field.range].method;
    if (value < minimum || value > maximum)
        return {
            message: `Kies een waarde van ${rangeText(minimum)} tot ${rangeText(maximum)}${unitSuffix(field.unit)}.`,
        };
    const [low, high] = ranges[field.range].window;
    const note =
        value < low || value > high
            ? 'Buiten het bereik van het klassieke venster ' +
              `(${rangeText(low)} tot ${rangeText(high)}${unitSuffix(field.unit)}).`
            : '';
    return {message: '', value, note};
}

// All fields at once: texts by key, options by key. Gives the input when every enabled
// field is right, else null, and the messages and notes by key. A disabled field keeps
// the value of `previous`.
export function checkAll(texts, options, ranges, previous = DEFAULT_INPUT) {
    let input = {...previous, heights: [...previous.heights]};
    for (const option of OPTIONS) input[option.key] = Boolean(options[option.key]);
    const messages = {};
    const notes = {};
    let valid = true;
    for (const field of FIELDS) {
        if (!fieldEnabled(field.key, options)) continue;
        const checked = checkField(field, texts[field.key] ?? '', ranges);
        if (checked.message) {
            messages[field.key] = checked.message;
            valid = false;
            continue;
        }
        if (checked.note) notes[field.key] = checked.note;
        input = withValue(input, field.key, checked.value);
    }
    if (valid && input.screen && !input.indoor && input.xs > input.x) {
        messages.xs = 'Het scherm staat verder weg dan het beoordelingspunt: xs mag niet groter zijn dan x.';
        valid = false;
    }
    return {input: valid ? input : null, messages, notes};
}

// The value after an arrow key: a step of the engine's range (PageUp/PageDown five),
// rounded to the step and kept inside the method's range.
export function steppedValue(field, current, steps, ranges) {
    const {step, method} = ranges[field.range];
    const next = (Math.round(((current + steps * step) / step) * 1e6) / 1e6) * step;
    return Math.min(Math.max(next, method[0]), method[1]);
}

export function fieldText(value) {
    return shortText(value, 6);
}
