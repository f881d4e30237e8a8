// Puts the page together in one folder: index.html, warmtegloed.css and warmtegloed.js,
// the last holding the page's code, the inputs' ranges (asked of the engine module, their
// one owner) and the Web Worker's source (the engine module with the worker's code),
// which the page starts from a blob: a page opened from a folder may not load a worker
// or a .wasm file beside it.
//   node web/tools/bundle.mjs ENGINE_JS OUTPUT_FOLDER VERSION

import {build} from 'esbuild';
import {mkdirSync, readFileSync, writeFileSync} from 'node:fs';
import {createRequire} from 'node:module';
import {dirname, join, resolve} from 'node:path';
import {fileURLToPath} from 'node:url';

const [engineFile, output, version] = process.argv.slice(2);
if (!engineFile || !output || !version) {
    console.error('gebruik: bundle.mjs ENGINE_JS OUTPUT_FOLDER VERSION');
    process.exit(2);
}
const web = resolve(dirname(fileURLToPath(import.meta.url)), '..');
const require = createRequire(import.meta.url);

const engine = await require(resolve(engineFile))();
const ranges = JSON.parse(engine.ccall('wg_input_ranges', 'string', [], []));

async function bundle(entry, define = {}) {
    const result = await build({
        entryPoints: [join(web, entry)],
        bundle: true,
        format: 'iife',
        minify: true,
        write: false,
        target: ['es2020'],
        define,
        legalComments: 'none',
        logLevel: 'warning',
    });
    return result.outputFiles[0].text;
}

const engineSource = readFileSync(engineFile, 'utf8');
const workerSource = `${engineSource}\n${await bundle('src/worker/main.js')}`;
const pageSource = await bundle('src/page/main.js', {
    WARMTEGLOED_RANGES: JSON.stringify(ranges),
    WARMTEGLOED_WORKER_SOURCE: JSON.stringify(workerSource),
    WARMTEGLOED_VERSION: JSON.stringify(version),
});
mkdirSync(output, {recursive: true});
writeFileSync(join(output, 'warmtegloed.js'), pageSource);
const css = await build({
    entryPoints: [join(web, 'src/page/warmtegloed.css')],
    minify: true,
    write: false,
    logLevel: 'warning',
});
writeFileSync(join(output, 'warmtegloed.css'), css.outputFiles[0].text);
// The icon inside the page: a page from a folder needs nothing beside its three files.
const icon = `data:image/svg+xml,${encodeURIComponent(readFileSync(join(web, 'src/page/icon.svg'), 'utf8').trim())}`;
const html = readFileSync(join(web, 'src/page/index.html'), 'utf8');
if (!html.includes('href="icon.svg"')) throw new Error('index.html has no icon link to fill in');
writeFileSync(join(output, 'index.html'), html.replace('href="icon.svg"', `href="${icon}"`));
