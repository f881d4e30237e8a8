// Spreads the work of one input over the page's Web Workers and puts their answers
// together: first the answers to the limit questions, then the plan as a picture (its
// columns split over the workers) and the curves, and last the plan's exact levels in bands
// of rows. The picture starts as soon as the minimal distance (which sets the plan's
// extent) is known: the other workers begin it while the first one finds the largest
// height and width. A newer input supersedes the older one at once: its late answers are
// dropped and the workers drop its requests still waiting.

export const PLAN_SIZE = 200;
export const DISTANCE_SAMPLES = 241;
export const HEIGHT_SAMPLES = 201;
const EXACT_BAND_ROWS = 20;

// Contiguous column ranges [from, to, worker], such that all workers end together when the
// first one starts `lead` columns' worth of time after the others. A worker left without
// columns has no range.
export function splitColumns(columns, parts, lead = 0) {
    const late = parts > 1 ? Math.min(Math.max(lead, 0), columns / (parts - 1)) : 0;
    const each = (columns + late) / parts;
    const edge = (p) => (p === 0 ? 0 : p === parts ? columns : Math.round(p * each - late));
    const ranges = [];
    for (let p = 0; p < parts; ++p) {
        const from = edge(p);
        const to = edge(p + 1);
        if (to > from) ranges.push([from, to, p]);
    }
    return ranges;
}

// The bands of one plan: each worker's columns, all rows for the picture, bands of rows
// for the exact levels. `lead` as for splitColumns.
export function planBands(extent, size, parts, exact, lead = 0) {
    const dx = (extent.xTo - extent.xFrom) / (size - 1);
    const dy = (extent.yTo - extent.yFrom) / (size - 1);
    const bands = [];
    for (const [from, to, worker] of splitColumns(size, parts, lead)) {
        const rowSteps = exact ? Math.ceil(size / EXACT_BAND_ROWS) : 1;
        for (let r = 0; r < rowSteps; ++r) {
            const rowFrom = exact ? r * EXACT_BAND_ROWS : 0;
            const rowTo = exact ? Math.min(size, rowFrom + EXACT_BAND_ROWS) : size;
            bands.push({
                worker,
                band: {
                    xFrom: extent.xFrom + from * dx,
                    dx,
                    columns: to - from,
                    column: from,
                    yFrom: extent.yFrom,
                    dy,
                    rowFrom,
                    rowTo,
                    exact,
                },
            });
        }
    }
    return bands;
}

export class Scheduler {
    // workers: objects with postMessage and an onmessage slot; onUpdate(state, what)
    // hears every step ('answers', 'picture', 'contours', 'profiles', 'exact', 'refused').
    constructor(workers, onUpdate, now = () => performance.now()) {
        this.workers = workers;
        this.onUpdate = onUpdate;
        this.now = now;
        this.id = 0;
        this.state = null;
        this.tickets = 0;
        this.asked = new Map();
        // What the last picture cost (ms of a worker): a column, and the largest height and
        // width that the first worker finds before it joins in.
        this.cost = {column: 0, answers: 0};
        workers.forEach((worker, index) => {
            worker.onmessage = (event) => this.receive(index, event.data);
        });
    }

    compute(input) {
        this.id += 1;
        const id = this.id;
        for (const worker of this.workers) worker.postMessage({type: 'supersede', id});
        this.state = {
            id,
            input,
            started: this.now(),
            timings: {},
            answers: null,
            check: null,
            refusal: '',
            extent: null,
            plan: null,
            distance: null,
            height: null,
            pending: {},
        };
        this.workers[0].postMessage({type: 'extent', id, input});
        this.workers[0].postMessage({type: 'answers', id, input});
        return id;
    }

    // A request of no input (the level at a spot, a case file to read or write) to the
    // last worker, whose answer goes to `callback` alone.
    ask(request, callback) {
        this.tickets += 1;
        this.asked.set(this.tickets, callback);
        this.workers[this.workers.length - 1].postMessage({...request, id: 0, ticket: this.tickets});
    }

    // The level under the pointer; callback(answer) with {ok, level, x, y}.
    probe(input, x, y, callback) {
        this.ask({type: 'levelAt', input, x, y}, callback);
    }

    mark(name) {
        this.state.timings[name] = this.now() - this.state.started;
    }

    receive(worker, message) {
        if (message.ticket) {
            const callback = this.asked.get(message.ticket);
            this.asked.delete(message.ticket);
            if (callback) callback(message);
            return;
        }
        const state = this.state;
        if (!state || message.id !== state.id || state.refusal) return;
        switch (message.type) {
            case 'refused':
                state.refusal = message.message;
                this.mark('refused');
                this.onUpdate(state, 'refused');
                return;
            case 'extent':
                state.check = message;
                state.extent = message.extent;
                this.mark('extent');
                this.startPlan(false);
                return;
            case 'answers':
                state.answers = {...state.check, ...message, type: 'answers'};
                this.cost.answers = message.milliseconds;
                this.mark('answers');
                this.onUpdate(state, 'answers');
                this.post(this.workers.length - 1, {
                    type: 'profiles',
                    id: state.id,
                    input: state.input,
                    lastDistance: state.extent.lastDistance,
                    count: DISTANCE_SAMPLES,
                });
                return;
            case 'profiles':
                state.distance = message.distance;
                state.height = message.height;
                this.mark('profiles');
                this.onUpdate(state, 'profiles');
                return;
            case 'band':
                this.band(message);
                return;
            case 'contours':
                if (!state.plan || message.job !== state.plan.job) return;
                state.plan.contours = message.lines;
                this.mark(state.plan.exact ? 'exactContours' : 'pictureContours');
                this.onUpdate(state, 'contours');
                return;
            default:
        }
    }

    post(worker, request) {
        this.workers[worker].postMessage(request);
    }

    startPlan(exact) {
        const state = this.state;
        const extent = state.extent.plan;
        const {column, answers} = this.cost;
        const lead = !exact && column > 0 ? answers / column : 0;
        const bands = planBands(extent, PLAN_SIZE, this.workers.length, exact, lead);
        const kind = exact ? 'exact' : 'picture';
        state.pending[kind] = {
            left: bands.length,
            values: new Float64Array(PLAN_SIZE * PLAN_SIZE),
            milliseconds: 0,
        };
        for (const {worker, band} of bands)
            this.post(worker, {type: 'band', id: state.id, job: kind, input: state.input, band});
    }

    band(message) {
        const state = this.state;
        const kind = message.band.exact ? 'exact' : 'picture';
        const pending = state.pending[kind];
        if (!pending) return;
        const {band, values} = message;
        if (!band.exact && message.milliseconds > 0) pending.milliseconds += message.milliseconds;
        for (let row = band.rowFrom; row < band.rowTo; ++row) {
            const from = (row - band.rowFrom) * band.columns;
            pending.values.set(values.subarray(from, from + band.columns), row * PLAN_SIZE + band.column);
        }
        pending.left -= 1;
        if (pending.left > 0) return;
        delete state.pending[kind];
        if (kind === 'picture' && pending.milliseconds > 0)
            this.cost.column = pending.milliseconds / PLAN_SIZE;
        // The exact levels replace the picture; a picture that comes late replaces nothing.
        if (!message.band.exact && state.plan && state.plan.exact) return;
        const extent = state.extent.plan;
        let highest = 0;
        for (const value of pending.values) highest = Math.max(highest, value);
        state.plan = {
            job: kind,
            exact: message.band.exact,
            values: pending.values,
            highest,
            columns: PLAN_SIZE,
            rows: PLAN_SIZE,
            xFrom: extent.xFrom,
            yFrom: extent.yFrom,
            dx: (extent.xTo - extent.xFrom) / (PLAN_SIZE - 1),
            dy: (extent.yTo - extent.yFrom) / (PLAN_SIZE - 1),
            contours: null,
        };
        this.mark(kind);
        this.onUpdate(state, kind);
        const grid = {
            values: pending.values.slice(),
            columns: PLAN_SIZE,
            rows: PLAN_SIZE,
            xFrom: extent.xFrom,
            dx: state.plan.dx,
            yFrom: extent.yFrom,
            dy: state.plan.dy,
        };
        this.post(0, {type: 'contours', id: state.id, job: kind, grid, limitKw: state.input.limit});
        if (kind === 'picture') this.startPlan(true);
    }
}
