// What one Web Worker does with the page's requests. Each request is one call into the
// engine; the worker takes them one at a time, each in its own task, so that a newer
// input (a "supersede" message) reaches it between two calls, and requests of an older
// input still waiting are dropped unanswered.

const CONTOUR_LEVELS_KW = [5, 10, 20, 30];

// The answers come in two parts: the check and the minimal distance first, with the views'
// extent that the distance sets (the plan can start), then the largest height and width.
function extent(engine, input) {
    const check = engine.check(input);
    if (!check.ok) return {type: 'refused', message: check.message};
    const distance = engine.solve(input, 'distance');
    const minimal = distance.ok && distance.found ? distance.value : -1;
    return {type: 'extent', check, distance, extent: engine.viewExtent(input, minimal)};
}

function answers(engine, input) {
    return {type: 'answers', height: engine.solve(input, 'height'), width: engine.solve(input, 'width')};
}

function profiles(engine, input, lastDistance, count) {
    const distance = engine.distanceProfile(input, lastDistance, count);
    if (!distance.ok) return {type: 'refused', message: distance.message};
    const height = engine.heightProfile(input, count);
    if (!height.ok) return {type: 'refused', message: height.message};
    return {type: 'profiles', distance, height};
}

// The isolines of a whole plan at the limit and at the fixed levels.
function contours(engine, grid, limitKw) {
    const levels = [...new Set([limitKw, ...CONTOUR_LEVELS_KW])];
    return {type: 'contours', lines: levels.map((level) => ({level, lines: engine.contours(grid, level)}))};
}

// One request to its answer (without id); `transfer` lists buffers handed over.
export function handle(engine, request) {
    switch (request.type) {
        case 'extent':
            return {answer: extent(engine, request.input)};
        case 'answers':
            return {answer: answers(engine, request.input)};
        case 'profiles':
            return {answer: profiles(engine, request.input, request.lastDistance, request.count)};
        case 'band': {
            const band = engine.planBand(request.input, request.band);
            if (!band.ok) return {answer: {type: 'refused', message: band.message}};
            return {
                answer: {type: 'band', band: request.band, values: band.values},
                transfer: [band.values.buffer],
            };
        }
        case 'contours':
            return {answer: contours(engine, request.grid, request.limitKw)};
        case 'readCase':
            return {answer: {type: 'case', ...engine.readCase(request.text)}};
        case 'writeCase':
            return {
                answer: {type: 'case', ...engine.writeCase(request.original, request.input, request.meta)},
            };
        case 'levelAt':
            return {
                answer: {
                    type: 'levelAt',
                    x: request.x,
                    y: request.y,
                    ...engine.levelAt(request.input, request.x, request.y),
                },
            };
        default:
            return {answer: {type: 'refused', message: `Onbekende vraag: ${request.type}`}};
    }
}

// Requests that belong to no input: the level under the pointer and the case files. They
// go before the plan's waiting bands and no newer input drops them.
const PRIORITY = new Set(['levelAt', 'readCase', 'writeCase']);

// The queue of one worker. `post(message, transfer)` answers the page; `later(fn)` runs
// fn in a task of its own (setTimeout in a worker).
export class JobQueue {
    constructor(engine, post, later) {
        this.engine = engine;
        this.post = post;
        this.later = later;
        this.waiting = [];
        this.latest = 0;
        this.scheduled = false;
    }

    receive(request) {
        if (request.type === 'supersede') {
            this.latest = Math.max(this.latest, request.id);
            this.waiting = this.waiting.filter((r) => PRIORITY.has(r.type) || r.id >= this.latest);
            return;
        }
        if (PRIORITY.has(request.type)) {
            const firstOther = this.waiting.findIndex((r) => !PRIORITY.has(r.type));
            this.waiting.splice(firstOther < 0 ? this.waiting.length : firstOther, 0, request);
        } else {
            this.latest = Math.max(this.latest, request.id);
            this.waiting.push(request);
        }
        this.schedule();
    }

    schedule() {
        if (this.scheduled || this.waiting.length === 0) return;
        this.scheduled = true;
        this.later(() => {
            this.scheduled = false;
            this.runOne();
            this.schedule();
        });
    }

    runOne() {
        const request = this.waiting.shift();
        if (!request || (!PRIORITY.has(request.type) && request.id < this.latest)) return;
        const started = Date.now();
        const {answer, transfer} = handle(this.engine, request);
        answer.id = request.id;
        answer.job = request.job;
        answer.ticket = request.ticket;
        answer.milliseconds = Date.now() - started;
        this.post(answer, transfer || []);
    }
}
