// Debian's Chromium, headless and private (a fresh profile folder, no background
// traffic), and the page served by Python's http.server on 127.0.0.1, both stopped again
// by the caller. Used by the browser tests and the benchmark.
import {spawn} from 'node:child_process';
import {mkdtempSync, rmSync} from 'node:fs';
import {tmpdir} from 'node:os';
import {join} from 'node:path';
import puppeteer from 'puppeteer-core';

export const CHROMIUM = process.env.WARMTEGLOED_CHROMIUM || '/usr/bin/chromium';
export const PYTHON = '/usr/bin/python3';

export async function launchBrowser() {
    const profile = mkdtempSync(join(tmpdir(), 'warmtegloed-chromium-'));
    const browser = await puppeteer.launch({
        executablePath: CHROMIUM,
        headless: true,
        args: [
            '--headless',
            '--no-sandbox',
            '--disable-gpu',
            '--disable-background-networking',
            '--disable-component-update',
            '--no-first-run',
            `--user-data-dir=${profile}`,
        ],
    });
    return {
        browser,
        async close() {
            await browser.close();
            rmSync(profile, {recursive: true, force: true});
        },
    };
}

// Serves `folder`; resolves to {url, stop()} once the server says where it listens.
export function serve(folder) {
    return new Promise((resolve, reject) => {
        const server = spawn(
            PYTHON,
            ['-u', '-m', 'http.server', '--bind', '127.0.0.1', '--directory', folder, '0'],
            {stdio: ['ignore', 'pipe', 'pipe']},
        );
        let said = '';
        const timer = setTimeout(() => {
            server.kill();
            reject(new Error(`http.server said nothing useful: ${said}`));
        }, 10000);
        server.stdout.on('data', (chunk) => {
            said += chunk;
            const found = /port (\d+)/.exec(said);
            if (found) {
                clearTimeout(timer);
                resolve({url: `http://127.0.0.1:${found[1]}/`, stop: () => server.kill()});
            }
        });
        server.on('error', reject);
    });
}

// Waits until the page has its exact plan (and curves) for the input numbered above `after`.
export async function waitForExact(page, after = 0) {
    await page.waitForFunction(
        (id) => {
            const state = window.warmtegloed.scheduler && window.warmtegloed.scheduler.state;
            return (
                state &&
                state.id > id &&
                ((state.plan && state.plan.exact && state.distance) || state.refusal)
            );
        },
        {timeout: 60000},
        after,
    );
    return page.evaluate(() => window.warmtegloed.scheduler.state.id);
}

// The verdict, the answers (#answer-highest …) and the state line, by element id.
const ANSWERS = ['highest', 'decisive', 'distance', 'height', 'width'].map((name) => `answer-${name}`);
const ANSWER_IDS = ['verdict', ...ANSWERS, 'state'];

export async function answerTexts(page) {
    return page.evaluate(
        (ids) => Object.fromEntries(ids.map((id) => [id, document.getElementById(id).textContent])),
        ANSWER_IDS,
    );
}
