// The module's views: where they begin and end, and a plan band whose every level is the
// level the module gives at that spot (rows along the face, columns outwards), the
// picture close to it.
import assert from 'node:assert/strict';
import {before, test} from 'node:test';

import {loadEngine} from '../support.mjs';

let engine;
before(async () => {
    engine = await loadEngine();
});

const EXTENTS = [
    // name, input, minimal distance, last distance, plan's y range
    ['a short minimal distance keeps 20 m', {}, 12.88, 20, [-10, 20]],
    ['a long one ends half as far again, on a round figure', {}, 30, 45, [-22.5, 32.5]],
    ['without an answer the entered distance counts', {x: 40}, -1, 60, [-30, 40]],
    ['a long face is shown around the point', {B: 500, y: 100}, 12, 20, [70, 130]],
];
for (const [name, input, minimal, last, [yFrom, yTo]] of EXTENTS) {
    test(`extent: ${name}`, () => {
        const extent = engine.viewExtent(input, minimal);
        assert.equal(extent.lastDistance, last);
        assert.equal(extent.plan.xTo, last);
        assert.equal(extent.plan.xFrom, extent.firstDistance);
        assert.ok(Math.abs(extent.plan.yFrom - yFrom) < 1e-9, `${extent.plan.yFrom}`);
        assert.ok(Math.abs(extent.plan.yTo - yTo) < 1e-9, `${extent.plan.yTo}`);
    });
}

for (const [name, input] of [
    ['outdoors', {B: 12, y: 3}],
    ['with a screen', {B: 12, y: 3, screen: true, hs: 3, xs: 1, K: 0.8}],
    ['with a screen above the pile', {B: 12, y: 3, H: 3, screen: true, hs: 9, xs: 0.5, K: 0.8}],
    ['indoors', {B: 12, y: 3, indoor: true}],
]) {
    test(`a plan band holds the level of each spot, rows along the face: ${name}`, () => {
        const band = {xFrom: 2, dx: 1.5, columns: 4, column: 0, yFrom: -2, dy: 2.5, rowFrom: 1, rowTo: 4};
        const exact = engine.planBand(input, {...band, exact: true});
        const picture = engine.planBand(input, {...band, exact: false});
        assert.equal(exact.values.length, 12);
        let highest = 0;
        for (let row = band.rowFrom; row < band.rowTo; ++row) {
            for (let column = 0; column < band.columns; ++column) {
                const at = (row - band.rowFrom) * band.columns + column;
                const spot = engine.levelAt(input, band.xFrom + column * band.dx, band.yFrom + row * band.dy);
                assert.equal(exact.values[at], spot.level, `row ${row}, column ${column}`);
                highest = Math.max(highest, spot.level);
            }
        }
        exact.values.forEach((level, i) => assert.ok(Math.abs(picture.values[i] - level) <= 1e-5 * highest));
    });
}

test('the curves: a series per point, the highest never below any of them', () => {
    const curves = engine.distanceProfile({}, 20, 21);
    assert.equal(curves.levels.length, 5);
    assert.equal(curves.distances.length, 21);
    assert.deepEqual(curves.envelope, []);
    curves.distances.forEach((x, d) => {
        for (const series of curves.levels) assert.ok(curves.highest[d] >= series[d] - 1e-12, `at ${x} m`);
    });
    const withEnvelope = engine.distanceProfile({envelope: true}, 20, 21);
    assert.deepEqual(withEnvelope.envelope, withEnvelope.highest);
    const height = engine.heightProfile({}, 11);
    assert.equal(height.heights.at(-1), 16);
    assert.equal(height.top, 12.5);
});

test('a refused storage refuses its views with the same message', () => {
    const input = {B: 8.7, D: 8.7, H: 0.5};
    const message = engine.calculate(input).message;
    assert.match(message, /vlamhoogte/);
    assert.equal(engine.distanceProfile(input, 20, 5).message, message);
    assert.equal(
        engine.planBand(input, {xFrom: 1, dx: 1, columns: 2, yFrom: 0, dy: 1, rowFrom: 0, rowTo: 2}).message,
        message,
    );
});
