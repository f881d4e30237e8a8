// The web edition gives the desktop's numbers: for several hundred storages the module
// and warmtegloed-cli --json agree on the state, the levels (W/m², as one kernel is held
// against another), the shown texts exactly, the limit check, the solvers' answers to the
// centimetre, and a refusal's Dutch message word for word.
import assert from 'node:assert/strict';
import {spawnSync} from 'node:child_process';
import {existsSync} from 'node:fs';
import {join} from 'node:path';
import {test} from 'node:test';

import {loadEngine, TOP} from '../support.mjs';

const CLI = process.env.WARMTEGLOED_CLI || join(TOP, 'build', 'bin', 'warmtegloed-cli');
// σ × 1085⁴: a level's scale; where the level is a difference of view factors, the
// kernels agree to 1e-14 of it.
const FLUX_SCALE = 5.67e-8 * 1085 ** 4;
const QUANTITIES = ['distance', 'height', 'width'];

// A repeatable stream of numbers in [0, 1).
function random(seed) {
    let state = seed >>> 0;
    return () => {
        state = (state + 0x6d2b79f5) >>> 0;
        let t = state;
        t = Math.imul(t ^ (t >>> 15), t | 1);
        t ^= t + Math.imul(t ^ (t >>> 7), t | 61);
        return ((t ^ (t >>> 14)) >>> 0) / 4294967296;
    };
}

function scenarios() {
    const next = random(20240521);
    const between = (low, high) => Math.round((low + (high - low) * next()) * 1000) / 1000;
    const heights = (top) => Array.from({length: 5}, () => between(0, top)).sort((a, b) => a - b);
    const limit = () => [15, 15, 10, 12.5, between(1, 60)][Math.floor(next() * 5)];
    const list = [];
    const add = (kind, count, make) => {
        for (let i = 0; i < count; ++i) list.push({kind, ...make(), limit: limit(), envelope: next() < 0.35});
    };
    const pile = () => {
        const B = between(2, 200);
        return {
            B,
            D: between(2, 60),
            H: between(0.5, 15),
            x: between(0.3, 60),
            y: between(-20, B + 20),
            heights: heights(20),
        };
    };
    add('outdoor', 80, pile);
    add('compact', 50, () => ({...pile(), compact: true}));
    add('screen', 60, () => {
        const storage = pile();
        return {...storage, screen: true, hs: between(0, 15), xs: between(0, storage.x), K: between(0, 1)};
    });
    add('long face', 40, () => {
        const B = between(50, 5000);
        return {...pile(), B, y: between(0, B)};
    });
    add('indoor', 50, () => {
        const B = between(2, 100);
        return {
            B,
            D: between(2, 60),
            H: between(2, 15),
            x: between(0.3, 50),
            y: between(-10, B + 10),
            indoor: true,
            heights: heights(15),
        };
    });
    // Low piles whose flame the method cannot give (at or below the pile's foot, or as
    // high as the pile), and a pile without height.
    add('refusal', 25, () => {
        const side = between(8.2, 9.6);
        return {
            B: side,
            D: side,
            H: between(0.02, 0.7),
            x: between(1, 20),
            y: between(0, side),
            heights: heights(5),
        };
    });
    return list;
}

function cliArguments(s, quantity) {
    const args = ['--heights', s.heights.join(','), '--limit', s.limit, '--check', '--json'];
    args.push('--solve', quantity);
    for (const key of ['B', 'D', 'H', 'x', 'y']) args.push(`--${key}`, s[key]);
    if (s.screen) args.push('--screen', '--hs', s.hs, '--xs', s.xs, '--K', s.K);
    for (const flag of ['indoor', 'compact', 'envelope']) {
        if (s[flag]) args.push(`--${flag}`);
    }
    return args.map(String);
}

function assertLevel(actual, expected, what) {
    const difference = Math.abs(actual - expected);
    const allowed = Math.max(1e-12 * Math.abs(expected), 1e-14 * FLUX_SCALE);
    assert.ok(difference <= allowed, `${what}: ${actual} against ${expected}`);
}

function assertRelative(actual, expected, what) {
    assert.ok(
        Math.abs(actual - expected) <= 1e-12 * Math.abs(expected),
        `${what}: ${actual} against ${expected}`,
    );
}

test('the module and warmtegloed-cli --json give the same numbers', async () => {
    assert.ok(existsSync(CLI), `${CLI} is missing: build warmtegloed-cli (or set WARMTEGLOED_CLI)`);
    const engine = await loadEngine();
    const counts = {compared: 0, refused: 0, unsolved: 0};
    const list = scenarios();
    assert.ok(list.length >= 300);
    list.forEach((s, index) => {
        const quantity = QUANTITIES[index % 3];
        const name = `#${index} ${s.kind} ${cliArguments(s, quantity).join(' ')}`;
        const run = spawnSync(CLI, cliArguments(s, quantity), {encoding: 'utf8'});
        const input = {...s, separator: '.'};
        const calculated = engine.calculate(input);
        const check = engine.check(input);
        const solution = engine.solve(input, quantity);
        if (run.status !== 0) {
            assert.equal(run.status, 1, `${name}: ${run.stderr}`);
            assert.equal(run.stdout, '', name);
            const message = !calculated.ok
                ? calculated.message
                : !check.ok
                  ? check.message
                  : solution.message;
            assert.ok(!calculated.ok || !check.ok || !solution.ok || !solution.found, name);
            // The command line writes the message on one line, after its name.
            assert.equal(`warmtegloed-cli: ${message.replace(/\n/g, ' ').trim()}`, run.stderr.trim(), name);
            counts[calculated.ok ? 'unsolved' : 'refused'] += 1;
            return;
        }
        const cli = JSON.parse(run.stdout);
        assert.ok(calculated.ok && check.ok && solution.ok && solution.found, name);
        assert.deepEqual(calculated.texts, cli.texts, name);
        assert.equal(calculated.levels.length, cli.levels.length, name);
        calculated.levels.forEach((level, i) => assertLevel(level, cli.levels[i], `${name} level ${i + 1}`));
        for (const [field, value] of Object.entries(calculated.state))
            assertRelative(value, cli[field], `${name} ${field}`);
        assertLevel(check.highest, cli.limit.highest, `${name} highest`);
        assert.equal(check.point, cli.limit.point, name);
        assert.equal(check.height, cli.limit.height, name);
        assert.equal(check.complies, cli.limit.complies, name);
        assert.equal(solution.limit / 1000, cli.solution.limit, name);
        assert.ok(Math.abs(solution.value - cli.solution.value) < 0.005, `${name}: ${solution.value}`);
        assert.equal(solution.height, cli.solution.height, name);
        assertLevel(solution.highest, cli.solution.highest, `${name} solution highest`);
        // Where an answer lies against its search (the command line's null is the module's
        // 'none'), and the point a width is judged at, when the command line says them.
        if ('bound' in cli.solution) assert.equal(solution.bound, cli.solution.bound, name);
        if ('position' in cli.solution) assert.equal(solution.position, cli.solution.position, name);
        counts.compared += 1;
    });
    // Each path was taken often enough to mean something.
    assert.ok(counts.compared >= 200, JSON.stringify(counts));
    assert.ok(counts.refused >= 10, JSON.stringify(counts));
});
