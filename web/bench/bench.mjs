// The web edition's speed in headless Chromium and its size: the first answers after
// the page starts loading, the 200 × 200 plan after a change (picture, then exact
// levels), and the page's files raw and compressed. Medians of a few runs.
//   node web/bench/bench.mjs [runs]      (after web/build.sh; writes build-web/bench.json)
import {readFileSync, writeFileSync} from 'node:fs';
import {join} from 'node:path';
import {pathToFileURL} from 'node:url';
import {gzipSync} from 'node:zlib';

import {launchBrowser, waitForExact} from '../tests/browser/browser.mjs';
import {PLAN_SIZE} from '../src/page/scheduler.js';
import {BUILD, loadEngine} from '../tests/support.mjs';

const runs = Number(process.argv[2] || 5);
const PAGE_FILES = ['index.html', 'warmtegloed.css', 'warmtegloed.js'];

function median(values) {
    const sorted = [...values].sort((a, b) => a - b);
    return sorted[Math.floor(sorted.length / 2)];
}

const sizes = {raw: 0, gzip: 0};
for (const file of PAGE_FILES) {
    const bytes = readFileSync(join(BUILD, file));
    sizes.raw += bytes.length;
    sizes.gzip += gzipSync(bytes, {level: 9}).length;
}

// The module's own cost in node, as processor time of this thread: what an idle machine
// would take, whatever else the machine runs (the browser figures below are wall time).
async function engineCpu() {
    const engine = await loadEngine();
    const input = {...{B: 14, D: 10, H: 8, x: 5, y: 7, heights: [2.5, 5, 7.5, 10, 12.5]}, limit: 15};
    const cpu = (work) => {
        const times = [];
        for (let i = 0; i < 3; ++i) {
            const before = process.cpuUsage();
            work();
            const used = process.cpuUsage(before);
            times.push((used.user + used.system) / 1000);
        }
        return median(times);
    };
    const extent = engine.viewExtent(input, engine.solve(input, 'distance').value).plan;
    const band = (exact, columns) => ({
        xFrom: extent.xFrom,
        dx: (extent.xTo - extent.xFrom) / 199,
        columns,
        column: 0,
        yFrom: extent.yFrom,
        dy: (extent.yTo - extent.yFrom) / 199,
        rowFrom: 0,
        rowTo: 200,
        exact,
    });
    return {
        answersMs: cpu(
            () =>
                ['distance', 'height', 'width'].forEach((q) => engine.solve(input, q)) || engine.check(input),
        ),
        pictureWholeMs: cpu(() => engine.planBand(input, band(false, 200))),
        pictureHalfMs: cpu(() => engine.planBand(input, band(false, 100))),
        exactWholeMs: cpu(() => engine.planBand(input, band(true, 200))),
    };
}
const moduleCpu = await engineCpu();

const chromium = await launchBrowser();
const samples = {
    firstAnswers: [],
    extent: [],
    answers: [],
    picture: [],
    pictureDrawn: [],
    exactDrawn: [],
    pictureWork: [],
};
let workers = 0;
try {
    for (let run = 0; run < runs; ++run) {
        const page = await chromium.browser.newPage();
        await page.setViewport({width: 1366, height: 768});
        await page.goto(pathToFileURL(join(BUILD, 'index.html')).href);
        await page.click('#tab-plan');
        let id = await waitForExact(page);
        const first = await page.evaluate(() => ({
            answers: window.warmtegloed.firstAnswers,
            start: performance.timeOrigin,
            timings: window.warmtegloed.timings,
            workers: window.warmtegloed.scheduler.workers.length,
        }));
        workers = first.workers;
        samples.firstAnswers.push(first.answers);
        // A change as the user finishes it: another width, then another height.
        for (const [field, value] of [
            ['field-B', '14'],
            ['field-H', '6,5'],
        ]) {
            await page.evaluate(
                (f, v) => {
                    const edit = document.getElementById(f);
                    edit.value = v;
                    edit.dispatchEvent(new Event('change'));
                },
                field,
                value,
            );
            id = await waitForExact(page, id);
            const t = await page.evaluate(() => window.warmtegloed.timings);
            const cost = await page.evaluate(() => window.warmtegloed.scheduler.cost);
            samples.pictureWork.push(cost.column * PLAN_SIZE);
            samples.extent.push(t.extent);
            samples.answers.push(t.answers);
            samples.picture.push(t.picture);
            samples.pictureDrawn.push(t.pictureDrawn);
            samples.exactDrawn.push(t.exactDrawn);
        }
        await page.close();
    }
} finally {
    await chromium.close();
}

const result = {
    runs,
    workers,
    firstAnswersAfterLoadStartMs: median(samples.firstAnswers),
    afterChange: {
        extentMs: median(samples.extent),
        answersMs: median(samples.answers),
        pictureMs: median(samples.picture),
        pictureWorkMs: median(samples.pictureWork),
        pictureDrawnMs: median(samples.pictureDrawn),
        exactDrawnMs: median(samples.exactDrawn),
    },
    pageBytes: sizes,
    moduleCpuInNode: moduleCpu,
};
writeFileSync(join(BUILD, 'bench.json'), JSON.stringify(result, null, 2) + '\n');
const ms = (v) => `${Math.round(v)} ms`;
const kilobytes = (bytes) => `${(bytes / 1024).toFixed(0)} kB`;
console.log(
    `the module in node, processor time (one thread): answers ${ms(moduleCpu.answersMs)}, ` +
        `200 × 200 picture ${ms(moduleCpu.pictureWholeMs)} (half the columns ${ms(moduleCpu.pictureHalfMs)}), ` +
        `exact plan ${ms(moduleCpu.exactWholeMs)}`,
);
console.log(`Chromium headless, ${workers} Web Workers, median of ${runs} runs (wall time)`);
console.log(
    `first answers after the page starts loading  ${ms(result.firstAnswersAfterLoadStartMs)}  (goal ≤ 1000 ms)`,
);
console.log(
    `after a change: minimal distance (the plan starts) ${ms(result.afterChange.extentMs)}, ` +
        `answers ${ms(result.afterChange.answersMs)}`,
);
console.log(
    `after a change: 200 × 200 picture computed  ${ms(result.afterChange.pictureMs)} ` +
        `(the workers' time on it, all together: ${ms(result.afterChange.pictureWorkMs)})`,
);
console.log(
    `after a change: 200 × 200 plan drawn (picture) ${ms(result.afterChange.pictureDrawnMs)}  (goal ≤ 200 ms)`,
);
console.log(`after a change: exact plan drawn            ${ms(result.afterChange.exactDrawnMs)}`);
console.log(
    `page (HTML, CSS, JS with wasm)             ${kilobytes(sizes.raw)} raw, ${kilobytes(sizes.gzip)} gzip ` +
        '(goals ≤ 1536 kB, ≤ 500 kB)',
);
