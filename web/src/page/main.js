// The page: builds the inputs, hands each valid input to the scheduler, and shows the
// answers and the views as they come.

import {describeAnswers, refusalText} from './answers.js';
import {caseFileName, META_KEYS} from './case_file.js';
import {drawLineChart, drawNothing, drawPlan, planFrame, SERIES_COLOURS} from './charts.js';
import {
    checkAll,
    DEFAULT_INPUT,
    FIELDS,
    fieldEnabled,
    fieldText,
    LIMIT_PRESETS,
    OPTIONS,
    optionEnabled,
    steppedValue,
    valueOf,
} from './inputs.js';
import {fixedText, parseNumber, shortText} from './numbers.js';
import {Scheduler} from './scheduler.js';
import {tableCsv, tableFor} from './table.js';

/* global WARMTEGLOED_RANGES, WARMTEGLOED_WORKER_SOURCE, WARMTEGLOED_VERSION */
const RANGES = WARMTEGLOED_RANGES;
const GROUP_TITLES = {
    storage: 'Opslag en beoordelingspunt',
    screen: 'Afscherming',
    points: 'Hoogte beoordelingspunten',
    limit: 'Toetsing',
};
const META_CAPTIONS = {
    title: 'Titel',
    establishment: 'Inrichting',
    address: 'Adres',
    author: 'Opsteller',
    date: 'Datum',
    notes: 'Notities',
};

const $ = (id) => document.getElementById(id);
const page = {
    input: {...DEFAULT_INPUT, heights: [...DEFAULT_INPUT.heights]},
    valid: true,
    state: null,
    original: null,
    probe: null,
    table: 'distance',
    pause: 0,
};
page.finished = page.input;
// While a number is typed, the page computes after this pause (or at once when the entry
// is finished), so that "20" is not first computed as 2.
const TYPING_PAUSE_MS = 300;

function element(tag, attributes = {}, children = []) {
    const node = document.createElement(tag);
    for (const [name, value] of Object.entries(attributes)) {
        if (name === 'text') node.textContent = value;
        else node.setAttribute(name, value);
    }
    for (const child of children) node.append(child);
    return node;
}

// --- Inputs ---------------------------------------------------------------

function buildInputs() {
    const form = $('inputs');
    const meta = element('fieldset', {id: 'group-meta'}, [element('legend', {text: 'Zaak'})]);
    for (const key of META_KEYS) {
        const id = `meta-${key}`;
        const control =
            key === 'notes' ? element('textarea', {id, rows: '2'}) : element('input', {id, type: 'text'});
        meta.append(
            element('div', {class: 'row wide'}, [
                element('label', {for: id, text: META_CAPTIONS[key]}),
                control,
            ]),
        );
    }
    form.append(meta);
    const groups = {};
    for (const [group, title] of Object.entries(GROUP_TITLES)) {
        groups[group] = element('fieldset', {id: `group-${group}`}, [element('legend', {text: title})]);
        form.append(groups[group]);
    }
    const options = element('div', {class: 'options'});
    let envelope = null;
    for (const option of OPTIONS) {
        const id = `option-${option.key}`;
        const box = element('input', {id, type: 'checkbox', title: option.tip});
        box.addEventListener('change', () => inputsChanged(null, true));
        const holder = element('div', {class: 'option'}, [
            box,
            element('label', {for: id, text: option.caption, title: option.tip}),
        ]);
        if (option.key === 'envelope') envelope = holder;
        else options.append(holder);
    }
    groups.storage.after(
        element('fieldset', {id: 'group-options'}, [element('legend', {text: 'Opties'}), options]),
    );
    for (const field of FIELDS) {
        const id = `field-${field.key}`;
        const [minimum, maximum] = RANGES[field.range].method;
        const unit = field.unit ? ' ' + field.unit : '';
        const step = shortText(RANGES[field.range].step);
        const tip =
            `${field.tip} Toegestaan: ${shortText(minimum)} tot ${shortText(maximum)}${unit}; ` +
            `pijltjes omhoog/omlaag: stap ${step}.`;
        const edit = element('input', {
            id,
            type: 'text',
            inputmode: 'decimal',
            autocomplete: 'off',
            spellcheck: 'false',
            title: tip,
            'aria-describedby': `message-${field.key} note-${field.key}`,
        });
        edit.value = fieldText(valueOf(page.input, field.key));
        edit.addEventListener('input', () => inputsChanged(field.key, false));
        edit.addEventListener('change', () => inputsChanged(field.key, true));
        edit.addEventListener('keydown', (event) => stepKey(event, field));
        const row = element('div', {class: 'row'}, [
            element('label', {for: id, text: field.caption, title: tip}),
            edit,
            element('span', {class: 'unit', text: field.unit}),
            element('div', {id: `message-${field.key}`, class: 'message', role: 'alert'}),
            element('div', {id: `note-${field.key}`, class: 'note'}),
        ]);
        groups[field.group].append(row);
    }
    const presets = element('select', {id: 'limit-presets'});
    for (const preset of LIMIT_PRESETS)
        presets.append(element('option', {value: String(preset.value), text: preset.caption}));
    presets.append(element('option', {value: '', text: 'eigen waarde'}));
    presets.addEventListener('change', () => {
        if (presets.value) {
            $('field-limit').value = fieldText(Number(presets.value));
            inputsChanged('limit', true);
        }
    });
    const presetRow = element('div', {class: 'row wide'}, [
        element('label', {for: 'limit-presets', text: 'Voorinstelling'}),
        presets,
    ]);
    $('field-limit').closest('.row').after(presetRow);
    presetRow.after(envelope);
}

function texts() {
    return Object.fromEntries(FIELDS.map((field) => [field.key, $(`field-${field.key}`).value]));
}

function options() {
    return Object.fromEntries(OPTIONS.map((option) => [option.key, $(`option-${option.key}`).checked]));
}

function stepKey(event, field) {
    const steps = {ArrowUp: 1, ArrowDown: -1, PageUp: 5, PageDown: -5}[event.key];
    if (!steps) return;
    event.preventDefault();
    const checked = checkAll(texts(), options(), RANGES, page.input);
    const current = checked.messages[field.key]
        ? valueOf(page.input, field.key)
        : valueOf(checked.input || page.input, field.key);
    const typed = parseNumber($(`field-${field.key}`).value);
    const from = checked.messages[field.key] || typed === null ? current : typed;
    $(`field-${field.key}`).value = fieldText(steppedValue(field, from, steps, RANGES));
    inputsChanged(field.key, true);
}

// An edit. `finished`: the entry is done (Enter, leaving the field, a step, an option),
// when the rules that change another field may run.
function inputsChanged(key, finished) {
    const before = page.finished;
    const opts = options();
    let checked = checkAll(texts(), opts, RANGES, page.input);
    if (
        finished &&
        key === 'B' &&
        checked.input &&
        Math.abs(before.y - before.B / 2) < 1e-9 &&
        checked.input.B !== before.B
    ) {
        // The point stays in front of the middle when it was there.
        $('field-y').value = fieldText(checked.input.B / 2);
        checked = checkAll(texts(), opts, RANGES, page.input);
    }
    for (const field of FIELDS) {
        const enabled = fieldEnabled(field.key, opts);
        const edit = $(`field-${field.key}`);
        edit.disabled = !enabled;
        edit.closest('.row').classList.toggle('disabled', !enabled);
        const message = enabled ? checked.messages[field.key] || '' : '';
        $(`message-${field.key}`).textContent = message;
        $(`note-${field.key}`).textContent = enabled ? checked.notes[field.key] || '' : '';
        edit.setAttribute('aria-invalid', message ? 'true' : 'false');
    }
    for (const option of OPTIONS) $(`option-${option.key}`).disabled = !optionEnabled(option.key, opts);
    if (checked.input)
        $('limit-presets').value = LIMIT_PRESETS.some((p) => p.value === checked.input.limit)
            ? String(checked.input.limit)
            : '';
    page.valid = Boolean(checked.input);
    document.body.classList.toggle('invalid', !page.valid);
    if (!page.valid) {
        $('state').textContent =
            'Invoer onvolledig: de antwoorden en de figuren horen bij de laatste juiste invoer ' +
            '(zie de melding bij het veld).';
        $('state').className = 'state error';
        updateSummary();
        return;
    }
    if (JSON.stringify(checked.input) !== JSON.stringify(page.input)) page.input = checked.input;
    if (finished) page.finished = page.input;
    updateSummary();
    clearTimeout(page.pause);
    if (computedAlready()) showState();
    else if (finished || !page.state) compute();
    else page.pause = setTimeout(compute, TYPING_PAUSE_MS);
}

// --- Computation ----------------------------------------------------------

let scheduler = null;

function computedAlready() {
    return Boolean(scheduler && scheduler.state && scheduler.state.input === page.input);
}

function compute() {
    clearTimeout(page.pause);
    if (!scheduler || computedAlready()) return;
    $('state').textContent = 'Berekenen…';
    $('state').className = 'state';
    scheduler.compute(page.input);
}

function workerCount() {
    const cores = navigator.hardwareConcurrency || 2;
    return Math.min(Math.max(cores, 1), 4);
}

// A browser without WebAssembly SIMD (or that refuses workers) cannot compute.
function engineFailed(reason) {
    $('state').textContent =
        'Deze browser kan de rekenkern niet starten; gebruik een recente versie van Edge, Chrome, ' +
        `Firefox of Safari. (${reason})`;
    $('state').className = 'state error';
}

function startWorkers() {
    const source = URL.createObjectURL(new Blob([WARMTEGLOED_WORKER_SOURCE], {type: 'text/javascript'}));
    const workers = [];
    let ready = 0;
    const count = workerCount();
    for (let i = 0; i < count; ++i) {
        let worker;
        try {
            worker = new Worker(source);
        } catch (error) {
            engineFailed(String(error));
            return;
        }
        worker.onmessage = (event) => {
            if (event.data.type === 'failed') {
                engineFailed(event.data.message);
            }
            if (event.data.type !== 'ready') return;
            ready += 1;
            if (ready === count) {
                document.body.dataset.kernel = event.data.kernel;
                scheduler = new Scheduler(workers, updated);
                window.warmtegloed.scheduler = scheduler;
                compute();
            }
        };
        workers.push(worker);
    }
}

function updated(state, what) {
    page.state = state;
    if (what === 'refused') clearViews(`Geen figuur: ${refusalText(state.refusal)}`);
    if (what === 'answers' || what === 'refused') {
        showAnswers();
        // From the start of the page's loading (for the benchmark).
        window.warmtegloed.firstAnswers ??= performance.now();
    }
    if (['picture', 'exact', 'contours'].includes(what)) {
        drawPlanView();
        state.timings[`${what === 'contours' ? state.plan.job + 'Contours' : what}Drawn`] =
            performance.now() - state.started;
    }
    window.warmtegloed.timings = {...state.timings, id: state.id};
    if (what === 'profiles') drawCurves();
    if (what === 'exact' || what === 'profiles') showTable();
    showState();
}

function showState() {
    const state = page.state;
    const node = $('state');
    if (!page.valid) return;
    if (state && state.refusal) {
        node.textContent = refusalText(state.refusal);
        node.className = 'state error';
        return;
    }
    const busy = !state || !state.plan || !state.plan.exact || !state.distance;
    node.textContent = busy ? 'Berekenen…' : '';
    node.className = 'state';
    document.body.dataset.busy = busy ? 'true' : 'false';
}

// --- Answers ----------------------------------------------------------------

function showAnswers() {
    const state = page.state;
    const ids = ['answer-highest', 'answer-decisive', 'answer-distance', 'answer-height', 'answer-width'];
    if (state.refusal) {
        for (const id of ids) $(id).textContent = '–';
        $('verdict').textContent = '';
        $('verdict').className = 'verdict';
        $('verdict-sentence').textContent = '';
        return;
    }
    const texts = describeAnswers(state.input, state.answers);
    $('answer-highest').textContent = texts.highest;
    $('answer-decisive').textContent = texts.decisiveHeight;
    $('answer-distance').textContent = texts.distance;
    $('answer-height').textContent = texts.height;
    $('answer-width').textContent = texts.width;
    $('verdict').textContent = texts.verdict;
    $('verdict-sentence').textContent = texts.sentence;
    $('verdict').className = `verdict ${texts.verdictKind}`;
    updateSummary();
}

// The inputs as the printed report lists them.
function updateSummary() {
    const rows = [];
    for (const key of META_KEYS) {
        const value = $(`meta-${key}`).value.trim();
        if (value) rows.push([META_CAPTIONS[key], value]);
    }
    const input = page.input;
    const opts = options();
    for (const field of FIELDS) {
        if (fieldEnabled(field.key, opts))
            rows.push([field.caption, `${fixedText(valueOf(input, field.key))} ${field.unit}`.trim()]);
    }
    for (const option of OPTIONS) rows.push([option.caption, input[option.key] ? 'ja' : 'nee']);
    const body = $('summary-body');
    body.replaceChildren(
        ...rows.map(([name, value]) =>
            element('tr', {}, [element('th', {text: name}), element('td', {text: value})]),
        ),
    );
}

// --- Views ----------------------------------------------------------------

function clearViews(message) {
    page.planState = null;
    page.probe = null;
    for (const id of ['chart-distance', 'chart-height', 'chart-plan']) drawNothing($(id), message);
    $('chart-plan').dataset.precision = '';
    $('table-view').replaceChildren();
    $('probe').textContent = '';
}

function drawCurves() {
    const state = page.state;
    if (!state || !state.distance || state.refusal) return;
    const {input, answers, distance, height} = state;
    const series = distance.levels.map((levels, i) => ({
        label: input.indoor ? 'halve gebouwhoogte' : `punt ${i + 1} (${shortText(distance.heights[i])} m)`,
        xs: distance.distances,
        ys: levels,
        colour: SERIES_COLOURS[i % SERIES_COLOURS.length],
    }));
    if (distance.envelope.length)
        series.push({
            label: 'omhullende',
            xs: distance.distances,
            ys: distance.envelope,
            colour: '#000',
            dash: [5, 3],
            width: 2,
        });
    const marks = [];
    if (answers && answers.distance.ok && answers.distance.found)
        marks.push({
            x: answers.distance.value,
            label: `minimale afstand ${fixedText(answers.distance.value)} m`,
        });
    const limit = {value: input.limit, label: `L = ${shortText(input.limit)} kW/m²`};
    drawLineChart($('chart-distance'), {
        xLabel: 'afstand x (m)',
        yLabel: 'niveau (kW/m²)',
        series,
        limit,
        marks,
    });
    const top = input.indoor ? 'halve gebouwhoogte' : 'hoogste punt';
    const points = answers
        ? [
              {
                  x: answers.check.height,
                  y: answers.check.highest / 1000,
                  label: `${fixedText(answers.check.highest / 1000)} kW/m² op ${fixedText(answers.check.height)} m`,
              },
          ]
        : [];
    drawLineChart($('chart-height'), {
        xLabel: 'hoogte z (m)',
        yLabel: 'niveau (kW/m²)',
        series: [
            {
                label: `niveau bij x = ${shortText(input.x)} m`,
                xs: height.heights,
                ys: height.levels,
                colour: SERIES_COLOURS[0],
            },
        ],
        limit,
        marks: [{x: height.top, label: top}],
        points,
    });
    $('chart-distance').setAttribute(
        'aria-label',
        `Niveau tegen afstand; ${marks.length ? marks[0].label : 'geen minimale afstand'}.`,
    );
    $('chart-height').setAttribute(
        'aria-label',
        `Niveau tegen hoogte bij x = ${shortText(input.x)} m; ${points.length ? points[0].label : ''}.`,
    );
}

function drawPlanView() {
    const state = page.state && page.state.plan ? page.state : shownPlan();
    if (!state || state.refusal) return;
    page.planState = state;
    drawPlan($('chart-plan'), state.plan, state.input, state.answers, page.probe);
    $('chart-plan').dataset.precision = state.plan.exact ? 'exact' : 'picture';
    $('chart-plan').setAttribute(
        'aria-label',
        `Plattegrond: hoogste niveau ${fixedText(state.plan.highest)} kW/m²; ` +
            'lijnen op de grenswaarde en op 5, 10, 20 en 30 kW/m².',
    );
}

// The plan on the screen: the last one drawn, also while the next is computed.
function shownPlan() {
    return page.planState && page.planState.plan ? page.planState : null;
}

function probeAt(x, y) {
    const state = shownPlan();
    if (!state || !state.plan || !scheduler) return;
    const spot = {x, y};
    page.probe = spot;
    scheduler.probe(state.input, x, y, (answer) => {
        if (page.probe !== spot) return;
        const where = `x = ${fixedText(answer.x)} m, y = ${fixedText(answer.y)} m`;
        $('probe').textContent =
            answer.ok && answer.level !== null
                ? `${where}: ${fixedText(answer.level)} kW/m²`
                : `${where}: geen niveau`;
    });
    drawPlanView();
}

function setUpPlanPointer() {
    const canvas = $('chart-plan');
    canvas.addEventListener('mousemove', (event) => {
        const state = shownPlan();
        if (!state || !state.plan) return;
        const rect = canvas.getBoundingClientRect();
        const frame = planFrame(state.plan, state.input, rect.width, rect.height);
        const spot = frame.fromPixel(event.clientX - rect.left, event.clientY - rect.top);
        if (
            spot.x >= state.plan.xFrom &&
            spot.x <= frame.xHigh &&
            spot.y >= frame.yLow &&
            spot.y <= frame.yHigh
        )
            probeAt(spot.x, spot.y);
    });
    // The keys move the probe a fiftieth of the view at a time.
    canvas.addEventListener('keydown', (event) => {
        const state = shownPlan();
        const move = {ArrowLeft: [-1, 0], ArrowRight: [1, 0], ArrowUp: [0, 1], ArrowDown: [0, -1]}[event.key];
        if (!state || !state.plan || !move) return;
        event.preventDefault();
        const frame = planFrame(state.plan, state.input, 1, 1);
        const from = page.probe || {x: state.input.x, y: state.input.y};
        const x = Math.min(
            Math.max(from.x + (move[0] * (frame.xHigh - state.plan.xFrom)) / 50, state.plan.xFrom),
            frame.xHigh,
        );
        const y = Math.min(
            Math.max(from.y + (move[1] * (frame.yHigh - frame.yLow)) / 50, frame.yLow),
            frame.yHigh,
        );
        probeAt(x, y);
    });
}

function showTable() {
    const state = page.state;
    if (!state) return;
    const table = tableFor(page.table, state.input, state);
    const head = element(
        'tr',
        {},
        table.headers.map((h) => element('th', {scope: 'col', text: h})),
    );
    const shown = table.rows.slice(0, 400);
    const body = shown.map((row) =>
        element(
            'tr',
            {},
            row.map((v) => element('td', {text: shortText(v, 3)})),
        ),
    );
    $('table-view').replaceChildren(element('thead', {}, [head]), element('tbody', {}, body));
    $('table-note').textContent =
        page.table === 'plan' && !table.rows.length
            ? 'De exacte niveaus van de plattegrond volgen nog.'
            : table.rows.length > shown.length
              ? `De eerste ${shown.length} van ${table.rows.length} rijen; de CSV bevat alle.`
              : '';
}

function download(name, text, type) {
    const link = element('a', {href: URL.createObjectURL(new Blob([text], {type})), download: name});
    document.body.append(link);
    link.click();
    link.remove();
    setTimeout(() => URL.revokeObjectURL(link.href), 10000);
}

function downloadCsv(dutch) {
    const state = page.state;
    if (!page.valid) {
        $('table-note').textContent = 'Geen CSV: de invoer bevat een fout.';
        return;
    }
    if (!state) return;
    const table = tableFor(page.table, state.input, state);
    if (!table.rows.length) {
        $('table-note').textContent = 'Geen CSV: de getallen van deze weergave volgen nog.';
        return;
    }
    download(
        `warmtegloed-${page.table}${dutch ? '' : '-punt'}.csv`,
        (dutch ? '\ufeff' : '') + tableCsv(table, dutch),
        'text/csv',
    );
}

// --- Tabs -------------------------------------------------------------------

function setUpTabs() {
    const tabs = [...document.querySelectorAll('[role="tab"]')];
    const select = (tab) => {
        for (const other of tabs) {
            const selected = other === tab;
            other.setAttribute('aria-selected', String(selected));
            other.tabIndex = selected ? 0 : -1;
            $(other.getAttribute('aria-controls')).hidden = !selected;
        }
        redrawAll();
    };
    tabs.forEach((tab, index) => {
        tab.addEventListener('click', () => select(tab));
        tab.addEventListener('keydown', (event) => {
            const step = {ArrowRight: 1, ArrowLeft: -1}[event.key];
            if (step) {
                const next = tabs[(index + step + tabs.length) % tabs.length];
                next.focus();
                select(next);
            }
        });
    });
}

function redrawAll() {
    if (page.state && page.state.refusal) {
        clearViews(`Geen figuur: ${refusalText(page.state.refusal)}`);
        return;
    }
    drawCurves();
    drawPlanView();
}

// --- Case files ---------------------------------------------------------------

function meta() {
    return Object.fromEntries(META_KEYS.map((key) => [key, $(`meta-${key}`).value]));
}

function caseMessage(text) {
    $('case-message').textContent = text;
}

// A case file's text: the case module reads it in a worker; the page takes its
// calculation and names and keeps the text, so that saving keeps what the page does not
// show (a site, keys of a later program).
function openCase(text, done = () => {}) {
    if (!scheduler) {
        caseMessage('Zaak niet geopend: de rekenkern is nog niet gestart.');
        return;
    }
    scheduler.ask({type: 'readCase', text}, (opened) => {
        if (!opened.ok) {
            caseMessage(`Zaak niet geopend: ${opened.message}`);
            done(false);
            return;
        }
        caseMessage(
            opened.hasSite
                ? 'Deze zaak bevat ook een situatie; de webversie rekent alleen de ene opslag en bewaart de situatie.'
                : '',
        );
        page.original = text;
        for (const key of META_KEYS) $(`meta-${key}`).value = opened.meta[key] || '';
        for (const option of OPTIONS) $(`option-${option.key}`).checked = opened.input[option.key];
        for (const field of FIELDS)
            $(`field-${field.key}`).value = fieldText(valueOf(opened.input, field.key));
        inputsChanged(null, true);
        done(true);
    });
}

function saveCase() {
    if (!page.valid) {
        caseMessage('Zaak niet opgeslagen: de invoer bevat een fout (zie de melding bij het veld).');
        return;
    }
    if (!scheduler) return;
    scheduler.ask({type: 'writeCase', original: page.original, input: page.input, meta: meta()}, (saved) => {
        if (!saved.ok) {
            caseMessage(`Zaak niet opgeslagen: ${saved.message}`);
            return;
        }
        caseMessage('');
        download(caseFileName(meta()), saved.text, 'application/json');
    });
}

function setUpToolbar() {
    const chooser = $('case-file');
    $('open-case').addEventListener('click', () => chooser.click());
    chooser.addEventListener('change', async () => {
        const file = chooser.files[0];
        if (file) openCase(await file.text());
        chooser.value = '';
    });
    $('save-case').addEventListener('click', saveCase);
    $('print').addEventListener('click', () => window.print());
    $('csv-dutch').addEventListener('click', () => downloadCsv(true));
    $('csv-point').addEventListener('click', () => downloadCsv(false));
    $('table-kind').addEventListener('change', () => {
        page.table = $('table-kind').value;
        showTable();
    });
    for (const key of META_KEYS) $(`meta-${key}`).addEventListener('input', updateSummary);
    window.addEventListener('beforeprint', () => {
        document.body.classList.add('printing');
        redrawAll();
    });
    window.addEventListener('afterprint', () => {
        document.body.classList.remove('printing');
        redrawAll();
    });
    let resizing = 0;
    window.addEventListener('resize', () => {
        clearTimeout(resizing);
        resizing = setTimeout(redrawAll, 100);
    });
}

window.warmtegloed = {version: WARMTEGLOED_VERSION, openCase, timings: {}, scheduler: null};
buildInputs();
setUpTabs();
setUpToolbar();
setUpPlanPointer();
$('version').textContent = WARMTEGLOED_VERSION;
inputsChanged(null, false);
startWorkers();
