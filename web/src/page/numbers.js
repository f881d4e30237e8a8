// Numbers as a Dutch user reads and types them: a decimal comma, a point accepted as
// well (a numeric keypad gives one), no thousands typed.

// The value of a typed number, or null when the text is not one number. Accepts "12,5",
// "12.5", "-3", ",5"; refuses "", "1,2,3", "1.000,5", "12 m", "1e3", "Infinity".
export function parseNumber(text) {
    const trimmed = String(text).trim();
    if (!/^[-+]?(\d+([.,]\d*)?|[.,]\d+)$/.test(trimmed)) return null;
    const value = Number(trimmed.replace(',', '.'));
    return Number.isFinite(value) ? value : null;
}

// Groups of three digits with points: "10000" -> "10.000".
function grouped(digits) {
    return digits.replace(/\B(?=(\d{3})+(?!\d))/g, '.');
}

// A number with a fixed count of decimals, a decimal comma and grouped thousands, as
// the answers show it ("12,90", "10.000,00"); never "-0,00", never "NaN".
export function fixedText(value, decimals = 2) {
    if (!Number.isFinite(value)) return '–';
    let text = value.toFixed(decimals);
    if (Number(text) === 0) text = (0).toFixed(decimals);
    const negative = text.startsWith('-');
    const [whole, fraction] = (negative ? text.slice(1) : text).split('.');
    return (negative ? '-' : '') + grouped(whole) + (fraction !== undefined ? ',' + fraction : '');
}

// The shortest form with at most `decimals` decimals and no trailing zeros, no grouping:
// what a field shows after a step, and the axes' ticks ("2,5", "10", "0,1").
export function shortText(value, decimals = 2) {
    if (!Number.isFinite(value)) return '–';
    let text = value.toFixed(decimals);
    if (text.includes('.')) text = text.replace(/0+$/, '').replace(/\.$/, '');
    if (Number(text) === 0) text = '0';
    return text.replace('.', ',');
}
