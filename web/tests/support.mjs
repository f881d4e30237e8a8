// What the tests share: the built engine module (web/build.sh puts it in
// build-web/obj/, WARMTEGLOED_WEB_BUILD names another build folder) and its ranges.
import {existsSync} from 'node:fs';
import {createRequire} from 'node:module';
import {dirname, join, resolve} from 'node:path';
import {fileURLToPath} from 'node:url';

import {wrapEngine} from '../src/worker/engine.js';

export const TOP = resolve(dirname(fileURLToPath(import.meta.url)), '..', '..');
export const BUILD = resolve(process.env.WARMTEGLOED_WEB_BUILD || join(TOP, 'build-web'));

export async function loadEngine() {
    const file = join(BUILD, 'obj', 'warmtegloed-engine.js');
    if (!existsSync(file)) throw new Error(`${file} is missing: run web/build.sh first`);
    const require = createRequire(import.meta.url);
    return wrapEngine(await require(file)());
}
