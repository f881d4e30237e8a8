// The work of one input spread over the workers: the plan's bands land in their place
// whatever worker computed them, a newer input drops the older one's late answers and
// its waiting requests, and the picture comes before the exact levels.
import assert from 'node:assert/strict';
import {test} from 'node:test';

import {PLAN_SIZE, Scheduler, splitColumns} from '../../src/page/scheduler.js';
import {JobQueue} from '../../src/worker/jobs.js';

// An engine whose plan value tells where it was computed: column + 1000 × row, and
// + 0.5 for the picture.
function fakeEngine(log) {
    return {
        check: (input) => (input.B < 0 ? {ok: false, message: 'geweigerd'} : {ok: true, highest: input.B}),
        solve: (input, quantity) => ({ok: true, found: true, value: input.B, quantity}),
        viewExtent: () => ({
            firstDistance: 0.1,
            lastDistance: 20,
            plan: {xFrom: 0, xTo: PLAN_SIZE - 1, yFrom: 0, yTo: PLAN_SIZE - 1},
        }),
        distanceProfile: () => ({ok: true}),
        heightProfile: () => ({ok: true}),
        planBand(input, band) {
            log.push(`${input.B} ${band.exact ? 'exact' : 'picture'}`);
            const values = new Float64Array(band.columns * (band.rowTo - band.rowFrom));
            for (let r = band.rowFrom; r < band.rowTo; ++r) {
                for (let c = 0; c < band.columns; ++c)
                    values[(r - band.rowFrom) * band.columns + c] =
                        band.column + c + 1000 * r + (band.exact ? 0 : 0.5);
            }
            return {ok: true, values};
        },
        contours: () => [],
        levelAt: () => ({ok: true, level: 1}),
    };
}

// Workers whose messages wait in one list of tasks, run when the test says.
function fakeWorkers(count, log) {
    const tasks = [];
    const workers = [];
    for (let i = 0; i < count; ++i) {
        const worker = {onmessage: null};
        const queue = new JobQueue(
            fakeEngine(log),
            (message) => tasks.push(() => worker.onmessage({data: message})),
            (fn) => tasks.push(fn),
        );
        worker.postMessage = (message) => tasks.push(() => queue.receive(structuredClone(message)));
        workers.push(worker);
    }
    const run = (limit = Infinity) => {
        for (let n = 0; tasks.length && n < limit; ++n) tasks.shift()();
    };
    return {workers, run};
}

// Columns per worker for a plan of `columns`, `parts` workers and the first one's lead
// (the whole plan in its place, below, holds the even split for one and three workers).
const SPLITS = [
    {name: 'more workers than columns', columns: 2, parts: 4, lead: 0, counts: [1, 0, 1, 0]},
    {name: 'a late first takes fewer', columns: 200, parts: 2, lead: 8, counts: [96, 104]},
    {name: 'the others share the lead', columns: 200, parts: 3, lead: 30, counts: [47, 76, 77]},
    {name: 'a lead of the whole plan', columns: 200, parts: 2, lead: 500, counts: [0, 200]},
    {name: 'one worker takes all', columns: 200, parts: 1, lead: 50, counts: [200]},
];
for (const {name, columns, parts, lead, counts} of SPLITS) {
    test(`column split: ${name}`, () => {
        const ranges = splitColumns(columns, parts, lead);
        const got = new Array(parts).fill(0);
        for (const [from, to, worker] of ranges) got[worker] = to - from;
        assert.deepEqual(got, counts);
        // Contiguous, from the first column to the last.
        assert.deepEqual(
            ranges.map(([from]) => from),
            [0, ...ranges.slice(0, -1).map(([, to]) => to)],
        );
        assert.equal(ranges.at(-1)[1], columns);
    });
}

test('the other workers begin the picture before the largest height and width are in', () => {
    const {workers, run} = fakeWorkers(2, []);
    const asked = [];
    const post = workers[1].postMessage;
    workers[1].postMessage = (message) => asked.push(message.type) && post(message);
    const scheduler = new Scheduler(workers, () => {});
    scheduler.compute({B: 10, limit: 15});
    while (!scheduler.state.extent) run(1);
    assert.equal(scheduler.state.answers, null);
    assert.deepEqual(asked, ['supersede', 'band']);
});

test("the first worker's picture columns shrink by what its answers cost last time", () => {
    const {workers} = fakeWorkers(2, []);
    const columns = [];
    for (const worker of workers) {
        worker.postMessage = (message) => {
            if (message.type === 'band') columns.push(message.band.columns);
        };
    }
    const scheduler = new Scheduler(workers, () => {});
    scheduler.cost = {column: 0.5, answers: 4};
    scheduler.compute({B: 10, limit: 15});
    scheduler.receive(0, {type: 'extent', id: scheduler.state.id, extent: fakeEngine([]).viewExtent()});
    assert.deepEqual(columns, [96, 104]);
});

for (const count of [1, 3]) {
    test(`with ${count} worker(s) every band lands in its place, the picture first`, () => {
        const log = [];
        const {workers, run} = fakeWorkers(count, log);
        const seen = [];
        const scheduler = new Scheduler(workers, (state, what) =>
            seen.push([what, state.plan && state.plan.values]),
        );
        scheduler.compute({B: 10, limit: 15});
        run();
        const kinds = seen.map(([what]) => what);
        assert.ok(kinds.indexOf('answers') < kinds.indexOf('picture'));
        assert.ok(kinds.indexOf('picture') < kinds.indexOf('exact'));
        const picture = seen.find(([what]) => what === 'picture')[1];
        const exact = seen.find(([what]) => what === 'exact')[1];
        // Every spot of the plan holds the value computed for its own row and column.
        const wanted = exact.map((_, at) => (at % PLAN_SIZE) + 1000 * Math.floor(at / PLAN_SIZE));
        assert.deepEqual(Array.from(exact), Array.from(wanted));
        assert.deepEqual(
            Array.from(picture),
            Array.from(wanted, (v) => v + 0.5),
        );
    });
}

test("a newer input drops the older one's answers and its requests still waiting", () => {
    const log = [];
    const {workers, run} = fakeWorkers(2, log);
    const seen = [];
    const scheduler = new Scheduler(workers, (state, what) => seen.push(`${state.input.B} ${what}`));
    scheduler.compute({B: 10, limit: 15});
    while (!scheduler.state.extent) run(1);
    // The first input's picture is asked for but not begun, its answers not given yet.
    scheduler.compute({B: 20, limit: 15});
    run();
    assert.ok(seen.includes('20 exact'));
    assert.deepEqual(
        seen.filter((s) => s.startsWith('10')),
        [],
    );
    assert.ok(!log.some((s) => s.startsWith('10')), log.join(', '));
    assert.equal(scheduler.state.plan.values[0], 0);
});

test('a refusal stops the work of that input and is told once', () => {
    const log = [];
    const {workers, run} = fakeWorkers(2, log);
    const seen = [];
    const scheduler = new Scheduler(workers, (state, what) => seen.push(what));
    scheduler.compute({B: -1, limit: 15});
    run();
    assert.deepEqual(seen, ['refused']);
    assert.equal(scheduler.state.refusal, 'geweigerd');
    assert.deepEqual(log, []);
});

test('a request of no input goes before the waiting bands and survives a newer input', () => {
    const answered = [];
    const tasks = [];
    const engine = {...fakeEngine([]), readCase: (text) => ({ok: true, text})};
    const queue = new JobQueue(
        engine,
        (message) => answered.push(message.type),
        (fn) => tasks.push(fn),
    );
    const band = {xFrom: 0, dx: 1, columns: 1, column: 0, yFrom: 0, dy: 1, rowFrom: 0, rowTo: 1, exact: true};
    for (let i = 0; i < 3; ++i) queue.receive({type: 'band', id: 1, input: {B: 1}, band});
    queue.receive({type: 'readCase', id: 0, ticket: 1, text: '{}'});
    queue.receive({type: 'supersede', id: 2});
    while (tasks.length) tasks.shift()();
    assert.deepEqual(answered, ['case']);
});
