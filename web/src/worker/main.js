// The Web Worker: the engine module (WarmtegloedEngine, placed before this code in the
// worker's source) and the job queue.
import {wrapEngine} from './engine.js';
import {JobQueue} from './jobs.js';

/* global WarmtegloedEngine */
const early = [];
let queue = null;
self.onmessage = (event) => {
    if (queue) queue.receive(event.data);
    else early.push(event.data);
};

WarmtegloedEngine().then(
    (module) => {
        const engine = wrapEngine(module);
        queue = new JobQueue(
            engine,
            (message, transfer) => self.postMessage(message, transfer),
            (fn) => setTimeout(fn, 0),
        );
        self.postMessage({type: 'ready', kernel: engine.kernel()});
        for (const request of early) queue.receive(request);
    },
    (error) => {
        self.postMessage({type: 'failed', message: String(error)});
    },
);
