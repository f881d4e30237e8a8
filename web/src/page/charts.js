// The views drawn on canvases: the line charts "Afstand" and "Hoogte" and the plan
// "Plattegrond" (colour map, legend, isolines, storage, screen, point, scale bar).

import {shortText} from './numbers.js';

export const SERIES_COLOURS = ['#1f77b4', '#d62728', '#2ca02c', '#9467bd', '#ff7f0e'];
const LIMIT_COLOUR = '#b00020';
const FONT = '12px "Liberation Sans", Arial, sans-serif';

// Viridis at nine stops, interpolated linearly between them (as the desktop's plan).
const VIRIDIS = [
    [68, 1, 84],
    [72, 40, 120],
    [62, 73, 137],
    [49, 104, 142],
    [38, 130, 142],
    [31, 158, 137],
    [53, 183, 121],
    [110, 206, 88],
    [253, 231, 37],
];

export function viridis(fraction) {
    const colour = new Uint8ClampedArray(3);
    viridisInto(colour, 0, fraction);
    return colour;
}

// The colour of `fraction` into data[at] to data[at + 2] (an image's red, green, blue).
// `data` is always a Uint8ClampedArray: with one kind of array the loop over a plan's
// 40 000 cells stays fast (with two it takes five times as long).
function viridisInto(data, at, fraction) {
    const f = Number.isFinite(fraction) ? Math.min(Math.max(fraction, 0), 1) : 0;
    const position = f * 8;
    const lower = Math.min(Math.floor(position), 7);
    const t = position - lower;
    const from = VIRIDIS[lower];
    const to = VIRIDIS[lower + 1];
    for (let i = 0; i < 3; ++i) data[at + i] = Math.round(from[i] + (to[i] - from[i]) * t);
}

// Round tick values (1, 2 or 5 times a power of ten) covering [low, high].
export function ticks(low, high, wanted = 6) {
    if (!(high > low)) return [low];
    const raw = (high - low) / wanted;
    const power = 10 ** Math.floor(Math.log10(raw));
    const step = [1, 2, 5, 10].map((m) => m * power).find((s) => s >= raw * 0.999) || 10 * power;
    const values = [];
    for (let v = Math.ceil(low / step - 1e-9) * step; v <= high + step * 1e-9; v += step)
        values.push(Math.abs(v) < step * 1e-9 ? 0 : v);
    return values;
}

function prepare(canvas) {
    const ratio = window.devicePixelRatio || 1;
    // A canvas of a hidden view is drawn as wide as the views and as high as its aspect
    // says, so that it prints as it would show.
    const views = canvas.closest('#views');
    const width = canvas.clientWidth || (views && views.clientWidth) || 900;
    const height = canvas.clientHeight || Math.round(width * Number(canvas.dataset.aspect || 0.5));
    canvas.width = Math.round(width * ratio);
    canvas.height = Math.round(height * ratio);
    const g = canvas.getContext('2d');
    g.setTransform(ratio, 0, 0, ratio, 0, 0);
    g.clearRect(0, 0, width, height);
    g.font = FONT;
    return {g, width, height};
}

function styleOf(canvas, name, fallback) {
    const value = getComputedStyle(canvas).getPropertyValue(name).trim();
    return value || fallback;
}

// chart: {xLabel, yLabel, series: [{label, xs, ys, colour, dash}], limit: {value, label},
// marks: [{x, label}], points: [{x, y, label}], yFrom}
export function drawLineChart(canvas, chart) {
    const {g, width, height} = prepare(canvas);
    const ink = styleOf(canvas, '--ink', '#222');
    const grid = styleOf(canvas, '--grid', '#ddd');
    const left = 56;
    const right = 16;
    const top = 28;
    const bottom = 44;
    const allX = chart.series.flatMap((s) => s.xs);
    const allY = chart.series.flatMap((s) => s.ys).filter(Number.isFinite);
    if (allX.length === 0) return;
    const xLow = Math.min(...allX);
    const xHigh = Math.max(...allX);
    const yHigh = Math.max(...allY, chart.limit ? chart.limit.value * 1.1 : 0, 1e-3);
    // The axis ends on a tick above the highest value.
    const firstTicks = ticks(0, yHigh);
    const yStep = firstTicks.length > 1 ? firstTicks[1] - firstTicks[0] : yHigh;
    const yTop = Math.ceil(yHigh / yStep - 1e-9) * yStep;
    const yTicks = ticks(0, yTop);
    const px = (x) => left + ((x - xLow) / (xHigh - xLow || 1)) * (width - left - right);
    const py = (y) => top + (1 - y / yTop) * (height - top - bottom);
    g.strokeStyle = grid;
    g.fillStyle = ink;
    g.lineWidth = 1;
    g.textAlign = 'right';
    g.textBaseline = 'middle';
    for (const y of yTicks) {
        g.beginPath();
        g.moveTo(left, py(y));
        g.lineTo(width - right, py(y));
        g.stroke();
        g.fillText(shortText(y), left - 6, py(y));
    }
    g.textAlign = 'center';
    g.textBaseline = 'top';
    for (const x of ticks(xLow, xHigh, Math.max(3, Math.floor((width - left - right) / 70)))) {
        g.beginPath();
        g.moveTo(px(x), top);
        g.lineTo(px(x), height - bottom);
        g.stroke();
        g.fillText(shortText(x), px(x), height - bottom + 4);
    }
    g.fillText(chart.xLabel, left + (width - left - right) / 2, height - 18);
    g.save();
    g.translate(14, top + (height - top - bottom) / 2);
    g.rotate(-Math.PI / 2);
    g.textBaseline = 'middle';
    g.fillText(chart.yLabel, 0, 0);
    g.restore();
    g.save();
    g.beginPath();
    g.rect(left, top, width - left - right, height - top - bottom);
    g.clip();
    for (const series of chart.series) {
        g.strokeStyle = series.colour;
        g.lineWidth = series.width || 1.6;
        g.setLineDash(series.dash || []);
        g.beginPath();
        series.xs.forEach((x, i) =>
            i ? g.lineTo(px(x), py(series.ys[i])) : g.moveTo(px(x), py(series.ys[i])),
        );
        g.stroke();
    }
    g.setLineDash([]);
    if (chart.limit) {
        g.strokeStyle = LIMIT_COLOUR;
        g.lineWidth = 1.5;
        g.setLineDash([6, 4]);
        g.beginPath();
        g.moveTo(left, py(chart.limit.value));
        g.lineTo(width - right, py(chart.limit.value));
        g.stroke();
        g.setLineDash([]);
    }
    for (const mark of chart.marks || []) {
        if (!(mark.x >= xLow && mark.x <= xHigh)) continue;
        g.strokeStyle = ink;
        g.beginPath();
        g.moveTo(px(mark.x), top);
        g.lineTo(px(mark.x), height - bottom);
        g.stroke();
    }
    for (const point of chart.points || []) {
        g.fillStyle = LIMIT_COLOUR;
        g.beginPath();
        g.arc(px(point.x), py(point.y), 4, 0, 2 * Math.PI);
        g.fill();
    }
    g.restore();
    // Labels last, above the lines: the limit at the right, marks at the top.
    g.fillStyle = LIMIT_COLOUR;
    g.textAlign = 'right';
    g.textBaseline = 'bottom';
    if (chart.limit) g.fillText(chart.limit.label, width - right - 4, py(chart.limit.value) - 2);
    g.fillStyle = ink;
    g.textBaseline = 'bottom';
    for (const mark of chart.marks || []) {
        if (mark.x >= xLow && mark.x <= xHigh) {
            g.textAlign = px(mark.x) > width / 2 ? 'right' : 'left';
            g.fillText(mark.label, px(mark.x) + (px(mark.x) > width / 2 ? -4 : 4), top - 4);
        }
    }
    for (const point of chart.points || []) {
        g.textAlign = px(point.x) > width / 2 ? 'right' : 'left';
        g.textBaseline = 'top';
        g.fillText(point.label, px(point.x) + (px(point.x) > width / 2 ? -6 : 6), py(point.y) + 6);
    }
    const labelled = chart.series.filter((s) => s.label);
    const legendWidth = Math.max(0, ...labelled.map((s) => g.measureText(s.label).width)) + 30;
    drawLegend(g, labelled, width - right - legendWidth, top + 4, ink, legendWidth);
}

function drawLegend(g, series, x, y, ink, width) {
    if (series.length) {
        g.fillStyle = styleOf(g.canvas, '--paper', '#fff');
        g.globalAlpha = 0.85;
        g.fillRect(x - 6, y, width + 6, series.length * 16 + 6);
        g.globalAlpha = 1;
    }
    g.textAlign = 'left';
    g.textBaseline = 'middle';
    series.forEach((s, i) => {
        const row = y + 8 + i * 16;
        g.strokeStyle = s.colour;
        g.lineWidth = 2;
        g.setLineDash(s.dash || []);
        g.beginPath();
        g.moveTo(x, row);
        g.lineTo(x + 18, row);
        g.stroke();
        g.setLineDash([]);
        g.fillStyle = ink;
        g.fillText(s.label, x + 24, row);
    });
}

// The plan's frame: where a ground point (x outwards from the face, y along it) lands
// on the canvas. The storage is drawn behind the face (x < 0) with its depth, at most a
// third of the view.
export function planFrame(plan, input, width, height) {
    const legendWidth = 70;
    const margin = {left: 48, right: legendWidth + 12, top: 20, bottom: 40};
    const depthShown = Math.min(input.D, (plan.xFrom + (plan.columns - 1) * plan.dx) / 3);
    const xLow = -depthShown;
    const xHigh = plan.xFrom + (plan.columns - 1) * plan.dx;
    const yLow = plan.yFrom;
    const yHigh = plan.yFrom + (plan.rows - 1) * plan.dy;
    // One scale for both axes: a metre is a metre across and along the face.
    const scale = Math.min(
        (width - margin.left - margin.right) / (xHigh - xLow),
        (height - margin.top - margin.bottom) / (yHigh - yLow),
    );
    const px = (x) => margin.left + (x - xLow) * scale;
    // y grows upwards on the screen: the face runs up the left side.
    const py = (y) => margin.top + (yHigh - y) * scale;
    const fromPixel = (cx, cy) => ({
        x: xLow + (cx - margin.left) / scale,
        y: yHigh - (cy - margin.top) / scale,
    });
    return {px, py, fromPixel, scale, xLow, xHigh, yLow, yHigh, margin};
}

// Contour levels as the legend and the lines show them.
export function contourStyle(level, limit) {
    return level === limit
        ? {colour: LIMIT_COLOUR, width: 2.5, dash: []}
        : {colour: '#ffffff', width: 1.2, dash: [4, 3]};
}

// The colour map's cells, one pixel each, before they are scaled onto a plan: one canvas for
// every drawing (a new one each time costs more than the drawing).
let bitmap = null;

export function drawPlan(canvas, plan, input, answers, probe) {
    const {g, width, height} = prepare(canvas);
    const ink = styleOf(canvas, '--ink', '#222');
    const frame = planFrame(plan, input, width, height);
    const {px, py, scale} = frame;
    // The colour map: each grid node a cell of the image, scaled to the frame.
    const top = Math.max(plan.highest, input.limit, 1e-6);
    const image = new ImageData(plan.columns, plan.rows);
    for (let j = 0; j < plan.rows; ++j) {
        for (let i = 0; i < plan.columns; ++i) {
            const at = ((plan.rows - 1 - j) * plan.columns + i) * 4;
            viridisInto(image.data, at, plan.values[j * plan.columns + i] / top);
            image.data[at + 3] = 255;
        }
    }
    bitmap ??= document.createElement('canvas');
    bitmap.width = plan.columns;
    bitmap.height = plan.rows;
    bitmap.getContext('2d').putImageData(image, 0, 0);
    const x0 = px(plan.xFrom - plan.dx / 2);
    const y0 = py(plan.yFrom + (plan.rows - 0.5) * plan.dy);
    g.imageSmoothingEnabled = true;
    g.drawImage(bitmap, x0, y0, plan.columns * plan.dx * scale, plan.rows * plan.dy * scale);
    // Isolines.
    for (const {level, lines} of plan.contours || []) {
        const style = contourStyle(level, input.limit);
        g.strokeStyle = style.colour;
        g.lineWidth = style.width;
        g.setLineDash(style.dash);
        for (const line of lines) {
            g.beginPath();
            for (let k = 0; k < line.points.length; k += 2) {
                const cx = px(line.points[k]);
                const cy = py(line.points[k + 1]);
                if (k === 0) g.moveTo(cx, cy);
                else g.lineTo(cx, cy);
            }
            g.stroke();
        }
    }
    g.setLineDash([]);
    // The storage, behind the face.
    g.fillStyle = '#8d6e4c';
    g.strokeStyle = ink;
    g.lineWidth = 1.5;
    const storageTop = py(Math.min(input.B, frame.yHigh));
    const storageBottom = py(Math.max(0, frame.yLow));
    if (storageBottom > storageTop) {
        g.fillRect(px(frame.xLow), storageTop, px(0) - px(frame.xLow), storageBottom - storageTop);
        g.strokeRect(px(frame.xLow), storageTop, px(0) - px(frame.xLow), storageBottom - storageTop);
    }
    // The screen along the face, at its distance.
    if (input.screen && !input.indoor) {
        g.strokeStyle = '#000';
        g.lineWidth = 4;
        g.beginPath();
        g.moveTo(px(input.xs), storageTop);
        g.lineTo(px(input.xs), storageBottom);
        g.stroke();
    }
    // The assessment point.
    drawMarker(g, px(input.x), py(input.y), '#ffffff', ink);
    if (probe) drawMarker(g, px(probe.x), py(probe.y), '#ffeb3b', ink, 5);
    // Axes.
    g.fillStyle = ink;
    g.font = FONT;
    g.textAlign = 'center';
    g.textBaseline = 'top';
    const bottomEdge = py(frame.yLow);
    for (const x of ticks(frame.xLow, frame.xHigh, 6)) g.fillText(shortText(x), px(x), bottomEdge + 4);
    g.fillText('afstand x (m)', (px(frame.xLow) + px(frame.xHigh)) / 2, bottomEdge + 20);
    g.textAlign = 'right';
    g.textBaseline = 'middle';
    for (const y of ticks(frame.yLow, frame.yHigh, 6)) g.fillText(shortText(y), px(frame.xLow) - 4, py(y));
    drawScaleBar(g, frame, bottomEdge, ink);
    drawColourLegend(g, frame, width, top, input.limit, ink);
}

// An empty view that says why it is empty: never the figure of an earlier input.
export function drawNothing(canvas, message) {
    const {g, width, height} = prepare(canvas);
    g.fillStyle = styleOf(canvas, '--ink', '#222');
    g.textAlign = 'center';
    g.textBaseline = 'middle';
    g.fillText(message, width / 2, height / 2, width - 20);
}

// A white disc with a cross: dark lines whatever the page's colours, as it lies on the map.
function drawMarker(g, x, y, fill, ink, radius = 6) {
    g.fillStyle = fill;
    g.strokeStyle = '#000';
    g.lineWidth = 1.5;
    g.beginPath();
    g.arc(x, y, radius, 0, 2 * Math.PI);
    g.fill();
    g.stroke();
    g.beginPath();
    g.moveTo(x - radius * 0.7, y - radius * 0.7);
    g.lineTo(x + radius * 0.7, y + radius * 0.7);
    g.moveTo(x + radius * 0.7, y - radius * 0.7);
    g.lineTo(x - radius * 0.7, y + radius * 0.7);
    g.stroke();
}

function drawScaleBar(g, frame, bottomEdge, ink) {
    const quarter = (frame.xHigh - frame.xLow) / 4;
    const power = 10 ** Math.floor(Math.log10(quarter));
    const metres = [5, 2, 1].map((m) => m * power).find((m) => m <= quarter) || power;
    const length = metres * frame.scale;
    const x = frame.px(frame.xHigh) - length;
    const y = bottomEdge - 12;
    g.strokeStyle = '#fff';
    g.lineWidth = 4;
    g.beginPath();
    g.moveTo(x, y);
    g.lineTo(x + length, y);
    g.stroke();
    g.strokeStyle = ink;
    g.lineWidth = 2;
    g.stroke();
    g.fillStyle = '#fff';
    g.textAlign = 'center';
    g.textBaseline = 'bottom';
    g.fillText(`${shortText(metres)} m`, x + length / 2, y - 3);
}

function drawColourLegend(g, frame, width, top, limit, ink) {
    const x = Math.min(width - frame.margin.right, frame.px(frame.xHigh)) + 16;
    const y0 = frame.margin.top;
    const barHeight = Math.max(60, frame.py(frame.yLow) - y0);
    for (let k = 0; k < barHeight; ++k) {
        const [r, gr, b] = viridis(1 - k / barHeight);
        g.fillStyle = `rgb(${r},${gr},${b})`;
        g.fillRect(x, y0 + k, 14, 1.5);
    }
    g.fillStyle = ink;
    g.textAlign = 'left';
    g.textBaseline = 'middle';
    for (const value of ticks(0, top, 5))
        g.fillText(shortText(value), x + 18, y0 + (1 - value / top) * barHeight);
    g.fillStyle = LIMIT_COLOUR;
    g.fillRect(x - 3, y0 + (1 - limit / top) * barHeight - 1, 20, 2);
    g.fillStyle = ink;
    g.textAlign = 'center';
    g.textBaseline = 'bottom';
    g.fillText('kW/m²', x + 14, y0 - 1 < 12 ? 12 : y0 - 1);
}
