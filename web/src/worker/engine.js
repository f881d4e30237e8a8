// The engine module's functions as JavaScript functions: JSON in, JSON out, the plan's
// levels as a Float64Array. Used by the Web Worker and by the tests in node.

export function wrapEngine(module) {
    const text = (name, types, args) => module.ccall(name, 'string', types, args);
    // A long text (a case file of up to 2 MB) goes through the heap, not the stack.
    const withText = (value, use) => {
        const length = module.lengthBytesUTF8(value);
        const pointer = module._malloc(length + 1);
        try {
            module.stringToUTF8(value, pointer, length + 1);
            return use(pointer, length);
        } finally {
            module._free(pointer);
        }
    };
    const json = (name, types, args) => JSON.parse(text(name, types, args));
    const request = (input) => JSON.stringify(input);
    return {
        kernel: () => text('wg_kernel_name', [], []),
        ranges: () => json('wg_input_ranges', [], []),
        numberText: (value, separator) =>
            text('wg_number_text', ['number', 'number'], [value, separator.charCodeAt(0)]),
        calculate: (input) => json('wg_calculate', ['string'], [request(input)]),
        check: (input) => json('wg_check', ['string'], [request(input)]),
        solve: (input, quantity) => json('wg_solve', ['string', 'string'], [request(input), quantity]),
        viewExtent: (input, minimalDistance) =>
            json('wg_view_extent', ['string', 'number'], [request(input), minimalDistance]),
        distanceProfile: (input, lastDistance, count) =>
            json(
                'wg_distance_profile',
                ['string', 'number', 'number'],
                [request(input), lastDistance, count],
            ),
        heightProfile: (input, count) =>
            json('wg_height_profile', ['string', 'number'], [request(input), count]),
        levelAt: (input, x, y) => json('wg_level_at', ['string', 'number', 'number'], [request(input), x, y]),
        // The case file's text to {ok, input, meta, hasSite} or {ok: false, message}.
        readCase: (caseText) =>
            withText(caseText, (pointer, length) =>
                json('wg_read_case', ['number', 'number'], [pointer, length]),
            ),
        // The case file's text for input and meta, over `original` (the text opened last).
        writeCase: (original, input, meta) =>
            withText(original || '', (pointer, length) =>
                json(
                    'wg_write_case',
                    ['number', 'number', 'string', 'string'],
                    [pointer, length, request(input), JSON.stringify(meta)],
                ),
            ),
        // band: {xFrom, dx, columns, yFrom, dy, rowFrom, rowTo, exact}
        planBand(input, band) {
            const answer = json(
                'wg_plan_band',
                ['string', 'number', 'number', 'number', 'number', 'number', 'number', 'number', 'number'],
                [
                    request(input),
                    band.xFrom,
                    band.dx,
                    band.columns,
                    band.yFrom,
                    band.dy,
                    band.rowFrom,
                    band.rowTo,
                    band.exact ? 1 : 0,
                ],
            );
            if (!answer.ok) return answer;
            const pointer = module.ccall('wg_plan_values', 'number', [], []);
            const values = new Float64Array(module.HEAPF64.buffer, pointer, answer.count).slice();
            return {ok: true, values};
        },
        // grid: {values, columns, rows, xFrom, dx, yFrom, dy}
        contours(grid, levelKw) {
            const pointer = module.ccall('wg_grid_buffer', 'number', ['number'], [grid.values.length]);
            module.HEAPF64.set(grid.values, pointer / 8);
            return json(
                'wg_contours',
                ['number', 'number', 'number', 'number', 'number', 'number', 'number', 'number'],
                [pointer, grid.columns, grid.rows, grid.xFrom, grid.dx, grid.yFrom, grid.dy, levelKw],
            ).lines;
        },
    };
}
